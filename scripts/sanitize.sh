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
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON >/dev/null
cmake --build build/asan -j "${QUILLON_JOBS:-2}"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Children and scripts inherit the options; the crash harness does fewer
# kills here (it runs the same code, only slower).
export QUILLON_CRASH_KILLS="${QUILLON_CRASH_KILLS:-100}"
ctest --test-dir build/asan --output-on-failure -j "${QUILLON_JOBS:-2}" "$@"
