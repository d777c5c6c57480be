#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix: wine-run.sh PROGRAM.exe ARGS...
# The Windows build's tests run through it (the cross build's test emulator).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
wine_prefix_ready
exec wine "$@"
