#!/usr/bin/env bash
# Builds the Debian package of Tavrin (installed under /usr) and prints its path.
# Usage: tools/package.sh [--check] [BUILD_DIR]   (default: build-package)
#   --check  also unpacks the package into a scratch folder, checks that it holds every file a desktop
#            needs and that its dependencies are packages this machine knows, and runs the journey test
#            (tests/journey) against the unpacked program.
#   --install  (after --check, as root or through sudo: it changes this machine) also installs the
#            package with apt, starts the installed program the way the desktop's menu does (the
#            Exec line of its menu entry) under a throw-away X server, removes the package again and
#            checks that none of its files is left. Refused where tavrin is installed already.
# Install it with `apt install ./tavrin_*.deb`; remove it with `apt remove tavrin`.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
check=0
install=0
while [ $# -gt 0 ]; do
  case "$1" in
    --check) check=1 ;;
    --install) check=1 install=1 ;;
    *) break ;;
  esac
  shift
done
build=${1:-"$here/build-package"}
"$here/tools/setup.sh" --deps-only

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTAVRIN_BUILD_TESTS=OFF -DTAVRIN_BUILD_BENCH=OFF -DTAVRIN_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/tavrin_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/tavrin_*.deb)
echo "$package"
[ "$check" -eq 1 ] || exit 0

fail() {
  echo "package check: $*" >&2
  exit 1
}
scratch=$(mktemp -d /tmp/tavrin-package-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$package" "$scratch"
for f in usr/bin/tavrin usr/bin/tavrinctl usr/share/applications/tavrin.desktop \
  usr/share/icons/hicolor/48x48/apps/tavrin.png usr/share/man/man1/tavrin.1.gz \
  usr/share/man/man1/tavrinctl.1.gz usr/share/tavrin/Images; do
  [ -e "$scratch/$f" ] || fail "the package lacks $f"
done
desktop-file-validate "$scratch/usr/share/applications/tavrin.desktop" || fail "the desktop entry is not valid"
depends=$(dpkg-deb -f "$package" Depends)
[ -n "$depends" ] || fail "the package names no dependencies"
for needed in tzdata libcctz2; do
  echo "$depends" | tr ',' '\n' | sed 's/[ (].*//; s/^ *//' | grep -qx "$needed" || fail "the package does not depend on $needed"
done
for dep in $(echo "$depends" | tr ',' '\n' | sed 's/[ (].*//; s/^ *//' | sort -u); do
  apt-cache show "$dep" >/dev/null 2>&1 || fail "the dependency $dep is no Debian package here"
done
"$scratch/usr/bin/tavrinctl" --help >/dev/null || fail "the unpacked tavrinctl does not run"
echo "package check: files, desktop entry and dependencies ($depends) in order"
"$here/tests/journey/journey.sh" "$scratch/usr/bin/tavrin" "$build/journey"
echo "package check: the journey passed with the unpacked program; screenshots in $build/journey"
[ "$install" -eq 1 ] || exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if dpkg-query -W -f='${Status}' tavrin 2>/dev/null | grep -q 'install ok installed'; then
  fail "tavrin is installed on this machine already; --install would replace and then remove it"
fi
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --allow-downgrades "$package" >/dev/null ||
  fail "apt could not install the package"
dpkg -L tavrin | while read -r f; do if [ ! -d "$f" ]; then echo "$f"; fi; done >"$scratch/files"
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/tavrin.desktop)
command -v "${exec_line%% *}" >/dev/null || fail "the menu entry's command $exec_line is not found"
home="$scratch/home"
mkdir -p "$home"/{config/tavrin,data,runtime}
chmod 700 "$home/runtime"
printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n"ColScheme"="B2E2EA"\n' >"$home/config/tavrin/user.reg"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
(cd "$home" && DISPLAY=":$(head -n1 "$scratch/display")" HOME="$home" XDG_CONFIG_HOME="$home/config" \
  XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" TAVRIN_PROBE="$home/probe" \
  sh -c "exec $exec_line" >"$home/log" 2>&1) &
program=$!
for _ in $(seq 100); do grep -q '^window	Tavrin	' "$home/probe" 2>/dev/null && break; sleep 0.1; done
shown=$(grep -c '^window	Tavrin	' "$home/probe" 2>/dev/null || true)
kill "$program" "$xvfb" 2>/dev/null || true
wait 2>/dev/null || true
[ "${shown:-0}" -ge 1 ] || fail "the installed program started from its menu entry showed no clock: $(cat "$home/log")"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tavrin >/dev/null || fail "apt could not remove the package"
left=$(while read -r f; do if [ -e "$f" ]; then echo "$f"; fi; done <"$scratch/files")
[ -z "$left" ] || fail "files left after removal: $left"
echo "package check: installed, started from its menu entry, removed with nothing left behind"
