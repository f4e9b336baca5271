// Measures the browser edition in headless Chromium: the time to the first paint and to the
// page being ready (module loaded, notice up), the main thread's busy share while the x,y
// scheme hunts at 1920x1080, and the site's size gzipped. Prints a Markdown table.
import { readdirSync, readFileSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { afterCycles, launchChromium, serveSite, site } from './browser.mjs';

function filesUnder(folder) {
  return readdirSync(folder).flatMap((name) => {
    const path = join(folder, name);
    return statSync(path).isDirectory() ? filesUnder(path) : [path];
  });
}

const server = await serveSite();
const browser = await launchChromium();
try {
  const context = await browser.newContext({ viewport: { width: 1920, height: 1080 } });
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Performance.enable');
  await page.goto(server.url);
  await page.waitForFunction(() => performance.getEntriesByName('servo-ready').length > 0);
  const paint = await page.evaluate(() => ({
    firstPaint: performance.getEntriesByName('first-contentful-paint')[0]?.startTime,
    ready: performance.getEntriesByName('servo-ready')[0].startTime,
  }));
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => performance.getEntriesByName('servo-first-frame').length > 0);
  const firstFrame = await page.evaluate(() => performance.getEntriesByName('servo-first-frame')[0].startTime);

  // The x,y scheme hunting around a target level with the shoulder.
  await page.getByRole('checkbox', { name: 'Forward Kin.(x,y)' }).click();
  const box = await page.locator('#surface').boundingBox();
  await page.mouse.click(box.x + (420 - 120) / 330 * box.width, box.y + 70 / 130 * box.height);
  await afterCycles(page, 60);
  const metric = async () => {
    const { metrics } = await cdp.send('Performance.getMetrics');
    return Object.fromEntries(metrics.map((m) => [m.name, m.value]));
  };
  const seconds = 10;
  const before = await metric();
  await page.waitForTimeout(seconds * 1000);
  const after = await metric();
  const busy = (after.TaskDuration - before.TaskDuration) / (after.Timestamp - before.Timestamp);

  const files = filesUnder(site);
  const raw = files.reduce((sum, file) => sum + statSync(file).size, 0);
  const gzipped = files.reduce((sum, file) => sum + gzipSync(readFileSync(file), { level: 9 }).length, 0);

  console.log('| measurement | figure |');
  console.log('|---|---|');
  console.log(`| first paint after navigation (local server) | ${paint.firstPaint.toFixed(0)} ms |`);
  console.log(`| page ready: module loaded, window and notice drawn | ${paint.ready.toFixed(0)} ms |`);
  console.log(`| first simulation frame drawn, the notice dismissed at once | ${firstFrame.toFixed(0)} ms |`);
  console.log(`| main thread busy while the x,y scheme hunts, 1920x1080 | ${(100 * busy).toFixed(1)} % of one core |`);
  console.log(`| site, ${files.length} files | ${(raw / 1024).toFixed(0)} KB, ${(gzipped / 1024).toFixed(0)} KB gzipped |`);
  await context.close();
} finally {
  await browser.close();
  server.stop();
}
