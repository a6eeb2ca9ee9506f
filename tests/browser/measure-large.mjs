// Measures `pphatch view` on a large drawing in headless Chromium: the time
// until the drawing is loaded and first drawn, the frame times of the
// drawing at a few scales and while panning and zooming, and the time of
// preview requests. Figures only; nothing here passes or fails.
//
//   node measure-large.mjs DRAWING.dxf [POINTS]
//
// POINTS (default DRAWING.points): points to hover, one "x y" a line.
import { readFileSync } from 'node:fs';
import { launchBrowser, openPage, startViewer, stopViewer } from './support.mjs';

const [drawing, pointsFile = `${drawing}.points`] = process.argv.slice(2);
if (!drawing) {
  console.error('usage: node measure-large.mjs DRAWING.dxf [POINTS]');
  process.exit(2);
}
const points = readFileSync(pointsFile, 'utf8').trim().split('\n').map((l) => l.trim().split(/[\s,]+/).map(Number));

const quantile = (values, q) => {
  const s = [...values].sort((a, b) => a - b);
  return s[Math.min(s.length - 1, Math.floor(q * s.length))];
};
const summary = (values) => `p50 ${quantile(values, 0.5).toFixed(2)}  p95 ${quantile(values, 0.95).toFixed(2)}  max ${Math.max(...values).toFixed(2)}  (n=${values.length})`;

// The browser runs already, as a user's does; the clock starts with the tool.
const browser = await launchBrowser();
const t0 = performance.now();
const viewer = await startViewer(drawing);
const serverReady = performance.now() - t0;
const { page, problems } = await openPage(browser, viewer.url);
const openTime = performance.now() - t0;
const pageReady = openTime - serverReady;
const pageOwn = Number(await page.evaluate(() => document.body.dataset.loadedMs));
console.log(`server: listening after ${(serverReady / 1000).toFixed(2)} s; ${/read in .*/.exec(viewer.errors())?.[0]}`);
console.log(`page: loaded, drawing fetched, indexed and first drawn after ${(pageReady / 1000).toFixed(2)} s (the page's own count from its start: ${pageOwn} ms)`);
console.log(`open in all (tool started to drawing on screen): ${(openTime / 1000).toFixed(2)} s`);

// Full frames at the fitted view and zoomed in around the first point.
const fullFrame = () => page.evaluate(() => new Promise((resolve) => {
  document.getElementById('fit').click();
  requestAnimationFrame(() => requestAnimationFrame(() => resolve(window.pphatchView.frameMs)));
}));
const fitFrames = [];
for (let i = 0; i < 5; i++) fitFrames.push(await fullFrame());
console.log(`full frame, whole drawing in view (ms): ${summary(fitFrames)}`);

const box = await page.locator('#stage').boundingBox();
const centre = { x: box.x + box.width / 2, y: box.y + box.height / 2 };

// Frames while the wheel zooms in and out around the centre, and while dragging.
const frameGaps = async (gesture) => {
  await page.evaluate(() => {
    window.gaps = [];
    let last = performance.now();
    const tick = (t) => { window.gaps.push(t - last); last = t; if (window.measuring) requestAnimationFrame(tick); };
    window.measuring = true;
    requestAnimationFrame(tick);
  });
  await gesture();
  return page.evaluate(() => { window.measuring = false; return window.gaps.slice(1); });
};
await page.mouse.move(centre.x, centre.y);
const zoomGaps = await frameGaps(async () => {
  for (let i = 0; i < 30; i++) { await page.mouse.wheel(0, -120); await page.waitForTimeout(16); }
  for (let i = 0; i < 30; i++) { await page.mouse.wheel(0, 120); await page.waitForTimeout(16); }
});
console.log(`frame gaps while zooming with the wheel (ms): ${summary(zoomGaps)}`);
const panGaps = await frameGaps(async () => {
  await page.mouse.move(centre.x, centre.y);
  await page.mouse.down();
  for (let i = 0; i < 60; i++) await page.mouse.move(centre.x + 4 * i, centre.y + 2 * i);
  await page.mouse.up();
});
console.log(`frame gaps while dragging (ms): ${summary(panGaps)}`);

// Zoomed in on the neighbourhood of the points: hover each and wait for its preview.
for (let i = 0; i < 12; i++) await page.mouse.wheel(0, -120);
await page.waitForTimeout(300);
const zoomedFrame = await page.evaluate(() => window.pphatchView.frameMs);
console.log(`full frame, zoomed in 12 wheel steps (ms): ${zoomedFrame.toFixed(2)}`);

const componentMs = [], roundTrips = [], serverMs = [];
await page.evaluate(() => performance.clearResourceTimings());
for (const [x, y] of points) {
  // Centre the point: fit, then zoom in around it as a user would.
  const reply = await page.evaluate(async ([px, py]) => {
    const r = await fetch(`api/pick?x=${px}&y=${py}`);
    return r.json();
  }, [x, y]);
  componentMs.push(reply.ms);
}
const timings = await page.evaluate(() => performance.getEntriesByType('resource')
  .filter((e) => e.name.includes('/api/pick'))
  .map((e) => [e.responseEnd - e.requestStart, e.serverTiming.find((s) => s.name === 'pick')?.duration]));
roundTrips.push(...timings.map((t) => t[0]));
serverMs.push(...timings.map((t) => t[1]).filter((t) => t !== undefined));
console.log(`pick requests: component time (ms): ${summary(componentMs)}`);
console.log(`pick requests: server time, request read to reply made (ms): ${summary(serverMs)}`);
console.log(`pick requests: request to reply in the browser (ms): ${summary(roundTrips)}`);

// The preview as the user sees it: hover points in view, time until shaded.
const hovered = [];
for (const [x, y] of points.slice(0, 40)) {
  await page.evaluate(([px, py]) => {
    // Move the view so that the point is in sight at the current scale.
    window.pphatchView.centreOn(px, py);
  }, [x, y]);
  await page.waitForTimeout(30);
  const p = await page.evaluate(([px, py]) => window.pphatchView.pagePoint(px, py), [x, y]);
  const start = performance.now();
  await page.mouse.move(p.x + 1, p.y + 1);
  await page.mouse.move(p.x, p.y);
  try {
    await page.waitForFunction(() => document.getElementById('overlay').dataset.previewArea !== '', null, { timeout: 5000 });
    hovered.push(performance.now() - start);
  } catch {
    console.log(`no preview at ${x} ${y}`);
  }
}
if (hovered.length) console.log(`hover to shaded preview, as driven from node (ms): ${summary(hovered)}`);
console.log(`console errors: ${problems.length ? problems.join('; ') : 'none'}`);

await browser.close();
await stopViewer(viewer);
