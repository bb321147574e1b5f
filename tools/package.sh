#!/usr/bin/env bash
# Builds the Debian package of Tavrin (installed under /usr) and prints its path.
# Usage: tools/package.sh [--check] [BUILD_DIR]   (default: build-package)
#   --check  also unpacks the package into a scratch folder, checks that it holds every file a desktop
#            needs and that its dependencies are packages this machine knows, and runs the journey test
#            (tests/journey) against the unpacked program.
# Install it with `apt install ./tavrin_*.deb`; remove it with `apt remove tavrin`.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
check=0
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
fi
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
for dep in $(echo "$depends" | tr ',' '\n' | sed 's/[ (].*//; s/^ *//' | sort -u); do
  apt-cache show "$dep" >/dev/null 2>&1 || fail "the dependency $dep is no Debian package here"
done
"$scratch/usr/bin/tavrinctl" --help >/dev/null || fail "the unpacked tavrinctl does not run"
echo "package check: files, desktop entry and dependencies ($depends) in order"
"$here/tests/journey/journey.sh" "$scratch/usr/bin/tavrin" "$build/journey"
echo "package check: the journey passed with the unpacked program; screenshots in $build/journey"
