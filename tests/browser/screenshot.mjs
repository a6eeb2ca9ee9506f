// Takes the README's picture of the viewer: the example floor plan with two
// hatched rooms and the preview of a third under the cursor.
//
//   node screenshot.mjs [OUTPUT.png]   (default: docs/view.png of the checkout)
import path from 'node:path';
import { floorPlan, launchBrowser, openPage, pagePoint, sourceDir, startViewer, stopViewer } from './support.mjs';

const output = process.argv[2] ?? path.join(sourceDir, 'docs/view.png');
const viewer = await startViewer(floorPlan);
const browser = await launchBrowser();
try {
  const { page } = await openPage(browser, viewer.url, { width: 1280, height: 760 });
  for (const [x, y] of [[300, 200], [750, 240]]) {
    const p = await pagePoint(page, x, y);
    await page.mouse.click(p.x, p.y);
  }
  await page.waitForFunction(() => document.querySelectorAll('#list tbody tr').length === 2);
  // The preview under the cursor is still the last room clicked: wait for the next one.
  const before = await page.$eval('#overlay', (o) => o.dataset.previewArea);
  const p = await pagePoint(page, 600, 600);
  await page.mouse.move(p.x, p.y, { steps: 4 });
  await page.waitForFunction((old) => {
    const area = document.getElementById('overlay').dataset.previewArea;
    return area !== '' && area !== old;
  }, before);
  await page.screenshot({ path: output });
  console.log(`wrote ${output}`);
} finally {
  await browser.close();
  await stopViewer(viewer);
}
