#!/usr/bin/env bash
# Builds the Debian package of Tavrin (installed under /usr) and prints its path.
# Usage: tools/package.sh [BUILD_DIR]   (default: build-package)
# Install it with `apt install ./tavrin_*.deb`; remove it with `apt remove tavrin`.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$here/build-package"}
"$here/tools/setup.sh" --deps-only

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTAVRIN_BUILD_TESTS=OFF -DTAVRIN_BUILD_BENCH=OFF -DTAVRIN_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/tavrin_*.deb
