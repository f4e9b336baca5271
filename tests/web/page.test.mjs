// The browser edition in every engine (engines.mjs): the notice, the settled pose, pointer and
// touch input, the schemes and their read-outs, the menus and keys, the lab, a pixel ratio of 2,
// a failed load, a crash and a reload with the network off. The same bodies run in each.
import { after, afterEach, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { join } from 'node:path';
import { engines } from './engines.mjs';
import {
  accessibilityViolations, afterCycles, openSimulator, pressAndSnapshot, root, serveSite, snapshot, waitForCycles,
} from './browser.mjs';

const Dark = 'r < 80 && g < 80 && b < 80';

// The canvas pixel (device pixels) of a point in window user units.
function canvasPixel(tab, x, y) {
  return tab.evaluate(([ux, uy]) => {
    const canvas = document.getElementById('surface');
    return [Math.round((ux - 120) / 330 * canvas.width), Math.round(uy / 130 * canvas.height)];
  }, [x, y]);
}

// How many pixels of the picture within `radius` device pixels of (px, py) match `test`.
function countPixels(tab, px, py, radius, test) {
  return tab.evaluate(([cx, cy, r, source]) => {
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

// The viewport point of a point in window user units.
async function viewportPoint(tab, x, y) {
  const box = await tab.box('#surface');
  return [box.x + (x - 120) / 330 * box.width, box.y + y / 130 * box.height];
}

const isOpen = (tab, id) => tab.evaluate((which) => document.getElementById(which).open, id);
const isShown = (tab, selector) => tab.evaluate((which) => {
  const element = document.querySelector(which);
  return Boolean(element) && element.getClientRects().length > 0;
}, selector);

function traceOf(script) {
  return execFileSync(process.execPath, [join(root, 'build-web', 'servo-trace.js')], { input: script }).toString();
}

for (const engine of engines()) {
  describe(engine.name, () => {
    let server;
    let runtime;
    before(async () => {
      server = await serveSite();
      runtime = await engine.launch();
    });
    // A test that failed half way has not closed its tab.
    afterEach(async () => {
      await runtime?.closeTabs();
    });
    after(async () => {
      await runtime?.close();
      server?.stop();
    });

    test('the simulation waits behind the notice, and Enter dismisses it', async () => {
      const tab = await runtime.newTab();
      await tab.goto(server.url);
      await tab.waitFor(() => document.getElementById('notice').open);
      assert.match(await tab.evaluate(() => document.getElementById('notice-text').textContent),
        /^Press or drag the mouse on the picture/);
      await new Promise((done) => setTimeout(done, 300));
      const waiting = await snapshot(tab);
      assert.equal(waiting.cycles, 0);
      assert.equal(waiting.servoType, 0);
      await tab.press('Enter');
      await tab.waitFor(() => !document.getElementById('notice').open);
      await waitForCycles(tab, 9);
      assert.equal((await snapshot(tab)).servoType, 1);
      assert.equal(await tab.title(), 'Servo Simulator-Demonstrate by choosing a target with the mouse');
      await tab.close();
    });

    test('the arm settles where forward kinematics puts its joints, markers and all', async () => {
      const tab = await openSimulator(runtime, server.url);
      await waitForCycles(tab, 150); // a fifth of the way each step: settled to the last digit
      // The settled angles as the trace driver works them out, from the same core.
      const trace = traceOf('cycles 300\nstate\n');
      const angle = (name) => Number(new RegExp(`${name}=(\\S+)`).exec(trace)[1]);
      const a1 = angle('shoulderAngle');
      const a12 = a1 + angle('elbowAngle');
      const joints = [[0, 0], [-35 * Math.sin(a1), 35 * Math.cos(a1)],
        [-35 * Math.sin(a1) - 35 * Math.sin(a12), 35 * Math.cos(a1) + 35 * Math.cos(a12)]];
      const state = await snapshot(tab);
      assert.ok(Math.abs(state.shoulderAngle - a1) < 1e-9);
      for (const [x, y] of joints) {
        const [px, py] = await canvasPixel(tab, 300 + 2 * x, 70 - y);
        assert.ok(await countPixels(tab, px, py, 9, Dark) >= 16, `no joint marker at ${x}, ${y}`);
      }
      await tab.close();
    });

    // The places the window's test pins too, in CSS pixels within the column.
    test('the column of controls stands where the window\'s does', async () => {
      const tab = await openSimulator(runtime, server.url);
      const places = await tab.evaluate(() => ['Check1-box', 'Check7-box', 'VScroll1', 'Text2', 'Command4', 'Text1']
        .map((id) => {
          const e = document.getElementById(id);
          return [e.offsetLeft, e.offsetTop, e.offsetWidth, e.offsetHeight];
        }));
      assert.deepEqual(places, [[88, 32, 169, 17], [104, 192, 97, 17], [40, 8, 17, 193], [0, 208, 97, 19],
        [160, 232, 65, 33], [16, 272, 225, 137]]);
      await tab.close();
    });

    test('a press picks the target, a drag moves it, and the arm follows', async () => {
      const tab = await openSimulator(runtime, server.url);
      await tab.mouse.move(...await viewportPoint(tab, 380, 40));
      await tab.mouse.down();
      let state = await snapshot(tab);
      assert.ok(Math.abs(state.targetX - 380) < 0.5 && Math.abs(state.targetY - 40) < 0.5);
      assert.equal(state.pointerHeld, 1);
      await tab.mouse.move(...await viewportPoint(tab, 330, 90), { steps: 5 });
      await tab.mouse.up();
      state = await snapshot(tab);
      assert.ok(Math.abs(state.targetX - 330) < 0.5 && Math.abs(state.targetY - 90) < 0.5);
      assert.equal(state.pointerHeld, 0);
      await afterCycles(tab, 40);
      assert.match(traceOf(`press ${state.targetX} ${state.targetY}\ncycles 80\nsample\n`), /reach=1/);
      await tab.close();
    });

    test('a finger drags the target as the mouse does', async () => {
      const tab = await runtime.newTab({ hasTouch: true });
      await tab.goto(server.url);
      await tab.waitFor(() => document.getElementById('notice').open);
      // The notice speaks of a finger where a finger is the pointer (Chromium's touch emulation
      // makes it so; the other engines keep a fine pointer).
      const [coarse, notice] = await tab.evaluate(() => [matchMedia('(pointer: coarse)').matches,
        document.getElementById('notice-text').textContent]);
      assert.ok(coarse || tab.engine !== 'chromium');
      assert.match(notice, coarse ? /^Press or drag a finger on the picture/ : /^Press or drag the mouse/);
      await tab.press('Enter');
      await tab.waitFor(() => window.servoPage && window.servoPage.running);
      await waitForCycles(tab, 2);
      await tab.touch('start', ...await viewportPoint(tab, 400, 50));
      for (const x of [390, 370, 350]) {
        await tab.touch('move', ...await viewportPoint(tab, x, 60));
      }
      await tab.waitFor(() => JSON.parse(window.servoPage.front.describe('snapshot')).targetX < 350.5);
      let state = await snapshot(tab);
      assert.ok(Math.abs(state.targetX - 350) < 0.5 && Math.abs(state.targetY - 60) < 0.5);
      assert.equal(state.pointerHeld, 1);
      await tab.touch('end');
      await tab.waitFor(() => JSON.parse(window.servoPage.front.describe('snapshot')).pointerHeld === 0);
      await tab.close();
    });

    test('each scheme: its box, its explanation and its read-outs', async () => {
      const tab = await openSimulator(runtime, server.url);
      const cases = [
        [2, /^One of the oldest/, /^X ERROR=/],
        [3, /R,theta|radius/i, /^RADIUS ERROR=/],
        [1, /^As a rule this is the sturdiest/, null],
      ];
      for (const [box, text, readout] of cases) {
        await tab.click(`#Check${box}`);
        await afterCycles(tab, 2);
        assert.equal((await snapshot(tab)).servoType, box);
        const shown = await tab.evaluate((which) => ({
          checked: document.getElementById(`Check${which}`).checked,
          explanation: document.getElementById('Text1').value,
          printed: window.servoPage.printed,
        }), box);
        assert.ok(shown.checked);
        assert.match(shown.explanation, text);
        if (readout) {
          assert.ok(shown.printed.some((line) => readout.test(line)), shown.printed.join(' | '));
        } else {
          assert.deepEqual(shown.printed, []);
        }
        assert.equal(await isShown(tab, '#Check4'), box === 1);
      }
      await tab.close();
    });

    test('menus and keys: Panic/Stop, Run, Grid and About', async () => {
      const tab = await openSimulator(runtime, server.url);
      assert.equal((await pressAndSnapshot(tab, 'Escape')).runState, 3);
      assert.equal((await pressAndSnapshot(tab, 'F5')).runState, 2);
      await tab.click('#menu-st');
      assert.equal((await snapshot(tab)).runState, 3);
      await tab.click('#menu-ru');
      assert.equal((await pressAndSnapshot(tab, 'Control+g')).gridOn, 1);
      await afterCycles(tab, 2);
      const [gx, gy] = await canvasPixel(tab, 250, 45);
      assert.ok(await countPixels(tab, gx, gy, 8, 'r === 150 && g === 175 && b === 200') > 0);
      await tab.press('F1');
      assert.ok(await isOpen(tab, 'about'));
      const before = (await snapshot(tab)).cycles;
      await new Promise((done) => setTimeout(done, 200));
      assert.equal((await snapshot(tab)).cycles, before); // the simulation stands still
      await tab.press('Enter');
      assert.ok(!(await isOpen(tab, 'about')));
      await afterCycles(tab, 1); // and runs again
      assert.equal((await pressAndSnapshot(tab, 'Alt+s')).runState, 3);
      await tab.close();
    });

    test('the lab: panel, gain, step and reset by key', async () => {
      const tab = await openSimulator(runtime, server.url);
      await tab.press('Control+l');
      assert.ok(await isShown(tab, '#lab'));
      await tab.press('Control+ArrowUp');
      assert.ok(Math.abs((await pressAndSnapshot(tab, 'Control+ArrowUp')).gain - 1.2) < 1e-9);
      const stopped = await pressAndSnapshot(tab, 'Escape');
      assert.equal(stopped.runState, 3);
      await tab.press('F6');
      await waitForCycles(tab, stopped.cycles + 1);
      const stepped = await snapshot(tab);
      assert.equal(stepped.cycles, stopped.cycles + 1);
      assert.equal(stepped.runState, 3);
      const reset = await pressAndSnapshot(tab, 'Control+r');
      assert.equal(reset.gain, 1);
      assert.equal(reset.runState, 2);
      assert.equal(reset.cycles, 0);
      await tab.close();
    });

    // Not yet in WebKitGTK's WebDriver session: its key actions did not reach the picture there.
    test('every student: the target by keyboard, the state in words, zoom allowed', async () => {
      const tab = await openSimulator(runtime, server.url);
      await tab.evaluate(() => document.getElementById('Check7').focus());
      await tab.press('Tab');
      assert.equal(await tab.evaluate(() => document.activeElement.id), 'surface');
      const targetIs = (x, y) => tab.waitFor(([tx, ty]) => {
        const s = JSON.parse(window.servoPage.front.describe('snapshot'));
        return s.targetX === tx && s.targetY === ty && s.pointerHeld === 0;
      }, [x, y]);
      await tab.press('ArrowRight');
      await targetIs(355, 50);
      await tab.press('Shift+ArrowUp');
      await targetIs(355, 49);
      await tab.press('Home');
      await targetIs(350, 50);
      const spoken = (pattern) => tab.waitFor((source) =>
        new RegExp(source).test(document.getElementById('announcer').textContent), pattern);
      await spoken('^Target at x 25\\.0, y 20\\.0: reached$');
      // Ten arrow presses, quicker than the announcer speaks: what it says last is new and tells
      // where the target ended.
      for (let press = 0; press < 10; press++) {
        await tab.press('ArrowRight');
      }
      await targetIs(400, 50);
      await spoken('^Target at x 50\\.0, y 20\\.0: reached$');
      const [fx, fy] = await viewportPoint(tab, 446, 6); // arm point (73, 64), too far
      await tab.mouse.move(fx, fy);
      await tab.mouse.down();
      await tab.mouse.up();
      await spoken('^Target at x 7[23]\\.\\d, y 6[34]\\.\\d: out of reach$');
      await tab.press('Escape');
      await spoken('Stopped'); // alone, or after a change of the same frame
      await tab.press('Control+d');
      await spoken('^Reverse Kinematic scheme\\. Shoulder .* Stopped\\. Gripper open\\.');
      assert.match(await tab.evaluate(() => document.getElementById('surface').getAttribute('aria-label')),
        /^Robot arm, Reverse Kinematic scheme, target at x 7[23]\.\d, y 6[34]\.\d, out of reach/);
      assert.equal(await tab.evaluate(() => document.getElementById('announcer').getAttribute('aria-live')), 'polite');
      const viewport = await tab.evaluate(() => document.querySelector('meta[name=viewport]').content);
      assert.doesNotMatch(viewport, /user-scalable=no|maximum-scale/);
      await tab.press('Control+k');
      assert.ok(await isOpen(tab, 'keys'));
      const keysHelp = await tab.evaluate(() => document.getElementById('keys-table').textContent);
      assert.ok(keysHelp.includes('Ctrl+D'));
      assert.ok(!keysHelp.includes('Ctrl+Q'), keysHelp); // the page has no Quit
      await tab.press('Enter');
      assert.ok(!(await isOpen(tab, 'keys')));
      await tab.close();
    });

    // What a screen reader is given, from Chromium's own accessibility tree: the headings are
    // headings (not text boxes) that keep their place in the window's Tab order, the lab's
    // combo boxes are named by their labels, the picture is an image named by its summary.
    test('the accessibility tree: headings, named combo boxes, the picture an image', { skip: engine.name !== 'chromium' }, async () => {
      const tab = await openSimulator(runtime, server.url);
      await tab.press('Control+l');
      await tab.waitFor(() => !document.getElementById('lab').hidden);
      const cdp = await tab.context.newCDPSession(tab.page);
      const { nodes } = await cdp.send('Accessibility.getFullAXTree');
      const named = (name) => nodes.filter((n) => !n.ignored && n.name?.value === name).map((n) => n.role?.value);
      for (const heading of ['Choose Servo', 'Wrist Angle']) {
        assert.ok(named(heading).includes('heading'), `${heading}: ${named(heading)}`);
        assert.ok(!named(heading).includes('textbox'), `${heading}: ${named(heading)}`);
      }
      for (const label of ['Speed', 'Race against', 'Scheme']) {
        assert.deepEqual(named(label).filter((role) => role === 'combobox'), ['combobox'], label);
      }
      const picture = nodes.find((n) => !n.ignored && /^Robot arm, /.test(n.name?.value ?? ''));
      assert.equal(picture?.role?.value, 'image');
      // Tab from the first servo box: the window's order, the headings in it, the picture last.
      await tab.evaluate(() => document.getElementById('Check1').focus());
      const order = [];
      for (let i = 0; i < 14; i++) {
        await tab.press('Tab');
        order.push(await tab.evaluate(() => document.activeElement.id));
      }
      assert.deepEqual(order, ['Check2', 'Check3', 'VScroll1', 'Command1', 'Command2', 'Command4', 'Text2',
        'Check4', 'Text1', 'Text3', 'Check5', 'Check6', 'Check7', 'surface']);
      await tab.close();
    });

    test('the lab\'s Jacobian schemes, their damping and a race against the x,y scheme', async () => {
      const tab = await openSimulator(runtime, server.url);
      await tab.press('Control+l');
      await tab.waitFor(() => !document.getElementById('lab').hidden);
      await tab.evaluate(() => {
        const choose = (id, value) => {
          const control = document.getElementById(id);
          control.value = value;
          control.dispatchEvent(new Event('change'));
        };
        choose('lab-scheme', 'scheme damped');
        choose('lab-race', 'race xy');
        choose('lab-damping', '80');
      });
      const before = (await snapshot(tab)).steps;
      await tab.waitFor((n) => {
        const page = window.servoPage;
        return JSON.parse(page.front.describe('snapshot')).steps > n &&
          page.printed.some((text) => text.startsWith('DISTANCE ERROR=')) &&
          /race (not )?settled/.test(page.lab.figures);
      }, before + 30);
      const shown = await tab.evaluate(() => ({
        boxes: [1, 2, 3].map((n) => document.getElementById(`Check${n}`).checked),
        text: document.getElementById('Text1').value,
        damping: document.getElementById('lab-damping').value,
        elbowShown: !document.getElementById('Check4-box').hidden,
      }));
      assert.deepEqual(shown.boxes, [false, false, false]);
      assert.match(shown.text, /^Damped least squares/);
      assert.equal(shown.damping, '50.0');
      assert.equal(shown.elbowShown, false);
      await tab.click('#Check1');
      await tab.waitFor(() => document.getElementById('lab-scheme').value === 'scheme reverse');
      await tab.close();
    });

    // axe-core runs in Chromium and Firefox; WebKit's classic WebDriver has no way to await it.
    test('the dynamics row: its box, the motor law, the tuning, the model, and the motors in the plot', async () => {
      const tab = await openSimulator(runtime, server.url);
      await tab.press('Control+l');
      await tab.waitFor(() => !document.getElementById('lab').hidden);
      await tab.click('#lab-dynamics input[type=checkbox]');
      await tab.waitFor(() => document.querySelector('#lab-dynamics input[type=checkbox]').checked);
      await tab.evaluate(() => {
        const choose = (id, value) => {
          const control = document.getElementById(id);
          control.value = value;
          control.dispatchEvent(new Event('change'));
        };
        choose('lab-motor', '5');
        choose('lab-frequency', '20');
        choose('lab-model-error', '30');
        document.getElementById('lab-model-object').click();
      });
      await tab.waitFor(() => {
        const lab = JSON.parse(window.servoPage.front.describe('view')).lab;
        return lab.dynamics.motorLaw === 5 && lab.dynamics.naturalFrequency === 20 &&
          lab.dynamics.modelErrorPercent === 30 && lab.dynamics.modelIgnoresObject &&
          /peak torque/.test(lab.figures);
      });
      const shown = await tab.evaluate(() => ({
        gains: document.getElementById('lab-gains').textContent,
        motor: document.getElementById('lab-motor').selectedOptions[0].text,
        ratio: JSON.parse(window.servoPage.front.describe('view')).lab.dynamics.dampingRatio,
      }));
      assert.match(shown.gains, /^wn\^2 = 400/);
      assert.equal(shown.motor, 'Computed torque');
      assert.equal(shown.ratio, 0.7);
      await tab.close();
    });

    test('high contrast passes every WCAG A and AA rule, and the window\'s own colours fail only contrast', { skip: engine.name === 'webkit' }, async () => {
      const tab = await openSimulator(runtime, `${server.url}?contrast=high`);
      await tab.press('Control+l');
      await tab.press('Control+1');
      await tab.waitFor(() => !document.getElementById('lab').hidden);
      assert.deepEqual(await accessibilityViolations(tab), []);
      await tab.press('Control+h');
      await tab.waitFor(() => !document.documentElement.classList.contains('high-contrast'));
      const plain = await accessibilityViolations(tab);
      assert.deepEqual(plain.map((v) => v.id), ['color-contrast']);
      assert.ok(plain[0].targets.every((t) => /^#(Check\d-box > span|Text[23])$/.test(t)), plain[0].targets.join());
      // The picture keeps what was drawn: its background is the window's again, not black.
      const [px, py] = await canvasPixel(tab, 125, 5);
      assert.equal(await countPixels(tab, px, py, 1, 'r === 63 && g === 150 && b === 192'), 9);
      await tab.close();
    });

    test('at 200 % zoom every control can be reached and read, and the picture keeps its scale', { skip: !engine.supports.pixelRatio }, async () => {
      // 200 % of a 1280 by 800 window: half as many CSS pixels, two device pixels to each.
      const tab = await openSimulator(runtime, server.url, { width: 640, height: 400, deviceScaleFactor: 2 });
      await tab.press('Control+l');
      await tab.waitFor(() => !document.getElementById('lab').hidden);
      // Scrolled by the wheel, every control comes into view; Tab reaches each one.
      await tab.wheel(320, 200, 2000);
      await tab.waitFor(() => document.getElementById('lab-reset').getBoundingClientRect().bottom <= innerHeight);
      const unseen = await tab.evaluate(() => {
        const missed = [];
        document.activeElement.blur();
        const controls = [...document.querySelectorAll('#controls input, #controls button, #controls textarea, #controls .heading, #lab button, #lab select, #lab input, #surface')];
        for (const control of controls) {
          control.focus();
          const r = control.getBoundingClientRect();
          const inView = r.top >= 0 && r.left >= 0 && r.top < innerHeight && r.left < innerWidth && r.width > 0;
          if (document.activeElement !== control || !inView) {
            missed.push(control.id || control.outerHTML.slice(0, 60));
          }
        }
        return missed;
      });
      assert.deepEqual(unseen, []);
      const scale = await tab.evaluate(() => {
        const canvas = document.getElementById('surface');
        const map = window.servoPage.picture.map;
        return [map.scaleX * 330 / canvas.clientWidth, map.scaleY * 130 / canvas.clientHeight];
      });
      assert.deepEqual(scale.map((s) => Math.round(s * 1000) / 1000), [1, 1]);
      await tab.close();
    });

    test('at a device pixel ratio of 2 the picture has twice the pixels', { skip: !engine.supports.pixelRatio }, async () => {
      const tab = await openSimulator(runtime, server.url, { deviceScaleFactor: 2 });
      const size = await tab.evaluate(() => {
        const canvas = document.getElementById('surface');
        return [canvas.width, canvas.height, canvas.clientWidth, canvas.clientHeight];
      });
      assert.equal(size[0], size[2] * 2);
      assert.equal(size[1], size[3] * 2);
      await waitForCycles(tab, 40);
      const [px, py] = await canvasPixel(tab, 300, 70);
      assert.ok(await countPixels(tab, px, py, 12, Dark) >= 16);
      await tab.close();
    });

    test('a module that cannot be loaded gives a message and a reload button', { skip: !engine.supports.network }, async () => {
      const tab = await runtime.newTab();
      await tab.failRequests('servo-web.wasm');
      await tab.goto(server.url);
      await tab.waitFor(() => !document.getElementById('problem').hidden);
      const problem = await tab.evaluate(() => document.getElementById('problem-text').textContent);
      assert.match(problem, /could not/);
      assert.ok(await isShown(tab, '#problem-reload'));
      await tab.close();
    });

    test('a link opens its experiment after the notice; a bad link says why; Copy Link makes one', async () => {
      let tab = await openSimulator(runtime, `${server.url}#v=1&scheme=xy&target=420,70&gain=7.5&lab=1&cues=marker`);
      let shown = await snapshot(tab);
      assert.deepEqual([shown.servoType, shown.targetX, shown.targetY, shown.gain], [2, 420, 70, 7.5]);
      assert.ok(await isShown(tab, '#lab'));
      assert.ok(!(await isOpen(tab, 'message')));
      await tab.evaluate(() => window.servoPage.menus.activateCommand(window.servoPage.described.commands.copyLink));
      await tab.waitFor(() => document.getElementById('message').open);
      const link = await tab.evaluate(() => document.getElementById('message-link').value);
      assert.match(link, /#v=1&scheme=xy&elbow=left&target=420,70&wrist=0&gain=7\.5&speed=60&lab=1&cues=marker&/);
      await tab.close();

      tab = await runtime.newTab();
      await tab.goto(`${server.url}#v=1&scheme=xy&gain=99`);
      await tab.waitFor(() => document.getElementById('notice').open);
      await tab.press('Enter');
      await tab.waitFor(() => document.getElementById('message').open);
      assert.match(await tab.evaluate(() => document.getElementById('message-text').textContent),
        /starts as usual\.\nitem 3 of the link: gain: '99' is outside 0\.\.20/);
      await tab.press('Enter'); // the message closes and the simulator starts as usual
      await waitForCycles(tab, 2);
      shown = await snapshot(tab);
      assert.deepEqual([shown.servoType, shown.gain], [1, 1]);
      await tab.close();
    });

    test('a link carries a student\'s law: it runs, and a screen reader hears why it stopped', async () => {
      const law = encodeURIComponent('function law(s)\n  return s.q + 1\nend');
      const tab = await openSimulator(runtime, `${server.url}#v=1&scheme=own&own=${law}`);
      await tab.waitFor(() =>
        /Your law stopped at line 2: bad argument/.test(document.getElementById('announcer').textContent));
      const shown = await snapshot(tab);
      assert.equal(shown.servoType, 7);
      await tab.close();
    });

    test('every refusal of a link or a recording says why', async () => {
      const tab = await runtime.newTab();
      await tab.goto(`${server.url}#v=2&scheme=xy`);
      await tab.waitFor(() => document.getElementById('notice').open);
      await tab.press('Enter');
      const told = async () => {
        await tab.waitFor(() => document.getElementById('message').open);
        const text = await tab.evaluate(() => document.getElementById('message-text').textContent);
        await tab.press('Enter');
        await tab.waitFor(() => !document.getElementById('message').open);
        return text;
      };
      assert.match(await told(), /item 1 of the link: this link was made for version '2'/);
      await tab.evaluate(() => { location.hash = `#v=1&${'x=1&'.repeat(20000)}`; });
      assert.match(await told(), /simulation goes on as it was\.\nlonger than 65536 characters/);
      await tab.evaluate(() => window.servoPage.lesson.play('reset\ncycles 100000\n'));
      await tab.waitFor(() => window.servoPage.view.playing);
      await tab.evaluate(() => { location.hash = '#v=1&gain=3'; });
      assert.match(await told(), /a recording is playing: press Panic\/Stop \(Esc\)/);
      assert.equal((await snapshot(tab)).gain, 1);
      await tab.evaluate(() => window.servoPage.lesson.playFile(
        new File([new Uint8Array(16 * 1024 * 1024 + 1)], 'large.servo-trace')));
      assert.match(await told(), /large\.servo-trace: larger than 16 MB/);
      await tab.close();
    });

    test('the fourth class experiment\'s resolved-rate link runs out to SINGULAR, its ellipse flat', async () => {
      const tab = await openSimulator(runtime,
        `${server.url}#v=1&scheme=resolved&pose=15,-105,-90&target=450,50&lab=1&cues=marker,manipulability`);
      await tab.waitFor(() => window.servoPage.printed.includes('SINGULAR'));
      const shown = await tab.evaluate(() => ({
        printed: window.servoPage.printed,
        figures: window.servoPage.lab.figures,
      }));
      assert.ok(shown.printed.includes('DISTANCE ERROR=14.19'), shown.printed.join(' | '));
      assert.match(shown.figures, /manipulability w = 21\.95/);
      await tab.close();
    });

    test('the plot\'s data downloads as CSV and the picture as PNG', async () => {
      const tab = await openSimulator(runtime, server.url);
      await waitForCycles(tab, 5);
      const exported = (name) => tab.evaluate((which) => {
        const page = window.servoPage;
        page.lesson.lastDownload = null;
        page.menus.activateCommand(page.described.commands[which]);
      }, name);
      await exported('exportPlotData');
      const csv = await tab.evaluate(() => window.servoPage.lesson.lastDownload);
      assert.equal(csv.name, 'plot-data.csv');
      assert.match(csv.text, /^step,scheme,target x \(window units\),.*\r\n1,reverse,350,50,/s);
      await exported('exportPicture');
      await tab.waitFor(() => window.servoPage.lesson.lastDownload !== null);
      const png = await tab.evaluate(() => window.servoPage.lesson.lastDownload);
      assert.deepEqual([png.name, png.type], ['picture.png', 'image/png']);
      assert.ok(png.size > 1000, `${png.size} bytes`);
      await tab.close();
    });

    test('a recorded session replays to the state the trace driver reaches with it', async () => {
      const tab = await openSimulator(runtime, server.url);
      const command = (name) => tab.evaluate((which) => {
        const page = window.servoPage;
        page.menus.activateCommand(page.described.commands[which]);
      }, name);
      await command('record');
      await tab.waitFor(() => window.servoPage.lesson.shown.status === 'Recording');
      await tab.click('#Check3');
      const [x, y] = await viewportPoint(tab, 300, 95);
      await tab.mouse.move(x, y);
      await tab.mouse.down();
      await afterCycles(tab, 10);
      await tab.mouse.up();
      await tab.click('#Check2');
      await afterCycles(tab, 20);
      await command('record');
      const script = await tab.evaluate(() => window.servoPage.lesson.lastDownload.text);
      assert.match(script, /^apply$[^]*^end$[^]*^servo 3$[^]*^press [^]*^release$[^]*^servo 2$[^]*^stop$/m);

      await tab.evaluate((text) => window.servoPage.lesson.playFile(new File([text], 'lesson.servo-trace')), script);
      await tab.waitFor(() => window.servoPage.view.playing);
      // What a replay ignores is disabled, what works during one is not.
      const enabled = () => tab.evaluate(() => ['Check1', 'VScroll1', 'lab-gain', 'lab-reset', 'lab-step', 'menu-ru']
        .map((id) => !document.getElementById(id).disabled));
      assert.deepEqual(await enabled(), [false, false, false, false, true, false]);
      await tab.waitFor(() => !window.servoPage.view.playing);
      const replayed = await snapshot(tab);
      const traced = Object.fromEntries(traceOf(script).split('\n').find((line) => line.startsWith('state '))
        .split(' ').slice(1).map((pair) => pair.split('=')).map(([key, value]) => [key, Number(value)]));
      for (const key of ['shoulderAngle', 'elbowAngle', 'wristAngle', 'servoType', 'runState', 'objectHeld']) {
        assert.equal(replayed[key], traced[key], key);
      }
      assert.deepEqual(await enabled(), [true, true, true, true, true, true]);
      await tab.close();
    });

    test('?lang=ru is Russian, the Language menu switches at once, an unknown language is English', async () => {
      let tab = await openSimulator(runtime, `${server.url}?lang=ru`);
      const shown = () => tab.evaluate(() => ({
        lang: document.documentElement.lang,
        box: document.querySelector('#Check1-box span').textContent,
        lab: document.getElementById('menu-lab').textContent,
        explanation: document.getElementById('Text1').value,
        step: document.getElementById('lab-step').textContent,
      }));
      let now = await shown();
      assert.deepEqual([now.lang, now.box, now.lab, now.step], ['ru', 'Обратная кин.', 'Лаборатория', 'Шаг']);
      assert.match(now.explanation, /^Как правило/);
      await tab.click('#Check2');
      await tab.waitFor(() => window.servoPage.printed.some((text) => text.startsWith('ОШИБКА X=')));
      await tab.evaluate(() => {
        const page = window.servoPage;
        const position = page.described.labMenu.findIndex((item) =>
          item.command === page.described.commands.language && item.caption === 'Deutsch');
        page.menus.activate(1, position);
      });
      now = await shown();
      assert.deepEqual([now.lang, now.box, now.lab, now.step], ['de', 'Inverse Kinematik', 'Labor', 'Einzelschritt']);
      assert.match(now.explanation, /^Eines der ältesten Verfahren/);
      await tab.waitFor(() => window.servoPage.printed.some((text) => text.startsWith('X-FEHLER=')));
      await tab.close();

      tab = await openSimulator(runtime, `${server.url}?lang=xx`);
      now = await shown();
      assert.deepEqual([now.lang, now.box, now.lab], ['en', 'Reverse Kinematic', 'Lab']);
      await tab.close();
    });

    test('a crash of the module stops the page with a message and a reload button', async () => {
      const tab = await openSimulator(runtime, server.url);
      await tab.evaluate(() => {
        window.servoPage.front.frame = () => { throw new Error('unreachable executed'); };
      });
      await tab.waitFor(() => !document.getElementById('problem').hidden);
      assert.match(await tab.evaluate(() => document.getElementById('problem-text').textContent), /internal error/);
      assert.equal(await tab.evaluate(() => window.servoPage.running), false);
      await tab.close();
    });

    test('after one visit the page works with the network off', { skip: !engine.supports.network }, async () => {
      const tab = await openSimulator(runtime, server.url);
      await tab.evaluate(async () => {
        await navigator.serviceWorker.ready;
        if (!navigator.serviceWorker.controller) {
          await new Promise((done) => navigator.serviceWorker.addEventListener('controllerchange', done));
        }
      });
      await tab.setOffline(true);
      await tab.evaluate(() => history.replaceState(null, '', '?lang=ru#v=1&scheme=rtheta'));
      await tab.reload();
      await tab.waitFor(() => document.getElementById('notice')?.open);
      await tab.press('Enter');
      await tab.waitFor(() => window.servoPage && window.servoPage.running);
      await waitForCycles(tab, 25);
      assert.ok(!(await isShown(tab, '#problem')));
      assert.equal((await snapshot(tab)).servoType, 3); // the link's experiment, offline too
      assert.equal(await tab.evaluate(() => document.documentElement.lang), 'ru'); // and its language
      const manifest = await tab.evaluate(async () => (await fetch('manifest.webmanifest')).json());
      assert.equal(manifest.display, 'standalone');
      await tab.close();
    });
  });
}
