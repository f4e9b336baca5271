// The page's sound and voicing: nothing before the user turns them on; a hunting arm's frames,
// rendered offline by the page's own SoundVoice, wobble in pitch at the hunting's period; the
// describer's words go to the browser's speech synthesis in the page's language.
import { after, afterEach, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { engines } from './engines.mjs';
import { openSimulator, serveSite, waitForCycles } from './browser.mjs';

const FrameRate = 60; // frames a second, one servo step each at the lab's normal speed
const SampleRate = 16000;
const Seconds = 3;
const WindowSeconds = 0.02; // the pitch is estimated over windows this long
const From = 0.25; // seconds: past the target-set motif

// The pitch (hertz) of each window of `samples`: the spacing of its rising zero crossings,
// each placed between its two samples.
function pitchTrack(samples) {
  const size = Math.round(WindowSeconds * SampleRate);
  const track = [];
  for (let start = 0; start + size < samples.length; start += size) {
    const crossings = [];
    for (let i = start; i < start + size; i++) {
      if (samples[i] < 0 && samples[i + 1] >= 0) {
        crossings.push(i + samples[i] / (samples[i] - samples[i + 1]));
      }
    }
    const span = crossings[crossings.length - 1] - crossings[0];
    track.push(crossings.length > 1 ? (crossings.length - 1) * SampleRate / span : 0);
  }
  return track;
}

// A series' wobble, sampled every `step` seconds, with its trend (a centred moving average over
// 0.25 s) taken away: its depth (root mean square) and its period (seconds: the lag of the
// autocorrelation's highest peak after its first fall below zero).
function wobbleOf(series, step) {
  const half = Math.round(0.125 / step);
  const wobble = [];
  for (let i = half; i < series.length - half; i++) {
    const around = series.slice(i - half, i + half + 1);
    wobble.push(series[i] - around.reduce((sum, x) => sum + x, 0) / around.length);
  }
  const correlation = (lag) => wobble.slice(lag).reduce((sum, x, i) => sum + x * wobble[i], 0);
  let lag = 1;
  while (lag < wobble.length / 2 && correlation(lag) > 0) {
    lag++;
  }
  let best = lag;
  for (; lag < wobble.length / 2; lag++) {
    best = correlation(lag) > correlation(best) ? lag : best;
  }
  return { depth: Math.sqrt(correlation(0) / wobble.length), period: best * step };
}

// The events the module names, each with what its motif's first and last pitch must show.
const Motifs = {
  target: (first, last) => first > 600 && Math.abs(last / first - 1) < 0.02,
  reached: (first, last) => last > 1.3 * first, // rising
  'out-of-reach': (first, last) => last < 200 && first < 200, // low
  singular: (first, last) => first > 400 && Math.abs(last / first - 1) < 0.02,
  grip: (first, last) => last > 1.2 * first,
  drop: (first, last) => last < first / 1.2,
  saturated: (first, last) => first < 250 && last > first, // a low buzz, a semitone up
};

// A stand-in for the browser's speech synthesis that keeps what it is asked to speak.
function recordSpeech() {
  window.spoken = [];
  const synthesis = {
    speak: (utterance) => window.spoken.push({ text: utterance.text, lang: utterance.lang }),
    cancel: () => {},
    getVoices: () => [],
    speaking: false,
    pending: false,
    paused: false,
  };
  Object.defineProperty(window, 'speechSynthesis', { value: synthesis, configurable: true });
}

for (const engine of engines().filter(({ name }) => name !== 'webkit')) {
  describe(engine.name, () => {
    let server;
    let runtime;
    before(async () => {
      server = await serveSite();
      runtime = await engine.launch();
    });
    afterEach(async () => {
      await runtime?.closeTabs();
    });
    after(async () => {
      await runtime?.close();
      server?.stop();
    });

    test('a hunting arm\'s tone wobbles at the hunting\'s period, once the user turns the sound on', async () => {
      const tab = await openSimulator(runtime, server.url);
      await waitForCycles(tab, 10);
      assert.equal(await tab.evaluate(() => window.servoPage.sound.context), null, 'no sound before F9');
      await tab.press('F9');
      // Made within the key's handler; headless Firefox has no audio output to start it on.
      await tab.waitFor((running) => window.servoPage.sound.context?.state === (running ? 'running' : 'suspended'),
        engine.name === 'chromium');
      // A hidden tab runs no frames: its sound holds until the tab shows again.
      const hide = (hidden) => {
        Object.defineProperty(document, 'hidden', { value: hidden, configurable: true });
        document.dispatchEvent(new Event('visibilitychange'));
      };
      await tab.evaluate(hide, true);
      await tab.waitFor(() => window.servoPage.sound.context.state === 'suspended');
      await tab.evaluate(hide, false);
      await tab.waitFor((running) => window.servoPage.sound.context.state === (running ? 'running' : 'suspended'),
        engine.name === 'chromium');
      const { hertz, samples } = await tab.evaluate(async ([rate, sampleRate, seconds]) => {
        const { SoundVoice } = await import(new URL('sound.js', location.href).href);
        const page = window.servoPage;
        page.running = false; // the frames below are the only ones
        for (const line of ['scheme xy', 'press 420 70', 'release']) {
          page.front.submit(line);
        }
        const frames = [];
        for (let i = 0; i < seconds * rate; i++) {
          frames.push(JSON.parse(page.front.frame(1 / rate, i / rate, 0, 0, 0)).sound);
        }
        const context = new OfflineAudioContext(1, seconds * sampleRate, sampleRate);
        const voice = new SoundVoice(context, window.servoPage.described.soundMotifs);
        voice.setVolume(1, 0);
        frames.forEach((frame, i) => voice.play(frame, i / rate));
        const rendered = await context.startRendering();
        return { hertz: frames.map((frame) => frame.hertz), samples: Array.from(rendered.getChannelData(0)) };
      }, [FrameRate, SampleRate, Seconds]);
      const played = samples.slice(From * SampleRate);
      const loudness = Math.sqrt(played.reduce((sum, x) => sum + x * x, 0) / played.length);
      assert.ok(loudness > 0.02, `nearly silent: RMS ${loudness}`);
      const track = pitchTrack(played);
      const told = hertz.slice(From * FrameRate);
      const mean = (xs) => xs.reduce((sum, x) => sum + x, 0) / xs.length;
      assert.ok(Math.abs(mean(track) / mean(told) - 1) < 0.1, `pitch ${mean(track)} Hz, frames ${mean(told)} Hz`);
      const heard = wobbleOf(track, WindowSeconds);
      const hunting = wobbleOf(told, 1 / FrameRate);
      assert.ok(hunting.period > 0.05 && hunting.period < 0.5, `the frames' hunting period ${hunting.period} s`);
      assert.ok(Math.abs(heard.period / hunting.period - 1) < 0.15, `wobble ${heard.period} s, hunting ${hunting.period} s`);
      // The short glide keeps most of the wobble's depth.
      assert.ok(heard.depth > 0.5 * hunting.depth, `wobble ${heard.depth} Hz deep, hunting ${hunting.depth} Hz`);
      await tab.press('F9');
      await tab.waitFor(() => window.servoPage.sound.context.state === 'suspended');
      await tab.close();
    });

    test('each event has its own short gentle motif', async () => {
      const tab = await openSimulator(runtime, server.url);
      const rendered = await tab.evaluate(async ([words, sampleRate]) => {
        const { SoundVoice } = await import(new URL('sound.js', location.href).href);
        return Promise.all(words.map(async (word) => {
          const context = new OfflineAudioContext(1, sampleRate / 2, sampleRate);
          const voice = new SoundVoice(context, window.servoPage.described.soundMotifs);
          voice.setVolume(1, 0);
          voice.play({ hertz: 220, level: 0, events: [word] }, 0);
          return Array.from((await context.startRendering()).getChannelData(0));
        }));
      }, [Object.keys(Motifs), SampleRate]);
      const signatures = new Set();
      Object.entries(Motifs).forEach(([word, expected], index) => {
        const samples = rendered[index];
        const sounding = samples.map((x, i) => (Math.abs(x) > 1e-3 ? i : -1)).filter((i) => i >= 0);
        const seconds = (sounding.at(-1) - sounding[0]) / SampleRate;
        const peak = Math.max(...samples.map(Math.abs));
        const track = pitchTrack(samples.slice(sounding[0], sounding.at(-1))).filter((hertz) => hertz > 0);
        const [first, last] = [track[0], track.at(-1)];
        assert.ok(seconds > 0.08 && seconds < 0.25, `${word}: ${seconds} s long`);
        assert.ok(peak > 0.05 && peak <= 0.25, `${word}: peak ${peak}`);
        assert.ok(expected(first, last), `${word}: ${first} Hz to ${last} Hz`);
        signatures.add(`${Math.round(first / 20)} ${Math.round(last / 20)} ${Math.round(seconds * 50)}`);
      });
      assert.equal(signatures.size, Object.keys(Motifs).length, 'two events sound alike');
      await tab.close();
    });

    test('voicing speaks the describer\'s words in the page\'s language, and nothing while it is off', async () => {
      const tab = await openSimulator(runtime, `${server.url}?lang=de`, { initScript: recordSpeech });
      await waitForCycles(tab, 150); // settled: the whole description stays the same
      await tab.press('Control+d');
      await tab.waitFor(() => document.getElementById('announcer').textContent.length > 0);
      assert.deepEqual(await tab.evaluate(() => window.spoken), [], 'spoken while the voicing is off');
      await tab.press('Shift+F9');
      await tab.press('Control+d');
      const description = await tab.evaluate(() => window.servoPage.front.describe('whole-state'));
      assert.deepEqual(await tab.evaluate(() => window.spoken), [{ text: description, lang: 'de' }]);
      // A new target: the describer's next message is spoken as the screen reader gets it.
      await tab.evaluate(() => window.servoPage.input('press 200 40'));
      await tab.waitFor(() => window.spoken.length > 1);
      const [last, shown] = await tab.evaluate(() => [window.spoken.at(-1),
        document.getElementById('announcer').textContent.trim()]);
      assert.deepEqual(last, { text: shown, lang: 'de' });
      await tab.close();
    });
  });
}
