// The page's menus: the menu bar and the Lab menu, built from the module's tables, with every
// item's keys. Choosing an item (by pointer, keys or mnemonic) sends the module its input line
// ("item WORD"); the few items that are the page's own (About, the lab panel, the files) the
// page carries out itself. How each item shows comes from the module's view.
const $ = (id) => document.getElementById(id);

const MenuBarList = 0;
const LabList = 1;

// A key event as the tables write keys: "F5", "Esc", "Ctrl+G", "Ctrl+Up", "Ctrl+[".
function keysOf(event) {
  const names = { Escape: 'Esc', ArrowUp: 'Up', ArrowDown: 'Down', ArrowLeft: 'Left', ArrowRight: 'Right' };
  const key = names[event.key] ?? (event.key.length === 1 ? event.key.toUpperCase() : event.key);
  return [event.ctrlKey || event.metaKey ? 'Ctrl' : '', event.altKey ? 'Alt' : '', event.shiftKey ? 'Shift' : '', key]
    .filter(Boolean).join('+');
}

// A caption with its mnemonic letter underlined.
function captionNode(caption, mnemonic) {
  const span = document.createElement('span');
  const at = mnemonic ? caption.toLowerCase().indexOf(mnemonic) : -1;
  if (at < 0) {
    span.textContent = caption;
  } else {
    const letter = document.createElement('u');
    letter.textContent = caption[at];
    span.append(caption.slice(0, at), letter, caption.slice(at + 1));
  }
  return span;
}

export class MenuBar {
  constructor(page) {
    this.page = page;
    this.front = page.front;
    this.bar = $('menubar');
    document.addEventListener('pointerdown', (event) => {
      if (this.menu && !this.menu.hidden && !event.target.closest('.menu-holder')) {
        this.closeMenu();
      }
    });
    this.relabel(page.described);
  }

  // Builds the menu bar and the Lab menu anew from a description (in its language).
  relabel(described) {
    this.described = described;
    this.keys = new Map(); // "Ctrl+G" -> [list, position]
    this.barItems = [];
    this.labItems = [];
    this.shown = []; // per list and position, the view's item last shown
    this.bar.replaceChildren();
    this.described.menuBar.forEach((item, position) => {
      if (item.edition === 'desktop') {
        this.barItems.push(null); // the window's own (Quit: a browser closes its own tabs)
        return;
      }
      const button = document.createElement('button');
      button.setAttribute('role', 'menuitem');
      button.id = `menu-${item.name}`;
      button.dataset.key = item.mnemonic;
      button.append(captionNode(item.caption, item.mnemonic));
      button.addEventListener('click', () => this.activate(MenuBarList, position));
      this.bar.append(button);
      this.barItems.push(button);
      this.keys.set(item.keys, [MenuBarList, position]);
    });
    this.buildLabMenu();
  }

  buildLabMenu() {
    const holder = document.createElement('div');
    holder.className = 'menu-holder';
    this.menuButton = document.createElement('button');
    this.menuButton.setAttribute('role', 'menuitem');
    this.menuButton.id = 'menu-lab';
    this.menuButton.dataset.key = this.described.labMenuMnemonic;
    this.menuButton.setAttribute('aria-haspopup', 'menu');
    this.menuButton.setAttribute('aria-expanded', 'false');
    this.menuButton.append(captionNode(this.described.labMenuCaption, this.described.labMenuMnemonic));
    this.menu = document.createElement('div');
    this.menu.id = 'lab-menu';
    this.menu.setAttribute('role', 'menu');
    this.menu.setAttribute('aria-label', this.described.labMenuCaption);
    this.menu.hidden = true;
    holder.append(this.menuButton, this.menu);
    this.bar.append(holder);

    let group = null;
    this.described.labMenu.forEach((item, position) => {
      if (item.edition === 'desktop') {
        this.labItems.push(null); // the window's own (its files): positions stay the module's
        return;
      }
      if (item.separatorBefore) {
        this.menu.append(document.createElement('hr'));
      }
      let into = this.menu;
      if (item.submenu) {
        if (!group || group.getAttribute('aria-label') !== item.submenu) {
          group = document.createElement('div');
          group.setAttribute('role', 'group');
          group.setAttribute('aria-label', item.submenu);
          const label = document.createElement('div');
          label.className = 'group-label';
          label.setAttribute('aria-hidden', 'true');
          label.textContent = item.submenu;
          group.append(label);
          this.menu.append(group);
        }
        into = group;
      }
      const button = document.createElement('button');
      button.setAttribute('role', item.check === 'box' ? 'menuitemcheckbox'
        : item.check === 'radio' ? 'menuitemradio' : 'menuitem');
      const keys = document.createElement('span');
      keys.className = 'keys';
      keys.textContent = item.keys;
      button.append(captionNode(item.caption, item.mnemonic), keys);
      button.addEventListener('click', () => {
        this.closeMenu();
        this.activate(LabList, position);
      });
      into.append(button);
      this.labItems.push(button);
      if (item.keys) {
        this.keys.set(item.keys, [LabList, position]);
      }
    });

    this.menuButton.addEventListener('click', () => (this.menu.hidden ? this.openMenu() : this.closeMenu()));
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
    this.menu.hidden = false;
    this.menuButton.setAttribute('aria-expanded', 'true');
    this.menu.querySelector('button:not(:disabled)').focus();
  }

  closeMenu() {
    this.menu.hidden = true;
    this.menuButton.setAttribute('aria-expanded', 'false');
  }

  // Carries out the Lab menu's item of `command`.
  activateCommand(command) {
    this.activate(LabList, this.described.labMenu.findIndex((item) => item.command === command));
  }

  // Carries out an item of a list (0 the menu bar, 1 the Lab menu).
  activate(list, position) {
    const item = (list === MenuBarList ? this.described.menuBar : this.described.labMenu)[position];
    const commands = this.described.commands;
    const pages = new Map([
      [commands.about, () => this.page.showModal($('about'))],
      [commands.labPanel, () => this.page.lab.togglePanel()],
      [commands.lawEditor, () => this.page.law.open()],
      [commands.challenges, () => this.page.challenges.open()],
      [commands.describe, () => this.page.speak(this.front.describe('whole-state'))],
      [commands.keys, () => this.page.showModal($('keys'))],
      [commands.record, () => this.page.lesson.toggleRecording()],
      [commands.playRecording, () => this.page.lesson.chooseRecording()],
      [commands.copyLink, () => this.page.lesson.copyLink()],
      [commands.exportPlotData, () => this.page.lesson.exportPlotData()],
      [commands.exportPicture, () => this.page.lesson.exportPicture()],
    ]);
    if (pages.has(item.command)) {
      pages.get(item.command)();
    } else if (!item.frontEnd) {
      this.front.submit(`item ${item.word}`);
      if (item.command === commands.language) {
        this.page.relabel();
        return;
      }
    }
    this.page.refresh();
  }

  // The keys of the menus, and Alt with a menu bar mnemonic; true when the key was one of them.
  key(event) {
    if (event.altKey && !(event.ctrlKey || event.metaKey) && event.key.length === 1) {
      const button = this.bar.querySelector(`:scope > button[data-key="${event.key.toLowerCase()}"],` +
        ` :scope > .menu-holder > button[data-key="${event.key.toLowerCase()}"]`);
      button?.click();
      return Boolean(button);
    }
    const found = this.keys.get(keysOf(event));
    if (!found) {
      return false;
    }
    this.activate(...found);
    return true;
  }

  // Shows the menus' items as the view says they stand, touching only what changed.
  applyView(view) {
    this.applyItems(MenuBarList, this.barItems, view.menuBar);
    this.applyItems(LabList, this.labItems, view.labMenu);
  }

  applyItems(list, buttons, items) {
    const shown = (this.shown[list] ??= []);
    items.forEach((item, position) => {
      const button = buttons[position];
      const before = shown[position];
      if (!button || (before && before.checked === item.checked && before.enabled === item.enabled &&
        before.caption === item.caption)) {
        return;
      }
      shown[position] = item;
      if (list === LabList && button.getAttribute('role') !== 'menuitem') {
        button.setAttribute('aria-checked', String(item.checked));
      }
      button.disabled = !item.enabled;
      if (button.firstChild.textContent !== item.caption) {
        button.firstChild.replaceWith(captionNode(item.caption, item.mnemonic));
      }
    });
  }
}
