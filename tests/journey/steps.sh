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
sleep 1.5
read -r cx cy cw ch <<<"$(window_rect "Tavrin")"
[ -n "${ch:-}" ] || fail "the clock window has no place"
[ $((cx + cw)) -eq 1024 ] && [ $((cy + ch)) -eq 768 ] || fail "the clock is not in the corner: $cx $cy $cw $ch"
face=$(pixel $((cx + cw - 4)) $((cy + ch / 2)))
near "$face" 234 226 178 40 || fail "the face is not olive green: $face"
shot 03-clock

begin "a press opens the menu"
click_rect $cx $cy $cw $ch
wait_until 10 has_element picture "Preferences" || fail "no menu after a press on the clock"
shot 04-menu
read -r px py pw ph <<<"$(element_rect picture "Preferences")"
[ "$py" -lt "$cy" ] || fail "the menu is not above the clock"
key Escape

begin "the preferences: two zones through the filter, a time format, a scheme"
click_rect $cx $cy $cw $ch
click picture "Preferences"
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
is_checked treeitem "(GMT+09:00) Tokyo, Japan" && is_checked treeitem "(GMT+01:00) Berlin, Germany" ||
  fail "the ticks did not survive the filter"
click text "Time Format:"
key ctrl+a
type_text "HH:MM"
click combo "mm/dd/yy h:mm am/pm"
key ctrl+a
type_text "HH:MM"
choose "XP Olive Green" "XP Silver"
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
wait_until 10 has_element picture "Preferences" || fail "no menu after the preferences"
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
