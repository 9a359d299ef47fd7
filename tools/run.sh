#!/usr/bin/env bash
# Builds Trel and starts the IDE (trel base.exe) in its start-up directory build/ide, which holds
# base.exe, halp.rtf, lib/, the examples in projects/ and the editor text code.qn. The first start
# opens an example; later starts open what you left in the editor. Name an example to open it:
#
#   tools/run.sh [examples/NAME.qn]
#
# Without a display the IDE cannot start: the script says what is needed and runs the example on
# the terminal with qn instead. TREL_BUILD_DIR names another build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
example="${1:-}"
[ -n "$example" ] && example="$(realpath "$example")"
cd "$root"
build="$(realpath -m "${TREL_BUILD_DIR:-build}")"
tools/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target trel qn
tools/startup-dir.sh "$build" "$build/ide" "$example"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
The IDE needs a display, and none is set (DISPLAY and WAYLAND_DISPLAY are empty).
Start this command from a terminal of a desktop session (or over ssh -X). To see the IDE without
a display, tools/screenshots.sh starts it under a virtual X server (Xvfb) and saves pictures of
its windows in build/screenshots.
Meanwhile, here is the program in the editor, run on this terminal with qn:
MSG
  cd "$build/ide"
  exec "$build/qn" run code.qn
fi
cd "$build/ide"
exec ./trel base.exe
