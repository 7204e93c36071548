#!/usr/bin/env bash
# quillon-check end to end: a data folder with a deleted track row and an
# orphaned track row is reported (exit 1), repaired after a backup (exit 0),
# and every text typed before is still there afterwards.
set -euo pipefail
BIN="$1"
CHECK="$BIN/quillon-check"
command -v sqlite3 >/dev/null || { echo "sqlite3 missing"; exit 1; }
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
DATA="$WORK/data"
export QT_LOGGING_RULES='*.info=false;*.warning=false'

fail() { echo "FAIL: $*"; exit 1; }

# An empty folder: every file missing, exit 1; the repair lays them out.
mkdir "$DATA"
set +e; "$CHECK" "$DATA" >"$WORK/out" 2>&1; rc=$?; set -e
[ "$rc" = 1 ] || fail "empty folder: exit $rc, expected 1"
"$CHECK" "$DATA" --repair >"$WORK/out" 2>&1 || fail "laying out: $(cat "$WORK/out")"
"$CHECK" "$DATA" >"$WORK/out" 2>&1 || fail "fresh folder not clean: $(cat "$WORK/out")"

# Two songs with typed text; then the damage.
sqlite3 "$DATA/quillon.mdb" "INSERT INTO xtrax (songtitle, notiz1) VALUES ('Blue', 'blue note'), ('Gone', 'gone note');"
for n in 1 2 3 4 5 6 7 8 9 10; do
  sqlite3 "$DATA/trax$n.mdb" "INSERT INTO rd$n (songtitle, track1) VALUES ('Blue', 'blue $n'), ('Gone', 'gone $n');"
done
"$CHECK" "$DATA" >/dev/null 2>&1 || fail "consistent folder reported as damaged"
sqlite3 "$DATA/trax4.mdb" "DELETE FROM rd4 WHERE songtitle = 'Blue';"
sqlite3 "$DATA/quillon.mdb" "DELETE FROM xtrax WHERE songtitle = 'Gone';"

set +e; "$CHECK" "$DATA" >"$WORK/report" 2>&1; rc=$?; set -e
cat "$WORK/report"
[ "$rc" = 1 ] || fail "damaged folder: exit $rc, expected 1"
grep -q 'trax4.mdb: the song "Blue" has no track row' "$WORK/report" || fail "missing row not reported"
grep -q 'titled "Gone" belong to no song' "$WORK/report" || fail "orphan not reported"

"$CHECK" "$DATA" --repair >"$WORK/repair" 2>&1 || fail "repair: $(cat "$WORK/repair")"
cat "$WORK/repair"
grep -q 'After the repair: No problems found' "$WORK/repair" || fail "repair left problems"
"$CHECK" "$DATA" --thorough >/dev/null 2>&1 || fail "not clean after the repair"
ls "$DATA/backup" | grep -Eq '^[0-9]{4}-[0-9]{2}-[0-9]{2}' || fail "no backup made"

# Nothing typed is lost.
[ "$(sqlite3 "$DATA/quillon.mdb" "SELECT notiz1 FROM xtrax WHERE songtitle = 'Blue'")" = "blue note" ] || fail "Blue's note"
for n in 1 2 3 4 5 6 7 8 9 10; do
  [ "$(sqlite3 "$DATA/trax$n.mdb" "SELECT track1 FROM rd$n WHERE songtitle = 'Recovered Gone'")" = "gone $n" ] || fail "Gone's track in slot $n"
  [ "$n" = 4 ] && continue
  [ "$(sqlite3 "$DATA/trax$n.mdb" "SELECT track1 FROM rd$n WHERE songtitle = 'Blue'")" = "blue $n" ] || fail "Blue's track in slot $n"
done
[ "$(sqlite3 "$DATA/trax4.mdb" "SELECT count(*) FROM rd4 WHERE songtitle = 'Blue'")" = 1 ] || fail "Blue's row 4 not recreated"
# The backup still holds the folder as it was before the repair.
BACKUP="$(ls -d "$DATA"/backup/* | tail -1)"
[ "$(sqlite3 "$BACKUP/trax4.mdb" "SELECT count(*) FROM rd4 WHERE songtitle = 'Blue'")" = 0 ] || fail "backup is not the state before the repair"

# A fresh folder of its own for each case below.
fresh() {
  rm -rf "$1"; mkdir -p "$1"
  "$CHECK" "$1" --repair >/dev/null 2>&1 || fail "laying out $1"
}
backups() { find "$1/backup" -mindepth 1 -maxdepth 1 -name '20*' | sort; }

# The song database cut short: nothing can be repaired, so no run makes a
# backup, and the complete one made before the damage is never pruned.
D="$WORK/cut"; fresh "$D"
sqlite3 "$D/quillon.mdb" "INSERT INTO xtrax (songtitle) VALUES ('Kept');"
for n in 1 2 3 4 5 6 7 8 9 10; do sqlite3 "$D/trax$n.mdb" "INSERT INTO rd$n (songtitle) VALUES ('Kept');"; done
sqlite3 "$D/trax2.mdb" "INSERT INTO rd2 (songtitle) VALUES ('Lost');"
"$CHECK" "$D" --repair >/dev/null 2>&1 || fail "repair before the damage"
before="$(backups "$D")"
[ -n "$before" ] || fail "no backup before the damage"
truncate -s 6000 "$D/quillon.mdb"
for run in $(seq 1 15); do
  set +e; "$CHECK" "$D" --repair >"$WORK/out" 2>&1; rc=$?; set -e
  [ "$rc" = 1 ] || fail "cut database, run $run: exit $rc: $(cat "$WORK/out")"
done
grep -q 'no backup was made' "$WORK/out" || fail "cut database: $(cat "$WORK/out")"
[ "$(backups "$D")" = "$before" ] || fail "backups changed: $(backups "$D")"
last="$(echo "$before" | tail -1)"
[ "$(sqlite3 "$last/quillon.mdb" "SELECT count(*) FROM xtrax WHERE songtitle = 'Kept'")" = 1 ] || fail "backup lost the songs"

# Style files that are links to files elsewhere: reported, never written.
D="$WORK/links"; fresh "$D"
printf ' 9 \r\n' >"$WORK/other-stnum"
printf '"Rock*"\r\n' >"$D/styles.dat"
ln -s "$WORK/other-stnum" "$D/stnum.dat"
set +e; "$CHECK" "$D" --repair >"$WORK/out" 2>&1; rc=$?; set -e
[ "$rc" = 1 ] || fail "linked stnum.dat: exit $rc: $(cat "$WORK/out")"
grep -q 'stnum.dat: the entry is a link' "$WORK/out" || fail "link not reported: $(cat "$WORK/out")"
[ "$(cat "$WORK/other-stnum")" = "$(printf ' 9 \r\n')" ] || fail "the file behind the link was written"
[ -L "$D/stnum.dat" ] || fail "the link was replaced"

# A pipe in place of the song database: reported at once, not waited on.
D="$WORK/pipe"; fresh "$D"
rm "$D/quillon.mdb"; mkfifo "$D/quillon.mdb"
set +e; timeout 60 "$CHECK" "$D" --repair >"$WORK/out" 2>&1; rc=$?; set -e
[ "$rc" != 124 ] || fail "quillon-check waited on a pipe"
grep -q 'quillon.mdb: the entry is a pipe' "$WORK/out" || fail "pipe not reported: $(cat "$WORK/out")"

# A song table without a column of the schema: damage, and repaired.
D="$WORK/column"; fresh "$D"
sqlite3 "$D/quillon.mdb" "ALTER TABLE xtrax DROP COLUMN publisher;"
set +e; "$CHECK" "$D" >"$WORK/out" 2>&1; rc=$?; set -e
[ "$rc" = 1 ] || fail "missing column: exit $rc"
grep -q 'table xtrax lacks the column(s) publisher' "$WORK/out" || fail "column not reported: $(cat "$WORK/out")"
"$CHECK" "$D" --repair >"$WORK/out" 2>&1 || fail "column repair: $(cat "$WORK/out")"

# A title twice in different case: the repaired title gets its key too.
D="$WORK/twice"; fresh "$D"
for t in blue BLUE; do
  sqlite3 "$D/quillon.mdb" "INSERT INTO xtrax (songtitle) VALUES ('$t');"
  for n in 1 2 3 4 5 6 7 8 9 10; do sqlite3 "$D/trax$n.mdb" "INSERT INTO rd$n (songtitle) VALUES ('$t');"; done
done
sqlite3 "$D/quillon.mdb" "CREATE TABLE songkey (key TEXT NOT NULL, songtitle TEXT NOT NULL, PRIMARY KEY (key, songtitle)) WITHOUT ROWID; INSERT INTO songkey SELECT upper(trim(songtitle)), songtitle FROM xtrax;"
"$CHECK" "$D" --repair >"$WORK/out" 2>&1 || fail "duplicate repair: $(cat "$WORK/out")"
[ "$(sqlite3 "$D/quillon.mdb" "SELECT key FROM songkey WHERE songtitle = 'BLUE (2)'")" = "BLUE (2)" ] || fail "repaired title has no key"

# Errors: no folder, exit 2.
set +e; "$CHECK" "$WORK/nowhere" >/dev/null 2>&1; rc=$?; set -e
[ "$rc" = 2 ] || fail "missing folder: exit $rc, expected 2"
echo "test_check: all good"
