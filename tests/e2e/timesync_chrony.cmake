# miravel-cli timesync against chronyd serving NTP on a loopback address
# (native build; skipped where chronyd or faketime is missing).
if(NOT WIN32)
  miravel_e2e_test(e2e_timesync_chrony timesync_chrony.sh 60
                   $<TARGET_FILE:miravel-cli> ${CMAKE_BINARY_DIR}/e2e/timesync-ntp)
endif()
