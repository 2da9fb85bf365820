# miravel-cli timesync against chronyd serving NTP on a loopback address
# (native build; skipped where chronyd or faketime is missing).
if(NOT WIN32)
  add_test(NAME e2e_timesync_chrony
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/timesync_chrony.sh $<TARGET_FILE:miravel-cli>
                   ${CMAKE_BINARY_DIR}/e2e/timesync-ntp)
  set_tests_properties(e2e_timesync_chrony PROPERTIES TIMEOUT 60 SKIP_RETURN_CODE 77)
endif()
