#!/usr/bin/env bash
# The author's tool on Windows, under Wine: `example` writes the same
# descriptions and documents as on Linux, `compile` turns them into the same
# three scenario files, with the same status, leaving its inputs as they
# were, and `decompile` reads those back into the same descriptions.
#
# Usage: tool_matches_linux.sh LINUX_TOOL WINDOWS_TOOL WINE_RUN
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/check_same.sh"
linux_tool=$(realpath "$1") windows_tool=$(realpath "$2") wine_run=$(realpath "$3")
if [[ ! -x $linux_tool ]]; then
  echo "no Linux tool at $linux_tool: build it first (cmake --build --preset dev --target tracciato)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$windows_tool" "$work/tracciato.exe"

digests() { (cd "$1" && find . -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort | xargs -r md5sum); }

# The example scenario, written by each build.
"$linux_tool" example --out "$work/linux/in" >/dev/null
(cd "$work" && "$wine_run" tracciato.exe example --out windows/in >/dev/null)
check_same "example files (Linux, then Windows)" "$(digests "$work/linux/in")" "$(digests "$work/windows/in")"

compile() {  # compile SIDE: prints the exit status
  local side=$1
  local line=in/Tarvo_Belmira_linea.txt train=in/Tarvo_Belmira_7351-.txt
  if [[ $side == linux ]]; then
    (cd "$work/linux" && "$linux_tool" compile "$line" "$train" --out out >/dev/null 2>&1) && echo 0 || echo $?
  else
    (cd "$work/windows" && "$wine_run" ../tracciato.exe compile "$line" "$train" --out out >/dev/null 2>&1) &&
      echo 0 || echo $?
  fi
}

inputs_before=$(digests "$work/windows/in")
linux_status=$(compile linux)
windows_status=$(compile windows)
echo "compile: Linux status $linux_status, Windows status $windows_status"
echo "Linux output:"
digests "$work/linux/out" 2>/dev/null || echo "(none)"
check_same "scenario files written (expected, then Linux)" \
  "$(printf '%s\n' Tarvo_Belmira_7351.dat Tarvo_Belmira_7351.sim Tarvo_Belmira_linea.dat)" \
  "$(ls "$work/linux/out" 2>/dev/null | LC_ALL=C sort)"
check_same "compile status (Linux, then Windows)" "$linux_status" "$windows_status"
check_same "compiled files (Linux, then Windows)" \
  "$(digests "$work/linux/out" 2>/dev/null)" "$(digests "$work/windows/out" 2>/dev/null)"
check_same "inputs before and after the Windows compile" "$inputs_before" "$(digests "$work/windows/in")"

# A line name outside ASCII arrives through the wide command line and goes
# into the files as its Windows-1252 byte (à is 0xE0), the files named as the
# file system spells it: the same files, under the same names, as on Linux.
compile_named() {  # compile_named SIDE: prints the exit status
  local side=$1 args=(compile in/Tarvo_Belmira_linea.txt in/Tarvo_Belmira_7351-.txt
    --line-name "Linea_Città" --train-number 7351 --out named)
  if [[ $side == linux ]]; then
    (cd "$work/linux" && "$linux_tool" "${args[@]}" >/dev/null 2>&1) && echo 0 || echo $?
  else
    # Wine reads the Unix command line in the locale's encoding.
    (cd "$work/windows" && LC_ALL=C.UTF-8 "$wine_run" ../tracciato.exe "${args[@]}" >/dev/null 2>&1) &&
      echo 0 || echo $?
  fi
}
check_same "named compile status (Linux, then Windows)" "$(compile_named linux)" "$(compile_named windows)"
check_same "files of a name outside ASCII (expected, then Linux)" \
  "$(printf '%s\n' Linea_Città_7351.dat Linea_Città_7351.sim Linea_Città_linea.dat)" \
  "$(ls "$work/linux/named" 2>/dev/null | LC_ALL=C sort)"
check_same "files of a name outside ASCII (Linux, then Windows)" \
  "$(digests "$work/linux/named" 2>/dev/null)" "$(digests "$work/windows/named" 2>/dev/null)"
if ! LC_ALL=C grep -q $'Linea_Citt\xe0' "$work/linux/named/Linea_Città_7351.sim" 2>/dev/null; then
  echo "FAIL: the item file does not hold the name as Windows-1252 bytes" >&2
  failures=$((failures + 1))
fi

# decompile reads each side's files back into the same descriptions, the one
# outside ASCII named from the item file's Windows-1252 name as on Linux.
decompile() {  # decompile SIDE FOLDER: prints the exit status
  local side=$1 folder=$2
  if [[ $side == linux ]]; then
    (cd "$work/linux" && "$linux_tool" decompile "$folder" --out "back_$folder" >/dev/null 2>&1) &&
      echo 0 || echo $?
  else
    (cd "$work/windows" && "$wine_run" ../tracciato.exe decompile "$folder" --out "back_$folder" \
      >/dev/null 2>&1) && echo 0 || echo $?
  fi
}
for folder in out named; do
  check_same "decompile of $folder: status (Linux, then Windows)" \
    "$(decompile linux $folder)" "$(decompile windows $folder)"
  check_same "decompile of $folder: descriptions (Linux, then Windows)" \
    "$(digests "$work/linux/back_$folder" 2>/dev/null)" "$(digests "$work/windows/back_$folder" 2>/dev/null)"
done
check_same "descriptions of a name outside ASCII (expected, then Linux)" \
  "$(printf '%s\n' Linea_Città_7351-.txt Linea_Città_linea.txt)" \
  "$(ls "$work/linux/back_named" 2>/dev/null | LC_ALL=C sort)"

if ((failures)); then exit 1; fi
echo "tracciato.exe under Wine: same example, same compiled files, inputs untouched, names in" \
  "Windows-1252, the same descriptions read back"
