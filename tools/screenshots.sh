#!/usr/bin/env bash
# Starts the IDE under a virtual X server (Xvfb) and saves screenshots of its windows: the main
# window, the console after a run, the low-level viewer, the help window, and the whole screen;
# then, in a second session, a program paused at a breakpoint with the debugger's panels, and the
# same program one step further.
#
#   tools/screenshots.sh [OUTPUT_DIR]      (default: build/screenshots)
#
# The IDE runs in a temporary start-up directory opened on examples/procedure.qn; the keys F9
# (Run), F11 (Show Low-level) and F1 (Help) drive it. TREL_BUILD_DIR names another build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

if [ "${TREL_SCREENSHOTS_INSIDE:-}" != 1 ]; then
  out="$(realpath -m "${1:-$root/build/screenshots}")"
  build="$(realpath -m "${TREL_BUILD_DIR:-$root/build}")"
  "$root/tools/install-deps.sh"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target trel
  ide="$(mktemp -d)"
  trap 'rm -rf "$ide"' EXIT
  "$root/tools/startup-dir.sh" "$build" "$ide" "$root/examples/procedure.qn"
  mkdir -p "$out"
  TREL_SCREENSHOTS_INSIDE=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out" "$ide"
  echo "Screenshots in $out:"
  ls "$out"
  exit 0
fi

# Inside the virtual X server: $1 is the output folder, $2 the start-up directory.
out="$1"
cd "$2"
./trel base.exe >"$out/trel.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# The visible window whose title matches, other than the ones listed after it.
window() {
  local title="$1" id
  shift
  for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
      case " $* " in *" $id "*) ;; *) echo "$id"; return 0 ;; esac
    done
    sleep 0.1
  done
  echo "screenshots: no window \"$title\" appeared" >&2
  return 1
}
shot() { import -window "$2" "$out/$1.png"; }
press() {
  xdotool windowfocus --sync "$main"
  xdotool key "$1"
  sleep 1
}

sleep 2.5  # the splash shows for two seconds
main="$(window '^Trel$')"
shot main-window "$main"
press F9
console="$(window '^Trel$' "$main")"
shot console-after-run "$console"
press F11
shot low-level-viewer "$(window '^Low level$')"
press F1
shot help-window "$(window '^HELP - Trel$')"
shot screen root

# The debugger: a breakpoint on line 10 (inside the procedure), Run, a watch, then Step twice.
kill "$pid"
wait "$pid" 2>/dev/null || true
./trel base.exe >>"$out/trel.log" 2>&1 &
pid=$!
sleep 0.5
main="$(window '^Trel$')"
xdotool windowfocus --sync "$main"
xdotool key ctrl+Home
for _ in $(seq 9); do xdotool key Down; done
xdotool key F5
press F9
# The console the run brought up goes out of the way, below the main window.
for id in $(xdotool search --onlyvisible --name '^Trel$'); do
  [ "$id" != "$main" ] && xdotool windowmove "$id" 0 760
done
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --window "$main" $((WIDTH - 140)) $((HEIGHT - 57)) click 1  # the watch input
xdotool type "FL2-1000"
xdotool key Return
sleep 0.5
shot paused-at-breakpoint root
press F8
press F8
shot paused-after-two-steps root
press Escape
