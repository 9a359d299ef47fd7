#!/usr/bin/env bash
# Instructions of one @FORMULA step against the compute of the same compiled formula, counted by
# callgrind (steady where wall times on a shared machine are not). The step is the difference
# between a loop with two @FORMULA i + 1 lines and one with one, per iteration; the compute is
# TArtFormula::ComputeValue of i + 1. Usage: tools/count-formula-step.sh [BUILD_DIR] [N]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-prof}
n=${2:-20000}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-g -DTREL_BENCH=ON \
  -DTREL_TESTS=OFF -DTREL_GUI=OFF >/dev/null
cmake --build "$build" --target formula_bench >/dev/null
out=$(mktemp)
trap 'rm -f "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out" "$build/formula_bench" --count-steps "$n" \
  2>/dev/null
cost() {
  callgrind_annotate --inclusive=yes "$out" 2>/dev/null | grep -F "$1" | head -1 |
    awk '{ gsub(",", "", $1); print $1 }'
}
one=$(cost countLoopWithOneFormula)
two=$(cost countLoopWithTwoFormulas)
compute=$(cost countCompute)
awk -v one="$one" -v two="$two" -v c="$compute" -v n="$n" 'BEGIN {
  step = (two - one) / n; per = c / n
  printf "instructions: one @FORMULA i + 1 step %.1f, a compute of i + 1 %.1f; step / compute %.2f (goal <= 5)\n", step, per, step / per
}'
