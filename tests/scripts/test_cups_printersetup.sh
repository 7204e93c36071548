#!/usr/bin/env bash
# The printer choice against the machine's real CUPS with the two virtual
# printers of scripts/cups.sh: choosing the second printer in "Setup Printer"
# makes it the user's default (lpstat -d) and the dialog's label shows it;
# choosing the first again restores it. A failure to store the default shows
# "An error occured!".
#
# CUPS keeps a user's default in $HOME/.cups/lpoptions (root's too), so the
# test works as a user with a scratch home: the default of the real user,
# which other printing tests rely on, never changes. Fails when CI=true and
# CUPS is unavailable; skips otherwise.
set -uo pipefail
BIN=${1:?usage: test_cups_printersetup.sh BINDIR}
TOOL=$BIN/quillon-printers
export QT_QPA_PLATFORM=offscreen
# A destination named in the environment would override the user's default.
unset LPDEST PRINTER

# shellcheck source=cups_common.sh
source "$(dirname "$0")/cups_common.sh"

[ -x "$TOOL" ] || fail "$TOOL is missing"
require_cups QuillonTest QuillonTest2

make_scratch
USER_HOME=$SCRATCH/home
mkdir -p "$USER_HOME"

# Runs a command as the test's user (the given home), bounded in time.
as_user_home() {
  local home=$1
  shift
  timeout 60 env HOME="$home" "$@"
}
as_user() { as_user_home "$USER_HOME" "$@"; }
user_default() { as_user lpstat -d 2>/dev/null | sed -n 's/^.*destination: //p'; }
choose() { as_user "$TOOL" choose "$1" 2>"$SCRATCH/err"; }

real_before=$(timeout 20 lpstat -d 2>/dev/null)

list=$(as_user "$TOOL" list 2>/dev/null) || fail "listing printers failed"
echo "$list" | grep -qx QuillonTest || fail "QuillonTest not listed: $list"
echo "$list" | grep -qx QuillonTest2 || fail "QuillonTest2 not listed: $list"

# Start from QuillonTest as the user's default, as scripts/cups.sh leaves it.
out=$(choose QuillonTest) || fail "choosing QuillonTest failed: $out $(cat "$SCRATCH/err")"
[ "$(user_default)" = "QuillonTest" ] || fail "lpstat -d shows '$(user_default)', not QuillonTest"

# Choose the second printer.
out=$(choose QuillonTest2) || fail "choosing QuillonTest2 failed: $out $(cat "$SCRATCH/err")"
[ "$out" = "Current Printer: QuillonTest2" ] || fail "dialog label after choosing: '$out'"
[ "$(user_default)" = "QuillonTest2" ] || fail "lpstat -d shows '$(user_default)', not QuillonTest2"
grep -qx "Default QuillonTest2" "$USER_HOME/.cups/lpoptions" ||
  fail "the user's lpoptions do not name QuillonTest2"
[ "$(as_user "$TOOL" default 2>/dev/null)" = "QuillonTest2" ] ||
  fail "the program does not see the new default"
echo "chosen: lpstat -d -> $(user_default)"

# The real user's default is untouched.
[ "$(timeout 20 lpstat -d 2>/dev/null)" = "$real_before" ] || fail "the real user's default changed"

# Restore the first printer.
out=$(choose QuillonTest) || fail "choosing QuillonTest again failed: $(cat "$SCRATCH/err")"
[ "$out" = "Current Printer: QuillonTest" ] || fail "dialog label after restoring: '$out'"
[ "$(user_default)" = "QuillonTest" ] || fail "lpstat -d shows '$(user_default)' after restoring"
echo "restored: lpstat -d -> $(user_default)"

# A home where CUPS cannot store the options: the dialog reports the failure
# (the tool prints the message box and exits with 3).
out=$(as_user_home "$SCRATCH/missing/home" "$TOOL" choose QuillonTest2 2>&1)
rc=$?
[ $rc -eq 3 ] || fail "expected the error message box (exit 3), got $rc: $out"
echo "$out" | grep -q "message: An error occured!" || fail "no 'An error occured!': $out"

echo "PASS: printer choice through CUPS"
