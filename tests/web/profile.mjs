// Profiles the page in headless Chromium while the x,y scheme hunts at 1920x1080, with the lab
// open and every cue on (or with the lab closed: `--lab-closed`), for `--seconds` (5) seconds:
// prints the functions that cost the most time of their own and, with `--save FILE`, writes the
// whole profile (open it in Chromium's DevTools, Performance panel).
import { writeFileSync } from 'node:fs';
import { parseArgs } from 'node:util';
import { afterCycles, huntXY, serveSite } from './browser.mjs';
import { chromiumTab } from './engines.mjs';

const { values: options } = parseArgs({
  options: {
    seconds: { type: 'string', default: '5' },
    'lab-closed': { type: 'boolean', default: false },
    save: { type: 'string' },
    top: { type: 'string', default: '25' },
  },
});

// Self time per function (name, file, line) over a profile, in milliseconds, largest first.
function selfTimes(profile) {
  const nodes = new Map(profile.nodes.map((node) => [node.id, node]));
  const self = new Map();
  for (let i = 0; i < profile.samples.length; i++) {
    const node = nodes.get(profile.samples[i]);
    const frame = node.callFrame;
    const file = frame.url.split('/').pop();
    const key = `${frame.functionName || '(anonymous)'} ${file}${file ? `:${frame.lineNumber + 1}` : ''}`;
    self.set(key, (self.get(key) ?? 0) + profile.timeDeltas[i] / 1000);
  }
  return [...self].sort((a, b) => b[1] - a[1]);
}

const server = await serveSite();
const { runtime, tab, page, cdp } = await chromiumTab(server.url);
try {
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => window.servoPage && window.servoPage.running);
  await huntXY(tab);
  if (!options['lab-closed']) {
    for (const keys of ['Control+l', 'Control+1', 'Control+2', 'Control+3', 'Control+4']) {
      await tab.press(keys);
    }
  }
  await afterCycles(tab, 60);
  await cdp.send('Profiler.enable');
  await cdp.send('Profiler.setSamplingInterval', { interval: 100 });
  await cdp.send('Profiler.start');
  await new Promise((done) => setTimeout(done, Number(options.seconds) * 1000));
  const { profile } = await cdp.send('Profiler.stop');
  if (options.save) {
    writeFileSync(options.save, JSON.stringify(profile));
  }
  console.log(`| function (self time over ${options.seconds} s, lab ${options['lab-closed'] ? 'closed' : 'open, every cue'}) | ms |`);
  console.log('|---|---|');
  for (const [name, ms] of selfTimes(profile).slice(0, Number(options.top))) {
    console.log(`| ${name} | ${ms.toFixed(1)} |`);
  }
  await tab.close();
} finally {
  await runtime.close();
  server.stop();
}
