# The Windows program end to end: miravel.exe under Wine on a virtual X
# display, driven from outside by a small console program.
if(WIN32 AND TARGET miravel)
  miravel_e2e_driver(miravel-tray-driver tray/tray_driver.cpp miravel_platform)

  miravel_e2e_test(e2e_tray_program tray_program.sh 300
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-tray-driver>
                   ${CMAKE_BINARY_DIR}/e2e/tray)
endif()
