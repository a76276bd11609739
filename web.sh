#!/usr/bin/env bash
# Builds the browser edition into build-web/ and serves it: open http://localhost:8000
# (web.sh PORT for another port). The same site, zipped for any static host, is
# build-web/kelto1-VERSION-web.zip.
set -euo pipefail
cd "$(dirname "$0")"
scripts/build_web.sh kelto1-web kelto1_web_release
port=${1:-8000}
echo "Kelto1 in a browser: http://localhost:$port (Ctrl+C ends the server)"
exec /usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
