#!/usr/bin/env bash
# Builds the Windows edition on Debian with MinGW-w64 into build-windows/ and packs
# build-windows/kelto1-VERSION-windows-x64.zip: kelto1.exe (linked statically: it needs
# only what every Windows 10 and 11 has), the sound files, the tune, README.txt and
# LICENSE. The runner kelto1-sim.exe is built beside it for the tests.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install_windows_deps.sh "${KELTO1_WINDOWS_DEPS:-build}"
build=build-windows
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# The toolchain is chosen once, when the build folder is made.
toolchain=()
[ -f "$build/CMakeCache.txt" ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
cmake -S . -B "$build" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release -DKELTO1_DESKTOP=OFF -DKELTO1_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kelto1 kelto1-sim

version=$(sed -n 's/^project(kelto1 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=kelto1-$version-windows-x64
stage=$build/package/$name
rm -rf "$build/package" "$build/$name.zip"
mkdir -p "$stage"
# The symbols only help a debugger; the player's copy goes without them.
x86_64-w64-mingw32-strip -o "$stage/kelto1.exe" "$build/kelto1.exe"
cp data/*.wav data/bgm.mid "$stage/"
# Windows' Notepad before 2018 shows a text file's lines only with CR LF endings.
sed 's/$/\r/' packaging/windows/README.txt >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
(cd "$build/package" && zip -qr -9 -X "../$name.zip" "$name")
echo "$build/$name.zip: $(stat -c %s "$build/$name.zip") bytes"
