# miravel-cli timesync against xinetd's built-in time service (native build;
# skipped where xinetd is missing or port 37 cannot be bound).
if(NOT WIN32)
  add_test(NAME e2e_timesync_xinetd
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/timesync_xinetd.sh $<TARGET_FILE:miravel-cli>
                   ${CMAKE_BINARY_DIR}/e2e/timesync)
  set_tests_properties(e2e_timesync_xinetd PROPERTIES TIMEOUT 60 SKIP_RETURN_CODE 77)
endif()
