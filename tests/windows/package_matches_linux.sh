#!/usr/bin/env bash
# The Windows install package, run under Wine in an empty folder, leaves the
# same files with the same bytes as the Linux package, ends with the same
# status and shows the same messages (a message box under Wine, standard error
# on a Linux run without a display). A second run in the same folder replaces
# every file whole.
#
# Usage: package_matches_linux.sh LINUX_PACKAGE WINDOWS_PACKAGE RUN_CLOSING_BOXES WINE_RUN
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/check_same.sh"
linux_package=$(realpath "$1") windows_package=$(realpath "$2") runner=$(realpath "$3") wine_run=$(realpath "$4")
if [[ ! -x $linux_package ]]; then
  echo "no Linux package at $linux_package: build it first" \
       "(cmake --build --preset dev --target Tarvo_Belmira_7351)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A folder name outside ASCII: the program folder must reach the files intact.
folder="Linea Città Δ"
mkdir -p "$work/linux/$folder" "$work/windows/$folder"
cp "$linux_package" "$work/linux/$folder/Tarvo_Belmira_7351"
cp "$windows_package" "$work/windows/$folder/Tarvo_Belmira_7351.exe"
cp "$runner" "$work/windows/run_closing_boxes.exe"  # beside the folder, not in it

run_linux() {  # run_linux MESSAGES_FILE: prints the exit status
  (cd "$work/linux/$folder" && env -u DISPLAY ./Tarvo_Belmira_7351 2>"$1" >/dev/null) && echo 0 || echo $?
}
run_windows() {
  (cd "$work/windows/$folder" &&
     "$wine_run" ../run_closing_boxes.exe Tarvo_Belmira_7351.exe >"$1.raw") && status=0 || status=$?
  tr -d '\r' <"$1.raw" >"$1"
  echo $status
}
# The files a run left, with their digests (the program itself left out).
listing() {
  (cd "$1" && find . -maxdepth 1 -type f ! -name 'Tarvo_Belmira_7351' ! -name 'Tarvo_Belmira_7351.exe' \
     -printf '%f\n' | LC_ALL=C sort | while read -r name; do
       printf '%s %s %s\n' "$(stat -c %s "$name")" "$(md5sum <"$name" | cut -d' ' -f1)" "$name"
     done)
}

linux_status=$(run_linux "$work/linux.messages")
expected=$(listing "$work/linux/$folder")
echo "Linux package: status $linux_status, files:"
echo "$expected"
# The three documents and the three scenario files, and nothing else: the
# descriptions are read back and deleted.
six="Tarvo_Belmira_7351.dat
Tarvo_Belmira_7351.sim
Tarvo_Belmira_7351_note.txt
Tarvo_Belmira_7351_rallentamenti.txt
Tarvo_Belmira_7351_scheda_treno.txt
Tarvo_Belmira_linea.dat"
check_same "names of the files left (expected, then Linux)" "$six" "$(cut -d' ' -f3- <<<"$expected")"

windows_status=$(run_windows "$work/windows.messages")
check_same "exit status (Linux, then Windows)" "$linux_status" "$windows_status"
check_same "messages (Linux, then Windows)" "$(cat "$work/linux.messages")" "$(cat "$work/windows.messages")"
check_same "files left (Linux, then Windows)" "$expected" "$(listing "$work/windows/$folder")"

# Run again over earlier files of the same names, longer than the new ones
# where their kind allows (the documents, and the cell and track files of a
# longer line): every one must be replaced whole.
junk=$(head -c 1048576 /dev/zero | tr '\0' x)
while read -r _ _ name; do
  earlier="$work/windows/$folder/$name"
  case "$name" in
    *.txt) printf '%s' "$junk" >"$earlier" ;;
    *.dat) head -c 300000 /dev/zero >>"$earlier" ;;
  esac
done <<<"$expected"
windows_status=$(run_windows "$work/windows.messages")
check_same "second run's exit status" "$linux_status" "$windows_status"
check_same "files left by the second run" "$expected" "$(listing "$work/windows/$folder")"

if ((failures)); then exit 1; fi
echo "Windows package under Wine: same status, messages and bytes as Linux, twice"
