// The page on the screens a class uses: a phone held upright (touch), a tablet, and a 1366 by 768
// laptop, with and without projector mode, the lab open on each. Every control of the column and
// the lab can be reached (scrolled to, not covered by anything) and, on a touch screen, is at
// least 44 by 44 CSS pixels; no control stands on the arm; nothing scrolls sideways; a finger or
// the mouse drags the target; and axe finds nothing in high contrast.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { accessibilityViolations, afterCycles, eachEngine, openSimulator, snapshot } from './browser.mjs';

const Screens = [
  // `clear`: no control anywhere on the picture (the window's column stands over its left part
  // where it leaves the arm room: at desktop widths); `atOnce`: everything visible together,
  // without scrolling; `query`: the address's.
  { name: 'a phone, 390 by 844, touch', width: 390, height: 844, hasTouch: true, clear: true },
  { name: 'a phone in projector mode, 390 by 844, touch', width: 390, height: 844, hasTouch: true, projector: true, clear: true },
  { name: 'a tablet, 768 by 1024', width: 768, height: 1024, clear: true },
  { name: 'a laptop, 1366 by 768', width: 1366, height: 768, atOnce: true },
  // The teacher chose true proportions: the picture's box stands in the middle of the picture.
  { name: 'a laptop in projector mode and true proportions, 1366 by 768', width: 1366, height: 768, projector: true, clear: true, atOnce: true, query: '?proportions=true' },
];

const Controls = '#controls input, #controls button, #controls textarea, #lab button, #lab select, #lab input';

// Every control that shows: its id or text, whether it could be brought into view and was then
// the topmost element at its centre, and its target's box (a check box's label holds its
// caption and takes its presses).
function controlsSeen(tab, atOnce) {
  return tab.evaluate(([selector, still]) => [...document.querySelectorAll(selector)]
    .filter((control) => control.getClientRects().length > 0)
    .map((control) => {
      if (!still) {
        control.scrollIntoView({ block: 'center', inline: 'center' });
      }
      const target = control.type === 'checkbox' ? control.closest('label') ?? control : control;
      const r = target.getBoundingClientRect();
      const c = control.getBoundingClientRect();
      const inView = r.left >= 0 && r.top >= 0 && r.right <= innerWidth + 0.5 && r.bottom <= innerHeight + 0.5;
      const hit = document.elementFromPoint(c.left + c.width / 2, c.top + c.height / 2);
      return {
        name: control.id || target.textContent.trim(),
        reached: inView && Boolean(hit) && (hit === target || target.contains(hit)),
        width: r.width,
        height: r.height,
      };
    }), [Controls, atOnce]);
}

// The arm where it stands (its joints and effector, forward kinematics from the state) and the
// target, as a box of viewport pixels through the page's own picture map, 6 pixels around.
async function armBox(tab) {
  const s = await snapshot(tab);
  return tab.evaluate((state) => {
    const a1 = state.shoulderAngle;
    const a12 = a1 + state.elbowAngle;
    const a123 = a12 + state.wristAngle;
    const elbow = [-35 * Math.sin(a1), 35 * Math.cos(a1)];
    const wrist = [elbow[0] - 35 * Math.sin(a12), elbow[1] + 35 * Math.cos(a12)];
    const effector = [wrist[0] - 15 * Math.sin(a123), wrist[1] + 15 * Math.cos(a123)];
    const points = [[0, 0], elbow, wrist, effector].map(([x, y]) => [300 + 2 * x, 70 - y]);
    points.push([state.targetX, state.targetY]);
    const box = document.getElementById('surface').getBoundingClientRect();
    const { left, top, scaleX, scaleY, offsetX, offsetY } = window.servoPage.picture.map;
    const xs = points.map(([x]) => box.left + offsetX + (x - left) * scaleX);
    const ys = points.map(([, y]) => box.top + offsetY + (y - top) * scaleY);
    return {
      left: Math.max(box.left, Math.min(...xs) - 6),
      top: Math.max(box.top, Math.min(...ys) - 6),
      right: Math.min(box.right, Math.max(...xs) + 6),
      bottom: Math.min(box.bottom, Math.max(...ys) + 6),
    };
  }, s);
}

// The controls whose boxes overlap a box of viewport pixels.
function controlsOver(tab, area) {
  return tab.evaluate(([selector, a]) => [...document.querySelectorAll(selector)]
    .map((control) => [control, (control.type === 'checkbox' ? control.closest('label') ?? control : control).getBoundingClientRect()])
    .filter(([, r]) => r.width > 0 && r.left < a.right && r.right > a.left && r.top < a.bottom && r.bottom > a.top)
    .map(([control]) => control.id || control.outerHTML.slice(0, 50)), [Controls, area]);
}

// A viewport point of a point in window units, through the page's picture map.
async function viewportPoint(tab, x, y) {
  return tab.evaluate(([ux, uy]) => {
    const box = document.getElementById('surface').getBoundingClientRect();
    const { left, top, scaleX, scaleY, offsetX, offsetY } = window.servoPage.picture.map;
    return [box.left + offsetX + (ux - left) * scaleX, box.top + offsetY + (uy - top) * scaleY];
  }, [x, y]);
}

eachEngine((suite) => {
  for (const screen of Screens) {
    const { name, width, height, hasTouch = false, projector = false, clear = false, atOnce = false, query = '' } = screen;
    test(`${name}: every control reached, none on the arm, no sideways scrolling, the target dragged`, async () => {
      const tab = await openSimulator(suite.runtime, `${suite.server.url}${query}`, { width, height, hasTouch });
      await tab.press('Control+l');
      if (projector) {
        await tab.press('F8');
      }
      await tab.waitFor((on) => !document.getElementById('lab').hidden
        && document.getElementById('lab').classList.contains('projector') === on, projector);
      const coarse = await tab.evaluate(() => matchMedia('(pointer: coarse)').matches);

      // (The window's column is a box of no size that its controls stand out of; the band's
      // holds them.)
      const sideways = await tab.evaluate(() => ['html', '#menubar', '#lab', 'html.band #controls']
        .filter((selector) => {
          const e = document.querySelector(selector);
          return e !== null && e.scrollWidth > e.clientWidth + 1;
        }));
      assert.deepEqual(sideways, []);

      // Drag the target low on the right, with a finger where there is one.
      const [x0, y0] = await viewportPoint(tab, 400, 50);
      const [x1, y1] = await viewportPoint(tab, 380, 95);
      if (hasTouch) {
        await tab.touch('start', x0, y0);
        await tab.touch('move', (x0 + x1) / 2, (y0 + y1) / 2);
        await tab.touch('move', x1, y1);
        await tab.waitFor(() => JSON.parse(window.servoPage.front.describe('snapshot')).targetY > 94.5);
        await tab.touch('end');
      } else {
        await tab.mouse.move(x0, y0);
        await tab.mouse.down();
        await tab.mouse.move(x1, y1, { steps: 4 });
        await tab.mouse.up();
      }
      const state = await afterCycles(tab, 60);
      assert.ok(Math.abs(state.targetX - 380) < 0.5 && Math.abs(state.targetY - 95) < 0.5, JSON.stringify(state));

      // The plot has room for its traces (it draws nothing but its background where it has not).
      assert.ok(await tab.evaluate(() => window.servoPage.lab.list[0] > 1), 'the plot drawn');
      // The arm settled at the new target, and before any scrolling: no control over it.
      assert.deepEqual(await controlsOver(tab, await armBox(tab)), []);
      if (clear) {
        const picture = await tab.evaluate(() => document.getElementById('surface').getBoundingClientRect().toJSON());
        assert.deepEqual(await controlsOver(tab, picture), []);
      }

      if (atOnce) {
        const [picture, plot] = await tab.evaluate(() => ['surface', 'plot'].map((id) => {
          const r = document.getElementById(id).getBoundingClientRect();
          return r.top >= 0 && r.left >= 0 && r.bottom <= innerHeight && r.right <= innerWidth && r.height > 100;
        }));
        assert.ok(picture && plot, 'the picture and the plot in view together');
      }
      const seen = await controlsSeen(tab, atOnce);
      assert.ok(seen.length >= 20, `${seen.length} controls`);
      assert.deepEqual(seen.filter((c) => !c.reached).map((c) => c.name), []);
      if (coarse) {
        assert.deepEqual(seen.filter((c) => c.width < 44 || c.height < 44).map((c) => `${c.name} ${c.width}x${c.height}`), []);
        // The menus' items too; the Lab menu within the screen, its last item (Keys...)
        // scrolled to.
        await tab.click('#menu-lab');
        const menu = await tab.evaluate(() => {
          const box = document.getElementById('lab-menu').getBoundingClientRect();
          const items = document.querySelectorAll('#lab-menu button');
          const last = items[items.length - 1];
          last.scrollIntoView({ block: 'nearest' });
          const r = last.getBoundingClientRect();
          const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
          return { inside: box.left >= 0 && box.right <= innerWidth && box.bottom <= innerHeight, last: last.contains(hit) };
        });
        assert.deepEqual(menu, { inside: true, last: true });
        const small = await tab.evaluate(() => [...document.querySelectorAll('#menubar button, #lab-menu button')]
          .map((b) => [b.textContent, b.getBoundingClientRect()])
          .filter(([, r]) => r.width > 0 && (r.width < 44 || r.height < 44)).map(([text]) => text));
        assert.deepEqual(small, []);
      }
      if (projector && !hasTouch) {
        // Out of projector mode the laptop's column fits again: it is back in the window's places.
        await tab.press('F8');
        await tab.waitFor(() => !document.documentElement.classList.contains('band'));
        const place = await tab.evaluate(() => {
          const box = document.getElementById('Check1-box');
          return [box.offsetLeft, box.offsetTop, box.offsetWidth, box.offsetHeight];
        });
        assert.deepEqual(place, [88, 32, 169, 17]);
      }
      await tab.close();
    });

    // axe-core runs in Chromium and Firefox; WebKit's classic WebDriver has no way to await it.
    test(`${name}: high contrast passes every WCAG A and AA rule`, { skip: suite.engine.name === 'webkit' }, async () => {
      const tab = await openSimulator(suite.runtime, `${suite.server.url}?contrast=high`, { width, height, hasTouch });
      await tab.press('Control+l');
      if (projector) {
        await tab.press('F8');
      }
      await tab.waitFor(() => !document.getElementById('lab').hidden);
      assert.deepEqual(await accessibilityViolations(tab), []);
      await tab.close();
    });
  }

  test('a phone starts in true proportions; a window does not, and ?proportions= overrides either', async () => {
    const cases = [[390, '', true], [1280, '', false], [390, '?proportions=stretched', false], [1280, '?proportions=true', true]];
    for (const [width, query, expected] of cases) {
      const tab = await openSimulator(suite.runtime, `${suite.server.url}${query}`, { width, height: 800 });
      const [on, map, size] = await tab.evaluate(() => {
        const canvas = document.getElementById('surface');
        return [window.servoPage.view.lab.trueProportions, window.servoPage.picture.map, [canvas.clientWidth, canvas.clientHeight]];
      });
      assert.equal(on, expected, `${width} ${query}`);
      if (expected) { // one arm unit (two window units across, one down) as long across as down
        assert.ok(Math.abs(map.scaleX * 2 - map.scaleY) < 1e-9, JSON.stringify(map));
      } else { // the window's user rectangle over the whole picture
        assert.deepEqual([map.offsetX, map.offsetY, map.spanX, map.spanY], [0, 0, ...size]);
      }
      await tab.close();
    }
  });
});
