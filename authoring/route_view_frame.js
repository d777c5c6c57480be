// The route view's script, first part: the state, the range in view and the
// placement of labels. The page's script is route_view_frame.js,
// route_view_bands.js and route_view_panels.js in this order, inside one
// function. It draws the compile's route along the kilometre axis for the
// range in view, and redraws it at every zoom and pan. Marks and
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

