#!/usr/bin/env bash
# The browser edition's download: every file the page loads, as it is and gzip-compressed.
set -euo pipefail
site=$(cd "$(dirname "$0")/.." && pwd)/build-web/site
raw=0
packed=0
for f in "$site"/*; do
  r=$(stat -c %s "$f")
  p=$(gzip -9 -c "$f" | wc -c)
  printf '%-12s %9d bytes, %9d gzip\n' "$(basename "$f")" "$r" "$p"
  raw=$((raw + r))
  packed=$((packed + p))
done
printf 'page total   %9d bytes, %9d gzip\n' "$raw" "$packed"
