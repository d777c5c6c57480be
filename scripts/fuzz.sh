#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, AddressSanitizer and UBSan) and
# runs every fuzz target for SECONDS seconds each (60 by default), starting
# from seeds made from the embedded scenario:   scripts/fuzz.sh [SECONDS]
# A target that finds a crash stops with its input saved in
# build/fuzz/findings/; the script then fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh
scripts/apt-install-missing.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
build=build/fuzz
rm -rf "$build/seeds"
"$build/fuzz/make_seeds" "$build/seeds"
mkdir -p "$build/findings"
for target in compile lint plot inspect decompile payload replacement_record lsp; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "fuzz_$target: ${seconds}s"
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1 \
    "$build/fuzz/fuzz_$target" "$corpus" "$build/seeds/$target" \
    -max_total_time="$seconds" -max_len=1048576 -rss_limit_mb=4096 -timeout=30 \
    -artifact_prefix="$build/findings/$target-" -print_final_stats=1 2>&1 | tail -n 12
done
