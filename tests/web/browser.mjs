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
  await frames(page, 5);
  return { context, page };
}

// Waits for `count` animation frames of the page.
export function frames(page, count) {
  return page.evaluate((n) => new Promise((done) => {
    const next = (left) => (left === 0 ? done() : requestAnimationFrame(() => next(left - 1)));
    next(n);
  }), count);
}

export function snapshot(page) {
  return page.evaluate(() => JSON.parse(window.servoPage.front.snapshot()));
}
