# cmake --install on Linux: the programs in bin/ and their files in share/pistavox/,
# where the programs look for them relative to their own folder (base/installed_root_posix.cpp).
# Nothing is ever written into this tree: a user's imported runway database goes to the
# user's data folder.
set(PISTAVOX_VOICE_PACKS "" CACHE PATH
    "A folder of voice packs, as make-voice-pack --out writes it, to install; empty installs none")

install(TARGETS pistavox pistavox-sim pistavox-replay pistavox-pack pistavox-logbook pistavox-probe make-voice-pack
        RUNTIME DESTINATION bin)
install(FILES data/runways.csv data/raas_rules.ini DESTINATION share/pistavox/data)
install(FILES data/flightgear/pistavox.xml DESTINATION share/pistavox/data/flightgear)
if(PISTAVOX_VOICE_PACKS)
  if(NOT IS_DIRECTORY "${PISTAVOX_VOICE_PACKS}")
    message(FATAL_ERROR "PISTAVOX_VOICE_PACKS is not a folder: ${PISTAVOX_VOICE_PACKS}")
  endif()
  install(DIRECTORY "${PISTAVOX_VOICE_PACKS}/" DESTINATION share/pistavox/bin)
endif()

install(FILES ui/pistavox.desktop DESTINATION share/applications)
foreach(size 48 256)
  install(FILES ui/pistavox-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME pistavox.png)
endforeach()
