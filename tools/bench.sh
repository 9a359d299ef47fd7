#!/usr/bin/env bash
# Builds the benchmarks in Release mode and runs the interpreter, translator and build benchmarks
# (the build benchmark times built programs against the stub; here trel is built without Qt, and
# `build-bench/build_bench PATH-TO-TREL` times another one), then the workloads of bench/workloads
# beside an older commit and bwbasic (tools/bench-workloads.sh), and the IDE's start-up, opening of
# a long file and typing in it under a virtual X server (tools/bench-ide.sh). The formula evaluator
# and the Qt host have scripts of their own (tools/bench-formula.sh, tools/bench-qt-host.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTREL_BENCH=ON -DTREL_TESTS=OFF -DTREL_GUI=OFF >/dev/null
cmake --build build-bench --target interpreter_bench translator_bench build_bench
build-bench/interpreter_bench "$@"
build-bench/translator_bench
build-bench/build_bench
tools/bench-workloads.sh
tools/bench-ide.sh
