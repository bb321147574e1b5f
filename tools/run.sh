#!/usr/bin/env bash
# Sets up, builds and starts the clock. Without a display it starts the clock under Xvfb, writes a
# screenshot of the screen a few seconds after start, prints its path and runs until interrupted.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build"
"$here/tools/setup.sh" "$build"
app="$build/src/tavrin"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$app"
fi

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
pids=("$xvfb")
cleanup() { kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT INT TERM
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$app" &
pids+=("$!")
app_pid=$!
sleep 4
shot="$here/build/screenshot-$(date +%Y%m%d-%H%M%S).png"
import -window root "$shot"
echo "Tavrin is running under Xvfb on $display; screenshot: $shot"
echo "Press Ctrl-C to stop."
wait "$app_pid"
