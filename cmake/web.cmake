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
