# A program started before the taskbar, and a computer woken by its timer
# into the adhan minute: miravel.exe under Wine with a stand-in notification
# area and a stopped-and-continued process.
if(WIN32 AND TARGET miravel)
  add_test(NAME e2e_tray_logon_resume
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/tray_logon_resume.sh
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-tray-driver>
                   ${CMAKE_BINARY_DIR}/e2e/tray-logon-resume)
  set_tests_properties(e2e_tray_logon_resume PROPERTIES TIMEOUT 300)
endif()
