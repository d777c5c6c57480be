#!/usr/bin/env bash
# Builds everything and runs every test: scripts/test.sh [preset]   (dev by default; asan for the sanitizers)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-dev}
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
# The window tests need a display: run the whole suite inside one virtual X server.
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" ctest --preset "$preset"
