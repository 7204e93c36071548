#!/usr/bin/env bash
# quillon-find end to end: exit codes, the note about an incomplete index,
# --build, and one tab-separated line per hit (kind, subject, slot, track,
# context) even where the text itself holds a tab.
set -euo pipefail
BIN="$1"
FIND="$BIN/quillon-find"
command -v sqlite3 >/dev/null || { echo "sqlite3 missing"; exit 1; }
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
DATA="$WORK/data"
export QT_LOGGING_RULES='*.debug=false;*.info=false;*.warning=false'

fail() { echo "FAIL: $*"; exit 1; }
# find EXPECTED_EXIT ARGS...: runs quillon-find, output in $WORK/out and $WORK/err.
find() {
  local want="$1"; shift
  set +e; "$FIND" "$@" >"$WORK/out" 2>"$WORK/err"; local rc=$?; set -e
  [ "$rc" = "$want" ] || fail "quillon-find $*: exit $rc, expected $want: $(cat "$WORK/err")"
}

mkdir "$DATA"
"$BIN/quillon-check" "$DATA" --repair >/dev/null 2>&1 || fail "laying out the folder"
# Written around the program, as a catalogue from before the index is.
sqlite3 "$DATA/quillon.mdb" "INSERT INTO xtrax (songtitle, notiz1) VALUES ('Blue Night', 'quasar note');"
for n in 1 2 3 4 5 6 7 8 9 10; do
  sqlite3 "$DATA/trax$n.mdb" "INSERT INTO rd$n (songtitle) VALUES ('Blue Night');"
done
sqlite3 "$DATA/trax3.mdb" "UPDATE rd3 SET track37 = 'quasar' || char(9) || 'talkbox' WHERE songtitle = 'Blue Night';"
sqlite3 "$DATA/tape.mdb" "INSERT INTO Tape (bandnummer, brandname) VALUES ('Quasar Reel', 'Ampex');"

find 0 --help
grep -q -- '--build' "$WORK/out" || fail "--help does not name --build"
find 0 --version
grep -q '^quillon-find ' "$WORK/out" || fail "--version: $(cat "$WORK/out")"
find 2 --data "$DATA"
find 2 --data "$DATA" '!?'
find 2 --data "$DATA" --limit 0 quasar
find 2 --data "$DATA" --bogus quasar
find 2 --data "$WORK/missing" quasar
find 2 --data "$DATA" --catalogue 'not a uri' quasar

# No index yet: nothing found, and said so.
find 1 --data "$DATA" quasar
grep -q 'search index is not complete' "$WORK/err" || fail "incomplete index not told: $(cat "$WORK/err")"

find 0 --data "$DATA" --build quasar
[ ! -s "$WORK/err" ] || fail "stderr after --build: $(cat "$WORK/err")"
[ "$(wc -l <"$WORK/out")" = 3 ] || fail "three hits expected: $(cat "$WORK/out")"
[ -z "$(awk -F'\t' 'NF != 5' "$WORK/out")" ] || fail "not five fields a line: $(cat "$WORK/out")"
grep -qxP 'Track\tBlue Night\t3\t37\tquasar talkbox' "$WORK/out" || fail "track hit: $(cat "$WORK/out")"
grep -qxP 'Note\tBlue Night\t0\t0\tquasar note' "$WORK/out" || fail "note hit: $(cat "$WORK/out")"
grep -qP '^Medium\tQuasar Reel\t0\t0\t.*Quasar Reel' "$WORK/out" || fail "medium hit: $(cat "$WORK/out")"

# Complete now: no note, and a query without hits ends with 1.
find 1 --data "$DATA" "quasar nowhere"
[ ! -s "$WORK/out" ] && [ ! -s "$WORK/err" ] || fail "output without hits: $(cat "$WORK/out" "$WORK/err")"
find 0 --data "$DATA" --limit 1 '"quasar talkbox"'
[ "$(wc -l <"$WORK/out")" = 1 ] || fail "phrase: $(cat "$WORK/out")"
echo "quillon-find: all good"
