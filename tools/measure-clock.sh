#!/usr/bin/env bash
# Measures what the running clock costs: its CPU use and the display server's, wake-ups a second and
# a minute, CPU seconds an hour, peak memory and the time from start to the first frame. Runs the
# clock under its own Xvfb with throw-away XDG folders seeded with settings, so no first-run dialog
# shows and no real settings are touched.
# Usage: tools/measure-clock.sh [SECONDS] [PROGRAM]   (default: 60 seconds, build/src/tavrin)
# The clock wakes once a minute with the default formats: measure over ten minutes (600) for a
# steady figure. TIME_FORMAT='h:mm:ss AM/PM' tools/measure-clock.sh 30   runs it with that
# "TimeFormat", which shows seconds and so wakes each second.
# STORE_MB=50 tools/measure-clock.sh 10   grows the settings file to about that many megabytes first
# (a bulk key of generated values beside the settings), to time the first frame on a large store.
# CALENDARS=3 tools/measure-clock.sh 120   subscribes the clock to that many local calendar files of
# 300 events each (a tenth of them weekly, every event with an alarm), to weigh the calendars.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
duration=${1:-60}
program=${2:-"$here/build/src/tavrin"}
warmup=2
[ -x "$program" ] || { echo "measure-clock: no program at $program (build it first)" >&2; exit 2; }

source "$here/tools/scratch-user.sh"
printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON]\n@="Quillon"\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n"ColScheme"="E99012"\n' \
  >"$XDG_CONFIG_HOME/tavrin/user.reg"
if [ -n "${TIME_FORMAT:-}" ]; then
  printf '"TimeFormat"="%s"\n' "$(sed 's/[\\"]/\\&/g' <<<"$TIME_FORMAT")" >>"$XDG_CONFIG_HOME/tavrin/user.reg"
fi
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

if [ -n "${CALENDARS:-}" ]; then
  order=""
  for n in $(seq "$CALENDARS"); do
    id=$(printf '%016x' "$n")
    file="$tmp/calendar$n.ics"
    awk -v n="$n" -v today="$(date -u +%Y%m%d)" 'BEGIN {
      printf "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//measure//EN\r\n"
      for (i = 0; i < 300; i++) {
        printf "BEGIN:VEVENT\r\nUID:m%d-%d\r\nDTSTAMP:%sT000000Z\r\n", n, i, today
        printf "DTSTART;TZID=Europe/Berlin:%sT%02d0000\r\nDURATION:PT1H\r\n", today + i % 28, 8 + i % 10
        if (i % 10 == 0) printf "RRULE:FREQ=WEEKLY\r\n"
        printf "SUMMARY:Event %d of calendar %d\r\nLOCATION:Room %d\r\n", i, n, i % 7
        printf "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT10M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
      }
      printf "END:VCALENDAR\r\n"
    }' >"$file"
    order="$order${order:+,}$id"
    printf '\n[SOFTWARE\\QUILLON\\TAVRIN\\Calendars\\%s]\n"Name"="Calendar %d"\n"Address"="%s"\n"Source"="file"\n"Colour"="#3465A4"\n"Enabled"="1"\n' \
      "$id" "$n" "$file" >>"$XDG_CONFIG_HOME/tavrin/user.reg"
  done
  printf '\n[SOFTWARE\\QUILLON\\TAVRIN\\Calendars]\n"Order"="%s"\n' "$order" >>"$XDG_CONFIG_HOME/tavrin/user.reg"
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
# Wake-ups: the voluntary context switches of every thread of a process (each one a sleep that
# something ended). Involuntary ones are preemptions, which count other programs' load, not ours.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s + 0}'; }
main_switches() { awk '/^voluntary_ctxt_switches/ {s += $2} END {print s + 0}' "/proc/$1/status"; }
preemptions() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^nonvoluntary_ctxt_switches/ {s += $2} END {print s + 0}'; }
# Nanoseconds on a CPU of every thread of a process (finer than clock ticks, which a clock that wakes
# once a minute may not reach in ten minutes); empty where the kernel keeps no such count.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {if (NR) print s}'; }
# "id name switches" for each thread, to tell which one wakes.
thread_switches() {
  for t in /proc/"$1"/task/*; do
    printf '%s %s %s\n' "${t##*/}" "$(tr ' ' _ <"$t/comm")" "$(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status")"
  done 2>/dev/null
}
now_ms() { date +%s%3N; }

started=$(now_ms)
TAVRIN_TRACE_FIRST_FRAME=1 "$program" 2>"$tmp/stderr" &
clock=$!
pids+=("$clock")

sleep "$warmup"
kill -0 "$clock" 2>/dev/null || { echo "measure-clock: the clock ended early:" >&2; cat "$tmp/stderr" >&2; exit 1; }
c0=$(cpu_ticks "$clock"); x0=$(cpu_ticks "$xvfb"); s0=$(switches "$clock"); m0=$(main_switches "$clock")
p0=$(preemptions "$clock")
n0=$(cpu_ns "$clock"); thread_switches "$clock" >"$tmp/threads0"
startup_ticks=$c0
t0=$(now_ms)
sleep "$duration"
c1=$(cpu_ticks "$clock"); x1=$(cpu_ticks "$xvfb"); s1=$(switches "$clock"); m1=$(main_switches "$clock")
p1=$(preemptions "$clock")
n1=$(cpu_ns "$clock"); thread_switches "$clock" >"$tmp/threads1"
t1=$(now_ms)
# The CPU in clock ticks, unless the finer count is there.
cpu_s=$(awk -v c="$((c1 - c0))" -v hz="$hz" 'BEGIN {print c / hz}')
[ -n "$n0" ] && [ -n "$n1" ] && cpu_s=$(awk -v a="$n0" -v b="$n1" 'BEGIN {print (b - a) / 1e9}')
by_thread=$(awk 'NR == FNR {before[$1] = $3; next} {printf "%s%s %d", (FNR > 1 ? ", " : ""), $2, $3 - before[$1]}' \
  "$tmp/threads0" "$tmp/threads1")
hwm=$(awk '/VmHWM/ {print $2}' "/proc/$clock/status")
threads=$(ls "/proc/$clock/task" | wc -l)
shot="$tmp/screen.png"
import -window root "$shot" 2>/dev/null || true

elapsed=$(awk -v a="$t0" -v b="$t1" 'BEGIN {print (b - a) / 1000}')
marker=$(grep -m1 'first frame after' "$tmp/stderr" || true)
frame_ms=$(sed -n 's/.*first frame after \(-\?[0-9]*\) ms.*/\1/p' <<<"$marker")
frame_epoch=$(sed -n 's/.*at \([0-9]*\) ms since the epoch.*/\1/p' <<<"$marker")

awk -v c="$cpu_s" -v x="$((x1 - x0))" -v s="$((s1 - s0))" -v m="$((m1 - m0))" -v p="$((p1 - p0))" -v hz="$hz" \
    -v t="$elapsed" -v hwm="$hwm" -v th="$threads" -v st="$startup_ticks" 'BEGIN {
  printf "measured over       %.1f s (after %d s of start-up)\n", t, '"$warmup"'
  printf "clock CPU           %.4f %% of one core, %.3f s an hour   (target <= 0.3 %%)\n", 100 * c / t, 3600 * c / t
  printf "display server CPU  %.3f %% of one core   (target <= 0.1 %%)\n", 100 * x / hz / t
  printf "wake-ups            %.2f a second, all %d threads; %.2f the main thread\n", s / t, th, m / t
  printf "                    %.2f a minute, all threads; %.2f the main thread   (target <= 1.2 with no seconds shown)\n", 60 * s / t, 60 * m / t
  printf "                    by thread over the run: %s; %d preemptions besides (the machine'"'"'s load)\n", "'"$by_thread"'", p
  printf "peak memory         %.1f MB (VmHWM)   (target <= 40 MB)\n", hwm / 1024
  printf "start-up CPU        %d ms\n", 1000 * st / hz
}'
if [ -n "$frame_ms" ]; then
  echo "first frame         ${frame_ms} ms after the process started; $((frame_epoch - started)) ms after launch   (target <= 200 ms)"
else
  echo "first frame         no marker on stderr (the window never painted, or the program has no trace hook)"
fi
if [ -n "${MEASURE_SCREENSHOT:-}" ] && [ -f "$shot" ]; then cp "$shot" "$MEASURE_SCREENSHOT"; echo "screenshot          $MEASURE_SCREENSHOT"; fi
