# miravel-cli on an INI file with numbers far beyond the dialogs' limits
# (native build): they read as the limits.
if(NOT WIN32)
  miravel_e2e_test(e2e_cli_ini_limits cli_ini_limits.sh 60
                   $<TARGET_FILE:miravel-cli> ${CMAKE_BINARY_DIR}/e2e/cli_ini_limits)
endif()
