// The viewer page on the example floor plan, driven in headless Chromium:
// what a user sees when pointing, clicking and exporting must agree with
// `pphatch pick` on the same points.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {
  dxfHatches, floorPlan, launchBrowser, openPage, pagePoint, pickWithTool, startViewer,
  stopViewer, tool,
} from './support.mjs';

// Rooms A to D of the floor plan, the wall ring, and a point in the void around it.
const rooms = { A: [300, 200], B: [150, 600], C: [750, 240], D: [600, 600], walls: [5, 350] };
const voidPoint = [-20, -20];
const MESSAGE = 'Operation can not be performed with these objects.';

const close = (a, b) => Math.abs(a - b) <= 1e-9 * Math.max(1, Math.abs(b));

describe('pphatch view on the floor plan', () => {
  let viewer, browser, page, problems, expected, downloads;

  before(async () => {
    expected = Object.fromEntries(Object.entries(rooms).map(([name, p]) => [name, pickWithTool(floorPlan, [p])[0]]));
    for (const [name, e] of Object.entries(expected)) assert.ok(e.ok, `pphatch pick finds room ${name}`);
    downloads = mkdtempSync(path.join(os.tmpdir(), 'pphatch-view-test-'));
    viewer = await startViewer(floorPlan);
    browser = await launchBrowser();
    ({ page, problems } = await openPage(browser, viewer.url));
  });

  after(async () => {
    await browser?.close();
    if (viewer) assert.equal(await stopViewer(viewer), 0, 'Ctrl-C ends the viewer with status 0');
    assert.match(viewer.output(), /stopped/);
    rmSync(downloads, { recursive: true, force: true });
  });

  const previewArea = () => page.$eval('#overlay', (c) => c.dataset.previewArea);
  // Alpha of the overlay's pixel under a drawing point.
  const overlayAlpha = (x, y) => page.evaluate(([px, py]) => {
    const c = document.getElementById('overlay');
    const p = window.pphatchView.pagePoint(px, py), r = c.getBoundingClientRect();
    const k = c.width / r.width;
    return c.getContext('2d').getImageData(Math.round((p.x - r.left) * k), Math.round((p.y - r.top) * k), 1, 1).data[3];
  }, [x, y]);
  const hover = async ([x, y]) => {
    const p = await pagePoint(page, x, y);
    // One move: a preview for a point on the way could be taken for this one's.
    await page.mouse.move(p.x, p.y);
  };
  const click = async ([x, y]) => {
    const p = await pagePoint(page, x, y);
    await page.mouse.click(p.x, p.y);
  };
  const listedAreas = () => page.$$eval('#list tbody tr', (rows) => rows.map((r) => Number(r.dataset.area)));

  test('the page loads and draws the drawing without console errors', async () => {
    const inked = await page.evaluate(() => {
      const c = document.getElementById('drawing');
      const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let n = 0;
      for (let i = 3; i < data.length; i += 4) if (data[i] > 0) n++;
      return n;
    });
    assert.ok(inked > 2000, `the drawing canvas has ink (${inked} pixels)`);
    // Ink within a pixel of drawing points: on the inner face of the outer
    // wall, on the door swing of room A (an arc about (100, 400) of radius
    // 90), and none on the free floor of room A.
    const inkNear = (x, y) => page.evaluate(([px, py]) => {
      const c = document.getElementById('drawing');
      const p = window.pphatchView.pagePoint(px, py), r = c.getBoundingClientRect();
      const data = c.getContext('2d').getImageData(Math.round(p.x - r.left) - 1, Math.round(p.y - r.top) - 1, 3, 3).data;
      return data.some((v, i) => i % 4 === 3 && v > 0);
    }, [x, y]);
    assert.ok(await inkNear(20, 200), 'the wall is drawn');
    assert.ok(await inkNear(100 + 90 * Math.cos(-Math.PI / 4), 400 + 90 * Math.sin(-Math.PI / 4)), 'the door swing is drawn');
    assert.ok(!(await inkNear(...rooms.A)), 'the floor is empty');
    assert.equal(await page.textContent('#name'), 'floor_plan.dxf');
    assert.deepEqual(problems, []);
  });

  test('hovering inside each room shades the area pphatch pick finds there', async () => {
    let last = await previewArea();
    for (const [name, point] of Object.entries(rooms)) {
      await hover(point);
      await page.waitForFunction((prev) => {
        const a = document.getElementById('overlay').dataset.previewArea;
        return a && a !== prev;
      }, last, { timeout: 10000 });
      last = await previewArea();
      assert.ok(close(Number(last), expected[name].area), `room ${name}: preview ${last}, pick ${expected[name].area}`);
      assert.ok((await overlayAlpha(...point)) > 0, `room ${name} is shaded under the cursor`);
    }
    await hover(voidPoint);
    await page.waitForFunction(() => document.getElementById('overlay').dataset.previewArea === '', null, { timeout: 10000 });
    assert.equal(await overlayAlpha(...voidPoint), 0, 'nothing is shaded off every area');
  });

  test('clicks hatch two rooms and list their areas and sum; a second click removes one', async () => {
    await click(rooms.A);
    await click(rooms.C);
    await page.waitForFunction(() => document.querySelectorAll('#list tbody tr').length === 2, null, { timeout: 10000 });
    const areas = await listedAreas();
    assert.ok(close(areas[0], expected.A.area) && close(areas[1], expected.C.area), `listed ${areas}`);
    const sum = Number(await page.$eval('#sum-area', (c) => c.dataset.value));
    assert.ok(close(sum, expected.A.area + expected.C.area), `sum ${sum}`);
    const perimeter = Number(await page.$eval('#list tbody tr:nth-child(2)', (r) => r.dataset.perimeter));
    assert.ok(close(perimeter, expected.C.perimeter), `perimeter ${perimeter}, pick ${expected.C.perimeter}`);
    assert.equal(await page.textContent('#list tbody tr:nth-child(2) td:nth-child(4)'), String(expected.C.loops - 1));

    // Hovering a row highlights its hatch: its tint gets stronger.
    await hover(voidPoint);
    const before = await overlayAlpha(...rooms.C);
    await page.hover('#list tbody tr:nth-child(2)');
    const highlighted = await overlayAlpha(...rooms.C);
    assert.ok(highlighted > before, `highlight ${highlighted} over ${before}`);

    await click(rooms.A);
    await page.waitForFunction(() => document.querySelectorAll('#list tbody tr').length === 1, null, { timeout: 10000 });
    const left = await listedAreas();
    assert.ok(close(left[0], expected.C.area), 'room C stays hatched');
  });

  test('exports download the hatches as DXF, SVG and JSON lines', async () => {
    await click(rooms.D);
    await page.waitForFunction(() => document.querySelectorAll('#list tbody tr').length === 2, null, { timeout: 10000 });
    const save = async (format) => {
      const [download] = await Promise.all([page.waitForEvent('download'), page.click(`#exports button[data-format="${format}"]`)]);
      const file = path.join(downloads, download.suggestedFilename());
      await download.saveAs(file);
      return file;
    };

    const dxf = await save('dxf');
    assert.equal(path.basename(dxf), 'floor_plan-hatches.dxf');
    const hatches = dxfHatches(readFileSync(dxf, 'utf8'));
    assert.deepEqual(hatches.map((h) => h.loops), [expected.C.loops, expected.D.loops]);
    // Read back by our DXF reader, the export gives the same rooms again.
    const again = pickWithTool(dxf, [rooms.C, rooms.D]);
    assert.ok(close(again[0].area, expected.C.area) && close(again[1].area, expected.D.area),
      `areas picked in the export: ${again.map((a) => a.area)}`);

    const svg = readFileSync(await save('svg'), 'utf8');
    assert.match(svg, /^<\?xml/);
    assert.equal((svg.match(/fill="url\(#hatch/g) || []).length, 2);

    const lines = readFileSync(await save('jsonl'), 'utf8').trim().split('\n').map((l) => JSON.parse(l));
    assert.deepEqual(lines.map((l) => [l.ok, l.contours.length]), [[true, expected.C.loops], [true, expected.D.loops]]);
  });

  test('a click with no area shows the message and hatches nothing', async () => {
    const count = (await listedAreas()).length;
    await click(voidPoint);
    await page.waitForSelector('#message:not([hidden])', { timeout: 10000 });
    assert.ok((await page.textContent('#message')).startsWith(MESSAGE));
    assert.equal((await listedAreas()).length, count);
  });

  test('a click in a room open by small gaps circles them and hatches it with the tolerance offered', async () => {
    // The bottom wall of the open room stops 0.5 short of a column, its top wall has a gap of 1.3.
    const openRoom = path.join(path.dirname(floorPlan), 'open_room.json');
    const closed = pickWithTool(openRoom, [[100, 100]], ['--gap', '1.3'])[0];
    assert.ok(closed.ok, 'pphatch pick --gap 1.3 closes the room');
    const other = await startViewer(openRoom);
    const { page: openPage2, problems: openProblems } = await openPage(browser, other.url);
    try {
      const p = await pagePoint(openPage2, 100, 100);
      await openPage2.mouse.click(p.x, p.y);
      await openPage2.waitForSelector('#close-gaps', { timeout: 10000 });
      assert.match(await openPage2.textContent('#message'), /closes with --gap 1\.3/);
      assert.equal(await openPage2.textContent('#close-gaps'), 'Hatch with gap 1.3');
      await openPage2.click('#close-gaps');
      await openPage2.waitForFunction(() => document.querySelectorAll('#list tbody tr').length === 1);
      const area = await openPage2.$eval('#list tbody tr', (r) => Number(r.dataset.area));
      assert.ok(close(area, closed.area), `hatched ${area}, pick --gap 1.3 ${closed.area}`);
      assert.deepEqual(openProblems, []);
    } finally {
      await openPage2.close();
      assert.equal(await stopViewer(other), 0);
    }
  });

  test('malformed and oversized requests get 400 and the page keeps working', async () => {
    const get = (target) => fetch(new URL(target, viewer.url));
    const post = (target, body) => fetch(new URL(target, viewer.url), { method: 'POST', body });
    const refused = [
      await get('api/pick?x=abc&y=1'),
      await get('api/pick?x=1'),
      await get('api/pick?x=1e400&y=0'),
      await get('api/pick?x=1&y=2&y=3'),
      await get(`api/pick?x=${'1'.repeat(100)}&y=0`),
      await get('api/pick?x=1&y=2&gap=-1'),
      await post('api/export?format=dxf', '{"points":[[1,2,-0.5]]}'),
      await post('api/export?format=dxf', 'not json'),
      await post('api/export?format=dxf', '{"points":[[1,"a"]]}'),
      await post('api/export?format=exe', '{"points":[]}'),
      await post('api/export?format=dxf', JSON.stringify({ points: Array(20000).fill([1, 2]) })),
      await post('api/export?format=dxf', 'x'.repeat(1 << 20)),
      await get(`api/pick?x=1&y=2&pad=${'z'.repeat(4000)}`),
    ];
    assert.deepEqual(refused.map((r) => r.status), refused.map(() => 400));
    assert.equal((await get('api/../../etc/passwd')).status, 404);
    assert.equal((await get('/etc/passwd')).status, 404);

    await hover(rooms.B);
    await page.waitForFunction((want) => Math.abs(Number(document.getElementById('overlay').dataset.previewArea) - want) < 1e-6 * want,
      expected.B.area, { timeout: 10000 });
    assert.deepEqual(problems, []);
  });
});

describe('pphatch view as a server', () => {
  test('a burst of requests beyond the rate is refused with 429, and the server recovers', async () => {
    const viewer = await startViewer(floorPlan);
    try {
      // Four clients asking as fast as they can, until refused or for 20 s.
      const until = Date.now() + 20000;
      const statuses = (await Promise.all(Array.from({ length: 4 }, async () => {
        const seen = [];
        while (!seen.includes(429) && Date.now() < until) seen.push((await fetch(new URL('api/info', viewer.url))).status);
        return seen;
      }))).flat();
      assert.ok(statuses.includes(429), 'some requests of the burst are refused');
      assert.ok(statuses.includes(200), 'the burst is served up to the limit');
      await new Promise((resolve) => setTimeout(resolve, 1500));
      assert.equal((await fetch(new URL('api/pick?x=300&y=200', viewer.url))).status, 200);
    } finally {
      assert.equal(await stopViewer(viewer), 0);
    }
  });

  test('a port in use is an error with status 2; requests naming another host are refused', async () => {
    const viewer = await startViewer(floorPlan);
    try {
      const port = new URL(viewer.url).port;
      const second = spawnSync(tool, ['view', floorPlan, '--port', port], { encoding: 'utf8', timeout: 60000 });
      assert.equal(second.status, 2);
      assert.match(second.stderr, new RegExp(`cannot listen on 127\\.0\\.0\\.1:${port}`));

      // A page of another site reaching the server through a name of its own.
      const { request } = await import('node:http');
      const statusFor = (host) => new Promise((resolve, reject) => {
        request({ host: '127.0.0.1', port, path: '/api/info', headers: { Host: host } }, (res) => {
          res.resume();
          resolve(res.statusCode);
        }).on('error', reject).end();
      });
      for (const host of [`evil.example:${port}`, `127.evil.example:${port}`]) {
        assert.equal(await statusFor(host), 403, `Host: ${host}`);
      }
      for (const host of [`127.0.0.1:${port}`, `localhost:${port}`, `[::1]:${port}`]) {
        assert.equal(await statusFor(host), 200, `Host: ${host}`);
      }
    } finally {
      assert.equal(await stopViewer(viewer), 0);
    }
  });
});
