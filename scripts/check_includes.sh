#!/usr/bin/env bash
# The layers of src/ and which folders each may include (docs/ARCHITECTURE.md draws them).
# Fails, naming the file and the line, when an #include crosses a layer the wrong way.
# Usage: scripts/check_includes.sh [source folder]   (default: src/ beside this script)
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}

core="shell course vehicles traffic audio input replay"
allowed_for() {
  case $1 in
    platform) echo "platform" ;;                          # the bottom: plain value types, the machine's interface
    shell | course | vehicles | traffic | audio | input | replay) echo "platform $core" ;;  # the game
    frontend) echo "platform frontend" ;;                  # what every front end draws and types, without a display
    sdl | web | headless | win32) echo "platform frontend $1" ;;  # front ends: the seam and themselves, never the game
    app) echo "platform $core frontend sdl web headless win32 app" ;;  # programs: a game on a machine
    *) return 1 ;;
  esac
}

status=0
for dir in "$src"/*/; do
  layer=$(basename "$dir")
  if ! allowed=$(allowed_for "$layer"); then
    echo "check_includes: src/$layer/ is in no layer; add it to scripts/check_includes.sh and docs/ARCHITECTURE.md"
    status=1
    continue
  fi
  while IFS=: read -r file line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1/' <<<"$text")
    [ -d "$src/$target" ] || continue  # not one of ours (a generated header, a library's)
    case " $allowed " in
      *" $target "*) ;;
      *)
        echo "check_includes: ${file#"$src/"}:$line: src/$layer/ may not include $target/ ($text)"
        status=1
        ;;
    esac
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' -r "$dir" --include='*.h' --include='*.cpp' || true)
done
[ $status = 0 ] && echo "check_includes: every include keeps to its layer"
exit $status
