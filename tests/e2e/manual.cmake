# The manual under Wine: the menu entry and the about box's web button open
# the RTF file where a program is registered for RTF, the HTML file where none
# is. A stand-in viewer registered in the test's prefix records what the
# shell handed it. Screenshots stay in e2e/manual/artifacts.
if(WIN32 AND TARGET miravel AND TARGET miravel-dialog-driver)
  add_executable(miravel-page-viewer ${CMAKE_CURRENT_LIST_DIR}/manual/page_viewer.cpp)
  target_link_options(miravel-page-viewer PRIVATE -municode)
  target_link_libraries(miravel-page-viewer PRIVATE user32 gdi32)

  add_test(NAME e2e_manual
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/manual/e2e-manual.sh
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-dialog-driver>
                   $<TARGET_FILE:miravel-page-viewer> ${PROJECT_SOURCE_DIR}
                   ${CMAKE_BINARY_DIR}/e2e/manual)
  set_tests_properties(e2e_manual PROPERTIES TIMEOUT 180)
endif()
