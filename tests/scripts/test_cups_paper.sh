#!/usr/bin/env bash
# Printouts through the real CUPS queue of scripts/cups.sh take the paper of
# the printer they go to, and the print dialog's page choices are applied
# once: the program prints exactly the chosen pages and CUPS does not select
# again.
#   1. The track sheet on the queue's own paper (Letter, the driver's default).
#   2. The same queue set to A4 for the user (lpoptions): the sheet is A4.
#   3. A six-page document with the dialog's pages 2-6, odd pages: pages 3 and 5.
#   4. Print to File (PDF) with the page list 1,3: pages 1 and 3 in the file.
# The user's options live in a scratch home, so nobody's defaults change.
# Fails when CI=true and CUPS is unavailable; skips otherwise.
set -uo pipefail
BIN=${1:?usage: test_cups_paper.sh BINDIR}
TOOL=$BIN/quillon-print-sample
OUT=${QUILLON_PRINT_DIR:-/tmp/quillon-print}
QUEUE=QuillonTest
export QT_QPA_PLATFORM=offscreen
unset LPDEST PRINTER

# shellcheck source=cups_common.sh
source "$(dirname "$0")/cups_common.sh"

[ -x "$TOOL" ] || fail "$TOOL is missing"
command -v pdfinfo >/dev/null || unavailable "pdfinfo is not installed"
require_cups --pdf "$QUEUE"
make_scratch --home
timeout 20 lpoptions -d "$QUEUE" >/dev/null || fail "cannot make $QUEUE the default"

PDF=$OUT/$QUEUE.pdf
AS_ROOT=()
[ "$(id -u)" -ne 0 ] && sudo -n true 2>/dev/null && AS_ROOT=(sudo -n)

# Prints through the queue with the tool's arguments and leaves the job's
# PDF in $SCRATCH/job.pdf.
print_job() {
  "${AS_ROOT[@]}" rm -f "$PDF"
  timeout 60 "$TOOL" "$@" >/dev/null 2>"$SCRATCH/err" || fail "printing $* failed: $(cat "$SCRATCH/err")"
  local _
  for _ in $(seq 1 120); do
    if [ -z "$(timeout 20 lpstat -o "$QUEUE" 2>/dev/null)" ] && "${AS_ROOT[@]}" test -s "$PDF"; then
      # The file may still get a last flush; wait until pdfinfo reads it.
      if "${AS_ROOT[@]}" pdfinfo "$PDF" >/dev/null 2>&1; then
        "${AS_ROOT[@]}" cat "$PDF" >"$SCRATCH/job.pdf"
        return 0
      fi
    fi
    sleep 0.5
  done
  fail "the job for '$*' did not reach $PDF"
}

page_size() { pdfinfo "$1" | sed -n 's/^Page size: *//p'; }
pages() { pdfinfo "$1" | sed -n 's/^Pages: *//p'; }
words() { pdftotext "$1" - | tr -s '\n\f ' ' ' | sed 's/^ *//; s/ *$//'; }

print_job --page 1
size=$(page_size "$SCRATCH/job.pdf")
echo "track sheet on $QUEUE: $size"
case "$size" in 612\ x\ 792*) ;; *) fail "expected Letter (612 x 792), got '$size'" ;; esac

timeout 20 lpoptions -p "$QUEUE" -o PageSize=A4 >/dev/null || fail "cannot set A4 for the user"
print_job --page 1
size=$(page_size "$SCRATCH/job.pdf")
echo "track sheet on $QUEUE set to A4: $size"
case "$size" in 595\ x\ 842*) ;; *) fail "expected A4 (595 x 842), got '$size'" ;; esac

print_job --document 6 --pages 2-6 --page-set odd
text=$(words "$SCRATCH/job.pdf")
echo "pages 2-6, odd: '$text'"
[ "$text" = "Page 3 Page 5" ] || fail "expected 'Page 3 Page 5', got '$text'"

timeout 60 "$TOOL" --document 5 --pages 1,3 --file "$SCRATCH/file.pdf" >/dev/null 2>"$SCRATCH/err" ||
  fail "printing to a file failed: $(cat "$SCRATCH/err")"
[ "$(pages "$SCRATCH/file.pdf")" = "2" ] || fail "the file has $(pages "$SCRATCH/file.pdf") pages, not 2"
text=$(words "$SCRATCH/file.pdf")
[ "$text" = "Page 1 Page 3" ] || fail "the file holds '$text'"
echo "print to file, pages 1,3: '$text'"

echo "PASS: paper and page choices through CUPS"
