#!/usr/bin/env bash
# The media list printed through the real CUPS of scripts/cups.sh: the PDF the
# virtual printer writes holds every line of the list (compared with blanks
# squeezed, as PDF text extraction lays them out anew).
#
# The job goes to the explicitly named printer QuillonTest2 with a scratch
# HOME, so neither a user's lpoptions nor other tests' jobs get in the way.
# Fails when CI=true and CUPS is unavailable; skips otherwise.
set -uo pipefail
BIN=${1:?usage: test_cups_medialist.sh BINDIR}
TOOL=$BIN/quillon-medialist
QUEUE=${QUILLON_MEDIALIST_QUEUE:-QuillonTest2}
OUT_DIR=${QUILLON_PRINT_DIR:-/tmp/quillon-print}
PDF=$OUT_DIR/$QUEUE.pdf
export QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="*.debug=false"
unset LPDEST PRINTER

# shellcheck source=cups_common.sh
source "$(dirname "$0")/cups_common.sh"

[ -x "$TOOL" ] || fail "$TOOL is missing"
require_cups --pdf "$QUEUE"

make_scratch --home
DATA=$SCRATCH/data

timeout 60 "$TOOL" init "$DATA" || fail "cannot lay out a data folder"
STAMP="Q$$x$RANDOM"
LONG="Stamp $STAMP and a long name cut at thirty chars"
timeout 60 "$TOOL" add "$DATA" "$LONG" "2 - Analog Tape" "Ampex 456" "SN-$STAMP" "2500" 0 ||
  fail "cannot add a medium"
timeout 60 "$TOOL" add "$DATA" "O'Brien's disk" "1 - Harddisk" "Seagate" "HD-77" "500 GB" 1 ||
  fail "cannot add a separated medium"
timeout 60 "$TOOL" text "$DATA" >"$SCRATCH/list.txt" || fail "cannot build the list"
grep -q "deleted:  YES" "$SCRATCH/list.txt" || fail "the list has no separated medium"
[ "$(grep -c -- "^-\{100\}$" "$SCRATCH/list.txt")" -eq 4 ] || fail "the list lacks its rules"

touch "$SCRATCH/marker"
sleep 1 # file times have one-second steps on some file systems
out=$(timeout 120 "$TOOL" print "$DATA" "$QUEUE" 2>"$SCRATCH/err") ||
  fail "printing failed: $out $(cat "$SCRATCH/err")"

# Wait (bounded) for CUPS to write this job's PDF.
TEXT=$SCRATCH/pdf.txt
for _ in $(seq 1 300); do
  if [ -f "$PDF" ] && [ "$PDF" -nt "$SCRATCH/marker" ]; then
    if [ -r "$PDF" ]; then
      cp "$PDF" "$SCRATCH/list.pdf" 2>/dev/null
    else
      sudo -n cat "$PDF" >"$SCRATCH/list.pdf" 2>/dev/null ||
        unavailable "$PDF is not readable for $(id -un)"
    fi
    if pdftotext -layout "$SCRATCH/list.pdf" "$TEXT" 2>/dev/null && grep -q "SN-$STAMP" "$TEXT"; then
      break
    fi
  fi
  sleep 0.2
done
[ -s "$TEXT" ] && grep -q "SN-$STAMP" "$TEXT" || fail "no PDF of this job in $PDF within 60 s"

squeeze() { sed -e 's/[[:space:]]\+/ /g' -e 's/^ //' -e 's/ $//' -e '/^$/d' "$1"; }
squeeze "$TEXT" >"$SCRATCH/pdf.squeezed"
squeeze "$SCRATCH/list.txt" >"$SCRATCH/list.squeezed"
missing=0
while IFS= read -r line; do
  grep -qxF -- "$line" "$SCRATCH/pdf.squeezed" || { echo "missing in the PDF: $line"; missing=1; }
done <"$SCRATCH/list.squeezed"
[ "$missing" -eq 0 ] || fail "the PDF does not hold the list"
# The same lines in the same order.
grep -vxF -f "$SCRATCH/list.squeezed" "$SCRATCH/pdf.squeezed" >"$SCRATCH/extra" || true
[ ! -s "$SCRATCH/extra" ] || fail "the PDF holds more than the list: $(head -3 "$SCRATCH/extra")"
cut_line=$(printf '%s\n' "Name/No:  ${LONG:0:30}  -  2 - Analog Tape" | sed 's/[[:space:]]\+/ /g')
grep -qxF -- "$cut_line" "$SCRATCH/pdf.squeezed" ||
  fail "the long name is not cut to its first 30 characters"
grep -qF -- "${LONG:0:31}" "$TEXT" && fail "the long name was not cut to 30 characters"

echo "PASS: media list printed through CUPS on $QUEUE ($out)"
