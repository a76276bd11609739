# The browser edition's build with Emscripten (em++): the core and the headless runner,
# which runs under Node.js. Included by the top CMakeLists.txt when building with Emscripten.

# stb is header-only: its headers are taken from the system (libstb-dev) through a folder
# of their own, since the rest of /usr/include is for the machine, not for WebAssembly.
set(KELTO1_WEB_STB ${CMAKE_BINARY_DIR}/stb_include)
file(MAKE_DIRECTORY ${KELTO1_WEB_STB})
file(CREATE_LINK /usr/include/stb ${KELTO1_WEB_STB}/stb SYMBOLIC)
include_directories(SYSTEM ${KELTO1_WEB_STB})

# The system's zlib cannot be linked into WebAssembly: replays are packed by stb's
# deflate and inflate behind zlib's calls instead.
add_library(kelto1_web_zlib STATIC src/web/zlib/zlib_stb.cpp)
target_include_directories(kelto1_web_zlib PUBLIC src/web/zlib)
add_library(ZLIB::ZLIB ALIAS kelto1_web_zlib)

# ---- The page ---------------------------------------------------------------------------
# Everything the page loads goes into build-web/site/.
set(KELTO1_SITE ${CMAKE_BINARY_DIR}/site)
set(KELTO1_WEB_PYTHON /usr/bin/python3 CACHE FILEPATH "Debian's Python with PIL, for the glyph tables")

# The glyphs of every text the game shows, in the desktop's fonts, rendered at build time.
file(GLOB KELTO1_TEXT_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/shell/*.cpp ${CMAKE_SOURCE_DIR}/src/course/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/window_elements.cpp)
set(KELTO1_GLYPHS_CPP ${CMAKE_BINARY_DIR}/generated/glyph_atlas.cpp)
add_custom_command(
  OUTPUT ${KELTO1_GLYPHS_CPP}
  COMMAND ${KELTO1_WEB_PYTHON} ${CMAKE_SOURCE_DIR}/tools/web/glyph_atlas.py ${KELTO1_GLYPHS_CPP} ${KELTO1_TEXT_SOURCES}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/web/glyph_atlas.py ${KELTO1_TEXT_SOURCES}
  COMMENT "Rendering the game's glyphs"
  VERBATIM)

# The tune: the game's MIDI file played through the desktop's soundfont, as Ogg Vorbis.
set(KELTO1_SOUNDFONT /usr/share/sounds/sf2/TimGM6mb.sf2)
add_custom_command(
  OUTPUT ${KELTO1_SITE}/bgm.ogg
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KELTO1_SITE}
  COMMAND fluidsynth -ni -q -r 44100 -T wav -F ${CMAKE_BINARY_DIR}/bgm.wav ${KELTO1_SOUNDFONT} ${CMAKE_SOURCE_DIR}/data/bgm.mid
  COMMAND oggenc -Q -q 2 -o ${KELTO1_SITE}/bgm.ogg ${CMAKE_BINARY_DIR}/bgm.wav
  DEPENDS ${CMAKE_SOURCE_DIR}/data/bgm.mid
  COMMENT "Rendering the tune"
  VERBATIM)

# The page itself and its small files.
set(KELTO1_PAGE_FILES index.html page.css page.js touch.js manifest.webmanifest)
set(KELTO1_PAGE_OUTPUTS "")
foreach(f IN LISTS KELTO1_PAGE_FILES)
  add_custom_command(OUTPUT ${KELTO1_SITE}/${f}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/web/${f} ${KELTO1_SITE}/${f}
    DEPENDS ${CMAKE_SOURCE_DIR}/web/${f} VERBATIM)
  list(APPEND KELTO1_PAGE_OUTPUTS ${KELTO1_SITE}/${f})
endforeach()
# The icons of the installed page and the browser tab, from the game's window icon.
set(KELTO1_ICONS icon-192.png icon-512.png icon-maskable-512.png favicon.ico)
list(TRANSFORM KELTO1_ICONS PREPEND ${KELTO1_SITE}/ OUTPUT_VARIABLE KELTO1_ICON_OUTPUTS)
add_custom_command(
  OUTPUT ${KELTO1_ICON_OUTPUTS}
  COMMAND ${KELTO1_WEB_PYTHON} ${CMAKE_SOURCE_DIR}/tools/web/page_icons.py ${CMAKE_SOURCE_DIR}/assets/icon.png ${KELTO1_SITE}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/web/page_icons.py ${CMAKE_SOURCE_DIR}/assets/icon.png
  COMMENT "Making the page's icons"
  VERBATIM)
add_custom_target(kelto1_web_site ALL DEPENDS ${KELTO1_SITE}/bgm.ogg ${KELTO1_PAGE_OUTPUTS} ${KELTO1_ICON_OUTPUTS})

# The game: the core, the front ends' shared display-free logic, the browser's machine.
file(GLOB KELTO1_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/web/*.cpp)
add_executable(kelto1-web src/app/web_main.cpp src/app/replay_viewer.cpp src/app/records_screen.cpp
  ${KELTO1_WEB_SOURCES} ${KELTO1_GLYPHS_CPP})
target_link_libraries(kelto1-web PRIVATE kelto1_runner kelto1_core kelto1_platform kelto1_frontend)
set(KELTO1_PAGE_LIBRARY ${CMAKE_SOURCE_DIR}/src/web/page_library.js)
set(KELTO1_SOUND_FILES "")
foreach(n IN ITEMS crbit.wav crsh.wav crwal.wav pass.wav PwrLost.wav PwrUp1.wav bgm.mid)
  list(APPEND KELTO1_SOUND_FILES "--embed-file=${CMAKE_SOURCE_DIR}/data/${n}@/kelto1/${n}")
endforeach()
target_link_options(kelto1-web PRIVATE
  -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
  -sEXPORTED_RUNTIME_METHODS=['UTF8ToString','ccall'] -sEXPORTED_FUNCTIONS=['_main','_k1_box_typed','_k1_action','_k1_volumes','_k1_page_left','_k1_touch','_k1_tap'] --js-library=${KELTO1_PAGE_LIBRARY} ${KELTO1_SOUND_FILES})
set_target_properties(kelto1-web PROPERTIES OUTPUT_NAME kelto1 SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${KELTO1_SITE}
  LINK_DEPENDS ${KELTO1_PAGE_LIBRARY})
add_dependencies(kelto1-web kelto1_web_site)

# ---- The release: the service worker over every file, and the zip for any static host ----
set(KELTO1_WEB_ZIP ${CMAKE_BINARY_DIR}/kelto1-${PROJECT_VERSION}-web.zip)
add_custom_command(
  OUTPUT ${KELTO1_SITE}/sw.js ${KELTO1_WEB_ZIP}
  COMMAND ${KELTO1_WEB_PYTHON} ${CMAKE_SOURCE_DIR}/tools/web/service_worker.py ${CMAKE_SOURCE_DIR}/web/sw.js
          ${KELTO1_SITE} ${PROJECT_VERSION} ${KELTO1_WEB_ZIP}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/web/service_worker.py ${CMAKE_SOURCE_DIR}/web/sw.js kelto1-web
          $<TARGET_FILE:kelto1-web> ${KELTO1_SITE}/bgm.ogg ${KELTO1_PAGE_OUTPUTS} ${KELTO1_ICON_OUTPUTS}
  COMMENT "Writing the service worker and the release zip"
  VERBATIM)
add_custom_target(kelto1_web_release ALL DEPENDS ${KELTO1_SITE}/sw.js ${KELTO1_WEB_ZIP})
