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
