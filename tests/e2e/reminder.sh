#!/usr/bin/env bash
# A reminder that fell due while the program was not running rings at start;
# hot key 1 switches it off in the file and remembers its group.
source "$(dirname "$0")/lib.sh" "$1"
due=$(date -d '-1 minute' '+%Y-%m-%d %H:%M:%S')
write_reminder "$due" obed ""
write_settings
start_x
start_app
wait_trace "hot key 1 Ctrl+Shift+H: registered"
wait_trace "tray tip: Pripomienka: obed" 10
pass "the overdue reminder rings: the tray tip names it"

xdotool key ctrl+shift+h
wait_for 10 test -s "$HOME_DIR/data/Reminders.ini" || fail "hot key 1 wrote no data/Reminders.ini"
[ "$(sqlite3 "$HOME_DIR/data/Reminders.dbf" 'SELECT alarm FROM mojdiar')" = 0 ] || fail "the alarm mark was not cleared"
printf 'mojdiar\r\nM\xf4j di\xe1r\r\n' | cmp -s - "$HOME_DIR/data/Reminders.ini" || fail "data/Reminders.ini: $(od -c "$HOME_DIR/data/Reminders.ini")"
pass "hot key 1 cleared alarm in the file and wrote data/Reminders.ini"

wait_for 5 xdotool search --onlyvisible --name '^Pripomienka z diára$' || fail "no reminder box"
box=$(xdotool search --onlyvisible --name '^Pripomienka z diára$' | head -n 1)
xdotool windowfocus --sync "$box" key Return
wait_trace "tray tip: .*Žiadna pripomienka v diári" 5
pass "the reminder box was shown and the tip went back to no reminder"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
