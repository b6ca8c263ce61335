// The finger and the keyboard: turns what the user does in the browser into the events the
// shell carries out (taps with their tap counts, scroll offsets with their phases, typing,
// row deletion and moves, segments, dates, photos). Every event carries a sequence number;
// frames name the last one they answer, so the screen never undoes typing still on its way.

const TAP_SLOP = 8; // points a finger may move and still tap
const MULTI_TAP_MS = 350;
const SWIPE_DISTANCE = 30;
const FLICK_SHARE = 0.1; // a drag over this share of a page goes on to the next page

function firstLine(text) {
  return text.split('\n', 1)[0].trim();
}

export class Input {
  constructor(screen, send) {
    this.screen = screen;
    this.sendRaw = send;
    this.sequence = 0;
    this.acknowledged = -1;
    this.pendingScrolls = new Map(); // scroller → phase
    this.flushScheduled = false;
    this.gesture = null;
    this.lastTap = null;
    this.renderer = null;
    screen.addEventListener('pointerdown', (e) => this.pointerDown(e));
    screen.addEventListener('pointermove', (e) => this.pointerMove(e));
    screen.addEventListener('pointerup', (e) => this.pointerUp(e));
    screen.addEventListener('pointercancel', () => this.pointerCancel());
    screen.addEventListener('contextmenu', (e) => e.preventDefault());
  }

  // ---- Sending
  send(event) {
    if (event.type !== 'scroll') this.flushScrolls();
    event.seq = ++this.sequence;
    this.sendRaw(JSON.stringify(event));
  }
  acknowledge(ack) {
    if (typeof ack === 'number') this.acknowledged = Math.max(this.acknowledged, ack);
  }
  // True while the server has not yet answered everything sent.
  get pending() {
    return this.acknowledged < this.sequence;
  }

  // ---- Coordinates
  scale() {
    const rect = this.screen.getBoundingClientRect();
    return { rect, k: rect.width / 320 || 1 };
  }
  toWindow(event) {
    const { rect, k } = this.scale();
    return { x: (event.clientX - rect.left) / k, y: (event.clientY - rect.top) / k };
  }

  // ---- Taps, swipes and mouse drags
  pointerDown(event) {
    if (event.button !== undefined && event.button > 0) return;
    const point = this.toWindow(event);
    const cell = event.target.closest?.('.tableViewCell');
    this.gesture = {
      id: event.pointerId,
      start: point,
      last: point,
      pointerType: event.pointerType,
      target: event.target,
      scroller: event.target.closest?.('.scroller') ?? null,
      cell,
      moved: false,
      mode: 'tap',
    };
    if (this.gesture.scroller) {
      const s = this.gesture.scroller;
      this.gesture.scrollStart = { x: s.scrollLeft, y: s.scrollTop };
    }
  }

  pointerMove(event) {
    const g = this.gesture;
    if (!g || g.id !== event.pointerId) return;
    const point = this.toWindow(event);
    g.last = point;
    const dx = point.x - g.start.x;
    const dy = point.y - g.start.y;
    if (g.mode === 'tap' && Math.hypot(dx, dy) > TAP_SLOP) {
      g.moved = true;
      const cellDesc = g.cell && this.renderer.record(Number(g.cell.dataset.id))?.desc;
      const horizontal = Math.abs(dx) > Math.abs(dy) * 1.5;
      const pages = g.scroller?.classList.contains('scrolls-x');
      // Swipe-to-delete, outside editing mode, on the rows the process describes as deletable.
      if (cellDesc && !cellDesc.editing && cellDesc.deletable && horizontal && !pages) {
        g.mode = 'swipe';
      } else if (g.scroller && g.pointerType === 'mouse') {
        g.mode = 'drag';
        this.screen.setPointerCapture?.(event.pointerId);
        g.scroller._dragging = true;
        g.scroller.classList.add('dragging'); // no snapping under the finger
      } else {
        g.mode = 'none';
      }
    }
    if (g.mode === 'swipe' && Math.abs(dx) >= SWIPE_DISTANCE) {
      this.showDeleteButton(this.renderer.record(Number(g.cell.dataset.id)));
      g.mode = 'done';
    }
    if (g.mode === 'drag') {
      const s = g.scroller;
      if (s.classList.contains('scrolls-x')) s.scrollLeft = g.scrollStart.x - dx;
      if (s.classList.contains('scrolls-y')) s.scrollTop = g.scrollStart.y - dy;
    }
  }

  pointerUp(event) {
    const g = this.gesture;
    this.gesture = null;
    if (!g || g.id !== event.pointerId) return;
    if (g.mode === 'drag') return this.endDrag(g);
    if (g.mode !== 'tap') return;
    if (this.dismissDeleteButtons(event.target)) return;
    const point = this.toWindow(event);
    const now = performance.now();
    let taps = 1;
    if (this.lastTap && now - this.lastTap.time < MULTI_TAP_MS &&
        Math.hypot(point.x - this.lastTap.x, point.y - this.lastTap.y) < 20) {
      taps = Math.min(3, this.lastTap.taps + 1);
    }
    this.lastTap = { ...point, time: now, taps };
    this.send({ type: 'tap', x: point.x, y: point.y, taps });
  }

  pointerCancel() {
    const g = this.gesture;
    this.gesture = null;
    if (g?.mode === 'drag') this.endDrag(g);
  }

  endDrag(g) {
    const s = g.scroller;
    s._dragging = false;
    if (!s.classList.contains('paging')) {
      s.classList.remove('dragging');
      this.flushScrolls();
      this.sendScroll(s, 'ended');
      return;
    }
    const width = s.clientWidth || 1;
    const moved = s.scrollLeft - g.scrollStart.x;
    const startPage = Math.round(g.scrollStart.x / width);
    let page = startPage;
    if (Math.abs(moved) >= width * FLICK_SHARE) page += Math.sign(moved);
    const last = Math.max(0, Math.round(s.scrollWidth / width) - 1);
    page = Math.min(Math.max(page, 0), last);
    s._gliding = true;
    s.scrollTo({ left: page * width, behavior: 'smooth' });
  }

  // ---- Scroll views: the browser scrolls, the server hears the offsets
  watchScroller(scroller) {
    // The user takes over from any scrolling of our own.
    const takeOver = () => { scroller._quietUntil = 0; };
    scroller.addEventListener('wheel', takeOver, { passive: true });
    scroller.addEventListener('pointerdown', takeOver, { passive: true });
    scroller.addEventListener('keydown', takeOver, { passive: true });
    scroller.addEventListener('touchstart', () => {
      takeOver();
      scroller._touching = true;
    }, { passive: true });
    const untouch = () => { scroller._touching = false; };
    scroller.addEventListener('touchend', untouch, { passive: true });
    scroller.addEventListener('touchcancel', untouch, { passive: true });
    scroller.addEventListener('scroll', () => {
      if (performance.now() < (scroller._quietUntil ?? 0)) return;
      scroller._lastUserScroll = performance.now();
      const phase = scroller._touching || scroller._dragging ? 'dragging' : 'decelerating';
      this.pendingScrolls.set(scroller, phase);
      if (!this.flushScheduled) {
        this.flushScheduled = true;
        requestAnimationFrame(() => this.flushScrolls());
      }
    });
    scroller.addEventListener('scrollend', () => {
      if (performance.now() < (scroller._quietUntil ?? 0)) return;
      if (scroller._dragging || scroller._touching) return;
      scroller._gliding = false;
      // Snapping comes back once a mouse-driven glide has come to rest on its page.
      scroller.classList.remove('dragging');
      this.flushScrolls();
      this.sendScroll(scroller, 'ended');
    });
  }

  flushScrolls() {
    this.flushScheduled = false;
    const pending = [...this.pendingScrolls];
    this.pendingScrolls.clear();
    for (const [scroller, phase] of pending) this.sendScroll(scroller, phase);
  }

  sendScroll(scroller, phase) {
    const view = Number(scroller.dataset.view);
    if (!view || !scroller.isConnected) return;
    this.send({ type: 'scroll', view, x: scroller.scrollLeft, y: scroller.scrollTop, phase });
  }

  isScrolling(scroller) {
    return !!(scroller._dragging || scroller._touching || scroller._gliding ||
      performance.now() - (scroller._lastUserScroll ?? -1e9) < 250 || this.pendingScrolls.has(scroller));
  }

  setScrollQuietly(scroller, x, y, smooth = false) {
    scroller._quietUntil = performance.now() + (smooth ? 700 : 120);
    scroller.scrollTo({ left: x, top: y, behavior: smooth ? 'smooth' : 'instant' });
  }

  // ---- Text
  attachTextInput(record, input) {
    input.addEventListener('pointerdown', (e) => e.stopPropagation());
    input.addEventListener('pointerup', (e) => {
      e.stopPropagation();
      const d = this.renderer.record(record.desc.id)?.desc;
      if (!d || d.focused) return;
      // The field takes the keyboard on the device by a tap; the browser already focused it
      // within this gesture, so the phone shows its keyboard.
      this.send({ type: 'tap', view: d.id, x: d.frame[2] / 2, y: d.frame[3] / 2, taps: 1 });
    });
    input.addEventListener('input', () => this.send({ type: 'editText', text: input.value }));
    input.addEventListener('keydown', (e) => {
      if (e.key === 'Enter' && input.tagName === 'INPUT') {
        e.preventDefault();
        this.send({ type: 'pressReturn' });
      }
    });
  }

  syncTextInput(record, input, d) {
    // While events are on their way the screen is behind the user: leave the field alone.
    if (this.pending) return;
    const text = d.text ?? '';
    if (input.value !== text) input.value = text;
    if (d.focused && document.activeElement !== input) input.focus({ preventScroll: true });
    if (!d.focused && document.activeElement === input) input.blur();
  }

  // ---- Table editing
  tableOf(record) {
    const table = record.el.closest('.tableView');
    return table ? Number(table.dataset.id) : 0;
  }

  deleteRow(record) {
    const d = record.desc;
    if (!d.indexPath) return;
    this.send({ type: 'deleteRow', view: this.tableOf(record), section: d.indexPath[0], row: d.indexPath[1] });
  }

  showDeleteButton(record) {
    if (!record) return;
    this.dismissDeleteButtons(null);
    let button = record.el.querySelector(':scope > .deleteButton');
    if (!button) {
      button = document.createElement('div');
      button.className = 'deleteButton';
      button.textContent = 'Delete';
      button.addEventListener('pointerdown', (e) => e.stopPropagation());
      button.addEventListener('pointerup', (e) => {
        e.stopPropagation();
        const current = this.renderer.record(record.desc.id) ?? record;
        this.hideDeleteButton(current);
        this.deleteRow(current);
      });
      record.el.append(button);
    }
    record.swiped = true;
  }

  hideDeleteButton(record) {
    if (!record) return;
    record.el.querySelector(':scope > .deleteButton')?.remove();
    record.el.querySelector(':scope > .minus')?.classList.remove('confirming');
    record.swiped = false;
  }

  // Hides every delete button; true when one was showing and the tap was not on it.
  dismissDeleteButtons(target) {
    const buttons = [...this.screen.querySelectorAll('.deleteButton')];
    if (!buttons.length || buttons.some((b) => b.contains(target))) return false;
    for (const b of buttons) {
      const cell = b.closest('.tableViewCell');
      this.hideDeleteButton(this.renderer.record(Number(cell?.dataset.id)));
    }
    return true;
  }

  toggleDeleteConfirmation(record) {
    const minus = record.el.querySelector(':scope > .minus');
    if (record.el.querySelector(':scope > .deleteButton')) {
      this.hideDeleteButton(record);
      return;
    }
    this.showDeleteButton(record);
    minus?.classList.add('confirming');
  }

  attachReorderHandle(record, handle) {
    let drag = null;
    handle.addEventListener('pointerdown', (e) => {
      e.stopPropagation();
      handle.setPointerCapture?.(e.pointerId);
      drag = { y: this.toWindow(e).y, dy: 0 };
      record.el.classList.add('dragging');
    });
    handle.addEventListener('pointermove', (e) => {
      if (!drag) return;
      drag.dy = this.toWindow(e).y - drag.y;
      record.el.style.translate = `0 ${drag.dy}px`;
    });
    const finish = (e) => {
      if (!drag) return;
      e.stopPropagation();
      const current = this.renderer.record(record.desc.id) ?? record;
      const d = current.desc;
      const height = d.frame[3] || 44;
      const rows = Math.round(drag.dy / height);
      current.el.classList.remove('dragging');
      current.el.style.translate = '';
      drag = null;
      if (rows === 0 || !d.indexPath) return;
      const [section, row] = d.indexPath;
      this.send({ type: 'moveRow', view: this.tableOf(current), from: [section, row], to: [section, Math.max(0, row + rows)] });
    };
    handle.addEventListener('pointerup', finish);
    handle.addEventListener('pointercancel', finish);
  }

  // ---- Controls
  chooseSegment(view, segment) {
    this.send({ type: 'chooseSegment', view, segment });
  }
  chooseSectionIndex(view, index) {
    this.send({ type: 'sectionIndex', view, index });
  }
  pickDate(view, seconds) {
    this.send({ type: 'pickDate', view, date: seconds });
  }
  cancelPicker(view) {
    this.send({ type: 'cancelPicker', view });
  }

  async uploadDocument(view, file, maxBytes, message) {
    message.textContent = '';
    const tooLarge = `That file is larger than ${Math.floor((maxBytes ?? 0) / (1024 * 1024))} MB.`;
    if (maxBytes && file.size > maxBytes) {
      message.textContent = tooLarge;
      return;
    }
    try {
      const response = await fetch(`/document/${view}`, {
        method: 'POST',
        body: file,
        headers: { 'Content-Type': file.type || 'application/octet-stream' },
        credentials: 'same-origin',
      });
      if (response.status === 413) message.textContent = tooLarge;
      else if (!response.ok) message.textContent = 'The file could not be used.';
    } catch {
      message.textContent = 'The file could not be sent.';
    }
  }

  async uploadPhoto(view, file, message) {
    message.textContent = '';
    if (file.size > 20 * 1024 * 1024) {
      message.textContent = 'That photo is larger than 20 MB.';
      return;
    }
    try {
      const response = await fetch(`/photo/${view}`, {
        method: 'POST',
        body: file,
        headers: { 'Content-Type': file.type || 'application/octet-stream' },
        credentials: 'same-origin',
      });
      // A refused picture is answered with one line saying why.
      if (response.status === 415) message.textContent = firstLine(await response.text()) || 'That file is not a picture.';
      else if (response.status === 413) message.textContent = 'That photo is larger than 20 MB.';
      else if (!response.ok) message.textContent = 'The photo could not be used.';
      else message.textContent = '';
    } catch {
      message.textContent = 'The photo could not be sent.';
    }
  }
}
