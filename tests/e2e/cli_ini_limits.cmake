# miravel-cli on an INI file with numbers far beyond the dialogs' limits
# (native build): they read as the limits.
if(NOT WIN32)
  add_test(NAME e2e_cli_ini_limits
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/cli_ini_limits.sh $<TARGET_FILE:miravel-cli>
                   ${CMAKE_BINARY_DIR}/e2e/cli_ini_limits)
  set_tests_properties(e2e_cli_ini_limits PROPERTIES TIMEOUT 60)
endif()
