# Helpers for driving the real program under its own X server with real input events, reading back
# what it shows through the probe file (see src/app/TestProbe.h). Sourced by journey.sh.

# Fails the journey with a message and the last probe text.
fail() {
  echo "JOURNEY FAILED at step '${step:-start}': $*" >&2
  if [ -f "${probe:-}" ]; then echo "--- what the windows showed:" >&2; cat "$probe" >&2; fi
  [ -f "${applog:-}" ] && { echo "--- the program's output:" >&2; tail -n 40 "$applog" >&2; }
  shot "failed-${step// /-}" || true
  exit 1
}

begin() { step=$1; echo "step: $step"; }

# Waits until a command succeeds, up to SECONDS (default 10).
wait_until() {
  local seconds=$1; shift
  local end=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
  done
}

# The probe's lines of the window titled TITLE (its elements follow the window line).
window_lines() {
  awk -F'\t' -v title="$1" '$1 == "window" { inside = ($2 == title) } inside' "$probe"
}
has_window() { [ -n "$(window_lines "$1")" ]; }
# The rectangle "x y w h" of the window titled TITLE.
window_rect() {
  window_lines "$1" | awk -F'\t' 'NR == 1 { split($3, r, ","); print r[1], r[2], r[3], r[4]; exit }'
}
# The rectangle "x y w h" of the shown window titled TITLE as the X server has it (the first, when
# several windows have that title).
x_window_rect() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
  [ -n "$id" ] || return 1
  xdotool getwindowgeometry --shell "$id" | awk -F= '{ v[$1] = $2 } END { print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"] }'
}
# The rectangle of the first element of ROLE named NAME (any window, or only in WINDOW when given).
element_rect() {
  local role=$1 name=$2 window=${3:-}
  { if [ -n "$window" ]; then window_lines "$window"; else cat "$probe"; fi; } |
    awk -F'\t' -v role="$role" -v name="$name" '$1 != "window" && $2 == role && $3 == name {
      split($5, r, ","); print r[1], r[2], r[3], r[4]; exit }'
}
has_element() { [ -n "$(element_rect "$@")" ]; }
# The value column of the first element of ROLE named NAME.
element_value() {
  awk -F'\t' -v role="$1" -v name="$2" '$1 != "window" && $2 == role && $3 == name { print $4; exit }' "$probe"
}
element_state() {
  awk -F'\t' -v role="$1" -v name="$2" '$1 != "window" && $2 == role && $3 == name { print $6; exit }' "$probe"
}

# Real pointer and key events through XTest. The pointer goes by way of a point beside the target:
# xdotool waits for a move that never comes when the pointer is already where it is sent.
# Two presses at one place within the toolkit's double-click time (400 ms) make a double click, which
# on the clock opens the date and time settings instead of the menu: a second press there waits it out.
last_click_place="" last_click_ms=0
click_at() {
  local since=$(($(date +%s%3N) - last_click_ms))
  [ "$last_click_place" = "$1 $2" ] && [ "$since" -lt 600 ] && sleep "$(printf '0.%03d' $((600 - since)))"
  xdotool mousemove $(($1 > 0 ? $1 - 1 : 1)) "$2" mousemove --sync "$1" "$2" click "${3:-1}"
  last_click_place="$1 $2" last_click_ms=$(date +%s%3N)
  sleep 0.3
}
click_rect() { local x=$1 y=$2 w=$3 h=$4; click_at $((x + w / 2)) $((y + h / 2)) "${5:-1}"; }
# Clicks the middle of the element of ROLE named NAME, waiting for it to appear first.
click() {
  local role=$1 name=$2 window=${3:-}
  wait_until 10 has_element "$role" "$name" "$window" || fail "no $role '$name' to click"
  click_rect $(element_rect "$role" "$name" "$window")
}
right_click() {
  local role=$1 name=$2
  wait_until 10 has_element "$role" "$name" || fail "no $role '$name' to click"
  click_rect $(element_rect "$role" "$name") 3
}
# Opens a drop-down list by its arrow and picks the item named ITEM.
choose() {
  local name=$1 item=$2 window=${3:-}
  wait_until 10 has_element combo "$name" "$window" || fail "no list '$name'"
  local x y w h
  read -r x y w h <<<"$(element_rect combo "$name" "$window")"
  click_at $((x + w - 8)) $((y + h / 2))
  click item "$item"
}
type_text() { xdotool type --delay 30 "$1"; sleep 0.3; }
key() { xdotool key "$@"; sleep 0.3; }

# A screenshot of the whole screen, kept as a test artefact.
shot() { import -window root "$artifacts/$1.png" 2>/dev/null; }

# The colour "r g b" of the screen pixel at X Y.
pixel() {
  import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | head -n 1
}
# Whether colour "r g b" is within TOLERANCE of R G B.
near() {
  local r g b
  read -r r g b <<<"$1"
  local d=$(( (r - $2) * (r - $2) + (g - $3) * (g - $3) + (b - $4) * (b - $4) ))
  [ "$d" -le $(($5 * $5)) ]
}
is_checked() { [[ "$(element_state "$1" "$2")" == *checked* ]]; }
no_window() { ! has_window "$1"; }
no_element() { ! has_element "$@"; }
# The rectangle of the text box on the same row as the label LABEL in WINDOW (boxes named by the label
# beside them rather than by a name of their own).
field_rect() {
  local window=$1 label=$2 lx ly lw lh
  read -r lx ly lw lh <<<"$(element_rect label "$label" "$window")"
  [ -n "${lh:-}" ] || return 1
  window_lines "$window" | awk -F'\t' -v y="$ly" -v x="$lx" '$1 != "window" && $2 == "text" {
    split($5, r, ","); if (r[2] >= y - 3 && r[2] <= y + 3 && r[1] > x) { print r[1], r[2], r[3], r[4]; exit } }'
}
# Replaces the text of the box beside LABEL in WINDOW with TEXT.
fill() {
  local rect
  rect=$(field_rect "$1" "$2") && [ -n "$rect" ] || fail "no box beside '$2' in $1"
  click_rect $rect
  key ctrl+a
  [ -z "$3" ] && key BackSpace || type_text "$3"
}
# Whether the program's trace holds TEXT.
traced() { grep -qF "$1" "$applog"; }
process_gone() { ! kill -0 "$1" 2>/dev/null; }
