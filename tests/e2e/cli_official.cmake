# miravel-cli --preset and --hijri, on the command line and from an INI file
# (native build).
if(NOT WIN32)
  add_test(NAME e2e_cli_official
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/cli_official.sh $<TARGET_FILE:miravel-cli>
                   ${CMAKE_BINARY_DIR}/e2e/cli_official)
  set_tests_properties(e2e_cli_official PROPERTIES TIMEOUT 60)
endif()
