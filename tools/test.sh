#!/usr/bin/env bash
# Sets up, builds and runs every test through ctest. Exits non-zero on any failure.
# The tests never see the real user's configuration: every XDG folder points into a temporary folder.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build"
"$here/tools/setup.sh" "$build"

# One layout for every source file.
(cd "$here" && find src tests bench fuzz -name '*.h' -o -name '*.cpp' | xargs clang-format --dry-run -Werror)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch"/{config,configdirs,data,runtime}
chmod 700 "$scratch/runtime"
export XDG_CONFIG_HOME="$scratch/config"
export XDG_CONFIG_DIRS="$scratch/configdirs"
export XDG_DATA_HOME="$scratch/data"
export XDG_RUNTIME_DIR="$scratch/runtime"
export QT_QPA_PLATFORM=offscreen

cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
