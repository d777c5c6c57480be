// The route view of the dense 1,000,000 m line in headless Chromium: the
// page's size, the time from the start of its loading to its first drawing,
// and the time from a zoom step to the frame that shows it. Medians with
// their min and max over the runs; a benchmark, not a test.
//
//   node bench/view_page_bench.mjs PAGE.html [RUNS]   (11 by default)
import { statSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

import { launch, openPage } from '../tests/browser/browser.mjs';

const page = process.argv[2];
const runs = Number(process.argv[3] || 11);

function summary(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  const median = sorted[Math.floor(sorted.length / 2)];
  return `median ${median.toFixed(1)} ms (min ${sorted[0].toFixed(1)}, max ${sorted[sorted.length - 1].toFixed(1)})`;
}

const browser = await launch();
const firstDrawing = [];
const zoomStep = [];
for (let run = 0; run < runs; run++) {
  const p = await openPage(browser, pathToFileURL(page).href);
  firstDrawing.push(await p.evaluate(() => performance.getEntriesByName('route-drawn')[0].startTime));
  // Zoom steps in at the middle, each timed from the key to the frame after
  // its drawing.
  for (let step = 0; step < 5; step++) {
    zoomStep.push(await p.evaluate(() => new Promise((resolve) => {
      const began = performance.now();
      document.dispatchEvent(new KeyboardEvent('keydown', { key: '+', bubbles: true }));
      requestAnimationFrame(() => requestAnimationFrame(() => resolve(performance.now() - began)));
    })));
  }
  await p.close();
}
await browser.close();

console.log(`route view page of the 1,000,000 m line: ${statSync(page).size} bytes`);
console.log(`  first drawing, from the start of loading: ${summary(firstDrawing)} over ${runs} loads`);
console.log(`  redraw after a zoom step, key to frame:   ${summary(zoomStep)} over ${zoomStep.length} steps`);
