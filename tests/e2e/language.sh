#!/usr/bin/env bash
# A language chosen through the menu with the mouse reaches the record
# windows and Qt's own buttons: the delete question asks "Yes" or "No".
source "$(dirname "$0")/lib.sh" "$1"
write_settings
start_x
start_app
wait_trace "list painted: poznamky"
wait_trace "active: poznamky"
sqlite3 "$HOME_DIR/data/Notes.dbf" "INSERT INTO mojepoznamky(predmet, viditelnost) VALUES('Nákup', 1)"
# In Slovak first: Qt's buttons in Slovak as well.
mark=$(trace_mark)
xdotool key F12
wait_trace_after "$mark" "active: formvelmorand"
# A key goes to the window with the focus, which may come a moment later.
wait_for 5 test "$(focused_title)" = "Velmorand 2.1" || fail "the settings page has no focus"
xdotool key F1
wait_trace_after "$mark" "active: poznamky"
wait_for 5 test "$(focused_title)" = "Poznámky - Moje poznámky" || fail "the notes have no focus"
xdotool key Delete
wait_trace "box buttons: Áno | Nie$" 5
box=$(xdotool search --onlyvisible --name '^Potvrdenie odstránenia záznamu' | head -n 1)
xdotool windowfocus --sync "$box" key Escape
wait_for 5 test "$(focused_title)" = "Poznámky - Moje poznámky" || fail "no notes window after No"
pass "in Slovak, the delete question asks Áno or Nie"

# Writing the texts to a file: the save dialog, answered, leaves the
# settings page in front (no record window comes up behind it).
mark=$(trace_mark)
xdotool key F12
wait_trace_after "$mark" "active: formvelmorand"
click_on "formvelmorand/Jazyky" "$mark"
click_on "Jazyky/generovat" "$mark"
wait_for 5 xdotool search --onlyvisible --name '^Uloženie jazykových reťazcov$' || fail "no save dialog"
after_dialog=$(trace_mark)
dialog=$(xdotool search --onlyvisible --name '^Uloženie jazykových reťazcov$' | head -n 1)
xdotool windowfocus --sync "$dialog" type texty
xdotool key Return
wait_for 5 test -s "$HOME_DIR/texty.txt" || fail "no file written"
sleep 0.7
! traced_after "$after_dialog" "active: poznamky" || fail "the notes window came up after the dialog"
! under_wm || [ "$(focused_title)" = "Velmorand 2.1" ] ||
    fail "after the save dialog '$(focused_title)' has the focus"
pass "the texts are written and the settings page stays in front"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Velmorand 2.1$' | head -n 1)"

mark=$(trace_mark)
click_on "formvelmorand/Jazyky"
click_on "Jazyky/English" "$mark"
wait_trace "box text: The language was changed$" 5
box=$(xdotool search --onlyvisible --name '^Operation successful$' | head -n 1)
xdotool windowfocus --sync "$box" key Return
pass "English chosen with the mouse"

wait_for 5 test "$(focused_title)" = "Velmorand 2.1" || fail "the settings page has no focus"
xdotool key F1
wait_trace "active: poznamky Notes - My notes$" 5
wait_for 5 test "$(focused_title)" = "Notes - My notes" || fail "the notes have no focus"
xdotool key Delete
wait_trace "box text: Do you really want to delete the record" 5
wait_trace "box buttons: Yes | No$" 5
pass "the notes window is 'Notes - My notes' and the delete question asks Yes or No"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
