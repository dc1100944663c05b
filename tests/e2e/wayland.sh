#!/usr/bin/env bash
# Natively on Wayland (a headless weston): the program starts and paints,
# asks the desktop portal for its two hot keys, shows its tray icon through
# StatusNotifierItem (its tip and menu read over the bus), and a reminder
# that fell due rings; the portal's activation of hot key 1 switches the
# alarm off in the file, and hot key 2 hides and shows the program. A fake
# portal and a fake panel on the test's session bus play the desktop.
source "$(dirname "$0")/lib.sh" "$1"
export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=velmorand-e2e
unset DISPLAY
# The Wayland client library and Qt's Wayland plugins leave a few hundred
# bytes unfreed at exit, out of reach of suppressions (the plugins are
# unloaded by then); every other test checks the program's own leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 \
    >"$WORK/weston.log" 2>&1 &
wait_for 10 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not start: $(cat "$WORK/weston.log")"
portal_log="$WORK/portal.log"
/usr/bin/python3 -B "$(dirname "$0")/fake_portal.py" "$portal_log" &
wait_for 10 grep -q ready "$portal_log" || fail "the fake portal did not start"

watcher_log="$WORK/watcher.log"
/usr/bin/python3 -B "$(dirname "$0")/fake_watcher.py" "$watcher_log" &
wait_for 10 grep -q ready "$watcher_log" || fail "the fake panel did not start"

due=$(date -d '-1 minute' '+%Y-%m-%d %H:%M:%S')
db="$HOME_DIR/data/Reminders.dbf"
write_reminder "$due" obed ""
write_settings "Hide: 0"
sed -i 's/^Reminderwindows: 1/Reminderwindows: 0/' "$HOME_DIR/Velmorand.ini"
start_app
wait_trace "list painted: poznamky" 15
pass "the program runs natively on Wayland and paints its list"
wait_for 10 grep -q "bind hotkey2=CTRL+SHIFT+o" "$portal_log" || fail "no hot keys asked for: $(cat "$portal_log")"
grep -q "bind hotkey1=CTRL+SHIFT+h" "$portal_log" || fail "hot key 1 not asked for: $(cat "$portal_log")"
pass "both hot keys were asked of the desktop portal"
wait_trace "Pripomienka: obed" 10

wait_for 10 grep -q " item " "$watcher_log" || fail "no tray item registered"
read -r item path < <(sed -n 's/^[0-9.]* item //p' "$watcher_log" | head -n 1)
property() {
    dbus-send --session --print-reply --dest="$item" "$path" org.freedesktop.DBus.Properties.Get \
        string:org.kde.StatusNotifierItem "string:$1"
}
wait_for 5 bash -c "$(declare -f property); item='$item' path='$path' property ToolTip | grep -q 'Pripomienka: obed'" ||
    fail "the tip did not arrive: $(property ToolTip)"
menu=$(property Menu | sed -n 's/.*object path "\(.*\)"/\1/p')
layout=$(dbus-send --session --print-reply --dest="$item" "$menu" com.canonical.dbusmenu.GetLayout \
    int32:0 int32:-1 array:string:)
for label in "Vypnúť alarm" "Koniec"; do
    grep -q "$label" <<<"$layout" || fail "the tray menu lacks $label: $layout"
done
pass "the tray icon's tip and menu arrive through StatusNotifierItem"

portal() {
    dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
        /org/freedesktop/portal/desktop org.freedesktop.portal.GlobalShortcuts.Activate "string:$1" >/dev/null
}
portal hotkey1
wait_for 5 query_is "$db" "SELECT alarm FROM mojdiar" 0 || fail "the portal's hot key 1 left the alarm on: $(cat "$portal_log")"
pass "the portal's hot key 1 switched the alarm off in the file"

mark=$(trace_mark)
portal hotkey2
wait_trace_after "$mark" "hidden: all" 5
portal hotkey2
wait_trace_after "$mark" "shown: " 5
pass "the portal's hot key 2 hid the program and brought it back"
kill -TERM "$APP_PID"; wait "$APP_PID" || fail "the program ended with an error"
