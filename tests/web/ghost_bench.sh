#!/usr/bin/env bash
# What tracing a long race's ghost costs the page (a benchmark: it prints figures and
# fails only when the page cannot be driven). The race is the longest golden demo,
# recorded as a replay by the native runner.
# usage: ghost_bench.sh [path/to/kelto1-sim]   (after scripts/build_web.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
sim=${1:-$root/build/kelto1-sim}
demo=$root/tests/demos/racing_overtakes.demo
work=$(mktemp -d)
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
/usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/build-web/site" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
car=$(sed -n 's/^# car: //p' "$demo")
frames=$(sed -n 's/^# frames: //p' "$demo")
"$sim" --car "$car" --frames "$frames" --demo "$demo" --record "$work/long.k1r" >/dev/null
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done
cd "$root/tests/web"
node ghost_bench.js "http://127.0.0.1:$port/" "$work/long.k1r" "$frames"
