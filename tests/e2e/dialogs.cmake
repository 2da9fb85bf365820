# The dialogs on a virtual X display under Wine, at 96 and 144 DPI: the
# template, layout and procedure tests of the unit-test program, then a
# screenshot of every dialog kept for a look.
if(WIN32)
  miravel_e2e_test(e2e_dialogs dialogs/e2e-dialogs.sh 600
                   $<TARGET_FILE:miravel_tests> ${CMAKE_BINARY_DIR}/e2e/dialogs)
endif()

# A first run of the program: the two settings dialogs, one after the other;
# then every dialog through its menu command.
if(WIN32 AND TARGET miravel)
  miravel_e2e_driver(miravel-dialog-driver dialogs/dialog_driver.cpp)
  miravel_e2e_test(e2e_first_run_dialogs dialogs/e2e-first-run.sh 240
                   $<TARGET_FILE:miravel> ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/e2e/first-run
                   $<TARGET_FILE:miravel-dialog-driver>)
endif()
