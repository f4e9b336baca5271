// Measures the browser edition in headless Chromium: the time to the first paint and to the
// page being ready (module loaded, notice up), the main thread's busy share while the x,y
// scheme hunts at 1920x1080 with the lab closed and open, the steps and frames per second of
// page time with the lab open and every cue on, at full speed and with the CPU slowed 6 times,
// the same with the dynamics mode on, and the site's size gzipped. Prints a Markdown table.
import { readdirSync, readFileSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { afterCycles, huntXY, serveSite, site } from './browser.mjs';
import { chromiumTab } from './engines.mjs';

function filesUnder(folder) {
  return readdirSync(folder).flatMap((name) => {
    const path = join(folder, name);
    return statSync(path).isDirectory() ? filesUnder(path) : [path];
  });
}

// Steps and frames per second of page time over `seconds`, counted in the page itself.
function paceOver(tab, seconds) {
  return tab.evaluate((ms) => new Promise((done) => {
    const steps = () => JSON.parse(window.servoPage.front.describe('snapshot')).steps;
    const start = performance.now();
    const first = steps();
    let frames = 0;
    const count = (now) => {
      frames += 1;
      if (now - start < ms) {
        requestAnimationFrame(count);
      } else {
        const elapsed = (performance.now() - start) / 1000;
        done({ steps: (steps() - first) / elapsed, frames: frames / elapsed });
      }
    };
    requestAnimationFrame(count);
  }), seconds * 1000);
}

const server = await serveSite();
const { runtime, tab, page, cdp } = await chromiumTab(server.url);
try {
  const paint = await page.evaluate(() => ({
    firstPaint: performance.getEntriesByName('first-contentful-paint')[0]?.startTime,
    ready: performance.getEntriesByName('servo-ready')[0].startTime,
  }));
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => performance.getEntriesByName('servo-first-frame').length > 0);
  const firstFrame = await page.evaluate(() => performance.getEntriesByName('servo-first-frame')[0].startTime);

  await huntXY(tab);
  await afterCycles(tab, 60);
  const metric = async () => {
    const { metrics } = await cdp.send('Performance.getMetrics');
    return Object.fromEntries(metrics.map((m) => [m.name, m.value]));
  };
  const busyOver = async (seconds) => {
    const before = await metric();
    await new Promise((done) => setTimeout(done, seconds * 1000));
    const after = await metric();
    return (after.TaskDuration - before.TaskDuration) / (after.Timestamp - before.Timestamp);
  };
  const busy = await busyOver(10);
  // The lab open with every cue on.
  for (const keys of ['Control+l', 'Control+1', 'Control+2', 'Control+3', 'Control+4', 'Control+5', 'Control+6']) {
    await tab.press(keys);
  }
  await afterCycles(tab, 60);
  const busyLab = await busyOver(10);
  const paced = await paceOver(tab, 5);
  // A low-end school laptop: the CPU slowed 6 times.
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 6 });
  await afterCycles(tab, 30);
  const slow = await paceOver(tab, 10);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  // The dynamics mode: the motors drive the hunting arm, the torque bars on.
  await tab.press('F7');
  await afterCycles(tab, 60);
  const busyDynamics = await busyOver(10);
  const pacedDynamics = await paceOver(tab, 5);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 6 });
  await afterCycles(tab, 30);
  const slowDynamics = await paceOver(tab, 10);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });

  const files = filesUnder(site);
  const raw = files.reduce((sum, file) => sum + statSync(file).size, 0);
  const gzipped = files.reduce((sum, file) => sum + gzipSync(readFileSync(file), { level: 9 }).length, 0);

  console.log('| measurement | figure |');
  console.log('|---|---|');
  console.log(`| first paint after navigation (local server) | ${paint.firstPaint === undefined ? 'not reported' : `${paint.firstPaint.toFixed(0)} ms`} |`);
  console.log(`| page ready: module loaded, window and notice drawn | ${paint.ready.toFixed(0)} ms |`);
  console.log(`| first simulation frame drawn, the notice dismissed at once | ${firstFrame.toFixed(0)} ms |`);
  console.log(`| main thread busy while the x,y scheme hunts, 1920x1080 | ${(100 * busy).toFixed(1)} % of one core |`);
  console.log(`| same, lab open with every cue on | ${(100 * busyLab).toFixed(1)} % of one core |`);
  console.log(`| steps and frames per second, lab open, every cue | ${paced.steps.toFixed(1)} steps, ${paced.frames.toFixed(1)} frames |`);
  console.log(`| same with the CPU slowed 6 times | ${slow.steps.toFixed(1)} steps, ${slow.frames.toFixed(1)} frames |`);
  console.log(`| main thread busy, lab open, every cue on, dynamics mode | ${(100 * busyDynamics).toFixed(1)} % of one core |`);
  console.log(`| steps and frames per second, the same | ${pacedDynamics.steps.toFixed(1)} steps, ${pacedDynamics.frames.toFixed(1)} frames |`);
  console.log(`| same with the CPU slowed 6 times | ${slowDynamics.steps.toFixed(1)} steps, ${slowDynamics.frames.toFixed(1)} frames |`);
  console.log(`| site, ${files.length} files | ${(raw / 1024).toFixed(0)} KB, ${(gzipped / 1024).toFixed(0)} KB gzipped |`);
  await tab.close();
} finally {
  await runtime.close();
  server.stop();
}
