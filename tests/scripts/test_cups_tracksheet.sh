#!/usr/bin/env bash
# Prints a sample track sheet through the real CUPS queue (the default
# printer, a virtual PDF printer set up by scripts/cups.sh) and checks that
# the job's PDF has eight pages. In CI a missing CUPS is a failure; on a
# developer machine without it the test is skipped with a note.
set -euo pipefail
BIN=${1:?usage: test_cups_tracksheet.sh <bin dir>}
TOOL="$BIN/quillon-print-sample"
OUT=${QUILLON_PRINT_DIR:-/tmp/quillon-print}

unavailable() {
  if [ "${CI:-}" = "true" ]; then
    echo "FAIL: $1" >&2
    exit 1
  fi
  echo "SKIP: $1 (run scripts/cups.sh first)"
  exit 0
}

[ -x "$TOOL" ] || { echo "FAIL: $TOOL is missing" >&2; exit 1; }
command -v lpstat >/dev/null || unavailable "lpstat is not installed"
command -v pdfinfo >/dev/null || unavailable "pdfinfo is not installed"
lpstat -r 2>/dev/null | grep -q "is running" || unavailable "the CUPS scheduler is not running"
PRINTER=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
[ -n "$PRINTER" ] || unavailable "there is no default printer"
PDF="$OUT/$PRINTER.pdf"

# Remember the file's age so an older printout is never taken for ours.
before=$(stat -c %Y "$PDF" 2>/dev/null || echo 0)
start=$(date +%s)

"$TOOL"

# Wait (bounded) until the queue has no pending job and the file is newer.
done_ok=""
for _ in $(seq 1 120); do
  if [ -z "$(lpstat -o "$PRINTER" 2>/dev/null)" ] && [ -f "$PDF" ]; then
    now=$(stat -c %Y "$PDF" 2>/dev/null || echo 0)
    if [ "$now" -ge "$start" ] && [ "$now" != "$before" ]; then
      done_ok=yes
      break
    fi
  fi
  sleep 0.5
done
[ -n "$done_ok" ] || { echo "FAIL: the job did not reach $PDF within 60 s" >&2; lpstat -o "$PRINTER" >&2 || true; exit 1; }

# cupsd writes the file for root only; read it through sudo when needed.
PDFINFO=(pdfinfo)
if [ ! -r "$PDF" ] && [ "$(id -u)" -ne 0 ] && sudo -n true 2>/dev/null; then
  PDFINFO=(sudo -n pdfinfo)
fi

# The file may be written in a last flush after the job left the queue.
pages=""
for _ in $(seq 1 20); do
  pages=$("${PDFINFO[@]}" "$PDF" 2>/dev/null | sed -n 's/^Pages: *//p')
  [ -n "$pages" ] && break
  sleep 0.5
done
title=$("${PDFINFO[@]}" "$PDF" 2>/dev/null | sed -n 's/^Title: *//p')
echo "printed on $PRINTER: $pages pages, title '$title'"
[ "$pages" = "8" ] || { echo "FAIL: expected 8 pages, got '${pages:-none}'" >&2; exit 1; }
case "$title" in
  *"Track Sheet"*) ;;
  *) echo "FAIL: the PDF is not the track sheet job (title '$title')" >&2; exit 1 ;;
esac
echo "PASS"
