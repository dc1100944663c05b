#!/usr/bin/env bash
# A birthday of today in the file: the program names the person in a box as
# it starts, and a second person makes it a list.
source "$(dirname "$0")/lib.sh" "$1"
write_settings
mkdir -p "$HOME_DIR/data"
# The files hold their text in the 8-bit code page of Central Europe.
iconv -f UTF-8 -t CP1250 <<SQL | sqlite3 "$HOME_DIR/data/Birth.dbf"
CREATE TABLE narodky([id] INTEGER PRIMARY KEY, [meno] varchar(30),[poradie] datetime,[narodenie] datetime,[viditelnost] INTEGER);
INSERT INTO narodky(meno,poradie,narodenie,viditelnost)
VALUES('Anna "Ančka" Nová','2000-$(date +%m-%d) 00:00:00','1990-$(date +%m-%d) 00:00:00',1),
       ('v koši','2000-$(date +%m-%d) 00:00:00','1990-$(date +%m-%d) 00:00:00',0);
SQL
start_x
start_app
wait_for 15 xdotool search --onlyvisible --name '^Upozornenie!$' || fail "no notice box"
wait_trace 'box text: Dnes má narodeniny Anna "Ančka" Nová$' 5
pass "the notice names today's person, and not the one in the bin"
box=$(xdotool search --onlyvisible --name '^Upozornenie!$' | head -n 1)
xdotool windowfocus --sync "$box" key Return
wait_trace "active: poznamky" 10
pass "answered, the notice gives way to the last window"
kill -TERM "$APP_PID"; wait "$APP_PID" || true
