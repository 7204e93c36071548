# Sourced by the CUPS test scripts: how they fail or skip, the check that
# CUPS and its virtual printers are there, and a scratch folder with a home
# of its own (so no user's lpoptions get in the way).

fail() { echo "FAIL: $*"; exit 1; }

# Fails when CI=true (CI starts CUPS itself), skips otherwise.
unavailable() {
  [ "${CI:-}" = "true" ] && fail "$1"
  echo "SKIP: $1"
  exit 0
}

# require_cups [--pdf] QUEUE...: the scheduler running with these queues
# (and, with --pdf, pdftotext to read what they print).
require_cups() {
  local need_pdf=
  if [ "${1:-}" = "--pdf" ]; then
    need_pdf=1
    shift
  fi
  command -v lpstat >/dev/null || unavailable "lpstat is not installed"
  if [ -n "$need_pdf" ]; then
    command -v pdftotext >/dev/null || unavailable "pdftotext is not installed"
  fi
  timeout 20 lpstat -r 2>/dev/null | grep -q "is running" ||
    unavailable "CUPS is not running (run scripts/cups.sh)"
  local queue
  for queue in "$@"; do
    timeout 20 lpstat -p "$queue" >/dev/null 2>&1 ||
      unavailable "printer $queue is missing (run scripts/cups.sh)"
  done
}

# SCRATCH, removed at exit unless KEEP_SCRATCH is set; with --home, HOME
# becomes a fresh folder inside it.
make_scratch() {
  SCRATCH=$(mktemp -d)
  trap '[ -n "${KEEP_SCRATCH:-}" ] || rm -rf "$SCRATCH"' EXIT
  if [ "${1:-}" = "--home" ]; then
    export HOME=$SCRATCH/home
    mkdir -p "$HOME"
  fi
}
