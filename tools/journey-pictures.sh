#!/usr/bin/env bash
# Copies a few of the journey test's screenshots into docs/ for the README, each cut to what it shows.
# Run the journey first (`cd build && ctest -R journey`, or `tools/package.sh --check`).
# Usage: tools/journey-pictures.sh [JOURNEY_DIR]   (default: build/journey)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
from=${1:-"$here/build/journey"}
out="$here/docs"
mkdir -p "$out"
# Step picture, name in docs/, and how it is cut: "trim" keeps what is not the black desktop, a
# geometry keeps that part of the screen; the last picture is the whole screen at half size.
while read -r step name cut; do
  [ -f "$from/$step.png" ] || { echo "journey-pictures: $from/$step.png is missing" >&2; exit 1; }
  case "$cut" in
    trim) convert "$from/$step.png" -bordercolor black -border 1 -fuzz 2% -trim +repage \
      -bordercolor black -border 6 "$out/$name.png" ;;
    half) convert "$from/$step.png" -resize 50% "$out/$name.png" ;;
    *) convert "$from/$step.png" -crop "$cut" +repage "$out/$name.png" ;;
  esac
  echo "$out/$name.png"
done <<'LIST'
02-setup-chosen journey-setup trim
05-preferences journey-preferences trim
07-menu-zones journey-menu trim
10-balloon journey-reminder trim
15-floating-clock journey-desktop half
LIST
