#!/usr/bin/env bash
# Hide at start: the main window goes about a second after start, and the
# tray menu offers to show the program again.
source "$(dirname "$0")/lib.sh" "$1"
start_x
trayer --edge top --align left --widthtype request --height 32 --SetDockType false &
wait_for 30 xdotool search --classname trayer || fail "trayer did not start"
write_settings "Hide: 1"
start_app
wait_trace "painted"
wait_for 3 xdotool search --onlyvisible --name '^Velmorand 2\.1$' || fail "the main window was not shown at start"
shown_at=$(date +%s%N)
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^Velmorand 2\.1$'" || fail "the main window stayed"
gone_after=$(( ($(date +%s%N) - shown_at) / 1000000 ))
[ "$(visible_count)" -eq 0 ] || fail "a window is still shown"
traced "shown: poznamky" && fail "a record window was shown while hidden"
pass "the main window disappeared ${gone_after} ms after it was seen"

# trayer's panel window holds the embedded icons; it grows around ours.
tray=$(xdotool search --name '^panel$' | head -n 1)
[ -n "$tray" ] || fail "no tray panel"
wait_for 10 bash -c "[ \$(xdotool getwindowgeometry --shell $tray | sed -n 's/^WIDTH=//p') -ge 16 ]" ||
    fail "the icon did not reach the tray"
eval "$(xdotool getwindowgeometry --shell "$tray")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
wait_trace "tray menu:" 5
grep -q "tray menu: Zobraziť okno programu | Hľadať všade | Koniec" "$TRACE" || fail "tray menu: $(grep 'tray menu' "$TRACE")"
pass "the tray menu offers Zobraziť okno programu"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
