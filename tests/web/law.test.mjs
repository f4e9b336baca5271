// The editor of the student's law in every engine: F4 opens it, an example put in force moves
// the arm under the scheme "Your law", a law's error shows its line, and Esc leaves the text.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { accessibilityViolations, afterCycles, eachEngine, openSimulator, snapshot } from './browser.mjs';

const focused = (tab) => tab.evaluate(() => document.activeElement.id);
const lawOf = (tab) => tab.evaluate(() => JSON.parse(window.servoPage.front.describe('view')).law);
const pose = ({ shoulderAngle, elbowAngle, wristAngle }) => [shoulderAngle, elbowAngle, wristAngle];

eachEngine((suite) => {
  test('F4 opens the editor of the student\'s law, Tab indents, Esc leaves the text for Apply', async () => {
    const tab = await openSimulator(suite.runtime, suite.server.url);
    assert.ok(await tab.evaluate(() => document.getElementById('law').hidden));
    await tab.press('F4');
    assert.ok(await tab.evaluate(() => document.getElementById('law').getClientRects().length > 0));
    assert.equal(await focused(tab), 'law-source');
    await tab.evaluate(() => { document.getElementById('law-source').value = 'x'; });
    await tab.press('Tab');
    assert.equal(await tab.evaluate(() => document.getElementById('law-source').value), 'x  ');
    await tab.press('Escape');
    assert.equal(await focused(tab), 'law-apply');
    assert.equal((await snapshot(tab)).runState, 2); // Esc left the text: it stopped nothing
    if (suite.engine.name !== 'webkit') { // axe as the page's other tests run it
      const faults = (await accessibilityViolations(tab)).filter((v) => v.targets.some((t) => /law/.test(t)));
      assert.deepEqual(faults, []);
    }
    await tab.close();
  });

  test('an example put in force moves the arm under "Your law"; an error shows its line; typing stays, Reset shows the example', async () => {
    const tab = await openSimulator(suite.runtime, suite.server.url);
    await tab.press('F4');
    await tab.evaluate(() => window.servoPage.input('scheme own'));
    // An empty text applied: no law in force, and the arm holds.
    await tab.evaluate(() => { document.getElementById('law-source').value = ''; });
    await tab.click('#law-apply');
    assert.equal((await lawOf(tab)).status, 'empty');
    await tab.evaluate(() => ['press 380 40', 'release'].forEach((line) => window.servoPage.input(line)));
    const held = await afterCycles(tab, 1);
    assert.deepEqual(pose(await afterCycles(tab, 3)), pose(held));
    await tab.click('#law-use');
    assert.match(await tab.evaluate(() => document.getElementById('law-source').value), /function law\(s\)/);
    await tab.click('#law-apply');
    await tab.waitFor(() => JSON.parse(window.servoPage.front.describe('view')).law.status === 'running');
    const before = await snapshot(tab);
    const after = await afterCycles(tab, 3);
    assert.equal(after.servoType, 7);
    assert.ok(after.steps > before.steps);
    assert.notDeepEqual(pose(after), pose(before));
    assert.equal((await lawOf(tab)).status, 'running');

    await tab.evaluate(() => {
      document.getElementById('law-source').value = 'function law(s)\n  return s.q + 1\nend';
    });
    await tab.click('#law-apply');
    await tab.waitFor(() => /line 2/.test(document.getElementById('law-status').textContent));
    const marked = await tab.evaluate(() => [...document.querySelectorAll('#law-gutter .error')].map((e) => e.textContent));
    assert.deepEqual(marked, ['2']);
    assert.equal(await tab.evaluate(() => document.getElementById('law-source').getAttribute('aria-describedby')),
      'law-status law-help');

    // What the student types stays while the view changes; Reset, from the text area's keys too,
    // brings the first example back into it.
    await tab.evaluate(() => { document.getElementById('law-source').value = '-- mine'; });
    await tab.evaluate(() => window.servoPage.input('enter-gain 1.5')); // the view changes
    await afterCycles(tab, 3);
    assert.equal(await tab.evaluate(() => document.getElementById('law-source').value), '-- mine');
    await tab.evaluate(() => document.getElementById('law-source').focus());
    await tab.press('Control+r');
    const first = await tab.evaluate(() => window.servoPage.described.lawExamples[0][1]);
    assert.equal(await tab.evaluate(() => document.getElementById('law-source').value), first);
    await tab.close();
  });
});
