#!/usr/bin/env bash
# Builds the Debian package build-package/kelto1_<version>_<arch>.deb from a release
# build, with the version from CMakeLists.txt, and prints its path.
#   Usage: ./package.sh
# Installs with `sudo apt install ./build-package/kelto1_*.deb`.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install_deps.sh package
build=build-package
maintainer='The Kelto1 developers <maintainers@users.noreply.c-seed-534cc092.example>'

# Debian's hardening and build flags, as a Debian build would use them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKELTO1_TESTS=OFF "${launcher[@]}" \
  -DCMAKE_INSTALL_PREFIX=/usr -DKELTO1_INSTALL_BINDIR=games \
  "-DCMAKE_CXX_FLAGS=$cppflags $cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kelto1 >"$build/package-build.log" 2>&1 \
  || { tail -40 "$build/package-build.log"; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
release_date=$(sed -n 's/^set(KELTO1_RELEASE_DATE \([0-9-]*\)).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
[ -n "$version" ] && [ -n "$release_date" ] || { echo "package.sh: no version or release date in CMakeLists.txt" >&2; exit 1; }
deb="$build/kelto1_${version}_${arch}.deb"

# The installed tree, as the package lays it out.
stage="$build/deb"
rm -rf "$stage"
umask 022
DESTDIR="$PWD/$stage" cmake --install "$build" >/dev/null
# Stripped as Debian strips programs.
strip --remove-section=.comment --remove-section=.note "$stage/usr/lib/kelto1/kelto1"
gzip -9n "$stage/usr/share/man/man6/kelto1.6"
doc="$stage/usr/share/doc/kelto1"
mkdir -p "$doc"
install -m 644 packaging/copyright "$doc/copyright"
{
  echo "kelto1 ($version) unstable; urgency=medium"
  echo
  echo "  * Release $version."
  echo
  echo " -- $maintainer  $(LC_ALL=C date -u -R -d "$release_date 12:00")"
} | gzip -9n >"$doc/changelog.gz"
chmod 644 "$doc/changelog.gz"

# Libraries as dpkg-shlibdeps finds them for the program; the fonts the readouts are
# drawn in and a General MIDI soundfont for the music by hand.
shlibs=$(mktemp -d)
trap 'rm -rf "$shlibs"' EXIT
mkdir -p "$shlibs/debian"
printf 'Source: kelto1\n\nPackage: kelto1\nArchitecture: any\n' >"$shlibs/debian/control"
libs=$(cd "$shlibs" && dpkg-shlibdeps -O -e"$OLDPWD/$stage/usr/lib/kelto1/kelto1" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$libs" ] || { echo "package.sh: dpkg-shlibdeps found no libraries" >&2; exit 1; }
depends="$libs, fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-terminus-otb, timgm6mb-soundfont | sf2-soundfont-gm"

mkdir -p "$stage/DEBIAN"
cat >"$stage/DEBIAN/control" <<CONTROL
Package: kelto1
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $(du -sk --apparent-size "$stage/usr" | cut -f1)
Depends: $depends
Section: games
Priority: optional
Homepage: https://github.com/kelto1/kelto1
Description: top-down arcade road race out of Tokyo
 KELTO1 is a top-down arcade road race. You drive up an endless road out of
 Tokyo, through 38 real places from Shinjuku to Okutama and round again,
 against the clock, the traffic and 29 rivals. Every place you reach adds
 time; every rival you pass moves you up a rank. Crash too often and your car
 gives up.
 .
 It is a faithful remake of a late-1990s PC game, with new artwork, sound and
 music. It plays with the keyboard or a game controller.
CONTROL
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"
