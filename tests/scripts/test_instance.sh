#!/usr/bin/env bash
# The program's command line and one program per data folder, end to end:
# --help names the folder and the catalogue in use, --version and a bad
# option (a malformed --catalogue too) keep the usual exit codes; a second
# start on a folder hands over to the running program and ends, a start on
# another folder runs; quillon-check --repair refuses
# while the folder is open; after SIGKILL the next start takes the lock over.
set -euo pipefail
BIN="$1"
WORK="$(mktemp -d)"
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT
export HOME="$WORK/home" QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="quillon.app.debug=true"
mkdir -p "$HOME"
DATA="$WORK/catalogue"

fail() { echo "FAIL: $*"; exit 1; }

# Starts the program on a folder, logging into $2; the pid lands in PIDS.
start() {
  "$BIN/quillon" --data "$1" >"$2" 2>&1 &
  PIDS+=($!)
}
# Waits until the program logging into $1 has its window up.
wait_up() {
  for _ in $(seq 1 300); do
    grep -q "main window up" "$1" && return 0
    sleep 0.1
  done
  cat "$1"
  fail "no window came up ($1)"
}

# The command line.
"$BIN/quillon" --data "$DATA" --help >"$WORK/help" || fail "--help exit $?"
grep -q "Data folder in use: $DATA (given with --data)" "$WORK/help" || fail "--help: $(cat "$WORK/help")"
grep -q "Catalogue in use: in the data folder" "$WORK/help" || fail "--help: no catalogue line"
[ ! -e "$DATA" ] || fail "--help made the data folder"
"$BIN/quillon" --version | grep -q "5\." || fail "--version"
set +e; "$BIN/quillon" --no-such-option >/dev/null 2>"$WORK/err"; rc=$?; set -e
[ "$rc" = 2 ] || fail "bad option: exit $rc, expected 2"
[ "$(wc -l <"$WORK/err" | tr -d ' ')" = 1 ] || fail "bad option: $(cat "$WORK/err")"
# A malformed --catalogue is a bad option, told without the password.
export XDG_RUNTIME_DIR="$WORK/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
for tool in quillon quillon-medialist quillon-printers; do
  set +e; "$BIN/$tool" --catalogue "postgresql://u:secret@[x" list "$DATA" >/dev/null 2>"$WORK/err"; rc=$?; set -e
  [ "$rc" = 2 ] || fail "$tool --catalogue malformed: exit $rc, expected 2"
  [ "$(wc -l <"$WORK/err" | tr -d ' ')" = 1 ] && ! grep -q secret "$WORK/err" || fail "$tool: $(cat "$WORK/err")"
done
for tool in quillon-check quillon-doc Help-Quillon05; do
  "$BIN/$tool" --help >/dev/null || fail "$tool --help"
  "$BIN/$tool" --version | grep -q "5\." || fail "$tool --version"
  set +e; "$BIN/$tool" --no-such-option >/dev/null 2>&1; rc=$?; set -e
  [ "$rc" = 2 ] || fail "$tool bad option: exit $rc, expected 2"
done

# The first start holds the folder.
start "$DATA" "$WORK/first.log"
FIRST=${PIDS[-1]}
wait_up "$WORK/first.log"
[ -f "$DATA/quillon.mdb" ] || fail "data not laid out in the given folder"

# A second start on the same folder, spelled differently, ends at once and
# the first comes to the front.
timeout 20 "$BIN/quillon" --data "$DATA/." >"$WORK/second.log" 2>&1 || fail "second start: exit $?"
grep -q "main window up" "$WORK/second.log" && fail "the second start opened a window"
for _ in $(seq 1 100); do grep -q "coming to the front" "$WORK/first.log" && break; sleep 0.1; done
grep -q "coming to the front" "$WORK/first.log" || fail "the first program was not asked forward"
kill -0 "$FIRST" || fail "the first program ended"

# Another folder runs on its own.
start "$WORK/other" "$WORK/other.log"
wait_up "$WORK/other.log"
kill "${PIDS[-1]}"

# No repair under a running program.
set +e; "$BIN/quillon-check" --repair "$DATA" >/dev/null 2>"$WORK/err"; rc=$?; set -e
[ "$rc" = 2 ] || fail "repair while open: exit $rc, expected 2"
grep -q "open" "$WORK/err" || fail "repair refusal: $(cat "$WORK/err")"

# A killed program's lock does not block the next start.
kill -9 "$FIRST"
wait "$FIRST" 2>/dev/null || true
start "$DATA" "$WORK/third.log"
wait_up "$WORK/third.log"
echo "ok"
