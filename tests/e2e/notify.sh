#!/usr/bin/env bash
# A reminder falling due shows one desktop notification: its moment, subject
# and text, critical, without a time limit, with the three actions; its
# "switch off" clears the mark in the file and takes the notification away.
# A fake notification service on the test's session bus plays the desktop.
source "$(dirname "$0")/lib.sh" "$1"
log="$WORK/notifications.log"
/usr/bin/python3 -B "$(dirname "$0")/fake_notifications.py" "$log" &
wait_for 10 grep -q ready "$log" || fail "the fake notification service did not start"
due_at=$(($(date +%s) + 4))
due=$(date -d "@$due_at" '+%Y-%m-%d %H:%M:%S')
db="$HOME_DIR/data/Reminders.dbf"
write_reminder "$due" Zubar "Karticka poistenca"
write_settings
start_x
start_app
wait_trace "painted"
wait_for 10 grep -q " notify " "$log" || fail "no notification: $(cat "$log")"
line=$(grep " notify " "$log")
[ "$(grep -c " notify " "$log")" -eq 1 ] || fail "more than one notification: $line"
expected="notify 1 urgency=2 timeout=0 actions=off,snooze,open summary=Zubar body=$(LC_ALL=C date -d "@$due_at" '+%d') "
case "$line" in
*"$expected"*"${due:11:5}|Karticka poistenca") ;;
*) fail "the notification: $line" ;;
esac
after=$(awk -v due="$due_at" '{ printf "%d", ($1 - due) * 1000 }' <<<"$line")
pass "one critical notification with the moment, subject, text and actions, ${after} ms after its moment"

dbus-send --session --print-reply --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
    org.freedesktop.Notifications.Invoke uint32:1 string:off >/dev/null
wait_for 5 query_is "$db" 'SELECT alarm FROM mojdiar' 0 || fail "switch off left the mark"
wait_for 5 grep -q " close 1$" "$log" || fail "the notification stayed"
pass "its switch-off cleared the mark in the file and took it away"
wait_for 5 xdotool search --onlyvisible --name '^Pripomienka z diára$' || fail "no reminder box"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
