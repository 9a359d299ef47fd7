#!/usr/bin/env bash
# Prepares a start-up directory for the IDE: the trel executable and the stub base.exe from a build
# folder, the help file, the sample libraries in lib/, the examples in projects/, an exported/
# folder for Export, and code.qn (the editor text) taken from an example when there is none yet.
#
#   tools/startup-dir.sh BUILD_DIR TARGET_DIR [EXAMPLE.qn]
#
# An existing code.qn is the user's text and is kept, unless an example is named: then the old
# text is kept as code.qn.bak first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
target="$2"
example="${3:-}"
for f in trel base.exe; do
  [ -x "$build/$f" ] || { echo "startup-dir: $build/$f is missing; build the trel target first" >&2; exit 1; }
done
mkdir -p "$target/lib" "$target/projects" "$target/exported"
cp -f "$build/trel" "$build/base.exe" "$target/"
cp -f "$root/data/halp.rtf" "$target/"
cp -f "$root"/lib/*.qnlib "$target/lib/" 2>/dev/null || true
cp -f "$root"/examples/*.qn "$target/projects/"
if [ -n "$example" ]; then
  [ -f "$target/code.qn" ] && cp -f "$target/code.qn" "$target/code.qn.bak"
  cp -f "$example" "$target/code.qn"
elif [ ! -f "$target/code.qn" ]; then
  cp -f "$root/examples/procedure.qn" "$target/code.qn"
fi
