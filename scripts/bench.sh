#!/usr/bin/env bash
# Builds the bench preset and runs the benchmarks: the install run and an
# author's compile of a generated 1,000,000 m line, each with its floor (the
# same bytes written by a plain copy) and the ratio to it; then the long
# line's peak memory, measured alone in a process and for `tracciato compile`.
# Extra arguments go to Google Benchmark (e.g. --benchmark_repetitions=5).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target tracciato_bench long_line_peak_memory tracciato

build/bench/bench/tracciato_bench "$@"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo
build/bench/bench/long_line_peak_memory "$work"
if [[ -x /usr/bin/time ]]; then
  /usr/bin/time -f "tracciato compile: %e s, peak resident memory %M KB" \
    build/bench/tools/tracciato compile "$work/Lunga_linea.txt" "$work/Lunga_1-.txt" --out "$work/out"
fi
