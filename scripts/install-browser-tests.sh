#!/usr/bin/env bash
# Installs what the browser tests drive Debian's Chromium with: puppeteer-core
# at the version pinned in tests/browser/package-lock.json, by `npm ci`.
# Node.js and npm come from Debian when the machine has none; Chromium from
# scripts/install-deps.sh --with-browser. Without these the browser tests
# are skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v npm >/dev/null; then
  scripts/apt-install-missing.sh nodejs npm
fi
cd tests/browser
npm ci --no-audit --no-fund --ignore-scripts
