// The viewer page: draws the drawing on a canvas, previews the area under the
// cursor, hatches on click and lists the hatches. Drawing coordinates have y
// up; canvas pixels have y down. All sizes in device pixels.
'use strict';
(() => {
  const stage = document.getElementById('stage');
  const drawingCanvas = document.getElementById('drawing');
  const overlay = document.getElementById('overlay');
  const message = document.getElementById('message');
  const coords = document.getElementById('coords');
  const status = document.getElementById('status');
  const listBody = document.querySelector('#list tbody');
  const exportButtons = [...document.querySelectorAll('#exports button')];

  // Pixels the pointer may move between press and release for a click.
  const CLICK_SLOP = 4;
  // Milliseconds the pointer rests before the preview is asked for.
  const PREVIEW_DELAY = 12;
  // A drawing frame slower than this is shown as a moved picture while the
  // user pans or zooms, and drawn anew once the gesture rests.
  const SLOW_FRAME_MS = 25;
  const SETTLE_MS = 120;

  const view = { cx: 0, cy: 0, scale: 1, width: 1, height: 1, dpr: 1 };
  let geometry = null;   // see parseGeometry
  let grid = null;       // see buildGrid
  const hatches = [];    // {at, contours, area, perimeter, islands}
  let preview = null;    // the pick reply under the cursor, or null
  let highlighted = -1;  // index of the hatch highlighted from the list
  let failure = null;    // {x, y, gaps, freeEnds} of the last click that found nothing
  let gap = 0;           // the gap tolerance of picks (the server's --gap)

  // ---- Geometry: the binary polylines of /api/geometry ----

  function parseGeometry(buffer) {
    const data = new DataView(buffer);
    const magic = String.fromCharCode(...new Uint8Array(buffer, 0, 4));
    if (magic !== 'PPHV' || data.getUint32(4, true) !== 1) throw new Error('unknown geometry format');
    const count = data.getUint32(8, true);
    const vertices = data.getUint32(12, true);
    const head = new Float64Array(buffer, 16, 6);
    const starts = new Uint32Array(buffer, 64, count + 1);
    const flagsAt = 64 + 4 * (count + 1);
    const flags = new Uint8Array(buffer, flagsAt, count);
    const xy = new Float32Array(buffer, flagsAt + count + ((4 - (count % 4)) % 4), 2 * vertices);
    // Boxes of the polylines, relative to the origin like the vertices.
    const boxes = new Float32Array(4 * count);
    for (let i = 0; i < count; i++) {
      let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
      for (let k = starts[i]; k < starts[i + 1]; k++) {
        const x = xy[2 * k], y = xy[2 * k + 1];
        if (x < x0) x0 = x; if (x > x1) x1 = x;
        if (y < y0) y0 = y; if (y > y1) y1 = y;
      }
      boxes.set([x0, y0, x1, y1], 4 * i);
    }
    return {
      count, starts, flags, xy, boxes,
      ox: head[0], oy: head[1],
      extents: { minX: head[2], minY: head[3], maxX: head[4], maxY: head[5] },
    };
  }

  // A grid of cells over the extents, each listing the polylines whose box
  // meets it, so that a frame visits only what is in view. Polylines that
  // would fill many cells are kept apart and always visited.
  function buildGrid(g) {
    const e = g.extents;
    const w = Math.max(e.maxX - e.minX, 1e-9), h = Math.max(e.maxY - e.minY, 1e-9);
    const side = Math.max(1, Math.min(1024, Math.round(Math.sqrt(g.count / 4))));
    const cols = side, rows = side;
    const x0 = e.minX - g.ox, y0 = e.minY - g.oy;
    const cw = w / cols, ch = h / rows;
    const cell = (v, o, s, n) => Math.min(n - 1, Math.max(0, Math.floor((v - o) / s)));
    const MAX_CELLS = 64;
    const counts = new Uint32Array(cols * rows + 1);
    const large = [];
    const span = (i, visit) => {
      const b = g.boxes;
      const c0 = cell(b[4 * i], x0, cw, cols), c1 = cell(b[4 * i + 2], x0, cw, cols);
      const r0 = cell(b[4 * i + 1], y0, ch, rows), r1 = cell(b[4 * i + 3], y0, ch, rows);
      if ((c1 - c0 + 1) * (r1 - r0 + 1) > MAX_CELLS) return false;
      for (let r = r0; r <= r1; r++) for (let c = c0; c <= c1; c++) visit(r * cols + c);
      return true;
    };
    for (let i = 0; i < g.count; i++) {
      if (g.starts[i + 1] === g.starts[i]) continue;
      if (!span(i, (k) => counts[k + 1]++)) large.push(i);
    }
    for (let k = 1; k <= cols * rows; k++) counts[k] += counts[k - 1];
    const items = new Uint32Array(counts[cols * rows]);
    const fill = counts.slice(0, cols * rows);
    for (let i = 0; i < g.count; i++) {
      if (g.starts[i + 1] === g.starts[i]) continue;
      span(i, (k) => { items[fill[k]++] = i; });
    }
    return { cols, rows, x0, y0, cw, ch, offsets: counts, items, large: Uint32Array.from(large),
             stamp: new Uint32Array(g.count), mark: 0, cell };
  }

  // ---- View transform ----

  const toScreenX = (x) => (x - view.cx) * view.scale + view.width / 2;
  const toScreenY = (y) => view.height / 2 - (y - view.cy) * view.scale;
  const toDrawing = (px, py) => ({
    x: view.cx + (px - view.width / 2) / view.scale,
    y: view.cy - (py - view.height / 2) / view.scale,
  });

  function fit() {
    if (!geometry) return;
    const e = geometry.extents;
    const w = e.maxX - e.minX, h = e.maxY - e.minY;
    view.cx = (e.minX + e.maxX) / 2;
    view.cy = (e.minY + e.maxY) / 2;
    const sx = w > 0 ? view.width / w : Infinity, sy = h > 0 ? view.height / h : Infinity;
    const s = Math.min(sx, sy);
    view.scale = Number.isFinite(s) ? 0.92 * s : 1;
    fitScale = view.scale;
    requestDraw(true);
  }

  // Zooming stops a thousand times smaller than the fitted view and a
  // million times larger: beyond that the drawing's single-precision
  // coordinates would show their steps.
  let fitScale = 1;
  const clampScale = (s) => Math.min(fitScale * 1e6, Math.max(fitScale * 1e-3, s));

  function resize() {
    view.dpr = window.devicePixelRatio || 1;
    const r = stage.getBoundingClientRect();
    view.width = Math.max(1, Math.round(r.width * view.dpr));
    view.height = Math.max(1, Math.round(r.height * view.dpr));
    for (const c of [drawingCanvas, overlay]) { c.width = view.width; c.height = view.height; }
    requestDraw(true);
  }

  const css = (name) => getComputedStyle(document.body).getPropertyValue(name).trim();

  // ---- Drawing the drawing ----

  let lastFrameMs = 0;
  let snapshot = null;  // {canvas, cx, cy, scale} of the last full frame
  let settleTimer = 0;
  let frameQueued = false;
  let fullFrameWanted = false;

  // More polylines in view than this are drawn into pixels by the page
  // itself (one-pixel lines without smoothing): the canvas's own stroking
  // costs too much for them, and at such a scale smoothing shows nothing.
  const RASTER_ABOVE = 40000;

  // Canvas paths: smooth lines, for views of a few polylines.
  function pathPen() {
    const solid = new Path2D(), faint = new Path2D(), dots = new Path2D();
    let path = solid;
    return {
      move(x, y, isFaint) { path = isFaint ? faint : solid; path.moveTo(x, y); },
      line(x, y) { path.lineTo(x, y); },
      dot(px, py) { dots.rect(px, py, 1, 1); },
      finish(ctx) {
        ctx.lineWidth = Math.max(1, view.dpr);
        ctx.lineJoin = 'round';
        ctx.strokeStyle = css('--faint');
        ctx.stroke(faint);
        ctx.strokeStyle = css('--ink');
        ctx.stroke(solid);
        ctx.fillStyle = css('--ink');
        ctx.fill(dots);
      },
    };
  }

  // A colour of the page as one pixel value of an ImageData.
  function pixelOf(colour) {
    const c = document.createElement('canvas').getContext('2d');
    c.fillStyle = colour;
    c.fillRect(0, 0, 1, 1);
    return new Uint32Array(c.getImageData(0, 0, 1, 1).data.buffer)[0];
  }

  // Pixels set by the page: lines stepped pixel by pixel after clipping.
  function rasterPen() {
    const w = view.width, h = view.height;
    const image = new ImageData(w, h);
    const pixels = new Uint32Array(image.data.buffer);
    const ink = pixelOf(css('--ink')), faintInk = pixelOf(css('--faint'));
    let colour = ink, lx = 0, ly = 0;
    // The part of the segment inside the canvas (Liang-Barsky), then its pixels.
    const segment = (x0, y0, x1, y1) => {
      let t0 = 0, t1 = 1;
      const dx = x1 - x0, dy = y1 - y0;
      for (const [p, q] of [[-dx, x0], [dx, w - 1 - x0], [-dy, y0], [dy, h - 1 - y0]]) {
        if (p === 0) { if (q < 0) return; continue; }
        const r = q / p;
        if (p < 0) { if (r > t1) return; if (r > t0) t0 = r; } else { if (r < t0) return; if (r < t1) t1 = r; }
      }
      const ax = x0 + t0 * dx, ay = y0 + t0 * dy, bx = x0 + t1 * dx, by = y0 + t1 * dy;
      const steps = Math.max(1, Math.ceil(Math.max(Math.abs(bx - ax), Math.abs(by - ay))));
      const sx = (bx - ax) / steps, sy = (by - ay) / steps;
      for (let k = 0, x = ax, y = ay; k <= steps; k++, x += sx, y += sy) {
        pixels[Math.round(y) * w + Math.round(x)] = colour;
      }
    };
    return {
      move(x, y, isFaint) { colour = isFaint ? faintInk : ink; lx = x; ly = y; },
      line(x, y) { segment(lx, ly, x, y); lx = x; ly = y; },
      dot(px, py) { pixels[py * w + px] = ink; },
      finish(ctx) { ctx.putImageData(image, 0, 0); },
    };
  }

  // Draws the polylines in view. A polyline smaller than a pixel is one dot,
  // and a pixel gets at most one dot; vertices closer than half a pixel to
  // the last one drawn are passed over.
  function drawGeometry() {
    const ctx = drawingCanvas.getContext('2d');
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.clearRect(0, 0, view.width, view.height);
    if (!geometry) return;
    const t0 = performance.now();
    const g = geometry, q = grid, s = view.scale;
    const ox = g.ox - view.cx, oy = g.oy - view.cy;
    const hw = view.width / 2, hh = view.height / 2;
    const lo = toDrawing(0, view.height), hi = toDrawing(view.width, 0);
    const vx0 = lo.x - g.ox, vy0 = lo.y - g.oy, vx1 = hi.x - g.ox, vy1 = hi.y - g.oy;
    const c0 = q.cell(vx0, q.x0, q.cw, q.cols), c1 = q.cell(vx1, q.x0, q.cw, q.cols);
    const r0 = q.cell(vy0, q.y0, q.ch, q.rows), r1 = q.cell(vy1, q.y0, q.ch, q.rows);
    let estimate = q.large.length;
    for (let r = r0; r <= r1; r++) estimate += q.offsets[r * q.cols + c1 + 1] - q.offsets[r * q.cols + c0];
    const pen = estimate > RASTER_ABOVE ? rasterPen() : pathPen();
    const mark = ++q.mark;
    const dots = new Uint8Array(view.width * view.height);
    const b = g.boxes, xy = g.xy, st = g.starts;

    const visit = (i) => {
      if (q.stamp[i] === mark) return;
      q.stamp[i] = mark;
      if (b[4 * i + 2] < vx0 || b[4 * i] > vx1 || b[4 * i + 3] < vy0 || b[4 * i + 1] > vy1) return;
      const first = st[i], end = st[i + 1];
      if ((b[4 * i + 2] - b[4 * i]) * s < 1 && (b[4 * i + 3] - b[4 * i + 1]) * s < 1) {
        const px = Math.floor((xy[2 * first] + ox) * s + hw), py = Math.floor(hh - (xy[2 * first + 1] + oy) * s);
        if (px < 0 || py < 0 || px >= view.width || py >= view.height) return;
        const k = py * view.width + px;
        if (dots[k]) return;
        dots[k] = 1;
        pen.dot(px, py);
        return;
      }
      let lx = (xy[2 * first] + ox) * s + hw, ly = hh - (xy[2 * first + 1] + oy) * s;
      pen.move(lx, ly, g.flags[i] !== 0);
      for (let k = first + 1; k < end; k++) {
        const x = (xy[2 * k] + ox) * s + hw, y = hh - (xy[2 * k + 1] + oy) * s;
        if (k < end - 1 && Math.abs(x - lx) < 0.5 && Math.abs(y - ly) < 0.5) continue;
        pen.line(x, y);
        lx = x; ly = y;
      }
    };
    for (let r = r0; r <= r1; r++) {
      for (let c = c0; c <= c1; c++) {
        const k = r * q.cols + c;
        for (let j = q.offsets[k]; j < q.offsets[k + 1]; j++) visit(q.items[j]);
      }
    }
    for (const i of q.large) visit(i);
    pen.finish(ctx);
    lastFrameMs = performance.now() - t0;
    keepSnapshot();
  }

  function keepSnapshot() {
    if (!snapshot) snapshot = { canvas: document.createElement('canvas') };
    snapshot.canvas.width = view.width;
    snapshot.canvas.height = view.height;
    snapshot.canvas.getContext('2d').drawImage(drawingCanvas, 0, 0);
    Object.assign(snapshot, { cx: view.cx, cy: view.cy, scale: view.scale });
  }

  // The last full frame moved and scaled to the current view.
  function drawSnapshot() {
    const ctx = drawingCanvas.getContext('2d');
    const k = view.scale / snapshot.scale;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.clearRect(0, 0, view.width, view.height);
    const dx = toScreenX(snapshot.cx) - k * view.width / 2;
    const dy = toScreenY(snapshot.cy) - k * view.height / 2;
    ctx.drawImage(snapshot.canvas, dx, dy, k * view.width, k * view.height);
  }

  // Draws on the next animation frame: in full when frames are quick or
  // `full` is asked for, else the moved picture and a full frame later.
  function requestDraw(full) {
    fullFrameWanted = fullFrameWanted || full || lastFrameMs < SLOW_FRAME_MS || !snapshot;
    if (frameQueued) return;
    frameQueued = true;
    requestAnimationFrame(() => {
      frameQueued = false;
      if (fullFrameWanted) {
        fullFrameWanted = false;
        drawGeometry();
      } else {
        drawSnapshot();
        clearTimeout(settleTimer);
        settleTimer = setTimeout(() => requestDraw(true), SETTLE_MS);
      }
      drawOverlay();
    });
  }

  // ---- Areas: hatches, the highlighted hatch, the preview ----

  function areaPath(contours) {
    const path = new Path2D();
    for (const ring of contours) {
      ring.forEach(([x, y], k) => (k ? path.lineTo(toScreenX(x), toScreenY(y)) : path.moveTo(toScreenX(x), toScreenY(y))));
      path.closePath();
    }
    return path;
  }

  let hatchPattern = null, patternColour = '';
  function pattern(ctx, colour) {
    if (hatchPattern && patternColour === colour) return hatchPattern;
    const tile = document.createElement('canvas');
    const n = Math.round(8 * view.dpr);
    tile.width = tile.height = n;
    const t = tile.getContext('2d');
    t.strokeStyle = colour;
    t.lineWidth = view.dpr;
    t.beginPath();
    t.moveTo(0, n); t.lineTo(n, 0);
    t.moveTo(-1, 1); t.lineTo(1, -1);
    t.moveTo(n - 1, n + 1); t.lineTo(n + 1, n - 1);
    t.stroke();
    hatchPattern = ctx.createPattern(tile, 'repeat');
    patternColour = colour;
    return hatchPattern;
  }

  function drawOverlay() {
    const ctx = overlay.getContext('2d');
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.clearRect(0, 0, view.width, view.height);
    const hatchColour = css('--hatch'), previewColour = css('--preview');
    ctx.lineWidth = 1.5 * view.dpr;
    hatches.forEach((h, i) => {
      const path = areaPath(h.contours);
      ctx.globalAlpha = i === highlighted ? 0.45 : 0.15;
      ctx.fillStyle = hatchColour;
      ctx.fill(path, 'evenodd');
      ctx.globalAlpha = 1;
      ctx.fillStyle = pattern(ctx, hatchColour);
      ctx.fill(path, 'evenodd');
      ctx.strokeStyle = hatchColour;
      ctx.lineWidth = (i === highlighted ? 3 : 1.5) * view.dpr;
      ctx.stroke(path);
    });
    if (preview) {
      const path = areaPath(preview.contours);
      ctx.globalAlpha = 0.3;
      ctx.fillStyle = previewColour;
      ctx.fill(path, 'evenodd');
      ctx.globalAlpha = 1;
      ctx.strokeStyle = previewColour;
      ctx.lineWidth = 2 * view.dpr;
      ctx.stroke(path);
    }
    if (failure) {
      const x = toScreenX(failure.x), y = toScreenY(failure.y), r = 6 * view.dpr;
      ctx.strokeStyle = css('--fail');
      ctx.lineWidth = 2 * view.dpr;
      ctx.beginPath();
      ctx.moveTo(x - r, y - r); ctx.lineTo(x + r, y + r);
      ctx.moveTo(x - r, y + r); ctx.lineTo(x + r, y - r);
      ctx.stroke();
      // Each gap that keeps the area open circled, each free end ringed.
      for (const g of failure.gaps) {
        const gx = toScreenX((g.from[0] + g.to[0]) / 2), gy = toScreenY((g.from[1] + g.to[1]) / 2);
        ctx.beginPath();
        ctx.arc(gx, gy, Math.max(10 * view.dpr, g.size * view.scale * view.dpr), 0, 2 * Math.PI);
        ctx.stroke();
      }
      for (const [ex, ey] of failure.freeEnds) {
        ctx.beginPath();
        ctx.arc(toScreenX(ex), toScreenY(ey), 5 * view.dpr, 0, 2 * Math.PI);
        ctx.stroke();
      }
    }
    overlay.dataset.previewArea = preview ? String(preview.area) : '';
    overlay.dataset.hatches = String(hatches.length);
  }

  // True when (x, y) lies inside the area (even-odd over its contours).
  function inside(contours, x, y) {
    let odd = false;
    for (const ring of contours) {
      for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
        const [xi, yi] = ring[i], [xj, yj] = ring[j];
        if ((yi > y) !== (yj > y) && x < ((xj - xi) * (y - yi)) / (yj - yi) + xi) odd = !odd;
      }
    }
    return odd;
  }

  // ---- Requests ----

  async function pick(p, tolerance = gap) {
    const reply = await fetch(`api/pick?x=${encodeURIComponent(p.x)}&y=${encodeURIComponent(p.y)}` +
                              `&gap=${encodeURIComponent(tolerance)}`);
    if (!reply.ok) throw new Error((await reply.json().catch(() => ({}))).error || reply.statusText);
    const answer = await reply.json();
    answer.gap = tolerance;
    return answer;
  }

  // The closing tolerance rounded up to two significant digits, so that
  // picking with it closes the gaps.
  function roundedUp(size) {
    const step = 10 ** (Math.floor(Math.log10(size)) - 1);
    return Number((Math.ceil(size / step * (1 - 1e-12)) * step).toPrecision(2));
  }

  // The preview asks for at most one area at a time; a reply for a point the
  // pointer has left behind is dropped, and the newest point is asked next.
  let previewTimer = 0, previewBusy = false, wanted = null, asked = 0;
  function schedulePreview(p) {
    wanted = p;
    if (preview && inside(preview.contours, p.x, p.y)) return;  // still the same area
    clearTimeout(previewTimer);
    previewTimer = setTimeout(askPreview, PREVIEW_DELAY);
  }
  async function askPreview() {
    if (previewBusy || !wanted) return;
    const p = wanted, ticket = ++asked;
    previewBusy = true;
    // A search that finds no closed boundary near the point may take seconds
    // on a huge drawing; say so rather than look stuck.
    const slow = setTimeout(() => { status.textContent = 'searching for a closed boundary…'; }, 300);
    try {
      const reply = await pick(p);
      if (ticket === asked && wanted === p) {
        preview = reply.ok ? reply : null;
        status.textContent = reply.ok
          ? `area ${fmt(reply.area)}, perimeter ${fmt(reply.perimeter)}, ${reply.islands} island${reply.islands === 1 ? '' : 's'} (${reply.ms.toFixed(2)} ms)`
          : 'no closed area here';
        drawOverlay();
      }
    } catch (e) {
      status.textContent = `preview: ${e.message}`;
    } finally {
      clearTimeout(slow);
      previewBusy = false;
      if (wanted !== p) schedulePreview(wanted);
    }
  }
  function clearPreview() {
    wanted = null;
    ++asked;
    clearTimeout(previewTimer);
    if (preview) { preview = null; drawOverlay(); }
  }

  async function clickAt(p, px, py) {
    hideMessage();
    failure = null;
    for (let i = hatches.length - 1; i >= 0; i--) {
      if (inside(hatches[i].contours, p.x, p.y)) {
        hatches.splice(i, 1);
        highlighted = -1;
        updateList();
        drawOverlay();
        return;
      }
    }
    try {
      const reply = await pick(p);
      if (reply.ok) {
        hatches.push(reply);
      } else {
        const open = reply.open || {};
        failure = { x: p.x, y: p.y, gaps: open.gaps || [], freeEnds: open.free_ends || [] };
        showMessage(`${reply.error} (${reply.why})`, px, py,
                    open.closes_at ? roundedUp(open.closes_at) : 0, p);
      }
    } catch (e) {
      showMessage(e.message, px, py);
    }
    updateList();
    drawOverlay();
  }

  async function exportAs(format) {
    const body = JSON.stringify({ points: hatches.map((h) => [h.at[0], h.at[1], h.gap || 0]) });
    const reply = await fetch(`api/export?format=${format}`, {
      method: 'POST', headers: { 'Content-Type': 'application/json' }, body,
    });
    if (!reply.ok) {
      status.textContent = `export: ${(await reply.json().catch(() => ({}))).error || reply.statusText}`;
      return;
    }
    const name = /filename="([^"]+)"/.exec(reply.headers.get('Content-Disposition') || '');
    const url = URL.createObjectURL(await reply.blob());
    const a = document.createElement('a');
    a.href = url;
    a.download = name ? name[1] : `hatches.${format}`;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  // ---- The list ----

  function fmt(v) {
    const a = Math.abs(v);
    const digits = a >= 1e5 ? 0 : a >= 100 ? 2 : a >= 1 ? 3 : 6;
    return v.toLocaleString('en-US', { minimumFractionDigits: digits, maximumFractionDigits: digits });
  }

  function updateList() {
    listBody.replaceChildren(...hatches.map((h, i) => {
      const row = document.createElement('tr');
      row.dataset.area = String(h.area);
      row.dataset.perimeter = String(h.perimeter);
      for (const text of [String(i + 1), fmt(h.area), fmt(h.perimeter), String(h.islands)]) {
        const cell = document.createElement('td');
        cell.textContent = text;
        row.appendChild(cell);
      }
      const remove = document.createElement('button');
      remove.type = 'button';
      remove.title = 'Remove this hatch';
      remove.textContent = '×';
      remove.addEventListener('click', () => {
        hatches.splice(i, 1);
        highlighted = -1;
        updateList();
        drawOverlay();
      });
      const last = document.createElement('td');
      last.appendChild(remove);
      row.appendChild(last);
      row.addEventListener('mouseenter', () => { highlighted = i; drawOverlay(); });
      row.addEventListener('mouseleave', () => { highlighted = -1; drawOverlay(); });
      return row;
    }));
    const sum = (key) => hatches.reduce((t, h) => t + h[key], 0);
    document.getElementById('sum-area').textContent = fmt(sum('area'));
    document.getElementById('sum-area').dataset.value = String(sum('area'));
    document.getElementById('sum-perimeter').textContent = fmt(sum('perimeter'));
    document.getElementById('sum-islands').textContent = String(sum('islands'));
    for (const b of exportButtons) b.disabled = hatches.length === 0;
  }

  // The message beside the click; where a gap tolerance closes the area, a
  // button that hatches it with that tolerance.
  function showMessage(text, px, py, closesWith = 0, at = null) {
    message.textContent = text;
    if (closesWith > 0) {
      const button = document.createElement('button');
      button.id = 'close-gaps';
      button.textContent = `Hatch with gap ${closesWith}`;
      // The button's presses are its own, not gestures on the drawing below.
      for (const type of ['pointerdown', 'pointerup', 'mousedown', 'mouseup']) {
        button.addEventListener(type, (event) => event.stopPropagation());
      }
      button.addEventListener('click', async (event) => {
        event.stopPropagation();
        hideMessage();
        const reply = await pick(at, closesWith);
        if (reply.ok) {
          failure = null;
          hatches.push(reply);
          updateList();
        }
        drawOverlay();
      });
      message.append(document.createElement('br'), button);
    }
    message.hidden = false;
    message.style.left = `${px / view.dpr + 12}px`;
    message.style.top = `${py / view.dpr + 12}px`;
  }
  function hideMessage() { message.hidden = true; }

  // ---- Gestures ----

  const pointer = (event) => {
    const r = stage.getBoundingClientRect();
    return { px: (event.clientX - r.left) * view.dpr, py: (event.clientY - r.top) * view.dpr };
  };
  let press = null;  // {px, py, cx, cy, moved}
  let clicks = Promise.resolve();

  function showCoords(p) {
    const digits = Math.max(0, Math.min(8, Math.ceil(Math.log10(Math.max(view.scale, 1e-12))) + 1));
    coords.textContent = `x ${p.x.toFixed(digits)}  y ${p.y.toFixed(digits)}`;
  }

  stage.addEventListener('pointerdown', (event) => {
    if (event.button !== 0) return;
    const { px, py } = pointer(event);
    press = { px, py, cx: view.cx, cy: view.cy, moved: false };
    stage.setPointerCapture(event.pointerId);
  });
  stage.addEventListener('pointermove', (event) => {
    const { px, py } = pointer(event);
    if (press) {
      if (!press.moved && Math.hypot(px - press.px, py - press.py) > CLICK_SLOP * view.dpr) {
        press.moved = true;
        stage.classList.add('dragging');
        clearPreview();
      }
      if (press.moved) {
        view.cx = press.cx - (px - press.px) / view.scale;
        view.cy = press.cy + (py - press.py) / view.scale;
        requestDraw(false);
        return;
      }
    }
    const p = toDrawing(px, py);
    showCoords(p);
    schedulePreview(p);
  });
  stage.addEventListener('pointerup', (event) => {
    if (!press) return;
    const { px, py } = pointer(event);
    const wasClick = !press.moved;
    press = null;
    stage.classList.remove('dragging');
    if (wasClick) {
      // Clicks are answered in the order they were made.
      const p = toDrawing(px, py);
      clicks = clicks.then(() => clickAt(p, px, py));
    }
    else requestDraw(true);
  });
  stage.addEventListener('pointerleave', () => { if (!press) clearPreview(); });
  stage.addEventListener('wheel', (event) => {
    event.preventDefault();
    const { px, py } = pointer(event);
    const before = toDrawing(px, py);
    const step = event.deltaMode === 1 ? 40 : event.deltaMode === 2 ? 800 : 1;
    view.scale = clampScale(view.scale * Math.exp(-event.deltaY * step * 0.0015));
    const after = toDrawing(px, py);
    view.cx += before.x - after.x;
    view.cy += before.y - after.y;
    requestDraw(false);
  }, { passive: false });

  document.getElementById('fit').addEventListener('click', fit);
  document.getElementById('theme').addEventListener('click', (event) => {
    const dark = document.body.classList.toggle('dark');
    document.body.classList.toggle('light', !dark);
    event.target.textContent = dark ? 'Light' : 'Dark';
    requestDraw(true);
  });
  for (const b of exportButtons) b.addEventListener('click', () => exportAs(b.dataset.format));
  window.addEventListener('keydown', (event) => {
    if (event.key === 'f' || event.key === 'F') fit();
    if (event.key === 'Escape') { clearPreview(); hideMessage(); }
  });
  window.addEventListener('resize', resize);

  // ---- For scripts that drive the page ----

  window.pphatchView = {
    // Where the drawing point (x, y) shows, in CSS pixels of the page.
    pagePoint(x, y) {
      const r = stage.getBoundingClientRect();
      return { x: r.left + toScreenX(x) / view.dpr, y: r.top + toScreenY(y) / view.dpr };
    },
    // Shows the drawing point (x, y) in the middle, at the same scale.
    centreOn(x, y) {
      view.cx = x;
      view.cy = y;
      clearPreview();
      requestDraw(true);
    },
    ready: false,  // true once the drawing is shown
    // Milliseconds the last full frame of the drawing took.
    get frameMs() { return lastFrameMs; },
  };

  // ---- Start ----

  async function start() {
    resize();
    status.textContent = 'reading the drawing…';
    const t0 = performance.now();
    const [info, buffer] = await Promise.all([
      fetch('api/info').then((r) => r.json()),
      fetch('api/geometry').then((r) => r.arrayBuffer()),
    ]);
    document.getElementById('name').textContent = info.name;
    gap = info.gap || 0;
    document.title = `${info.name} — pphatch view`;
    geometry = parseGeometry(buffer);
    grid = buildGrid(geometry);
    fit();
    requestAnimationFrame(() => requestAnimationFrame(() => {
      const ms = performance.now() - t0;
      document.body.dataset.loadedMs = ms.toFixed(0);
      window.pphatchView.ready = true;
      status.textContent = `${info.graphics.toLocaleString('en-US')} graphics, ${geometry.count.toLocaleString('en-US')} polylines, shown in ${ms.toFixed(0)} ms`;
    }));
  }
  start().catch((e) => { status.textContent = `cannot load the drawing: ${e.message}`; });
})();
