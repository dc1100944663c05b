#!/usr/bin/env bash
# A language chosen through the menu with the mouse reaches the record
# windows and Qt's own buttons: the delete question asks "Áno" or "Nie" in
# Slovak and "Yes" or "No" in English. The save dialog of the language texts
# leaves the settings page in front.
source "$(dirname "$0")/lib.sh" "$1"
mkdir -p "$HOME_DIR/data"
sqlite3 "$HOME_DIR/data/Notes.dbf" <<'SQL'
CREATE TABLE tables([id] INTEGER PRIMARY KEY, [nametable] varchar(30),[captiontable] varchar(30),[viditelnost] INTEGER);
CREATE TABLE mojepoznamky([id] INTEGER PRIMARY KEY, [predmet] varchar(30),[obsah] text,[datum] datetime,[datumzmeny] datetime,[viditelnost] integer);
INSERT INTO tables(nametable,captiontable,viditelnost) VALUES('mojepoznamky','Moje poznámky',1);
INSERT INTO mojepoznamky(predmet,viditelnost) VALUES('Nákup',1);
SQL
write_settings
start_x
start_app
wait_trace "list painted: poznamky"

# Keys go to the window that has the focus: give it to the one meant.
press_in() {
    local window
    window=$(xdotool search --onlyvisible --name "$1" | head -n 1)
    [ -n "$window" ] || fail "no window '$1'"
    xdotool windowfocus --sync "$window" key "$2"
}

press_in '^Poznámky - Moje poznámky$' Delete
wait_trace "box buttons: Áno | Nie$" 5
press_in '^Potvrdenie odstránenia záznamu' Escape
pass "in Slovak, the delete question asks Áno or Nie"

# Writing the texts to a file: the save dialog, answered, leaves the
# settings page in front (no record window comes up behind it).
mark=$(trace_mark)
press_in '^Poznámky - Moje poznámky$' F12
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
! under_wm || [ "$(focused_title)" = "$MAIN_TITLE" ] ||
    fail "after the save dialog '$(focused_title)' has the focus"
pass "the texts are written and the settings page stays in front"

mark=$(trace_mark)
click_on "formvelmorand/Jazyky"
click_on "Jazyky/English" "$mark"
wait_trace "box text: The language was changed$" 5
press_in '^Operation successful$' Return
pass "English chosen with the mouse"

press_in "^$MAIN_TITLE\$" F1
wait_trace "active: poznamky Notes - My notes$" 5
press_in '^Notes - My notes$' Delete
wait_trace "box text: Do you really want to delete the record" 5
wait_trace "box buttons: Yes | No$" 5
pass "the notes window is 'Notes - My notes' and the delete question asks Yes or No"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
