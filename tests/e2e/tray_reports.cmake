# The report commands of miravel.exe under Wine against miravel-cli report.
# Needs the end-to-end driver of tray_program.cmake and the stand-in browser of
# manual.cmake, both included before this file.
if(WIN32 AND TARGET miravel AND TARGET miravel-tray-driver AND TARGET miravel-page-viewer)
  miravel_e2e_test(e2e_tray_reports tray_reports.sh 300
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-tray-driver>
                   $<TARGET_FILE:miravel-cli> $<TARGET_FILE:miravel-page-viewer>
                   ${CMAKE_BINARY_DIR}/e2e/reports)
endif()
