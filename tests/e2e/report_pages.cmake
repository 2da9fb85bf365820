# The printable timetable pages, printed by headless Chromium (native build).
if(NOT WIN32)
  add_test(NAME e2e_report_pages
           COMMAND python3 ${MIRAVEL_E2E_DIR}/report_pages.py $<TARGET_FILE:miravel-cli>
                   ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/e2e/report_pages)
  set_tests_properties(e2e_report_pages PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
