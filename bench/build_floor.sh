#!/usr/bin/env bash
# Builds the floor program for a run: a program that holds the very bytes the
# run leaves in its folder and writes each file the plainest safe way (a
# temporary file, one write, a rename), with nothing else to do.
#
# With --durable it also flushes each file to the disk before its rename and
# the folder after the last, as a run that replaces a scenario all or
# nothing must.
#
# Usage: bench/build_floor.sh [--durable] FOLDER PROGRAM [LEAVE_OUT]
# FOLDER holds the run's files (less LEAVE_OUT, the run's own program when it
# runs from there); PROGRAM writes them into the folder given as its one
# argument.
set -euo pipefail
durable=0
if [[ ${1:-} == --durable ]]; then durable=1; shift; fi
folder=$(cd "$1" && pwd)
program=$2
src=$(mktemp -d)
trap 'rm -rf "$src"' EXIT

names=()
for f in "$folder"/*; do
  [[ -f $f && $(basename "$f") != "${3:-}" ]] || continue
  names+=("$(basename "$f")")
done

{
  echo '.section .rodata'
  for i in "${!names[@]}"; do
    echo ".balign 64"
    echo ".global file_${i}_start, file_${i}_end"
    echo "file_${i}_start: .incbin \"$folder/${names[$i]}\""
    echo "file_${i}_end:"
  done
  echo '.section .note.GNU-stack,"",@progbits'
} >"$src/bytes.S"

{
  echo '#include <fcntl.h>'
  echo '#include <stdio.h>'
  echo '#include <unistd.h>'
  for i in "${!names[@]}"; do echo "extern const char file_${i}_start[], file_${i}_end[];"; done
  echo 'static const struct { const char* name; const char* start; const char* end; } files[] = {'
  for i in "${!names[@]}"; do echo "  {\"${names[$i]}\", file_${i}_start, file_${i}_end},"; done
  cat <<'C'
};
int main(int argc, char** argv) {
  if (argc != 2) return 2;
  for (size_t i = 0; i < sizeof files / sizeof files[0]; ++i) {
    char path[4096], tmp[4096];
    snprintf(path, sizeof path, "%s/%s", argv[1], files[i].name);
    snprintf(tmp, sizeof tmp, "%s.tmp", path);
    int fd = open(tmp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return 1;
    size_t size = (size_t)(files[i].end - files[i].start);
    if (write(fd, files[i].start, size) != (ssize_t)size) return 1;
    if (DURABLE && fsync(fd) != 0) return 1;
    if (close(fd) != 0 || rename(tmp, path) != 0) return 1;
  }
  if (DURABLE) {
    int dir = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || fsync(dir) != 0 || close(dir) != 0) return 1;
  }
  return 0;
}
C
} >"$src/floor.c"

cc -O2 -DDURABLE=$durable -o "$program" "$src/floor.c" "$src/bytes.S"
