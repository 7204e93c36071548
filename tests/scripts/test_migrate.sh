#!/usr/bin/env bash
# quillon-migrate end to end on the private test cluster (QUILLON_TEST_PG):
# data folder -> server -> server -> data folder gives the same rows in every
# table; a non-empty target is refused without --replace and left alone; a
# failed copy leaves the target untouched; --init lays out a catalogue that a
# login with nothing but SELECT, INSERT, UPDATE and DELETE can work on, its
# password coming from PGPASSWORD and never from the address. quillon-check
# checks a catalogue on a server and repairs it after a backup into the data
# folder.
set -euo pipefail
BIN="$1"
MIGRATE="$BIN/quillon-migrate"
[ -n "${QUILLON_TEST_PG:-}" ] || { echo "QUILLON_TEST_PG not set (scripts/postgres.sh start)"; exit 1; }
command -v psql >/dev/null || { echo "psql missing"; exit 1; }
WORK="$(mktemp -d)"
DB1="quillon_mig_$$_a"
DB2="quillon_mig_$$_b"
DB3="quillon_mig_$$_c"
DB4="quillon_mig_$$_d"
admin() { psql -qAt "$QUILLON_TEST_PG" -v ON_ERROR_STOP=1 "$@"; }
adb() { local d="$1"; shift; psql -qAt "${QUILLON_TEST_PG%/*}/$d" -v ON_ERROR_STOP=1 "$@"; }
cleanup() {
  for d in "$DB1" "$DB2" "$DB3" "$DB4"; do admin -c "DROP DATABASE IF EXISTS $d WITH (FORCE)" >/dev/null 2>&1 || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT
export QT_LOGGING_RULES='*.info=false;*.warning=false'
export PGOPTIONS="--client-min-messages=warning"
fail() { echo "FAIL: $*"; exit 1; }
on() { echo "${QUILLON_TEST_PG%/*}/$1"; }
for d in "$DB1" "$DB2" "$DB3"; do admin -c "CREATE DATABASE $d"; done

# A folder with songs, media, devices and styles, and text that SQL would choke on.
"$BIN/quillon-datagen" "$WORK/src" 200 >/dev/null 2>&1
sqlite3 "$WORK/src/quillon.mdb" "UPDATE xtrax SET notiz1 = 'it''s \"quoted\"; DROP TABLE xtrax; -- ß é 日本' WHERE rowid = 3; UPDATE xtrax SET notiz2 = NULL WHERE rowid = 4; UPDATE xtrax SET notiz2 = '' WHERE rowid = 5;"
"$BIN/quillon-check" "$WORK/src" >/dev/null || fail "source not sound"

sums() { awk -F'\t' -v col="$2" '$1 ~ /^(xtrax|rd[0-9]+|Tape|recdev|note1|stnum|styles)$/ { print $1, $col }' "$1"; }
"$MIGRATE" "$WORK/src" "$(on "$DB1")" >"$WORK/1" || fail "folder -> server: $(cat "$WORK/1")"
"$MIGRATE" "$(on "$DB1")" "$(on "$DB2")" >"$WORK/2" || fail "server -> server: $(cat "$WORK/2")"
"$MIGRATE" "$(on "$DB2")" "$WORK/back" >"$WORK/3" || fail "server -> folder: $(cat "$WORK/3")"
[ "$(sums "$WORK/1" 4)" = "$(sums "$WORK/3" 5)" ] || fail "round trip changed rows: $(diff <(sums "$WORK/1" 4) <(sums "$WORK/3" 5))"
[ "$(sums "$WORK/1" 4 | wc -l)" = 16 ] || fail "not every table was summed"
"$BIN/quillon-check" "$WORK/back" >/dev/null || fail "copied folder not sound"
[ "$(sqlite3 "$WORK/back/quillon.mdb" "SELECT notiz1 FROM xtrax WHERE rowid = 3")" = "it's \"quoted\"; DROP TABLE xtrax; -- ß é 日本" ] || fail "awkward text changed"
[ "$(sqlite3 "$WORK/back/quillon.mdb" "SELECT notiz2 IS NULL, notiz2 = '' FROM xtrax WHERE rowid IN (4, 5) ORDER BY rowid")" = "1|
0|1" ] || fail "null and empty text not told apart"

# A non-empty target is refused and left alone; --replace overwrites it.
adb "$DB1" -c "DELETE FROM \"Tape\" WHERE rowid > 10"
set +e; "$MIGRATE" "$WORK/src" "$(on "$DB1")" >"$WORK/4" 2>&1; rc=$?; set -e
[ "$rc" = 1 ] || fail "non-empty server target: exit $rc"
[ "$(adb "$DB1" -c 'SELECT count(*) FROM "Tape"')" = 10 ] || fail "refused target was changed"
set +e; "$MIGRATE" "$(on "$DB2")" "$WORK/back" >"$WORK/5" 2>&1; rc=$?; set -e
[ "$rc" = 1 ] || fail "non-empty folder target: exit $rc"
"$MIGRATE" --replace "$WORK/src" "$(on "$DB1")" >/dev/null || fail "--replace refused"
[ "$(adb "$DB1" -c 'SELECT count(*) FROM "Tape"')" = "$(sqlite3 "$WORK/src/tape.mdb" 'SELECT count(*) FROM Tape')" ] || fail "--replace did not copy"

# A copy that fails midway (titles the server's keys cannot hold) leaves the target as it was.
sqlite3 "$WORK/src/quillon.mdb" "UPDATE xtrax SET songtitle = upper(songtitle) WHERE rowid = 2; UPDATE xtrax SET songtitle = lower((SELECT songtitle FROM xtrax WHERE rowid = 2)) WHERE rowid = 3;"
for n in 1 2 3 4 5 6 7 8 9 10; do
  sqlite3 "$WORK/src/trax$n.mdb" "UPDATE rd$n SET songtitle = upper(songtitle) WHERE rowid = 2; UPDATE rd$n SET songtitle = lower((SELECT songtitle FROM rd$n WHERE rowid = 2)) WHERE rowid = 3;"
done
before=$(adb "$DB1" -c 'SELECT count(*), max(songtitle) FROM xtrax')
set +e; "$MIGRATE" --replace "$WORK/src" "$(on "$DB1")" >"$WORK/6" 2>&1; rc=$?; set -e
[ "$rc" = 1 ] || fail "duplicate keys copied: exit $rc"
grep -q "letter case" "$WORK/6" || fail "no reason given: $(cat "$WORK/6")"
[ "$(adb "$DB1" -c 'SELECT count(*), max(songtitle) FROM xtrax')" = "$before" ] || fail "failed copy changed the target"

# --init with an owner and a least-privilege login; the login works through the program's store.
admin -c "DROP ROLE IF EXISTS quillon_owner_$$" -c "CREATE ROLE quillon_owner_$$ NOLOGIN"
"$MIGRATE" --init "$(on "$DB3")" --owner "quillon_owner_$$" --grant quillon_pw >/dev/null || fail "--init"
set +e; "$MIGRATE" --init "$(on "$DB3")" >/dev/null 2>&1; rc=$?; set -e
[ "$rc" = 1 ] || fail "second --init: exit $rc"
[ "$(adb "$DB3" -c "SELECT count(*) FROM pg_tables WHERE tableowner = 'quillon_owner_$$'")" = 21 ] || fail "owner not set"
APP="postgresql://quillon_pw@${QUILLON_TEST_PG#*@}"
APP="${APP%/*}/$DB3"
set +e; "$MIGRATE" "$WORK/back" "$APP" >"$WORK/7" 2>&1; rc=$?; set -e
[ "$rc" = 1 ] && grep -qi "refused the login" "$WORK/7" || fail "login without a password: exit $rc $(cat "$WORK/7")"
"$MIGRATE" --replace "$WORK/src" "$(on "$DB3")" >/dev/null 2>&1 && fail "duplicate-key source accepted"
grep -q "quillon-pw" "$WORK/7" && fail "password shown"
# Filling the catalogue is the owner's work; the login can read it back.
"$MIGRATE" "$WORK/back" "$(on "$DB3")" >/dev/null || fail "copy into the laid-out catalogue"
PGPASSWORD=quillon-pw "$MIGRATE" "$APP" "$WORK/again" >"$WORK/8" 2>&1 || fail "reading back as the app login: $(cat "$WORK/8")"
[ "$(sums "$WORK/8" 5)" = "$(sums "$WORK/1" 4)" ] || fail "read back as the app login differs"
# The app login checks and repairs the catalogue, too (rows and keys only).
adb "$DB3" -c "DELETE FROM rd7 WHERE rowid = 3"
PGPASSWORD=quillon-pw "$BIN/quillon-check" "$APP" --data "$WORK/appdata" --repair >"$WORK/8b" 2>&1 || fail "repair as the app login: $(cat "$WORK/8b")"
PGPASSWORD=quillon-pw "$BIN/quillon-check" "$APP" >/dev/null 2>&1 || fail "not sound after the app login's repair"
adb "$DB3" -c "DROP OWNED BY quillon_owner_$$" >/dev/null 2>&1 || true
admin -c "DROP DATABASE $DB3 WITH (FORCE)" -c "DROP ROLE IF EXISTS quillon_owner_$$" >/dev/null 2>&1 || true

# quillon-check on a server: sound, then a deleted track row found, repaired
# after a backup folder appears, and sound again.
CHECK="$BIN/quillon-check"
admin -c "CREATE DATABASE $DB4"
"$MIGRATE" "$WORK/back" "$(on "$DB4")" >/dev/null || fail "copy for the check"
"$CHECK" "$(on "$DB4")" >"$WORK/9" 2>&1 || fail "sound server catalogue: $(cat "$WORK/9")"
"$CHECK" --thorough "$(on "$DB4")" | grep -q "no SQLite page check" || fail "--thorough on a server"
title="$(adb "$DB4" -c "SELECT songtitle FROM xtrax WHERE rowid = 2")"
adb "$DB4" -c "DELETE FROM rd4 WHERE songtitle = (SELECT songtitle FROM xtrax WHERE rowid = 2)"
set +e; "$CHECK" "$(on "$DB4")" >"$WORK/10" 2>&1; rc=$?; set -e
[ "$rc" = 1 ] || fail "deleted track row: exit $rc: $(cat "$WORK/10")"
grep -qF "table rd4: the song \"$title\" has no track row" "$WORK/10" || fail "not reported: $(cat "$WORK/10")"
"$CHECK" "$(on "$DB4")" --data "$WORK/checkdata" --repair >"$WORK/11" 2>&1 || fail "repair: $(cat "$WORK/11")"
grep -q 'After the repair: No problems found' "$WORK/11" || fail "repair left problems: $(cat "$WORK/11")"
BACKUP="$(ls -d "$WORK"/checkdata/backup/20* | tail -1)"
[ -f "$BACKUP/.quillon-backup" ] || fail "no backup folder"
[ "$(sqlite3 "$BACKUP/trax4.mdb" "SELECT count(*) FROM rd4 WHERE songtitle = '$title'")" = 0 ] || fail "backup is not the state before the repair"
"$CHECK" --catalogue "$(on "$DB4")" "$WORK/checkdata" >/dev/null 2>&1 || fail "not sound after the repair"
[ "$(adb "$DB4" -c "SELECT count(*) FROM rd4 WHERE songtitle = '$title'")" = 1 ] || fail "row not added"
set +e; "$CHECK" "postgresql://nobody@127.0.0.1:1/none?connect_timeout=3" >/dev/null 2>&1; rc=$?; set -e
[ "$rc" = 2 ] || fail "unreachable server: exit $rc"
echo "migrate: all passed"
