// Draws frames: every view of the frame's tree becomes an absolutely positioned element at its
// frame, in points, keyed by the view's identifier so that one element stays one view from
// frame to frame. Knows view kinds, never the application's screens.

const FONT = 'Helvetica, Arial, sans-serif';

export function css(color) {
  if (!color) return '';
  const [r, g, b, a] = color;
  return `rgba(${Math.round(r * 255)},${Math.round(g * 255)},${Math.round(b * 255)},${a})`;
}

export function pictureUrl(picture) {
  return `/pictures/${picture.id}`;
}

function setStyle(el, name, value) {
  if (el.style[name] !== value) el.style[name] = value;
}

function setText(el, text) {
  if (el.textContent !== text) el.textContent = text;
}

function child(el, className, tag = 'div') {
  let found = el.querySelector(`:scope > .${className}`);
  if (!found) {
    found = document.createElement(tag);
    found.className = className;
    el.append(found);
  }
  return found;
}

function setPicture(el, picture, className = 'picture') {
  if (!picture) {
    el.querySelector(`:scope > img.${className}`)?.remove();
    return;
  }
  const img = child(el, className, 'img');
  img.draggable = false;
  img.alt = '';
  const url = pictureUrl(picture);
  if (img.getAttribute('src') !== url) img.setAttribute('src', url);
}

// A one-line title that does not fit its control is drawn smaller, down to this share of its
// size (as the device's controls shrink their titles), and only then cut short.
const SMALLEST_SHARE = 0.6;
const SMALLEST_SIZE = 8;

// Shrinks `span`'s font until its text fits the width it is given. Measured again only when its
// text or its width changed.
function fitToWidth(span) {
  const key = `${span.textContent}|${span.parentElement?.clientWidth ?? 0}`;
  if (span.dataset.fit === key) return;
  span.style.fontSize = '';
  const base = parseFloat(getComputedStyle(span).fontSize) || 12;
  const smallest = Math.max(SMALLEST_SIZE, base * SMALLEST_SHARE);
  // The room is the control's inside; widths are rounded, so a title fits only with a pixel to
  // spare (a fraction of a pixel too wide would read as fitting, yet be cut short).
  const style = getComputedStyle(span.parentElement);
  const room = span.parentElement.clientWidth - parseFloat(style.paddingLeft || '0')
    - parseFloat(style.paddingRight || '0');
  const tooWide = () => span.scrollWidth > room - 1;
  for (let size = base; tooWide() && size > smallest;) {
    size = Math.max(smallest, size - 0.5);
    span.style.fontSize = `${size}px`;
  }
  span.dataset.fit = key;
}

function fontOf(d, fallbackSize = 17) {
  const [size, style] = d.font ?? [fallbackSize, 'regular'];
  const weight = style === 'bold' ? 'bold ' : '';
  const italic = style === 'italic' ? 'italic ' : '';
  return `${italic}${weight}${size}px ${FONT}`;
}

const ALIGN = { left: 'left', center: 'center', right: 'right' };

// The keyboard a phone shows for the field's keyboard type.
export const INPUT_MODE = {
  numberPad: 'numeric',
  numbersAndPunctuation: 'decimal',
  email: 'email',
};

function dateInputValue(seconds) {
  const date = new Date(seconds * 1000);
  const pad = (n) => String(n).padStart(2, '0');
  return `${date.getFullYear()}-${pad(date.getMonth() + 1)}-${pad(date.getDate())}`;
}

export class Renderer {
  // `input` receives what the user does to native controls (typing, dates, files, deletes).
  constructor(screen, input) {
    this.screen = screen;
    this.input = input;
    this.views = new Map(); // id → { el, kind, container, scroller, desc }
    this.seen = new Set();
    this.toFit = [];
    this.newScrollers = [];
  }

  element(id) {
    return this.views.get(id)?.el ?? null;
  }
  record(id) {
    return this.views.get(id) ?? null;
  }

  render(frame) {
    this.seen = new Set();
    this.placeViews(this.screen, [frame.root], { x: 0, y: 0 });
    for (const [id, record] of this.views) {
      if (!this.seen.has(id)) {
        record.el.remove();
        this.views.delete(id);
      }
    }
    // A scroller made in this frame could not take its offset then (a detached element does not
    // scroll): now that everything is in place, it does. The others took theirs as they were drawn.
    for (const record of this.newScrollers) {
      if (record.scroller.isConnected) this.syncScroll(record, record.desc);
    }
    this.newScrollers = [];
    // Titles are fitted once they are laid out.
    for (const span of this.toFit) if (span.isConnected) fitToWidth(span);
    this.toFit = [];
  }

  // Puts the views' elements into `container` in order (back to front), after whatever
  // decorations of its own the container holds (pictures, inputs, headers).
  placeViews(container, descs, origin) {
    let cursor = null;
    for (const d of descs) {
      const el = this.renderView(d, origin);
      if (cursor) {
        if (cursor.nextSibling !== el) cursor.after(el);
      } else {
        const first = [...container.children].find((c) => c.classList.contains('v'));
        if (first !== el) container.insertBefore(el, first ?? null);
      }
      cursor = el;
    }
  }

  renderView(d, origin) {
    this.seen.add(d.id);
    let record = this.views.get(d.id);
    if (!record || record.kind !== d.kind) {
      record?.el.remove();
      const el = document.createElement('div');
      el.dataset.id = d.id;
      el.dataset.kind = d.kind;
      record = { el, kind: d.kind, container: el, scroller: null };
      this.views.set(d.id, record);
    }
    record.desc = d;
    const el = record.el;
    const [x, y, w, h] = d.frame;
    setStyle(el, 'left', `${x - origin.x}px`);
    setStyle(el, 'top', `${y - origin.y}px`);
    setStyle(el, 'width', `${w}px`);
    setStyle(el, 'height', `${h}px`);
    setStyle(el, 'transform', d.transform ? `matrix(${d.transform.join(',')})` : '');
    setStyle(el, 'opacity', d.alpha !== undefined ? String(d.alpha) : '');
    // A view all but transparent takes no touch (the toolkit's hit test passes it by): the
    // browser's own controls beneath it (a file chooser's buttons) must still get the click.
    setStyle(el, 'pointerEvents', d.alpha !== undefined && d.alpha < 0.01 ? 'none' : '');
    setStyle(el, 'backgroundColor', d.bg ? css(d.bg) : '');
    const classes = ['v', d.kind];
    if (d.clips) classes.push('clips');
    if (d.pattern) classes.push(`pattern-${d.pattern}`);
    if (d.disabled) classes.push('disabled');
    // A cell that shows no selection stays as it is while selected.
    if (d.selected && d.selectionStyle !== 'none') classes.push('selected');
    if (d.highlighted) classes.push('highlighted');
    if (d.buttonType) classes.push(d.buttonType);
    if (d.tableStyle) classes.push(d.tableStyle);
    if (d.editing) classes.push('editing');
    if (d.selectionStyle === 'gray') classes.push('gray');
    if (d.style) classes.push(d.style);
    if (record.extraClasses) classes.push(...record.extraClasses);
    const className = classes.join(' ');
    if (el.className !== className) el.className = className;

    const draw = this.drawers[d.kind];
    if (draw) draw.call(this, record, d);
    else this.drawView(record, d);
    if (d.kind === 'tableViewCell') this.drawCellControls(record, d);

    const subviews = d.subviews ?? [];
    if (record.scroller) {
      this.placeViews(record.container, subviews, { x: 0, y: 0 });
      this.syncScroll(record, d);
    } else {
      const childOrigin = d.origin ? { x: d.origin[0], y: d.origin[1] } : { x: 0, y: 0 };
      this.placeViews(record.container, subviews, childOrigin);
    }
    return el;
  }

  drawView(record, d) {
    setPicture(record.el, d.picture);
  }

  syncScroll(record, d) {
    const scroller = record.scroller;
    const [x, y] = d.origin ?? [0, 0];
    if (this.input.isScrolling(scroller)) return;
    if (Math.abs(scroller.scrollLeft - x) > 0.5 || Math.abs(scroller.scrollTop - y) > 0.5) {
      this.input.setScrollQuietly(scroller, x, y);
    }
  }

  ensureScroller(record, d) {
    if (!record.scroller) {
      const scroller = document.createElement('div');
      scroller.className = 'scroller';
      const content = document.createElement('div');
      content.className = 'content';
      scroller.append(content);
      record.el.append(scroller);
      record.scroller = scroller;
      this.newScrollers.push(record);
      record.container = content;
      scroller.dataset.view = d.id;
      this.input.watchScroller(scroller);
    }
    const [, , w, h] = d.frame;
    const [cw, ch] = d.contentSize ?? [w, h];
    const scrolls = !d.scrollDisabled;
    record.scroller.classList.toggle('scrolls-x', scrolls && cw > w + 0.5);
    record.scroller.classList.toggle('scrolls-y', scrolls && ch > h + 0.5);
    record.scroller.classList.toggle('paging', !!d.paging);
    setStyle(record.container, 'width', `${Math.max(cw, w)}px`);
    setStyle(record.container, 'height', `${Math.max(ch, h)}px`);
    // Snap points for paging, one per page.
    const pages = d.paging && w > 0 ? Math.ceil(cw / w - 0.001) : 0;
    let snaps = record.scroller.querySelectorAll(':scope > .content > .snap');
    if (snaps.length !== pages) {
      snaps.forEach((s) => s.remove());
      for (let i = 0; i < pages; i++) {
        const snap = document.createElement('div');
        snap.className = 'snap';
        snap.style.left = `${i * w}px`;
        snap.style.width = `${w}px`;
        record.container.prepend(snap);
      }
    }
  }

  drawCellControls(record, d) {
    const el = record.el;
    const indexPath = d.indexPath ? d.indexPath.join(',') : '';
    if (el.dataset.indexPath !== indexPath) el.dataset.indexPath = indexPath;
    const accessory = d.accessory === 'disclosureIndicator' || d.accessory === 'checkmark' ? d.accessory : null;
    const mark = el.querySelector(':scope > .accessory');
    if (accessory && !d.editing) {
      const a = mark ?? child(el, 'accessory');
      a.className = `accessory ${accessory}`;
      setText(a, accessory === 'checkmark' ? '\u2713' : '\u203A');
    } else {
      mark?.remove();
    }
    const minus = el.querySelector(':scope > .minus');
    if (d.editing && d.deletable) {
      if (!minus) {
        const m = child(el, 'minus');
        m.addEventListener('pointerup', (event) => {
          event.stopPropagation();
          this.input.toggleDeleteConfirmation(record);
        });
        m.addEventListener('pointerdown', (event) => event.stopPropagation());
      }
    } else {
      minus?.remove();
    }
    const handle = el.querySelector(':scope > .reorder');
    if (d.editing && d.movable) {
      if (!handle) this.input.attachReorderHandle(record, child(el, 'reorder'));
    } else {
      handle?.remove();
    }
    if (!d.editing && !record.swiped) this.input.hideDeleteButton(record);
  }
}

// The parts both pickers share: a hidden file input, "Choose ..." opening it, Cancel, and a
// line for refusals; `upload(file, message)` takes the chosen file. Touches on the buttons stay
// with the buttons. Returns the input.
function pickerControls(renderer, record, chooserTitle, upload, before = []) {
  const message = document.createElement('div');
  message.className = 'message';
  const file = document.createElement('input');
  file.type = 'file';
  file.hidden = true;
  const chooser = document.createElement('button');
  chooser.className = 'chooser';
  chooser.textContent = chooserTitle;
  const cancel = document.createElement('button');
  cancel.className = 'cancel';
  cancel.textContent = 'Cancel';
  for (const b of [chooser, cancel, file]) {
    b.addEventListener('pointerdown', (event) => event.stopPropagation());
    b.addEventListener('pointerup', (event) => event.stopPropagation());
  }
  chooser.addEventListener('click', () => file.click());
  cancel.addEventListener('click', () => renderer.input.cancelPicker(record.desc.id));
  file.addEventListener('change', () => {
    if (file.files?.length) upload(file.files[0], message);
    file.value = '';
  });
  record.el.append(...before, chooser, cancel, message, file);
  return file;
}

Renderer.prototype.drawers = {
  window(record) {
    record.el.style.background = '#000';
  },

  label(record, d) {
    const el = record.el;
    const span = child(el, 'text', 'span');
    setText(span, d.text ?? '');
    setStyle(el, 'font', fontOf(d));
    setStyle(el, 'color', css(d.color ?? [0, 0, 0, 1]));
    setStyle(span, 'textAlign', ALIGN[d.align] ?? 'left');
    const lines = d.lines ?? 1;
    el.classList.add(lines === 1 ? 'l1' : 'lmany');
    setStyle(span, 'webkitLineClamp', lines > 1 ? String(lines) : '');
    setStyle(span, 'display', lines > 1 ? '-webkit-box' : '');
    setStyle(span, 'webkitBoxOrient', lines > 1 ? 'vertical' : '');
    setStyle(span, 'overflow', lines > 1 ? 'hidden' : '');
  },

  button(record, d) {
    const el = record.el;
    setPicture(el, d.picture);
    const title = child(el, 'title', 'span');
    setText(title, d.text ?? '');
    setStyle(el, 'font', fontOf(d, 15));
    this.toFit.push(title);
    if (d.color && d.color[3] > 0 && !d.highlighted) setStyle(el, 'color', css(d.color));
    else setStyle(el, 'color', '');
  },

  imageView(record, d) {
    setPicture(record.el, d.picture);
  },

  segmentedControl(record, d) {
    const el = record.el;
    const segments = d.segments ?? [];
    while (el.querySelectorAll(':scope > .segment').length > segments.length) {
      el.querySelector(':scope > .segment:last-of-type').remove();
    }
    segments.forEach((segment, index) => {
      let s = el.querySelectorAll(':scope > .segment')[index];
      if (!s) {
        s = document.createElement('div');
        s.className = 'segment';
        s.addEventListener('pointerdown', (event) => event.stopPropagation());
        s.addEventListener('pointerup', (event) => {
          event.stopPropagation();
          const current = this.record(record.desc.id)?.desc;
          if (current && !current.disabled) this.input.chooseSegment(current.id, index);
        });
        el.append(s);
      }
      const [x, y, w, h] = segment.frame;
      s.style.left = `${x}px`;
      s.style.top = `${y}px`;
      s.style.width = `${w + (index > 0 ? 1 : 0)}px`;
      s.style.height = `${h}px`;
      s.classList.toggle('selected', index === d.selectedSegment);
      s.classList.toggle('disabled', !!segment.disabled);
      if (segment.picture) {
        s.querySelector(':scope > .title')?.remove();
        setPicture(s, segment.picture, 'segmentPicture');
      } else {
        s.querySelector('img')?.remove();
        const title = child(s, 'title', 'span');
        setText(title, segment.title);
        this.toFit.push(title);
      }
    });
  },

  textField(record, d) {
    const el = record.el;
    let input = el.querySelector(':scope > input');
    if (!input) {
      input = document.createElement('input');
      input.type = 'text';
      input.autocomplete = 'off';
      input.spellcheck = false;
      this.input.attachTextInput(record, input);
      el.append(input);
    }
    this.updateTextInput(record, input, d);
    setStyle(input, 'textAlign', ALIGN[d.align] ?? 'left');
  },

  textView(record, d) {
    const el = record.el;
    if (d.editable) {
      el.querySelector(':scope > .text')?.remove();
      let area = el.querySelector(':scope > textarea');
      if (!area) {
        area = document.createElement('textarea');
        area.spellcheck = false;
        this.input.attachTextInput(record, area);
        el.append(area);
      }
      this.updateTextInput(record, area, d);
    } else {
      el.querySelector(':scope > textarea')?.remove();
      const text = child(el, 'text');
      setText(text, d.text ?? '');
      setStyle(text, 'font', fontOf(d, 12));
      setStyle(text, 'color', css(d.color ?? [0, 0, 0, 1]));
    }
  },

  datePicker(record, d) {
    const el = record.el;
    let input = el.querySelector(':scope > input');
    if (!input) {
      input = document.createElement('input');
      input.type = 'date';
      input.addEventListener('pointerdown', (event) => event.stopPropagation());
      input.addEventListener('pointerup', (event) => event.stopPropagation());
      input.addEventListener('change', () => {
        const current = this.record(record.desc.id)?.desc;
        if (!current || !input.value) return;
        const [year, month, day] = input.value.split('-').map(Number);
        const before = new Date((current.date ?? 0) * 1000);
        const picked = new Date(year, month - 1, day, before.getHours(), before.getMinutes(), before.getSeconds());
        this.input.pickDate(current.id, picked.getTime() / 1000);
      });
      el.append(input);
    }
    input.disabled = !!d.disabled;
    if (d.date !== undefined && document.activeElement !== input) {
      const value = dateInputValue(d.date);
      if (input.value !== value) input.value = value;
    }
  },

  imagePicker(record, d) {
    if (record.el.querySelector(':scope > .chooser')) return;
    const file = pickerControls(this, record, 'Choose a Photo', (chosen, message) =>
      this.input.uploadPhoto(record.desc.id, chosen, message));
    file.accept = 'image/jpeg,image/png,image/*';
  },

  // The device's files: the browser's own file chooser, offering the kinds the picker names;
  // the chosen file is uploaded whole, and a refusal is shown under the buttons.
  documentPicker(record, d) {
    const el = record.el;
    let file = el.querySelector(':scope > input[type=file]');
    if (!file) {
      const prompt = document.createElement('div');
      prompt.className = 'prompt';
      file = pickerControls(this, record, 'Choose a File', (chosen, message) => {
        const current = this.record(record.desc.id)?.desc ?? d;
        this.input.uploadDocument(current.id, chosen, current.maxBytes, message);
      }, [prompt]);
    }
    const prompt = el.querySelector(':scope > .prompt');
    if (prompt.textContent !== (d.text ?? '')) prompt.textContent = d.text ?? '';
    const accept = d.accept ?? '';
    if (file.accept !== accept) file.accept = accept;
  },

  scrollView(record, d) {
    this.ensureScroller(record, d);
  },

  tableView(record, d) {
    this.ensureScroller(record, d);
    const content = record.container;
    // Section headers live in the content, at their frames, before the cells.
    const headers = d.headers ?? [];
    const existing = [...content.querySelectorAll(':scope > .header')];
    existing.slice(headers.length).forEach((h) => h.remove());
    headers.forEach((header, i) => {
      let h = existing[i];
      if (!h) {
        h = document.createElement('div');
        h.className = 'header';
        content.prepend(h);
      }
      const [x, y, w, hh] = header.frame;
      h.style.left = `${x}px`;
      h.style.top = `${y}px`;
      h.style.width = `${w}px`;
      h.style.height = `${hh}px`;
      setText(h, header.title);
    });
    // The section index stands still along the right edge.
    const titles = d.indexTitles ?? [];
    let index = record.el.querySelector(':scope > .index');
    if (!titles.length) {
      index?.remove();
      return;
    }
    if (!index) {
      index = document.createElement('div');
      index.className = 'index';
      index.addEventListener('pointerdown', (event) => event.stopPropagation());
      index.addEventListener('pointerup', (event) => {
        event.stopPropagation();
        const span = event.target.closest('span');
        if (span) this.input.chooseSectionIndex(record.desc.id, Number(span.dataset.index));
      });
      record.el.append(index);
    }
    if (index.dataset.titles !== titles.join('\u0001')) {
      index.dataset.titles = titles.join('\u0001');
      index.replaceChildren(
        ...titles.map((t, i) => {
          const s = document.createElement('span');
          s.textContent = t;
          s.dataset.index = i;
          return s;
        }),
      );
    }
  },

  tabBar(record, d) {
    const el = record.el;
    const tabs = d.tabs ?? [];
    const existing = [...el.querySelectorAll(':scope > .tab')];
    existing.slice(tabs.length).forEach((t) => t.remove());
    tabs.forEach((tab, i) => {
      let t = existing[i];
      if (!t) {
        t = document.createElement('div');
        t.className = 'tab';
        t.append(document.createElement('img'), document.createElement('span'));
        t.querySelector('img').alt = '';
        el.append(t);
      }
      const [x, y, w, h] = tab.frame;
      t.style.left = `${x}px`;
      t.style.top = `${y}px`;
      t.style.width = `${w}px`;
      t.style.height = `${h}px`;
      t.classList.toggle('selected', i === d.selectedTab);
      const img = t.querySelector('img');
      const selected = i === d.selectedTab;
      // A tab with a picture of its own for the selected look shows that one, as drawn.
      const picture = (selected && tab.selectedPicture) || tab.picture;
      t.classList.toggle('drawnLooks', !!tab.selectedPicture);
      img.style.visibility = picture ? '' : 'hidden';
      if (picture && img.getAttribute('src') !== pictureUrl(picture)) {
        img.setAttribute('src', pictureUrl(picture));
      }
      setText(t.querySelector('span'), tab.title);
    });
  },
};

Renderer.prototype.updateTextInput = function updateTextInput(record, input, d) {
  input.placeholder = d.placeholder ?? '';
  const mode = INPUT_MODE[d.keyboard];
  if (mode) input.setAttribute('inputmode', mode);
  else input.removeAttribute('inputmode');
  if (d.keyboard === 'email') {
    input.setAttribute('autocapitalize', 'off');
    input.setAttribute('autocorrect', 'off');
  }
  if (d.returnKey === 'done') input.setAttribute('enterkeyhint', 'done');
  else if (d.returnKey) input.setAttribute('enterkeyhint', d.returnKey === 'search' ? 'search' : d.returnKey === 'send' ? 'send' : d.returnKey === 'next' ? 'next' : d.returnKey === 'go' ? 'go' : 'enter');
  else input.removeAttribute('enterkeyhint');
  input.disabled = !!d.disabled;
  input.style.font = fontOf(d, 12);
  input.style.color = css(d.color ?? [0, 0, 0, 1]);
  this.input.syncTextInput(record, input, d);
};
