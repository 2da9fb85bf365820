# The report commands of miravel.exe under Wine against miravel-cli report.
# Needs the end-to-end driver of tray_program.cmake and the stand-in browser of
# manual.cmake, both included before this file.
if(WIN32 AND TARGET miravel AND TARGET miravel-tray-driver AND TARGET miravel-page-viewer)
  add_test(NAME e2e_tray_reports
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/tray_reports.sh $<TARGET_FILE:miravel>
                   $<TARGET_FILE:miravel-tray-driver> $<TARGET_FILE:miravel-cli>
                   $<TARGET_FILE:miravel-page-viewer>
                   ${CMAKE_BINARY_DIR}/e2e/reports)
  set_tests_properties(e2e_tray_reports PROPERTIES TIMEOUT 300)
endif()
