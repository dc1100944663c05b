#!/usr/bin/env bash
# One running copy: a second start wakes the first and ends; a killed copy
# leaves nothing that stops the next start.
source "$(dirname "$0")/lib.sh" "$1"
start_x
start_app
wait_trace "painted"
first=$APP_PID

started=$(date +%s%N)
timeout 5 "$BINARY" --home "$HOME_DIR" || fail "the second start did not end with 0"
elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$elapsed" -lt 2000 ] || fail "the second start took $elapsed ms"
kill -0 "$first" || fail "the first copy ended"
wait_trace "woken" 5
pass "a second start ended with 0 after $elapsed ms and woke the first copy"

# Another home folder is another program.
other="$WORK/other"
"$BINARY" --home "$other" >/dev/null 2>&1 &
second_home=$!
wait_for 10 test -s "$other/data/Birth.dbf" || fail "a copy on another home folder did not start"
kill -0 "$second_home" || fail "a copy on another home folder ended"
kill -TERM "$second_home"; wait "$second_home" || true
pass "a copy on another home folder runs beside the first"

kill -9 "$first"
wait "$first" 2>/dev/null || true
: >"$TRACE"
start_app
wait_trace "painted"
kill -0 "$APP_PID" || fail "the start after kill -9 ended"
pass "a start after kill -9 of the running copy works"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
