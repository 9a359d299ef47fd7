#!/usr/bin/env bash
# Builds and runs the formula benchmark: Trel's formula component side by side with Debian's
# muparser (installed here when missing; a benchmark-only dependency) on the expressions of
# bench/formula-expressions.tsv, and the cost of an @FORMULA step with 10 and with 5,000 declared
# variables.
#
#   tools/bench-formula.sh [--against COMMIT] [--callgrind] [benchmark arguments]
#
#   --against COMMIT  also builds COMMIT (in a worktree under /tmp, with this tree's benchmark
#                     source) and measures it in the same run, before this tree; a table of the
#                     compute figures of both follows.
#   --callgrind       instead of timings: the instructions of one compute of each expression, and
#                     of one compile plus first compute, as callgrind counts them (valgrind,
#                     installed when missing), Trel's and muparser's.
# Other arguments are passed to the benchmark (--quick for a short run, --formulas, --steps).
set -euo pipefail
cd "$(dirname "$0")/.."

against=""
callgrind=0
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --against) against="$2"; shift 2 ;;
    --callgrind) callgrind=1; shift ;;
    *) args+=("$1"); shift ;;
  esac
done

need=()
dpkg -s libmuparser-dev >/dev/null 2>&1 || need+=(libmuparser-dev pkg-config)
[ "$callgrind" -eq 1 ] && ! command -v valgrind >/dev/null && need+=(valgrind)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}"
fi

build() {  # source folder, build folder
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTREL_BENCH=ON -DTREL_TESTS=OFF \
    -DTREL_GUI=OFF >/dev/null
  cmake --build "$2" --target formula_bench -j2 >/dev/null
}

benches=(build-bench/formula_bench)
labels=(this)
build . build-bench
if [ -n "$against" ]; then
  ref="/tmp/trel-formula-bench-$(git rev-parse --short "$against")"
  [ -d "$ref" ] || git worktree add --detach "$ref" "$against" >/dev/null
  # The same benchmark on both sides; the component's interface it uses has not changed.
  cp bench/formula_bench.cpp bench/formula-expressions.tsv "$ref/bench/"
  build "$ref" "$ref/build-bench"
  benches=("$ref/build-bench/formula_bench" build-bench/formula_bench)
  labels=("$against" this)
fi

expressions() { awk -F'\t' '!/^#/ && $1 != "id" && NF >= 3 { print $1 }' bench/formula-expressions.tsv; }

if [ "$callgrind" -eq 1 ]; then
  count=20000
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
  for k in "${!benches[@]}"; do
    for id in $(expressions); do
      valgrind --tool=callgrind --callgrind-out-file="$out/$k.$id" "${benches[$k]}" \
        --instructions "$id" "$count" >/dev/null 2>&1
      callgrind_annotate --inclusive=yes --threshold=100 "$out/$k.$id" |
        awk -v id="$id" -v k="$k" -v n="$count" '
          /oursComputeLoop/ { gsub(",", "", $1); print k, id, "compute", "ours", $1 / n }
          /yardstickComputeLoop/ { gsub(",", "", $1); print k, id, "compute", "yard", $1 / n }
          /oursFirstLoop/ { gsub(",", "", $1); print k, id, "first", "ours", $1 / (n / 10) }
          /yardstickFirstLoop/ { gsub(",", "", $1); print k, id, "first", "yard", $1 / (n / 10) }'
    done
  done >"$out/counts"
  # The benchmark's first loop runs count / 10 compilations plus first computes.
  table() {  # kind (compute or first), caption
    awk -v labels="${labels[*]}" -v kind="$1" -v caption="$2" '
      function median(a, n,   i, j, t) {
        for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
        return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
      }
      $3 == kind { v[$1, $2, $4] = $5; if (!($2 in seen)) { seen[$2] = 1; ids[++m] = $2 }; if ($1 + 1 > sides) sides = $1 + 1 }
      END {
        split(labels, name, " ")
        printf "%s (callgrind)\n%-4s", caption, "id"
        for (s = 0; s < sides; s++) printf " %14s %7s", name[s + 1], "ratio"
        printf " %10s\n", "muparser"
        for (i = 1; i <= m; i++) {
          id = ids[i]; y = v[sides - 1, id, "yard"]
          printf "%-4s", id
          for (s = 0; s < sides; s++) { o = v[s, id, "ours"]; r[s, i] = o / y; sum[s] += o; printf " %14.1f %7.3f", o, o / y }
          ysum += y
          printf " %10.1f\n", y
        }
        for (s = 0; s < sides; s++) {
          for (i = 1; i <= m; i++) col[i] = r[s, i]
          printf "%s: median ratio %.3f, all expressions %.0f instructions against muparser %.0f\n", name[s + 1], median(col, m), sum[s], ysum
        }
      }' "$out/counts"
  }
  table compute "instructions per compute"
  echo
  table first "instructions per compile plus first compute"
  exit 0
fi

for k in "${!benches[@]}"; do
  echo "== ${labels[$k]}"
  "${benches[$k]}" "${args[@]+"${args[@]}"}" | tee "/tmp/formula-bench.$k.txt"
  echo
done
if [ -n "$against" ]; then
  # id, then ns and ratio of each side: compute (columns 5 and 8 of the tables above), and
  # compile plus first compute (columns 2 and 4).
  side_by_side() {  # caption, ns column, ratio column
    awk -v before="$against" -v caption="$1" -v nc="$2" -v rc="$3" '
      /^e[0-9]/ { v[FILENAME, $1] = $nc; r[FILENAME, $1] = $rc; if (!($1 in seen)) { seen[$1] = 1; ids[++m] = $1 } }
      END {
        printf "%s side by side\n%-4s %12s %7s %12s %7s\n", caption, "id", before, "ratio", "this", "ratio"
        for (i = 1; i <= m; i++) printf "%-4s %12s %7s %12s %7s\n", ids[i], v[ARGV[1], ids[i]], r[ARGV[1], ids[i]], v[ARGV[2], ids[i]], r[ARGV[2], ids[i]]
      }' /tmp/formula-bench.0.txt /tmp/formula-bench.1.txt
  }
  side_by_side "compute ns" 5 8
  echo
  side_by_side "compile + first compute ns" 2 4
  grep -h "compile + compute" /tmp/formula-bench.0.txt /tmp/formula-bench.1.txt |
    sed "1s/^/$against: /;2s/^/this: /"
fi
