# The charts and the wallpaper end to end: miravel.exe under Wine on a virtual
# X display, every chart shown and hidden, the wallpaper switched on, across,
# off and left on at exit. Screenshots stay in e2e/graphics/artifacts.
if(WIN32 AND TARGET miravel)
  add_executable(miravel-graphics-driver ${CMAKE_CURRENT_LIST_DIR}/graphics/graphics_driver.cpp)
  target_link_options(miravel-graphics-driver PRIVATE -municode)
  target_link_libraries(miravel-graphics-driver PRIVATE user32 advapi32)

  add_test(NAME e2e_graphics
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/graphics/e2e-graphics.sh
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-graphics-driver>
                   ${CMAKE_BINARY_DIR}/e2e/graphics)
  set_tests_properties(e2e_graphics PROPERTIES TIMEOUT 300)
endif()
