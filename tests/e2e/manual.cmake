# The manual under Wine: the menu entry and the about box's web button open
# the RTF file where a program is registered for RTF, the HTML file where none
# is. A stand-in viewer registered in the test's prefix records what the
# shell handed it. Screenshots stay in e2e/manual/artifacts.
if(WIN32 AND TARGET miravel AND TARGET miravel-dialog-driver)
  miravel_e2e_driver(miravel-page-viewer manual/page_viewer.cpp user32 gdi32)

  miravel_e2e_test(e2e_manual manual/e2e-manual.sh 180
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-dialog-driver>
                   $<TARGET_FILE:miravel-page-viewer> ${PROJECT_SOURCE_DIR}
                   ${CMAKE_BINARY_DIR}/e2e/manual)
endif()
