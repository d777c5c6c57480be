#!/usr/bin/env bash
# Builds the install package and runs it. Like the real package, it writes its
# files into the folder that holds the program: build/dev/driver/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target Tarvo_Belmira_7351
build/dev/driver/Tarvo_Belmira_7351
echo "Files written in $(pwd)/build/dev/driver/:"
ls -l build/dev/driver/ | grep -E '\.(txt|dat|sim)$' || true
