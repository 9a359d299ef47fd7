#!/usr/bin/env bash
# Builds the Qt host benchmark in Release mode and runs it: the interpreter's counting loop on the
# terminal host and on the Qt host (offscreen), side by side. Arguments: iterations, rounds.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-bench-gui -G Ninja -DCMAKE_BUILD_TYPE=Release -DTREL_BENCH=ON -DTREL_TESTS=OFF >/dev/null
cmake --build build-bench-gui --target qt_host_bench
runtime="$PWD/build-bench-gui/gui-runtime"
mkdir -p "$runtime" && chmod 700 "$runtime"
XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen build-bench-gui/qt_host_bench "$@" 2> >(grep -v propagateSizeHints >&2)
