// The route view's script, second part (see route_view_frame.js): the bands
// of the drawing, each drawn for the range in view, and the drawing itself.

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

