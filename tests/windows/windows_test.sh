#!/usr/bin/env bash
# The Windows edition's stage of ./test.sh: builds it with MinGW-w64 (./windows.sh) and,
# under Wine: every golden race (state and view hashes), every replay round trip and the
# random-input soak with the Windows runner against the same recorded results as the
# native one; replays crossed between Linux and Windows; the imports of kelto1.exe; the
# zip's contents and size; and the game in its window.
# Usage: windows_test.sh [path/to/native/kelto1-sim]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=${1:-$root/build/kelto1-sim}
KELTO1_WINDOWS_DEPS=test "$root/windows.sh"
build=$root/build-windows
"$root/tests/windows/wine_prefix.sh"
sim=$root/tests/windows/wine_sim.sh
failed=0

# kelto1.exe needs only the DLLs every Windows 10 and 11 has.
allowed=" KERNEL32.dll USER32.dll GDI32.dll WINMM.dll SHELL32.dll ole32.dll msvcrt.dll "
for exe in kelto1.exe kelto1-sim.exe; do
  imports=$(x86_64-w64-mingw32-objdump -p "$build/$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u)
  echo "$exe imports: $(echo $imports)"
  for dll in $imports; do
    case "$allowed" in
      *" $dll "*) ;;
      *) echo "$exe needs $dll, which Windows does not have of its own"; failed=1 ;;
    esac
  done
done

# The program's resources: the manifest (per-monitor DPI aware, UTF-8 as its code page) and
# its version, as Explorer shows them.
texts=$(strings "$build/kelto1.exe")
wide_texts=$(strings -el "$build/kelto1.exe")
grep -q 'PerMonitorV2' <<<"$texts" || { echo "kelto1.exe has no per-monitor DPI manifest"; failed=1; }
grep -q '<activeCodePage[^>]*>UTF-8<' <<<"$texts" || { echo "kelto1.exe's manifest does not ask for UTF-8"; failed=1; }
version=$(sed -n 's/^project(kelto1 VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
grep -qx "$version" <<<"$wide_texts" || { echo "kelto1.exe carries no version $version"; failed=1; }

# The zip holds what a player needs, and stays small.
zip=$(ls "$build"/kelto1-*-windows-x64.zip)
listed=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip" | sed 's|^[^/]*/||' | grep -v '^$' | sort | tr '\n' ' ')
wanted="LICENSE.txt PwrLost.wav PwrUp1.wav README.txt bgm.mid crbit.wav crsh.wav crwal.wav kelto1.exe pass.wav "
[ "$listed" = "$wanted" ] || { echo "the zip holds: $listed (wanted: $wanted)"; failed=1; }
size=$(stat -c %s "$zip")
echo "$(basename "$zip"): $size bytes"
[ "$size" -le $((4 * 1024 * 1024)) ] || { echo "the zip is larger than 4 MB"; failed=1; }

"$root/tests/demos/golden_test.sh" "$sim" || failed=1
"$root/tests/demos/replay_round_trip.sh" "$sim" || failed=1
"$root/tests/demos/random_input_test.sh" "$sim" || failed=1

# Replays cross between Linux and Windows: each runner plays the other's to the end.
if [ -x "$native" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  demo=$root/tests/demos/racing_overtakes.demo
  car=$(sed -n 's/^# car: //p' "$demo")
  frames=$(sed -n 's/^# frames: //p' "$demo")
  "$native" --car "$car" --frames "$frames" --demo "$demo" --record "$work/linux.k1r" >/dev/null
  "$sim" --car "$car" --frames "$frames" --demo "$demo" --record "$work/windows.k1r" >/dev/null
  windows_plays=$("$sim" --replay "$work/linux.k1r" | grep '^replay=' || true)
  linux_plays=$("$native" --replay "$work/windows.k1r" | grep '^replay=' || true)
  [ "$windows_plays" = replay=ok ] || { echo "the Windows runner plays Linux's replay: ${windows_plays:-nothing}"; failed=1; }
  [ "$linux_plays" = replay=ok ] || { echo "the Linux runner plays Windows' replay: ${linux_plays:-nothing}"; failed=1; }
  [ "$windows_plays" = replay=ok ] && [ "$linux_plays" = replay=ok ] && echo "replays cross between Linux and Windows: 2 passed"
else
  echo "no native runner at $native: replays not crossed"
fi

status=0
"$root/tests/windows/window_test.sh" "$build/kelto1.exe" || status=$?
[ "$status" -eq 0 ] || [ "$status" -eq 77 ] || failed=1

[ "$failed" -eq 0 ] && echo "Windows edition: passed" || echo "Windows edition: failed"
exit "$failed"
