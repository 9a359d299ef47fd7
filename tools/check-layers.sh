#!/usr/bin/env bash
# Checks the link-level layering of the build: which library's undefined symbols are defined by
# which other library. Every arrow must point down the stack
#   rtl <- formula <- machine <- translator <- shell <- gui <- app
# (resources, help and editor sit beside the stack on rtl alone; lsp, the language server, sits on
# shell beside gui, and only the app uses it). A symbol counts only where it is
# strongly defined, so inline functions and templates, which every user carries, make no arrows.
#
#   tools/check-layers.sh [BUILD_DIR]     prints the arrows; exits 1 when one runs back up
set -euo pipefail
build=${1:-build}

# layer name, archive or object folder, the layers it may use
layers=(
  "rtl        libtrel_rtl.a"
  "formula    libtrel_formula.a     rtl"
  "machine    libtrel_machine.a     rtl formula"
  "translator libtrel_translator.a  rtl formula machine"
  "resources  libtrel_resources.a   rtl"
  "help       libtrel_help.a        rtl"
  "editor     libtrel_editor.a      rtl"
  "shell      libtrel_shell.a       rtl formula machine translator resources help editor"
  "lsp        libtrel_lsp.a         rtl formula machine translator resources help editor shell"
  "gui        libtrelgui.a          rtl formula machine translator resources help editor shell"
  "app        CMakeFiles/qn.dir:CMakeFiles/trel.dir  rtl formula machine translator resources help editor shell gui lsp"
)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

inputs() {  # the object files of one layer
  local where=$1
  local IFS=:
  for part in $where; do
    if [[ $part == *.a ]]; then
      [ -f "$build/$part" ] && echo "$build/$part"
    elif [ -d "$build/$part" ]; then
      find "$build/$part" -name '*.o'
    fi
  done
  return 0
}

present=()
for row in "${layers[@]}"; do
  read -r name where _ <<<"$row"
  files=$(inputs "$where")
  [ -z "$files" ] && continue
  present+=("$name")
  # shellcheck disable=SC2086
  nm --defined-only -g $files 2>/dev/null | awk -v l="$name" 'NF == 3 && $2 ~ /^[TDBR]$/ {print $3, l}' \
    >>"$tmp/defined"
  # shellcheck disable=SC2086
  nm -u $files 2>/dev/null | awk -v l="$name" 'NF == 2 && $1 == "U" {print $2, l}' | sort -u \
    >>"$tmp/undefined"
done
if [ ${#present[@]} -lt 4 ]; then
  echo "check-layers: the libraries are not built in $build" >&2
  exit 2
fi

# symbol -> the one layer that defines it; undefined uses joined to their definitions
sort -u "$tmp/defined" | awk '{n[$1]++; l[$1]=$2} END {for (s in n) if (n[s] == 1) print s, l[s]}' |
  sort >"$tmp/owners"
sort "$tmp/undefined" >"$tmp/uses"
join "$tmp/uses" "$tmp/owners" | awk '$2 != $3 {print $2, $3, $1}' | sort -k1,2 >"$tmp/edges"

status=0
echo "Link-level arrows (user -> used: symbols):"
while read -r user used; do
  count=$(awk -v a="$user" -v b="$used" '$1 == a && $2 == b' "$tmp/edges" | wc -l)
  allowed=""
  for row in "${layers[@]}"; do
    read -r name _ deps <<<"$row"
    [ "$name" = "$user" ] && allowed=" $deps "
  done
  if [[ $allowed == *" $used "* ]]; then
    printf '  %-10s -> %-10s %5d\n' "$user" "$used" "$count"
  else
    printf '  %-10s -> %-10s %5d   RUNS BACK UP, for example:\n' "$user" "$used" "$count"
    awk -v a="$user" -v b="$used" '$1 == a && $2 == b {print $3}' "$tmp/edges" | head -5 |
      c++filt | sed 's/^/      /'
    status=1
  fi
done < <(awk '{print $1, $2}' "$tmp/edges" | sort -u)
[ $status -eq 0 ] && echo "No arrow runs back up."
exit $status
