#!/usr/bin/env bash
# The Debian package as a player meets it: built by package.sh, its file list, lintian,
# the desktop entry and AppStream metadata validated, then installed with apt on this
# machine, started from the PATH and under Xvfb from an empty folder, and removed again.
# Installing changes the machine: the package is removed on every way out.
# Usage: tests/package/package_test.sh   (exits 77 when it cannot install packages)
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing the package needs root"; exit 77
fi
for tool in dpkg-deb lintian desktop-file-validate appstreamcli Xvfb xdotool convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
if dpkg-query -W -f='${Status}' kelto1 2>/dev/null | grep -q "ok installed"; then
  echo "SKIP: a kelto1 package is installed already; this test will not replace it"; exit 77
fi

work=$(mktemp -d)
installed=0 xvfb_pid='' game_pid=''
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  if [ "$installed" -eq 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq kelto1 >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/game.log" ] && sed 's/^/  game: /' "$work/game.log"
  exit 1
}

# ---- The package file -------------------------------------------------------------------
deb=$(./package.sh)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-package/CMakeCache.txt)
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "kelto1_${version}_${arch}.deb" ] || fail "package named $deb, version $version"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "control Version: $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 fonts-ipafont-gothic \
         fonts-ipafont-mincho fonts-terminus-otb timgm6mb-soundfont; do
  [[ ", $depends," == *", $p"[\ ,]* ]] || fail "Depends lacks $p: $depends"
done

# Every file the package holds, no more and no fewer.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort >"$work/files"
sort >"$work/expected" <<FILES
/usr/games/kelto1
/usr/lib/kelto1/kelto1
/usr/lib/kelto1/per-user-settings
/usr/lib/kelto1/bgm.mid
/usr/lib/kelto1/crbit.wav
/usr/lib/kelto1/crsh.wav
/usr/lib/kelto1/crwal.wav
/usr/lib/kelto1/PwrUp1.wav
/usr/lib/kelto1/PwrLost.wav
/usr/lib/kelto1/pass.wav
/usr/share/applications/io.github.kelto1.Kelto1.desktop
/usr/share/metainfo/io.github.kelto1.Kelto1.metainfo.xml
/usr/share/man/man6/kelto1.6.gz
/usr/share/doc/kelto1/copyright
/usr/share/doc/kelto1/changelog.gz
/usr/share/icons/hicolor/32x32/apps/kelto1.png
/usr/share/icons/hicolor/48x48/apps/kelto1.png
/usr/share/icons/hicolor/64x64/apps/kelto1.png
/usr/share/icons/hicolor/128x128/apps/kelto1.png
/usr/share/icons/hicolor/256x256/apps/kelto1.png
FILES
diff -u "$work/expected" "$work/files" >"$work/files.diff" || { cat "$work/files.diff"; fail "the package's files differ"; }

# Lintian: no errors; what it still warns about is printed.
lintian --allow-root --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
grep -v '^running with root' "$work/lintian" | sed 's/^/  lintian: /' || true
grep -q '^E: ' "$work/lintian" && fail "lintian reports errors"

# ---- Installed ----------------------------------------------------------------------------
installed=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$PWD/$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log"; fail "apt could not install $deb"; }

desktop-file-validate /usr/share/applications/io.github.kelto1.Kelto1.desktop || fail "desktop entry"
appstreamcli validate --no-net /usr/share/metainfo/io.github.kelto1.Kelto1.metainfo.xml >"$work/appstream" 2>&1 \
  || { cat "$work/appstream"; fail "AppStream metadata"; }
grep -q "<release version=\"$version\"" /usr/share/metainfo/io.github.kelto1.Kelto1.metainfo.xml \
  || fail "the AppStream release list does not name $version"
zcat /usr/share/man/man6/kelto1.6.gz | grep -q "^\.TH KELTO1 6 .*\"kelto1 $version\"" || fail "manual page version"

# The icons: each its size, each the 32-pixel icon enlarged by nearest neighbour, pixel
# for pixel as ImageMagick's sampling enlarges it; no blended colours.
for size in 32 48 64 128 256; do
  icon=/usr/share/icons/hicolor/${size}x$size/apps/kelto1.png
  [ "$(identify -format %wx%h "$icon")" = "${size}x$size" ] || fail "$icon is $(identify -format %wx%h "$icon")"
  [ "$(convert "$icon" rgba:- | md5sum)" = "$(convert assets/icon.png -sample "${size}x$size" rgba:- | md5sum)" ] \
    || fail "$icon is not the icon enlarged pixel-sharp"
done

# The command from a player's PATH (root's has no /usr/games).
player_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
[ "$(PATH=$player_path command -v kelto1)" = /usr/games/kelto1 ] || fail "kelto1 is not on the PATH"
out=$(cd / && PATH=$player_path kelto1 --version) || fail "kelto1 --version failed"
[ "$out" = "kelto1 $version" ] || fail "kelto1 --version says: $out"
PATH=$player_path kelto1 --help | grep -q '^Usage: kelto1' || fail "kelto1 --help"
set +e
PATH=$player_path kelto1 --no-such-option >"$work/out" 2>"$work/err"
rc=$?
set -e
[ "$rc" -eq 2 ] && [ ! -s "$work/out" ] && grep -q '^Usage: kelto1' "$work/err" || fail "a wrong option: exit $rc"

# Without a display, or with one that does not answer, one true line and status 1.
set +e
(unset DISPLAY WAYLAND_DISPLAY; PATH=$player_path exec kelto1) >/dev/null 2>"$work/err"
rc_unset=$?
(unset WAYLAND_DISPLAY; DISPLAY=:9731 PATH=$player_path exec kelto1) >/dev/null 2>"$work/err-named"
rc_named=$?
set -e
[ "$rc_unset" -eq 1 ] && grep -q "neither DISPLAY nor WAYLAND_DISPLAY is set" "$work/err" \
  || fail "without a display: exit $rc_unset, $(cat "$work/err")"
[ "$rc_named" -eq 1 ] && grep -q "display named by DISPLAY=:9731" "$work/err-named" \
  && ! grep -q "is set" "$work/err-named" || fail "an unreachable display: exit $rc_named, $(cat "$work/err-named")"

# ---- A game from an empty folder under Xvfb, by a player with no settings yet ----------
export HOME="$work/home"
unset XDG_DATA_HOME
mkdir -p "$HOME" "$work/empty"
find /usr/lib/kelto1 | sort >"$work/program-before"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
(cd "$work/empty" && PATH=$player_path SDL_AUDIODRIVER=dummy exec kelto1 >"$work/game.log" 2>&1) &
game_pid=$!
window=''
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name '^KELTO1$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$window" ] || fail "no window KELTO1 appeared"
sleep 1
xdotool key --window "$window" Escape 2>/dev/null || xdotool key Escape
for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end on Escape"
wait "$game_pid" || fail "the game ended with an error"
game_pid=''

settings="$HOME/.local/share/kelto1/car.dat"
[ -s "$settings" ] || fail "no settings in $settings"
[ "$(stat -c %s "$settings")" -eq 10 ] || fail "the settings file holds $(stat -c %s "$settings") bytes"
[ -z "$(ls -A "$work/empty")" ] || fail "the game wrote into the folder it was started from: $(ls -A "$work/empty")"
find /usr/lib/kelto1 | sort | diff -u "$work/program-before" - || fail "the game wrote into its program folder"
grep -q "cannot read .*\.wav\|bgm.mid" "$work/game.log" && fail "the game did not find its sound files"

# ---- Removed -----------------------------------------------------------------------------
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq kelto1 >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log"; fail "apt could not remove kelto1"; }
installed=0
left=''
while read -r f; do [ -e "$f" ] || [ -L "$f" ] && left="$left $f"; done <"$work/files"
[ -z "$left" ] || fail "files left after removal:$left"
for d in /usr/lib/kelto1 /usr/share/doc/kelto1; do [ ! -e "$d" ] || fail "$d left after removal"; done
[ -s "$settings" ] || fail "removing the package took the player's settings"

echo "package: $(basename "$deb") built, checked, installed, played, removed"
