// The Challenges dialog in every engine: F3 opens it beside the moving arm, Start shows the
// first challenge's goals, Show Hint a hint, Hand In downloads the attempt and its summary, Esc
// closes it and gives the focus back; on a phone it fits without sideways scrolling, its targets
// 44 px on a touch screen; a challenge's link opens it with that challenge under way.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { accessibilityViolations, afterCycles, eachEngine, openSimulator, snapshot } from './browser.mjs';

const challengeOf = (tab) => tab.evaluate(() => JSON.parse(window.servoPage.front.describe('view')).challenge);
const shownGoals = (tab) => tab.evaluate(() => [...document.querySelectorAll('#challenge-goals li')]
  .map((item) => item.textContent));
const isOpen = (tab) => tab.evaluate(() => document.getElementById('challenges').open);

eachEngine((suite) => {
  test('F3 opens the dialog; Start, Show Hint and Hand In do their part; Esc closes it, the focus back', async () => {
    const tab = await openSimulator(suite.runtime, suite.server.url);
    await tab.evaluate(() => document.getElementById('Check3').focus());
    await tab.press('F3');
    await tab.waitFor(() => document.getElementById('challenges').open);
    assert.equal(await tab.evaluate(() => document.activeElement.id), 'challenge-list');
    const disabled = () => tab.evaluate(() => ['challenge-start', 'challenge-hint', 'challenge-hand-in', 'challenge-end']
      .map((id) => document.getElementById(id).disabled));
    assert.deepEqual(await disabled(), [false, true, true, true]);
    // The arm goes on while the dialog is open.
    const before = (await afterCycles(tab, 1)).steps;
    assert.ok((await afterCycles(tab, 3)).steps > before);

    await tab.click('#challenge-start');
    const started = await challengeOf(tab);
    assert.equal(started.name, await tab.evaluate(() => window.servoPage.described.challenges.choices[0].name));
    assert.ok(started.goals.length > 0);
    await tab.waitFor((n) => document.querySelectorAll('#challenge-goals li').length === n, started.goals.length);
    const goals = await shownGoals(tab);
    started.goals.forEach(({ text }, index) => assert.ok(goals[index].includes(text), goals[index]));
    assert.equal(await tab.evaluate(() => document.getElementById('challenge-task').textContent), started.task);
    assert.deepEqual(await disabled(), [false, false, false, false]);

    await tab.click('#challenge-hint');
    const hinted = await challengeOf(tab);
    assert.equal(hinted.hints.length, 1);
    assert.deepEqual(await tab.evaluate(() => [...document.querySelectorAll('#challenge-hints li')].map((li) => li.textContent)),
      hinted.hints);

    if (suite.engine.name !== 'webkit') { // axe as the page's other tests run it
      const faults = (await accessibilityViolations(tab)).filter((v) => v.targets.some((t) => /challenge/.test(t)));
      assert.deepEqual(faults, []);
    }

    await tab.evaluate(() => {
      const lesson = window.servoPage.lesson;
      const download = lesson.download.bind(lesson);
      window.servoDownloads = [];
      lesson.download = (name, type, data) => {
        window.servoDownloads.push({ name, text: data });
        download(name, type, data);
      };
    });
    await tab.click('#challenge-hand-in');
    const files = await tab.evaluate(() => window.servoDownloads);
    const base = `${started.name}-attempt`;
    assert.deepEqual(files.map(({ name }) => name), [`${base}.servo-trace`, `${base}.txt`]);
    assert.match(files[0].text, /^apply$/m);
    assert.match(files[1].text, new RegExp(`servo-trace --check ${started.name} < ${base}\\.servo-trace`));
    const told = await tab.evaluate(() => document.getElementById('challenge-told').textContent);
    assert.ok(told.includes(`${base}.servo-trace`) && told.includes(`${base}.txt`), told);
    assert.deepEqual(await disabled(), [false, false, true, false]); // nothing recorded to hand in now

    await tab.evaluate(() => document.getElementById('challenge-list').focus());
    await tab.press('Escape');
    assert.equal(await isOpen(tab), false);
    assert.equal(await tab.evaluate(() => document.activeElement.id), 'Check3');
    await tab.close();
  });

  test('on a phone, 390 by 844, the dialog fits: no sideways scrolling, every target 44 px', async () => {
    const tab = await openSimulator(suite.runtime, suite.server.url, { width: 390, height: 844, hasTouch: true });
    await tab.evaluate(() => window.servoPage.menus.activateCommand(window.servoPage.described.commands.challenges));
    await tab.click('#challenge-start');
    await tab.click('#challenge-hint');
    await tab.waitFor(() => document.querySelectorAll('#challenge-hints li').length === 1);
    const sideways = await tab.evaluate(() => ['html', 'body', '#challenges']
      .filter((selector) => {
        const e = document.querySelector(selector);
        return e.scrollWidth > e.clientWidth + 1;
      }));
    assert.deepEqual(sideways, []);
    // Within the width, and 44 px where the engine makes its pointer a finger (as screens.test).
    const small = await tab.evaluate(() => {
      const finger = matchMedia('(pointer: coarse)').matches ? 44 : 0;
      return [...document.querySelectorAll('#challenges button, #challenges select')]
        .filter((control) => control.getClientRects().length > 0)
        .map((control) => [control.id, control.getBoundingClientRect()])
        .filter(([, r]) => r.width < finger || r.height < finger || r.left < 0 || r.right > innerWidth + 0.5)
        .map(([id]) => id);
    });
    assert.deepEqual(small, []);
    await tab.close();
  });

  test('a challenge\'s link opens the dialog with its challenge under way, recorded; Esc there stops nothing', async () => {
    const link = '#c=1&title=Near%20the%20edge&task=Settle%20there.&goal=settle%200.5&goal=gain%201&scheme=reverse&target=440,60';
    const tab = await openSimulator(suite.runtime, `${suite.server.url}${link}`);
    await tab.waitFor(() => document.getElementById('challenges').open
      && document.getElementById('challenge-title').textContent === 'Near the edge');
    const challenge = await challengeOf(tab);
    assert.deepEqual([challenge.active, challenge.recorded, challenge.goals.length], [true, true, 2]);
    assert.equal(await tab.evaluate(() => document.getElementById('challenge-hand-in').disabled), false);
    // Esc in the dialog closes it and stops nothing: the arm runs on.
    await tab.press('Escape');
    assert.equal(await isOpen(tab), false);
    const running = await tab.evaluate(() => window.servoPage.described.runStates.running);
    assert.equal((await snapshot(tab)).runState, running);
    await tab.close();
  });
});
