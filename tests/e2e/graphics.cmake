# The charts and the wallpaper end to end: miravel.exe under Wine on a virtual
# X display, every chart shown and hidden, the wallpaper switched on, across,
# off and left on at exit. Screenshots stay in e2e/graphics/artifacts.
if(WIN32 AND TARGET miravel)
  miravel_e2e_driver(miravel-graphics-driver graphics/graphics_driver.cpp user32 advapi32)

  miravel_e2e_test(e2e_graphics graphics/e2e-graphics.sh 300
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-graphics-driver>
                   ${CMAKE_BINARY_DIR}/e2e/graphics)
endif()
