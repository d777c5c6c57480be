// The route view's script: draws the compile's route along the kilometre
// axis for the range in view, and redraws it at every zoom and pan. Marks and
// text keep their size in pixels; labels are laid out again at each drawing
// so that none overlaps another; runs of marks too close to tell apart are
// drawn as one group until the view is close enough to show each.
//
// The page's root element carries the range in view (data-view-start,
// data-view-end, in metres) and the revision of the drawing (data-revision).
(function () {
  'use strict';

  const root = document.getElementById('route-view');
  const svg = document.getElementById('route-svg');
  const detailsBox = document.getElementById('details');
  const problemList = document.getElementById('problems');
  const problemTitle = document.getElementById('problems-title');
  const banner = document.getElementById('banner');
  const gotoForm = document.getElementById('goto-form');
  const gotoBox = document.getElementById('goto');
  const gotoMessage = document.getElementById('goto-message');
  const layerBoxes = document.getElementById('layers');

  const NS = 'http://www.w3.org/2000/svg';
  const FONT = '"DejaVu Sans", Arial, Helvetica, sans-serif';
  const LEFT = 150;        // the distance axis starts here; band titles sit left of it
  const RIGHT_PAD = 30;
  const GROUP_GAP = 7;     // marks closer than this many pixels are drawn as one group
  const SMALLEST_SPAN = 100;  // metres across the view at the closest zoom
  const ZOOM_STEP = 1.25;  // one wheel step or key press

  const COLOURS = {
    track: '#333333', station: '#1f5fa8', signal: '#c0392b', code: '#8e44ad',
    span: '#7a6140', gradient: '#2e7d32', speed: '#1f5fa8', adhesion: '#00838f',
    slowdown: '#e67e22', sign: '#455a64', progressive: '#6d4c41', grid: '#dddddd',
    muted: '#555555', highlight: '#ffd54f',
  };

  // The layers, top to bottom, with what the legend and the toggles say.
  const LAYERS = [
    { id: 'plan', title: 'Plan and curves', colour: COLOURS.track, height: 190 },
    { id: 'stations', title: 'Stations', colour: COLOURS.station, height: 100 },
    { id: 'gradient', title: 'Gradient', colour: COLOURS.gradient, height: 90 },
    { id: 'speed', title: 'Speed limit', colour: COLOURS.speed, height: 90 },
    { id: 'adhesion', title: 'Adhesion', colour: COLOURS.adhesion, height: 56 },
    { id: 'spans', title: 'Mountain spans', colour: COLOURS.span, height: 30 },
    { id: 'signals', title: 'Signals and codes', colour: COLOURS.signal, height: 58 },
    { id: 'slowdowns', title: 'Slowdowns', colour: COLOURS.slowdown, height: 46 },
    { id: 'signs', title: 'Signs', colour: COLOURS.sign, height: 58 },
    { id: 'progressives', title: 'Kilometric progressives', colour: COLOURS.progressive, height: 26 },
  ];
  const AXIS_HEIGHT = 46;

  let state = JSON.parse(document.getElementById('route-data').textContent);
  let view = state.view;
  let start = 0;
  let end = 1000;
  let shown = {};
  let chosen = null;      // the mark whose details stay shown
  let highlightCell = null;
  let pending = false;
  let lastSearch = { text: '', index: -1 };
  let objects = [];       // what the marks drawn stand for, by data-i
  const measureContext = document.createElement('canvas').getContext('2d');

  // ----- numbers and text -----

  function esc(text) {
    return String(text).replace(/[&<>"']/g, (c) => ({
      '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;',
    })[c]);
  }
  function num(v) { return (Math.round(v * 10) / 10).toString(); }
  function metres(m) { return m + ' m'; }
  function textWidth(text, size, bold) {
    measureContext.font = (bold ? 'bold ' : '') + size + 'px ' + FONT;
    return measureContext.measureText(text).width;
  }
  function kmValueText(value) {
    const km = Math.floor(Math.abs(value) / 1000);
    const rest = Math.abs(value) % 1000;
    return (value < 0 ? '-' : '') + km + '+' + String(rest).padStart(3, '0');
  }
  function cellStart(cell) { return (cell - 1) * 50; }

  // ----- the range in view -----

  function width() { return Math.max(svg.clientWidth || 0, 600); }
  function axisWidth() { return width() - LEFT - RIGHT_PAD; }
  function x(m) { return LEFT + (m - start) / (end - start) * axisWidth(); }
  function metreAt(px) { return start + (px - LEFT) / axisWidth() * (end - start); }
  function fullEnd() { return view ? Math.max(view.track, 1000) : 1000; }

  function setRange(newStart, newEnd) {
    const full = fullEnd();
    let span = Math.min(Math.max(newEnd - newStart, SMALLEST_SPAN), full * 1.1);
    let s = newStart + ((newEnd - newStart) - span) / 2;
    // Any place can stand in the middle of the view, the ends included.
    s = Math.max(Math.min(s, full - span / 2), -span / 2);
    start = s;
    end = s + span;
    root.dataset.viewStart = String(Math.round(start));
    root.dataset.viewEnd = String(Math.round(end));
    scheduleDraw();
  }
  function centreOn(m) {
    const span = end - start;
    setRange(m - span / 2, m + span / 2);
  }
  // Zooms by `factor` (below 1: closer) keeping the metre at pixel `px` there.
  function zoomAt(px, factor) {
    const m = metreAt(px);
    const span = Math.min(Math.max((end - start) * factor, SMALLEST_SPAN), fullEnd() * 1.1);
    const fraction = (px - LEFT) / axisWidth();
    start = m - fraction * span;
    end = start + span;
    root.dataset.viewStart = String(Math.round(start));
    root.dataset.viewEnd = String(Math.round(end));
    scheduleDraw();
  }

  // ----- label placement: every text goes through here, so none overlaps -----

  class LabelPlacer {
    constructor() { this.cells = new Map(); }
    key(i, j) { return i * 100003 + j; }
    // Boxes are kept in a grid of 64-pixel squares so a test is quick.
    each(box, f) {
      for (let i = Math.floor(box.l / 64); i <= Math.floor(box.r / 64); i++) {
        for (let j = Math.floor(box.t / 64); j <= Math.floor(box.b / 64); j++) f(this.key(i, j));
      }
    }
    free(box) {
      let ok = true;
      this.each(box, (k) => {
        const list = this.cells.get(k);
        if (!ok || !list) return;
        for (const o of list) {
          if (box.l < o.r && o.l < box.r && box.t < o.b && o.t < box.b) { ok = false; return; }
        }
      });
      return ok;
    }
    take(box) {
      this.each(box, (k) => {
        if (!this.cells.has(k)) this.cells.set(k, []);
        this.cells.get(k).push(box);
      });
    }
    // The box of a text drawn at (x, y) with its anchor, padded a pixel.
    static box(text, px, py, size, anchor, bold) {
      const w = textWidth(text, size, bold);
      const l = anchor === 'middle' ? px - w / 2 : anchor === 'end' ? px - w : px;
      return { l: l - 1, r: l + w + 1, t: py - size * 0.98, b: py + size * 0.28 };
    }
    // Places the text at the first of the baselines `ys` where it is free, and
    // returns the SVG text, or '' when it fits nowhere (or outside [lo, hi]).
    place(text, px, ys, size, opts) {
      const anchor = opts.anchor || 'middle';
      for (const py of ys) {
        const box = LabelPlacer.box(text, px, py, size, anchor, opts.bold);
        if (opts.lo !== undefined && (box.l < opts.lo || box.r > opts.hi)) return '';
        if (!this.free(box)) continue;
        this.take(box);
        return '<text class="label' + (opts.cls ? ' ' + opts.cls : '') + '" x="' + num(px) +
          '" y="' + num(py) + '" text-anchor="' + anchor + '" font-size="' + size + '"' +
          (opts.bold ? ' font-weight="bold"' : '') + ' fill="' + (opts.fill || COLOURS.track) +
          '">' + esc(text) + '</text>';
      }
      return '';
    }
  }

  // ----- finding what is in view -----

  // Index of the first item whose position is at least m (items sorted by pos).
  function firstAtLeast(items, pos, m) {
    let lo = 0, hi = items.length;
    while (lo < hi) {
      const mid = (lo + hi) >> 1;
      if (pos(items[mid]) < m) lo = mid + 1; else hi = mid;
    }
    return lo;
  }
  function visible(items, pos, endPos) {
    const margin = (end - start) * 0.02;
    const out = [];
    const last = endPos || pos;
    for (let i = firstAtLeast(items, last, start - margin); i < items.length; i++) {
      if (pos(items[i]) > end + margin) break;
      out.push(items[i]);
    }
    return out;
  }

  // Runs of items closer than GROUP_GAP pixels become groups.
  function grouped(items, pos) {
    const runs = [];
    let run = null;
    for (const item of items) {
      const px = x(pos(item));
      if (run && px - run.x0 < GROUP_GAP) {
        run.items.push(item);
        run.x1 = px;
      } else {
        run = { items: [item], x0: px, x1: px };
        runs.push(run);
      }
    }
    return runs;
  }

  function remember(kind, item) {
    objects.push({ kind: kind, item: item });
    return objects.length - 1;
  }
  function markOpen(kind, item, layer, extra) {
    const i = remember(kind, item);
    return '<g class="mark ' + kind + (chosen && chosen.kind === kind && chosen.item === item ? ' chosen' : '') +
      '" data-i="' + i + '" data-layer="' + layer + '"' + (extra || '') + '>';
  }

  // ----- the bands -----

  function bandTitle(out, placer, band, title, subtitle) {
    out.push(placer.place(title, 8, [band.top + 15], 13, { anchor: 'start', bold: true }));
    if (subtitle) {
      out.push(placer.place(subtitle, 8, [band.top + 30], 11, { anchor: 'start', fill: COLOURS.muted }));
    }
  }

  function drawPlan(out, placer, band) {
    bandTitle(out, placer, band, 'Track plan', 'turned: start left');
    out.push('<rect x="' + LEFT + '" y="' + band.top + '" width="' + axisWidth() + '" height="' +
      (band.height - 6) + '" fill="#fafafa" stroke="' + COLOURS.grid + '"/>');
    const plan = view.plan;
    const n = plan.xy.length / 2;
    if (n < 2) {
      out.push(placer.place('no track computed', LEFT + 20, [band.top + 30], 12, { anchor: 'start', fill: COLOURS.muted }));
      return;
    }
    const from = Math.max(0, Math.floor(Math.max(start, 0) / plan.step));
    const to = Math.min(n - 1, Math.ceil(Math.max(end, 0) / plan.step));
    if (to <= from) return;
    // At most about two points a pixel.
    const every = Math.max(1, Math.floor((to - from) / (axisWidth() * 2)));
    const pts = [];
    for (let i = from; i <= to; i += every) pts.push(i);
    if (pts[pts.length - 1] !== to) pts.push(to);
    // Turned so that the stretch in view runs from left to right, one scale
    // for both axes so no curve is distorted.
    const ax = plan.xy[2 * from], ay = plan.xy[2 * from + 1];
    const bx = plan.xy[2 * to], by = plan.xy[2 * to + 1];
    const angle = Math.atan2(by - ay, bx - ax);
    const c = Math.cos(angle), s = Math.sin(angle);
    const turned = (i) => {
      const px = plan.xy[2 * i], py = plan.xy[2 * i + 1];
      return [c * px + s * py, -s * px + c * py];
    };
    let minU = Infinity, maxU = -Infinity, minV = Infinity, maxV = -Infinity;
    const uv = pts.map((i) => {
      const p = turned(i);
      minU = Math.min(minU, p[0]); maxU = Math.max(maxU, p[0]);
      minV = Math.min(minV, p[1]); maxV = Math.max(maxV, p[1]);
      return p;
    });
    const pad = 24;
    const boxW = axisWidth() - 2 * pad, boxH = band.height - 6 - 2 * pad;
    const scale = Math.min(boxW / Math.max(maxU - minU, 1), boxH / Math.max(maxV - minV, 1));
    const ox = LEFT + pad + (boxW - (maxU - minU) * scale) / 2 - minU * scale;
    const oy = band.top + pad + (boxH - (maxV - minV) * scale) / 2 + maxV * scale;
    const px = (p) => ox + p[0] * scale;
    const py = (p) => oy - p[1] * scale;
    const planAt = (m) => {
      const i = Math.min(Math.max(Math.round(m / plan.step), from), to);
      const p = turned(i);
      return [px(p), py(p)];
    };
    out.push('<polyline class="track" fill="none" stroke="' + COLOURS.track +
      '" stroke-width="2.5" stroke-linejoin="round" points="' +
      uv.map((p) => num(px(p)) + ',' + num(py(p))).join(' ') + '"/>');
    // The curves in view, drawn over the track.
    for (const curve of visible(view.curves, (k) => k.p, (k) => k.p + k.l)) {
      const a = Math.max(curve.p, start), b = Math.min(curve.p + curve.l, end);
      if (b <= a) continue;
      const cpts = [];
      const step = Math.max(plan.step, (b - a) / 200);
      for (let m = a; m < b; m += step) cpts.push(planAt(m));
      cpts.push(planAt(b));
      out.push(markOpen('curve', curve, 'plan') + '<polyline fill="none" stroke="' +
        (curve.k.toLowerCase().indexOf('s') >= 0 ? '#8e24aa' : '#00897b') +
        '" stroke-width="5" stroke-opacity="0.55" points="' +
        cpts.map((p) => num(p[0]) + ',' + num(p[1])).join(' ') + '"/></g>');
    }
    // The stations on the plan, named where there is room.
    if (shown.stations) {
      for (const st of visible(view.stations, (k) => k.p)) {
        const p = planAt(st.p);
        out.push(markOpen('station', st, 'plan') + '<circle cx="' + num(p[0]) + '" cy="' + num(p[1]) +
          '" r="5" fill="' + (st.stop ? COLOURS.station : 'white') + '" stroke="' + COLOURS.station +
          '" stroke-width="2"/></g>');
        out.push(placer.place(st.n, p[0], [p[1] - 10, p[1] + 20, p[1] - 24, p[1] + 34], 11,
          { fill: COLOURS.station, lo: LEFT, hi: LEFT + axisWidth() }));
      }
    }
  }

  function drawStations(out, placer, band) {
    bandTitle(out, placer, band, 'Stations');
    const rows = [0, 1, 2].map((r) => band.top + 18 + r * 30);
    for (const st of visible(view.stations, (k) => k.p)) {
      const px = x(st.p);
      out.push(markOpen('station', st, 'stations', ' data-name="' + esc(st.n) + '" data-position="' + st.p + '"') +
        '<line x1="' + num(px) + '" y1="' + (band.bottom - 4) + '" x2="' + num(px) + '" y2="' + (band.bottom - 14) +
        '" stroke="' + COLOURS.station + '" stroke-width="3"/></g>');
      // The name and, below it, the time, in the first row with room for both.
      const time = st.t ? (st.t.endsWith(':00') ? st.t.slice(0, 5) : st.t) : '';
      // Kept inside the picture, as near its station as it fits.
      const half = Math.max(textWidth(st.n, 13, true), time ? textWidth(time, 11) : 0) / 2 + 2;
      const lx = Math.min(Math.max(px, LEFT + half), width() - half);
      for (const y of rows) {
        const nameBox = LabelPlacer.box(st.n, lx, y, 13, 'middle', true);
        const timeBox = time ? LabelPlacer.box(time, lx, y + 14, 11, 'middle') : null;
        if (!placer.free(nameBox) || (timeBox && !placer.free(timeBox))) continue;
        out.push(placer.place(st.n, lx, [y], 13, { bold: true, fill: COLOURS.station, cls: 'station-name' }));
        if (time) out.push(placer.place(time, lx, [y + 14], 11, { cls: 'station-time' }));
        break;
      }
    }
  }

  function stationGuides(out, top, bottom) {
    for (const st of visible(view.stations, (k) => k.p)) {
      const px = num(x(st.p));
      const a = x(Math.max(st.a, 0)), b = x(st.b);
      out.push('<rect x="' + num(a) + '" y="' + top + '" width="' + num(Math.max(1, b - a)) + '" height="' +
        (bottom - top) + '" fill="' + COLOURS.station + '" fill-opacity="0.06"/>');
      out.push('<line x1="' + px + '" y1="' + top + '" x2="' + px + '" y2="' + bottom + '" stroke="' +
        COLOURS.station + '" stroke-opacity="0.45" stroke-dasharray="4 3"/>');
    }
  }

  // A step profile with its value axis, fixed for the whole route so that
  // panning does not move it.
  function drawProfile(out, placer, band, steps, kind, title, unit, colour, fill, extra) {
    bandTitle(out, placer, band, title, unit);
    const range = profileRange(steps);
    const top = band.top + 6, bottom = band.bottom - 6;
    const y = (v) => bottom - (v - range.lo) / (range.hi - range.lo) * (bottom - top);
    for (const t of range.ticks) {
      const ty = y(t);
      out.push('<line x1="' + LEFT + '" y1="' + num(ty) + '" x2="' + (LEFT + axisWidth()) + '" y2="' + num(ty) +
        '" stroke="' + (t === 0 ? '#999999' : COLOURS.grid) + '"/>');
      out.push(placer.place(String(t), LEFT - 6, [ty + 4], 11, { anchor: 'end', fill: COLOURS.muted }));
    }
    const zero = y(Math.min(Math.max(0, range.lo), range.hi));
    let line = '', area = '';
    const inView = visible(steps, (s) => s[0], (s) => s[1]);
    for (const s of inView) {
      const a = x(Math.max(s[0], start)), b = x(Math.min(s[1], end));
      if (b <= a) continue;
      const vy = num(y(s[2]));
      line += (line ? ' L' : 'M') + num(a) + ',' + vy + ' L' + num(b) + ',' + vy;
      area += 'M' + num(a) + ',' + num(zero) + ' L' + num(a) + ',' + vy + ' L' + num(b) + ',' + vy + ' L' + num(b) + ',' + num(zero) + ' Z ';
    }
    out.push('<path d="' + area + '" fill="' + fill + '" stroke="none"/>');
    out.push('<path d="' + line + '" fill="none" stroke="' + colour + '" stroke-width="2"/>');
    if (extra) extra(y);
    // Each step can be asked about; those narrower than a few pixels are
    // reached by zooming in.
    for (const s of inView) {
      const a = x(Math.max(s[0], start)), b = x(Math.min(s[1], end));
      if (b - a < 3) continue;
      out.push(markOpen(kind, s, kind) + '<rect x="' + num(a) + '" y="' + top + '" width="' + num(b - a) +
        '" height="' + (bottom - top) + '" fill="transparent"/></g>');
    }
    out.push('<rect x="' + LEFT + '" y="' + top + '" width="' + axisWidth() + '" height="' + (bottom - top) +
      '" fill="none" stroke="#bbbbbb"/>');
  }

  const ranges = new Map();
  function profileRange(steps) {
    if (ranges.has(steps)) return ranges.get(steps);
    let lo = 0, hi = 0;
    for (const s of steps) { lo = Math.min(lo, s[2]); hi = Math.max(hi, s[2]); }
    const raw = Math.max(hi - lo, 1) / 3;
    const mag = Math.pow(10, Math.floor(Math.log10(raw)));
    let step = mag;
    for (const f of [1, 2, 5, 10]) { step = f * mag; if (step >= raw) break; }
    const ticks = [];
    for (let t = Math.floor(lo / step) * step; t <= hi + 1e-9; t += step) ticks.push(Math.round(t * 1000) / 1000);
    const range = { lo: Math.floor(lo / step) * step - (lo < 0 ? step / 2 : 0), hi: Math.ceil(hi / step) * step + step / 2, ticks: ticks };
    if (range.hi <= range.lo) range.hi = range.lo + 1;
    ranges.set(steps, range);
    return range;
  }

  // A lane of point marks: each mark, or a group for a run too close to tell
  // apart; `draw` draws one mark at px and gives its label, if any.
  function pointLane(out, placer, band, items, kind, layer, colour, draw, labelOf) {
    const runs = grouped(visible(items, (k) => k.p), (k) => k.p);
    const labelYs = [band.top + 44, band.top + 56];
    for (const run of runs) {
      if (run.items.length === 1) {
        const item = run.items[0];
        out.push(markOpen(kind, item, layer, ' data-position="' + item.p + '"') + draw(item, x(item.p), band) + '</g>');
        const label = labelOf ? labelOf(item) : '';
        if (label) out.push(placer.place(label, x(item.p), labelYs, 11, { fill: COLOURS.muted, lo: LEFT - 40, hi: width() }));
      } else {
        const group = { items: run.items, kind: kind };
        out.push(markOpen('group', group, layer) + '<rect x="' + num(run.x0 - 3) + '" y="' + (band.top + 4) +
          '" width="' + num(run.x1 - run.x0 + 6) + '" height="26" rx="4" fill="' + colour + '" fill-opacity="0.35" stroke="' +
          colour + '"/></g>');
        out.push(placer.place(String(run.items.length), (run.x0 + run.x1) / 2, [band.top + 44], 10,
          { fill: colour, lo: LEFT - 40, hi: width() }));
      }
    }
  }

  function drawSignals(out, placer, band) {
    bandTitle(out, placer, band, 'Signals', 'and codes');
    // Approach codes and abbattimento marks only when close enough to read.
    const perCell = axisWidth() / (end - start) * 50;
    if (perCell >= 3) {
      for (const code of visible(view.codes, (k) => cellStart(k[0]))) {
        const px = x(cellStart(code[0]) + 25);
        out.push(markOpen('code', code, 'signals') + '<rect x="' + num(px - 2) + '" y="' + (band.top + 31) +
          '" width="4" height="6" fill="' + COLOURS.code + '"/></g>');
      }
    }
    pointLane(out, placer, band, view.abbattimenti, 'abbattimento', 'signals', COLOURS.code, (a, px) =>
      '<path d="M' + num(px - 5) + ',' + (band.top + 8) + ' L' + num(px + 5) + ',' + (band.top + 8) + ' L' + num(px) + ',' +
      (band.top + 16) + ' Z" fill="' + COLOURS.code + '"/>');
    pointLane(out, placer, band, view.signals, 'signal', 'signals', COLOURS.signal, (s, px) =>
      '<line x1="' + num(px) + '" y1="' + (band.top + 30) + '" x2="' + num(px) + '" y2="' + (band.top + 14) +
      '" stroke="' + COLOURS.track + '" stroke-width="1.5"/><circle cx="' + num(px) + '" cy="' + (band.top + 12) +
      '" r="5" fill="' + COLOURS.signal + '"/>', (s) => String(s.p));
  }

  function drawSpans(out, placer, band) {
    bandTitle(out, placer, band, 'Tunnels');
    for (const span of visible(view.spans, (k) => k.p, (k) => k.b)) {
      const a = x(span.p), b = Math.max(x(span.b), a + 2);
      out.push(markOpen('span', span, 'spans') + '<rect x="' + num(Math.max(a, LEFT - 2)) + '" y="' + (band.top + 6) + '" width="' +
        num(Math.max(2, Math.min(b, width()) - Math.max(a, LEFT - 2))) + '" height="' + (band.height - 12) + '" fill="' + COLOURS.span + '"/></g>');
    }
  }

  function drawSlowdowns(out, placer, band) {
    bandTitle(out, placer, band, 'Slowdowns');
    if (!view.slowdowns.length) {
      out.push(placer.place('none in this train', LEFT + 8, [band.top + 24], 12, { anchor: 'start', fill: COLOURS.muted }));
    }
    const mid = band.top + 20;
    for (const s of visible(view.slowdowns, (k) => (k.w !== null ? k.w : k.p), (k) => k.b)) {
      const a = x(s.p), b = Math.max(x(s.b), a + 2);
      let g = markOpen('slowdown', s, 'slowdowns', ' data-position="' + s.p + '"') + '<rect x="' + num(a) + '" y="' + (mid - 6) +
        '" width="' + num(b - a) + '" height="12" fill="' + COLOURS.slowdown + '"/>';
      if (s.w !== null) {
        const w = x(s.w);
        g += '<line x1="' + num(w) + '" y1="' + mid + '" x2="' + num(a) + '" y2="' + mid + '" stroke="' + COLOURS.slowdown +
          '" stroke-dasharray="2 2"/><polygon points="' + num(w) + ',' + (mid - 7) + ' ' + num(w + 7) + ',' + mid + ' ' +
          num(w) + ',' + (mid + 7) + ' ' + num(w - 7) + ',' + mid + '" fill="white" stroke="' + COLOURS.slowdown + '" stroke-width="2"/>';
      }
      out.push(g + '</g>');
      out.push(placer.place(s.v + ' km/h', (a + b) / 2, [mid + 19], 11, { fill: COLOURS.muted, lo: LEFT - 40, hi: width() }));
    }
  }

  function drawSigns(out, placer, band) {
    bandTitle(out, placer, band, 'Signs', 'and speed indicators');
    pointLane(out, placer, band, view.indicators, 'indicator', 'signs', COLOURS.speed, (g, px) =>
      '<rect x="' + num(px - 4) + '" y="' + (band.top + 20) + '" width="8" height="10" fill="white" stroke="' + COLOURS.speed + '" stroke-width="2"/>');
    pointLane(out, placer, band, view.signs, 'sign', 'signs', COLOURS.sign, (s, px) =>
      '<rect x="' + num(px - 5) + '" y="' + (band.top + 6) + '" width="10" height="10" fill="' + COLOURS.sign + '"/>', (s) => s.t);
  }

  function drawAxis(out, placer, top) {
    out.push('<line x1="' + LEFT + '" y1="' + top + '" x2="' + (LEFT + axisWidth()) + '" y2="' + top + '" stroke="' + COLOURS.track + '"/>');
    // Labels at round distances, as many as fit.
    const perMetre = axisWidth() / (end - start);
    let step = 50;
    for (const s of [50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000, 500000]) {
      step = s;
      if (s * perMetre >= 80) break;
    }
    for (let m = Math.ceil(start / step) * step; m <= end; m += step) {
      const px = x(m);
      if (px < LEFT - 0.5) continue;
      out.push('<line x1="' + num(px) + '" y1="' + top + '" x2="' + num(px) + '" y2="' + (top + 6) + '" stroke="' + COLOURS.track + '"/>');
      out.push(placer.place(step >= 1000 ? num(m / 1000) + ' km' : m + ' m', px, [top + 19], 11, { lo: LEFT - 40, hi: width() }));
    }
    bandTitle(out, placer, { top: top + 2 }, 'Distance');
  }

  // The kilometric value at each position: counted down along the route
  // from the progressive in force, as the example line's signs read.
  function progressiveAt(m) {
    let found = null;
    for (const p of view.progressives) {
      if (p.p <= m && (found === null || p.p > found.p)) found = p;
    }
    return found;
  }
  function kmValueAt(m) {
    const p = progressiveAt(m);
    return p === null ? null : p.v - (m - p.p);
  }
  function positionOfKmValue(value) {
    const sorted = view.progressives.slice().sort((a, b) => a.p - b.p);
    for (let i = 0; i < sorted.length; i++) {
      const m = sorted[i].p + (sorted[i].v - value);
      const next = i + 1 < sorted.length ? sorted[i + 1].p : Infinity;
      if (m >= sorted[i].p && m < next) return m;
    }
    return null;
  }

  function drawProgressives(out, placer, band) {
    bandTitle(out, placer, band, 'Kilometric');
    if (!view.progressives.length) {
      out.push(placer.place('no kilometric progressive', LEFT + 8, [band.top + 16], 11, { anchor: 'start', fill: COLOURS.muted }));
      return;
    }
    const perMetre = axisWidth() / (end - start);
    let step = 50;
    for (const s of [50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000]) {
      step = s;
      if (s * perMetre >= 110) break;
    }
    for (const p of view.progressives) {
      if (p.p < start || p.p > end) continue;
      out.push(markOpen('progressive', p, 'progressives') + '<rect x="' + num(x(p.p) - 3) + '" y="' + (band.top + 2) +
        '" width="6" height="20" fill="' + COLOURS.progressive + '"/></g>');
    }
    // Marks where the kilometric value is round.
    const from = Math.max(start, 0), to = Math.min(end, fullEnd());
    let m = from;
    let guard = 0;
    while (m <= to && guard++ < 200) {
      const v = kmValueAt(m);
      if (v === null) { m += step; continue; }
      const offset = ((v % step) + step) % step;
      const at = offset === 0 ? m : m + offset;  // the value falls as m grows
      if (at > to) break;
      const px = x(at);
      out.push('<line x1="' + num(px) + '" y1="' + (band.top + 4) + '" x2="' + num(px) + '" y2="' + (band.top + 10) + '" stroke="' + COLOURS.progressive + '"/>');
      out.push(placer.place('km ' + kmValueText(kmValueAt(at)), px, [band.top + 22], 11, { fill: COLOURS.progressive, lo: LEFT - 40, hi: width() }));
      m = at + step;
    }
  }

  function drawHighlight(out, top, bottom) {
    if (highlightCell === null) return;
    const a = x(cellStart(highlightCell)), b = x(cellStart(highlightCell) + 50);
    out.push('<rect class="highlight" data-cell="' + highlightCell + '" x="' + num(a - 2) + '" y="' + top + '" width="' +
      num(Math.max(b - a, 0) + 4) + '" height="' + (bottom - top) + '" fill="' + COLOURS.highlight + '" fill-opacity="0.55"/>');
  }

  // ----- drawing -----

  function draw() {
    pending = false;
    const began = performance.now();
    objects = [];
    if (!view) {
      svg.innerHTML = '';
      svg.setAttribute('height', '0');
      return;
    }
    const placer = new LabelPlacer();
    const out = [];
    const bands = {};
    let y = 8;
    for (const layer of LAYERS) {
      if (!shown[layer.id]) continue;
      bands[layer.id] = { top: y, height: layer.height, bottom: y + layer.height };
      y += layer.height + 6;
    }
    const axisTop = y + 4;
    const height = axisTop + AXIS_HEIGHT;
    const guidesTop = bands.stations ? bands.stations.bottom : 8;
    const back = [];
    drawHighlight(back, guidesTop, axisTop);
    if (shown.stations) stationGuides(back, guidesTop, axisTop);
    if (bands.plan) drawPlan(out, placer, bands.plan);
    if (bands.stations) drawStations(out, placer, bands.stations);
    if (bands.gradient) {
      drawProfile(out, placer, bands.gradient, view.gradient, 'gradient', 'Gradient', 'per mille, + climbs',
        COLOURS.gradient, '#c8e6c9');
    }
    if (bands.speed) {
      drawProfile(out, placer, bands.speed, view.speed, 'speed', 'Speed limit', 'km/h', COLOURS.speed, '#dbe8f7', (vy) => {
        if (!shown.slowdowns) return;
        for (const s of visible(view.slowdowns, (k) => k.p, (k) => k.b)) {
          out.push('<line x1="' + num(x(s.p)) + '" y1="' + num(vy(s.v)) + '" x2="' + num(x(s.b)) + '" y2="' + num(vy(s.v)) +
            '" stroke="' + COLOURS.slowdown + '" stroke-width="3"/>');
        }
      });
    }
    if (bands.adhesion) {
      drawProfile(out, placer, bands.adhesion, view.adhesion, 'adhesion', 'Adhesion', 'as stored',
        COLOURS.adhesion, '#d5f0f2');
    }
    if (bands.spans) drawSpans(out, placer, bands.spans);
    if (bands.signals) drawSignals(out, placer, bands.signals);
    if (bands.slowdowns) drawSlowdowns(out, placer, bands.slowdowns);
    if (bands.signs) drawSigns(out, placer, bands.signs);
    if (bands.progressives) drawProgressives(out, placer, bands.progressives);
    drawAxis(out, placer, axisTop);
    svg.setAttribute('height', String(height));
    svg.setAttribute('viewBox', '0 0 ' + width() + ' ' + height);
    svg.innerHTML = '<rect width="100%" height="100%" fill="white"/>' + back.join('') + out.join('');
    const took = performance.now() - began;
    root.dataset.drawMs = took.toFixed(1);
    if (!root.dataset.firstDrawn) {
      root.dataset.firstDrawn = '1';
      performance.mark('route-drawn');
    }
  }

  function scheduleDraw() {
    if (pending) return;
    pending = true;
    requestAnimationFrame(draw);
  }

  // ----- details of a mark -----

  const CELL_FIELDS = ['kind', 'value_1', 'value_2', 'value_3', 'value_4', 'signal_time',
    'approach_code', 'span_kind', 'speed_limit', 'gradient', 'adhesion'];

  function recordHtml(index) {
    if (index === null || index === undefined) return '';
    const r = view.records[index];
    let html = '<h4>Placed by the record</h4><p><code>' + esc(r.f + ':' + r.l + ':' + r.c) + '</code> ' +
      esc(r.n) + ' <code>' + esc(r.k) + '</code></p><table>';
    for (const v of r.v) {
      html += '<tr><th>' + esc(v[0]) + '</th><td>' + esc(v[1]) + (v[2] ? ' ' + esc(v[2]) : '') + '</td></tr>';
    }
    return html + '</table>';
  }
  function cellHtml(cell, stored) {
    if (cell === null || cell === undefined) return '';
    let html = '<h4>Cell ' + cell + ', ' + cellStart(cell) + ' to ' + (cellStart(cell) + 50) + ' m, stores</h4><table>';
    if (stored) {
      stored.forEach((v, i) => { html += '<tr><th>' + CELL_FIELDS[i] + '</th><td>' + v + '</td></tr>'; });
    }
    return html + '</table>';
  }
  function stepHtml(step, what, unit) {
    const cell = step[0] / 50 + 1;
    return '<h3>' + what + ' ' + step[2] + (unit ? ' ' + unit : '') + '</h3><p>from ' + step[0] + ' to ' + step[1] +
      ' m (cells ' + cell + ' to ' + (step[1] / 50) + ')</p>' + recordHtml(step[3]);
  }

  function describe(o) {
    const it = o.item;
    switch (o.kind) {
      case 'station':
        return '<h3>station ' + esc(it.n) + '</h3><p>kind ' + it.k + ' at ' + metres(it.p) + ', span ' + it.a + ' to ' +
          metres(it.b) + (it.t ? ', ' + it.t : '') + (it.stop ? '' : ', passed without a stop') + ', item entry ' + it.e +
          '</p>' + recordHtml(it.r) + (it.c !== null ? '<p>stop mark:</p>' + cellHtml(it.c, it.s) : '');
      case 'signal':
        return '<h3>signal at ' + metres(it.p) + '</h3><p>' + esc(it.m) + '</p>' + recordHtml(it.r) + cellHtml(it.c, it.s);
      case 'abbattimento':
      case 'indicator':
      case 'sign': {
        const what = { abbattimento: 'abbattimento', indicator: 'speed indicator group', sign: 'indication sign' }[o.kind];
        const origin = it.r === null && o.kind === 'abbattimento'
          ? '<p>added by the completion of the signalling around a slowdown</p>' : recordHtml(it.r);
        return '<h3>' + what + ' at ' + metres(it.p) + '</h3><p>' + esc(it.t) + '</p>' + origin + cellHtml(it.c, it.s);
      }
      case 'slowdown':
        return '<h3>slowdown to ' + it.v + ' km/h</h3><p>from ' + it.p + ' to ' + metres(it.b) +
          (it.w !== null ? ', warning board at ' + metres(it.w) : ', no warning board') + '</p>' + recordHtml(it.r) +
          cellHtml(it.c, it.s);
      case 'span':
        return '<h3>mountain span ' + it.i + '</h3><p>' + it.p + ' to ' + metres(it.b) + ', kind ' + it.k + '</p>' + recordHtml(it.r);
      case 'curve':
        return '<h3>curve <code>' + esc(it.k) + '</code></h3><p>from ' + it.p + ' m, ' + it.l + ' m long</p>' + recordHtml(it.r);
      case 'progressive':
        return '<h3>kilometric progressive</h3><p>at ' + metres(it.p) + ': km ' + kmValueText(it.v) + (it.f === 1 ? ' (100 m added for the flag)' : '') +
          '</p>' + recordHtml(it.r);
      case 'code':
        return '<h3>approach code ' + it[1] + '</h3><p>' + esc(it[2]) + '</p>' + cellHtml(it[0], null);
      case 'gradient':
        return stepHtml(it, 'gradient', 'per mille');
      case 'speed':
        return stepHtml(it, 'speed limit', 'km/h');
      case 'adhesion':
        return stepHtml(it, 'adhesion', '');
      case 'group': {
        const first = it.items[0].p, last = it.items[it.items.length - 1].p;
        return '<h3>' + it.items.length + ' ' + it.kind + 's</h3><p>from ' + first + ' to ' + metres(last) +
          '; click to zoom in on them.</p>';
      }
    }
    return '';
  }

  function showDetails(o) {
    detailsBox.innerHTML = '<h2>Details</h2>' + describe(o);
  }

  // ----- problems -----

  function renderProblems() {
    const problems = state.problems || [];
    problemTitle.textContent = 'Problems (' + problems.length + (state.more_problems ? '+' : '') + ')';
    problemList.innerHTML = problems.map((p, i) =>
      '<li><button type="button" class="' + esc(p.severity) + '" data-problem="' + i + '"' +
      (p.at !== null && p.at !== undefined ? ' data-at="' + p.at + '"' : '') + '>' + esc(p.text) + '</button></li>').join('');
    if (state.more_problems) {
      problemList.insertAdjacentHTML('beforeend', '<li>… and ' + state.more_problems + ' more: tracciato lint lists them all</li>');
    }
    banner.hidden = !state.banner;
    banner.textContent = state.banner || '';
    root.dataset.revision = String(state.revision);
  }

  problemList.addEventListener('click', (e) => {
    const button = e.target.closest('button[data-problem]');
    if (!button) return;
    const p = state.problems[Number(button.dataset.problem)];
    if (p.at === null || p.at === undefined) return;
    highlightCell = p.cell;
    centreOn(p.at);
    detailsBox.innerHTML = '<h2>Details</h2><h3>' + esc(p.severity + (p.code ? ' ' + p.code : '')) + '</h3><p>' + esc(p.message) + '</p>' +
      (p.notes || []).map((n) => '<p>note: ' + esc((n.file ? n.file + ':' + n.line + ': ' : '') + n.message) + '</p>').join('');
  });

  // ----- going to a place -----

  function stepsAndStations() { return view ? view.stations.slice().sort((a, b) => a.p - b.p) : []; }

  function goTo(text) {
    gotoMessage.textContent = '';
    const t = text.trim();
    if (!t || !view) return;
    let m;
    const centre = (start + end) / 2;
    if ((m = /^([+-])\s*(\d+(?:\.\d+)?)\s*(m|km)?$/i.exec(t))) {
      const d = Number(m[2]) * (m[3] && m[3].toLowerCase() === 'km' ? 1000 : 1);
      centreOn(centre + (m[1] === '-' ? -d : d));
    } else if ((m = /^(\d+(?:\.\d+)?)\s*(m|km)?$/i.exec(t))) {
      centreOn(Number(m[1]) * (m[2] && m[2].toLowerCase() === 'km' ? 1000 : 1));
    } else if ((m = /^(?:km\s*)?(\d+)\+(\d{1,3})$/i.exec(t))) {
      const at = positionOfKmValue(Number(m[1]) * 1000 + Number(m[2]));
      if (at === null) { gotoMessage.textContent = 'no position has km ' + m[1] + '+' + m[2]; return; }
      centreOn(at);
    } else {
      search(t);
    }
  }

  // Stations by name, then signs by their text; Enter again goes to the next.
  function search(text) {
    const needle = text.toLowerCase();
    const found = [];
    for (const st of stepsAndStations()) if (st.n.toLowerCase() === needle) found.push(st.p);
    for (const st of stepsAndStations()) if (st.n.toLowerCase() !== needle && st.n.toLowerCase().indexOf(needle) >= 0) found.push(st.p);
    for (const s of view.signs) if (s.t.toLowerCase().indexOf(needle) >= 0) found.push(s.p);
    if (!found.length) { gotoMessage.textContent = 'nothing named ' + text; return; }
    lastSearch.index = lastSearch.text === needle ? (lastSearch.index + 1) % found.length : 0;
    lastSearch.text = needle;
    centreOn(found[lastSearch.index]);
    if (found.length > 1) gotoMessage.textContent = (lastSearch.index + 1) + ' of ' + found.length;
  }

  function nextStation(direction) {
    const centre = (start + end) / 2;
    const stations = stepsAndStations();
    const target = direction > 0
      ? stations.find((s) => s.p > centre + 0.5)
      : stations.slice().reverse().find((s) => s.p < centre - 0.5);
    if (target) centreOn(target.p);
  }

  gotoForm.addEventListener('submit', (e) => {
    e.preventDefault();
    goTo(gotoBox.value);
  });

  // ----- the person's hand: wheel, drag, keys, pointing -----

  function svgX(e) {
    const r = svg.getBoundingClientRect();
    return (e.clientX - r.left) * (width() / r.width);
  }

  svg.addEventListener('wheel', (e) => {
    e.preventDefault();
    const steps = Math.max(-5, Math.min(5, e.deltaY / 100));
    zoomAt(svgX(e), Math.pow(ZOOM_STEP, steps));
  }, { passive: false });

  let drag = null;
  svg.addEventListener('pointerdown', (e) => {
    if (e.button !== 0) return;
    drag = { x: e.clientX, start: start, end: end, moved: false, id: e.pointerId };
  });
  window.addEventListener('pointermove', (e) => {
    if (!drag) return;
    const dx = e.clientX - drag.x;
    if (!drag.moved && Math.abs(dx) < 3) return;
    if (!drag.moved) { drag.moved = true; svg.classList.add('dragging'); }
    const r = svg.getBoundingClientRect();
    const metresPerPx = (drag.end - drag.start) / (axisWidth() * r.width / width());
    setRange(drag.start - dx * metresPerPx, drag.end - dx * metresPerPx);
  });
  let dragged = false;  // the click that ends a drag chooses nothing
  window.addEventListener('pointerup', () => {
    dragged = Boolean(drag && drag.moved);
    if (dragged) svg.classList.remove('dragging');
    drag = null;
  });

  function objectOf(target) {
    const g = target.closest ? target.closest('.mark') : null;
    return g ? objects[Number(g.dataset.i)] : null;
  }
  svg.addEventListener('mouseover', (e) => {
    if (chosen) return;
    const o = objectOf(e.target);
    if (o) showDetails(o);
  });
  svg.addEventListener('click', (e) => {
    if (dragged) { dragged = false; return; }
    const o = objectOf(e.target);
    if (o && o.kind === 'group') {
      const first = o.item.items[0].p, last = o.item.items[o.item.items.length - 1].p;
      const pad = Math.max((last - first) * 0.1, 100);
      setRange(first - pad, last + pad);
      return;
    }
    chosen = o;
    if (o) showDetails(o);
    scheduleDraw();
  });

  document.addEventListener('keydown', (e) => {
    if (e.target === gotoBox || e.ctrlKey || e.metaKey || e.altKey) return;
    const span = end - start;
    const mid = LEFT + axisWidth() / 2;
    switch (e.key) {
      case '+': case '=': zoomAt(mid, 1 / ZOOM_STEP); break;
      case '-': case '_': zoomAt(mid, ZOOM_STEP); break;
      case 'Home': setRange(0, span); break;
      case 'End': setRange(fullEnd() - span, fullEnd()); break;
      case 'ArrowLeft': setRange(start - span * 0.1, end - span * 0.1); break;
      case 'ArrowRight': setRange(start + span * 0.1, end + span * 0.1); break;
      case 'PageDown': nextStation(1); break;
      case 'PageUp': nextStation(-1); break;
      case 'Escape': chosen = null; highlightCell = null; scheduleDraw(); break;
      default: return;
    }
    e.preventDefault();
  });

  // ----- layers -----

  function buildLayerToggles() {
    layerBoxes.insertAdjacentHTML('beforeend', LAYERS.map((l) =>
      '<label><input type="checkbox" name="' + l.id + '" checked><span class="swatch" style="background:' + l.colour +
      '"></span>' + esc(l.title) + '</label>').join(''));
    for (const l of LAYERS) shown[l.id] = true;
    layerBoxes.addEventListener('change', (e) => {
      if (!e.target.name) return;
      shown[e.target.name] = e.target.checked;
      scheduleDraw();
    });
  }

  // ----- a new revision from the server, the range kept -----

  function apply(newState) {
    state = newState;
    if (state.view) {
      view = state.view;
      ranges.clear();
    }
    chosen = null;
    renderProblems();
    scheduleDraw();
  }

  function listen() {
    if (!state.live || typeof EventSource === 'undefined') return;
    const events = new EventSource('events');
    events.addEventListener('revision', (e) => {
      if (Number(e.data) <= state.revision) return;
      fetch('./', { cache: 'no-store' }).then((r) => r.text()).then((html) => {
        const doc = new DOMParser().parseFromString(html, 'text/html');
        const data = doc.getElementById('route-data');
        if (data) apply(JSON.parse(data.textContent));
      }).catch(() => {});
    });
  }

  // ----- start -----

  for (const el of document.querySelectorAll('.needs-script')) el.hidden = false;
  buildLayerToggles();
  renderProblems();
  if (view) {
    const initialEnd = Math.ceil(Math.max(view.length, 1000) / 1000) * 1000;
    setRange(0, Math.min(initialEnd, fullEnd()));
  }
  window.addEventListener('resize', scheduleDraw);
  listen();
}());
