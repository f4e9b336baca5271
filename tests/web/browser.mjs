// Shared by the page's tests and measurements: the site served on a free loopback port and
// Debian's Chromium driven by playwright-core (no browser download).
import { spawn } from 'node:child_process';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

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

export function launchChromium() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// A page of the simulator with its start-up notice dismissed and the first frames drawn.
export async function openSimulator(browser, url, options = {}) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 }, ...options });
  const page = await context.newPage();
  page.on('pageerror', (error) => console.log('page error:', error.message));
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById('notice').open);
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => window.servoPage && window.servoPage.running);
  await waitForCycles(page, 2);
  return { context, page };
}

export function snapshot(page) {
  return page.evaluate(() => JSON.parse(window.servoPage.front.snapshot()));
}

// Waits until the simulation has run `count` running cycles since start-up or the last reset,
// however slowly the machine draws its frames.
export async function waitForCycles(page, count) {
  await page.waitForFunction((n) => JSON.parse(window.servoPage.front.snapshot()).cycles >= n,
    count, { polling: 'raf' });
}

// Waits for `count` more running cycles; resolves to the state then.
export async function afterCycles(page, count) {
  await waitForCycles(page, (await snapshot(page)).cycles + count);
  return snapshot(page);
}

// Presses `keys` and resolves to the state as the key left it: read by a listener that runs
// right after the page's own, in the same task, before any animation frame can run a cycle.
export async function pressAndSnapshot(page, keys) {
  await page.evaluate(() => {
    const modifiers = ['Control', 'Shift', 'Alt', 'Meta'];
    const listener = (event) => {
      if (!modifiers.includes(event.key)) {
        window.servoKeySnapshot = window.servoPage.front.snapshot();
        window.removeEventListener('keydown', listener);
      }
    };
    window.addEventListener('keydown', listener);
  });
  await page.keyboard.press(keys);
  return page.evaluate(() => JSON.parse(window.servoKeySnapshot));
}
