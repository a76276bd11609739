# Sound: the music command strings (plain C++, part of the platform library and so of the
# tests), the SDL2_mixer sound of the desktop, and a check that records real output with
# SDL's disk audio driver. Included from the top-level CMakeLists.txt.

target_sources(kelto1_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../src/platform/music_commands.cpp
                                       ${CMAKE_CURRENT_LIST_DIR}/../src/platform/wav_image.cpp
                                       ${CMAKE_CURRENT_LIST_DIR}/../src/platform/midi_image.cpp)

find_package(SDL2 CONFIG QUIET)
find_package(SDL2_mixer CONFIG QUIET)
if(NOT TARGET SDL2::SDL2 OR NOT TARGET SDL2_mixer::SDL2_mixer)
  message(STATUS "SDL2_mixer not found: no desktop sound, no recorded sound check")
  return()
endif()

# The desktop's sound, for the desktop game to link.
if(NOT TARGET kelto1_sdl_audio)
  add_library(kelto1_sdl_audio STATIC ${CMAKE_CURRENT_LIST_DIR}/../src/sdl/sdl_audio.cpp)
  target_link_libraries(kelto1_sdl_audio PUBLIC kelto1_platform SDL2::SDL2 SDL2_mixer::SDL2_mixer ${CMAKE_DL_LIBS})
endif()

add_executable(kelto1-audio-check ${CMAKE_CURRENT_LIST_DIR}/../tools/audio_disk_check.cpp)
target_link_libraries(kelto1-audio-check PRIVATE kelto1_sdl_audio)

if(KELTO1_TESTS AND TARGET kelto1-audio-check)
  enable_testing()
  # Plays the tune and a crash over it through the real mixer, recorded to a file.
  add_test(NAME audio_disk_check
           COMMAND kelto1-audio-check ${CMAKE_SOURCE_DIR}/data ${CMAKE_BINARY_DIR}/audio_disk_check.raw)
  # 77: the sound files or a soundfont are not there yet.
  set_tests_properties(audio_disk_check PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60)
endif()
