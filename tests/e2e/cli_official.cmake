# miravel-cli --preset and --hijri, on the command line and from an INI file
# (native build).
if(NOT WIN32)
  miravel_e2e_test(e2e_cli_official cli_official.sh 60
                   $<TARGET_FILE:miravel-cli> ${CMAKE_BINARY_DIR}/e2e/cli_official)
endif()
