#!/usr/bin/env bash
# Debian's Neovim, headless, opens the example's train description with a
# mistyped key as an author would and receives the server's diagnostics.
# Usage: neovim_test.sh TRACCIATO. Skipped (77) where Neovim is not installed.
set -euo pipefail
tool=$1
command -v nvim >/dev/null || { echo "nvim is not installed"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tool" example >/dev/null
# Line 29's key mistyped; a name outside ASCII on line 1 checks the code page.
sed -i '29s/^segnale/segnalle/' Tarvo_Belmira_7351-.txt
printf -- '- treno per Citt\xe0\r\n' | cat - Tarvo_Belmira_7351-.txt >train && mv train Tarvo_Belmira_7351-.txt

export TRACCIATO_TOOL=$tool TRACCIATO_NVIM_OUT=$work/seen.txt
timeout 60 nvim --headless -u NONE -i NONE --cmd 'set fileencodings=cp1252' \
  -c "luafile $here/neovim_client.lua" Tarvo_Belmira_7351-.txt >/dev/null 2>&1 || true

cat seen.txt
expected_warning="30:1: key field 'segnalle' matches no key and starts no record; did you mean 'segnale'?"
grep -qxF "$expected_warning" seen.txt || { echo "missing: $expected_warning"; exit 1; }
grep -q '^hover: \*\*position\*\*: value 1 of `segnale`' seen.txt || { echo "missing: the hover"; exit 1; }
