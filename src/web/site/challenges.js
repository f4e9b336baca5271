// The Challenges dialog of the page: the built-in challenges along the lesson path with Start,
// and the challenge under way as the module's view tells it (its task, each goal's live state,
// the hints asked for, the verdict and its figures) with its buttons. It is not modal: the arm
// goes on moving while it is open, and it follows the view every frame. Each button sends its
// input line; Hand In downloads the attempt's recording and its one-page summary. Every text
// comes from the module, in the language chosen.
const $ = (id) => document.getElementById(id);

// A goal's state beside its words, so that colour is not the only sign (the words say it too).
const Marks = { met: '\u2713', failed: '\u2717', pending: '\u2026' };

export class ChallengesDialog {
  constructor(page) {
    this.page = page;
    this.dialog = $('challenges');
    this.returnTo = null; // what had the focus when the dialog opened
    this.shown = {}; // what the dialog shows of the view, to touch it only on a change
    this.handedIn = null; // the last hand-in, for the page's tests
    const lines = [['challenge-hint', 'challenge-hint'], ['challenge-again', 'challenge-again'],
      ['challenge-end', 'challenge-end']];
    for (const [id, line] of lines) {
      $(id).addEventListener('click', () => this.send(line));
    }
    $('challenge-start').addEventListener('click', () => this.send(`challenge-open ${$('challenge-list').value}`));
    $('challenge-hand-in').addEventListener('click', () => this.handIn());
    $('challenges-close').addEventListener('click', () => this.close());
    this.dialog.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && !event.ctrlKey && !event.altKey && !event.metaKey) {
        event.preventDefault();
        event.stopPropagation(); // Esc here closes the dialog; it does not stop the arm
        this.close();
      }
    });
    this.dialog.addEventListener('cancel', (event) => {
      event.preventDefault();
      this.close();
    });
    this.relabel(page.described);
  }

  // The dialog's captions and the list of challenges from a description (in its language).
  relabel(described) {
    const c = described.challenges;
    $('challenges-title').textContent = c.title;
    $('challenge-list-caption').textContent = c.list;
    const list = $('challenge-list');
    const chosen = list.value;
    list.replaceChildren(...c.choices.map(({ name, title }) => new Option(title, name)));
    list.value = chosen || (c.choices[0]?.name ?? '');
    for (const [id, text] of [['challenge-start', c.start], ['challenge-again', c.startAgain],
      ['challenge-hint', c.showHint], ['challenge-hand-in', c.handIn], ['challenge-end', c.end],
      ['challenge-goals-caption', c.goals], ['challenge-hints-caption', c.hints],
      ['challenge-none', c.none], ['challenges-close', c.close]]) {
      $(id).textContent = text;
    }
  }

  isOpen() {
    return this.dialog.open;
  }

  // Shows the dialog beside the picture (over it or under it in the band layout), the list focused;
  // when it is open already, only the focus goes to it.
  open() {
    if (!this.isOpen()) {
      const active = document.activeElement;
      this.returnTo = active && active !== document.body ? active : null;
      this.dialog.show();
      this.relaid();
    }
    $('challenge-list').focus();
  }

  // Hides the dialog; the focus goes back where it was before it opened.
  close() {
    if (!this.isOpen()) {
      return;
    }
    this.dialog.close();
    this.relaid();
    const back = this.returnTo?.isConnected && !this.returnTo.disabled ? this.returnTo : $('surface');
    this.returnTo = null;
    back.focus();
  }

  // The picture gives the dialog room while it is open, or takes it back.
  relaid() {
    document.documentElement.classList.toggle('challenges-open', this.isOpen());
    this.page.layout();
    this.page.fitSurfaces();
  }

  // A button's input line: the view after it shows at once, a refusal says why.
  send(line) {
    this.tell(this.page.input(line));
  }

  tell(text) {
    this.page.show('challenge.told', text, (told) => { $('challenge-told').textContent = told; });
  }

  // Ends the attempt's recording and downloads it with its summary, as the module writes them.
  handIn() {
    const when = new Date().toLocaleString(this.page.described.language);
    const given = JSON.parse(this.page.front.describe(`hand-in ${when}`));
    if (!given.refusal) {
      this.page.lesson.download(given.recordingName, 'text/plain', given.recording);
      this.page.lesson.download(given.summaryName, 'text/plain', given.summary);
      this.handedIn = given;
    }
    this.tell(given.refusal || given.handedIn);
    this.page.refresh();
  }

  // The challenge under way as the view says it stands, touching only what changed.
  applyView(view) {
    const c = view.challenge;
    const show = (key, value, apply) => this.page.show(`challenge.${key}`, value, apply);
    show('active', c.active, (on) => {
      $('challenge-now').hidden = !on;
      $('challenge-none').hidden = on;
    });
    for (const [key, id] of [['title', 'challenge-title'], ['task', 'challenge-task'],
      ['combine', 'challenge-combine'], ['verdict', 'challenge-verdict'], ['figures', 'challenge-figures']]) {
      show(key, c[key], (text) => {
        $(id).textContent = text;
        $(id).hidden = text === '';
      });
    }
    this.showGoals(c.goals);
    this.showHints(c.hints);
    show('hintEnabled', c.active && c.hintsLeft > 0, (on) => { $('challenge-hint').disabled = !on; });
    show('againEnabled', c.active, (on) => {
      $('challenge-again').disabled = !on;
      $('challenge-end').disabled = !on;
    });
    show('handInEnabled', c.active && c.recorded, (on) => { $('challenge-hand-in').disabled = !on; });
  }

  // One item a goal: its mark, its words and its progress; an item changes only with its goal.
  showGoals(goals) {
    const list = $('challenge-goals');
    while (list.children.length > goals.length) {
      list.lastElementChild.remove();
    }
    goals.forEach(({ text, progress, status }, index) => {
      let item = list.children[index];
      if (!item) {
        item = document.createElement('li');
        const mark = document.createElement('span');
        mark.className = 'mark';
        mark.setAttribute('aria-hidden', 'true');
        const words = document.createElement('span');
        const state = document.createElement('span');
        state.className = 'progress';
        item.append(mark, words, ' ', state);
        list.append(item);
      }
      const [mark, words, , state] = item.childNodes;
      if (item.dataset.status !== status) {
        item.dataset.status = status;
        mark.textContent = Marks[status] ?? '';
      }
      if (words.textContent !== text) {
        words.textContent = text;
      }
      if (state.textContent !== progress) {
        state.textContent = progress;
      }
    });
  }

  // The hints shown so far, in their order.
  showHints(hints) {
    const list = $('challenge-hints');
    while (list.children.length > hints.length) {
      list.lastElementChild.remove();
    }
    hints.forEach((hint, index) => {
      const item = list.children[index] ?? list.appendChild(document.createElement('li'));
      if (item.textContent !== hint) {
        item.textContent = hint;
      }
    });
    this.page.show('challenge.hintsShown', hints.length > 0, (any) => { $('challenge-hints').hidden = !any; });
  }
}
