#!/usr/bin/env bash
# Runs the whole test suite: packages, CUPS, build, ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/cups.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j2
