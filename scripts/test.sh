#!/usr/bin/env bash
# Runs the whole test suite: packages, CUPS, the normal build with its tests,
# the package check, then the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang), which also builds the fuzz targets and
# runs each for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/cups.sh
# A private PostgreSQL cluster for the tests of the server engine, stopped
# again however the run ends.
eval "$(bash scripts/postgres.sh start)"
trap 'bash scripts/postgres.sh stop' EXIT
# clang at -O1 without debug information: an optimised build, with its
# assertions, in half the time GCC takes for the same (the sanitizer build
# below keeps the debug information for its reports).
CC=clang CXX=clang++ cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE=-O1 >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j2
# What a user installs: the install rules, the desktop files and the .deb,
# from the build just made (installs, starts and removes the package).
bash scripts/package-check.sh build/test
if [ "${QUILLON_SKIP_SANITIZERS:-0}" != "1" ]; then
  QUILLON_FUZZ=ON QUILLON_FUZZ_SECONDS=${QUILLON_FUZZ_SECONDS:-20} bash scripts/sanitize.sh
fi
