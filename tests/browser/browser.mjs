// Debian's Chromium, headless, as the browser tests drive it: a fresh
// profile each time and nothing that reaches out to the network.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const chromium = '/usr/bin/chromium';

export async function launch() {
  const profile = mkdtempSync(path.join(tmpdir(), 'tracciato-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A page of the size an author's window has.
export async function openPage(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1600, height: 1200 });
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  page.errors = errors;
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction(() => document.getElementById('route-view').dataset.firstDrawn === '1');
  return page;
}

// The range in view, in metres, as the page's root element gives it.
export async function range(page) {
  return page.evaluate(() => {
    const d = document.getElementById('route-view').dataset;
    return { start: Number(d.viewStart), end: Number(d.viewEnd), revision: Number(d.revision) };
  });
}

// Waits until the drawing has caught up with the last change of the range.
export async function drawn(page) {
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

// Pairs of texts in the drawing whose boxes overlap by more than half a pixel.
export async function labelOverlaps(page) {
  return page.evaluate(() => {
    const boxes = [...document.querySelectorAll('#route-svg text')].map((t) => {
      const b = t.getBBox();
      return { l: b.x, r: b.x + b.width, t: b.y, b: b.y + b.height, text: t.textContent };
    }).filter((b) => b.r > b.l).sort((a, b) => a.l - b.l);
    const overlaps = [];
    for (let i = 0; i < boxes.length; i++) {
      for (let j = i + 1; j < boxes.length && boxes[j].l < boxes[i].r - 0.5; j++) {
        const a = boxes[i], b = boxes[j];
        const w = Math.min(a.r, b.r) - Math.max(a.l, b.l);
        const h = Math.min(a.b, b.b) - Math.max(a.t, b.t);
        if (w > 0.5 && h > 0.5) overlaps.push(`${a.text} / ${b.text}`);
      }
    }
    return { count: boxes.length, overlaps };
  });
}

// The middle of a station's mark in the stations band, in page pixels.
export async function stationMark(page, name) {
  return page.evaluate((n) => {
    const g = document.querySelector(`#route-svg g.station[data-layer="stations"][data-name="${n}"]`);
    if (!g) return null;
    const r = g.getBoundingClientRect();
    return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
  }, name);
}

// Types into the Go to box and presses Enter, then leaves the box.
export async function goTo(page, text) {
  const box = await page.waitForSelector('input[aria-label="Go to"]');
  await box.click({ clickCount: 3 });
  await box.type(text);
  await box.press('Enter');
  await page.evaluate(() => document.activeElement.blur());
  await drawn(page);
}
