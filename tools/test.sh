#!/usr/bin/env bash
# Sets up, builds and runs every test through ctest, then builds the whole program and its tests again
# with the address and undefined-behaviour sanitizers (in build-asan, without the benchmarks) and runs
# the whole suite there too, the journey included. Exits non-zero when either run fails. From nothing,
# on two cores and without a compiler cache, both together take about twenty minutes.
# The tests never see the real user's configuration: every XDG folder points into a temporary folder.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build"
asan="$here/build-asan"
"$here/tools/setup.sh" "$build"

# One layout for every source file.
(cd "$here" && find src tests bench fuzz -name '*.h' -o -name '*.cpp' | xargs clang-format --dry-run -Werror)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch"/{config,configdirs,data,cache,runtime}
chmod 700 "$scratch/runtime"
export XDG_CONFIG_HOME="$scratch/config"
export XDG_CONFIG_DIRS="$scratch/configdirs"
export XDG_DATA_HOME="$scratch/data"
export XDG_CACHE_HOME="$scratch/cache"
export XDG_RUNTIME_DIR="$scratch/runtime"
export QT_QPA_PLATFORM=offscreen

(cd "$build" && ctest --output-on-failure -j"$(nproc)" --timeout 600)

# Every finding of the sanitizers stops the test that meets it. Leaks are reported too, except those
# inside the system libraries below Qt (tools/lsan.supp). The build's own test discovery runs the test
# programs, so the options are set before it builds.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$here/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake -S "$here" -B "$asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_WERROR=ON -DTAVRIN_SANITIZE=ON \
  -DTAVRIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$asan" -j"$(nproc)"
(cd "$asan" && ctest --output-on-failure -j"$(nproc)" --timeout 900)
