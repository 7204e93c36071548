#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang, Debug) in build/asan and runs the test suite under them.
#
# Leak detection is off: Qt keeps process-wide allocations (plugin loaders,
# font and style caches) until exit on purpose, and LeakSanitizer reports
# those as leaks of the program. Memory errors and undefined behaviour stop
# the run at the first finding.
set -euo pipefail
cd "$(dirname "$0")/.."
export CC=clang CXX=clang++
# QUILLON_FUZZ=ON also builds the libFuzzer targets, which the fuzz test then
# runs for QUILLON_FUZZ_SECONDS each.
FUZZ=${QUILLON_FUZZ:-OFF}
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON \
  -DQUILLON_FUZZ="$FUZZ" >/dev/null
cmake --build build/asan -j "${QUILLON_JOBS:-2}"
# The server engine's tests need the private cluster; a run started by
# scripts/test.sh finds it running already.
if [ -z "${QUILLON_TEST_PG:-}" ]; then
  eval "$(bash scripts/postgres.sh start)"
  trap 'bash scripts/postgres.sh stop' EXIT
fi
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Children and scripts inherit the options; the crash harness does fewer
# kills here (it runs the same code, only slower).
export QUILLON_CRASH_KILLS="${QUILLON_CRASH_KILLS:-100}"
if [ "$FUZZ" = "ON" ]; then
  export QUILLON_FUZZ_BIN="$PWD/build/asan/bin"
fi
ctest --test-dir build/asan --output-on-failure -j "${QUILLON_JOBS:-2}" "$@"
