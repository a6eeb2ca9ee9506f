// Running `pphatch view` and `pphatch pick` for the browser tests, and
// reading what they give. PPHATCH names the tool (default: build/pphatch of
// the checkout), CHROMIUM the browser (default: Debian's /usr/bin/chromium).
import { spawn, execFileSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const tool = process.env.PPHATCH ?? path.join(sourceDir, 'build/pphatch');
export const floorPlan = path.join(sourceDir, 'examples/floor_plan.dxf');

// Starts `pphatch view` on a drawing and resolves with {url, process} once it
// prints its address.
export function startViewer(drawing, extra = []) {
  return new Promise((resolve, reject) => {
    const child = spawn(tool, ['view', drawing, ...extra], { stdio: ['ignore', 'pipe', 'pipe'] });
    let out = '', err = '';
    const timer = setTimeout(() => reject(new Error(`no address within 120 s: ${err}`)), 120000);
    child.stdout.on('data', (d) => {
      out += d;
      const m = /http:\/\/\S+\//.exec(out);
      if (m) { clearTimeout(timer); resolve({ url: m[0], process: child, output: () => out, errors: () => err }); }
    });
    child.stderr.on('data', (d) => { err += d; });
    child.on('exit', (code) => { clearTimeout(timer); reject(new Error(`pphatch view ended (${code}): ${err}`)); });
  });
}

// Interrupts the viewer as Ctrl-C would and resolves with its exit code.
export function stopViewer(viewer) {
  return new Promise((resolve) => {
    if (viewer.process.exitCode !== null) return resolve(viewer.process.exitCode);
    viewer.process.removeAllListeners('exit');
    viewer.process.on('exit', (code) => resolve(code));
    viewer.process.kill('SIGINT');
  });
}

// What `pphatch pick` (with `options`) finds at each point: [{ok, area, perimeter, loops}].
export function pickWithTool(drawing, points, options = []) {
  const args = ['pick', drawing, ...points.flatMap(([x, y]) => ['--at', `${x},${y}`]), ...options];
  let out;
  try {
    out = execFileSync(tool, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
  } catch (e) {
    out = e.stdout;  // status 1: some pick found nothing
  }
  return out.trim().split('\n').map((line) => {
    const r = JSON.parse(line);
    const contours = r.ok ? r.contours.map((c) => c.points) : [];
    return { ok: r.ok, area: r.area, perimeter: r.perimeter, loops: contours.length, error: r.error };
  });
}

// HATCH entities of a DXF text and the number of boundary loops of each
// (group 91 of the entity).
export function dxfHatches(text) {
  const lines = text.split(/\r?\n/);
  const hatches = [];
  let inHatch = false;
  for (let i = 0; i + 1 < lines.length; i += 2) {
    const code = lines[i].trim(), value = lines[i + 1].trim();
    if (code === '0') {
      inHatch = value === 'HATCH';
      if (inHatch) hatches.push({ loops: 0 });
    } else if (inHatch && code === '91') {
      hatches[hatches.length - 1].loops = Number(value);
    }
  }
  return hatches;
}

// Debian's Chromium, headless.
export async function launchBrowser() {
  const executablePath = process.env.CHROMIUM ?? '/usr/bin/chromium';
  if (!existsSync(executablePath)) throw new Error(`no browser at ${executablePath} (install chromium)`);
  return chromium.launch({ executablePath, args: ['--no-sandbox', '--disable-gpu'] });
}

// The page of a viewer, loaded and drawn; console errors and failed page
// scripts are collected in `problems`.
export async function openPage(browser, url, viewport = { width: 1400, height: 900 }) {
  const page = await browser.newPage({ viewport, acceptDownloads: true });
  const problems = [];
  page.on('console', (m) => { if (m.type() === 'error') problems.push(m.text()); });
  page.on('pageerror', (e) => problems.push(e.message));
  await page.goto(url);
  await page.waitForFunction(() => window.pphatchView && window.pphatchView.ready, null, { timeout: 120000 });
  return { page, problems };
}

// The page coordinates of a drawing point.
export function pagePoint(page, x, y) {
  return page.evaluate(([px, py]) => window.pphatchView.pagePoint(px, py), [x, y]);
}
