#!/usr/bin/env bash
# Makes the README's pictures: the first-run setup dialog, the clock face in each picture scheme, and
# the preferences, the calendar, the reminder editor, the alarm dialog, the pop-up menu, the floating
# clock, the stopwatch and the about box as a user opens them from the pop-up menu (clicks by
# xdotool). Runs the built program under Xvfb with folders of its own.
# Usage: tools/screenshots.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$here/build"}
app="$build/src/tavrin"
out="$here/docs"
mkdir -p "$out"

scratch=$(mktemp -d)
# The server picks a display number nobody uses and says which once it accepts connections, so the
# pictures never come from another program's server.
Xvfb -displayfd 3 -screen 0 1024x600x24 -nolisten tcp -noreset 3>"$scratch/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$scratch"' EXIT
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { echo "screenshots: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$scratch/display")"

# Runs the program with a fresh set of folders, optionally seeded with a settings file.
shoot() {
  local name=$1 crop=$2 scale=$3 seed=${4:-}
  local home="$scratch/$name"
  mkdir -p "$home"/{config,configdirs,data,runtime}
  chmod 700 "$home/runtime"
  if [ -n "$seed" ]; then
    mkdir -p "$home/config/tavrin"
    printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n%s\n' "$seed" > "$home/config/tavrin/user.reg"
  fi
  XDG_CONFIG_HOME="$home/config" XDG_CONFIG_DIRS="$home/configdirs" XDG_DATA_HOME="$home/data" \
    XDG_RUNTIME_DIR="$home/runtime" "$app" >/dev/null 2>&1 &
  local pid=$!
  sleep 3
  import -window root -crop "$crop" +repage -filter point -resize "$scale" "$out/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$out/$name.png"
}

shoot setup 440x400+292+100 100%
shoot clock-blue 80x40+944+560 400% '"ColScheme"="E99012"'
shoot clock-olive 80x40+944+560 400% '"ColScheme"="B2E2EA"'
shoot clock-silver 80x40+944+560 400% '"ColScheme"="E5DBDA"'
shoot clock-plain 80x40+944+560 400% $'"ColScheme"="C8D0D4"\n"TimeFormat"="HH:MM:SS"\n"DateFormat"="dd mmm yyyy"\n"TForeColor"="80"'

# Journeys through the windows read where things are from the program's probe file ($probe).
# The rectangle "x y w h" of what an awk test picks out of the probe, once it shows.
found() {
  for _ in $(seq 100); do
    local r
    r=$(awk -F'\t' "$1" "$probe" 2>/dev/null | head -1)
    [ -n "$r" ] && { echo "$r"; return 0; }
    sleep 0.1
  done
  echo "screenshots: nothing in the probe for: $1" >&2
  return 1
}
window() { found "\$1 == \"window\" && \$2 == \"$1\" { split(\$3, r, \",\"); print r[1], r[2], r[3], r[4] }"; }
element() { found "\$1 != \"window\" && \$3 == \"$1\" { split(\$5, r, \",\"); print r[1], r[2], r[3], r[4] }"; }
# Clicks `dx` pixels into the rectangle from its left edge (its middle when not given).
click() {
  local x y w h
  read -r x y w h <<<"$1"
  xdotool mousemove $((x + ${2:-$((w / 2))})) $((y + h / 2)) click 1
  sleep 0.3
}
typed() { xdotool key ctrl+a; xdotool type --delay 40 "$1"; sleep 0.3; }

# The preferences, reached as a user reaches them: a press on the clock, the menu's fifth button. Two
# zones are picked through the filter, the time format and the scheme changed; the dialog is shot
# before OK, the clock with its next menu after. Clicks land where the program's probe says its
# windows and controls are.
prefs_journey() {
  local home="$scratch/preferences"
  probe="$home/probe.txt"
  mkdir -p "$home"/{config/tavrin,configdirs,data,runtime}
  chmod 700 "$home/runtime"
  printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n"ColScheme"="E99012"\n' > "$home/config/tavrin/user.reg"
  XDG_CONFIG_HOME="$home/config" XDG_CONFIG_DIRS="$home/configdirs" XDG_DATA_HOME="$home/data" \
    XDG_RUNTIME_DIR="$home/runtime" TAVRIN_PROBE="$probe" "$app" >/dev/null 2>&1 &
  local pid=$!

  # The menu's fifth picture button, and a row of the zone list by its city.
  local fifth='$1 == "window" { menu = $2 == "Tavrin Menu" } menu && $2 == "button" && ++n == 5 {
    split($5, r, ","); print r[1], r[2], r[3], r[4] }'
  row() { found "\$1 != \"window\" && index(\$3, \") $1, \") { split(\$5, r, \",\"); print r[1], r[2], r[3], r[4] }"; }

  click "$(window Tavrin)"
  click "$(found "$fifth")"
  window "Tavrin for Windows: Preferences" >/dev/null
  for city in Tokyo London; do
    click "$(element "Find a zone")"
    typed "$city"
    click "$(row "$city")" 10
  done
  click "$(element "Find a zone")"
  typed "lon"
  click "$(element "Time Format:")"
  typed "HH:MM"
  click "$(element "XP Blue")"  # the scheme list, on the scheme the clock starts with
  typed "XP Silver"
  local x y w h
  read -r x y w h <<<"$(window "Tavrin for Windows: Preferences")"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/preferences.png"
  echo "$out/preferences.png"
  click "$(element OK)"
  sleep 1
  click "$(window Tavrin)"
  read -r x y w h <<<"$(window "Tavrin Menu")"
  sleep 0.5
  import -window root -crop "$((1024 - x + 8))x$((600 - y + 8))+$((x - 8))+$((y - 8))" +repage -filter point \
    -resize 200% "$out/preferences-after.png"
  echo "$out/preferences-after.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
prefs_journey

# The top-left corner and size of the visible window titled $1, as "X Y W H".
window_place() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
  [ -n "$id" ] || { echo "no window named $1" >&2; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$id")"
  echo "$X $Y $WIDTH $HEIGHT"
}

# Grabs the visible window titled $1 into docs/$2.png.
grab_window() {
  local x y w h
  read -r x y w h < <(window_place "$1")
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$2.png"
  echo "$out/$2.png"
}

# Presses the clock, then the menu's button $1 (0 calendar, 1 alarm).
menu_button() {
  local cx cy cw ch
  read -r cx cy cw ch < <(window_place Tavrin)
  xdotool mousemove $((cx + cw / 2)) $((cy + ch / 2)) click 1
  sleep 1
  # A row of 40-pixel buttons along the menu's bottom.
  local mx my mw mh
  read -r mx my mw mh < <(window_place "Tavrin Menu")
  xdotool mousemove $((mx + 20 + 40 * $1)) $((my + mh - 17)) click 1
  sleep 1
}

# A user with a few reminders this month opens the calendar, adds a reminder on the 18th from the
# day's menu, then opens the alarm dialog.
journey() {
  local home="$scratch/journey"
  mkdir -p "$home"/{config/tavrin,configdirs,data/tavrin,runtime}
  chmod 700 "$home/runtime"
  printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n"ColScheme"="E99012"\n"WForeColor"="800000"\n' \
    > "$home/config/tavrin/user.reg"
  local month year
  month=$(date +%m) year=$(date +%y)
  {
    for entry in "04|09:30:00|1|-1|Dentist" "12|10:00:00|1|1|Team stand-up" "12|19:15:00|1|2|Call home" \
                 "28|08:00:00|0|-1|Pay the rent"; do
      IFS='|' read -r day time on recur title <<< "$entry"
      printf '"<START>"\r\n"%s"\r\n"%s/%s/%s"\r\n"%s"\r\n"%s"\r\n"%s"\r\n""\r\n"</END>"\r\n' \
        "$title" "$month" "$day" "$year" "$time" "$on" "$recur"
    done
  } > "$home/data/tavrin/Tavrin.DAT"
  XDG_CONFIG_HOME="$home/config" XDG_CONFIG_DIRS="$home/configdirs" XDG_DATA_HOME="$home/data" \
    XDG_RUNTIME_DIR="$home/runtime" "$app" >/dev/null 2>&1 &
  local pid=$!
  sleep 3

  menu_button 0
  local x y w h
  read -r x y w h < <(window_place Calendar)
  # The 18th: its cell from the calendar's own layout (row of the day, column of its weekday).
  local first cell
  first=$(date -d "$(date +%Y-%m-01)" +%w)
  cell=$((first + 17))
  local tops=(54 81 109 137 165)
  xdotool mousemove $((x + 12 + (cell % 7) * 32 + 12)) $((y + ${tops[$((cell / 7 % 5))]} + 8)) click 1
  sleep 0.5
  grab_window Calendar calendar
  xdotool click 3
  sleep 0.7
  xdotool mousemove_relative 40 28 click 1  # "Add Reminder Here"
  sleep 1
  xdotool type "Lunch with Sam"
  grab_window "Add Reminder" editor
  xdotool key Escape
  sleep 0.5

  menu_button 1
  grab_window Alarm alarm
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

journey

# The pop-up menu with five world zones (the pointer resting on a line shows its tool tip), the
# floating clock with its own menu on a world zone, the stopwatch stopped after a few seconds, and the
# about box from the preferences.
menu_journey() {
  local home="$scratch/menu"
  probe="$home/probe.txt"
  mkdir -p "$home"/{config/tavrin,configdirs,data,runtime}
  chmod 700 "$home/runtime"
  {
    printf 'REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n"ColScheme"="E99012"\n"NumTimeZones"="5"\n'
    printf '"TZone%d"="%s"\n' 1 Europe/Berlin 2 America/New_York 3 Asia/Tokyo 4 Australia/Sydney 5 Asia/Kolkata
    printf '"TZSType"="0"\n"PNDisp"="1"\n"TZFormat"="dddd hh:mm am/pm"\n"WForeColor"="800000"\n'
  } >"$home/config/tavrin/user.reg"
  XDG_CONFIG_HOME="$home/config" XDG_CONFIG_DIRS="$home/configdirs" XDG_DATA_HOME="$home/data" \
    XDG_RUNTIME_DIR="$home/runtime" TAVRIN_PROBE="$probe" "$app" >/dev/null 2>&1 &
  local pid=$! x y w h
  # The n-th picture button of the menu.
  button() { found "\$1 == \"window\" { menu = \$2 == \"Tavrin Menu\" } menu && \$2 == \"button\" && ++n == $1 {
    split(\$5, r, \",\"); print r[1], r[2], r[3], r[4] }"; }
  # The menu's first line, by its place in the probe.
  first_line='$1 == "window" { menu = $2 == "Tavrin Menu" } menu && $2 == "label" && $3 != "" {
    split($5, r, ","); print r[1], r[2], r[3], r[4]; exit }'

  click "$(window Tavrin)"
  read -r x y w h <<<"$(window "Tavrin Menu")"
  local lx ly lw lh
  read -r lx ly lw lh <<<"$(found "$first_line")"
  # The pointer comes to rest on the first line: its tool tip shows beneath, reaching left.
  xdotool mousemove $((lx + 60)) $((ly + lh / 2))
  sleep 0.2
  xdotool mousemove $((lx + 62)) $((ly + lh / 2 + 1))
  sleep 1.5
  import -window root -crop "$((1024 - x + 400))x$((600 - y + 8))+$((x - 400))+$((y - 8))" +repage -filter point \
    -resize 125% "$out/menu.png"
  echo "$out/menu.png"
  xdotool key Escape
  sleep 0.3

  click "$(window Tavrin)"
  click "$(button 4)"
  read -r x y w h <<<"$(window "Floating Clock")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  sleep 0.5
  click "$(element "(GMT+09:00) Tokyo, Japan")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  sleep 0.5
  import -window root -crop "$((w + 200))x$((h + 170))+$((x - 8))+$((y - 8))" +repage "$out/floating-clock.png"
  echo "$out/floating-clock.png"
  xdotool key Escape
  sleep 0.3

  click "$(window Tavrin)"
  click "$(button 3)"
  click "$(element Start)"
  sleep 3.4
  click "$(element Stop)"
  read -r x y w h <<<"$(window "Stop Watch")"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/stopwatch.png"
  echo "$out/stopwatch.png"

  click "$(window Tavrin)"
  click "$(button 5)"
  window "Tavrin for Windows: Preferences" >/dev/null
  click "$(element "Support & About Tavrin")"
  read -r x y w h <<<"$(window "Tavrin for Windows")"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/about.png"
  echo "$out/about.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
menu_journey
