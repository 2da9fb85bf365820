# "Internet Saati" of miravel.exe under Wine against xinetd's time service and
# chronyd's NTP in a network namespace, and miravel-cli.exe timesync against
# the latter (skipped without root, ip, xinetd, chronyd, faketime, xdotool or
# import).
# Needs the end-to-end driver of tray_program.cmake, included before this file.
if(WIN32 AND TARGET miravel AND TARGET miravel-tray-driver)
  miravel_e2e_test(e2e_tray_timesync tray_timesync.sh 300
                   $<TARGET_FILE:miravel> $<TARGET_FILE:miravel-tray-driver>
                   ${CMAKE_BINARY_DIR}/e2e/timesync $<TARGET_FILE:miravel-cli>)
endif()
