// The browser edition's page: loads the simulator's WebAssembly module, builds its window from
// the module's description (menus, keys, captions, texts), mirrors its control panel in HTML
// controls, forwards pointer, key and control events to it, and draws what it draws, paced by
// the module once per animation frame. No rule of the simulation lives here.
import { Painter, useOpKinds } from './painter.js';
import { LabView } from './lab.js';
import { LessonView } from './lesson.js';
import { MenuBar } from './menus.js';
import { startupTexts } from './startup-texts.js';

const Lists = { picture: 0, cues: 1, plot: 2 };
const FontFamily = "'MS Sans Serif', 'Liberation Sans', Arial, Helvetica, sans-serif";

const $ = (id) => document.getElementById(id);

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
  constructor(module) {
    this.module = module;
    this.described = JSON.parse(module.description());
    useOpKinds(this.described.opKinds);
    this.front = new module.WebFrontEnd();
    this.running = false;
    this.lastTime = null;
    this.picture = new Painter($('surface'), this.described.background);
    this.cues = new Painter($('cues'), null);
    this.cues.crisp = false;
    this.shown = {}; // what the controls show, to touch the page only on a change
    this.printed = [];
    // A touch screen (its primary pointer a finger): decided once, the notice speaks of a finger.
    this.touchScreen = matchMedia('(pointer: coarse)').matches;
    this.menus = new MenuBar(this);
    this.lab = new LabView(this);
    this.lesson = new LessonView(this);
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
    this.sync();
    this.fitSurfaces();
    new ResizeObserver(() => this.fitSurfaces()).observe($('workspace'));
    const contrast = new URLSearchParams(location.search).get('contrast');
    const asked = matchMedia('(prefers-contrast: more)');
    if (contrast === 'high' || (contrast === null && asked.matches)) {
      this.menus.activateCommand(this.described.commands.highContrast);
    }
    asked.addEventListener('change', () => {
      if (asked.matches !== this.front.highContrast()) {
        this.menus.activateCommand(this.described.commands.highContrast);
      }
    });
    this.sync();
    const notice = $('notice');
    notice.addEventListener('close', () => {
      this.front.startUpAfterNotice();
      this.lesson.openLink(location.hash); // a shared experiment starts after the notice
      this.sync();
      $('Check1').focus();
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
    for (let box = 1; box <= d.boxes.length; box++) {
      $(`Check${box}-box`).querySelector('span').textContent = d.boxes[box - 1];
    }
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

  // After a change of language: every text again, from the module's description in it.
  relabel() {
    this.described = JSON.parse(this.module.description());
    this.applyTexts();
    this.menus.relabel(this.described);
    this.lab.relabel(this.described);
    this.lesson.texts = this.described.lesson;
    this.shown.explanation = null;
    this.sync();
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
      this.front.frame(elapsed);
      this.present();
      this.speak(this.front.announcement(time / 1000));
      this.syncFrame();
      this.lab.frameShown(time);
      if (this.front.playing() || this.lesson.shown.playing) {
        this.sync(); // a replay sets the controls as the user did
      }
    } catch (error) {
      this.crashed(error);
      return;
    }
    if (this.front.runState() !== this.described.runStates.end) {
      requestAnimationFrame((next) => this.tick(next));
    }
  }

  present() {
    if (this.front.takePicture()) {
      this.drawList(this.picture, Lists.picture);
    }
    if (this.front.refreshCues()) {
      this.cues.clear();
      this.drawList(this.cues, Lists.cues);
    }
  }

  drawList(painter, list) {
    if (list === Lists.picture && !this.firstFrameMarked) {
      this.firstFrameMarked = true;
      performance.mark('servo-first-frame');
    }
    const count = this.front.opCount(list);
    if (list === Lists.picture) {
      this.printed = []; // the read-outs of the last frame drawn, for the page's tests
    }
    if (count > 0) {
      painter.draw(this.module.HEAPF32, this.front.opAddress(list), count,
        (index) => {
          const text = this.front.opText(list, index);
          if (list === Lists.picture) {
            this.printed.push(text);
          }
          return text;
        }, this.module.OpFloats);
    }
  }

  crashed(error) {
    this.running = false;
    console.error(error);
    showProblem(this.described.captions.crashed);
  }

  fitSurfaces() {
    const rect = this.described.surfaceRect;
    for (const painter of [this.picture, this.cues]) {
      const canvas = painter.canvas;
      painter.map = {
        left: rect.left,
        top: rect.top,
        scaleX: canvas.clientWidth / (rect.right - rect.left),
        scaleY: canvas.clientHeight / (rect.bottom - rect.top),
      };
    }
    this.picture.fit(true);
    if (this.cues.fit(false) && this.front) {
      this.cues.clear();
      this.drawList(this.cues, Lists.cues);
    }
  }

  // The window's colours and the drawing's, in the profile the lab's settings choose; what was
  // drawn on the picture so far takes the new colours.
  applyColours() {
    const high = this.front.highContrast();
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
      this.picture.recolour((pixel) => this.module.recolouredPixel(pixel, before, high));
    }
    this.picture.setColours(substitutions, look.picture);
    this.cues.setColours(substitutions, null);
    this.cues.clear();
    this.drawList(this.cues, Lists.cues);
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
    for (const control of $('controls').children) {
      right = Math.max(right, control.offsetLeft + control.offsetWidth);
      bottom = Math.max(bottom, control.offsetTop + control.offsetHeight);
    }
    const scale = on ? p.controlScale : 1;
    root.setProperty('--column-width', `${Math.ceil(right * scale) + 8}px`);
    root.setProperty('--column-height', `${Math.ceil(bottom * scale) + 8}px`);
    root.setProperty('--lab-panel-size', `${on ? p.projectorPanelPoints : p.panelPoints}pt`);
    this.cues.clear();
    this.drawList(this.cues, Lists.cues);
  }

  // Tells the screen reader `text` through the polite live region (nothing for an empty text)
  // and keeps the picture's accessible name on the one-line summary, changed at most as often
  // as the module paces it.
  speak(text) {
    if (text) {
      const region = $('announcer');
      // The same words again are a new announcement too.
      region.textContent = region.textContent === text ? `${text}\u00a0` : text;
    }
    const name = this.front.pictureName(performance.now() / 1000);
    if (name) {
      $('surface').setAttribute('aria-label', name);
    }
  }

  // A modal box of the page's own: the simulation stands still while it is open.
  showModal(dialog) {
    if (dialog.open) {
      return;
    }
    this.front.setModalOpen(true);
    dialog.addEventListener('close', () => this.front.setModalOpen(false), { once: true });
    dialog.showModal();
  }

  // --- the controls mirror the module's panel ---
  sync() {
    this.applyColours();
    for (let box = 1; box <= this.described.boxes.length; box++) {
      const checked = this.front.isChecked(box);
      if ($(`Check${box}`).checked !== checked) {
        $(`Check${box}`).checked = checked;
      }
    }
    const text = this.front.explanation();
    if (this.shown.explanation !== text) {
      this.shown.explanation = text;
      $('Text1').value = text;
      $('Text1').scrollTop = 0;
    }
    const caption = this.front.pathCaption();
    if ($('Command4').textContent !== caption) {
      $('Command4').textContent = caption;
    }
    const scroll = this.front.wristScroll();
    if (Number($('VScroll1').value) !== scroll) {
      $('VScroll1').value = String(scroll);
    }
    this.syncFrame();
    this.menus.sync();
    this.lab.sync();
    this.lesson.sync();
  }

  syncFrame() {
    const visible = this.front.elbowBoxesVisible();
    if (this.shown.elbows !== visible) {
      this.shown.elbows = visible;
      for (const holder of document.querySelectorAll('.box.elbow')) {
        holder.hidden = !visible;
      }
    }
  }

  act(action) {
    action();
    this.sync();
  }

  bindControls() {
    for (let box = 1; box <= this.described.boxes.length; box++) {
      const holder = $(`Check${box}-box`);
      const input = $(`Check${box}`);
      // Every press of a box, any button, goes to the module before the click toggles it.
      holder.addEventListener('pointerdown', () => this.act(() => this.front.boxPressed(box)));
      input.addEventListener('change', () => this.act(() => this.front.toggleBox(box)));
    }
    $('Command1').addEventListener('click', () => this.act(() => this.front.openGripper()));
    $('Command2').addEventListener('click', () => this.act(() => this.front.closeGripper()));
    $('Command4').addEventListener('click', () => this.act(() => this.front.pathClicked()));
    const scroll = $('VScroll1');
    scroll.addEventListener('input', () => this.act(() => this.front.setWristScroll(Number(scroll.value))));
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
        this.act(() => this.front.setWristScroll(value));
      }
    });
    document.addEventListener('contextmenu', (event) => event.preventDefault());
  }

  // --- pointer input on the surface: mouse, pen and touch alike ---
  bindPointer() {
    const canvas = $('surface');
    const rect = this.described.surfaceRect;
    const user = (event) => {
      const box = canvas.getBoundingClientRect();
      return [
        rect.left + (event.clientX - box.left) * (rect.right - rect.left) / box.width,
        rect.top + (event.clientY - box.top) * (rect.bottom - rect.top) / box.height,
      ];
    };
    canvas.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      canvas.setPointerCapture(event.pointerId);
      const [x, y] = user(event);
      this.front.pointerPressed(x, y);
    });
    canvas.addEventListener('keydown', (event) => {
      // The target by keyboard while the picture has the focus; other keys go on to the menus.
      const { step, fineStep } = this.described.targetKeys;
      const by = event.shiftKey ? fineStep : step;
      const moves = { ArrowLeft: [-by, 0], ArrowRight: [by, 0], ArrowUp: [0, -by], ArrowDown: [0, by] };
      if (event.ctrlKey || event.metaKey || event.altKey || !(event.key in moves || event.key === 'Home')) {
        return;
      }
      event.preventDefault();
      event.stopPropagation();
      if (event.key === 'Home') {
        this.front.targetHome();
      } else {
        this.front.targetKey(...moves[event.key]);
      }
    });
    canvas.addEventListener('pointermove', (event) => {
      const [x, y] = user(event);
      this.front.pointerMoved(x, y);
    });
    for (const type of ['pointerup', 'pointercancel']) {
      canvas.addEventListener(type, () => this.front.pointerReleased());
    }
  }

  // --- the keys of every menu item, from the module's tables ---
  bindKeys() {
    window.addEventListener('keydown', (event) => {
      if (document.querySelector('dialog[open]')) {
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
  const asked = new URLSearchParams(location.search).get('lang');
  module.setLanguage(asked ?? module.preferredLanguage(navigator.languages.join(',')));
  page = new Page(module);
  window.servoPage = page; // for the page's own tests
  page.start();
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('./sw.js').catch((error) => console.warn('no offline copy:', error));
  }
}

main();
