#!/usr/bin/env bash
# The browser edition's download: every file the page loads, as it is and gzip-compressed.
# Fails when the whole is over 3 MB gzip, or when the service worker is more than its list
# of files (the tune and the game are kept by reference, never copied into it).
set -euo pipefail
site=$(cd "$(dirname "$0")/.." && pwd)/build-web/site
raw=0
packed=0
for f in "$site"/*; do
  r=$(stat -c %s "$f")
  p=$(gzip -9 -c "$f" | wc -c)
  printf '%-22s %9d bytes, %9d gzip\n' "$(basename "$f")" "$r" "$p"
  raw=$((raw + r))
  packed=$((packed + p))
done
printf '%-22s %9d bytes, %9d gzip\n' 'page total' "$raw" "$packed"
status=0
if [ "$packed" -gt $((3 * 1000 * 1000)) ]; then
  echo "the page downloads more than 3 MB gzip"
  status=1
fi
if [ -f "$site/sw.js" ] && [ "$(stat -c %s "$site/sw.js")" -gt 8192 ]; then
  echo "sw.js holds more than its list of files"
  status=1
fi
exit "$status"
