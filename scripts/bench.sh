#!/usr/bin/env bash
# Builds the bench preset and measures what users wait for: the install
# package (headless) and `tracciato compile` of a dense 1,000,000 m line, each
# as a whole process, paired in the same run with its floor program (built
# here from the very bytes the run leaves: a temporary file, one write and a
# rename per file), and again with a durable floor that also flushes each
# file and the folder to the disk, as a replacement that must be all or
# nothing does. Prints the median ratio with its min and max over the pairs,
# and the peak memory. Then the compile at shorter lengths, to show the
# cost grows linearly; `tracciato decompile` of the 1,000,000 m line's files
# against `tracciato compile` of its descriptions, paired the same way;
# `tracciato lint` of a 50 MB line description against
# `tracciato compile` of the same text, paired the same way (valid records,
# and lines of mistyped keys, each a warning); the language server's answer
# to an edit of the 1,000,000 m line's train against a lint process of the
# same files; and the in-process Google
# Benchmark cases of the pieces; and the route view of the 1,000,000 m line in
# headless Chromium (its size, its first drawing, a redraw after a zoom step).
#
# Usage: scripts/bench.sh [PAIRS]   (21 by default, at least 11)
# Environment: BENCH_GOOGLE_ARGS are passed to Google Benchmark;
# BENCH_LINT_PAIRS sets the pairs of the 50 MB runs (5 by default);
# BENCH_EARLIER_PACKAGE names another build's Tarvo_Belmira_7351 to pair this
# build's package with (both must leave the same bytes).
set -euo pipefail
cd "$(dirname "$0")/.."
pairs=${1:-21}
if ((pairs < 11)); then
  echo "at least 11 pairs, for a median with a min and a max" >&2
  exit 2
fi
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target tracciato_bench process_pairs write_long_line \
  write_large_description lsp_latency tracciato Tarvo_Belmira_7351

bin=build/bench
package=$bin/driver/Tarvo_Belmira_7351
tool=$bin/tools/tracciato
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Headless: no display is named, so the package never loads the window
# module it carries.
unset DISPLAY

# The install package: one reference run, then its floor from the same bytes.
mkdir "$work/package"
cp "$package" "$work/package/"
"$work/package/Tarvo_Belmira_7351"
bench/build_floor.sh "$work/package" "$work/package_floor" Tarvo_Belmira_7351
bench/build_floor.sh --durable "$work/package" "$work/package_durable_floor" Tarvo_Belmira_7351

# The compile of the long line, and a floor for each length measured.
compile_pair() {
  local length=$1 label=$2
  local src="$work/line_$length"
  "$bin/bench/write_long_line" "$src" "$length"
  "$tool" compile "$src/Lunga_linea.txt" "$src/Lunga_1-.txt" --out "$src/out" >/dev/null
  bench/build_floor.sh "$src/out" "$src/floor"
  "$bin/bench/process_pairs" "$label" "$pairs" \
    -- "$tool" compile "$src/Lunga_linea.txt" "$src/Lunga_1-.txt" --out "{dir}" \
    -- "$src/floor" "{dir}"
  if [[ -n ${3:-} ]]; then
    bench/build_floor.sh --durable "$src/out" "$src/durable_floor"
    "$bin/bench/process_pairs" "$label, durable floor" "$pairs" \
      -- "$tool" compile "$src/Lunga_linea.txt" "$src/Lunga_1-.txt" --out "{dir}" \
      -- "$src/durable_floor" "{dir}"
  fi
}

echo "Whole processes, each against its floor (median of $pairs pairs):"
"$bin/bench/process_pairs" "install package, headless" "$pairs" \
  --copy "$package" -- "{dir}/Tarvo_Belmira_7351" -- "$work/package_floor" "{dir}"
"$bin/bench/process_pairs" "install package, durable floor" "$pairs" \
  --copy "$package" -- "{dir}/Tarvo_Belmira_7351" -- "$work/package_durable_floor" "{dir}"
if [[ -n ${BENCH_EARLIER_PACKAGE:-} ]]; then
  "$bin/bench/process_pairs" "install package, earlier build" "$pairs" \
    --copy "$package" --floor-copy "$BENCH_EARLIER_PACKAGE" \
    -- "{dir}/Tarvo_Belmira_7351" -- "{dir}/Tarvo_Belmira_7351"
fi
compile_pair 1000000 "tracciato compile, 1,000,000 m" durable

# The decompile of the long line's files (read, read back, compiled again in
# memory and compared byte for byte, the two descriptions written) against
# the compile that made them; both whole processes.
long="$work/line_1000000"
echo
echo "decompile against compile of the 1,000,000 m line:"
"$bin/bench/process_pairs" "tracciato decompile, 1,000,000 m" "$pairs" --against compile \
  -- "$tool" decompile "$long/out" --out "{dir}" \
  -- "$tool" compile "$long/Lunga_linea.txt" "$long/Lunga_1-.txt" --out "{dir}"
echo
# The language server: an edit of the long line's train answered with its
# diagnostics, against a lint process of the same files.
echo "language server against lint of the 1,000,000 m line:"
"$bin/bench/lsp_latency" "$tool" "$long/Lunga_linea.txt" "$long/Lunga_1-.txt" "$pairs"
echo
echo "The compile against the line's length (linear: the ratio stays put):"
compile_pair 250000 "tracciato compile,   250,000 m"
compile_pair 500000 "tracciato compile,   500,000 m"

# lint of one large description against its compile, both whole processes.
# lint writes no file; --status 1 lets a run that finds problems count too.
lint_pair() {
  local kind=$1
  local src="$work/large_$kind"
  "$bin/bench/write_large_description" "$src" "$kind"
  "$bin/bench/process_pairs" "tracciato lint, 50 MB $kind" "${BENCH_LINT_PAIRS:-5}" \
    --against compile --status 1 \
    -- "$tool" lint "$src/Grande_linea.txt" "$src/Grande_1-.txt" \
    -- "$tool" compile "$src/Grande_linea.txt" "$src/Grande_1-.txt" --out "{dir}"
}

echo
echo "lint against compile of the same 50 MB line description (aim: within 3x):"
lint_pair records
lint_pair unknown-keys

# The route view of the long line in headless Chromium, where the browser
# tests' driver is installed (scripts/install-browser-tests.sh).
echo
if [[ -x /usr/bin/chromium && -d tests/browser/node_modules/puppeteer-core ]]; then
  "$tool" view "$long/Lunga_linea.txt" "$long/Lunga_1-.txt" --out "$long/route.html" >/dev/null
  node bench/view_page_bench.mjs "$long/route.html"
else
  echo "route view: skipped (needs chromium and scripts/install-browser-tests.sh)"
fi

echo
echo "In-process pieces (Google Benchmark):"
# shellcheck disable=SC2086
"$bin/bench/tracciato_bench" ${BENCH_GOOGLE_ARGS:-}
