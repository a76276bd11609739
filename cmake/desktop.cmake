# The SDL2 desktop game build/kelto1, its pacing benchmark, and how both are installed.
# Included by the top CMakeLists.txt when KELTO1_DESKTOP is ON.

# The front end's logic that needs no display: layout, scaling, keys, boxes, pacing.
add_library(kelto1_frontend STATIC
  src/sdl/screen_layout.cpp
  src/sdl/scaling.cpp
  src/sdl/key_state.cpp
  src/sdl/window_messages.cpp
  src/sdl/line_edit.cpp
  src/sdl/frame_pacer.cpp
  src/sdl/joystick_axis.cpp
  src/sdl/screen_picture.cpp
  src/sdl/edit_boxes.cpp
  src/sdl/replay_viewer.cpp)
target_link_libraries(kelto1_frontend PUBLIC kelto1_core)

find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(KELTO1_SDL2 QUIET IMPORTED_TARGET sdl2)
  pkg_check_modules(KELTO1_SDL2_TTF QUIET IMPORTED_TARGET SDL2_ttf)
  pkg_check_modules(KELTO1_SDL2_MIXER QUIET IMPORTED_TARGET SDL2_mixer)
  pkg_check_modules(KELTO1_FONTCONFIG QUIET IMPORTED_TARGET fontconfig)
endif()
set(kelto1_missing "")
foreach(dep IN ITEMS SDL2:sdl2 SDL2_TTF:SDL2_ttf SDL2_MIXER:SDL2_mixer FONTCONFIG:fontconfig)
  string(REPLACE ":" ";" dep "${dep}")
  list(GET dep 0 var)
  list(GET dep 1 package)
  if(NOT KELTO1_${var}_FOUND)
    list(APPEND kelto1_missing ${package})
  endif()
endforeach()
if(kelto1_missing)
  string(REPLACE ";" ", " kelto1_missing "${kelto1_missing}")
  message(STATUS "Desktop game not built: missing ${kelto1_missing} (install libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev)")
  return()
endif()

# The machine under the game: window, fonts, keys, joystick, clock, sound.
add_library(kelto1_sdl STATIC
  src/sdl/sdl_platform.cpp
  src/sdl/sdl_video.cpp
  src/sdl/sdl_fonts.cpp
  src/sdl/sdl_keys.cpp
  src/sdl/sdl_joystick.cpp
  src/sdl/sdl_timer.cpp)
target_link_libraries(kelto1_sdl PUBLIC kelto1_frontend kelto1_platform kelto1_sdl_audio
  PkgConfig::KELTO1_SDL2 PkgConfig::KELTO1_SDL2_TTF PkgConfig::KELTO1_SDL2_MIXER PkgConfig::KELTO1_FONTCONFIG)

add_executable(kelto1 src/sdl/main.cpp)
target_link_libraries(kelto1 PRIVATE kelto1_sdl)
set_target_properties(kelto1 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_executable(kelto1-pacing-bench tools/pacing_bench.cpp)
target_link_libraries(kelto1-pacing-bench PRIVATE kelto1_sdl)
set_target_properties(kelto1-pacing-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# ---- Install: the game with its sound files in one program folder, a launcher on the
# PATH, and a desktop entry with the icon.
include(GNUInstallDirs)
set(KELTO1_PROGRAM_DIR lib/kelto1)
install(TARGETS kelto1 RUNTIME DESTINATION ${KELTO1_PROGRAM_DIR})
file(GLOB KELTO1_SOUND_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*.wav ${CMAKE_SOURCE_DIR}/data/*.mid)
if(KELTO1_SOUND_FILES)
  install(FILES ${KELTO1_SOUND_FILES} DESTINATION ${KELTO1_PROGRAM_DIR})
endif()
file(RELATIVE_PATH kelto1_bin_to_program /${CMAKE_INSTALL_BINDIR} /${KELTO1_PROGRAM_DIR})
file(WRITE ${CMAKE_BINARY_DIR}/install/kelto1
  "#!/bin/sh\n"
  "# Starts the game from its program folder, where its sound files are.\n"
  "here=$(dirname \"$(readlink -f \"$0\")\")\n"
  "exec \"$here/${kelto1_bin_to_program}/kelto1\" \"$@\"\n")
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/kelto1 DESTINATION ${CMAKE_INSTALL_BINDIR})
file(WRITE ${CMAKE_BINARY_DIR}/install/kelto1.desktop
  "[Desktop Entry]\n"
  "Type=Application\n"
  "Name=KELTO1\n"
  "Comment=Top-down arcade driving from Shinjuku to Okutama\n"
  "Exec=kelto1\n"
  "Icon=kelto1\n"
  "Terminal=false\n"
  "Categories=Game;ArcadeGame;\n"
  "StartupWMClass=kelto1\n")
install(FILES ${CMAKE_BINARY_DIR}/install/kelto1.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/assets/icon.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME kelto1.png)
