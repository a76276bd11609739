# The Windows edition, cross-built with MinGW-w64 (cmake/mingw-w64-x86_64.cmake): the core,
# the headless runner kelto1-sim.exe and the game kelto1.exe on the Win32 API. Included
# by the top CMakeLists.txt when building for Windows.

# stb is header-only: its headers are taken from the system (libstb-dev) through a folder
# of their own, since the rest of /usr/include is for Linux, not for Windows.
set(KELTO1_WIN_STB ${CMAKE_BINARY_DIR}/stb_include)
file(MAKE_DIRECTORY ${KELTO1_WIN_STB})
file(CREATE_LINK /usr/include/stb ${KELTO1_WIN_STB}/stb SYMBOLIC)
include_directories(SYSTEM ${KELTO1_WIN_STB})

# Replays are packed by Debian's zlib built for Windows (libz-mingw-w64-dev), linked in.
# The static library, not the import library of zlib1.dll.
find_library(ZLIB_LIBRARY_RELEASE NAMES libz.a REQUIRED)
set(ZLIB_LIBRARY ${ZLIB_LIBRARY_RELEASE})
find_package(ZLIB REQUIRED)

# GCC 12 at -O3 reports a false over-read inside std::vector's comparison of two byte strings.
add_compile_options(-Wno-stringop-overread)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# ---- The game: kelto1.exe --------------------------------------------------------------
set(KELTO1_WIN_PYTHON /usr/bin/python3 CACHE FILEPATH "Debian's Python with PIL, for the glyph tables")

# The glyphs of every text the game shows, in the desktop's fonts, rendered at build time
# (the browser edition's tables and painter), so the program needs no font of Windows'.
file(GLOB KELTO1_TEXT_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/shell/*.cpp ${CMAKE_SOURCE_DIR}/src/course/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/window_elements.cpp)
set(KELTO1_GLYPHS_CPP ${CMAKE_BINARY_DIR}/generated/glyph_atlas.cpp)
add_custom_command(
  OUTPUT ${KELTO1_GLYPHS_CPP}
  COMMAND ${KELTO1_WIN_PYTHON} ${CMAKE_SOURCE_DIR}/tools/web/glyph_atlas.py ${KELTO1_GLYPHS_CPP} ${KELTO1_TEXT_SOURCES}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/web/glyph_atlas.py ${KELTO1_TEXT_SOURCES}
  COMMENT "Rendering the game's glyphs"
  VERBATIM)

# The icon (the 32 x 32 picture and a pixel-sharp 256 x 256 one), version and manifest.
set(KELTO1_WIN_ICON ${CMAKE_BINARY_DIR}/generated/kelto1.ico)
set(KELTO1_WIN_MANIFEST ${CMAKE_SOURCE_DIR}/src/win32/kelto1.manifest)
add_custom_command(
  OUTPUT ${KELTO1_WIN_ICON}
  COMMAND ${KELTO1_WIN_PYTHON} ${CMAKE_SOURCE_DIR}/tools/scale_icon.py ${CMAKE_SOURCE_DIR}/assets/icon.png 256
          ${CMAKE_BINARY_DIR}/generated/icon-256.png
  COMMAND ${KELTO1_WIN_PYTHON} ${CMAKE_SOURCE_DIR}/tools/win32_icon.py ${KELTO1_WIN_ICON}
          ${CMAKE_SOURCE_DIR}/assets/icon.png ${CMAKE_BINARY_DIR}/generated/icon-256.png
  DEPENDS ${CMAKE_SOURCE_DIR}/assets/icon.png ${CMAKE_SOURCE_DIR}/tools/scale_icon.py ${CMAKE_SOURCE_DIR}/tools/win32_icon.py
  COMMENT "Packing the icon"
  VERBATIM)
configure_file(${CMAKE_SOURCE_DIR}/src/win32/kelto1.rc.in ${CMAKE_BINARY_DIR}/generated/kelto1.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/kelto1.rc PROPERTIES
  OBJECT_DEPENDS "${KELTO1_WIN_ICON};${KELTO1_WIN_MANIFEST}")
enable_language(RC)

# The machine under the game, on the Win32 API (its parts that need no Windows are tested
# on Linux with the rest).
# The preferences file is read by Windows' own INI reader, as no INI library is built for
# MinGW; the Pictures folder is asked of the shell.
add_library(kelto1_win32 STATIC ${CMAKE_SOURCE_DIR}/src/win32/win32_platform.cpp
  ${CMAKE_SOURCE_DIR}/src/win32/preferences_ini.cpp ${CMAKE_SOURCE_DIR}/src/frontend/preferences_file.cpp)
target_link_libraries(kelto1_win32 PUBLIC kelto1_win32_logic kelto1_frontend kelto1_platform winmm shell32 ole32 uuid)

add_executable(kelto1 WIN32 src/app/win32_main.cpp src/app/command_line.cpp src/app/replay_viewer.cpp src/app/records_screen.cpp
  src/web/atlas_text_painter.cpp ${KELTO1_GLYPHS_CPP} ${CMAKE_BINARY_DIR}/generated/kelto1.rc)
target_link_libraries(kelto1 PRIVATE kelto1_win32 kelto1_runner)
target_include_directories(kelto1 PRIVATE ${CMAKE_BINARY_DIR}/generated)
