#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (in build-fuzz/, apart from the ordinary builds)
# and runs one target, or each in turn, for SECONDS seconds (default 60):
#
#   tools/fuzz.sh [TARGET|all] [SECONDS]
#
# Targets: formula translator interpreter resources rtf syntax. A run works on the corpus
# build-fuzz/corpus/TARGET, begins from the inputs kept in fuzz/corpus/TARGET, uses the dictionary
# fuzz/dict/TARGET.dict, and appends its figures (executions, corpus size, outcome) to
# fuzz/runs.log. An input that finds a fault lands in build-fuzz/artifacts/TARGET/; once the
# fault is mended, minimise the input and keep it in fuzz/corpus/TARGET/ so that the tests replay
# it from then on.
#
# Each fuzzer runs at the lowest priority, in one job: the machine is shared. Two scripts may run
# side by side for different targets; they take turns at the build.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
targets=(formula translator interpreter resources rtf syntax)
which=${1:-all}
seconds=${2:-60}
if [ "$which" != all ] && [[ ! " ${targets[*]} " == *" $which "* ]]; then
  echo "usage: tools/fuzz.sh [all|${targets[*]// /|}] [SECONDS]" >&2
  exit 2
fi
[ "$which" = all ] || targets=("$which")

tools/install-deps.sh --fuzz
jobs=$(( $(nproc 2>/dev/null || echo 2) < 2 ? 1 : 2 ))
mkdir -p build-fuzz
(
  flock 9
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTREL_FUZZ=ON -DTREL_TESTS=OFF -DTREL_GUI=OFF >/dev/null
  cmake --build build-fuzz -j "$jobs" --target "${targets[@]/#/fuzz_}"
) 9>build-fuzz/.build-lock

# Each target runs in a folder of its own (libFuzzer writes its job log into the current one);
# lib/ is there so that the translator's %import finds the sample libraries.
status=0
for t in "${targets[@]}"; do
  work=$root/build-fuzz/work/$t
  mkdir -p "$work"
  ln -sfn "$root/lib" "$work/lib"
  corpus=$root/build-fuzz/corpus/$t
  artifacts=$root/build-fuzz/artifacts/$t
  mkdir -p "$corpus" "$artifacts"
  echo "== fuzz_$t for $seconds s"
  started=$(date -u +%Y-%m-%dT%H:%M:%SZ)
  rc=0
  begun=$SECONDS
  (cd "$work" && nice -n 19 "$root/build-fuzz/fuzz_$t" -jobs=1 -workers=1 \
     -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
     -dict="$root/fuzz/dict/$t.dict" -artifact_prefix="$artifacts/" \
     "$corpus" "$root/fuzz/corpus/$t" >/dev/null 2>&1) || rc=$?
  ran=$((SECONDS - begun))
  log=$root/build-fuzz/fuzz_$t-$started.log
  mv "$work/fuzz-0.log" "$log" 2>/dev/null || touch "$log"
  execs=$(grep -o "stat::number_of_executed_units: *[0-9]*" "$log" | grep -o "[0-9]*$" | tail -1) || true
  size=$(find "$corpus" -type f | wc -l)
  outcome="no fault"
  if [ "$rc" -ne 0 ] || grep -qE '^==[0-9]+==ERROR|^SUMMARY|fuzz check failed|Test unit written' "$log"; then
    found=$(grep -E 'Test unit written|SUMMARY|ALARM|out-of-memory' "$log" | tail -3 | tr '\n' ' ') || true
    outcome="FAULT (exit $rc): ${found:-see $log}"
    status=1
  fi
  line="$started fuzz_$t ${ran}s of ${seconds}s executions=${execs:-?} corpus=$size $outcome"
  echo "$line" | tee -a "$root/fuzz/runs.log"
done
exit $status
