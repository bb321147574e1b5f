# A throw-away user for the measurement scripts: XDG folders in a temporary folder (removed on exit,
# with every process whose id is added to `pids`), so no real settings are touched. Sourced.
tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT INT TERM

export XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/run"
export XDG_CONFIG_DIRS="$tmp/xdg" XDG_CACHE_HOME="$tmp/cache"
mkdir -p "$XDG_CONFIG_HOME/tavrin" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_DIRS" "$XDG_CACHE_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
