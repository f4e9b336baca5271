// The lab panel in the page: the error plot, its figures and the lab's controls, built from the
// module's Lab menu table. Every control sends the module its input line (a menu item's, an
// entry's or a choice's), and shows what the module's view says, so the panel and the menu
// always agree.
import { Painter } from './painter.js';

const $ = (id) => document.getElementById(id);
const LabList = 1;

export class LabView {
  constructor(page) {
    this.page = page;
    this.front = page.front;
    this.described = page.described;
    this.panel = $('lab');
    this.plot = new Painter($('plot'), this.described.plot.background);
    this.plot.crisp = false;
    this.shown = {};
    this.figures = null; // the line under the plot, as the module last sent it
    this.list = null; // the plot's list last sent: [count, address, texts]
    this.panelStyle = getComputedStyle(this.panel); // live: follows projector mode
    // The plot's size and the panel's font and colours are read again only after a change.
    this.layoutStale = true;
    new ResizeObserver(() => { this.layoutStale = true; }).observe($('plot'));
    this.buildPanel();
  }

  // The positions in the Lab menu of the items of a command.
  positionsOf(command) {
    const found = [];
    this.described.labMenu.forEach((item, position) => {
      if (item.command === command) {
        found.push(position);
      }
    });
    return found;
  }

  buildPanel() {
    const d = this.described;
    const commands = d.commands;
    const perform = (position) => this.page.menus.activate(LabList, position);
    const speed = $('lab-speed');
    this.speedPositions = this.positionsOf(commands.speed);
    this.speedPositions.forEach((position, index) => {
      speed.append(new Option('', String(index)));
    });
    speed.addEventListener('change', () => perform(this.speedPositions[Number(speed.value)]));

    this.stepPosition = this.positionsOf(commands.step)[0];
    this.resetPosition = this.positionsOf(commands.reset)[0];
    for (const [id, position] of [['lab-step', this.stepPosition], ['lab-reset', this.resetPosition]]) {
      $(id).addEventListener('click', () => perform(position));
    }

    const entries = [['lab-gain', 'enter-gain', d.gain], ['lab-damping', 'enter-lambda', d.damping]];
    for (const [id, word, { max, step }] of entries) {
      const entry = $(id);
      entry.max = String(max);
      entry.step = String(step);
      entry.addEventListener('change', () => this.page.input(`${word} ${Number(entry.value)}`));
      // What the module made of it shows once the entry is left.
      entry.addEventListener('blur', () => this.applyEntries(this.page.view));
    }
    const slider = $('lab-gain-slider');
    slider.max = String(Math.round(d.gain.max / d.gain.step));
    slider.addEventListener('input', () => this.page.input(`enter-gain ${Number(slider.value) * d.gain.step}`));

    // The scheme and race boxes: each choice's value is the input line that chooses it.
    for (const [id, choices] of [['lab-scheme', d.schemes], ['lab-race', d.races]]) {
      const list = $(id);
      for (const [, line] of choices) {
        list.append(new Option('', line));
      }
      list.addEventListener('change', () => this.page.input(list.value));
    }

    this.buildDynamicsRow();
    const cues = $('lab-cues');
    this.boxes = [];
    for (const position of [...this.positionsOf(commands.cue), ...this.positionsOf(commands.projector),
      ...this.positionsOf(commands.highContrast), ...this.positionsOf(commands.trueProportions)]) {
      const label = document.createElement('label');
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.addEventListener('change', () => perform(position));
      label.append(box, document.createElement('span'));
      cues.append(label);
      this.boxes.push([box, position]);
    }
    this.relabel(d);
  }

  // The dynamics row: the Dynamics box and the motor law act through the Lab menu's items, the
  // entries send their inputs; what the module made of them shows once an entry is left.
  buildDynamicsRow() {
    const d = this.described;
    const perform = (position) => this.page.menus.activate(LabList, position);
    const row = $('lab-dynamics');
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    const dynamicsPosition = this.positionsOf(d.commands.dynamics)[0];
    box.addEventListener('change', () => perform(dynamicsPosition));
    label.append(box, document.createElement('span'));
    row.prepend(label);
    this.dynamicsBox = [box, dynamicsPosition];

    const motor = $('lab-motor');
    this.motorPositions = this.positionsOf(d.commands.motorLaw);
    this.motorPositions.forEach((position, index) => motor.append(new Option('', String(index))));
    motor.addEventListener('change', () => perform(this.motorPositions[Number(motor.value)]));

    const t = d.tuning;
    for (const [id, min, max, step] of [['lab-frequency', 0, t.frequencyMax, t.frequencyStep],
      ['lab-ratio', 0, t.ratioMax, t.ratioStep],
      ['lab-model-error', -t.modelErrorMax, t.modelErrorMax, t.modelErrorStep]]) {
      Object.assign($(id), { min: String(min), max: String(max), step: String(step) });
      $(id).addEventListener('blur', () => this.applyDynamicsEntries(this.page.view));
    }
    const tune = () => this.page.input(`tune ${Number($('lab-frequency').value)} ${Number($('lab-ratio').value)}`);
    $('lab-frequency').addEventListener('change', tune);
    $('lab-ratio').addEventListener('change', tune);
    $('lab-model-error').addEventListener('change',
      () => this.page.input(`model-error ${Number($('lab-model-error').value)}`));
    $('lab-model-object').addEventListener('change',
      () => this.page.input($('lab-model-object').checked ? t.objectIgnored : t.objectKnown));
  }

  // The panel's texts from a description (in its language).
  relabel(described) {
    const d = described;
    this.described = d;
    this.panel.setAttribute('aria-label', d.captions.labPanel);
    $('plot').setAttribute('aria-label', d.captions.plot);
    $('lab-speed-caption').textContent = d.captions.speed;
    $('lab-speed').setAttribute('aria-label', d.captions.speed);
    [...$('lab-speed').options].forEach((option, index) => {
      option.text = d.labMenu[this.speedPositions[index]].caption;
    });
    for (const [id, command] of [['lab-step', d.commands.step], ['lab-reset', d.commands.reset]]) {
      $(id).textContent = d.labMenu[this.positionsOf(command)[0]].caption;
    }
    $('lab-gain-caption').textContent = d.captions.gain;
    $('lab-gain').setAttribute('aria-label', d.captions.gain);
    $('lab-gain-slider').setAttribute('aria-label', d.captions.gainSlider);
    for (const [id, choices] of [['lab-scheme', d.schemes], ['lab-race', d.races]]) {
      choices.forEach(([caption], place) => { $(id).options[place].text = caption; });
    }
    for (const [id, control, caption] of [['lab-scheme-caption', 'lab-scheme', d.captions.scheme],
      ['lab-race-caption', 'lab-race', d.captions.race], ['lab-damping-caption', 'lab-damping', d.captions.damping]]) {
      $(id).textContent = caption;
      $(control).setAttribute('aria-label', caption);
    }
    for (const [box, position] of [...this.boxes, this.dynamicsBox]) {
      box.nextElementSibling.textContent = ` ${d.labMenu[position].caption}`;
    }
    $('lab-motor-caption').textContent = d.captions.motorLaw;
    $('lab-motor').setAttribute('aria-label', d.captions.motorLaw);
    [...$('lab-motor').options].forEach((option, index) => {
      option.text = d.labMenu[this.motorPositions[index]].caption;
    });
    for (const [id, caption] of [['lab-frequency', d.captions.naturalFrequency],
      ['lab-ratio', d.captions.dampingRatio], ['lab-model-error', d.captions.modelError]]) {
      $(`${id}-caption`).textContent = caption;
      $(id).setAttribute('aria-label', caption);
    }
    $('lab-model-object-caption').textContent = ` ${d.captions.modelIgnoresObject}`;
    $('lab-gains').setAttribute('aria-label', d.captions.gains);
    this.shown.plotFont = null; // measured again: the plot's samples are in the new language
    this.layoutStale = true;
  }

  panelOpen() {
    return !this.panel.hidden;
  }

  togglePanel() {
    this.panel.hidden = !this.panel.hidden;
    this.front.submit(`panel ${this.panel.hidden ? 'off' : 'on'}`);
    this.layoutStale = true;
    this.page.layout();
    this.page.fitSurfaces();
  }

  // The plot in the profile's colours (see Page.applyColours), drawn afresh.
  setColours(substitutions, background) {
    this.plot.setColours(substitutions, background);
    this.plot.touchAll();
    this.plot.clear();
    this.shown.plotFont = null;
    this.shown.recolour = true;
    this.layoutStale = true;
  }

  applyProjector(on) {
    this.panel.classList.toggle('projector', on); // first: the page's layout reads its height
    this.page.setProjector(on);
    this.page.fitSurfaces();
    this.shown.plotFont = null;
    this.layoutStale = true;
  }

  // --- showing the settings as the view says, touching only what changed ---
  applyView(view) {
    const lab = view.lab;
    this.page.show('projector', lab.projector, (on) => this.applyProjector(on));
    for (const [box, position] of [...this.boxes, this.dynamicsBox]) {
      const item = view.labMenu[position];
      if (box.checked !== item.checked) {
        box.checked = item.checked;
      }
      this.page.show(`lab-box${position}`, item.enabled, (on) => { box.disabled = !on; });
    }
    for (const [id, position] of [['lab-step', this.stepPosition], ['lab-reset', this.resetPosition]]) {
      this.page.show(id, view.labMenu[position].enabled, (on) => { $(id).disabled = !on; });
    }
    for (const [id, place] of [['lab-speed', lab.speed], ['lab-scheme', lab.scheme], ['lab-race', lab.race]]) {
      if ($(id).selectedIndex !== place) {
        $(id).selectedIndex = place;
      }
    }
    if (Number($('lab-gain-slider').value) !== lab.gainSlider) {
      $('lab-gain-slider').value = String(lab.gainSlider);
    }
    this.applyEntries(view);
    this.applyDynamics(view);
    this.page.show('lab.enabled', lab.enabled, (on) => {
      for (const id of ['lab-gain', 'lab-gain-slider', 'lab-scheme', 'lab-race', 'lab-damping',
        'lab-motor', 'lab-frequency', 'lab-ratio', 'lab-model-error', 'lab-model-object']) {
        $(id).disabled = !on;
      }
    });
  }

  applyDynamics(view) {
    const dynamics = view.lab.dynamics;
    if ($('lab-motor').selectedIndex !== dynamics.motorLaw) {
      $('lab-motor').selectedIndex = dynamics.motorLaw;
    }
    if ($('lab-model-object').checked !== dynamics.modelIgnoresObject) {
      $('lab-model-object').checked = dynamics.modelIgnoresObject;
    }
    if ($('lab-gains').textContent !== dynamics.gains) {
      $('lab-gains').textContent = dynamics.gains;
    }
    this.applyDynamicsEntries(view);
  }

  // The tuning and model error entries, but not while the user types in one.
  applyDynamicsEntries(view) {
    const dynamics = view.lab.dynamics;
    for (const [id, value, decimals] of [['lab-frequency', dynamics.naturalFrequency, 1],
      ['lab-ratio', dynamics.dampingRatio, 2], ['lab-model-error', dynamics.modelErrorPercent, 0]]) {
      const text = value.toFixed(decimals);
      if (document.activeElement !== $(id) && $(id).value !== text) {
        $(id).value = text;
      }
    }
  }

  // The gain and damping entries, but not while the user types in one.
  applyEntries(view) {
    for (const [id, value] of [['lab-gain', view.lab.gain], ['lab-damping', view.lab.damping]]) {
      const text = value.toFixed(1);
      if (document.activeElement !== $(id) && $(id).value !== text) {
        $(id).value = text;
      }
    }
  }

  // The plot's size and the panel's font size and colours, read from the page's layout only
  // after something changed them (reading them costs a layout when the page has changed).
  readLayout() {
    const resized = this.plot.fit(false);
    this.layoutStale = false;
    const style = this.panelStyle;
    this.panelLook = {
      size: parseFloat(style.fontSize) || 12,
      background: style.backgroundColor,
      colour: style.color,
    };
    return resized;
  }

  // Before each frame: the plot's area in CSS pixels and its line height, or none (0) while
  // the panel is hidden. The plot's size and the panel's font are read again only after a
  // change; the plot's texts are measured once a font size and language.
  plotArea() {
    if (this.panel.hidden) {
      return { width: 0, height: 0, lineHeight: 0 };
    }
    const stale = this.layoutStale || window.devicePixelRatio !== this.plot.ratio;
    this.resized = (stale && this.readLayout()) || this.shown.recolour;
    this.shown.recolour = false;
    const size = this.panelLook.size;
    if (this.shown.plotFont !== size) {
      this.shown.plotFont = size;
      this.plot.font = `${size}px 'Liberation Sans', Arial, Helvetica, sans-serif`;
      for (const text of this.front.describe('plot-texts').split('\n')) {
        if (text) {
          this.front.submit(`measured ${this.plot.widthOf(text)} ${text}`);
        }
      }
      this.shown.figuresText = null;
    }
    const lineHeight = size * 1.25;
    // The figures' strip: a line on a wide plot, more on a narrow one (a phone), where the
    // figures wrap between their parts.
    this.stripLines = this.plot.width < 34 * size ? 3 : this.plot.width < 70 * size ? 2 : 1;
    this.stripLineHeight = lineHeight;
    this.strip = this.stripLines * lineHeight + 4;
    return { width: this.plot.width, height: this.plot.height - this.strip, lineHeight };
  }

  // The figures in the strip's lines: their parts (apart by runs of spaces) as many to a line
  // as fit, the last line taking what is left.
  figureLines(figures) {
    if (this.stripLines === 1) {
      return [figures];
    }
    const lines = [];
    let line = '';
    for (const part of figures.split(/ {3,}/)) {
      const longer = line ? `${line}    ${part}` : part;
      if (line && lines.length < this.stripLines - 1 && this.plot.widthOf(longer) > this.plot.width - 8) {
        lines.push(line);
        line = part;
      } else {
        line = longer;
      }
    }
    return [...lines, line];
  }

  // After each frame: the plot and, in a strip under it, its figures, drawn only when what they
  // show has changed. The figures go into the canvas rather than into the page's text, so that
  // a frame costs no layout; the paragraph screen readers read follows once a second.
  frameShown(time, shown) {
    if (shown.figures !== undefined) {
      this.figures = shown.figures;
    }
    if (shown.plot) {
      this.list = shown.plot;
    }
    if (this.panel.hidden) {
      return;
    }
    const plot = this.plot;
    const c = plot.context;
    const plotHeight = plot.height - this.strip; // CSS pixels
    const figures = this.figures ?? '';
    if (shown.plot || this.resized || figures !== this.shown.figuresText) {
      if (shown.plot || this.resized) {
        this.page.drawList(this.plot, this.list);
      }
      this.shown.figuresText = figures;
      c.save();
      c.fillStyle = this.panelLook.background;
      c.fillRect(0, plotHeight, plot.width, this.strip);
      c.fillStyle = this.panelLook.colour;
      c.font = this.plot.font;
      c.textBaseline = 'middle';
      this.figureLines(figures).forEach((line, index) => {
        c.fillText(line, 4, plotHeight + 2 + (index + 0.5) * this.stripLineHeight);
      });
      c.restore();
    }
    if (this.shown.figures !== figures && !(time - this.shown.figuresAt < 1000)) {
      this.shown.figures = figures;
      this.shown.figuresAt = time;
      $('figures').textContent = figures;
    }
  }
}
