#!/usr/bin/env bash
# Builds the benchmarks in Release mode and runs the interpreter and translator benchmarks.
# The formula and build benchmarks have scripts of their own (tools/bench-*.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTREL_BENCH=ON -DTREL_TESTS=OFF -DTREL_GUI=OFF >/dev/null
cmake --build build-bench --target interpreter_bench translator_bench
build-bench/interpreter_bench "$@"
build-bench/translator_bench
