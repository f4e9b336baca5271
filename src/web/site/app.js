// The browser edition's page: loads the simulator's WebAssembly module, mirrors its control
// panel in HTML controls, forwards pointer, key and control events to it, and draws what it
// draws, one pass per animation frame. No rule of the simulation lives here.
import { Painter } from './painter.js';
import { LabView } from './lab.js';

const RunRunning = 2;
const RunStopped = 3;
const RunEnd = 1;
const Surface = { left: 120, top: 0, right: 450, bottom: 130 };
const Background = 'rgb(63, 150, 192)';
const ReadoutFont = "bold 8.25pt 'MS Sans Serif', 'Liberation Sans', Arial, Helvetica, sans-serif";
const ProjectorFont = "bold 24pt 'MS Sans Serif', 'Liberation Sans', Arial, Helvetica, sans-serif";
const CueFont = "bold 11pt 'MS Sans Serif', 'Liberation Sans', Arial, Helvetica, sans-serif";
const Lists = { picture: 0, cues: 1, plot: 2 };

const $ = (id) => document.getElementById(id);

function showProblem(text) {
  $('problem-text').textContent = text;
  $('problem').hidden = false;
  $('problem-reload').focus();
}
$('problem-reload').addEventListener('click', () => location.reload());

class Page {
  constructor(module) {
    this.module = module;
    this.front = new module.WebFrontEnd();
    this.running = false;
    this.lastTime = null;
    this.picture = new Painter($('surface'), Background);
    this.picture.font = ReadoutFont;
    this.cues = new Painter($('cues'), null);
    this.cues.crisp = false;
    this.cues.font = CueFont;
    this.cues.lineWidth = 1.5;
    this.shown = {}; // what the controls show, to touch the page only on a change
    this.printed = [];
    this.lab = new LabView(this);
  }

  // --- start-up: the first half, the notice, then the second half and the passes ---
  start() {
    for (let box = 1; box <= 7; box++) {
      $(`Check${box}-box`).querySelector('span').textContent = this.module.captionOf(box);
    }
    this.bindControls();
    this.bindPointer();
    this.bindKeys();
    this.fitSurfaces();
    new ResizeObserver(() => this.fitSurfaces()).observe($('workspace'));
    this.front.startUpUntilNotice();
    this.sync();
    const notice = $('notice');
    notice.addEventListener('close', () => {
      this.front.startUpAfterNotice();
      this.sync();
      $('Check1').focus();
      this.running = true;
      requestAnimationFrame((time) => this.tick(time));
    }, { once: true });
    notice.showModal();
    performance.mark('servo-ready'); // the module loaded, the window drawn, the notice up
  }

  // --- one pass per animation frame; the browser runs none in a hidden tab ---
  tick(time) {
    if (!this.running) {
      return;
    }
    try {
      const elapsed = this.lastTime === null ? 0 : (time - this.lastTime) / 1000;
      this.lastTime = time;
      if (!$('about').open) { // the simulation stands still while About is open
        this.front.frame(elapsed);
      }
      this.present();
      this.syncFrame();
      this.lab.frameShown();
    } catch (error) {
      this.crashed(error);
      return;
    }
    if (this.front.runState() !== RunEnd) {
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
    if (list === Lists.picture && performance.getEntriesByName('servo-first-frame').length === 0) {
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
    showProblem('The simulator stopped because of an internal error. Reload the page to start again.');
  }

  fitSurfaces() {
    for (const painter of [this.picture, this.cues]) {
      const canvas = painter.canvas;
      painter.map = {
        left: Surface.left,
        top: Surface.top,
        scaleX: canvas.clientWidth / (Surface.right - Surface.left),
        scaleY: canvas.clientHeight / (Surface.bottom - Surface.top),
      };
    }
    this.picture.fit(true);
    if (this.cues.fit(false) && this.front) {
      this.cues.clear();
      this.drawList(this.cues, Lists.cues);
    }
  }

  setProjector(on) {
    this.picture.lineWidth = on ? 3 / this.picture.ratio : 1;
    this.picture.font = on ? ProjectorFont : ReadoutFont;
    this.cues.lineWidth = on ? 3 / this.cues.ratio : 1.5;
    this.cues.font = on ? ProjectorFont : CueFont;
    $('controls').classList.toggle('projector', on);
    this.cues.clear();
    this.drawList(this.cues, Lists.cues);
  }

  // --- the controls mirror the module's panel ---
  sync() {
    for (let box = 1; box <= 7; box++) {
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
    this.lab.sync();
  }

  syncFrame() {
    const visible = this.front.elbowBoxesVisible();
    if (this.shown.elbows !== visible) {
      this.shown.elbows = visible;
      for (let box = 4; box <= 7; box++) {
        $(`Check${box}-box`).hidden = !visible;
      }
    }
  }

  act(action) {
    action();
    this.sync();
  }

  bindControls() {
    for (let box = 1; box <= 7; box++) {
      const holder = $(`Check${box}-box`);
      const input = $(`Check${box}`);
      if (box <= 3) {
        // A servo box acts on the press of any button, before the click toggles it.
        holder.addEventListener('pointerdown', () => this.act(() => this.front.servoBoxPressed(box)));
      }
      input.addEventListener('change', () => this.act(() => this.front.toggleBox(box)));
    }
    $('Command1').addEventListener('click', () => this.act(() => this.front.openGripper()));
    $('Command2').addEventListener('click', () => this.act(() => this.front.closeGripper()));
    $('Command4').addEventListener('click', () => this.act(() => this.front.pathClicked()));
    const scroll = $('VScroll1');
    scroll.addEventListener('input', () => this.act(() => this.front.setWristScroll(Number(scroll.value))));
    scroll.addEventListener('keydown', (event) => {
      // The scroll bar's own steps: 1000 a line, 4000 a page; up is toward 0.
      const steps = { ArrowUp: -1000, ArrowLeft: -1000, ArrowDown: 1000, ArrowRight: 1000, PageUp: -4000, PageDown: 4000 };
      let value = null;
      if (event.key in steps) {
        value = Number(scroll.value) + steps[event.key];
      } else if (event.key === 'Home') {
        value = 0;
      } else if (event.key === 'End') {
        value = 32767;
      }
      if (value !== null && !event.ctrlKey && !event.altKey) {
        event.preventDefault();
        this.act(() => this.front.setWristScroll(Math.max(0, Math.min(32767, value))));
      }
    });
    for (const id of ['Text2', 'Text3']) {
      const heading = $(id);
      heading.addEventListener('input', () => { heading.value = heading.defaultValue; });
    }
    $('menu-run').addEventListener('click', () => this.act(() => this.front.run()));
    $('menu-stop').addEventListener('click', () => this.act(() => this.front.stop()));
    $('menu-grid').addEventListener('click', () => this.act(() => this.front.grid()));
    $('menu-about').addEventListener('click', () => this.showAbout());
    document.addEventListener('contextmenu', (event) => event.preventDefault());
  }

  showAbout() {
    const about = $('about');
    if (!about.open) {
      about.showModal();
    }
  }

  // --- pointer input on the surface: mouse, pen and touch alike ---
  bindPointer() {
    const canvas = $('surface');
    const user = (event) => {
      const box = canvas.getBoundingClientRect();
      return [
        Surface.left + (event.clientX - box.left) * (Surface.right - Surface.left) / box.width,
        Surface.top + (event.clientY - box.top) * (Surface.bottom - Surface.top) / box.height,
      ];
    };
    canvas.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      canvas.setPointerCapture(event.pointerId);
      const [x, y] = user(event);
      this.front.pointerPressed(x, y);
    });
    canvas.addEventListener('pointermove', (event) => {
      const [x, y] = user(event);
      this.front.pointerMoved(x, y);
    });
    for (const type of ['pointerup', 'pointercancel']) {
      canvas.addEventListener(type, () => this.front.pointerReleased());
    }
  }

  // --- the window's keys, and the lab's ---
  bindKeys() {
    window.addEventListener('keydown', (event) => {
      if (document.querySelector('dialog[open]')) {
        return; // a modal box takes its own keys
      }
      const key = event.key;
      const ctrl = event.ctrlKey || event.metaKey;
      let handled = true;
      if (key === 'Escape' && !ctrl) {
        this.act(() => this.front.stop());
      } else if (key === 'F5') {
        this.act(() => this.front.run());
      } else if (ctrl && (key === 'g' || key === 'G')) {
        this.act(() => this.front.grid());
      } else if (key === 'F1') {
        this.showAbout();
      } else if (event.altKey && !ctrl && key.length === 1) {
        const item = document.querySelector(`#menubar [data-key="${key.toLowerCase()}"]`);
        if (item) {
          item.click();
        } else {
          handled = false;
        }
      } else {
        handled = this.lab.key(event);
      }
      if (handled) {
        event.preventDefault();
      }
    });
  }
}

async function main() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    showProblem('This browser cannot run WebAssembly, which the simulator needs. ' +
      'Any current version of Chrome, Edge, Firefox or Safari can.');
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
          showProblem('The simulator could not start. Reload the page to try again.');
        }
      },
    });
  } catch (error) {
    console.error(error);
    showProblem('The simulator could not be loaded (' + (error && error.message ? error.message : error) +
      '). Check the connection and reload the page.');
    return;
  }
  page = new Page(module);
  window.servoPage = page; // for the page's own tests
  page.start();
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('./sw.js').catch((error) => console.warn('no offline copy:', error));
  }
}

main();
