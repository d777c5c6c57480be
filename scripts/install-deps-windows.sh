#!/usr/bin/env bash
# Installs the Debian 12 packages the Windows cross build and its Wine tests
# need, only those missing:   scripts/install-deps-windows.sh [--screenshot]
# --screenshot adds what scripts/screenshot-windows.sh takes pictures with.
set -euo pipefail

packages=(g++-mingw-w64-x86-64 wine64 wine fonts-wine googletest xvfb xauth)
[[ ${1:-} == --screenshot ]] && packages+=(x11-apps xdotool imagemagick)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  # Without --no-install-recommends Wine pulls in hundreds of desktop packages.
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
