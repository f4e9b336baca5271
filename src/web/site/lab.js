// The lab panel in the page: the error plot, its figures and the lab's controls, built from the
// module's Lab menu table. Every control asks the module to perform that menu item (or to take
// a gain), so the panel and the menu always agree.
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

    for (const [id, command] of [['lab-step', commands.step], ['lab-reset', commands.reset]]) {
      const position = this.positionsOf(command)[0];
      $(id).addEventListener('click', () => perform(position));
    }

    const gain = $('lab-gain');
    gain.max = String(d.gain.max);
    gain.step = String(d.gain.step);
    gain.addEventListener('change', () => this.setGain(Number(gain.value)));
    const slider = $('lab-gain-slider');
    slider.max = String(Math.round(d.gain.max / d.gain.step));
    slider.addEventListener('input', () => this.setGain(Number(slider.value) * d.gain.step));

    const scheme = $('lab-scheme');
    const race = $('lab-race');
    race.append(new Option('', '0'));
    for (const [, servoType] of d.schemes) {
      scheme.append(new Option('', String(servoType)));
      race.append(new Option('', String(servoType)));
    }
    const damping = $('lab-damping');
    damping.max = String(d.damping.max);
    damping.step = String(d.damping.step);
    scheme.addEventListener('change', () => {
      this.front.chooseScheme(Number(scheme.value));
      this.page.sync();
    });
    race.addEventListener('change', () => {
      this.front.setRaceScheme(Number(race.value));
      this.page.sync();
    });
    damping.addEventListener('change', () => {
      this.front.setDamping(Number(damping.value));
      this.page.sync();
    });

    const cues = $('lab-cues');
    this.boxes = [];
    for (const position of [...this.positionsOf(commands.cue), ...this.positionsOf(commands.projector),
      ...this.positionsOf(commands.highContrast)]) {
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
    const race = $('lab-race');
    race.options[0].text = d.captions.noRace;
    d.schemes.forEach(([caption], index) => {
      $('lab-scheme').options[index].text = caption;
      race.options[index + 1].text = caption;
    });
    for (const [id, control, caption] of [['lab-scheme-caption', 'lab-scheme', d.captions.scheme],
      ['lab-race-caption', 'lab-race', d.captions.race], ['lab-damping-caption', 'lab-damping', d.captions.damping]]) {
      $(id).textContent = caption;
      $(control).setAttribute('aria-label', caption);
    }
    for (const [box, position] of this.boxes) {
      box.nextElementSibling.textContent = ` ${d.labMenu[position].caption}`;
    }
    this.shown.plotFont = null; // measured again: the plot's samples are in the new language
    this.layoutStale = true;
  }

  panelOpen() {
    return !this.panel.hidden;
  }

  togglePanel() {
    this.panel.hidden = !this.panel.hidden;
    this.layoutStale = true;
    this.page.fitSurfaces();
  }

  setGain(value) {
    this.front.setGain(value);
    this.page.sync();
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

  applyProjector() {
    const on = this.front.projector();
    this.page.setProjector(on);
    this.panel.classList.toggle('projector', on);
    this.page.fitSurfaces();
    this.shown.plotFont = null;
    this.layoutStale = true;
  }

  // --- showing the settings ---
  sync() {
    const states = JSON.parse(this.front.itemStates(LabList, this.panelOpen()));
    for (const [box, position] of this.boxes) {
      box.checked = states[position][0];
    }
    $('lab-speed').value = String(this.front.speed());
    $('lab-scheme').value = String(this.front.servoType());
    $('lab-race').value = String(this.front.raceScheme());
    if (document.activeElement !== $('lab-damping')) {
      $('lab-damping').value = this.front.damping().toFixed(1);
    }
    const gain = this.front.gain();
    if (document.activeElement !== $('lab-gain')) {
      $('lab-gain').value = gain.toFixed(1);
    }
    $('lab-gain-slider').value = String(Math.round(gain / this.described.gain.step));
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

  // After each frame: the plot and, in a strip under it, its figures, drawn only when what they
  // show has changed. The figures go into the canvas rather than into the page's text, so that
  // a frame costs no layout; the paragraph screen readers read follows once a second.
  frameShown(time) {
    if (this.panel.hidden) {
      return;
    }
    const stale = this.layoutStale || window.devicePixelRatio !== this.plot.ratio;
    const resized = (stale && this.readLayout()) || this.shown.recolour;
    this.shown.recolour = false;
    const size = this.panelLook.size;
    if (this.shown.plotFont !== size) {
      // Measured once a font size and language: the plot lays its texts out by these widths.
      this.shown.plotFont = size;
      this.plot.font = `${size}px 'Liberation Sans', Arial, Helvetica, sans-serif`;
      for (const text of this.front.plotTexts().split('\n')) {
        if (text) {
          this.front.setPlotTextWidth(text, this.plot.widthOf(text));
        }
      }
      this.shown.figuresText = null;
    }
    this.drawPlot(time, resized);
  }

  // The plot's list, drawn when it changed, and the figures line under it.
  drawPlot(time, resized) {
    const plot = this.plot;
    const c = plot.context;
    const lineHeight = this.panelLook.size * 1.25;
    const strip = lineHeight + 4;
    const plotHeight = plot.height - strip; // CSS pixels
    const changed = this.front.drawPlot(plot.width, plotHeight, lineHeight);
    const figures = this.front.figures();
    if (changed || resized || figures !== this.shown.figuresText) {
      if (changed || resized) {
        this.page.drawList(this.plot, 2);
      }
      this.shown.figuresText = figures;
      c.save();
      c.fillStyle = this.panelLook.background;
      c.fillRect(0, plotHeight, plot.width, strip);
      c.fillStyle = this.panelLook.colour;
      c.font = this.plot.font;
      c.textBaseline = 'middle';
      c.fillText(figures, 4, plotHeight + strip / 2);
      c.restore();
    }
    if (this.shown.figures !== figures && !(time - this.shown.figuresAt < 1000)) {
      this.shown.figures = figures;
      this.shown.figuresAt = time;
      $('figures').textContent = figures;
    }
  }
}
