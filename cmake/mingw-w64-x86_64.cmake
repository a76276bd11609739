# Cross-building the Windows edition on Debian with MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The programs are linked statically, so they need no libstdc++, libgcc or winpthread DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELTO1_MINGW x86_64-w64-mingw32)

# The POSIX thread model: its C++ library has std::thread and std::mutex.
set(CMAKE_C_COMPILER ${KELTO1_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELTO1_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KELTO1_MINGW}-windres)

# Libraries and headers come from the MinGW tree only, never from the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${KELTO1_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
