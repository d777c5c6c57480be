#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 and runs their tests under
# Wine:   scripts/test-windows.sh
# The Windows package and tool must write what the Linux build writes, so the
# Linux package and tool (build/dev) are brought up to date first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/install-deps-windows.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target Tarvo_Belmira_7351 tracciato
cmake --preset windows >/dev/null
cmake --build --preset windows

. scripts/wine-env.sh
wine_prefix_ready
# One virtual X server for the whole suite; the wineserver is started before
# ctest and stopped after it, so no Wine process holds ctest's pipes open.
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
  . scripts/wine-env.sh
  wine_session_start
  status=0
  ctest --preset windows || status=$?
  wine_session_stop
  exit $status'
