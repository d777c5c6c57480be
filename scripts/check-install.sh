#!/usr/bin/env bash
# Builds the project as someone else would (a plain Release build, warnings not
# errors), with the Windows stub when MinGW-w64 is there; checks the
# `cmake --install` layout; makes the Debian package, installs it with apt and
# has the installed `tracciato package` make a package that installs the
# scenario the installed `tracciato compile` writes. Removes the package
# again at the end.   scripts/check-install.sh   (as root, on Debian 12)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=build/plain
windows_stub=OFF
command -v x86_64-w64-mingw32-g++-posix >/dev/null && windows_stub=ON
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTRACCIATO_TESTS=OFF \
  -DTRACCIATO_WINDOWS_STUB=$windows_stub >/dev/null
cmake --build "$build"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The prefix layout.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
expected=(bin/tracciato lib/tracciato/tracciato-stub share/doc/tracciato/README.md
          share/doc/tracciato/file_formats.md)
[[ $windows_stub == ON ]] && expected+=(lib/tracciato/tracciato-stub.exe)
for file in "${expected[@]}"; do [[ -f $work/prefix/$file ]] || fail "cmake --install left no $file"; done

# The Debian package, installed as a driver's or author's machine would.
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tracciato_*_amd64.deb)
apt-get install -y -qq "./$deb" >/dev/null
trap 'apt-get remove -y -qq tracciato >/dev/null || true; rm -rf "$work"' EXIT
[[ $(command -v tracciato) == /usr/bin/tracciato ]] || fail "the package installed no /usr/bin/tracciato"

cd "$work"
tracciato example --out src >/dev/null
tracciato compile src/Tarvo_Belmira_linea.txt src/Tarvo_Belmira_7351-.txt --line-name Valle \
  --train-number 9 --out ref >/dev/null
targets=linux
[[ $windows_stub == ON ]] && targets=all
tracciato package src/Tarvo_Belmira_linea.txt src/Tarvo_Belmira_7351-.txt --line-name Valle \
  --train-number 9 --notes src/Tarvo_Belmira_7351_note.txt \
  --slowdown-order src/Tarvo_Belmira_7351_rallentamenti.txt \
  --timetable src/Tarvo_Belmira_7351_scheda_treno.txt --target $targets --out dist >/dev/null ||
  fail "the installed tracciato package failed"
[[ $windows_stub == OFF || -f dist/Valle_9.exe ]] || fail "no Windows package from the installed stub"
mkdir driver && cp dist/Valle_9 driver/
(cd driver && env -u DISPLAY ./Valle_9) || fail "the package made from the installed stub failed"
for file in ref/*; do
  cmp -s "$file" "driver/$(basename "$file")" || fail "$(basename "$file") differs from the compile's"
done

if ((failures)); then exit 1; fi
echo "plain Release build, install layout and $(basename "$deb"): the installed tool packages a scenario"
