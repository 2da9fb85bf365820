# The report commands of miravel.exe under Wine against miravel-cli report.
# Needs the end-to-end driver of tray_program.cmake, included before this file.
if(WIN32 AND TARGET miravel AND TARGET miravel-tray-driver)
  miravel_e2e_test(e2e_tray_reports tray_reports.sh 300
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-tray-driver>
                   $<TARGET_FILE:miravel-cli> ${CMAKE_BINARY_DIR}/e2e/reports)
endif()
