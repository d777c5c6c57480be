// The served route view: `tracciato view --serve` on the loopback address,
// drawing the page again at each save while the browser keeps its range; and
// the server's refusals.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import net from 'node:net';
import { after, before, describe, test } from 'node:test';

import { drawn, goTo, launch, openPage, range } from './browser.mjs';
import { edit, example, folder, tool } from './scenario.mjs';

let browser;
let server;
let address;
let files;

// Starts the server and waits for the address it prints.
function serve(args) {
  return new Promise((resolve, reject) => {
    const child = spawn(tool, args, { stdio: ['ignore', 'pipe', 'pipe'] });
    let out = '';
    const timer = setTimeout(() => reject(new Error('no address printed: ' + out)), 20000);
    child.stdout.on('data', (chunk) => {
      out += chunk;
      const m = /serving (http:\/\/127\.0\.0\.1:\d+\/)/.exec(out);
      if (m) {
        clearTimeout(timer);
        resolve({ child, address: m[1] });
      }
    });
    child.on('exit', (code) => reject(new Error(`the server ended with ${code}: ${out}`)));
  });
}

// One request as written by hand, so that the Host line is exactly what the
// test says (or missing, for null).
function request(path, host) {
  const url = new URL(address);
  return new Promise((resolve, reject) => {
    const socket = net.connect(Number(url.port), '127.0.0.1', () => {
      socket.write(`GET ${path} HTTP/1.1\r\n` + (host === null ? '' : `Host: ${host}\r\n`) +
        'Connection: close\r\n\r\n');
    });
    let response = '';
    socket.on('data', (c) => { response += c; });
    socket.on('end', () => resolve({ status: Number(/^HTTP\/1\.[01] (\d+)/.exec(response)?.[1]), body: response }));
    socket.on('error', reject);
  });
}

before(async () => {
  const dir = folder();
  files = example(dir);
  ({ child: server, address } = await serve(['view', files.line, files.train, '--serve', '--port', '0']));
  browser = await launch();
});
after(async () => {
  await browser.close();
  server.kill('SIGINT');
});

describe('the served page', () => {
  test('reloads within 2 s of a save, with the same range', async (t) => {
    const p = await openPage(browser, address);
    await goTo(p, '20000');
    for (let i = 0; i < 4; i++) await p.keyboard.press('+');
    await drawn(p);
    const before = await range(p);
    assert.equal(await p.$('#route-svg g.signal[data-position="23950"]') !== null, true);

    const saved = Date.now();
    edit(files.train, 'segnale,   23950,', 'segnale,   23350,');
    await p.waitForFunction((r) => Number(document.getElementById('route-view').dataset.revision) > r,
      { timeout: 2000 }, before.revision);
    const took = Date.now() - saved;
    t.diagnostic(`the new drawing came ${took} ms after the save`);
    await drawn(p);
    const after = await range(p);
    assert.equal(after.start, before.start);
    assert.equal(after.end, before.end);
    assert.ok(await p.$('#route-svg g.signal[data-position="23350"]'), `the moved signal is drawn (${took} ms)`);
    assert.equal(await p.$('#route-svg g.signal[data-position="23950"]'), null);

    // A save that does not compile: its problem over the last good drawing.
    edit(files.train, 'segnale,    6850,', 'segnale,    6750,');
    await p.waitForFunction((r) => Number(document.getElementById('route-view').dataset.revision) > r,
      { timeout: 2000 }, after.revision);
    await drawn(p);
    assert.match(await p.$eval('ul[aria-label="Problems"]', (u) => u.textContent), /error: 16 at 6750 m/);
    assert.match(await p.$eval('#banner', (b) => b.textContent), /do not compile/);
    assert.ok(await p.$('#route-svg g.signal[data-position="23350"]'), 'the last good drawing stays');
    assert.deepEqual(await range(p).then((r) => [r.start, r.end]), [before.start, before.end]);
    assert.deepEqual(p.errors, []);
    await p.close();
  });

  test('a request with a foreign Host is refused', async () => {
    const port = new URL(address).port;
    assert.equal((await request('/', `127.0.0.1:${port}`)).status, 200);
    assert.equal((await request('/', `localhost:${port}`)).status, 200);
    for (const host of [`attacker.example:${port}`, '127.0.0.1', `127.0.0.1:${Number(port) + 1}`, `evil.127.0.0.1:${port}`, null]) {
      assert.equal((await request('/', host)).status, 403, `Host: ${host}`);
    }
  });

  test('serves nothing but the page and its events', async () => {
    const host = `127.0.0.1:${new URL(address).port}`;
    for (const path of ['/Tarvo_Belmira_linea.txt', '/../Tarvo_Belmira_linea.txt', '/etc/passwd', '/index.html']) {
      assert.equal((await request(path, host)).status, 404, path);
    }
  });
});
