#!/usr/bin/env bash
# Builds and runs the formula benchmark: Trel's formula component side by side with Debian's
# muparser (installed here when missing; a benchmark-only dependency) on the expressions of
# bench/formula-expressions.tsv, and the cost of an @FORMULA step with 10 and with 5,000 declared
# variables. Arguments are passed to the benchmark (--quick for a short run).
set -euo pipefail
cd "$(dirname "$0")/.."

if ! dpkg -s libmuparser-dev >/dev/null 2>&1; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libmuparser-dev pkg-config
fi

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTREL_BENCH=ON -DTREL_TESTS=OFF -DTREL_GUI=OFF >/dev/null
cmake --build build-bench --target formula_bench
build-bench/formula_bench "$@"
