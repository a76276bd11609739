#!/usr/bin/env bash
# Serves build-web/site/ on a free local port and drives the page in headless Chromium, at
# a desk with keys, then as a phone upright and on its side from the release zip.
# usage: page_test.sh [SCREENSHOT_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
shots=${1:-$root/build-web}
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
/usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/build-web/site" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done
cd "$root/tests/web"
status=0
node page_test.js "http://127.0.0.1:$port/" "$shots" || status=1
# The phone's test runs on the release zip, unpacked into a folder of a web server.
www=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$www"' EXIT
mkdir -p "$www/games/kelto1"
/usr/bin/python3 -m zipfile -e "$(ls "$root"/build-web/kelto1-*-web.zip | tail -n 1)" "$www/games/kelto1"
node phone_test.js "$www" /games/kelto1/ "$shots" || status=1
exit "$status"
