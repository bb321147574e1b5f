#!/usr/bin/env bash
# Makes the README's pictures: the first-run setup dialog, and the clock face in each picture scheme.
# Runs the built program under Xvfb with folders of its own. Usage: tools/screenshots.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$here/build"}
app="$build/src/tavrin"
out="$here/docs"
mkdir -p "$out"

scratch=$(mktemp -d)
display=":$((200 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$scratch"' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# Runs the program with a fresh set of folders, optionally seeded with a settings file.
shoot() {
  local name=$1 crop=$2 scale=$3 seed=${4:-}
  local home="$scratch/$name"
  mkdir -p "$home"/{config,configdirs,data,runtime}
  chmod 700 "$home/runtime"
  if [ -n "$seed" ]; then
    mkdir -p "$home/config/tavrin"
    printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n%s\n' "$seed" > "$home/config/tavrin/user.reg"
  fi
  XDG_CONFIG_HOME="$home/config" XDG_CONFIG_DIRS="$home/configdirs" XDG_DATA_HOME="$home/data" \
    XDG_RUNTIME_DIR="$home/runtime" "$app" >/dev/null 2>&1 &
  local pid=$!
  sleep 3
  import -window root -crop "$crop" +repage -filter point -resize "$scale" "$out/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$out/$name.png"
}

shoot setup 440x400+292+100 100%
shoot clock-blue 80x40+944+560 400% '"ColScheme"="E99012"'
shoot clock-olive 80x40+944+560 400% '"ColScheme"="B2E2EA"'
shoot clock-silver 80x40+944+560 400% '"ColScheme"="E5DBDA"'
shoot clock-plain 80x40+944+560 400% $'"ColScheme"="C8D0D4"\n"TimeFormat"="HH:MM:SS"\n"DateFormat"="dd mmm yyyy"\n"TForeColor"="80"'
