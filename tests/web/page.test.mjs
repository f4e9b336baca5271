// The browser edition in Chromium: the notice, the settled pose, pointer and touch input, the
// schemes and their read-outs, the menus and keys, the lab, a pixel ratio of 2, a failed load
// and a reload with the network off.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { join } from 'node:path';
import {
  afterCycles, launchChromium, openSimulator, pressAndSnapshot, root, serveSite, snapshot, waitForCycles,
} from './browser.mjs';

let server;
let browser;
before(async () => {
  server = await serveSite();
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  server?.stop();
});

// The canvas pixel (device pixels) of a point in window user units.
async function canvasPixel(page, x, y) {
  return page.evaluate(([ux, uy]) => {
    const canvas = document.getElementById('surface');
    return [Math.round((ux - 120) / 330 * canvas.width), Math.round(uy / 130 * canvas.height)];
  }, [x, y]);
}

// How many pixels of the picture within `radius` device pixels of (px, py) match `test`.
async function countPixels(page, px, py, radius, test) {
  return page.evaluate(([cx, cy, r, source]) => {
    const match = new Function('r', 'g', 'b', `return ${source};`);
    const context = document.getElementById('surface').getContext('2d');
    const data = context.getImageData(cx - r, cy - r, 2 * r + 1, 2 * r + 1).data;
    let count = 0;
    for (let i = 0; i < data.length; i += 4) {
      count += match(data[i], data[i + 1], data[i + 2]) ? 1 : 0;
    }
    return count;
  }, [px, py, radius, test]);
}

const Dark = 'r < 80 && g < 80 && b < 80';

test('the simulation waits behind the notice, and Enter dismisses it', async () => {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(server.url);
  await page.waitForFunction(() => document.getElementById('notice').open);
  await page.waitForTimeout(300);
  const waiting = await snapshot(page);
  assert.equal(waiting.cycles, 0);
  assert.equal(waiting.servoType, 0);
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => !document.getElementById('notice').open);
  await waitForCycles(page, 9);
  const started = await snapshot(page);
  assert.equal(started.servoType, 1);
  assert.ok(started.cycles >= 9);
  assert.equal(await page.title(), 'Servo Simulator-Demonstrate by choosing a target with the mouse');
  await context.close();
});

test('the arm settles where forward kinematics puts its joints, markers and all', async () => {
  const { context, page } = await openSimulator(browser, server.url);
  await waitForCycles(page, 150); // a fifth of the way each step: settled to the last digit
  // The settled angles as the trace driver works them out, from the same core.
  const trace = execFileSync(process.execPath, [join(root, 'build-web', 'servo-trace.js')],
    { input: 'cycles 300\nstate\n' }).toString();
  const angle = (name) => Number(new RegExp(`${name}=(\\S+)`).exec(trace)[1]);
  const a1 = angle('shoulderAngle');
  const a12 = a1 + angle('elbowAngle');
  const joints = [[0, 0], [-35 * Math.sin(a1), 35 * Math.cos(a1)],
    [-35 * Math.sin(a1) - 35 * Math.sin(a12), 35 * Math.cos(a1) + 35 * Math.cos(a12)]];
  const state = await snapshot(page);
  assert.ok(Math.abs(state.shoulderAngle - a1) < 1e-9);
  for (const [x, y] of joints) {
    const [px, py] = await canvasPixel(page, 300 + 2 * x, 70 - y);
    assert.ok(await countPixels(page, px, py, 6, Dark) >= 8, `no joint marker at ${x}, ${y}`);
  }
  await context.close();
});

test('a press picks the target, a drag moves it, and the arm follows', async () => {
  const { context, page } = await openSimulator(browser, server.url);
  const box = await page.locator('#surface').boundingBox();
  const at = (x, y) => [box.x + (x - 120) / 330 * box.width, box.y + y / 130 * box.height];
  await page.mouse.move(...at(380, 40));
  await page.mouse.down();
  let state = await snapshot(page);
  assert.ok(Math.abs(state.targetX - 380) < 0.5 && Math.abs(state.targetY - 40) < 0.5);
  assert.equal(state.pointerHeld, 1);
  await page.mouse.move(...at(330, 90), { steps: 5 });
  await page.mouse.up();
  state = await snapshot(page);
  assert.ok(Math.abs(state.targetX - 330) < 0.5 && Math.abs(state.targetY - 90) < 0.5);
  assert.equal(state.pointerHeld, 0);
  await afterCycles(page, 40);
  const sample = execFileSync(process.execPath, [join(root, 'build-web', 'servo-trace.js')],
    { input: `press ${state.targetX} ${state.targetY}\ncycles 80\nsample\n` }).toString();
  assert.match(sample, /reach=1/);
  await context.close();
});

test('a finger drags the target as the mouse does', async () => {
  const { context, page } = await openSimulator(browser, server.url, { hasTouch: true });
  const box = await page.locator('#surface').boundingBox();
  const cdp = await context.newCDPSession(page);
  const point = (x, y) => [{ x: box.x + (x - 120) / 330 * box.width, y: box.y + y / 130 * box.height }];
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: point(400, 50) });
  for (const x of [390, 370, 350]) {
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: point(x, 60) });
  }
  let state = await snapshot(page);
  assert.ok(Math.abs(state.targetX - 350) < 0.5 && Math.abs(state.targetY - 60) < 0.5);
  assert.equal(state.pointerHeld, 1);
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  state = await snapshot(page);
  assert.equal(state.pointerHeld, 0);
  await context.close();
});

test('each scheme: its box, its explanation and its read-outs', async () => {
  const { context, page } = await openSimulator(browser, server.url);
  const cases = [
    ['Forward Kin.(x,y)', 2, /^One of the oldest/, /^X ERROR=/],
    ['Forward Kin.(R,ang.)', 3, /R,theta|radius/i, /^RADIUS ERROR=/],
    ['Reverse Kinematic', 1, /^As a rule this is the sturdiest/, null],
  ];
  for (const [caption, type, text, readout] of cases) {
    await page.getByRole('checkbox', { name: caption }).click();
    await afterCycles(page, 2);
    assert.equal((await snapshot(page)).servoType, type);
    assert.ok(await page.getByRole('checkbox', { name: caption }).isChecked());
    assert.match(await page.locator('#Text1').inputValue(), text);
    const printed = await page.evaluate(() => window.servoPage.printed);
    if (readout) {
      assert.ok(printed.some((line) => readout.test(line)), printed.join(' | '));
    } else {
      assert.deepEqual(printed, []);
    }
    assert.equal(await page.getByRole('checkbox', { name: 'Elbow Down' }).isVisible(), type === 1);
  }
  await context.close();
});

test('menus and keys: Panic/Stop, Run, Grid and About', async () => {
  const { context, page } = await openSimulator(browser, server.url);
  assert.equal((await pressAndSnapshot(page, 'Escape')).runState, 3);
  assert.equal((await pressAndSnapshot(page, 'F5')).runState, 2);
  await page.getByRole('menuitem', { name: 'Panic/Stop' }).click();
  assert.equal((await snapshot(page)).runState, 3);
  await page.getByRole('menuitem', { name: 'Run' }).click();
  assert.equal((await pressAndSnapshot(page, 'Control+g')).gridOn, 1);
  await afterCycles(page, 2);
  const [gx, gy] = await canvasPixel(page, 250, 45);
  assert.ok(await countPixels(page, gx, gy, 8, 'r === 150 && g === 175 && b === 200') > 0);
  await page.keyboard.press('F1');
  assert.ok(await page.locator('#about').evaluate((dialog) => dialog.open));
  const before = (await snapshot(page)).cycles;
  await page.waitForTimeout(200);
  assert.equal((await snapshot(page)).cycles, before); // the simulation stands still
  await page.keyboard.press('Enter');
  assert.ok(!(await page.locator('#about').evaluate((dialog) => dialog.open)));
  assert.equal((await pressAndSnapshot(page, 'Alt+s')).runState, 3);
  await context.close();
});

test('the lab: panel, gain, step and reset by key', async () => {
  const { context, page } = await openSimulator(browser, server.url);
  await page.keyboard.press('Control+l');
  assert.ok(await page.locator('#lab').isVisible());
  await page.keyboard.press('Control+ArrowUp');
  assert.ok(Math.abs((await pressAndSnapshot(page, 'Control+ArrowUp')).gain - 1.2) < 1e-9);
  const stopped = await pressAndSnapshot(page, 'Escape');
  assert.equal(stopped.runState, 3);
  await page.keyboard.press('F6');
  await waitForCycles(page, stopped.cycles + 1);
  const stepped = await snapshot(page);
  assert.equal(stepped.cycles, stopped.cycles + 1);
  assert.equal(stepped.runState, 3);
  const reset = await pressAndSnapshot(page, 'Control+r');
  assert.equal(reset.gain, 1);
  assert.equal(reset.runState, 2);
  assert.equal(reset.cycles, 0);
  await context.close();
});

test('at a device pixel ratio of 2 the picture has twice the pixels', async () => {
  const { context, page } = await openSimulator(browser, server.url, { deviceScaleFactor: 2 });
  const size = await page.evaluate(() => {
    const canvas = document.getElementById('surface');
    return [canvas.width, canvas.height, canvas.clientWidth, canvas.clientHeight];
  });
  assert.equal(size[0], size[2] * 2);
  assert.equal(size[1], size[3] * 2);
  await waitForCycles(page, 40);
  const [px, py] = await canvasPixel(page, 300, 70);
  assert.ok(await countPixels(page, px, py, 12, Dark) >= 16);
  await context.close();
});

test('a module that cannot be loaded gives a message and a reload button', async () => {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.route('**/servo-web.wasm', (route) => route.abort());
  await page.goto(server.url);
  await page.locator('#problem').waitFor({ state: 'visible' });
  assert.match(await page.locator('#problem-text').textContent(), /could not/);
  assert.ok(await page.getByRole('button', { name: 'Reload' }).isVisible());
  await context.close();
});

test('a crash of the module stops the page with a message and a reload button', async () => {
  const { context, page } = await openSimulator(browser, server.url);
  await page.evaluate(() => {
    window.servoPage.front.frame = () => { throw new Error('unreachable executed'); };
  });
  await page.locator('#problem').waitFor({ state: 'visible' });
  assert.match(await page.locator('#problem-text').textContent(), /internal error/);
  assert.equal(await page.evaluate(() => window.servoPage.running), false);
  await context.close();
});

test('after one visit the page works with the network off', async () => {
  const { context, page } = await openSimulator(browser, server.url);
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) {
      await new Promise((done) => navigator.serviceWorker.addEventListener('controllerchange', done));
    }
  });
  await context.setOffline(true);
  await page.reload();
  await page.waitForFunction(() => document.getElementById('notice').open);
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => window.servoPage && window.servoPage.running);
  await waitForCycles(page, 25);
  assert.ok(await page.locator('#problem').isHidden());
  const manifest = await page.evaluate(async () => (await fetch('manifest.webmanifest')).json());
  assert.equal(manifest.display, 'standalone');
  await context.close();
});
