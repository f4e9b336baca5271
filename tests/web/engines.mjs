// The browsers the page's tests run in, behind one small interface so that every test body is
// the same in each: Debian's Chromium driven by playwright-core, Debian's Firefox ESR driven by
// puppeteer-core over WebDriver BiDi, and WebKitGTK's MiniBrowser driven over classic WebDriver
// (it needs an X display). None downloads a browser of its own. An engine's `supports` says
// which of the network and pixel-ratio controls it has; tests that need one skip without it.
import { spawn } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
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

  onPageError(report) {
    this.page.on('pageerror', report);
  }

  // Runs `fn` in every document the tab loads, before the page's own scripts.
  addInitScript(fn) {
    return this.engine === 'chromium' ? this.page.addInitScript(fn) : this.page.evaluateOnNewDocument(fn);
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

  // The mouse wheel turned by `deltaY` CSS pixels with the pointer at a point of the viewport.
  async wheel(x, y, deltaY) {
    await this.mouse.move(x, y);
    await (this.engine === 'chromium' ? this.mouse.wheel(0, deltaY) : this.mouse.wheel({ deltaY }));
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
    supports: { network: true, pixelRatio: true },
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
    supports: { network: true, pixelRatio: true },
    async launch() {
      const browser = await puppeteer.launch({
        browser: 'firefox',
        executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
        headless: true,
        // Downloads (the page's exports) go quietly to a scratch folder, with no panel that
        // would take the foreground from the next tab.
        extraPrefsFirefox: {
          'browser.download.folderList': 2,
          'browser.download.dir': mkdtempSync(join(tmpdir(), 'servo-downloads-')),
          'browser.download.useDownloadDir': true,
          'browser.download.alwaysOpenPanel': false,
          'browser.download.panel.shown': true,
          'browser.download.always_ask_before_handling_new_types': false,
        },
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

// WebDriver's codes of the keys the tests press.
const WebDriverKeys = {
  Enter: '\uE007', Escape: '\uE00C', Control: '\uE009', Alt: '\uE00A', Shift: '\uE008',
  ArrowUp: '\uE013', ArrowDown: '\uE015', ArrowLeft: '\uE012', ArrowRight: '\uE014', Home: '\uE011',
  Tab: '\uE004', F1: '\uE031', F3: '\uE033', F4: '\uE034', F5: '\uE035', F6: '\uE036', F8: '\uE038',
};

// A request to WebKitWebDriver. Node's fetch keeps connections alive, and the driver may have
// closed one just as a request goes out on it ("fetch failed", the request never arrived); such
// a request is sent again on a new connection.
async function driverFetch(url, options) {
  for (let tries = 0; ; tries++) {
    try {
      return await fetch(url, options);
    } catch (error) {
      if (tries >= 3 || !(error instanceof TypeError)) {
        throw error;
      }
      await new Promise((done) => setTimeout(done, 100));
    }
  }
}

// A tab of WebKitGTK's MiniBrowser: one WebDriver session of its own.
class WebDriverTab {
  constructor(base, session) {
    this.base = base;
    this.session = session;
    this.engine = 'webkit';
    const pointer = (type) => (actions) => this.actions([{ type: 'pointer', id: type, parameters: { pointerType: type }, actions }]);
    const mouse = pointer('mouse');
    this.mouse = {
      move: (x, y, { steps = 1 } = {}) => mouse([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y), duration: 16 * steps }]),
      down: () => mouse([{ type: 'pointerDown', button: 0 }]),
      up: () => mouse([{ type: 'pointerUp', button: 0 }]),
    };
    this.finger = pointer('touch');
  }

  async call(method, path, body) {
    const response = await driverFetch(`${this.base}/session/${this.session}${path}`, {
      method, headers: { 'content-type': 'application/json' }, body: body === undefined ? undefined : JSON.stringify(body),
    });
    const { value } = await response.json();
    if (value && value.error) {
      throw new Error(`${value.error}: ${value.message}`);
    }
    return value;
  }

  actions(actions) {
    return this.call('POST', '/actions', { actions });
  }

  onPageError() {}

  evaluate(fn, arg) {
    return this.call('POST', '/execute/sync', { script: `return (${fn})(arguments[0]);`, args: [arg ?? null] });
  }

  async waitFor(fn, arg) {
    const met = await this.call('POST', '/execute/sync', {
      script: `const test = ${fn}; const arg = arguments[0];
        return new Promise((done) => {
          const start = performance.now();
          const check = () => {
            let ok = false;
            try { ok = Boolean(test(arg)); } catch { ok = false; }
            if (ok || performance.now() - start > 30000) { done(ok); } else { requestAnimationFrame(check); }
          };
          check();
        });`,
      args: [arg ?? null],
    });
    if (!met) {
      throw new Error(`waitFor: timed out on ${fn}`);
    }
  }

  press(keys) {
    const parts = keys.split('+');
    const code = (name) => WebDriverKeys[name] ?? name;
    const modifiers = parts.slice(0, -1).map(code);
    const key = code(parts[parts.length - 1]);
    return this.actions([{
      type: 'key', id: 'keyboard', actions: [
        ...modifiers.map((value) => ({ type: 'keyDown', value })),
        { type: 'keyDown', value: key }, { type: 'keyUp', value: key },
        ...modifiers.reverse().map((value) => ({ type: 'keyUp', value })),
      ],
    }]);
  }

  async click(selector) {
    const element = await this.call('POST', '/element', { using: 'css selector', value: selector });
    await this.call('POST', `/element/${Object.values(element)[0]}/click`, {});
  }

  box(selector) {
    return this.evaluate((which) => {
      const r = document.querySelector(which).getBoundingClientRect();
      return { x: r.x, y: r.y, width: r.width, height: r.height };
    }, selector);
  }

  touch(phase, x, y) {
    if (phase === 'start') {
      return this.finger([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y) }, { type: 'pointerDown', button: 0 }]);
    }
    if (phase === 'move') {
      return this.finger([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y), duration: 16 }]);
    }
    return this.finger([{ type: 'pointerUp', button: 0 }]);
  }

  title() {
    return this.call('GET', '/title');
  }

  goto(url) {
    return this.call('POST', '/url', { url });
  }

  reload() {
    return this.call('POST', '/refresh', {});
  }

  close() {
    return this.call('DELETE', '');
  }
}

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = createServer();
    probe.once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

function webkitEngine() {
  return {
    name: 'webkit',
    supports: { network: false, pixelRatio: false },
    async launch() {
      const port = await freePort();
      const driver = spawn(process.env.WEBKIT_DRIVER || 'WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore' });
      const base = `http://127.0.0.1:${port}`;
      for (let tries = 0; ; tries++) {
        try {
          await fetch(`${base}/status`);
          break;
        } catch (error) {
          if (tries > 100) {
            throw error;
          }
          await new Promise((done) => setTimeout(done, 50));
        }
      }
      return {
        async newTab({ width = 1280, height = 800 } = {}) {
          const response = await driverFetch(`${base}/session`, {
            method: 'POST',
            headers: { 'content-type': 'application/json' },
            body: JSON.stringify({ capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': {
              binary: process.env.WEBKIT_BROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
              args: ['--automation'],
            } } } }),
          });
          const { value } = await response.json();
          if (!value.sessionId) {
            throw new Error(`WebKitWebDriver: ${value.message}`);
          }
          const tab = new WebDriverTab(base, value.sessionId);
          try {
            await tab.call('POST', '/timeouts', { script: 60000 });
            await tab.call('POST', '/window/rect', { width, height });
          } catch (error) {
            await tab.close().catch(() => {});
            throw error;
          }
          return tab;
        },
        close: async () => driver.kill(),
      };
    },
  };
}

// A launched engine that remembers its open tabs, so that `closeTabs()` after each test closes
// whatever a test left open, however it ended: a WebDriver session left open counts against
// the driver's limit of sessions, and every test after it would fail to get one.
function closingTabs(runtime) {
  const open = new Set();
  return {
    ...runtime,
    async newTab(options) {
      const tab = await runtime.newTab(options);
      open.add(tab);
      const close = tab.close.bind(tab);
      tab.close = () => {
        open.delete(tab);
        return close();
      };
      return tab;
    },
    async closeTabs() {
      await Promise.allSettled([...open].map((tab) => tab.close()));
    },
  };
}

// The engines named in SERVO_ENGINES (comma-separated), or all of them; WebKit only where there
// is an X display for it.
export function engines() {
  const all = [chromiumEngine(), firefoxEngine(), ...(process.env.DISPLAY ? [webkitEngine()] : [])]
    .map((engine) => ({ ...engine, launch: async () => closingTabs(await engine.launch()) }));
  const wanted = (process.env.SERVO_ENGINES || '').split(',').filter(Boolean);
  return wanted.length ? all.filter((engine) => wanted.includes(engine.name)) : all;
}

// Chromium for the measurements (whatever SERVO_ENGINES says): one tab of the given size, the
// site opened in it up to its notice, and a DevTools session on it.
export async function chromiumTab(url, { width = 1920, height = 1080 } = {}) {
  const runtime = await chromiumEngine().launch();
  const tab = await runtime.newTab({ width, height });
  const cdp = await tab.context.newCDPSession(tab.page);
  await cdp.send('Performance.enable');
  await tab.page.goto(url);
  await tab.page.waitForFunction(() => performance.getEntriesByName('servo-ready').length > 0);
  return { runtime, tab, page: tab.page, cdp };
}
