#!/usr/bin/env bash
# Ending on a signal never waits for a box: a settings file that cannot be
# written is said on stderr, and the program ends.
source "$(dirname "$0")/lib.sh" "$1"
write_settings
start_x
start_app
wait_trace "list painted: poznamky"
rm "$HOME_DIR/Velmorand.ini"
mkdir "$HOME_DIR/Velmorand.ini"
kill -TERM "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "SIGTERM did not end the program"
wait "$APP_PID" || true
grep -q "Velmorand.ini" "$WORK/app.err" || fail "the write failure was not said on stderr"
[ -d "$HOME_DIR/Velmorand.ini" ] || fail "the folder in the settings file's place was changed"
pass "SIGTERM with an unwritable settings file ends at once and says why on stderr"

# A quit that an editor holding changed text refuses keeps the program, its
# hot keys included; the next quit, answered Yes, ends it.
rmdir "$HOME_DIR/Velmorand.ini"
write_settings
mark=$(trace_mark)
start_app
wait_trace_after "$mark" "list painted: poznamky" 15
notes=$(xdotool search --onlyvisible --name '^Poznámky' | head -n 1)
mark=$(trace_mark)
xdotool windowfocus --sync "$notes" key ctrl+n
wait_trace_after "$mark" "active: formzaznampoznamky"
xdotool type "nakup"
mark=$(trace_mark)
xdotool windowfocus --sync "$notes" key F12
wait_trace_after "$mark" "active: formvelmorand"
xdotool key alt+F1
wait_trace_after "$mark" "box text: Záznam bol zmenený. Chcete zmeny zahodiť?"
xdotool key n
sleep 0.5
kill -0 "$APP_PID" || fail "the refused quit ended the program"
mark=$(trace_mark)
xdotool key ctrl+shift+o
wait_trace_after "$mark" "hidden: all"
xdotool key ctrl+shift+o
wait_trace_after "$mark" "active: poznamky"
pass "a refused quit keeps the program and its hot keys"
mark=$(trace_mark)
xdotool key F12
wait_trace_after "$mark" "active: formvelmorand"
xdotool key alt+F1
wait_trace_after "$mark" "box text: Záznam bol zmenený. Chcete zmeny zahodiť?"
xdotool key shift+Tab space
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "Koniec answered Yes did not end the program"
wait "$APP_PID" || true
pass "Koniec answered Yes ends the program"
