# "MP3 » WAV Çevirici" of miravel.exe under Wine through its file dialogs
# (skipped without xdotool or import). Needs the end-to-end driver of
# tray_program.cmake, included before this file.
if(WIN32 AND TARGET miravel AND TARGET miravel-tray-driver)
  miravel_e2e_test(e2e_tray_wrapper tray_wrapper.sh 300
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-tray-driver>
                   $<TARGET_FILE:miravel-cli>
                   ${CMAKE_CURRENT_SOURCE_DIR}/data/sound/mpeg1_44k_stereo_128.mp3
                   ${CMAKE_BINARY_DIR}/e2e/mp3wav)
endif()
