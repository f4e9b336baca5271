// The page's side of a lesson: recording the user's inputs and saving them as a download,
// playing a recording chosen from a file, the current experiment as a link (in the address
// bar and on the clipboard), a link's experiment opened at start-up, and the plot's data and
// the picture as downloads. What is recorded, replayed and linked is the module's.
const $ = (id) => document.getElementById(id);

export class LessonView {
  constructor(page) {
    this.page = page;
    this.front = page.front;
    this.texts = page.described.lesson;
    this.shown = {}; // the link's hash last opened and the status shown
    this.lastDownload = null; // the last file handed to the browser, for the page's tests
    const input = $('recording-file');
    input.accept = `${this.texts.recordingSuffix},text/plain`;
    input.addEventListener('change', () => {
      const [file] = input.files;
      input.value = '';
      if (file) {
        this.playFile(file);
      }
    });
    window.addEventListener('hashchange', () => this.openLink(location.hash, true));
  }

  // A message of the page's own, with a link to show when there is one.
  tell(title, text, link = null) {
    $('message-title').textContent = title;
    $('message-text').textContent = text;
    const field = $('message-link');
    field.hidden = link === null;
    field.value = link ?? '';
    field.setAttribute('aria-label', title);
    this.page.showModal($('message'));
    if (link !== null) {
      field.select();
    }
  }

  // Hands a file to the browser to save, as a download the user asked for.
  download(name, type, data) {
    const blob = data instanceof Blob ? data : new Blob([data], { type });
    this.lastDownload = { name, type, size: blob.size, text: typeof data === 'string' ? data : null };
    const address = URL.createObjectURL(blob);
    const anchor = document.createElement('a');
    anchor.href = address;
    anchor.download = name;
    anchor.hidden = true;
    document.body.append(anchor);
    anchor.click();
    anchor.remove();
    setTimeout(() => URL.revokeObjectURL(address), 60000);
  }

  toggleRecording() {
    if (this.page.view.recording) {
      this.download(this.texts.recordingName, 'text/plain', this.front.describe('stop-recording'));
    } else {
      this.front.submit('record');
    }
  }

  chooseRecording() {
    $('recording-file').click();
  }

  async playFile(file) {
    if (file.size > this.texts.maxRecordingBytes) {
      this.tell(this.texts.playRecordingTitle,
        `${this.texts.recordingRefused}\n${file.name}: ${this.texts.recordingTooLarge}`);
      return;
    }
    this.play(await file.text(), file.name);
  }

  // Plays a recording's text; a bad one is told and nothing changes.
  play(script, name = '') {
    const error = this.front.submit(`play\n${script}`);
    if (error) {
      this.tell(this.texts.playRecordingTitle, `${this.texts.recordingRefused}\n${name ? `${name}: ` : ''}${error}`);
    }
    this.page.refresh();
  }

  // The experiment as the page shows it now, in the address bar and on the clipboard.
  async copyLink() {
    const hash = this.front.describe('link');
    history.replaceState(null, '', `#${hash}`);
    this.shown.hash = location.hash;
    let copied = true;
    try {
      await navigator.clipboard.writeText(location.href);
    } catch {
      copied = false; // no permission, or no secure context: the link is shown to copy by hand
    }
    this.tell(this.texts.copyLinkTitle, copied ? this.texts.linkCopied : this.texts.linkNotCopied, location.href);
  }

  // Opens the experiment of a hash (after the notice, or when the hash changes), or attempts
  // a challenge link's challenge, the Challenges dialog open; a bad one, or one that comes
  // while a recording plays, is told why, and the simulation goes on.
  openLink(hash, changed = false) {
    if (hash === '' || hash === '#' || (changed && hash === this.shown.hash)) {
      return;
    }
    this.shown.hash = hash;
    const opened = JSON.parse(this.front.describe(`open-link ${hash}`));
    for (const warning of opened.warnings) {
      console.warn(warning);
    }
    if (opened.error) {
      const refused = changed ? this.texts.experimentRefused : this.texts.linkRefused;
      this.tell(this.texts.openExperimentTitle, `${refused}\n${opened.error}`);
    } else if (opened.labPanel !== this.page.lab.panelOpen()) {
      this.page.lab.togglePanel();
    }
    this.page.refresh();
    if (opened.challenge) {
      this.page.challenges.open(); // a challenge's link: its task and goals in view
    }
  }

  exportPlotData() {
    this.download(this.texts.plotDataName, 'text/csv', this.front.describe('plot-data'));
  }

  // The picture as shown, cues and all, at the canvas's own resolution.
  exportPicture() {
    const picture = $('surface');
    const copy = document.createElement('canvas');
    copy.width = picture.width;
    copy.height = picture.height;
    const context = copy.getContext('2d');
    context.drawImage(picture, 0, 0);
    context.drawImage($('cues'), 0, 0, copy.width, copy.height);
    copy.toBlob((blob) => this.download(this.texts.pictureName, 'image/png', blob), 'image/png');
  }

  // The status badge says what runs: a recording, or a replay and its steps to go.
  applyView(view) {
    if (this.shown.status !== view.status) {
      this.shown.status = view.status;
      $('lesson-status').textContent = view.status;
      $('lesson-status').hidden = view.status === '';
    }
  }
}
