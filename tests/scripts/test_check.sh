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

# Errors: no folder, exit 2.
set +e; "$CHECK" "$WORK/nowhere" >/dev/null 2>&1; rc=$?; set -e
[ "$rc" = 2 ] || fail "missing folder: exit $rc, expected 2"
echo "test_check: all good"
