#!/usr/bin/env bash
# Installs what Tavrin needs to build, run and test on Debian 12, then configures and builds it.
# Usage: tools/setup.sh [BUILD_DIR]   (default: build)
#        tools/setup.sh --deps-only  (only the packages)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$here/build"}

packages=(
  build-essential cmake ccache pkg-config clang-format
  qt6-base-dev qt6-multimedia-dev libgl-dev libxcb1-dev libxcb-randr0-dev libxcb-xinerama0-dev
  libgtest-dev googletest libbenchmark-dev libcctz-dev
  libical-dev libxml2-dev libcurl4-openssl-dev qtkeychain-qt6-dev
  radicale python3 python3-passlib openssl dbus dunst libnotify-bin
  xvfb xauth x11-utils imagemagick desktop-file-utils xdotool openbox tint2
  fonts-dejavu-core tzdata man-db locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The formatter's tests read weekday and month names from the German and Japanese locales. They are
# enabled in /etc/locale.gen, so a later upgrade of the locales package, which rebuilds every locale
# from that list, keeps them.
wanted_locales=(de_DE.UTF-8 ja_JP.UTF-8)
absent_locales=()
for l in "${wanted_locales[@]}"; do
  locale -a 2>/dev/null | grep -qix "${l%%.*}.utf8" || absent_locales+=("$l")
done
if ((${#absent_locales[@]})); then
  echo "Generating locales: ${absent_locales[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  for l in "${absent_locales[@]}"; do
    if grep -q "^# *$l UTF-8\$" /etc/locale.gen; then
      $sudo sed -i "s/^# *\($l UTF-8\)\$/\1/" /etc/locale.gen
    elif ! grep -q "^$l UTF-8\$" /etc/locale.gen; then
      echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    fi
  done
  $sudo locale-gen >/dev/null
fi

[ "$build" = "--deps-only" ] && exit 0

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
