// The editor of the student's law in the page (the scheme "Your law"): a section beside the
// picture, never over it, with the examples to start from, the source in a monospace text area
// with line numbers, Apply (the input "own-law WORD") and the law's state in words. What the law
// is and why it stopped come from the module's view; the editor only shows them.
const $ = (id) => document.getElementById(id);

const Indent = '  '; // what Tab inserts, and Shift+Tab takes away at the start of a line

export class LawEditor {
  constructor(page) {
    this.page = page;
    this.section = $('law');
    this.text = $('law-source');
    this.gutter = $('law-gutter');
    this.shownSource = null; // the view's source last put in the text area
    this.gutterShown = { lines: 0, mark: 0 };
    this.text.addEventListener('keydown', (event) => this.key(event));
    this.text.addEventListener('input', () => this.showGutter());
    this.text.addEventListener('scroll', () => { this.gutter.scrollTop = this.text.scrollTop; });
    $('law-use').addEventListener('click', () => this.useExample());
    $('law-apply').addEventListener('click', () => this.apply());
    $('law-close').addEventListener('click', () => this.close());
    this.relabel(page.described);
  }

  // The editor's texts and the examples from a description (in its language).
  relabel(described) {
    const c = described.captions;
    this.examples = described.lawExamples;
    $('law-title').textContent = c.lawEditor;
    $('law-example-caption').textContent = c.lawExample;
    const list = $('law-example');
    const chosen = list.selectedIndex;
    list.replaceChildren(...this.examples.map(([caption], index) => new Option(caption, String(index))));
    list.selectedIndex = Math.max(chosen, 0);
    $('law-use').textContent = c.useExample;
    $('law-source-caption').textContent = c.lawSource;
    $('law-help').textContent = c.lawEditorHelp;
    $('law-apply').textContent = c.applyLaw;
    $('law-close').textContent = c.closeLawEditor;
  }

  isOpen() {
    return !this.section.hidden;
  }

  // Shows the editor (the picture makes room for it) with the text area focused.
  open() {
    if (!this.isOpen()) {
      this.section.hidden = false;
      this.relaid();
    }
    this.showGutter();
    this.text.focus();
  }

  close() {
    this.section.hidden = true;
    this.relaid();
    $('surface').focus();
  }

  relaid() {
    this.page.layout();
    this.page.fitSurfaces();
  }

  // The chosen example's source into the text area, not yet in force.
  useExample() {
    const example = this.examples[Number($('law-example').value)];
    if (example) {
      this.text.value = example[1];
      this.text.scrollTop = 0;
      this.showGutter();
    }
  }

  // Puts the text in force: the module compiles it and says in the view how it went.
  apply() {
    const source = this.text.value;
    const refused = this.page.input(`own-law ${source ? encodeURIComponent(source) : '-'}`);
    if (refused) {
      $('law-status').textContent = refused;
      this.page.shown['law.statusText'] = null; // the law's state shows again with the next view
    }
  }

  // Tab indents and Shift+Tab outdents, Esc leaves the text area for Apply; the text area
  // keeps the keys that type and edit (Ctrl with A, C, V, X, Y, Z, the arrows, Home, End,
  // Backspace, Delete), and the menus' keys (the function keys, Ctrl+R, Alt+letter) go on to them.
  key(event) {
    const command = event.ctrlKey || event.metaKey;
    if (event.key === 'Tab' && !event.ctrlKey && !event.altKey && !event.metaKey) {
      event.preventDefault();
      if (event.shiftKey) {
        this.outdent();
      } else {
        this.text.setRangeText(Indent, this.text.selectionStart, this.text.selectionEnd, 'end');
      }
      this.showGutter();
    } else if (event.key === 'Escape') {
      event.preventDefault();
      $('law-apply').focus();
    } else if (/^F\d+$/.test(event.key) || event.altKey ||
      (command && !/^([acvxyz]|Arrow\w+|Home|End|Backspace|Delete)$/i.test(event.key))) {
      return;
    }
    event.stopPropagation();
  }

  // Takes up to one indent from the start of the line the caret is on.
  outdent() {
    const text = this.text;
    const start = text.value.lastIndexOf('\n', text.selectionStart - 1) + 1;
    const spaces = /^ {0,2}/.exec(text.value.slice(start))[0].length;
    if (spaces > 0) {
      const [from, to] = [text.selectionStart, text.selectionEnd];
      text.setRangeText('', start, start + spaces);
      text.setSelectionRange(Math.max(start, from - spaces), Math.max(start, to - spaces));
    }
  }

  // The line numbers beside the text, the line the law stopped at marked.
  showGutter() {
    const lines = this.text.value.split('\n').length;
    const mark = this.mark ?? 0;
    if (this.gutterShown.lines !== lines || this.gutterShown.mark !== mark) {
      this.gutterShown = { lines, mark };
      this.gutter.replaceChildren(...Array.from({ length: lines }, (_, index) => {
        const number = document.createElement('span');
        number.textContent = String(index + 1);
        if (index + 1 === mark) {
          number.className = 'error';
        }
        return number;
      }));
    }
    this.gutter.scrollTop = this.text.scrollTop;
  }

  // The law as the view says it stands: its source when it changed from outside (a link, an
  // experiment, a replay, Reset), never over what the student types otherwise; its state.
  applyView(view) {
    const law = view.law;
    if (law.source !== this.shownSource) {
      this.shownSource = law.source;
      if (this.text.value !== law.source) {
        this.text.value = law.source;
      }
    }
    this.page.show('law.statusText', law.statusText, (text) => { $('law-status').textContent = text; });
    this.mark = law.status === 'stopped' ? law.errorLine : 0;
    if (this.isOpen()) {
      this.showGutter();
    }
  }
}
