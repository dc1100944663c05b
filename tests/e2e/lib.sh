# Shared by the end-to-end tests: a private X server, home folder and trace
# file for the real binary, and clean-up of everything they start.
# Usage in a test: source lib.sh "$binary"; then start_x, start_app, ...
set -euo pipefail

BINARY=$(readlink -f "$1")
# The settings page's title: the program and its version, as it says them.
MAIN_TITLE="Velmorand $("$BINARY" --version | cut -d' ' -f2)"
WORK=$(mktemp -d /tmp/velmorand-e2e.XXXXXX)
HOME_DIR="$WORK/home"
TRACE="$WORK/trace.log"
mkdir -p "$HOME_DIR" "$WORK/user/.config" "$WORK/user/.local/share" "$WORK/runtime"
chmod 700 "$WORK/runtime"
export HOME="$WORK/user" XDG_CONFIG_HOME="$WORK/user/.config" XDG_DATA_HOME="$WORK/user/.local/share"
export XDG_RUNTIME_DIR="$WORK/runtime" VELMORAND_TRACE="$TRACE" QT_QPA_PLATFORM=xcb
# The update check at start asks this machine only, and is refused at once.
export VELMORAND_UPDATE_URL=https://127.0.0.1:1/velmorand/version.dbf
unset VELMORAND_HOME SESSION_MANAGER
touch "$TRACE"
APP_PID=

cleanup() {
    local status=$?
    for pid in $(jobs -p); do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if [ $status -ne 0 ]; then
        echo "--- trace ---"; cat "$TRACE" 2>/dev/null || true
        [ -f "$WORK/app.err" ] && { echo "--- stderr ---"; cat "$WORK/app.err"; }
    fi
    rm -rf "$WORK"
    exit $status
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "PASS: $*"; }

# Waits until a command succeeds, polling every 0.1 s; fails after $1 seconds.
wait_for() {
    local seconds=$1; shift
    local tries=$((seconds * 10))
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.1
    done
}

traced() { grep -q -- "$1" "$TRACE"; }
wait_trace() { wait_for "${2:-15}" traced "$1" || fail "no trace line '$1'"; }
# The same for lines after line $1 of the trace (see trace_mark).
traced_after() { tail -n +"$(($1 + 1))" "$TRACE" | grep -q -- "$2"; }
wait_trace_after() { wait_for "${3:-5}" traced_after "$1" "$2" || fail "no trace line '$2'"; }

# A private X server; with E2E_WM=openbox, the openbox window manager on it.
start_x() {
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.err" &
    wait_for 10 test -s "$WORK/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$WORK/display")"
    if [ "${E2E_WM:-}" = openbox ]; then
        # Openbox runs the start-up command once it manages windows.
        openbox --startup "touch $WORK/wm-ready" >"$WORK/openbox.log" 2>&1 &
        wait_for 10 test -e "$WORK/wm-ready" || fail "openbox did not start"
    fi
}
under_wm() { [ "${E2E_WM:-}" = openbox ]; }

# The number of trace lines so far, to look only at what comes after.
trace_mark() { wc -l <"$TRACE"; }
# The screen position a traced line after line $2 (default 0) gives for a
# named item ("window/item"), as "x y"; the last one traced.
position_of() {
    tail -n +"$((${2:-0} + 1))" "$TRACE" |
        sed -n "s|.*at: $1 \([0-9-]*\),\([0-9-]*\)\$|\1 \2|p" | tail -n 1
}
has_position() { test -n "$(position_of "$1" "${2:-0}")"; }
# Moves the mouse onto a traced item (traced after line $2), once it is traced.
point_at() {
    wait_for 5 has_position "$1" "${2:-0}" || fail "no position for $1"
    local x y
    read -r x y < <(position_of "$1" "${2:-0}")
    xdotool mousemove --sync "$x" "$y"
}
# Clicks a traced item (traced after line $2) with the mouse.
click_on() {
    point_at "$@"
    xdotool click 1
}
# Gives a window the focus, trying again while it is not yet viewable.
focus_on() { wait_for 5 xdotool windowfocus --sync "$1" || fail "window $1 did not take the focus"; }
# The title of the window that has the focus.
focused_title() { xdotool getwindowfocus getwindowname 2>/dev/null; }
# Checks for wait_for, which runs them again until they hold (a "$(...)" in
# its arguments would be taken once, before the first try).
title_is() { [ "$(focused_title)" = "$1" ]; }
shown_count() { [ "$(visible_count)" "$1" "$2" ]; }
query_is() { [ "$(sqlite3 "$1" "$2" 2>/dev/null)" = "$3" ]; }

start_app() {
    "$BINARY" --home "$HOME_DIR" "$@" >"$WORK/app.out" 2>"$WORK/app.err" &
    APP_PID=$!
}

# A settings file as the program writes it, so that no welcome box comes;
# $1 replaces the line "Hide: 0".
write_settings() {
    printf '2.0\r\npoznamky\r\nReminderwindows: 1\r\nAutoupdate: 1\r\nAnounce: 1\r\n%s\r\nCtrl+Shift+H\r\nCtrl+Shift+O\r\nSlovak\r\n' \
        "${1:-Hide: 0}" >"$HOME_DIR/Velmorand.ini"
}

# A diary file holding one armed entry in the default group "Môj diár":
# its moment "yyyy-mm-dd hh:nn:ss", subject and text.
write_reminder() {
    mkdir -p "$HOME_DIR/data"
    sqlite3 "$HOME_DIR/data/Reminders.dbf" <<SQL
CREATE TABLE tables([id] INTEGER PRIMARY KEY, [nametable] varchar(30),[captiontable] varchar(30),[viditelnost] INTEGER);
CREATE TABLE mojdiar([id] INTEGER PRIMARY KEY, [datum] date,[avizo] datetime,[alarm] INTEGER,[predmet] warchar(30),[obsah] text,[viditelnost] integer);
INSERT INTO tables(nametable,captiontable,viditelnost) VALUES('mojdiar',CAST(X'4DF46A206469E172' AS TEXT),1);
INSERT INTO mojdiar(datum,avizo,alarm,predmet,obsah,viditelnost) VALUES('${1:0:10}','$1','1','$2','$3',1);
SQL
}

# Window ids of the program's windows that are on the screen (the tray
# icon's window has no title and does not count).
visible_windows() {
    local id
    for id in $(xdotool search --onlyvisible --classname velmorand 2>/dev/null || true); do
        xprop -id "$id" WM_NAME 2>/dev/null | grep -q '= "..*"' && echo "$id"
    done
    return 0
}
visible_count() { visible_windows | grep -c . || true; }
