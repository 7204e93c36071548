#!/usr/bin/env bash
# The studio equipment list printed from the print dialog through the real
# CUPS of scripts/cups.sh: the PDF the virtual printer writes holds the header
# block, the column headings and one row per device of the register.
#
# The job goes to QuillonTest2, made the default for a user with a scratch
# home, so it cannot mix with jobs other tests send to the real default.
# Fails when CI=true and CUPS is unavailable; skips otherwise.
set -uo pipefail
BIN=${1:?usage: test_cups_equipmentlist.sh BINDIR}
TOOL=$BIN/quillon-printers
QUEUE=QuillonTest2
OUT_DIR=${QUILLON_PRINT_DIR:-/tmp/quillon-print}
PDF=$OUT_DIR/$QUEUE.pdf
export QT_QPA_PLATFORM=offscreen
# A destination named in the environment would override the user's default.
unset LPDEST PRINTER

# shellcheck source=cups_common.sh
source "$(dirname "$0")/cups_common.sh"

[ -x "$TOOL" ] || fail "$TOOL is missing"
require_cups --pdf "$QUEUE"

make_scratch --home
DATA=$SCRATCH/data

sql() {
  if command -v sqlite3 >/dev/null; then
    sqlite3 "$1" "$2"
  else
    python3 -c 'import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); [print("|".join("" if v is None else str(v) for v in r)) for r in c.execute(sys.argv[2])]; c.commit()' "$1" "$2"
  fi
}

timeout 60 "$TOOL" init-data "$DATA" 2>/dev/null || fail "cannot lay out a data folder"
# Serial numbers unique to this run, so the PDF is known to be this job's.
STAMP="Q$$"
sql "$DATA/recdev.mdb" "UPDATE recdev SET SerialNr = 'SN-$STAMP-' || rowid, Purchasedon = '04-05-2001' WHERE rowid <= 3" ||
  fail "cannot fill the device register"
sql "$DATA/recdev.mdb" "UPDATE recdev SET name = 'A Very Long Equipment Name Cut Here' WHERE rowid = 4" ||
  fail "cannot fill the device register"
mapfile -t NAMES < <(sql "$DATA/recdev.mdb" "SELECT name FROM recdev ORDER BY rowid")
[ ${#NAMES[@]} -ge 1 ] || fail "the register is empty"

out=$(timeout 60 "$TOOL" choose "$QUEUE" 2>"$SCRATCH/err") ||
  fail "cannot make $QUEUE the default: $out $(cat "$SCRATCH/err")"

touch "$SCRATCH/marker"
sleep 1 # file times have one-second steps on some file systems
out=$(timeout 120 "$TOOL" print-equipment "$DATA" 2>"$SCRATCH/err") ||
  fail "printing failed: $out $(cat "$SCRATCH/err")"
echo "$out" | grep -qx "Actual Printer: $QUEUE" || fail "print dialog label: $out"

# Wait (bounded) for CUPS to write this job's PDF.
TEXT=$SCRATCH/list.txt
for _ in $(seq 1 300); do
  if [ -f "$PDF" ] && [ "$PDF" -nt "$SCRATCH/marker" ]; then
    # cupsd writes the file for root alone; a plain user reads it through sudo.
    if [ -r "$PDF" ]; then
      cp "$PDF" "$SCRATCH/list.pdf" 2>/dev/null
    else
      sudo -n cat "$PDF" >"$SCRATCH/list.pdf" 2>/dev/null ||
        unavailable "$PDF is not readable for $(id -un)"
    fi
    if pdftotext -layout "$SCRATCH/list.pdf" "$TEXT" 2>/dev/null && grep -q "SN-$STAMP-1" "$TEXT"; then
      break
    fi
  fi
  sleep 0.2
done
[ -s "$TEXT" ] && grep -q "SN-$STAMP-1" "$TEXT" || fail "no PDF of this job in $PDF within 60 s"

line_with() { grep -nE "$1" "$TEXT" | head -1 | cut -d: -f1; }
n_top=$(line_with "^ *_{77} *$") ; [ -n "$n_top" ] || fail "no line of 77 underscores"
n_title=$(line_with "List of studioequipement[0-9]{2}-[0-9]{2}-[0-9]{4}[0-9]{2}:[0-9]{2}:[0-9]{2}")
[ -n "$n_title" ] || fail "no title with date and time: $(head -5 "$TEXT")"
n_rule=$(line_with "^ *_{70} *$") ; [ -n "$n_rule" ] || fail "no line of 70 underscores"
n_head=$(line_with "Type +Serial Nr\. +Purchased") ; [ -n "$n_head" ] || fail "no column headings"
n_dash=$(line_with "^ *-{77} *$") ; [ -n "$n_dash" ] || fail "no line of 77 hyphens"
[ "$n_top" -lt "$n_title" ] && [ "$n_title" -lt "$n_rule" ] && [ "$n_rule" -lt "$n_head" ] &&
  [ "$n_head" -lt "$n_dash" ] || fail "header lines out of order"

# One row per device, in register order, below the hyphens.
tail -n +"$((n_dash + 1))" "$TEXT" | sed '/^[[:space:]]*$/d;/^\f/d' >"$SCRATCH/rows.txt"
rows=$(wc -l <"$SCRATCH/rows.txt")
[ "$rows" -eq ${#NAMES[@]} ] || fail "expected ${#NAMES[@]} rows, found $rows: $(cat "$SCRATCH/rows.txt")"
i=0
while IFS= read -r row; do
  name=${NAMES[$i]:0:25}
  name=${name%"${name##*[! ]}"}
  case "$row" in
    *"$name"*) ;;
    *) fail "row $((i + 1)) '$row' does not start with '$name'" ;;
  esac
  i=$((i + 1))
done <"$SCRATCH/rows.txt"
grep -qE "SN-$STAMP-1 +04-05-2001" "$SCRATCH/rows.txt" || fail "serial number and purchase date missing"
grep -q "A Very Long Equipment Nam" "$SCRATCH/rows.txt" || fail "long name missing"
grep -q "Cut Here" "$SCRATCH/rows.txt" && fail "the long name was not cut to 25 characters"

echo "PASS: equipment list printed through CUPS with $rows rows"
