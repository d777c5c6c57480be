#!/usr/bin/env bash
# Installs the Debian 12 packages the Windows cross build and its Wine tests
# need, only those missing:   scripts/install-deps-windows.sh [--screenshot]
# --screenshot adds what scripts/screenshot-windows.sh takes pictures with.
set -euo pipefail

packages=(g++-mingw-w64-x86-64 libz-mingw-w64-dev wine64 wine fonts-wine googletest xvfb xauth)
[[ ${1:-} == --screenshot ]] && packages+=(x11-apps xdotool imagemagick)
"$(dirname "$0")/apt-install-missing.sh" "${packages[@]}"
