#!/usr/bin/env bash
# The settings page's OK plays the beep: recorded from a private PulseAudio
# null sink.
source "$(dirname "$0")/lib.sh" "$1"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -L "module-null-sink sink_name=test" -L module-native-protocol-unix >"$WORK/pulse.log" 2>&1 &
wait_for 10 pactl info || fail "PulseAudio did not start"
pactl set-default-sink test
write_settings
start_x
start_app
wait_trace "shown: poznamky"
wait_trace "ok button at"
parec -d test.monitor --format=s16le --channels=1 --rate=22050 --raw --latency-msec=20 >"$WORK/recording.raw" &
recorder=$!
sleep 0.5
# F12 in the notes window brings up the settings page; then OK.
xdotool key F12
wait_trace "shown: velmorand" 5
read -r x y < <(sed -n 's/.*ok button at \([0-9]*\),\([0-9]*\)/\1 \2/p' "$TRACE" | head -n 1)
xdotool mousemove "$x" "$y" click 1
wait_for 10 test -s "$HOME_DIR/Velmorand.ini" || fail "OK did not write the settings"
sleep 1.5
kill -INT "$recorder"; wait "$recorder" 2>/dev/null || true
loud=$(od -An -v -td2 -w2 "$WORK/recording.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > 3000) n++ } END { print n + 0 }')
[ "$loud" -gt 200 ] || fail "the recording holds $loud loud samples"
pass "the beep was played ($loud loud samples recorded)"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
