#!/usr/bin/env bash
# Builds everything and runs every test: first a normal build with all tests (core, end-to-end
# through qn and trel, GUI tests offscreen), then the Debian package and the installed layout
# (tools/check-install.sh), then the core tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer. The core tests replay the fuzz corpora (fuzz/corpus) through the fuzz
# targets built without the fuzzer; tools/fuzz.sh runs the fuzzers themselves.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs" --timeout 600)
tools/check-install.sh build

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTREL_SANITIZE=ON -DTREL_GUI=OFF
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure -j "$jobs" --timeout 900 -L core)
echo "All tests passed."
