# "MP3 » WAV Çevirici" of miravel.exe under Wine through its file dialogs
# (skipped without xdotool or import). Needs the end-to-end driver of
# tray_program.cmake, included before this file.
if(WIN32 AND TARGET miravel AND TARGET miravel-tray-driver)
  add_test(NAME e2e_tray_wrapper
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/tray_wrapper.sh $<TARGET_FILE:miravel>
                   $<TARGET_FILE:miravel-tray-driver> $<TARGET_FILE:miravel-cli>
                   ${CMAKE_CURRENT_SOURCE_DIR}/data/sound/mpeg1_44k_stereo_128.mp3
                   ${CMAKE_BINARY_DIR}/e2e/mp3wav)
  set_tests_properties(e2e_tray_wrapper PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
