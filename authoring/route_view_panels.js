// The route view's script, last part (see route_view_frame.js): the details
// of a mark, the problems, the Go to box, the person's hand (wheel, drag,
// keys, pointing), the layers, new revisions from the server, the start.

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
          metres(it.b) + (it.t ? ', ' + esc(it.t) : '') + (it.stop ? '' : ', passed without a stop') + ', item entry ' + it.e +
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
    // A problem of no place on the route (a key that starts no record) is
    // only shown.
    if (p.at !== null && p.at !== undefined) {
      highlightCell = p.cell;
      centreOn(p.at);
    }
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
