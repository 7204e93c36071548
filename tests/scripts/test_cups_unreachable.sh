#!/usr/bin/env bash
# With the print service out of reach (CUPS_SERVER names a port where
# nothing listens) the printouts that go straight to the default printer
# tell the user that no printer is available instead of ending silently:
# the track sheet's print options and the studio equipment list. The tool
# prints an opened message box to stderr and exits with 3. Needs no CUPS.
set -uo pipefail
BIN=${1:?usage: test_cups_unreachable.sh BINDIR}
TOOL=$BIN/quillon-printers
export QT_QPA_PLATFORM=offscreen
export CUPS_SERVER=127.0.0.1:9
unset LPDEST PRINTER

# shellcheck source=cups_common.sh
source "$(dirname "$0")/cups_common.sh"

[ -x "$TOOL" ] || fail "$TOOL is missing"
make_scratch --home

for command in print-tracksheet print-equipment; do
  out=$(timeout 60 "$TOOL" "$command" "$SCRATCH/data" 2>&1)
  rc=$?
  [ $rc -eq 3 ] || fail "$command: expected the message box (exit 3), got $rc: $out"
  echo "$out" | grep -q "message: No printer is available" ||
    fail "$command: no 'No printer is available' message: $out"
  echo "$command: $(echo "$out" | grep "message:")"
done
echo "PASS: a missing print service is said"
