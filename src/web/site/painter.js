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
// (x = (u - left) * scaleX, y = (v - top) * scaleY). The canvas backing store follows the
// device pixel ratio, so lines stay crisp.
export class Painter {
  constructor(canvas, background) {
    this.canvas = canvas;
    this.context = canvas.getContext('2d', { alpha: background === null, desynchronized: true });
    this.background = background;
    this.map = { left: 0, top: 0, scaleX: 1, scaleY: 1 };
    this.ratio = 1;
    this.lineWidth = 1; // CSS pixels
    this.font = 'bold 11px sans-serif';
    this.foreDrawn = 0; // the foreground colour as drawn (0x00BBGGRR)
    this.fore = 'rgb(0, 0, 0)'; // and as shown
    this.current = [0, 0];
    this.textAt = [0, 0];
    this.crisp = true; // snap thin lines to device pixel centres
    this.pathOpen = false; // strokes of one colour go into one path, stroked at once
    this.dirty = null; // CSS pixels drawn on since the last clear: [left, top, right, bottom]
    this.substitutions = null; // Map of drawn colour to shown colour (0x00BBGGRR), or none
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

  // Gives every pixel drawn so far the colour `convert` (0x00BBGGRR to 0x00BBGGRR) says; each
  // colour of the picture is converted once.
  recolour(convert) {
    this.endPath();
    const c = this.context;
    const image = c.getImageData(0, 0, this.canvas.width, this.canvas.height);
    const data = image.data;
    const known = new Map();
    for (let i = 0; i < data.length; i += 4) {
      const pixel = data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
      let now = known.get(pixel);
      if (now === undefined) {
        now = convert(pixel);
        known.set(pixel, now);
      }
      data[i] = now & 255;
      data[i + 1] = (now >> 8) & 255;
      data[i + 2] = (now >> 16) & 255;
    }
    c.putImageData(image, 0, 0);
  }

  touch(left, top, right, bottom) {
    const m = this.lineWidth + 2;
    const d = this.dirty;
    this.dirty = d
      ? [Math.min(d[0], left - m), Math.min(d[1], top - m), Math.max(d[2], right + m), Math.max(d[3], bottom + m)]
      : [left - m, top - m, right + m, bottom + m];
  }

  endPath() {
    if (this.pathOpen) {
      this.context.stroke();
      this.pathOpen = false;
    }
  }

  // Sizes the backing store to the canvas's CSS size at the device pixel ratio; with `keep`,
  // what was drawn is stretched into the new size, as the desktop window's picture is.
  fit(keep) {
    const ratio = window.devicePixelRatio || 1;
    const width = Math.max(1, Math.round(this.canvas.clientWidth * ratio));
    const height = Math.max(1, Math.round(this.canvas.clientHeight * ratio));
    if (width === this.canvas.width && height === this.canvas.height && ratio === this.ratio) {
      return false;
    }
    let old = null;
    if (keep && this.canvas.width > 1 && this.canvas.height > 1) {
      old = document.createElement('canvas');
      old.width = this.canvas.width;
      old.height = this.canvas.height;
      old.getContext('2d').drawImage(this.canvas, 0, 0);
    }
    this.canvas.width = width;
    this.canvas.height = height;
    this.ratio = ratio;
    const c = this.context;
    c.setTransform(1, 0, 0, 1, 0, 0);
    if (this.background !== null) {
      c.fillStyle = this.background;
      c.fillRect(0, 0, width, height);
    }
    if (old) {
      c.imageSmoothingEnabled = false;
      c.drawImage(old, 0, 0, width, height);
    }
    c.setTransform(ratio, 0, 0, ratio, 0, 0);
    this.dirty = old ? [0, 0, this.canvas.clientWidth, this.canvas.clientHeight] : null;
    return true;
  }

  x(u) { return (u - this.map.left) * this.map.scaleX; }
  y(v) { return (v - this.map.top) * this.map.scaleY; }

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
    const d = this.dirty;
    if (d === null) {
      return;
    }
    const c = this.context;
    const left = Math.max(0, Math.floor(d[0]));
    const top = Math.max(0, Math.floor(d[1]));
    const width = Math.min(this.canvas.clientWidth, Math.ceil(d[2])) - left;
    const height = Math.min(this.canvas.clientHeight, Math.ceil(d[3])) - top;
    if (width > 0 && height > 0) {
      if (this.background === null) {
        c.clearRect(left, top, width, height);
      } else {
        c.fillStyle = this.background;
        c.fillRect(left, top, width, height);
      }
    }
    this.dirty = null;
  }

  stroke(x1, y1, x2, y2) {
    if (![x1, y1, x2, y2].every(Number.isFinite)) {
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

  // Draws `count` operations at byte `address` of the module's memory, texts from `textOf`.
  draw(heap, address, count, textOf, floats) {
    const ops = new Float32Array(heap.buffer, address, count * floats);
    const c = this.context;
    for (let i = 0; i < count; i++) {
      const o = i * floats;
      const kind = ops[o];
      const x1 = ops[o + 1];
      const y1 = ops[o + 2];
      const x2 = ops[o + 3];
      const y2 = ops[o + 4];
      const colour = ops[o + 5];
      switch (kind) {
        case Kind.Clear:
          this.clear();
          break;
        case Kind.ForeColour: {
          this.foreDrawn = colour;
          const fore = this.shown(colour);
          if (fore !== this.fore) {
            this.endPath();
            this.fore = fore;
          }
          break;
        }
        case Kind.Point: {
          this.current = [x1, y1];
          const px = this.x(x1);
          const py = this.y(y1);
          if (Number.isFinite(px) && Number.isFinite(py)) {
            this.endPath();
            this.touch(px, py, px + 1, py + 1);
            c.fillStyle = this.fore;
            const size = Math.max(this.lineWidth, 1 / this.ratio);
            c.fillRect(Math.floor(px * this.ratio) / this.ratio, Math.floor(py * this.ratio) / this.ratio,
              size, size);
          }
          break;
        }
        case Kind.LineTo: {
          const [fx, fy] = this.current;
          this.current = [x1, y1];
          this.stroke(this.x(fx), this.y(fy), this.x(x1), this.y(y1));
          break;
        }
        case Kind.Line:
          this.stroke(this.x(x1), this.y(y1), this.x(x2), this.y(y2));
          break;
        case Kind.Circle: {
          this.current = [x1, y1];
          const cx = this.x(x1);
          const cy = this.y(y1);
          const r = Math.abs(x2) * this.map.scaleX;
          if ([cx, cy, r].every(Number.isFinite)) {
            this.endPath();
            this.touch(cx - r, cy - r, cx + r, cy + r);
            c.strokeStyle = this.shown(colour);
            c.lineWidth = this.lineWidth;
            c.beginPath();
            c.arc(cx, cy, r, 0, 2 * Math.PI);
            c.stroke();
          }
          break;
        }
        case Kind.TextPosition:
          this.textAt = [x1, y1];
          break;
        case Kind.Print: {
          const text = textOf(x1);
          c.font = this.font;
          c.textBaseline = 'top';
          const width = c.measureText(text).width;
          const tx = this.x(this.textAt[0]);
          const ty = this.y(this.textAt[1]);
          if (Number.isFinite(tx) && Number.isFinite(ty)) {
            this.endPath();
            const size = parseFloat(/(\d+(\.\d+)?)(px|pt)/.exec(this.font)?.[1] || '12');
            this.touch(tx, ty, tx + width, ty + size * 2);
            c.fillStyle = this.fore;
            c.fillText(text, tx, ty);
          }
          this.textAt = [this.textAt[0] + width / this.map.scaleX, this.textAt[1]];
          break;
        }
        default:
          break;
      }
    }
    this.endPath();
  }
}
