#!/usr/bin/env bash
# Renders the embedded scenario's route plot in headless Chromium, as an
# author opening the SVG in a browser would see it, and checks that the
# browser read it as a drawing (no XML error page) and took a screenshot of
# the drawing's full size. Skipped (status 77) where Chromium is not installed.
#
#   render_plot.sh TRACCIATO [PNG]   (PNG: keep the screenshot there)
set -euo pipefail

tracciato=$1
keep_png=${2:-}
browser=$(command -v chromium || command -v chromium-browser || true)
if [[ -z $browser ]]; then
  echo "chromium is not installed: skipped"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tracciato" example --out "$work" >/dev/null
"$tracciato" plot "$work/Tarvo_Belmira_linea.txt" "$work/Tarvo_Belmira_7351-.txt" --out "$work/route.svg" >/dev/null

# The window is the drawing's own size, so the screenshot holds all of it.
width=$(grep -o -m1 '<svg [^>]*' "$work/route.svg" | grep -o ' width="[0-9]*"' | grep -o '[0-9]*')
height=$(grep -o -m1 '<svg [^>]*' "$work/route.svg" | grep -o ' height="[0-9]*"' | grep -o '[0-9]*')

# A fresh profile each time, and nothing that reaches out to the network.
run_browser() {
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync --hide-scrollbars \
    --user-data-dir="$work/profile-$1" "${@:2}" "file://$work/route.svg"
}

run_browser dom --dump-dom >"$work/dom.html" 2>"$work/dom.log"
if grep -q "parsererror" "$work/dom.html" || ! grep -q "<svg" "$work/dom.html"; then
  echo "the browser did not read route.svg as a drawing:"
  head -c 2000 "$work/dom.html"
  exit 1
fi
if grep -E "net::ERR_|Uncaught|Failed to load" "$work/dom.log"; then
  echo "the browser reported errors loading route.svg"
  exit 1
fi

run_browser shot --screenshot="$work/route.png" --window-size="$width,$height" >"$work/shot.log" 2>&1
if [[ ! -s $work/route.png ]]; then
  echo "no screenshot written:"
  cat "$work/shot.log"
  exit 1
fi
# The PNG header: its signature, then the width and height of the IHDR chunk.
read -r -a header <<<"$(od -An -tu1 -N24 -w24 "$work/route.png")"
signature="${header[*]:0:8}"
png_width=$(( (header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19] ))
png_height=$(( (header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23] ))
if [[ $signature != "137 80 78 71 13 10 26 10" || $png_width != "$width" || $png_height != "$height" ]]; then
  echo "the screenshot is not a ${width}x${height} PNG (got ${png_width}x${png_height})"
  exit 1
fi
if [[ -n $keep_png ]]; then cp "$work/route.png" "$keep_png"; fi
echo "route.svg rendered to a ${png_width}x${png_height} PNG"
