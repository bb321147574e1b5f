#!/usr/bin/env bash
# Measures what the running clock costs: its CPU use and the display server's, wake-ups a second,
# peak memory and the time from start to the first frame. Runs the clock under its own Xvfb with
# throw-away XDG folders seeded with settings, so no first-run dialog shows and no real settings are
# touched.
# Usage: tools/measure-clock.sh [SECONDS] [PROGRAM]   (default: 60 seconds, build/src/tavrin)
# STORE_MB=50 tools/measure-clock.sh 10   grows the settings file to about that many megabytes first
# (a bulk key of generated values beside the settings), to time the first frame on a large store.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
duration=${1:-60}
program=${2:-"$here/build/src/tavrin"}
warmup=2
[ -x "$program" ] || { echo "measure-clock: no program at $program (build it first)" >&2; exit 2; }

source "$here/tools/scratch-user.sh"
printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON]\n@="Quillon"\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n"ColScheme"="E99012"\n' \
  >"$XDG_CONFIG_HOME/tavrin/user.reg"
if [ -n "${STORE_MB:-}" ]; then
  awk -v mb="$STORE_MB" 'BEGIN {
    target = mb * 1048576; size = 0; key = 0
    for (i = 0; size < target; i++) {
      if (i % 1000 == 0) { line = sprintf("\n[SOFTWARE\\QUILLON\\BULK\\Key%d]\n", key++); printf "%s", line; size += length(line) }
      line = sprintf("\"Value%d\"=\"generated text of a setting, number %d\"\n", i, i)
      printf "%s", line; size += length(line)
    }
  }' >>"$XDG_CONFIG_HOME/tavrin/user.reg"
  echo "store: $(du -h "$XDG_CONFIG_HOME/tavrin/user.reg" | cut -f1), $(grep -c '^"' "$XDG_CONFIG_HOME/tavrin/user.reg") value lines"
fi

display=":$((200 + RANDOM % 300))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
pids+=("$xvfb")
export DISPLAY="$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
unset QT_QPA_PLATFORM

hz=$(getconf CLK_TCK)
# utime + stime of a process, in clock ticks (fields 14 and 15, counted after the command name).
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
# Voluntary and involuntary context switches of every thread of a process.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {s += $2} END {print s + 0}'; }
main_switches() { awk '/ctxt_switches/ {s += $2} END {print s + 0}' "/proc/$1/status"; }
now_ms() { date +%s%3N; }

started=$(now_ms)
TAVRIN_TRACE_FIRST_FRAME=1 "$program" 2>"$tmp/stderr" &
clock=$!
pids+=("$clock")

sleep "$warmup"
kill -0 "$clock" 2>/dev/null || { echo "measure-clock: the clock ended early:" >&2; cat "$tmp/stderr" >&2; exit 1; }
c0=$(cpu_ticks "$clock"); x0=$(cpu_ticks "$xvfb"); s0=$(switches "$clock"); m0=$(main_switches "$clock")
startup_ticks=$c0
t0=$(now_ms)
sleep "$duration"
c1=$(cpu_ticks "$clock"); x1=$(cpu_ticks "$xvfb"); s1=$(switches "$clock"); m1=$(main_switches "$clock")
t1=$(now_ms)
hwm=$(awk '/VmHWM/ {print $2}' "/proc/$clock/status")
threads=$(ls "/proc/$clock/task" | wc -l)
shot="$tmp/screen.png"
import -window root "$shot" 2>/dev/null || true

elapsed=$(awk -v a="$t0" -v b="$t1" 'BEGIN {print (b - a) / 1000}')
marker=$(grep -m1 'first frame after' "$tmp/stderr" || true)
frame_ms=$(sed -n 's/.*first frame after \(-\?[0-9]*\) ms.*/\1/p' <<<"$marker")
frame_epoch=$(sed -n 's/.*at \([0-9]*\) ms since the epoch.*/\1/p' <<<"$marker")

awk -v c="$((c1 - c0))" -v x="$((x1 - x0))" -v s="$((s1 - s0))" -v m="$((m1 - m0))" -v hz="$hz" \
    -v t="$elapsed" -v hwm="$hwm" -v th="$threads" -v st="$startup_ticks" 'BEGIN {
  printf "measured over       %.1f s (after %d s of start-up)\n", t, '"$warmup"'
  printf "clock CPU           %.3f %% of one core   (target <= 0.3 %%)\n", 100 * c / hz / t
  printf "display server CPU  %.3f %% of one core   (target <= 0.1 %%)\n", 100 * x / hz / t
  printf "wake-ups            %.1f a second, all %d threads; %.1f the main thread   (target <= 30)\n", s / t, th, m / t
  printf "peak memory         %.1f MB (VmHWM)   (target <= 40 MB)\n", hwm / 1024
  printf "start-up CPU        %d ms\n", 1000 * st / hz
}'
if [ -n "$frame_ms" ]; then
  echo "first frame         ${frame_ms} ms after the process started; $((frame_epoch - started)) ms after launch   (target <= 200 ms)"
else
  echo "first frame         no marker on stderr (the window never painted, or the program has no trace hook)"
fi
if [ -n "${MEASURE_SCREENSHOT:-}" ] && [ -f "$shot" ]; then cp "$shot" "$MEASURE_SCREENSHOT"; echo "screenshot          $MEASURE_SCREENSHOT"; fi
