// The route view page as a person uses it, in headless Chromium: zoom and
// pan, the Go to box, the station keys, the problems panel, the details of a
// mark, and labels that never overlap, on the example and on the dense
// 1,000,000 m line.
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';

import { drawn, goTo, labelOverlaps, launch, openPage, range, stationMark } from './browser.mjs';
import { edit, example, folder, longLine, page } from './scenario.mjs';

let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser.close(); });

const centre = (r) => (r.start + r.end) / 2;

describe('the example route', () => {
  let url;
  before(() => {
    const dir = folder();
    url = page(example(dir), dir);
  });

  test('a wheel step over BELMIRA keeps it under the pointer and narrows the range', async () => {
    const p = await openPage(browser, url);
    const before = await range(p);
    const mark = await stationMark(p, 'BELMIRA');
    const textHeight = () => p.evaluate(() => [...document.querySelectorAll('#route-svg text.station-name')]
      .find((t) => t.textContent === 'BELMIRA').getBoundingClientRect().height);
    const heightBefore = await textHeight();
    await p.mouse.move(mark.x, mark.y);
    await p.mouse.wheel({ deltaY: -100 });
    await p.waitForFunction((end) => Number(document.getElementById('route-view').dataset.viewEnd) !== end, {}, before.end);
    await drawn(p);
    const afterZoom = await range(p);
    const moved = await stationMark(p, 'BELMIRA');
    assert.ok(afterZoom.end - afterZoom.start < before.end - before.start, 'the range narrows');
    assert.ok(Math.abs(moved.x - mark.x) < 1.5, `BELMIRA moved from ${mark.x} to ${moved.x}`);
    assert.ok(afterZoom.start < 25200 && afterZoom.end > 25200);
    assert.equal(await textHeight(), heightBefore, 'the text keeps its height');
    assert.deepEqual(p.errors, []);
    await p.close();
  });

  test('Go to 6850 centres on 6850 m, and PageDown goes on to the next station', async () => {
    const p = await openPage(browser, url);
    await p.keyboard.press('+');
    await p.keyboard.press('+');
    await goTo(p, '6850');
    assert.ok(Math.abs(centre(await range(p)) - 6850) <= 1, JSON.stringify(await range(p)));
    await p.keyboard.press('PageDown');
    await drawn(p);
    assert.ok(Math.abs(centre(await range(p)) - 9000) <= 1, 'SAN LORIANO di TARVO, at 9000 m');
    await p.keyboard.press('PageDown');
    await drawn(p);
    assert.ok(Math.abs(centre(await range(p)) - 13200) <= 1, 'LAVRETTO, at 13200 m');
    await p.keyboard.press('PageUp');
    await drawn(p);
    assert.ok(Math.abs(centre(await range(p)) - 9000) <= 1);
    // Relative moves, a kilometric value, a station's name.
    await goTo(p, '+500');
    assert.ok(Math.abs(centre(await range(p)) - 9500) <= 1);
    await goTo(p, 'km 75+000');
    assert.ok(Math.abs(centre(await range(p)) - 800) <= 1, 'the progressive: km 75+800 at 0 m');
    await goTo(p, 'belmira');
    assert.ok(Math.abs(centre(await range(p)) - 25200) <= 1);
    assert.deepEqual(p.errors, []);
    await p.close();
  });

  test('a drag carries the route with the pointer, and Home and End go to its ends', async () => {
    const p = await openPage(browser, url);
    for (let i = 0; i < 4; i++) await p.keyboard.press('+');
    await goTo(p, 'belmira');
    const before = await range(p);
    const span = before.end - before.start;
    const mark = await stationMark(p, 'BELMIRA');
    await p.mouse.move(mark.x, mark.y);
    await p.mouse.down();
    await p.mouse.move(mark.x - 200, mark.y, { steps: 10 });
    await p.mouse.up();
    await drawn(p);
    const dragged = await range(p);
    assert.ok(dragged.start > before.start, 'the range moves on along the route');
    assert.ok(Math.abs(dragged.end - dragged.start - span) <= 1, 'the span stays');
    const moved = await stationMark(p, 'BELMIRA');
    assert.ok(Math.abs(moved.x - (mark.x - 200)) < 1.5, `BELMIRA at ${moved.x}, not ${mark.x - 200}`);
    await p.keyboard.press('Home');
    await drawn(p);
    const home = await range(p);
    assert.equal(home.start, 0);
    assert.ok(Math.abs(home.end - span) <= 1, JSON.stringify(home));
    await p.keyboard.press('End');
    await drawn(p);
    const end = await range(p);
    assert.equal(end.end, 39000);
    assert.ok(Math.abs(end.end - end.start - span) <= 1, JSON.stringify(end));
    assert.deepEqual(p.errors, []);
    await p.close();
  });

  test('pointing at a signal shows the record that placed it and the cell it stores', async () => {
    const p = await openPage(browser, url);
    await goTo(p, '6850');
    for (let i = 0; i < 6; i++) await p.keyboard.press('+');
    await drawn(p);
    const signal = await p.$('#route-svg g.signal[data-position="6850"]');
    assert.ok(signal, 'the signal at 6850 m is drawn on its own');
    await signal.hover();
    const details = await p.$eval('#details', (d) => d.textContent);
    assert.match(details, /Tarvo_Belmira_7351-\.txt:29:1/);
    assert.match(details, /position6850 m/);
    assert.match(details, /Cell 138, 6850 to 6900 m/);
    assert.match(details, /kind1/);
    await p.close();
  });

  test('layers can be hidden and shown', async () => {
    const p = await openPage(browser, url);
    const signals = () => p.$$eval('#route-svg g.signal', (g) => g.length);
    assert.ok(await signals() > 0);
    await p.click('#layers input[name="signals"]');
    await drawn(p);
    assert.equal(await signals(), 0);
    await p.click('#layers input[name="signals"]');
    await drawn(p);
    assert.ok(await signals() > 0);
    await p.close();
  });

  test('no label overlaps another at five zoom levels', async () => {
    const p = await openPage(browser, url);
    await goTo(p, '13000');
    for (let level = 0; level < 5; level++) {
      const { count, overlaps } = await labelOverlaps(p);
      assert.ok(count > 10, `level ${level}: ${count} labels`);
      assert.deepEqual(overlaps, [], `level ${level}`);
      for (let i = 0; i < 3; i++) await p.keyboard.press('+');
      await drawn(p);
    }
    await p.close();
  });

  test('with scripts off the page shows the plotted drawing with its tooltips', async () => {
    const p = await browser.newPage();
    await p.setJavaScriptEnabled(false);
    await p.goto(url);
    const titles = await p.$$eval('#picture svg title', (t) => t.map((e) => e.textContent));
    assert.ok(titles.some((t) => t.startsWith('BELMIRA: kind 12 at 25200 m')), titles.slice(0, 5).join('\n'));
    await p.close();
  });
});

describe('a route that stops at a problem', () => {
  let url;
  before(() => {
    const dir = folder();
    const files = example(dir);
    edit(files.train, 'segnale,    6850,', 'segnale,    6750,');
    url = page(files, dir);
  });

  test('choosing the problem centres the view on its position and highlights its cell', async () => {
    const p = await openPage(browser, url);
    const problems = await p.$$('ul[aria-label="Problems"] button');
    assert.ok(problems.length >= 1);
    const text = await p.$eval('ul[aria-label="Problems"] button.error', (b) => b.textContent);
    assert.match(text, /Tarvo_Belmira_7351-\.txt:29:13: error: 16 at 6750 m/);
    await p.click('ul[aria-label="Problems"] button.error');
    await drawn(p);
    assert.ok(Math.abs(centre(await range(p)) - 6750) <= 1);
    assert.equal(await p.$eval('#route-svg rect.highlight', (r) => r.dataset.cell), '136');
    // Everything read before the stop is drawn.
    await goTo(p, '1850');
    assert.ok(await p.$('#route-svg g.signal[data-position="1850"]'));
    assert.match(await p.$eval('#banner', (b) => b.textContent), /recorded a problem/);
    await p.close();
  });
});

describe('the 1,000,000 m line', () => {
  let url;
  before(() => {
    const dir = folder();
    url = page(longLine(dir), dir);
  });

  test('opens whole, in groups, and no label overlaps another at five zoom levels', async () => {
    const p = await openPage(browser, url);
    const whole = await range(p);
    assert.equal(whole.start, 0);
    assert.equal(whole.end, 1000000);
    assert.ok(await p.$$eval('#route-svg g.group', (g) => g.length) > 0, 'marks are grouped');
    await goTo(p, '500000');
    for (let level = 0; level < 5; level++) {
      const { count, overlaps } = await labelOverlaps(p);
      assert.ok(count > 10, `level ${level}: ${count} labels`);
      assert.deepEqual(overlaps, [], `level ${level}`);
      for (let i = 0; i < 6; i++) await p.keyboard.press('+');
      await drawn(p);
    }
    // Close in, every signal is drawn on its own.
    assert.equal(await p.$$eval('#route-svg g.group[data-layer="signals"]', (g) => g.length), 0);
    assert.deepEqual(p.errors, []);
    await p.close();
  });
});
