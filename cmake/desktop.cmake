# The SDL2 desktop game build/kelto1, its pacing benchmark, and how both are installed.
# Included by the top CMakeLists.txt when KELTO1_DESKTOP is ON.

# The desktop program's own parts that know the game: its command line and the replay window.
add_library(kelto1_desktop_app STATIC src/app/command_line.cpp src/app/replay_viewer.cpp src/app/records_screen.cpp)
target_link_libraries(kelto1_desktop_app PUBLIC kelto1_core kelto1_platform)

find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(KELTO1_SDL2 QUIET IMPORTED_TARGET sdl2)
  pkg_check_modules(KELTO1_SDL2_TTF QUIET IMPORTED_TARGET SDL2_ttf)
  pkg_check_modules(KELTO1_SDL2_MIXER QUIET IMPORTED_TARGET SDL2_mixer)
  pkg_check_modules(KELTO1_FONTCONFIG QUIET IMPORTED_TARGET fontconfig)
  pkg_check_modules(KELTO1_INIH QUIET IMPORTED_TARGET inih)
endif()
set(kelto1_missing "")
foreach(dep IN ITEMS SDL2:sdl2 SDL2_TTF:SDL2_ttf SDL2_MIXER:SDL2_mixer FONTCONFIG:fontconfig INIH:inih)
  string(REPLACE ":" ";" dep "${dep}")
  list(GET dep 0 var)
  list(GET dep 1 package)
  if(NOT KELTO1_${var}_FOUND)
    list(APPEND kelto1_missing ${package})
  endif()
endforeach()
if(kelto1_missing)
  string(REPLACE ";" ", " kelto1_missing "${kelto1_missing}")
  message(STATUS "Desktop game not built: missing ${kelto1_missing} (install libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev libinih-dev)")
  return()
endif()

# The preferences file read with inih.
add_library(kelto1_preferences_file STATIC src/frontend/preferences_file.cpp src/frontend/preferences_ini_inih.cpp)
target_link_libraries(kelto1_preferences_file PUBLIC kelto1_frontend PkgConfig::KELTO1_INIH)

# The desktop's sound: SDL2_mixer, with the tune through FluidSynth.
add_library(kelto1_sdl_audio STATIC src/sdl/sdl_audio.cpp)
target_link_libraries(kelto1_sdl_audio PUBLIC kelto1_platform PkgConfig::KELTO1_SDL2 PkgConfig::KELTO1_SDL2_MIXER
  ${CMAKE_DL_LIBS})

# The machine under the game: window, fonts, keys, joystick, clock, sound.
add_library(kelto1_sdl STATIC
  src/sdl/display_message.cpp
  src/sdl/sdl_platform.cpp
  src/sdl/sdl_video.cpp
  src/sdl/sdl_fonts.cpp
  src/sdl/sdl_keys.cpp
  src/sdl/sdl_joystick.cpp
  src/sdl/sdl_timer.cpp)
target_link_libraries(kelto1_sdl PUBLIC kelto1_frontend kelto1_preferences_file kelto1_platform kelto1_sdl_audio
  PkgConfig::KELTO1_SDL2 PkgConfig::KELTO1_SDL2_TTF PkgConfig::KELTO1_SDL2_MIXER PkgConfig::KELTO1_FONTCONFIG)

add_executable(kelto1 src/app/desktop_main.cpp)
target_link_libraries(kelto1 PRIVATE kelto1_sdl kelto1_desktop_app kelto1_runner)
set_target_properties(kelto1 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_executable(kelto1-pacing-bench tools/pacing_bench.cpp)
target_link_libraries(kelto1-pacing-bench PRIVATE kelto1_sdl kelto1_core kelto1_headless)
set_target_properties(kelto1-pacing-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
