// The browsers the page's tests run in, behind one small interface so that every test body is
// the same in each: Debian's Chromium driven by playwright-core, and Debian's Firefox ESR driven
// by puppeteer-core over WebDriver BiDi. Neither downloads a browser of its own.
import { chromium } from 'playwright-core';
import puppeteer from 'puppeteer-core';

const ChromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// "Control+Shift+x" as its modifiers and its key.
function splitKeys(keys) {
  const parts = keys.split('+');
  return { modifiers: parts.slice(0, -1), key: parts[parts.length - 1] };
}

// One tab in a fresh browser context (its own storage, cache and service workers).
class Tab {
  constructor(engine, context, page) {
    this.engine = engine;
    this.context = context;
    this.page = page;
    this.mouse = page.mouse;
  }

  evaluate(fn, arg) {
    return this.page.evaluate(fn, arg);
  }

  // Resolves once `fn(arg)` is true in the page, checked every animation frame.
  async waitFor(fn, arg) {
    if (this.engine === 'chromium') {
      await this.page.waitForFunction(fn, arg, { polling: 'raf', timeout: 30000 });
    } else {
      await this.page.waitForFunction(fn, { polling: 'raf', timeout: 30000 }, arg);
    }
  }

  async press(keys) {
    if (this.engine === 'chromium') {
      await this.page.keyboard.press(keys);
      return;
    }
    const { modifiers, key } = splitKeys(keys);
    for (const modifier of modifiers) {
      await this.page.keyboard.down(modifier);
    }
    await this.page.keyboard.press(key);
    for (const modifier of modifiers.reverse()) {
      await this.page.keyboard.up(modifier);
    }
  }

  click(selector) {
    return this.page.click(selector);
  }

  async box(selector) {
    if (this.engine === 'chromium') {
      return this.page.locator(selector).boundingBox();
    }
    const element = await this.page.$(selector);
    return element.boundingBox();
  }

  // A finger: 'start', 'move' or 'end' at a point of the viewport.
  async touch(phase, x, y) {
    if (this.engine === 'chromium') {
      this.cdp ??= await this.context.newCDPSession(this.page);
      const type = { start: 'touchStart', move: 'touchMove', end: 'touchEnd' }[phase];
      await this.cdp.send('Input.dispatchTouchEvent', { type, touchPoints: phase === 'end' ? [] : [{ x, y }] });
    } else if (phase === 'start') {
      this.finger = await this.page.touchscreen.touchStart(x, y);
    } else if (phase === 'move') {
      await this.finger.move(x, y);
    } else {
      await this.finger.end();
    }
  }

  title() {
    return this.page.title();
  }

  goto(url) {
    return this.page.goto(url);
  }

  reload() {
    return this.page.reload();
  }

  // Makes every request for a path ending in `suffix` fail.
  async failRequests(suffix) {
    if (this.engine === 'chromium') {
      await this.page.route(`**/*${suffix}`, (route) => route.abort());
      return;
    }
    await this.page.setRequestInterception(true);
    this.page.on('request', (request) => {
      if (request.url().endsWith(suffix)) {
        request.abort();
      } else {
        request.continue();
      }
    });
  }

  setOffline(offline) {
    return this.engine === 'chromium' ? this.context.setOffline(offline) : this.page.setOfflineMode(offline);
  }

  close() {
    return this.context.close();
  }
}

function chromiumEngine() {
  return {
    name: 'chromium',
    async launch() {
      const browser = await chromium.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: ChromiumFlags,
      });
      return {
        browser,
        async newTab({ width = 1280, height = 800, deviceScaleFactor = 1, hasTouch = false } = {}) {
          const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor, hasTouch });
          return new Tab('chromium', context, await context.newPage());
        },
        close: () => browser.close(),
      };
    },
  };
}

function firefoxEngine() {
  return {
    name: 'firefox',
    async launch() {
      const browser = await puppeteer.launch({
        browser: 'firefox',
        executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
        headless: true,
      });
      return {
        browser,
        async newTab({ width = 1280, height = 800, deviceScaleFactor = 1, hasTouch = false } = {}) {
          const context = await browser.createBrowserContext();
          const page = await context.newPage();
          await page.setViewport({ width, height, deviceScaleFactor, hasTouch });
          return new Tab('firefox', context, page);
        },
        close: () => browser.close(),
      };
    },
  };
}

// The engines named in SERVO_ENGINES (comma-separated), or all of them.
export function engines() {
  const all = [chromiumEngine(), firefoxEngine()];
  const wanted = (process.env.SERVO_ENGINES || '').split(',').filter(Boolean);
  return wanted.length ? all.filter((engine) => wanted.includes(engine.name)) : all;
}
