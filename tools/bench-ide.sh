#!/usr/bin/env bash
# Builds trel and the IDE benchmark in Release mode and times the IDE under a virtual X server
# (Xvfb): the start-up to the main window shown and painted (best and median of RUNS starts, from
# the script starting the process to the window's first paint, which trel reports when
# TREL_REPORT_STARTUP=1), then bench/ide_bench.cpp (opening a long file, typing in it) side by side
# with the same benchmark built from an older commit (REF, default 0d8f5dd) beside this tree: ROUNDS
# runs of each, taken in turns, each figure given as the best and the median of its rounds.
#
#   tools/bench-ide.sh [RUNS] [LINES] [ROUNDS]    (defaults: 20 starts, 100000 lines, 5 rounds)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench-gui"

if [ "${TREL_BENCH_IDE_INSIDE:-}" != 1 ]; then
  runs="${1:-20}"
  lines="${2:-100000}"
  rounds="${3:-5}"
  ref="${REF:-0d8f5dd}"
  "$root/tools/install-deps.sh"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTREL_BENCH=ON -DTREL_TESTS=OFF >/dev/null
  cmake --build "$build" -j 2 --target trel ide_bench
  # The reference commit built beside, measured by this tree's benchmark.
  refbench=""
  if git -C "$root" cat-file -e "$ref^{commit}" 2>/dev/null; then
    refsrc="$build/ref-$ref/src"
    if [ ! -d "$refsrc" ]; then
      mkdir -p "$refsrc"
      git -C "$root" archive "$ref" | tar -x -C "$refsrc"
    fi
    cmp -s "$root/bench/ide_bench.cpp" "$refsrc/bench/ide_bench.cpp" ||
      cp "$root/bench/ide_bench.cpp" "$refsrc/bench/ide_bench.cpp"
    cmake -S "$refsrc" -B "$build/ref-$ref/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTREL_BENCH=ON -DTREL_TESTS=OFF >/dev/null
    cmake --build "$build/ref-$ref/build" -j 2 --target ide_bench >/dev/null
    refbench="$build/ref-$ref/build/ide_bench"
  else
    echo "Commit $ref is not in this clone: no reference column." >&2
  fi
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  "$root/tools/startup-dir.sh" "$build" "$work/ide" "$root/examples/procedure.qn"
  mkdir -p "$work/config" "$work/runtime"
  chmod 700 "$work/runtime"
  TREL_BENCH_IDE_INSIDE=1 XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$runs" "$lines" "$work" "$rounds" "$ref" "$refbench"
  exit 0
fi

# Inside the virtual X server: $1 starts, $2 lines of the long file, $3 the work folder, $4 rounds
# of the editor benchmark, $5 the reference commit and $6 its benchmark (empty: none).
runs="$1"
lines="$2"
work="$3"
rounds="$4"
ref="$5"
refbench="$6"
cd "$work/ide"
# Each start: the wall time from here to the window's first paint, and the processor time trel had
# used by then (which a machine busy with other work stretches less).
results=()
for _ in $(seq "$runs"); do
  rm -f report.txt
  start="$EPOCHREALTIME"
  TREL_REPORT_STARTUP=1 ./trel base.exe 2>report.txt >/dev/null &
  pid=$!
  for _ in $(seq 500); do
    grep -q 'main window painted' report.txt 2>/dev/null && break
    sleep 0.01
  done
  line="$(grep 'main window painted' report.txt || true)"
  kill -TERM "$pid"
  wait "$pid" || true
  [ -n "$line" ] || { echo "bench-ide: trel reported no paint:" >&2; cat report.txt >&2; exit 1; }
  [ -z "${TREL_BENCH_IDE_VERBOSE:-}" ] || echo "$line" >&2
  results+=("$(echo "$line" | awk -v a="$start" \
    '{ for (i = 1; i < NF; ++i) { if ($(i + 1) == "s") b = $i; if ($(i + 1) == "ms" && $(i + 3) == "processor") c = $i }
       printf "%.1f %.1f\n", (b - a) * 1000, c }')")
done
summary() {  # column, what
  printf '%s\n' "${results[@]}" | awk -v col="$1" '{ print $col }' | sort -n | awk -v what="$2" '
    { t[NR] = $1 }
    END { printf "  %-34s best %6.1f ms, median %6.1f ms\n", what, t[1],
          (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2) }'
}
echo "IDE start (trel base.exe) to the main window painted, $runs starts:"
summary 1 "wall clock from the start"
summary 2 "processor time of trel by then"
# The editor benchmark: rounds of the reference and of this tree in turns. Each line it prints is
# "what  CPU ms (WALL ms wall)"; the table gives the processor times.
: >"$work/bench.txt"
for round in $(seq "$rounds"); do
  [ -z "$refbench" ] || "$refbench" "$lines" | sed 's/^/before\t/' >>"$work/bench.txt"
  "$build/ide_bench" "$lines" | sed 's/^/after\t/' >>"$work/bench.txt"
done
grep -m1 '^after	IDE on' "$work/bench.txt" | cut -f2
echo "Milliseconds of processor time, best / median of $rounds rounds; before: $ref, after: this tree"
awk -F'\t' '
  $2 ~ / ms \(/ {
    what = $2; sub(/ +-?[0-9.]+ ms \(.*/, "", what)
    ms = $2; sub(/ ms \(.*/, "", ms); sub(/.* /, "", ms)
    if (!(what in seen)) { seen[what] = 1; order[++n] = what }
    v[$1, what, ++c[$1, what]] = ms + 0
  }
  function stat(side, what,   k, m, t, i, j, x) {
    m = c[side, what]
    if (!m) return sprintf("%21s", "-")
    for (i = 1; i <= m; ++i) t[i] = v[side, what, i]
    for (i = 2; i <= m; ++i) { x = t[i]; for (j = i - 1; j >= 1 && t[j] > x; --j) t[j + 1] = t[j]; t[j + 1] = x }
    return sprintf("%8.2f / %8.2f ms", t[1], (m % 2 ? t[(m + 1) / 2] : (t[m / 2] + t[m / 2 + 1]) / 2))
  }
  END {
    printf "  %-58s %21s   %21s\n", "", "before", "after"
    for (i = 1; i <= n; ++i) printf "  %-58s %s   %s\n", order[i], stat("before", order[i]), stat("after", order[i])
  }' "$work/bench.txt"
