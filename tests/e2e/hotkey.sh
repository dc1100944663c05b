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
xdotool windowfocus --sync "$other"

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
xdotool windowfocus --sync "$other"
xdotool key Num_Lock Caps_Lock
xdotool key ctrl+shift+o
wait_for 5 shown_count -eq 0 || fail "hot key 2 with NumLock and CapsLock on did nothing"
pass "hot key 2 works with NumLock and CapsLock on"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
