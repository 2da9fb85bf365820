# The Windows program end to end: miravel.exe under Wine on a virtual X
# display, driven from outside by a small console program.
if(WIN32 AND TARGET miravel)
  add_executable(miravel-tray-driver ${CMAKE_CURRENT_LIST_DIR}/tray/tray_driver.cpp)
  target_link_libraries(miravel-tray-driver PRIVATE miravel_platform)
  target_link_options(miravel-tray-driver PRIVATE -municode)

  add_test(NAME e2e_tray_program
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/tray_program.sh
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-tray-driver>
                   ${CMAKE_BINARY_DIR}/e2e/tray)
  set_tests_properties(e2e_tray_program PROPERTIES TIMEOUT 300)
endif()
