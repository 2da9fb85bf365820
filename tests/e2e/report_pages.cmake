# The printable timetable pages, printed by headless Chromium (native build).
if(NOT WIN32)
  add_test(NAME e2e_report_pages
           COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/report_pages.py $<TARGET_FILE:miravel-cli>
                   ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/e2e/report_pages)
  set_tests_properties(e2e_report_pages PROPERTIES TIMEOUT 300)
endif()
