# The dialogs on a virtual X display under Wine, at 96 and 144 DPI: the
# template, layout and procedure tests of the unit-test program, then a
# screenshot of every dialog kept for a look.
if(WIN32)
  add_test(NAME e2e_dialogs
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/dialogs/e2e-dialogs.sh
                   $<TARGET_FILE:miravel_tests> ${CMAKE_BINARY_DIR}/e2e/dialogs)
  set_tests_properties(e2e_dialogs PROPERTIES TIMEOUT 600)
endif()

# A first run of the program: the two settings dialogs, one after the other;
# then every dialog through its menu command.
if(WIN32 AND TARGET miravel)
  add_executable(miravel-dialog-driver ${CMAKE_CURRENT_LIST_DIR}/dialogs/dialog_driver.cpp)
  target_link_options(miravel-dialog-driver PRIVATE -municode)
  add_test(NAME e2e_first_run_dialogs
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/dialogs/e2e-first-run.sh
                   $<TARGET_FILE:miravel> ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/e2e/first-run
                   $<TARGET_FILE:miravel-dialog-driver>)
  set_tests_properties(e2e_first_run_dialogs PROPERTIES TIMEOUT 240)
endif()
