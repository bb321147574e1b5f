#!/usr/bin/env bash
# Builds the libFuzzer programs (clang, address and undefined-behaviour sanitizers) and runs each for
# SECONDS (default 60), two or more at a time. Inputs that break a target are written into its corpus
# folder, tests/data/fuzz/<target>/, as crash-*, leak-*, timeout-* or oom-* files: keep them there
# (commit them) once the fault is mended, and the corpus replay test in ctest holds them for good.
# Usage: tools/fuzz.sh [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
build="$here/build-fuzz"

packages=(clang libclang-rt-14-dev cmake)
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

cmake -S "$here/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"

targets=$(cd "$here/tests/data/fuzz" && ls -d */ | tr -d /)
mkdir -p "$build/logs"
run_one() {
  local name=$1 seconds=$2 here=$3 build=$4
  local corpus="$build/corpus/$name" seeds="$here/tests/data/fuzz/$name"
  mkdir -p "$corpus"
  # The work corpus grows in the build folder; the stored one keeps its seeds and its findings.
  "$build/fuzz_$name" "$corpus" "$seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$seeds/" -print_final_stats=1 >"$build/logs/$name.log" 2>&1
  local status=$?
  local runs
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$name.log" | grep -o '[0-9]*$' || true)
  if [ "$status" -eq 0 ]; then
    echo "$name: ${runs:-?} inputs in ${seconds} s, nothing found"
  else
    echo "$name: FOUND a fault (exit $status); see $build/logs/$name.log and the new files in $seeds/"
  fi
  return "$status"
}
export -f run_one
echo "Fuzzing $(echo "$targets" | wc -w) targets for $seconds s each..."
if ! echo "$targets" | xargs -P "$(nproc)" -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$here" "$build"; then
  echo "At least one target found a fault."
  exit 1
fi
echo "No target found anything."
