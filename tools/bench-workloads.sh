#!/usr/bin/env bash
# Times the workloads of bench/workloads side by side in one run: each QN+ program under this
# tree's qn (with the assembly log kept, and with --no-log), under the qn of an older commit built
# beside it (REF, default f959f02), and the same program in BASIC under bwbasic.
#
#   tools/bench-workloads.sh [ROUNDS]      (best of ROUNDS runs each, default 5)
#
# Times are CPU seconds (user and system) of the whole process, which a shared, busy machine
# disturbs much less than wall-clock time; each column takes the best of its rounds.
#
# Besides the three workloads, the counting loop runs placed after 10,000 other program lines and
# after 5,000 variable declarations, so a cost per step that grew with either would show, and
# over 10 million steps, where the process's start-up weighs little. bwbasic and the reference
# build are benchmark-only; without them their columns read "-".
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rounds="${1:-5}"
ref="${REF:-f959f02}"
bench="$root/build-bench"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTREL_BENCH=ON -DTREL_TESTS=OFF \
  -DTREL_GUI=OFF >/dev/null
cmake --build "$bench" --target qn >/dev/null
qn="$bench/qn"

# The reference commit's qn, built once from the repository's history.
refqn=""
if git -C "$root" cat-file -e "$ref^{commit}" 2>/dev/null; then
  refsrc="$bench/ref-$ref/src"
  if [ ! -x "$bench/ref-$ref/build/qn" ]; then
    rm -rf "$refsrc" && mkdir -p "$refsrc"
    git -C "$root" archive "$ref" | tar -x -C "$refsrc"
    cmake -S "$refsrc" -B "$bench/ref-$ref/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTREL_TESTS=OFF -DTREL_GUI=OFF >/dev/null
    cmake --build "$bench/ref-$ref/build" --target qn >/dev/null
  fi
  refqn="$bench/ref-$ref/build/qn"
else
  echo "Commit $ref is not in this clone: no reference column." >&2
fi

if ! command -v bwbasic >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends bwbasic \
    >/dev/null 2>&1 || echo "bwbasic could not be installed: no BASIC column." >&2
fi

# The programs: the three workloads, and the counting loop after other lines and declarations.
cp "$root"/bench/workloads/*.qn "$root"/bench/workloads/*.bas "$work/"
{
  echo "JUMP ::start"
  for ((k = 0; k < 10000; ++k)); do echo "%ECHO never runs $k"; done
  echo "::start"
  tail -n +2 "$work/counting.qn"
} >"$work/counting_after_10000_lines.qn"
{
  for ((k = 0; k < 5000; ++k)); do echo "var v$k"; done
  tail -n +2 "$work/counting.qn"
} >"$work/counting_with_5000_variables.qn"
# The counting loop over 10 million steps: its rate with the start-up of the process and the
# filling of the log's first million lines spread thin (no BASIC column: bwbasic takes minutes).
sed 's/300000/2500000/' "$work/counting.qn" >"$work/counting_10_million_steps.qn"

# Best CPU seconds (user + system) of `rounds` runs of the command.
best() {
  local b="" t
  for ((r = 0; r < rounds; ++r)); do
    t=$( { TIMEFORMAT='%3U %3S'; time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1 + $2 }')
    if [ -z "$b" ] || awk -v t="$t" -v b="$b" 'BEGIN { exit !(t < b) }'; then b="$t"; fi
  done
  echo "$b"
}

# A run's step count: the last "Step:" line of its log.
steps() {
  "$qn" run "$1" --log "$work/steps.log" >/dev/null 2>&1 || true
  grep -o 'Step: [0-9]*' "$work/steps.log" | tail -1 | cut -d' ' -f2
}

printf '%-30s %9s %10s %10s %10s %10s %12s %12s %12s\n' workload steps "ref s" "new s" \
  "no-log s" "bwbasic s" "new/ref" "no-log/ref" "bwbasic/new"
for name in counting procedure text counting_after_10000_lines counting_with_5000_variables \
  counting_10_million_steps; do
  program="$work/$name.qn"
  n=$(steps "$program")
  new=$(best "$qn" run "$program")
  nolog=$(best "$qn" run "$program" --no-log)
  old="-"
  [ -n "$refqn" ] && old=$(best "$refqn" run "$program")
  basic="-"
  if [ -f "$work/$name.bas" ] && command -v bwbasic >/dev/null; then
    basic=$( (cd "$work" && best bwbasic "$name.bas") )
  fi
  awk -v name="$name" -v n="$n" -v old="$old" -v new="$new" -v nolog="$nolog" -v basic="$basic" '
    function ratio(a, b) { return (a == "-" || b == "-" || b + 0 == 0) ? "-" : sprintf("%.2fx", a / b) }
    BEGIN {
      printf "%-30s %9d %10s %10s %10s %10s %12s %12s %12s\n", name, n, old, new, nolog, basic,
             ratio(old, new), ratio(old, nolog), ratio(basic, new)
      printf "%-30s %9s %10s %10.2f %10.2f   (million steps per second)\n", "", "", \
             (old == "-" ? "-" : sprintf("%.2f", n / old / 1e6)), n / new / 1e6, n / nolog / 1e6
    }'
done
