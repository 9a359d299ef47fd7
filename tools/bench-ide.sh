#!/usr/bin/env bash
# Builds trel and the IDE benchmark in Release mode and times the IDE under a virtual X server
# (Xvfb): the start-up to the main window shown and painted (best and median of RUNS starts, from
# the script starting the process to the window's first paint, which trel reports when
# TREL_REPORT_STARTUP=1), then bench/ide_bench.cpp (opening a long file, typing in it).
#
#   tools/bench-ide.sh [RUNS] [LINES]      (defaults: 20 starts, 100000 lines)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench-gui"

if [ "${TREL_BENCH_IDE_INSIDE:-}" != 1 ]; then
  runs="${1:-20}"
  lines="${2:-100000}"
  "$root/tools/install-deps.sh"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTREL_BENCH=ON -DTREL_TESTS=OFF >/dev/null
  cmake --build "$build" -j 2 --target trel ide_bench
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  "$root/tools/startup-dir.sh" "$build" "$work/ide" "$root/examples/procedure.qn"
  mkdir -p "$work/config" "$work/runtime"
  chmod 700 "$work/runtime"
  TREL_BENCH_IDE_INSIDE=1 XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$runs" "$lines" "$work"
  exit 0
fi

# Inside the virtual X server: $1 starts, $2 lines of the long file, $3 the work folder.
runs="$1"
lines="$2"
work="$3"
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
"$build/ide_bench" "$lines"
