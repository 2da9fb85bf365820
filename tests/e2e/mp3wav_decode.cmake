# miravel-cli mp3wav against a real decoder (native build, when ffmpeg,
# ffprobe and python3 are there).
if(NOT WIN32)
  find_program(MIRAVEL_FFMPEG ffmpeg)
  find_program(MIRAVEL_FFPROBE ffprobe)
  find_program(MIRAVEL_PYTHON3 python3)
  if(MIRAVEL_FFMPEG AND MIRAVEL_FFPROBE AND MIRAVEL_PYTHON3)
    miravel_e2e_test(e2e_mp3wav_decode mp3wav_decode.sh 120
                     $<TARGET_FILE:miravel-cli> ${CMAKE_CURRENT_SOURCE_DIR}/data/sound
                     ${CMAKE_BINARY_DIR}/e2e/mp3wav)
  else()
    message(STATUS "mp3wav decode test skipped: ffmpeg, ffprobe or python3 missing")
  endif()
endif()
