// Scenarios for the browser tests, written with the built tool itself: the
// example, the example with one mistake, and the dense 1,000,000 m line.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, renameSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

export const tool = process.env.TRACCIATO;
export const longLineWriter = process.env.WRITE_LONG_LINE;

export function folder() {
  return mkdtempSync(path.join(tmpdir(), 'tracciato-view-'));
}

export function example(dir) {
  execFileSync(tool, ['example', '--out', dir]);
  return {
    line: path.join(dir, 'Tarvo_Belmira_linea.txt'),
    train: path.join(dir, 'Tarvo_Belmira_7351-.txt'),
  };
}

// Saves as editors do: a new file renamed over the old one.
export function save(file, text) {
  writeFileSync(file + '.saving', text, 'latin1');
  renameSync(file + '.saving', file);
}

export function edit(file, from, to) {
  const text = readFileSync(file, 'latin1');
  if (!text.includes(from)) throw new Error(`${file} has no ${from}`);
  save(file, text.replace(from, to));
}

// The page of the descriptions in `dir`, written by `tracciato view`.
export function page(files, dir) {
  const out = path.join(dir, 'route.html');
  try {
    execFileSync(tool, ['view', files.line, files.train, '--out', out], { stdio: 'pipe' });
  } catch (e) {
    if (e.status !== 1) throw e;  // a page with problems is still written
  }
  return 'file://' + out;
}

export function longLine(dir) {
  execFileSync(longLineWriter, [dir]);
  return { line: path.join(dir, 'Lunga_linea.txt'), train: path.join(dir, 'Lunga_1-.txt') };
}
