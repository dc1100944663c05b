#!/usr/bin/env bash
# Under a window manager: closing the main window leaves the program in the
# notification area, whose click brings it back; with that choice off on
# the settings page, closing it ends the program as before.
source "$(dirname "$0")/lib.sh" "$1"
start_x
trayer --edge top --align left --widthtype request --height 32 --SetDockType false &
wait_for 10 xdotool search --classname trayer || fail "trayer did not start"
write_settings
start_app
wait_trace "painted"
tray=$(xdotool search --name '^panel$' | head -n 1)
wait_for 10 bash -c "[ \$(xdotool getwindowgeometry --shell $tray | sed -n 's/^WIDTH=//p') -ge 16 ]" ||
    fail "the icon did not reach the tray"
wait_trace "list painted: poznamky"
xdotool key F12
wait_for 5 title_is "$MAIN_TITLE" || fail "F12 did not reach the main window"
xdotool key alt+F4
wait_trace "closed to the tray" 5
wait_for 5 shown_count -eq 0 || fail "$(visible_count) windows still shown"
kill -0 "$APP_PID" || fail "the program ended"
pass "closing the main window left the program running in the tray"

eval "$(xdotool getwindowgeometry --shell "$tray")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
wait_for 5 shown_count -ge 1 || fail "the tray's click did not bring it back"
pass "a click on the tray icon brought it back"

mark=$(trace_mark)
xdotool key F12
wait_trace_after "$mark" "active: formvelmorand" 5
click_on formvelmorand/zatvorenievtray "$mark"
wait_for 5 grep -q 'closeToTray=false' "$HOME_DIR/velmorand.conf" || fail "the choice was not kept"
wait_for 5 title_is "$MAIN_TITLE" || fail "the main window lost the focus"
xdotool key alt+F4
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "closing did not end the program"
wait "$APP_PID" || fail "the program ended with an error"
[ "$(wc -l <"$HOME_DIR/Velmorand.ini")" -eq 9 ] || fail "Velmorand.ini is no longer nine lines"
pass "with the choice off, closing the main window ended the program; Velmorand.ini stays nine lines"
