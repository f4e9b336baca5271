// Shared by the page's tests and measurements: the site served on a free loopback port, and the
// helpers every test body uses in every engine.
import { spawn } from 'node:child_process';
import { after, afterEach, before, describe } from 'node:test';
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { engines } from './engines.mjs';

const here = dirname(fileURLToPath(import.meta.url));
export const root = join(here, '..', '..');
export const site = join(root, 'build-web', 'site');

// Starts the static server; resolves to { url, stop }.
export function serveSite() {
  return new Promise((resolve, reject) => {
    const server = spawn(process.execPath, [join(root, 'tools', 'serve-web', 'serve.mjs'), site, '0'],
      { stdio: ['ignore', 'pipe', 'inherit'] });
    server.once('error', reject);
    server.stdout.setEncoding('utf8');
    server.stdout.on('data', (text) => {
      const match = /serving (\S+)/.exec(text);
      if (match) {
        resolve({ url: match[1], stop: () => server.kill() });
      }
    });
  });
}

// One describe block per engine (engines.mjs) around `body(suite)`: the site served and the
// engine launched once for the block (suite.server, suite.runtime; suite.engine), and every tab
// a test left open, having failed half way, closed after it.
export function eachEngine(body) {
  for (const engine of engines()) {
    describe(engine.name, () => {
      const suite = { engine, server: null, runtime: null };
      before(async () => {
        suite.server = await serveSite();
        suite.runtime = await engine.launch();
      });
      afterEach(async () => {
        await suite.runtime?.closeTabs();
      });
      after(async () => {
        await suite.runtime?.close();
        suite.server?.stop();
      });
      body(suite);
    });
  }
}

// A tab of the simulator (see engines.mjs) with its start-up notice dismissed and the first
// cycles run; `initScript` runs before the page's own scripts.
export async function openSimulator(runtime, url, { initScript, ...options } = {}) {
  const tab = await runtime.newTab(options);
  tab.onPageError((error) => console.log('page error:', error.message));
  if (initScript) {
    await tab.addInitScript(initScript);
  }
  await tab.goto(url);
  await tab.waitFor(() => document.getElementById('notice').open);
  await tab.press('Enter');
  await tab.waitFor(() => window.servoPage && window.servoPage.running);
  await waitForCycles(tab, 2);
  return tab;
}

export function snapshot(tab) {
  return tab.evaluate(() => JSON.parse(window.servoPage.front.describe('snapshot')));
}

// Waits until the simulation has run `count` running cycles since start-up or the last reset,
// however slowly the machine draws its frames.
export async function waitForCycles(tab, count) {
  await tab.waitFor((n) => JSON.parse(window.servoPage.front.describe('snapshot')).cycles >= n, count);
}

// Waits for `count` more running cycles; resolves to the state then.
export async function afterCycles(tab, count) {
  const steps = (await snapshot(tab)).steps + count;
  await tab.waitFor((n) => JSON.parse(window.servoPage.front.describe('snapshot')).steps >= n, steps);
  return snapshot(tab);
}

// Presses `keys` and resolves to the state as the key left it: read by a listener that runs
// right after the page's own, in the same task, before any animation frame can run a cycle.
export async function pressAndSnapshot(tab, keys) {
  await tab.evaluate(() => {
    const modifiers = ['Control', 'Shift', 'Alt', 'Meta'];
    const listener = (event) => {
      if (!modifiers.includes(event.key)) {
        window.servoKeySnapshot = window.servoPage.front.describe('snapshot');
        window.removeEventListener('keydown', listener);
      }
    };
    window.addEventListener('keydown', listener);
  });
  await tab.press(keys);
  return tab.evaluate(() => JSON.parse(window.servoKeySnapshot));
}

// The WCAG 2.0, 2.1 and 2.2 A and AA rules of axe-core that the page breaks now: a list of
// { id, targets } (the selectors of the elements at fault).
const axeSource = readFileSync(join(here, 'node_modules', 'axe-core', 'axe.min.js'), 'utf8');
export async function accessibilityViolations(tab) {
  await tab.evaluate((source) => {
    if (!window.axe) {
      (0, eval)(source);
    }
  }, axeSource);
  return tab.evaluate(async () => {
    const tags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22a', 'wcag22aa'];
    const result = await window.axe.run(document, { runOnly: { type: 'tag', values: tags } });
    return result.violations.map((v) => ({ id: v.id, targets: v.nodes.map((n) => n.target.join(' ')) }));
  });
}

// The x,y scheme hunting around a target level with the shoulder, as the measurements watch it.
export async function huntXY(tab) {
  await tab.click('#Check2');
  const box = await tab.box('#surface');
  await tab.page.mouse.click(box.x + (420 - 120) / 330 * box.width, box.y + 70 / 130 * box.height);
}
