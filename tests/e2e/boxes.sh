#!/usr/bin/env bash
# Hot key 2 hides a box that waits for an answer along with the windows, and
# brings it back with them, still waiting.
source "$(dirname "$0")/lib.sh" "$1"
start_x
start_app
wait_trace "hot key 2 Ctrl+Shift+O: registered"
wait_for 10 xdotool search --onlyvisible --name '^Vitajte v programe Velmorand$' || fail "no welcome box"
xdotool key ctrl+shift+o
wait_trace "hidden: all" 5
wait_for 5 shown_count -eq 0 || fail "$(visible_count) windows still shown"
pass "hot key 2 hid the windows and the welcome box"

xdotool key ctrl+shift+o
wait_for 5 xdotool search --onlyvisible --name '^Vitajte v programe Velmorand$' ||
    fail "the welcome box did not come back"
[ ! -e "$HOME_DIR/Velmorand.ini" ] || fail "the welcome box was answered while hidden"
box=$(xdotool search --onlyvisible --name '^Vitajte v programe Velmorand$' | head -n 1)
xdotool windowfocus --sync "$box" key Return
wait_for 5 test -s "$HOME_DIR/Velmorand.ini" || fail "answering the box did not go on"
sleep 1
! xdotool search --onlyvisible --name '^Vitajte v programe Velmorand$' ||
    fail "the notes window, shown again, asked a second time"
pass "the box came back with the windows, still waiting, and its answer goes on"

# The log of emptying the bin with fifty groups scrolls in a box no taller
# than the screen, and closing it leaves the settings page in front.
{
    echo "BEGIN;"
    for i in $(seq 1 50); do
        echo "CREATE TABLE skupina$i(id INTEGER PRIMARY KEY, viditelnost integer);"
        echo "INSERT INTO tables(nametable,captiontable,viditelnost) VALUES('skupina$i','S $i',0);"
    done
    echo "COMMIT;"
} | sqlite3 "$HOME_DIR/data/Notes.dbf"
mark=$(trace_mark)
wait_for 5 xdotool search --onlyvisible --name '^Poznámky' || fail "no notes window"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Poznámky' | head -n 1)" key F12
# Enter by habit answers the question's default, No: not a byte changes.
before=$(md5sum <"$HOME_DIR/data/Notes.dbf")
click_on "formvelmorand/kos" "$mark"
wait_for 5 xdotool search --onlyvisible --name '^Potvrdenie odstránenia záznamov$' || fail "no question"
box=$(xdotool search --onlyvisible --name '^Potvrdenie odstránenia záznamov$' | head -n 1)
xdotool windowfocus --sync "$box" key Return
wait_for 5 title_is "$MAIN_TITLE" || fail "the question did not go"
[ "$(md5sum <"$HOME_DIR/data/Notes.dbf")" = "$before" ] || fail "Enter emptied the bin"
pass "Enter in the bin question changes nothing"
click_on "formvelmorand/kos" "$mark"
wait_for 5 xdotool search --onlyvisible --name '^Potvrdenie odstránenia záznamov$' || fail "no question"
box=$(xdotool search --onlyvisible --name '^Potvrdenie odstránenia záznamov$' | head -n 1)
xdotool windowfocus --sync "$box" key shift+Tab space
wait_for 5 xdotool search --onlyvisible --name '^Operácia úspešná$' || fail "no log"
box=$(xdotool search --onlyvisible --name '^Operácia úspešná$' | head -n 1)
height=$(xdotool getwindowgeometry "$box" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
[ "$height" -le 700 ] || fail "the log is $height pixels tall"
[ "$(sqlite3 "$HOME_DIR/data/Notes.dbf" "SELECT COUNT(*) FROM tables WHERE viditelnost=3")" = 50 ] ||
    fail "the binned groups were not emptied"
xdotool windowfocus --sync "$box" key Return
wait_for 5 title_is "$MAIN_TITLE" || fail "after the log '$(focused_title)' has the focus"
sleep 0.5
[ "$(focused_title)" = "$MAIN_TITLE" ] || fail "then '$(focused_title)' took the focus"
pass "the log of fifty groups is $height pixels tall, and the settings page stays in front"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
