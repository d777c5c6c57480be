#!/usr/bin/env bash
# Runs one file of browser tests with node's test runner:
#   run.sh FILE.test.mjs   (TRACCIATO and WRITE_LONG_LINE name the built programs)
# Skipped (status 77) where Debian's Chromium or the pinned puppeteer-core
# (scripts/install-browser-tests.sh) is not installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [[ ! -x /usr/bin/chromium ]]; then
  echo "chromium is not installed (scripts/install-deps.sh --with-browser): skipped"
  exit 77
fi
if ! command -v node >/dev/null || [[ ! -d $here/node_modules/puppeteer-core ]]; then
  echo "puppeteer-core is not installed (scripts/install-browser-tests.sh): skipped"
  exit 77
fi
cd "$here"
exec node --test --test-concurrency=1 "$1"
