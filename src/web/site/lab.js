// The lab in the page: the "Lab" menu, the panel with the error plot, its figures and the
// lab's controls, and the lab's keys. Every control acts on the module; the menu and the
// panel show the module's settings.
import { Painter } from './painter.js';

const PlotBackground = 'rgb(22, 44, 64)';
const GainStep = 0.1;
const CueNames = ['Target Marker', 'Out of Reach', 'Stopped Banner', 'Ghosts and Reach'];

const $ = (id) => document.getElementById(id);

export class LabView {
  constructor(page) {
    this.page = page;
    this.front = page.front;
    this.module = page.module;
    this.menu = $('lab-menu');
    this.menuButton = $('menu-lab');
    this.panel = $('lab');
    this.plot = new Painter($('plot'), PlotBackground);
    this.plot.crisp = false;
    this.items = {};
    this.shown = {};
    this.buildMenu();
    this.buildPanel();
  }

  // --- the menu ---
  buildMenu() {
    const add = (caption, keys, action, role = 'menuitem') => {
      const item = document.createElement('button');
      item.setAttribute('role', role);
      item.innerHTML = `<span></span><span class="keys"></span>`;
      item.firstChild.textContent = caption;
      item.lastChild.textContent = keys;
      item.addEventListener('click', () => {
        this.closeMenu();
        action();
      });
      this.menu.append(item);
      return item;
    };
    const rule = () => this.menu.append(document.createElement('hr'));
    this.items.panel = add('Lab Panel', 'Ctrl+L', () => this.togglePanel(), 'menuitemcheckbox');
    rule();
    this.items.speeds = [];
    for (let i = 0; i < this.module.speedCount(); i++) {
      this.items.speeds.push(add(this.module.speedCaption(i), '', () => this.act(() => this.front.setSpeed(i)),
        'menuitemradio'));
    }
    this.items.slower = add('Slower', 'Ctrl+[', () => this.act(() => this.front.slower()));
    this.items.faster = add('Faster', 'Ctrl+]', () => this.act(() => this.front.faster()));
    this.items.step = add('Step', 'F6', () => this.act(() => this.front.step()));
    rule();
    this.items.gain = add('', '', () => {});
    this.items.gain.disabled = true;
    this.items.gainUp = add('Gain Up', 'Ctrl+Up', () => this.changeGain(GainStep));
    this.items.gainDown = add('Gain Down', 'Ctrl+Down', () => this.changeGain(-GainStep));
    rule();
    this.items.cues = CueNames.map((name, which) =>
      add(name, `Ctrl+${which + 1}`, () => this.toggleCue(which), 'menuitemcheckbox'));
    this.items.projector = add('Projector Mode', 'F8', () => this.toggleProjector(), 'menuitemcheckbox');
    rule();
    this.items.reset = add('Reset', 'Ctrl+R', () => this.reset());

    this.menuButton.addEventListener('click', () => (this.menu.hidden ? this.openMenu() : this.closeMenu()));
    document.addEventListener('pointerdown', (event) => {
      if (!this.menu.hidden && !event.target.closest('.menu-holder')) {
        this.closeMenu();
      }
    });
    this.menu.addEventListener('keydown', (event) => {
      const items = [...this.menu.querySelectorAll('button:not(:disabled)')];
      const at = items.indexOf(document.activeElement);
      if (event.key === 'Escape') {
        this.closeMenu();
        this.menuButton.focus();
      } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
        const next = (at + (event.key === 'ArrowDown' ? 1 : items.length - 1)) % items.length;
        items[next].focus();
      } else {
        return;
      }
      event.preventDefault();
      event.stopPropagation();
    });
  }

  openMenu() {
    this.sync();
    this.menu.hidden = false;
    this.menuButton.setAttribute('aria-expanded', 'true');
    this.menu.querySelector('button:not(:disabled)').focus();
  }

  closeMenu() {
    this.menu.hidden = true;
    this.menuButton.setAttribute('aria-expanded', 'false');
  }

  // --- the panel ---
  buildPanel() {
    const speed = $('lab-speed');
    for (let i = 0; i < this.module.speedCount(); i++) {
      speed.append(new Option(this.module.speedCaption(i), String(i)));
    }
    speed.addEventListener('change', () => this.act(() => this.front.setSpeed(Number(speed.value))));
    $('lab-step').addEventListener('click', () => this.act(() => this.front.step()));
    $('lab-reset').addEventListener('click', () => this.reset());
    const gain = $('lab-gain');
    gain.max = String(this.module.maxGain());
    gain.addEventListener('change', () => this.setGain(Number(gain.value)));
    const slider = $('lab-gain-slider');
    slider.max = String(Math.round(this.module.maxGain() / GainStep));
    slider.addEventListener('input', () => this.setGain(Number(slider.value) * GainStep));
    const cues = $('lab-cues');
    this.cueBoxes = CueNames.map((name, which) => {
      const label = document.createElement('label');
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.addEventListener('change', () => this.toggleCue(which));
      label.append(box, ` ${name}`);
      cues.append(label);
      return box;
    });
    const projector = document.createElement('label');
    this.projectorBox = document.createElement('input');
    this.projectorBox.type = 'checkbox';
    this.projectorBox.addEventListener('change', () => this.toggleProjector());
    projector.append(this.projectorBox, ' Projector mode');
    cues.append(projector);
  }

  togglePanel() {
    this.panel.hidden = !this.panel.hidden;
    this.page.fitSurfaces();
    this.sync();
  }

  // --- actions ---
  act(action) {
    action();
    this.page.sync();
  }

  setGain(value) {
    const rounded = Math.round(value / GainStep) * GainStep;
    this.act(() => this.front.setGain(Math.min(this.module.maxGain(), Math.max(0, rounded))));
  }

  changeGain(delta) {
    this.setGain(this.front.gain() + delta);
  }

  toggleCue(which) {
    this.act(() => this.front.setCue(which, !this.front.cue(which)));
  }

  toggleProjector() {
    const on = !this.front.projector();
    this.front.setProjector(on);
    this.page.setProjector(on);
    this.panel.classList.toggle('projector', on);
    this.page.fitSurfaces();
    this.page.sync();
  }

  reset() {
    this.act(() => this.front.reset());
  }

  // The lab's keys; true when the key was one of them.
  key(event) {
    const ctrl = event.ctrlKey || event.metaKey;
    const key = event.key;
    if (ctrl && (key === 'l' || key === 'L')) {
      this.togglePanel();
    } else if (ctrl && key === '[') {
      this.act(() => this.front.slower());
    } else if (ctrl && key === ']') {
      this.act(() => this.front.faster());
    } else if (key === 'F6') {
      this.act(() => this.front.step());
    } else if (ctrl && key === 'ArrowUp') {
      this.changeGain(GainStep);
    } else if (ctrl && key === 'ArrowDown') {
      this.changeGain(-GainStep);
    } else if (ctrl && ['1', '2', '3', '4'].includes(key)) {
      this.toggleCue(Number(key) - 1);
    } else if (key === 'F8') {
      this.toggleProjector();
    } else if (ctrl && (key === 'r' || key === 'R')) {
      this.reset();
    } else {
      return false;
    }
    return true;
  }

  // --- showing the settings ---
  sync() {
    const speed = this.front.speed();
    this.items.speeds.forEach((item, i) => item.setAttribute('aria-checked', String(i === speed)));
    this.items.slower.disabled = speed === 0;
    this.items.faster.disabled = speed === this.module.speedCount() - 1;
    this.items.panel.setAttribute('aria-checked', String(!this.panel.hidden));
    const gain = this.front.gain();
    this.items.gain.firstChild.textContent = `Gain: ${gain.toFixed(1)}`;
    CueNames.forEach((name, which) => {
      const on = this.front.cue(which);
      this.items.cues[which].setAttribute('aria-checked', String(on));
      this.cueBoxes[which].checked = on;
    });
    const projector = this.front.projector();
    this.items.projector.setAttribute('aria-checked', String(projector));
    this.projectorBox.checked = projector;
    $('lab-speed').value = String(speed);
    if (document.activeElement !== $('lab-gain')) {
      $('lab-gain').value = gain.toFixed(1);
    }
    $('lab-gain-slider').value = String(Math.round(gain / GainStep));
  }

  frameShown() {
    if (this.panel.hidden) {
      return;
    }
    const canvas = this.plot.canvas;
    this.plot.fit(false);
    const c = this.plot.context;
    const style = getComputedStyle(this.panel);
    const size = parseFloat(style.fontSize) || 12;
    this.plot.font = `${size}px 'Liberation Sans', Arial, Helvetica, sans-serif`;
    c.font = this.plot.font;
    const lineHeight = size * 1.25;
    this.front.drawPlot(canvas.clientWidth, canvas.clientHeight, lineHeight,
      c.measureText('-000.00').width, c.measureText('elevation error (degrees)').width + 24,
      c.measureText('now').width - lineHeight + 8);
    this.page.drawList(this.plot, 2);
    const figures = this.front.figures();
    if (this.shown.figures !== figures) {
      this.shown.figures = figures;
      $('figures').textContent = figures;
    }
  }
}
