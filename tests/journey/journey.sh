#!/usr/bin/env bash
# A new user's whole journey with the real program: its own X server and window manager, fresh
# folders, a pinned zone database and a fixed zone, driven by real input events (XTest through
# xdotool). Each step checks what it can read (window titles and elements through the program's probe,
# files, pixels) and saves a screenshot in the artefact folder.
# Usage: journey.sh PROGRAM ARTEFACT_DIR
# Exit status 77 (skipped) only where Xvfb is missing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=$1
artifacts=$2
source "$here/lib.sh"

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "SKIPPED: Xvfb is not installed (tools/setup.sh installs it)"
  exit 77
fi
for tool in xdotool openbox import xdpyinfo xprop; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (tools/setup.sh installs it)"
done

mkdir -p "$artifacts"
rm -f "$artifacts"/*.png
home=$(mktemp -d /tmp/tavrin-journey-XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT

# A fresh user in a fixed zone, with the pinned zone database.
mkdir -p "$home"/{config,configdirs,data,runtime}
chmod 700 "$home/runtime"
export XDG_CONFIG_HOME="$home/config" XDG_CONFIG_DIRS="$home/configdirs" XDG_DATA_HOME="$home/data"
export XDG_RUNTIME_DIR="$home/runtime" HOME="$home"
export TZDIR="$(cd "$here/../data/zoneinfo" && pwd)" TZ=Europe/Berlin LANG=C.UTF-8
unset WAYLAND_DISPLAY QT_QPA_PLATFORM SESSION_MANAGER
export TAVRIN_TRACE=1
probe="$home/probe"
export TAVRIN_PROBE="$probe"
settings="$XDG_CONFIG_HOME/tavrin/user.reg"
reminders="$XDG_DATA_HOME/tavrin/Tavrin.DAT"

# Its own X server (on a display number it picks itself and writes on descriptor 3) and a small
# window manager.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$home/display" >"$home/xvfb.log" 2>&1 &
pids+=($!)
wait_until 10 test -s "$home/display" || fail "the X server did not start"
export DISPLAY=":$(head -n1 "$home/display")"
wait_until 10 xdpyinfo || fail "the X server did not start"
openbox --sm-disable >"$home/wm.log" 2>&1 &
pids+=($!)
wm_runs() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }
wait_until 10 wm_runs || fail "the window manager did not start"

applog="$home/tavrin.log"
start_program() {
  rm -f "$probe"
  "$program" >>"$applog" 2>&1 &
  app=$!
  pids+=($app)
}

source "$here/steps.sh"
echo "journey complete; screenshots in $artifacts"
