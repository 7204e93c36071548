#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time.
# $QUILLON_FUZZ_BIN: the bin folder of a build configured with
#   CC=clang CXX=clang++ -DQUILLON_FUZZ=ON [-DQUILLON_SANITIZE=ON]
# Without it there is nothing to run and the test passes.
# $QUILLON_FUZZ_SECONDS overrides the 20 s per target; a crashing input is
# kept in $QUILLON_FUZZ_ARTIFACTS (default: the folder the test runs in).
# The targets check the document limits themselves; the memory limit is far
# above what any input of at most 64 KiB may need within them.
set -u

if [ -z "${QUILLON_FUZZ_BIN:-}" ]; then
    echo "QUILLON_FUZZ_BIN not set: no fuzz build to run"
    exit 0
fi
if [ ! -d "$QUILLON_FUZZ_BIN" ]; then
    echo "QUILLON_FUZZ_BIN=$QUILLON_FUZZ_BIN is not a folder" >&2
    exit 1
fi

seconds="${QUILLON_FUZZ_SECONDS:-20}"
artifacts="${QUILLON_FUZZ_ARTIFACTS:-$(pwd)}"
data="${QUILLON_TEST_DATA_DIR:-$(dirname "$0")/../data}/documents"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

status=0
found=0
for target in "$QUILLON_FUZZ_BIN"/fuzz_*; do
    [ -x "$target" ] || continue
    found=1
    name="$(basename "$target")"
    corpus="$work/$name"
    mkdir -p "$corpus"
    # Seed with the document fixtures; the fuzzer mutates from there.
    if [ -d "$data" ]; then
        find "$data" -maxdepth 1 -type f -size -256k -exec cp {} "$corpus"/ \;
    fi
    echo "== $name for ${seconds}s"
    if ! (cd "$work" && "$target" -max_total_time="$seconds" -max_len=65536 -timeout=25 \
            -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$artifacts/$name-" \
            "$corpus" > "$work/$name.log" 2>&1); then
        echo "$name FAILED" >&2
        tail -n 60 "$work/$name.log" >&2
        status=1
    else
        grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "$work/$name.log" | tail -n 2
    fi
done
if [ "$found" = 0 ]; then
    echo "no fuzz_* targets in $QUILLON_FUZZ_BIN" >&2
    exit 1
fi
exit $status
