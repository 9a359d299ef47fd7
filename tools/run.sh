#!/usr/bin/env bash
# Builds Trel and runs it. Until the IDE exists this runs an example program with qn.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
exec build/qn run "${1:-examples/hello.qn}"
