# The journey's steps, in the order a new user takes them. Sourced by journey.sh.

begin "first-run setup"
start_program
wait_until 15 has_window "Tavrin Initial Setup" || fail "no setup dialog on a first start"
shot 01-setup
click radio "Me Only"
choose "Windows Version" "Windows XP Home/Pro"
choose "XP Color Schemes" "Olive Green"
shot 02-setup-chosen
click label "Finish!"
wait_until 15 has_window "Tavrin" || fail "no clock after Finish!"
grep -q '^"ColScheme"="B2E2EA"' "$settings" || fail "olive green was not stored: $(cat "$settings" 2>/dev/null)"
[ ! -e "$XDG_CONFIG_DIRS/tavrin/machine.reg" ] || fail "\"Me Only\" wrote machine-wide settings"

begin "the face in olive green"
# The window manager takes the clock in while it comes up: its place is read from the X server once
# it has settled (the toolkit may hear of the clock's size later than the screen shows it).
clock_in_corner() {
  read -r cx cy cw ch <<<"$(x_window_rect "Tavrin")"
  [ -n "${ch:-}" ] && [ $((cx + cw)) -eq 1024 ] && [ $((cy + ch)) -eq 768 ] && [ "$cw" -gt 1 ]
}
wait_until 10 clock_in_corner || fail "the clock is not in the corner: $(x_window_rect "Tavrin")"
sleep 0.5
clock_in_corner || fail "the clock left the corner: $cx $cy $cw $ch"
face=$(pixel $((cx + cw - 4)) $((cy + ch / 2)))
near "$face" 234 226 178 40 || fail "the face is not olive green: $face"
shot 03-clock

begin "a press opens the menu"
click_rect $cx $cy $cw $ch
wait_until 10 has_element button "Preferences" || fail "no menu after a press on the clock"
shot 04-menu
read -r px py pw ph <<<"$(element_rect button "Preferences")"
[ "$py" -lt "$cy" ] || fail "the menu is not above the clock"
key Escape

begin "the preferences: two zones through the filter, a time format, a scheme"
click_rect $cx $cy $cw $ch
click button "Preferences"
wait_until 10 has_window "Tavrin for Windows: Preferences" || fail "no preferences from the menu"
# The row of the zone list whose text names CITY, and its tick box at the row's left.
zone_row() {
  window_lines "Tavrin for Windows: Preferences" | awk -F'\t' -v city=") $1, " '$1 != "window" &&
    index($3, city) { split($5, r, ","); print r[1], r[2], r[3], r[4]; exit }'
}
has_zone_row() { [ -n "$(zone_row "$1")" ]; }
for city in Tokyo Berlin; do
  click text "Find a zone"
  key ctrl+a
  type_text "$city"
  wait_until 5 has_zone_row "$city" || fail "the filter did not find $city"
  read -r zx zy zw zh <<<"$(zone_row "$city")"
  click_at $((zx + 10)) $((zy + zh / 2))
done
# Ticks survive the filter.
click text "Find a zone"
key ctrl+a BackSpace
wait_until 5 has_zone_row "New York" || fail "the filter did not clear"
both_ticked() { is_checked treeitem "(GMT+09:00) Tokyo, Japan" && is_checked treeitem "(GMT+01:00) Berlin, Germany"; }
wait_until 5 both_ticked || fail "the ticks did not survive the filter"
click text "Time Format:"
key ctrl+a
type_text "HH:MM"
click combo "mm/dd/yy h:mm am/pm"
key ctrl+a
type_text "HH:MM"
choose "XP Olive Green" "XP Silver"
click checkbox "Load Tavrin on Startup?"
shot 05-preferences
click button "OK"
wait_until 10 no_window "Tavrin for Windows: Preferences" || fail "OK did not close the preferences"
for line in '"TimeFormat"="HH:MM"' '"TZFormat"="HH:MM"' '"ColScheme"="E5DBDA"' '"NumTimeZones"="2"' '"TZone1"="Asia/Tokyo"' \
  '"TZone2"="Europe/Berlin"'; do
  grep -qF "$line" "$settings" || fail "OK did not store $line: $(cat "$settings")"
done

begin "the clock and the next menu show the change"
face=$(pixel $((cx + cw - 4)) $((cy + ch / 2)))
near "$face" 234 226 178 20 && fail "the face is still olive green: $face"
shot 06-clock-silver
click_rect $cx $cy $cw $ch
wait_until 10 has_element button "Preferences" || fail "no menu after the preferences"
menu_lines=$(window_lines "Tavrin Menu" | awk -F'\t' '$2 == "label" { print $3 }')
grep -q "Tokyo" <<<"$menu_lines" && grep -q "Berlin" <<<"$menu_lines" ||
  fail "the menu does not show the two zones: $menu_lines"
# Both in the typed format, at the times the system's own conversion gives.
grep -Eq '^[0-2][0-9]:[0-5][0-9] - .*Berlin' <<<"$menu_lines" || fail "Berlin is not in HH:MM: $menu_lines"
tokyo=$(sed -n 's/^\([0-9:]*\) - .*Tokyo.*/\1/p' <<<"$menu_lines")
[ "$tokyo" = "$(TZ=Asia/Tokyo date +%H:%M)" ] || [ "$tokyo" = "$(TZ=Asia/Tokyo date -d '-1 min' +%H:%M)" ] ||
  fail "Tokyo shows '$tokyo', the system says $(TZ=Asia/Tokyo date +%H:%M)"
shot 07-menu-zones
key Escape

begin "a reminder and an alarm for the same minute"
# Both fall due at the first whole minute at least 40 seconds away, time enough to fill in both
# dialogs, and on today's date (the calendar adds the reminder to today).
while :; do
  due_at=$(( ($(date +%s) + 40 + 59) / 60 * 60 ))
  [ "$(date -d "@$due_at" +%d)" = "$(date +%d)" ] && break
  sleep 5
done
due=$(date -d "@$due_at" +%H:%M)
hour=$((10#${due%:*})); minute=${due#*:}
half=AM; [ $hour -ge 12 ] && half=PM
hour12=$((hour % 12)); [ $hour12 -eq 0 ] && hour12=12
click_rect $cx $cy $cw $ch
click button "Calendar"
wait_until 10 has_window "Calendar" || fail "no calendar from the menu"
right_click label "$(date +%-d)"
click menuitem "Add Reminder Here"
wait_until 10 has_window "Add Reminder" || fail "no reminder editor"
fill "Add Reminder" "Reminder Title:" "Journey reminder"
fill "Add Reminder" "Time:" "$hour12"
read -r tx ty tw th <<<"$(field_rect "Add Reminder" "Time:")"
# The minute box follows the hour box on the same row.
mrect=$(window_lines "Add Reminder" | awk -F'\t' -v y="$ty" -v x="$tx" '$2 == "text" { split($5, r, ",");
  if (r[2] == y && r[1] > x) { print r[1], r[2], r[3], r[4]; exit } }')
click_rect $mrect
key ctrl+a
type_text "$minute"
shown=$(window_lines "Add Reminder" | awk -F'\t' '$2 == "combo" && ($3 == "AM" || $3 == "PM") { print $3; exit }')
[ "$shown" = "$half" ] || choose "$shown" "$half" "Add Reminder"
shot 08-reminder-editor
click button OK "Add Reminder"
wait_until 10 no_window "Add Reminder" || fail "the editor did not close on OK"
grep -q "Journey reminder" "$reminders" || fail "the reminder is not in $reminders"
shot 09-calendar-marker

# A short, silent wave file: the machine may have no speakers, the trace records the player's call.
sound="$home/ring.wav"
printf 'RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00data\x08\x00\x00\x00\x80\x80\x80\x80\x80\x80\x80\x80' >"$sound"
click_rect $cx $cy $cw $ch
click button "Alarm"
wait_until 10 has_window "Alarm" || fail "no alarm dialog from the menu"
choose "Preset Alarm Times" "Custom..." "Alarm"
fill "Alarm" "Hours:" "0"
fill "Alarm" "Sound File:" "$sound"
fill "Alarm" "Alarm Message:" "Journey alarm"
# The alarm rings the given minutes after the minute of its OK: typed last, clear of a minute's end.
while [ "$(date +%S)" -ge 50 ]; do sleep 1; done
in_minutes=$(( (due_at - $(date +%s) + 59) / 60 ))
[ $in_minutes -ge 1 ] || fail "the dialogs took too long: $due has come"
fill "Alarm" "Minutes:" "$in_minutes"
shot 12-alarm-dialog
click button OK "Alarm"
wait_until 10 no_window "Alarm" || fail "OK did not close the alarm dialog"

begin "the reminder and the alarm are announced at their minute"
wait_until $((due_at - $(date +%s) + 30)) has_element label "$due - Journey reminder" ||
  fail "no balloon line '$due - Journey reminder'"
wait_until 10 traced "sound $sound" || fail "the alarm did not ring: no sound was played"
wait_until 10 has_element label "Journey alarm" || fail "no balloon with the alarm's message"
shot 13-alarm-balloon
# The alarm's balloon came last and lies over the reminder's: a click on its message closes it. Now and
# then, on a loaded machine, the first press on it is not taken (it comes while the sound player
# starts; why it is lost is not known yet): a user presses again, and so does the journey, once.
click label "Journey alarm"
wait_until 3 no_element label "Journey alarm" || click label "Journey alarm"
wait_until 10 no_element label "Journey alarm" || fail "two clicks on the alarm's balloon did not close it"
has_element label "$due - Journey reminder" || fail "the reminder's balloon went with the alarm's"
shot 10-balloon
click label "$due - Journey reminder"
wait_until 10 has_window "Reminders" || fail "a click on the balloon line opened no day list"
window_lines "Reminders" | grep -q "Journey reminder" || fail "the day list does not show the reminder"
shot 11-day-list

begin "the stopwatch runs two seconds"
click_rect $cx $cy $cw $ch
click button "Stopwatch"
wait_until 10 has_window "Stop Watch" || fail "no stopwatch from the menu"
wait_until 10 has_element button Stop "Stop Watch" || fail "no Stop button"
# The count is held against the journey's own clock around the two presses, so a slow machine cannot
# make a right count look wrong.
started=$(date +%s%N)
click button Start "Stop Watch"
running=$(date +%s%N)
sleep 2
stopping=$(date +%s%N)
click button Stop "Stop Watch"
stopped=$(date +%s%N)
read -r h m s cs <<<"$(window_lines "Stop Watch" | awk -F'\t' '$2 == "label" && $3 ~ /^[0-9]+$/ { printf "%s ", $3 }')"
elapsed=$((10#$h * 360000 + 10#$m * 6000 + 10#$s * 100 + 10#$cs))
# Up to 0.3 s more either way, for the program's handling of one press later than of the other.
least=$(((stopping - running) / 10000000 - 30)); most=$(((stopped - started) / 10000000 + 30))
[ $elapsed -ge $least ] && [ $elapsed -le $most ] ||
  fail "the stopwatch shows $h:$m:$s.$cs for between $least and $most hundredths of a second"
shot 14-stopwatch

begin "the floating clock stays on the screen when dragged off it"
click_rect $cx $cy $cw $ch
click button "Floating Clock"
wait_until 10 has_window "Floating Clock" || fail "no floating clock from the menu"
read -r hx hy hw hh <<<"$(element_rect picture "Drag to move" "Floating Clock")"
xdotool mousemove $((hx + hw / 2 - 1)) $((hy + hh / 2)) mousemove --sync $((hx + hw / 2)) $((hy + hh / 2)) mousedown 1
# Towards the bottom-right corner and past it; the pointer stops at the screen's edge.
last=""
for step in 1 2 3 4 5 6; do
  to="$((hx + step * 150 > 1023 ? 1023 : hx + step * 150)) $((hy + step * 100 > 767 ? 767 : hy + step * 100))"
  [ "$to" = "$last" ] || xdotool mousemove --sync $to
  last=$to
  sleep 0.1
done
xdotool mouseup 1
sleep 0.5
read -r fx fy fw fh <<<"$(window_rect "Floating Clock")"
[ "$fx" -ge 0 ] && [ "$fy" -ge 0 ] && [ $((fx + fw)) -le 1024 ] && [ $((fy + fh)) -le 768 ] ||
  fail "the floating clock left the screen: $fx $fy $fw $fh"
[ "$fx" -gt "$hx" ] || fail "the floating clock did not move"
shot 15-floating-clock

begin "the program ends from the menu"
click_rect $cx $cy $cw $ch
wait_until 10 has_element button "Preferences" || fail "no menu"
read -r fcx fcy fcw fch <<<"$(element_rect button "Floating Clock")"
read -r pfx pfy pfw pfh <<<"$(element_rect button "Preferences")"
click_rect $((pfx + pfx - fcx)) $pfy $pfw $pfh
wait_until 10 process_gone "$app" || fail "the last button did not end the program"

begin "a second start, from the autostart entry, keeps every choice and reminder"
entry="$XDG_CONFIG_HOME/autostart/tavrin.desktop"
[ -f "$entry" ] || fail "\"Load Tavrin on Startup?\" wrote no autostart entry"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$entry" >"$home/validate.log" 2>&1 || fail "the autostart entry is not valid: $(cat "$home/validate.log")"
fi
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ "$exec_line" = "$(readlink -f "$program")" ] || fail "the autostart entry starts '$exec_line', not this program"
program=$exec_line
start_program
wait_until 15 has_window "Tavrin" || fail "no clock on the second start"
has_window "Tavrin Initial Setup" && fail "the second start asked for the setup again"
face_is_silver() { near "$(pixel $((cx + cw - 4)) $((cy + ch / 2)))" 218 219 229 40; }
wait_until 10 face_is_silver || fail "the face is not silver after the restart: $(pixel $((cx + cw - 4)) $((cy + ch / 2)))"
grep -q "Journey reminder" "$reminders" || fail "the reminder is gone"
click_rect $cx $cy $cw $ch
wait_until 10 has_element button "Preferences" || fail "no menu after the restart"
menu_lines=$(window_lines "Tavrin Menu" | awk -F'\t' '$2 == "label" { print $3 }')
grep -Eq '^[0-2][0-9]:[0-5][0-9] - .*Tokyo' <<<"$menu_lines" && grep -Eq '^[0-2][0-9]:[0-5][0-9] - .*Berlin' <<<"$menu_lines" ||
  fail "the menu lost its zones or format: $menu_lines"
shot 16-second-start
key Escape
