// Carries out the module's encoded drawing lists on a 2D canvas. An operation is OpFloats
// numbers: kind, x1, y1, x2, y2, colour (0x00BBGGRR); a print's x1 is its text's index.

// The operations' kinds by name, as the module describes them (useOpKinds).
const Kind = {};
export function useOpKinds(kinds) {
  Object.assign(Kind, kinds);
}

export function cssColour(colour) {
  return `rgb(${colour & 255}, ${(colour >> 8) & 255}, ${(colour >> 16) & 255})`;
}

// A canvas drawn in some user units: `map` gives the transform from user units to CSS pixels
// (x = offsetX + (u - left) * scaleX, y = offsetY + (v - top) * scaleY; the module's
// PictureMap). The canvas backing store follows the
// device pixel ratio, so lines stay crisp. A frame allocates nothing and sets the context's
// font and styles only when they change; texts are measured once per font.
export class Painter {
  constructor(canvas, background) {
    this.canvas = canvas;
    this.context = canvas.getContext('2d', { alpha: background === null, desynchronized: true });
    this.background = background;
    this.map = { left: 0, top: 0, scaleX: 1, scaleY: 1, offsetX: 0, offsetY: 0 };
    this.ratio = 1;
    this.width = 0; // the canvas's CSS size when last fitted (reading it costs a layout)
    this.height = 0;
    this.lineWidth = 1; // CSS pixels
    this.font = 'bold 11px sans-serif';
    this.foreDrawn = 0; // the foreground colour as drawn (0x00BBGGRR)
    this.fore = 'rgb(0, 0, 0)'; // and as shown
    this.currentX = 0; // the current point, user units
    this.currentY = 0;
    this.textX = 0; // where the next print goes, user units
    this.textY = 0;
    this.crisp = true; // snap thin lines to device pixel centres
    this.pathOpen = false; // strokes of one colour go into one path, stroked at once
    // CSS pixels drawn on since the last clear: dirtyLeft, dirtyTop, dirtyRight, dirtyBottom.
    this.dirty = false;
    this.dirtyLeft = 0;
    this.dirtyTop = 0;
    this.dirtyRight = 0;
    this.dirtyBottom = 0;
    this.substitutions = null; // Map of drawn colour to shown colour (0x00BBGGRR), or none
  }

  // The font texts are printed in (a CSS font); its texts' widths are measured anew.
  get font() {
    return this.fontName;
  }

  set font(font) {
    if (font === this.fontName) {
      return;
    }
    this.fontName = font;
    this.fontSize = parseFloat(/(\d+(\.\d+)?)(px|pt)/.exec(font)?.[1] || '12');
    this.widths = new Map(); // text -> width in CSS pixels
    this.contextFont = null; // the font the context was last given by this painter
  }

  // The colours drawn ones are shown in from now on (a Map, or null to show them as drawn), and
  // the background behind them.
  setColours(substitutions, background) {
    this.endPath();
    this.substitutions = substitutions;
    this.background = background;
    this.fore = this.shown(this.foreDrawn);
  }

  shown(colour) {
    return cssColour(this.substitutions?.get(colour) ?? colour);
  }

  // Gives every pixel drawn so far the colour `convertAll` says: it takes the picture's colours
  // (0x00BBGGRR), each once, and gives their new colours in the same order.
  recolour(convertAll) {
    this.endPath();
    const c = this.context;
    const image = c.getImageData(0, 0, this.canvas.width, this.canvas.height);
    const data = image.data;
    const pixels = new Uint32Array(data.length / 4);
    const known = new Map();
    for (let i = 0; i < data.length; i += 4) {
      const pixel = data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
      pixels[i / 4] = pixel;
      known.set(pixel, pixel);
    }
    const drawn = [...known.keys()];
    convertAll(drawn).forEach((now, index) => known.set(drawn[index], now));
    for (let i = 0; i < data.length; i += 4) {
      const now = known.get(pixels[i / 4]);
      data[i] = now & 255;
      data[i + 1] = (now >> 8) & 255;
      data[i + 2] = (now >> 16) & 255;
    }
    c.putImageData(image, 0, 0);
  }

  touch(left, top, right, bottom) {
    const m = this.lineWidth + 2;
    if (this.dirty) {
      this.dirtyLeft = Math.min(this.dirtyLeft, left - m);
      this.dirtyTop = Math.min(this.dirtyTop, top - m);
      this.dirtyRight = Math.max(this.dirtyRight, right + m);
      this.dirtyBottom = Math.max(this.dirtyBottom, bottom + m);
    } else {
      this.dirty = true;
      this.dirtyLeft = left - m;
      this.dirtyTop = top - m;
      this.dirtyRight = right + m;
      this.dirtyBottom = bottom + m;
    }
  }

  // The whole canvas counts as drawn on: the next clear clears all of it.
  touchAll() {
    this.dirty = true;
    this.dirtyLeft = 0;
    this.dirtyTop = 0;
    this.dirtyRight = this.width;
    this.dirtyBottom = this.height;
  }

  endPath() {
    if (this.pathOpen) {
      this.context.stroke();
      this.pathOpen = false;
    }
  }

  // Sizes the backing store to the canvas's CSS size at the device pixel ratio and takes `map`
  // (when given) as the user units' place; with `keep`, what was drawn is carried into the new
  // size and place, its user rectangle stretched into the new one, as the desktop window's
  // picture is. True when anything changed.
  fit(keep, map = null) {
    const ratio = window.devicePixelRatio || 1;
    this.width = this.canvas.clientWidth;
    this.height = this.canvas.clientHeight;
    const width = Math.max(1, Math.round(this.width * ratio));
    const height = Math.max(1, Math.round(this.height * ratio));
    const before = this.map;
    const moved = map !== null && ['left', 'top', 'scaleX', 'scaleY', 'offsetX', 'offsetY']
      .some((key) => map[key] !== before[key]);
    if (map !== null) {
      this.map = map;
    }
    if (width === this.canvas.width && height === this.canvas.height && ratio === this.ratio && !moved) {
      return false;
    }
    let old = null;
    if (keep && this.canvas.width > 1 && this.canvas.height > 1) {
      old = document.createElement('canvas');
      old.width = this.canvas.width;
      old.height = this.canvas.height;
      old.getContext('2d').drawImage(this.canvas, 0, 0);
    }
    this.canvas.width = width; // resets the context's state
    this.canvas.height = height;
    this.contextFont = null;
    const oldRatio = this.ratio;
    this.ratio = ratio;
    const c = this.context;
    c.setTransform(1, 0, 0, 1, 0, 0);
    if (this.background !== null) {
      c.fillStyle = this.background;
      c.fillRect(0, 0, width, height);
    }
    if (old) {
      c.imageSmoothingEnabled = false;
      // The user rectangle where it stood, into where it stands now (stretched: the whole canvas).
      const from = (m, r, w, h) => (m.offsetX || m.offsetY
        ? [m.offsetX * r, m.offsetY * r, m.spanX * r, m.spanY * r] : [0, 0, w, h]);
      c.drawImage(old, ...from(before, oldRatio, old.width, old.height), ...from(this.map, ratio, width, height));
    }
    c.setTransform(ratio, 0, 0, ratio, 0, 0);
    this.dirty = false;
    if (old) {
      this.touchAll();
    }
    return true;
  }

  x(u) { return this.map.offsetX + (u - this.map.left) * this.map.scaleX; }
  y(v) { return this.map.offsetY + (v - this.map.top) * this.map.scaleY; }

  // A coordinate on the centre of a device pixel, for one-pixel lines.
  snap(value) {
    if (!this.crisp) {
      return value;
    }
    const r = this.ratio;
    return (Math.floor(value * r) + 0.5) / r;
  }

  // Back to the background: only what was drawn on since the last clear differs from it.
  clear() {
    this.endPath();
    if (!this.dirty) {
      return;
    }
    const c = this.context;
    const left = Math.max(0, Math.floor(this.dirtyLeft));
    const top = Math.max(0, Math.floor(this.dirtyTop));
    const width = Math.min(this.width, Math.ceil(this.dirtyRight)) - left;
    const height = Math.min(this.height, Math.ceil(this.dirtyBottom)) - top;
    if (width > 0 && height > 0) {
      if (this.background === null) {
        c.clearRect(left, top, width, height);
      } else {
        c.fillStyle = this.background;
        c.fillRect(left, top, width, height);
      }
    }
    this.dirty = false;
  }

  stroke(x1, y1, x2, y2) {
    if (!(Number.isFinite(x1) && Number.isFinite(y1) && Number.isFinite(x2) && Number.isFinite(y2))) {
      return;
    }
    const c = this.context;
    if (!this.pathOpen) {
      c.strokeStyle = this.fore;
      c.lineWidth = this.lineWidth;
      c.beginPath();
      this.pathOpen = true;
    }
    c.moveTo(this.snap(x1), this.snap(y1));
    c.lineTo(this.snap(x2), this.snap(y2));
    this.touch(Math.min(x1, x2), Math.min(y1, y2), Math.max(x1, x2), Math.max(y1, y2));
  }

  setFore(colour) {
    this.foreDrawn = colour;
    const fore = this.shown(colour);
    if (fore !== this.fore) {
      this.endPath();
      this.fore = fore;
    }
  }

  point(u, v) {
    this.currentX = u;
    this.currentY = v;
    const px = this.x(u);
    const py = this.y(v);
    if (Number.isFinite(px) && Number.isFinite(py)) {
      this.endPath();
      this.touch(px, py, px + 1, py + 1);
      const c = this.context;
      c.fillStyle = this.fore;
      const size = Math.max(this.lineWidth, 1 / this.ratio);
      c.fillRect(Math.floor(px * this.ratio) / this.ratio, Math.floor(py * this.ratio) / this.ratio,
        size, size);
    }
  }

  lineTo(u, v) {
    const fx = this.currentX;
    const fy = this.currentY;
    this.currentX = u;
    this.currentY = v;
    this.stroke(this.x(fx), this.y(fy), this.x(u), this.y(v));
  }

  circle(u, v, radius, colour) {
    this.currentX = u;
    this.currentY = v;
    const cx = this.x(u);
    const cy = this.y(v);
    const r = Math.abs(radius) * this.map.scaleX;
    if (Number.isFinite(cx) && Number.isFinite(cy) && Number.isFinite(r)) {
      this.endPath();
      this.touch(cx - r, cy - r, cx + r, cy + r);
      const c = this.context;
      c.strokeStyle = this.shown(colour);
      c.lineWidth = this.lineWidth;
      c.beginPath();
      c.arc(cx, cy, r, 0, 2 * Math.PI);
      c.stroke();
    }
  }

  // The width of `text` in the painter's font, CSS pixels, measured once.
  widthOf(text) {
    let width = this.widths.get(text);
    if (width === undefined) {
      this.useFont();
      width = this.context.measureText(text).width;
      if (this.widths.size >= 1000) {
        this.widths.clear(); // read-outs are many different texts: keep the cache small
      }
      this.widths.set(text, width);
    }
    return width;
  }

  useFont() {
    if (this.contextFont !== this.fontName) {
      this.context.font = this.fontName;
      this.context.textBaseline = 'top';
      this.contextFont = this.fontName;
    }
  }

  // Prints `text` at the text position, which moves on past it; with `draw` false only moves.
  print(text, draw) {
    const width = this.widthOf(text);
    const tx = this.x(this.textX);
    const ty = this.y(this.textY);
    if (draw && Number.isFinite(tx) && Number.isFinite(ty)) {
      this.endPath();
      this.touch(tx, ty, tx + width, ty + this.fontSize * 2);
      const c = this.context;
      this.useFont();
      c.fillStyle = this.fore;
      c.fillText(text, tx, ty);
    }
    this.textX += width / this.map.scaleX;
  }

  // Carries out one operation (`o` its first number in `ops`); with `draw` false it only takes
  // its effect on the colour and the current and text positions, for an operation that a
  // later clear would wipe out.
  perform(ops, o, textOf, draw) {
    const kind = ops[o];
    switch (kind) {
      case Kind.Clear:
        this.clear();
        break;
      case Kind.ForeColour:
        this.setFore(ops[o + 5]);
        break;
      case Kind.Point:
        if (draw) {
          this.point(ops[o + 1], ops[o + 2]);
        } else {
          this.currentX = ops[o + 1];
          this.currentY = ops[o + 2];
        }
        break;
      case Kind.LineTo:
        if (draw) {
          this.lineTo(ops[o + 1], ops[o + 2]);
        } else {
          this.currentX = ops[o + 1];
          this.currentY = ops[o + 2];
        }
        break;
      default:
        this.performRest(kind, ops, o, textOf, draw);
        break;
    }
  }

  performRest(kind, ops, o, textOf, draw) {
    switch (kind) {
      case Kind.Line:
        if (draw) {
          this.stroke(this.x(ops[o + 1]), this.y(ops[o + 2]), this.x(ops[o + 3]), this.y(ops[o + 4]));
        }
        break;
      case Kind.Circle:
        if (draw) {
          this.circle(ops[o + 1], ops[o + 2], ops[o + 3], ops[o + 5]);
        } else {
          this.currentX = ops[o + 1];
          this.currentY = ops[o + 2];
        }
        break;
      case Kind.TextPosition:
        this.textX = ops[o + 1];
        this.textY = ops[o + 2];
        break;
      case Kind.Print:
        this.print(textOf(ops[o + 1]), draw);
        break;
      default:
        break;
    }
  }

  // Draws `count` operations at byte `address` of the module's memory (`heap`, its HEAPF32),
  // texts from `textOf`. What comes before the last clear is wiped out by it: only its effect
  // on the colour and the positions is taken, so a frame that ran several cycles draws the last
  // one only.
  draw(heap, address, count, textOf, floats) {
    const first = address / Float32Array.BYTES_PER_ELEMENT;
    let lastClear = count - 1;
    while (lastClear >= 0 && heap[first + lastClear * floats] !== Kind.Clear) {
      lastClear--;
    }
    for (let i = 0; i < count; i++) {
      this.perform(heap, first + i * floats, textOf, i >= lastClear);
    }
    this.endPath();
  }
}
