#!/usr/bin/env bash
# First start on an empty home folder; closing by SIGTERM writes the settings.
source "$(dirname "$0")/lib.sh" "$1"
start_x
start_app
wait_trace "painted"
for file in Addressbook Birth Diary Notes Reminders; do
    [ -s "$HOME_DIR/data/$file.dbf" ] || fail "data/$file.dbf was not created"
done
wait_for 5 xdotool search --onlyvisible --name '^Velmorand 2\.1$' || fail "the main window is not shown"
pass "first start made the data files and shows the main window"
wait_for 5 xdotool search --onlyvisible --name '^Vitajte v programe Velmorand$' || fail "no welcome message"
pass "the first start welcomes the user"

kill -TERM "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "SIGTERM did not end the program"
wait "$APP_PID" || fail "the program ended with an error"
ini="$HOME_DIR/Velmorand.ini"
[ "$(wc -l <"$ini")" -eq 9 ] || fail "Velmorand.ini has $(wc -l <"$ini") lines"
[ "$(grep -c $'\r$' "$ini")" -eq 9 ] || fail "Velmorand.ini lines do not end with CR LF"
[ "$(head -n 1 "$ini")" = $'2.0\r' ] || fail "Velmorand.ini does not start with 2.0"
pass "SIGTERM wrote a 9-line Velmorand.ini with CR LF"
