#!/usr/bin/env bash
# Hot key 2 hides a box that waits for an answer along with the windows, and
# brings it back with them, still waiting.
source "$(dirname "$0")/lib.sh" "$1"
start_x
start_app
wait_trace "hot key 2 Ctrl+Shift+O: registered"
wait_for 10 xdotool search --onlyvisible --name '^Vitajte v programe Velmorand$' || fail "no welcome box"
xdotool key ctrl+shift+o
wait_trace "hidden: all" 5
wait_for 5 test "$(visible_count)" -eq 0 || fail "$(visible_count) windows still shown"
pass "hot key 2 hid the windows and the welcome box"

xdotool key ctrl+shift+o
wait_for 5 xdotool search --onlyvisible --name '^Vitajte v programe Velmorand$' ||
    fail "the welcome box did not come back"
[ ! -e "$HOME_DIR/Velmorand.ini" ] || fail "the welcome box was answered while hidden"
box=$(xdotool search --onlyvisible --name '^Vitajte v programe Velmorand$' | head -n 1)
xdotool windowfocus --sync "$box" key Return
wait_for 5 test -s "$HOME_DIR/Velmorand.ini" || fail "answering the box did not go on"
pass "the box came back with the windows, still waiting, and its answer goes on"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
