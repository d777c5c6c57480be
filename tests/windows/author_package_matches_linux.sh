#!/usr/bin/env bash
# An author's own scenario (other names, a changed record, notes written as
# UTF-8 with LF ends), packaged for Windows and for Linux by the Linux tool.
# Each package, run in an empty folder (the Windows one under Wine, the Linux
# one headless), leaves the documents converted to Windows-1252 CR LF lines,
# the three scenario files of `tracciato compile` byte for byte, and no
# description file.
#
# Usage: author_package_matches_linux.sh LINUX_TOOL WINDOWS_STUB RUN_CLOSING_BOXES WINE_RUN
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/check_same.sh"
linux_tool=$(realpath "$1") windows_stub=$(realpath "$2") runner=$(realpath "$3") wine_run=$(realpath "$4")
if [[ ! -x $linux_tool ]]; then
  echo "no Linux tool at $linux_tool: build it first (cmake --build --preset dev --target tracciato)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$linux_tool" example --out src >/dev/null
sed 's/velocita,    3450,   135/velocita,    3450,   120/' src/Tarvo_Belmira_7351-.txt >src/Altra_Linea_42-.txt
cp src/Tarvo_Belmira_linea.txt src/Altra_Linea_linea.txt
tr -d '\r' <src/Altra_Linea_42-.txt >src/lf_train.txt
tr -d '\r' <src/Altra_Linea_linea.txt >src/lf_line.txt
printf 'Note per il macchinista\nCitt\xc3\xa0 e stazioni \xe2\x80\x93 nuove\nfine' >src/notes.txt

"$linux_tool" compile src/Altra_Linea_linea.txt src/Altra_Linea_42-.txt --out ref >/dev/null
for target in linux windows; do
  stub=()
  [[ $target == windows ]] && stub=(--stub "$windows_stub")
  "$linux_tool" package src/lf_line.txt src/lf_train.txt --line-name Altra_Linea --train-number 42 \
    --notes src/notes.txt --slowdown-order src/Tarvo_Belmira_7351_rallentamenti.txt \
    --timetable src/Tarvo_Belmira_7351_scheda_treno.txt --target "$target" "${stub[@]}" --out dist >/dev/null
done

# What each run must leave: the compile's three files and the documents.
mkdir expected
cp ref/* expected/
printf 'Note per il macchinista\r\nCitt\xe0 e stazioni \x96 nuove\r\nfine\r\n' >expected/Altra_Linea_42_note.txt
cp src/Tarvo_Belmira_7351_rallentamenti.txt expected/Altra_Linea_42_rallentamenti.txt
cp src/Tarvo_Belmira_7351_scheda_treno.txt expected/Altra_Linea_42_scheda_treno.txt

listing() {
  (cd "$1" && find . -maxdepth 1 -type f ! -name 'Altra_Linea_42' ! -name 'Altra_Linea_42.exe' \
     ! -name run_closing_boxes.exe -printf '%f\n' | LC_ALL=C sort | xargs -r md5sum)
}

mkdir linux windows
cp dist/Altra_Linea_42 linux/
cp dist/Altra_Linea_42.exe "$runner" windows/
(cd linux && env -u DISPLAY ./Altra_Linea_42 >/dev/null) || { echo "FAIL: the Linux package ended with $?" >&2; failures=$((failures + 1)); }
(cd windows && "$wine_run" ./run_closing_boxes.exe Altra_Linea_42.exe >../windows.messages) ||
  { echo "FAIL: the Windows package ended with $?: $(cat windows.messages)" >&2; failures=$((failures + 1)); }

check_same "files left by the Linux package (expected, then left)" "$(listing expected)" "$(listing linux)"
check_same "files left by the Windows package (expected, then left)" "$(listing expected)" "$(listing windows)"

if ((failures)); then exit 1; fi
echo "an author's package made on Linux installs the same files on Linux and under Wine"
