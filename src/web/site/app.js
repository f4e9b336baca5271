// The browser edition's page: loads the simulator's WebAssembly module, builds its window from
// the module's description (menus, keys, captions, texts), mirrors its control panel in HTML
// controls, forwards pointer, key and control events to it, and draws what it draws, paced by
// the module once per animation frame. No rule of the simulation lives here.
import { Painter, useOpKinds } from './painter.js';
import { ChallengesDialog } from './challenges.js';
import { LabView } from './lab.js';
import { LawEditor } from './law.js';
import { LessonView } from './lesson.js';
import { MenuBar } from './menus.js';
import { SoundPlayer, Speaker } from './sound.js';
import { startupTexts } from './startup-texts.js';

const FontFamily = "'MS Sans Serif', 'Liberation Sans', Arial, Helvetica, sans-serif";

const $ = (id) => document.getElementById(id);

// Below this width (CSS pixels) the window's column of controls would cover the arm's reach:
// the controls leave the picture for a band beside or below it (style.css, html.band), as they
// do on a touch screen, whose targets grow, and where the column and the open lab panel do not
// fit the height (projector mode on a laptop).
const BandWidth = 1024;
// A page that starts narrower than this (a phone) shows the picture in true proportions unless
// the address says otherwise (?proportions=true or ?proportions=stretched).
const TrueProportionsWidth = 600;

// The texts of a failed start in the language the page asks for or the browser prefers.
function startupText(key) {
  const asked = new URLSearchParams(location.search).get('lang');
  const codes = asked ? [asked] : navigator.languages.map((tag) => tag.slice(0, 2).toLowerCase());
  return startupTexts[codes.find((tag) => tag in startupTexts) ?? 'en'][key];
}

function showProblem(text) {
  $('problem-text').textContent = text;
  if (!window.servoPage) {
    $('problem-reload').textContent = startupText('reload');
  }
  $('problem').hidden = false;
  $('problem-reload').focus();
}
$('problem-reload').addEventListener('click', () => location.reload());

function boldFont(points) {
  return `bold ${points}pt ${FontFamily}`;
}

class Page {
  constructor(module, front) {
    this.module = module;
    this.front = front;
    this.described = JSON.parse(front.describe('page'));
    useOpKinds(this.described.opKinds);
    this.running = false;
    this.lastTime = null;
    this.picture = new Painter($('surface'), this.described.background);
    this.cues = new Painter($('cues'), null);
    this.cues.crisp = false;
    this.shown = {}; // what the page shows of the view, to touch it only on a change
    this.view = null; // the view last applied
    this.lists = { picture: null, cues: null }; // the lists last drawn: [count, address, texts]
    this.printed = []; // the read-outs of the last picture drawn, for the page's tests
    // A touch screen (its primary pointer a finger): decided once, the notice speaks of a finger.
    this.touchScreen = matchMedia('(pointer: coarse)').matches;
    this.sound = new SoundPlayer(this.described.soundMotifs); // nothing plays before the user turns the sound on
    this.speaker = new Speaker(); // nor speaks before the voicing
    this.menus = new MenuBar(this);
    this.lab = new LabView(this);
    this.lesson = new LessonView(this);
    this.law = new LawEditor(this);
    this.challenges = new ChallengesDialog(this);
    this.placeControls();
    this.setProjector(false);
  }

  // The column of controls where the core's layout table places it (a box's place is its
  // label's, which holds the box and its caption).
  placeControls() {
    for (const { name, left, top, width, height } of this.described.controlPlaces) {
      const control = $(`${name}-box`) ?? $(name);
      Object.assign(control.style, {
        left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`,
      });
    }
  }

  // --- start-up: the first half ran in the module; the notice, then the second half ---
  start() {
    this.applyTexts();
    this.bindControls();
    this.bindPointer();
    this.bindKeys();
    // The controls and colours first, so that the page is laid out once, when the surfaces
    // are fitted to it.
    this.refresh();
    this.chooseProportions();
    this.layout();
    this.fitSurfaces();
    new ResizeObserver(() => this.fitSurfaces()).observe($('surface'));
    window.addEventListener('resize', () => this.layout());
    document.addEventListener('visibilitychange', () => this.sound.pause(document.hidden || !this.running));
    const contrast = new URLSearchParams(location.search).get('contrast');
    const asked = matchMedia('(prefers-contrast: more)');
    if (contrast === 'high' || (contrast === null && asked.matches)) {
      this.menus.activateCommand(this.described.commands.highContrast);
    }
    asked.addEventListener('change', () => {
      if (asked.matches !== this.view.lab.highContrast) {
        this.menus.activateCommand(this.described.commands.highContrast);
      }
    });
    const notice = $('notice');
    notice.addEventListener('close', () => {
      this.front.submit('start');
      $('Check1').focus();
      this.lesson.openLink(location.hash); // a shared experiment starts after the notice
      this.refresh();
      this.running = true;
      requestAnimationFrame((time) => this.tick(time));
    }, { once: true });
    notice.showModal();
    performance.mark('servo-ready'); // the module loaded, the window drawn, the notice up
  }

  // Every text of the page's own in the language chosen: the title, the control column, the
  // dialogs and the keys help (the menus and the lab panel take theirs from the same description).
  applyTexts() {
    const d = this.described;
    document.documentElement.lang = d.language;
    document.title = d.title;
    const root = document.documentElement.style;
    root.setProperty('--window-points', `${d.look.windowPoints}pt`);
    root.setProperty('--caption-points', `${d.look.captionPoints}pt`);
    this.caption('Text3', d.captions.chooseServo);
    this.caption('Text2', d.captions.wristAngle);
    $('VScroll1').max = String(d.wrist.max);
    $('VScroll1').setAttribute('aria-label', d.captions.wristAngle);
    $('Command1').textContent = d.captions.open;
    $('Command2').textContent = d.captions.close;
    $('Text1').setAttribute('aria-label', d.captions.explanation);
    $('surface').setAttribute('aria-label', d.captions.surface);
    $('notice-title').textContent = d.captions.noticeTitle;
    $('notice-text').textContent = this.touchScreen ? d.captions.touchNotice : d.captions.notice;
    $('about-title').textContent = d.captions.aboutTitle;
    $('about-text').textContent = d.captions.about;
    $('keys-title').textContent = d.keysHelpTitle;
    $('keys-table').replaceChildren();
    for (const [keys, what] of d.keyHelp) {
      const row = $('keys-table').insertRow();
      row.insertCell().textContent = keys;
      row.insertCell().textContent = what;
    }
    for (const button of document.querySelectorAll('dialog button[value="ok"]')) {
      button.textContent = d.captions.ok;
    }
    $('problem-reload').textContent = d.captions.reload;
  }

  // The picture's proportions at start: the address's choice, else true on a narrow page.
  chooseProportions() {
    const asked = new URLSearchParams(location.search).get('proportions');
    const wanted = asked === 'true' || (asked !== 'stretched' && innerWidth < TrueProportionsWidth);
    if (wanted !== this.view.lab.trueProportions) {
      this.input(`item ${this.view.labMenu[this.lab.positionsOf(this.described.commands.trueProportions)[0]].word}`);
    }
  }

  // The band layout where the column of controls would cover the picture (see BandWidth).
  layout() {
    const root = document.documentElement;
    const style = getComputedStyle(root);
    const menuBar = $('menubar').offsetHeight;
    root.style.setProperty('--menubar-height', `${menuBar}px`);
    const column = parseFloat(style.getPropertyValue('--column-height')) || 0;
    const panel = this.lab.panelOpen() ? parseFloat(getComputedStyle(this.lab.panel).getPropertyValue('--lab-height')) || 0 : 0;
    const editor = this.law.isOpen() ? $('law').offsetHeight : 0;
    // The Challenges dialog, where it stands over the picture, stays above the lab panel.
    root.style.setProperty('--under-picture', `${panel + editor}px`);
    const band = innerWidth < BandWidth || this.touchScreen || menuBar + column + panel + editor > innerHeight;
    if (root.classList.contains('band') !== band) {
      root.classList.toggle('band', band);
      this.redrawCues();
    }
  }

  // After a change of language: every text again, from the module's description in it.
  relabel() {
    this.described = JSON.parse(this.front.describe('page'));
    this.applyTexts();
    this.menus.relabel(this.described);
    this.lab.relabel(this.described);
    this.law.relabel(this.described);
    this.challenges.relabel(this.described);
    this.lesson.texts = this.described.lesson;
    this.refresh();
  }

  // A heading over a group of controls: static text, named by what it shows, in the keyboard's
  // order as in the window.
  caption(id, text) {
    $(id).textContent = text;
  }

  // --- one animation frame: the module runs the passes due by the clock ---
  tick(time) {
    if (!this.running) {
      return;
    }
    try {
      const elapsed = this.lastTime === null ? 0 : (time - this.lastTime) / 1000;
      this.lastTime = time;
      const plot = this.lab.plotArea();
      const shown = JSON.parse(this.front.frame(elapsed, time / 1000, plot.width, plot.height, plot.lineHeight));
      this.present(shown);
      if (shown.sound) {
        this.sound.play(shown.sound); // present only while the sound is on
      }
      this.speak(shown.announcement, shown.pictureName);
      if (shown.view) {
        this.applyView(shown.view);
      }
      this.lab.frameShown(time, shown);
    } catch (error) {
      this.crashed(error);
      return;
    }
    if (this.view.runState !== this.described.runStates.end) {
      requestAnimationFrame((next) => this.tick(next));
    } else {
      this.sound.pause(true);
    }
  }

  present(shown) {
    if (shown.picture) {
      this.lists.picture = shown.picture;
      this.printed = shown.picture[2];
      if (!this.firstFrameMarked) {
        this.firstFrameMarked = true;
        performance.mark('servo-first-frame');
      }
      this.drawList(this.picture, shown.picture);
    }
    if (shown.cues) {
      this.lists.cues = shown.cues;
      this.redrawCues();
    }
  }

  // Draws an encoded list of the module's ([count, address, texts]) on a painter.
  drawList(painter, list) {
    const [count, address, texts] = list ?? [0];
    if (count > 0) {
      painter.draw(this.module.HEAPF32, address, count, (index) => texts[index], this.described.opFloats);
    }
  }

  redrawCues() {
    this.cues.clear();
    this.drawList(this.cues, this.lists.cues);
  }

  crashed(error) {
    this.running = false;
    this.sound.pause(true);
    console.error(error);
    showProblem(this.described.captions.crashed);
  }

  // The picture and its cue layer to their canvases' sizes, the user rectangle placed in them
  // as the module's map says (stretched, or in true proportions).
  fitSurfaces() {
    const canvas = this.picture.canvas;
    const map = JSON.parse(this.front.describe(`picture-map ${canvas.clientWidth} ${canvas.clientHeight}`));
    this.picture.fit(true, map);
    if (this.cues.fit(false, map)) {
      this.redrawCues();
    }
  }

  // The window's colours and the drawing's, in the profile the lab's settings choose; what was
  // drawn on the picture so far takes the new colours.
  applyColours(high) {
    if (this.shown.highContrast === high) {
      return;
    }
    const before = this.shown.highContrast ?? false;
    this.shown.highContrast = high;
    const d = this.described;
    const look = high ? d.looks.highContrast : d.looks.window;
    const root = document.documentElement;
    for (const [name, colour] of [['--form', look.form], ['--window-text', look.text],
      ['--box-text', look.boxText], ['--heading', look.heading], ['--focus', look.focus]]) {
      root.style.setProperty(name, colour);
    }
    root.classList.toggle('high-contrast', high);
    const substitutions = high ? new Map(d.highContrastColours) : null;
    if (before !== high) {
      this.picture.recolour((pixels) => this.front.describe(`recolour ${Number(before)} ${Number(high)} ${pixels.join(' ')}`)
        .split(' ').map(Number));
    }
    this.picture.setColours(substitutions, look.picture);
    this.cues.setColours(substitutions, null);
    this.redrawCues();
    this.lab.setColours(substitutions, look.plot);
  }

  setProjector(on) {
    const p = this.described.projector;
    this.picture.lineWidth = on ? p.stroke / this.picture.ratio : 1;
    this.picture.font = boldFont(on ? p.points : p.readoutPoints);
    this.cues.lineWidth = on ? p.stroke / this.cues.ratio : p.cueStroke;
    this.cues.font = boldFont(on ? p.points : p.cuePoints);
    $('controls').classList.toggle('projector', on);
    const root = document.documentElement.style;
    root.setProperty('--control-scale', on ? p.controlScale : 1);
    // The picture keeps room for the whole column of controls; zoomed in, the page scrolls.
    let right = 0;
    let bottom = 0;
    for (const { left, top, width, height } of this.described.controlPlaces) {
      right = Math.max(right, left + width);
      bottom = Math.max(bottom, top + height);
    }
    const scale = on ? p.controlScale : 1;
    root.setProperty('--column-width', `${Math.ceil(right * scale) + 8}px`);
    root.setProperty('--column-height', `${Math.ceil(bottom * scale) + 8}px`);
    root.setProperty('--lab-panel-size', `${on ? p.projectorPanelPoints : p.panelPoints}pt`);
    if (this.view) {
      this.layout();
    }
    this.redrawCues();
  }

  // Tells the screen reader `text` through the polite live region (nothing for an empty text),
  // and says it aloud while the voicing is on; keeps the picture's accessible name on the
  // one-line summary, changed at most as often as the module paces it.
  speak(text, pictureName = '') {
    if (text) {
      const region = $('announcer');
      // The same words again are a new announcement too.
      region.textContent = region.textContent === text ? `${text}\u00a0` : text;
      if (this.view?.voicing) {
        this.speaker.say(text, this.described.language);
      }
    }
    if (pictureName) {
      $('surface').setAttribute('aria-label', pictureName);
    }
  }

  // A modal box of the page's own: the simulation stands still while it is open.
  showModal(dialog) {
    if (dialog.open) {
      return;
    }
    this.front.submit('modal on');
    dialog.addEventListener('close', () => this.front.submit('modal off'), { once: true });
    dialog.showModal();
  }

  // --- the view: the page shows what the module says, touching it only where it changed ---

  // Calls apply(value) when `value` differs from what was shown under `key` last.
  show(key, value, apply) {
    if (this.shown[key] !== value) {
      this.shown[key] = value;
      apply(value);
    }
  }

  // An input as its line; the view after it is shown at once. Empty, or why it was refused.
  input(line) {
    const refused = this.front.submit(line);
    this.refresh();
    return refused;
  }

  // Shows the view as it stands now.
  refresh() {
    this.applyView(JSON.parse(this.front.describe('view')));
  }

  applyView(view) {
    this.view = view;
    this.applyColours(view.lab.highContrast);
    this.show('trueProportions', view.lab.trueProportions, () => this.fitSurfaces());
    view.boxes.forEach(({ caption, checked, visible, enabled }, index) => {
      const box = index + 1;
      const input = $(`Check${box}`);
      if (input.checked !== checked) {
        input.checked = checked;
      }
      this.show(`box${box}`, caption, (text) => { $(`Check${box}-box`).querySelector('span').textContent = text; });
      this.show(`box${box}.visible`, visible, (on) => { $(`Check${box}-box`).hidden = !on; });
      this.show(`box${box}.enabled`, enabled, (on) => { input.disabled = !on; });
    });
    this.show('columnEnabled', view.columnEnabled, (on) => {
      for (const id of ['VScroll1', 'Command1', 'Command2', 'Command4']) {
        $(id).disabled = !on;
      }
    });
    if (Number($('VScroll1').value) !== view.wristScroll) {
      $('VScroll1').value = String(view.wristScroll);
    }
    this.show('pathCaption', view.pathCaption, (text) => { $('Command4').textContent = text; });
    this.show('explanation', view.explanation, (text) => {
      $('Text1').value = text;
      $('Text1').scrollTop = 0;
    });
    this.sound.apply(view.sound);
    this.show('voicing', view.voicing, (on) => on || this.speaker.hush());
    this.menus.applyView(view);
    this.lab.applyView(view);
    this.lesson.applyView(view);
    this.law.applyView(view);
    this.challenges.applyView(view);
  }

  bindControls() {
    for (let box = 1; box <= this.described.boxes.length; box++) {
      // Every press of a box, any button, goes to the module before the click toggles it.
      $(`Check${box}-box`).addEventListener('pointerdown', () => this.input(`box-press ${box}`));
      $(`Check${box}`).addEventListener('change', () => this.input(`box-click ${box}`));
    }
    for (const [id, line] of [['Command1', 'open'], ['Command2', 'close'], ['Command4', 'path']]) {
      $(id).addEventListener('click', () => this.input(line));
    }
    const scroll = $('VScroll1');
    scroll.addEventListener('input', () => this.input(`scroll ${scroll.value}`));
    scroll.addEventListener('keydown', (event) => {
      // The scroll bar's own steps; up is toward 0.
      const { line, page, max } = this.described.wrist;
      const steps = { ArrowUp: -line, ArrowLeft: -line, ArrowDown: line, ArrowRight: line, PageUp: -page, PageDown: page };
      let value = null;
      if (event.key in steps) {
        value = Number(scroll.value) + steps[event.key];
      } else if (event.key === 'Home') {
        value = 0;
      } else if (event.key === 'End') {
        value = max;
      }
      if (value !== null && !event.ctrlKey && !event.altKey) {
        event.preventDefault();
        scroll.value = String(value); // kept within the bar's range, as a scroll bar does
        this.input(`scroll ${scroll.value}`);
      }
    });
    document.addEventListener('contextmenu', (event) => event.preventDefault());
  }

  // --- pointer input on the surface: mouse, pen and touch alike ---
  bindPointer() {
    const canvas = $('surface');
    // The pointer's place in window units: the picture's map, backwards.
    const user = (event) => {
      const box = canvas.getBoundingClientRect();
      const { left, top, scaleX, scaleY, offsetX, offsetY } = this.picture.map;
      const x = left + (event.clientX - box.left - offsetX) / scaleX;
      const y = top + (event.clientY - box.top - offsetY) / scaleY;
      return `${Math.fround(x)} ${Math.fround(y)}`;
    };
    canvas.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      canvas.setPointerCapture(event.pointerId);
      this.front.submit(`press ${user(event)}`);
    });
    canvas.addEventListener('keydown', (event) => {
      // The target by keyboard while the picture has the focus (the core knows which keys move
      // it how far); other keys go on to the menus.
      if (event.ctrlKey || event.metaKey || event.altKey) {
        return;
      }
      const key = event.key.replace(/^Arrow/, '');
      if (this.described.pictureKeys.includes(key)) {
        event.preventDefault();
        event.stopPropagation();
        this.front.submit(`key ${key}${event.shiftKey ? ' shift' : ''}`);
      }
    });
    canvas.addEventListener('pointermove', (event) => this.front.submit(`move ${user(event)}`));
    for (const type of ['pointerup', 'pointercancel']) {
      canvas.addEventListener(type, () => this.front.submit('release'));
    }
  }

  // --- the keys of every menu item, from the module's tables ---
  bindKeys() {
    window.addEventListener('keydown', (event) => {
      if (document.querySelector('dialog[open]:not(.non-modal)')) {
        return; // a modal box takes its own keys
      }
      if (this.menus.key(event)) {
        event.preventDefault();
      }
    });
  }
}

async function main() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    showProblem(startupText('noWebAssembly'));
    return;
  }
  let page = null;
  let module;
  try {
    const { default: createServoModule } = await import('./servo-web.js');
    module = await createServoModule({
      onAbort: (what) => {
        if (page) {
          page.crashed(what);
        } else {
          showProblem(startupText('notStarted'));
        }
      },
    });
  } catch (error) {
    console.error(error);
    showProblem(startupText('notLoaded').replace('%s', error && error.message ? error.message : error));
    return;
  }
  // The language: ?lang=xx when the simulator speaks it (another code is English), else the
  // first of the browser's languages that it speaks.
  const front = new module.WebFrontEnd();
  const asked = new URLSearchParams(location.search).get('lang');
  front.submit(`language ${asked ?? front.describe(`preferred-language ${navigator.languages.join(',')}`)}`);
  page = new Page(module, front);
  window.servoPage = page; // for the page's own tests
  page.start();
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('./sw.js').catch((error) => console.warn('no offline copy:', error));
  }
}

main();
