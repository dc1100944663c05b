#!/usr/bin/env bash
# The address book with keys only: F3, past the first-run notice, Ctrl+N, a
# name and a mail address, Enter; the contact is in the file. Ctrl+M hands
# its address to the desktop's mail program (a stub xdg-open that records
# the link it is given) as one escaped mailto: link. A vCard file of
# another program comes in through the menu, with the mouse, and the file
# dialog, with keys.
source "$(dirname "$0")/lib.sh" "$1"
mkdir -p "$WORK/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$WORK/links" >"$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"
write_settings
start_x
start_app
wait_trace "list painted: poznamky"
xdotool key F3
wait_trace "box text: Adresár bol spustený prvýkrát" 5
mark=$(trace_mark)
xdotool key Return
wait_for 5 bash -c "tail -n +$((mark + 1)) '$TRACE' | grep -q 'active: adresar'" || fail "the address book did not take the focus back"
wait_for 5 title_is "Adresár - Moje kontakty" || fail "the address book has no focus"
xdotool key ctrl+n
wait_trace "active: formzaznam" 5
wait_for 5 title_is "Nový záznam" || fail "the editor has no focus"
xdotool type --delay 20 "Jan"
xdotool key Tab
xdotool type --delay 20 "Novak"
# Past street, postcode, town, country, two telephones, three mobiles and
# the fax to the first mail address.
for _ in 1 2 3 4 5 6 7 8 9 10 11; do xdotool key Tab; done
xdotool type --delay 20 "jan&co@example.sk"
xdotool key Return
db="$HOME_DIR/data/Addressbook.dbf"
wait_for 5 query_is "$db" 'SELECT meno, priezvisko, mail1, viditelnost FROM mojekontakty' "Jan|Novak|jan&co@example.sk|1" || fail "the contact row is $(sqlite3 "$db" 'SELECT * FROM mojekontakty')"
pass "the contact typed with keys is in the file"

wait_for 5 title_is "Adresár - Moje kontakty" || fail "the address book did not come back"
xdotool key ctrl+m
wait_for 5 test -s "$WORK/links" || fail "no link reached the mail program"
[ "$(cat "$WORK/links")" = "mailto:jan%26co@example.sk" ] || fail "the mail program got $(cat "$WORK/links")"
pass "Ctrl+M handed the address over as one escaped mailto: link"

printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nov\xc3\xa1kov\xc3\xa1;Eva;;;\r\nTEL;TYPE=CELL:0905 111 222\r\nBDAY:1985-03-07\r\nEND:VCARD\r\n' >"$WORK/eva.vcf"
mark=$(trace_mark)
menu=$mark
click_on "adresar/adresarmenu"
point_at "adresarmenu/inport" "$menu"
click_on "inport/importvcardcsv" "$menu"
wait_for 10 title_is "Importovať vCard / CSV…" || fail "no file dialog: '$(focused_title)'"
xdotool type --delay 20 "$WORK/eva.vcf"
xdotool key Return
# The card has a date of birth: the question, answered with the mouse.
wait_for 10 title_is "Inport" || fail "no question about the birthdays: '$(focused_title)'"
click_on "importvizitiek/narodeniny" "$mark"
click_on "importvizitiek/importovat" "$mark"
wait_for 10 query_is "$db" "SELECT count(*) FROM mojekontakty WHERE meno='Eva' AND mob1='0905 111 222'" 1 ||
    fail "the card was not imported: $(sqlite3 "$db" 'SELECT meno, priezvisko, mob1 FROM mojekontakty')"
wait_trace_after "$mark" "box text: Inport bol úspešne dokončený. Počet inportovaných záznamov: 1 | Do narodenín pridaných: 1"
query_is "$HOME_DIR/data/Birth.dbf" "SELECT narodenie FROM narodky WHERE viditelnost=1" "1985-03-07 00:00:00" ||
    fail "the date of birth is not in the birthdays: $(sqlite3 "$HOME_DIR/data/Birth.dbf" 'SELECT * FROM narodky')"
pass "a vCard file came in through the menu and the file dialog, its date of birth into the birthdays"
xdotool key Return
kill -TERM "$APP_PID"; wait "$APP_PID" || true
