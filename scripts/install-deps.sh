#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libcli11-dev nlohmann-json3-dev zlib1g-dev libfltk1.3-dev libx11-dev libcpp-httplib-dev
          xvfb xauth strace neovim)
# The browser tests (the route plot's rendering, the route view) need a
# browser, a large package: only CI asks for it (install-deps.sh
# --with-browser), then scripts/install-browser-tests.sh for the driver.
# Without it those tests are skipped.
if [[ ${1:-} == --with-browser ]]; then
  packages+=(chromium fonts-dejavu-core)
fi
"$(dirname "$0")/apt-install-missing.sh" "${packages[@]}"
