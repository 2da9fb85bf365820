# miravel-cli timesync against xinetd's built-in time service (native build;
# skipped where xinetd is missing or port 37 cannot be bound).
if(NOT WIN32)
  miravel_e2e_test(e2e_timesync_xinetd timesync_xinetd.sh 60
                   $<TARGET_FILE:miravel-cli> ${CMAKE_BINARY_DIR}/e2e/timesync)
endif()
