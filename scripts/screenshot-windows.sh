#!/usr/bin/env bash
# Takes a screenshot of the Windows waiting window under Wine on a virtual X
# server, to look at:   scripts/screenshot-windows.sh [OUT.png]
# (build/windows/waiting-window.png by default). A smoke check for a person's
# eyes, not a pixel comparison: Wine draws with its own fonts.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/windows/waiting-window.png}")
scripts/install-deps-windows.sh --screenshot
cmake --preset windows >/dev/null
cmake --build --preset windows --target show_waiting_window

. scripts/wine-env.sh
wine_prefix_ready
export OUT=$out PROGRAM=build/windows/tests/windows/show_waiting_window.exe
xvfb-run -a -s "-screen 0 640x480x24 -dpi 96" bash -c '
  . scripts/wine-env.sh
  wine_session_start
  wine "$PROGRAM" 20 &
  shown=
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^Form1\$" >/dev/null 2>&1 && { shown=1; break; }
    sleep 0.2
  done
  sleep 1  # let the one paint reach the server
  xwd -root -silent | /usr/bin/convert xwd:- "png:$OUT"
  kill $! 2>/dev/null || true
  wine_session_stop
  [[ -n $shown ]] || { echo "the window Form1 never appeared" >&2; exit 1; }'
echo "$out"
