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
