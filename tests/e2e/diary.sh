#!/usr/bin/env bash
# The diary with keys only: F2, Ctrl+N, a subject and a reminder a few
# seconds ahead, Ctrl+S. The alarm is heard (recorded from a private
# PulseAudio null sink), the tray tip names the entry, and hot key 1
# switches it off in the file.
source "$(dirname "$0")/lib.sh" "$1"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -L "module-null-sink sink_name=test" -L module-native-protocol-unix >"$WORK/pulse.log" 2>&1 &
wait_for 10 pactl info || fail "PulseAudio did not start"
pactl set-default-sink test
write_settings
start_x
start_app
wait_trace "list painted: poznamky"
xdotool key F2
wait_trace "active: diar" 5
xdotool key ctrl+n
wait_trace "active: formzaznamdiar" 5
xdotool type --delay 20 "Zubar"
# Tab to the text, through the day's four parts (weekday, day, month,
# year) and on to the time, which takes its six digits. A new entry opens
# on the next whole hour: after 23:00 that is tomorrow, and the day goes
# back one.
xdotool key Tab Tab Tab
[ "$(date '+%H')" = 23 ] && xdotool key Down
xdotool key Tab Tab Tab
due=$(date -d '+8 sec' '+%H%M%S')
xdotool type --delay 20 "$due"
xdotool key ctrl+s
db="$HOME_DIR/data/Reminders.dbf"
wait_for 5 query_is "$db" 'SELECT alarm FROM mojdiar' 1 || fail "no armed entry was saved"
stored=$(sqlite3 "$db" 'SELECT avizo FROM mojdiar')
[ "${stored:11}" = "${due:0:2}:${due:2:2}:${due:4:2}" ] || fail "the entry's moment is $stored, not $due"
wait_trace "tray tip: Pripomienka: $(date '+%d')" 5
pass "the new armed entry is saved ($stored) and armed at once"

parec -d test.monitor --format=s16le --channels=1 --rate=22050 --raw --latency-msec=20 >"$WORK/recording.raw" &
recorder=$!
wait_trace "tray tip: Pripomienka: Zubar" 20
sleep 2
kill -INT "$recorder"; wait "$recorder" 2>/dev/null || true
loud=$(od -An -v -td2 -w2 "$WORK/recording.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > 3000) n++ } END { print n + 0 }')
[ "$loud" -gt 200 ] || fail "the recording holds $loud loud samples"
pass "the alarm rings: the tray tip names the entry and the sound is heard ($loud loud samples)"

xdotool key ctrl+shift+h
wait_for 5 query_is "$db" 'SELECT alarm FROM mojdiar' 0 || fail "hot key 1 left the alarm on"
wait_for 5 xdotool search --onlyvisible --name '^Pripomienka z diára$' || fail "no reminder box"
pass "hot key 1 switched the alarm off in the file"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
