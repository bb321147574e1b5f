#!/usr/bin/env bash
# Measures the pop-up menu and its small windows in the running program under its own Xvfb, driven by
# real input events (xdotool): the time from a press on the clock to the menu painted (with 10 world
# zones), the CPU the program uses with the floating clock open and idle, and with the stopwatch
# running, each beside the clock alone. Throw-away XDG folders; no real settings are touched.
# Usage: tools/measure-menu.sh [SECONDS] [PROGRAM]   (default: 30 seconds per CPU figure, build/src/tavrin)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
duration=${1:-30}
program=${2:-"$here/build/src/tavrin"}
[ -x "$program" ] || { echo "measure-menu: no program at $program (build it first)" >&2; exit 2; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "measure-menu: $tool is missing (tools/setup.sh installs it)" >&2; exit 2; }
done

source "$here/tools/scratch-user.sh"
zones=(Europe/Berlin America/New_York Asia/Tokyo Australia/Sydney America/Sao_Paulo Asia/Kolkata
       Africa/Cairo Pacific/Auckland America/Los_Angeles Europe/London)
{
  printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON]\n@="Quillon"\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n"ColScheme"="E99012"\n'
  printf '"NumTimeZones"="%d"\n' "${#zones[@]}"
  for i in "${!zones[@]}"; do printf '"TZone%d"="%s"\n' $((i + 1)) "${zones[$i]}"; done
} >"$XDG_CONFIG_HOME/tavrin/user.reg"

# The server picks a display number nobody uses and says which once it accepts connections. It must
# not reset when its last client goes (the program's own check that the display answers is one),
# or the program's real connection can arrive in the middle of the reset and fail.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$tmp/display" >/dev/null 2>&1 &
xvfb=$!
pids+=("$xvfb")
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { echo "measure-menu: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$tmp/display")"
unset QT_QPA_PLATFORM

TAVRIN_TRACE=1 "$program" 2>"$tmp/stderr" &
app=$!
pids+=("$app")

hz=$(getconf CLK_TCK)
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
now_ms() { date +%s%3N; }
# The rectangle "x y w h" of the window titled $1, empty while there is none. Windows are found by
# their titles rather than through the program's probe, which would add its own work to the figures.
window_rect() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
  [ -n "$id" ] || return 0
  xdotool getwindowgeometry --shell "$id" | awk -F= '{v[$1] = $2} END {print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"]}'
}
wait_for() { for _ in $(seq 100); do [ -n "$("$@")" ] && return 0; sleep 0.1; done; return 1; }
click_at() { xdotool mousemove "$1" "$2" click 1; }
click_rect() { click_at $(($1 + $3 / 2)) $(($2 + $4 / 2)); }
# Menu button K (0 = calendar .. 5 = end): six equal cells along the menu's bottom row of 24-pixel
# pictures, 5 pixels above its bottom edge.
click_menu_button() {
  local x y w h
  read -r x y w h <<<"$(window_rect 'Tavrin Menu')"
  click_at $((x + ($1 * 2 + 1) * w / 12)) $((y + h - 17))
}
open_menu() {
  click_rect "$cx" "$cy" "$cw" "$ch"
  wait_for window_rect 'Tavrin Menu' || { echo "measure-menu: no menu after a press on the clock" >&2; exit 1; }
}
# CPU of the program and of the display server over the measuring time, in % of one core.
measure_cpu() {
  local c0 x0 t0 c1 x1 t1
  c0=$(cpu_ticks "$app"); x0=$(cpu_ticks "$xvfb"); t0=$(now_ms)
  sleep "$duration"
  c1=$(cpu_ticks "$app"); x1=$(cpu_ticks "$xvfb"); t1=$(now_ms)
  awk -v c=$((c1 - c0)) -v x=$((x1 - x0)) -v hz="$hz" -v ms=$((t1 - t0)) \
    'BEGIN { printf "%.3f %.3f\n", 100 * c / hz / (ms / 1000), 100 * x / hz / (ms / 1000) }'
}

wait_for window_rect Tavrin || { echo "measure-menu: the clock never showed" >&2; cat "$tmp/stderr" >&2; exit 1; }
sleep 2
read -r cx cy cw ch <<<"$(window_rect Tavrin)"

# Press to menu painted, five times; the menu is closed with Escape in between.
presses=5
for _ in $(seq "$presses"); do
  now_ms >>"$tmp/clicks"
  open_menu
  sleep 0.5
  xdotool key Escape
  for _ in $(seq 50); do [ -z "$(window_rect 'Tavrin Menu')" ] && break; sleep 0.1; done
  sleep 0.3
done
times() { grep -o "menu $1 after [0-9]* ms (at [0-9]*" "$tmp/stderr" | awk '{print $NF}' | head -n "$presses"; }
press_to_paint=$(paste <(times press) <(times painted) |
  awk '{ d = $2 - $1; s += d; if (d > m) m = d; n++ } END { if (n) printf "%.1f ms on average, %d ms at most (%d presses)", s / n, m, n }')
click_to_paint=$(paste "$tmp/clicks" <(times painted) |
  awk '{ d = $2 - $1; s += d; if (d > m) m = d; n++ } END { if (n) printf "%.1f ms on average, %d ms at most", s / n, m }')

read -r clock_cpu clock_x <<<"$(measure_cpu)"

# The floating clock, open and left alone.
open_menu
click_menu_button 3
wait_for window_rect "Floating Clock" || { echo "measure-menu: the floating clock did not open" >&2; exit 1; }
sleep 1
read -r fclock_cpu fclock_x <<<"$(measure_cpu)"
read -r fx fy fw fh <<<"$(window_rect "Floating Clock")"
click_at $((fx + fw - 10)) $((fy + 10))  # its close picture
sleep 0.5

# The stopwatch, running: its Start button sits 36 by 60 pixels into the window.
open_menu
click_menu_button 2
wait_for window_rect "Stop Watch" || { echo "measure-menu: the stopwatch did not open" >&2; exit 1; }
sleep 0.5
read -r sx sy sw sh <<<"$(window_rect "Stop Watch")"
click_at $((sx + 36)) $((sy + 60))
sleep 1
read -r watch_cpu watch_x <<<"$(measure_cpu)"

echo "press to menu painted  ${press_to_paint:-no trace}, 10 zones   (target < 30 ms)"
echo "click to menu painted  ${click_to_paint:-no trace} (from the xdotool call, X round trip included)"
awk -v c="$clock_cpu" -v cx="$clock_x" -v f="$fclock_cpu" -v fx="$fclock_x" -v w="$watch_cpu" -v wx="$watch_x" -v d="$duration" 'BEGIN {
  printf "clock alone            %.3f %% of one core (display server %.3f %%), over %d s\n", c, cx, d
  printf "floating clock idle    %.3f %% of one core in all, %+.3f %% over the clock alone   (target < 0.1 %%); display server %.3f %%\n", f, f - c, fx
  printf "stopwatch running      %.3f %% of one core in all, %+.3f %% over the clock alone   (target < 1 %%); display server %.3f %%\n", w, w - c, wx
}'
if [ -n "${MEASURE_SCREENSHOT:-}" ]; then import -window root "$MEASURE_SCREENSHOT" && echo "screenshot             $MEASURE_SCREENSHOT"; fi
