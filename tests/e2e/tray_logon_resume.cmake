# A program started before the taskbar, a computer woken by its timer into
# the adhan minute and one woken late, a clock set back and a report in the
# adhan minute: miravel.exe under Wine with a stand-in notification area, a
# stopped-and-continued process and a clock stepped while it runs.
if(WIN32 AND TARGET miravel)
  miravel_e2e_test(e2e_tray_logon_resume tray_logon_resume.sh 600
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-tray-driver>
                   ${CMAKE_BINARY_DIR}/e2e/tray-logon-resume)
endif()
