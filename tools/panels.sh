#!/usr/bin/env bash
# Runs the clock beside real panels, as users meet it, and checks that it is visible on the panel, that
# a real press on it opens the menu on the screen beside the panel, and how long a panel restart keeps
# it covered. Cases: tint2 at the bottom, top and left (openbox), lxpanel's default panel (openbox),
# xfce4-panel's default panels (xfwm4 in a D-Bus session), each also started after the clock as at
# login and restarted; and two monitors with a panel only on the second (a nested X server with two
# heads). Screenshots of every case go to build/panels/.
# The last case reads the clock and its menu through the desktop's accessibility bus, as a screen
# reader does.
# Usage: tools/panels.sh [CASE...]
#   (cases: tint2-bottom tint2-top tint2-left lxpanel xfce two-monitors screen-reader)
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
app="${TAVRIN_APP:-$here/build/src/tavrin}"
out="$here/build/panels"
mkdir -p "$out"
for tool in Xvfb Xephyr openbox xfwm4 tint2 lxpanel xfce4-panel xdotool xwininfo import dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install tint2 lxpanel xfce4-panel xfwm4 xserver-xephyr dbus-x11 at-spi2-core python3-pyatspi)"; exit 2; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "missing: python3-pyatspi (apt-get install python3-pyatspi at-spi2-core)"; exit 2; }
[ -x "$app" ] || { echo "build the clock first (tools/setup.sh)"; exit 2; }
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(tint2-bottom tint2-top tint2-left lxpanel xfce two-monitors screen-reader)

failures=0
pids=()
[ -n "${PANELS_INNER:-}" ] || rm -f "$out/raise-times.txt"
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; pids=(); sleep 0.3; }
trap cleanup EXIT

fresh_home() {
  scratch=$(mktemp -d /tmp/tavrin-panels-XXXXXX)
  export scratch
  mkdir -p "$scratch"/{config/tavrin,data,runtime,home}
  chmod 700 "$scratch/runtime"
  printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n"ColScheme"="E99012"\n"NumTimeZones"="2"\n"TZone1"="Asia/Tokyo"\n"TZone2"="America/St_Johns"\n"PNDisp"="0"\n' \
    >"$scratch/config/tavrin/user.reg"
  export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
    XDG_RUNTIME_DIR="$scratch/runtime" TAVRIN_PROBE="$scratch/probe.txt" QT_QPA_PLATFORM=xcb
}

start_x() {  # start_x WIDTHxHEIGHT
  display=":$((200 + RANDOM % 300))"
  Xvfb "$display" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY="$display"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

start_clock() { TAVRIN_TRACE=1 "$app" >"$scratch/tavrin.log" 2>&1 & clock_pid=$!; pids+=($clock_pid); wait_for_clock; }
wait_for_clock() { for _ in $(seq 100); do clock_id=$(xdotool search --onlyvisible --name '^Tavrin$' 2>/dev/null | head -1); [ -n "$clock_id" ] && grep -q "^window	Tavrin	" "$TAVRIN_PROBE" 2>/dev/null && return 0; sleep 0.1; done; return 1; }

# The clock's rectangle on the screen: X Y W H.
clock_rect() { xwininfo -id "$clock_id" | awk '/Absolute upper-left X/{x=$4}/Absolute upper-left Y/{y=$4}/Width:/{w=$2}/Height:/{h=$2}END{print x, y, w, h}'; }
# The largest shown window of the panel program: X Y W H.
panel_rect() {
  local best="" area=0
  for id in $(xdotool search --onlyvisible --class "$panel_class" 2>/dev/null); do
    read -r x y w h < <(xwininfo -id "$id" | awk '/Absolute upper-left X/{x=$4}/Absolute upper-left Y/{y=$4}/Width:/{w=$2}/Height:/{h=$2}END{print x, y, w, h}')
    if [ $((w * h)) -gt "$area" ] && [ "$w" -gt 40 -o "$h" -gt 40 ]; then area=$((w * h)); best="$x $y $w $h"; fi
  done
  echo "$best"
}
# Whether the clock's own blue shows at its place (its pixels, not the panel's).
clock_shows() {
  read -r x y w h < <(clock_rect)
  local v
  v=$(import -window root -crop "${w}x${h}+${x}+${y}" -format '%[fx:mean.b-mean.r > 0.2 ? 1 : 0]' info: 2>/dev/null)
  [ "$v" = 1 ]
}
wait_visible() { for _ in $(seq 40); do clock_shows && return 0; sleep 0.25; done; return 1; }

# Restarts the panel with COMMAND and reports how long the clock stayed covered: the clock's own
# account, from the moment the window system's news of the panel reached it to its request to be
# raised above the panel (its trace), and, as a check from outside, whether it shows afterwards.
measure_restart() {  # measure_restart COMMAND...
  local before; before=$(grep -c "raised above a panel" "$scratch/tavrin.log")
  "$@" >/dev/null 2>&1 &
  pids+=($!)
  sleep 3
  local raised
  raised=$(grep "raised above a panel" "$scratch/tavrin.log" | tail -n +$((before + 1)) | head -1 | sed 's/.*panel \([0-9]*\) ms after.*/\1/')
  if ! clock_shows; then echo "  STILL COVERED 3 s after the restart"; return 1; fi
  if [ -z "$raised" ]; then echo "  the panel came back below the clock: nothing to raise"; return 0; fi
  echo "  covered for $raised ms after the panel's news (then raised)"
  echo "$raised" >>"$out/raise-times.txt"
}

check() {  # check NAME: the clock shows on the panel's end and a real press opens the menu beside it
  local name=$1 ok=1
  for _ in $(seq 40); do [ -n "$(panel_rect)" ] && break; sleep 0.5; done
  [ -n "$(panel_rect)" ] || { echo "  FAIL $name: the panel never showed"; failures=$((failures + 1)); return; }
  sleep 0.5
  if ! wait_visible; then echo "  FAIL $name: the clock does not show (covered, or off the screen)"; ok=0; fi
  read -r cx cy cw ch < <(clock_rect)
  read -r px py pw ph < <(panel_rect)
  if [ -n "${px:-}" ] && ! [ "$cx" -ge "$px" -a "$cy" -ge "$py" -a $((cx + cw)) -le $((px + pw)) -a $((cy + ch)) -le $((py + ph)) ]; then
    echo "  FAIL $name: the clock ($cx,$cy ${cw}x$ch) is not on the panel ($px,$py ${pw}x$ph)"; ok=0
  fi
  import -window root "$out/$name.png"
  xdotool mousemove --sync $((cx + cw / 2)) $((cy + ch / 2)) click 1
  local menu=""
  for _ in $(seq 50); do menu=$(awk -F'\t' '$1=="window" && $2=="Tavrin Menu"{print $3}' "$TAVRIN_PROBE"); [ -n "$menu" ] && break; sleep 0.1; done
  sleep 0.3
  import -window root "$out/$name-menu.png"
  if [ -z "$menu" ]; then echo "  FAIL $name: a press opened no menu"; ok=0
  else
    IFS=, read -r mx my mw mh <<<"$menu"
    read -r sw sh < <(xdpyinfo | awk '/dimensions:/{split($2,a,"x"); print a[1], a[2]}')
    if [ "$mx" -lt 0 -o "$my" -lt 0 -o $((mx + mw)) -gt "$sw" -o $((my + mh)) -gt "$sh" ]; then echo "  FAIL $name: the menu ($menu) leaves the screen"; ok=0; fi
    if [ -n "${px:-}" ] && [ "$mx" -lt $((px + pw)) -a "$px" -lt $((mx + mw)) -a "$my" -lt $((py + ph)) -a "$py" -lt $((my + mh)) ]; then
      echo "  FAIL $name: the menu ($menu) covers the panel ($px,$py ${pw}x$ph)"; ok=0; fi
    local lines; lines=$(awk -F'\t' 'f&&$1=="window"{f=0} $1=="window"&&$2=="Tavrin Menu"{f=1} f&&$2=="label"{print $3}' "$TAVRIN_PROBE")
    echo "  menu at $menu: $(echo "$lines" | tr '\n' '|')"
  fi
  xdotool key Escape; sleep 0.3
  [ $ok = 1 ] && echo "  ok   $name: clock at $cx,$cy ${cw}x$ch on the panel at ${px:-none},${py:-} ${pw:-}x${ph:-}" || failures=$((failures + 1))
}

tint2_config() {  # tint2_config POSITION SIZE [MONITOR]: Debian's own panel, at another place
  sed -e "s/^panel_position = .*/panel_position = $1/" -e "s/^panel_size = .*/panel_size = $2/" \
    -e "s/^panel_monitor = .*/panel_monitor = ${3:-all}/" /etc/xdg/tint2/tint2rc >"$scratch/tint2rc"
}

run_tint2() {  # run_tint2 NAME POSITION SIZE
  fresh_home; start_x 1024x768; panel_class=tint2
  openbox --sm-disable >/dev/null 2>&1 & pids+=($!); sleep 1
  tint2_config "$2" "$3"
  echo "$1: clock first, then the panel (as at login)"
  start_clock
  tint2 -c "$scratch/tint2rc" >/dev/null 2>&1 & panel_pid=$!; pids+=($panel_pid); sleep 1.5
  check "$1-login"
  echo "$1: the panel restarted"
  kill $panel_pid; sleep 0.3
  measure_restart tint2 -c "$scratch/tint2rc" || failures=$((failures + 1))
  check "$1-restart"
  cleanup
}

run_lxpanel() {
  fresh_home; start_x 1024x768; panel_class=lxpanel
  openbox --sm-disable >/dev/null 2>&1 & pids+=($!); sleep 1
  echo "lxpanel: clock first, then the panel (as at login)"
  start_clock
  lxpanel --profile default >/dev/null 2>&1 & panel_pid=$!; pids+=($panel_pid); sleep 3
  check lxpanel-login
  echo "lxpanel: the panel restarted"
  kill $panel_pid; sleep 0.5
  measure_restart lxpanel --profile default || failures=$((failures + 1))
  sleep 1
  check lxpanel-restart
  cleanup
}

# Runs the case INNER inside one D-Bus session with the window manager WM, as a desktop login does:
# this script again, inside it.
in_session() {
  local wm=$1 inner=$2
  fresh_home; start_x 1024x768
  dbus-run-session -- bash -c "$wm >/dev/null 2>&1 & sleep 2; PANELS_INNER=$inner \"$0\""
  local status=$?
  cleanup
  return $status
}

run_xfce() { in_session xfwm4 xfce; }

xfce_inner() {
  panel_class=xfce4-panel
  echo "xfce: clock first, then the panel (as at login)"
  start_clock
  xfce4-panel >/dev/null 2>&1 & pids+=($!); sleep 5
  check xfce-login
  echo "xfce: the panel restarted (xfce4-panel -r)"
  measure_restart xfce4-panel -r || failures=$((failures + 1))
  sleep 2
  check xfce-restart
  exit $failures
}

run_two_monitors() {
  fresh_home; start_x 1400x600; panel_class=tint2
  local host=$DISPLAY nested=":$((600 + RANDOM % 300))"
  Xephyr "$nested" -screen 640x480 -screen 640x480 +xinerama -ac -nolisten tcp >/dev/null 2>&1 & pids+=($!)
  export DISPLAY=$nested
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox --sm-disable >/dev/null 2>&1 & pids+=($!); sleep 1
  tint2_config "bottom center horizontal" "100% 30" 2
  echo "two monitors, the panel on the second only"
  start_clock
  tint2 -c "$scratch/tint2rc" >/dev/null 2>&1 & pids+=($!); sleep 1.5
  check two-monitors
  read -r cx cy cw ch < <(clock_rect)
  if [ "$cx" -lt 640 ]; then echo "  FAIL two-monitors: the clock is on the first monitor"; failures=$((failures + 1)); fi
  export DISPLAY=$host
  cleanup
}

# What a screen reader finds of the program: every accessible object under it, one a line.
read_tree() {
  /usr/bin/python3 - <<'PY'
import pyatspi
def walk(node, depth):
    print("    " + "  " * depth + node.getRoleName() + ": " + (node.name or ""))
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), depth + 1)
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == "Tavrin":
        walk(app, 0)
PY
}

screen_reader_inner() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & pids+=($!)
  sleep 1
  # A screen reader running turns the toolkit's accessibility on; here it is asked for directly.
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  start_clock
  sleep 1
  local tree ok=1
  tree=$(read_tree)
  echo "  the clock, as a screen reader finds it:"; echo "$tree"
  grep -Eq "label: [0-9]+:[0-9]{2} (AM|PM), [A-Z][a-z]+day, [0-9/]+" <<<"$tree" || { echo "  FAIL screen-reader: the clock's time is not read"; ok=0; }
  read -r cx cy cw ch < <(clock_rect)
  xdotool mousemove --sync $((cx + cw / 2)) $((cy + ch / 2)) click 1
  sleep 1.5
  tree=$(read_tree)
  echo "  with the menu open:"; echo "$tree"
  grep -q "Tavrin Menu" <<<"$tree" && grep -q "push button: Calendar" <<<"$tree" && grep -q "label: .*Tokyo, Japan" <<<"$tree" ||
    { echo "  FAIL screen-reader: the menu, its lines or its buttons are not read"; ok=0; }
  xdotool key Escape
  [ $ok = 1 ] && echo "  ok   screen-reader" || failures=$((failures + 1))
  exit $failures
}

run_screen_reader() { in_session "openbox --sm-disable" screen-reader; }

if [ "${PANELS_INNER:-}" = xfce ]; then xfce_inner; fi
if [ "${PANELS_INNER:-}" = screen-reader ]; then screen_reader_inner; fi

for c in "${cases[@]}"; do
  case $c in
    tint2-bottom) run_tint2 tint2-bottom "bottom center horizontal" "100% 30" ;;
    tint2-top) run_tint2 tint2-top "top center horizontal" "100% 30" ;;
    tint2-left) run_tint2 tint2-left "center left vertical" "100% 41" ;;
    lxpanel) run_lxpanel ;;
    xfce) run_xfce; failures=$((failures + $?)) ;;
    two-monitors) run_two_monitors ;;
    screen-reader) run_screen_reader; failures=$((failures + $?)) ;;
    *) echo "unknown case $c"; exit 2 ;;
  esac
done
[ -s "$out/raise-times.txt" ] && echo "covered after a panel restart: $(sort -n "$out/raise-times.txt" | tr '\n' ' ')ms"
echo "screenshots in $out"
[ $failures = 0 ] && echo "all panel cases passed" || echo "$failures failures"
exit $((failures > 0))
