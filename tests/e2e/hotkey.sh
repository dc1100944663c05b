#!/usr/bin/env bash
# Hot key 2 hides every window while another program has the focus, and a
# second press shows the last window only.
source "$(dirname "$0")/lib.sh" "$1"
write_settings
start_x
start_app
wait_trace "shown: poznamky"
wait_trace "hot key 2 Ctrl+Shift+O: registered"
wait_for 5 shown_count -ge 1 || fail "no window shown"

xmessage -geometry 200x80+500+300 "another program" &
wait_for 5 xdotool search --onlyvisible --name '^xmessage$' || fail "xmessage did not start"
other=$(xdotool search --onlyvisible --name '^xmessage$' | head -n 1)
focus_on "$other"

xdotool key ctrl+shift+o
wait_trace "hidden: all" 5
wait_for 5 shown_count -eq 0 || fail "$(visible_count) windows still shown"
pass "hot key 2 hid every window"

xdotool key ctrl+shift+o
wait_for 5 shown_count -eq 1 || fail "$(visible_count) windows shown after the second press"
shown=$(visible_windows | head -n 1)
[ "$(xdotool getwindowname "$shown")" = "Poznámky - Moje poznámky" ] || fail "the window shown is $(xdotool getwindowname "$shown")"
pass "a second press showed the last window only"

# The hot key works whatever NumLock and CapsLock say.
focus_on "$other"
xdotool key Num_Lock Caps_Lock
xdotool key ctrl+shift+o
wait_for 5 shown_count -eq 0 || fail "hot key 2 with NumLock and CapsLock on did nothing"
pass "hot key 2 works with NumLock and CapsLock on"

# Hot key 2 pressed in its own field on the settings page reaches the field
# (the program lets its hot keys go while a hot-key field has the focus),
# and OK keeps it; once the focus leaves, the hot key works again.
xdotool key Num_Lock Caps_Lock
xdotool key ctrl+shift+o
wait_for 5 shown_count -eq 1 || fail "the program did not come back"
mark=$(trace_mark)
xdotool key F12
wait_trace_after "$mark" "active: formvelmorand"
click_on "formvelmorand/HotKey2" "$mark"
wait_trace_after "$mark" "hot keys let go while an edit has the focus"
xdotool key ctrl+shift+o
sleep 0.5
shown_count -eq 1 || fail "hot key 2 pressed in its field hid the program"
click_on "formvelmorand/ok" "$mark"
wait_trace_after "$mark" "hot key 2 Shift+Ctrl+O: registered"
# The settings are written once both keys are taken: wait for the file.
ini_line_8_is() { [ "$(sed -n 8p "$HOME_DIR/Velmorand.ini" | tr -d '\r')" = "$1" ]; }
wait_for 5 ini_line_8_is "Shift+Ctrl+O" ||
    fail "line 8 of Velmorand.ini is '$(sed -n 8p "$HOME_DIR/Velmorand.ini")'"
pass "hot key 2 pressed in its field was kept"
focus_on "$other"
xdotool key ctrl+shift+o
wait_for 5 shown_count -eq 0 || fail "hot key 2 did nothing after the settings page"
pass "hot key 2 works again once the field has lost the focus"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
