// Plays the animations the application asked for since the previous frame: the toolkit
// changed every value at once, the client shows how the change looks. Before a frame is drawn
// prepare() keeps what the old screen looked like; play() animates towards the new one.

const DEFAULT_PUSH_MS = 350;
const ROW_MS = 300;

function stripIds(clone) {
  clone.removeAttribute('data-id');
  clone.querySelectorAll('[data-id]').forEach((e) => e.removeAttribute('data-id'));
  clone.style.pointerEvents = 'none';
  return clone;
}

function snapshot(el) {
  if (!el || !el.parentNode) return null;
  return { clone: stripIds(el.cloneNode(true)), parent: el.parentNode };
}

function ms(seconds, fallback) {
  return seconds > 0 ? seconds * 1000 : fallback;
}

function removeWhenDone(animation, el) {
  animation.finished.then(() => el.remove(), () => el.remove());
}

export class Animator {
  constructor(renderer, input) {
    this.renderer = renderer;
    this.input = input;
  }

  prepare(frame) {
    const plan = [];
    for (const a of frame.animations ?? []) {
      const el = this.renderer.element(a.view);
      const step = { a };
      switch (a.kind) {
        case 'transition':
        case 'push':
        case 'pop':
          step.old = snapshot(el);
          break;
        case 'deleteRows':
          step.rows = this.deletedRows(el, a.rows ?? []);
          step.tops = this.cellTops(el);
          break;
        case 'contentOffset': {
          const scroller = this.renderer.record(a.view)?.scroller;
          if (scroller) step.from = { x: scroller.scrollLeft, y: scroller.scrollTop };
          break;
        }
        default:
          break;
      }
      plan.push(step);
    }
    return plan;
  }

  play(plan) {
    for (const step of plan) {
      try {
        this.playOne(step);
      } catch (error) {
        console.warn('animation', step.a.kind, error);
      }
    }
  }

  playOne({ a, old, rows, tops, from }) {
    const el = this.renderer.element(a.view);
    const duration = ms(a.duration, 200);
    const timing = { duration, delay: (a.delay ?? 0) * 1000, easing: 'ease-in-out', fill: 'backwards' };
    switch (a.kind) {
      case 'alpha':
        el?.animate([{ opacity: a.fromAlpha }, { opacity: a.toAlpha }], timing);
        break;
      case 'frame':
        if (el) this.animateFrame(el, a, timing);
        break;
      case 'transform':
        el?.animate([{ transform: `matrix(${a.fromTransform.join(',')})` }, { transform: `matrix(${a.toTransform.join(',')})` }], timing);
        break;
      case 'transition':
        if (el && old) this.transition(el, old, a, timing);
        break;
      case 'push':
      case 'pop':
        if (el && old) this.slide(el, old, a.kind === 'push', ms(a.duration, DEFAULT_PUSH_MS));
        break;
      case 'navigationBar': {
        const bar = el?.querySelector('.navigationBar');
        if (bar && !a.hidden) bar.animate([{ opacity: 0 }, { opacity: 1 }], { duration: ms(a.duration, DEFAULT_PUSH_MS) });
        break;
      }
      case 'statusBar':
        document.getElementById('statusBar')?.animate([{ opacity: a.hidden ? 1 : 0 }, { opacity: a.hidden ? 0 : 1 }], { duration: ms(a.duration, 300) });
        break;
      case 'deleteRows':
        if (el) this.deleteRows(el, rows, tops, a);
        break;
      case 'contentOffset': {
        const scroller = this.renderer.record(a.view)?.scroller;
        if (scroller && from) {
          const to = { x: scroller.scrollLeft, y: scroller.scrollTop };
          this.input.setScrollQuietly(scroller, from.x, from.y);
          this.input.setScrollQuietly(scroller, to.x, to.y, true);
        }
        break;
      }
      default:
        break;
    }
  }

  animateFrame(el, a, timing) {
    const [fx, fy, fw, fh] = a.fromFrame;
    const [tx, ty, tw, th] = a.toFrame;
    const left = parseFloat(el.style.left) || 0;
    const top = parseFloat(el.style.top) || 0;
    el.animate(
      [
        { left: `${left + fx - tx}px`, top: `${top + fy - ty}px`, width: `${fw}px`, height: `${fh}px` },
        { left: `${left}px`, top: `${top}px`, width: `${tw}px`, height: `${th}px` },
      ],
      timing,
    );
  }

  // Flips and curls: the old look is a clone laid over the view while it turns away.
  transition(el, old, a, timing) {
    const base = el.style.transform || '';
    old.parent.insertBefore(old.clone, el.nextSibling);
    const half = { ...timing, duration: timing.duration / 2, fill: 'forwards' };
    if (a.transition === 'flipFromLeft' || a.transition === 'flipFromRight') {
      const sign = a.transition === 'flipFromLeft' ? 1 : -1;
      const away = old.clone.animate(
        [{ transform: `${base} perspective(900px) rotateY(0deg)` }, { transform: `${base} perspective(900px) rotateY(${90 * sign}deg)` }],
        { ...half, easing: 'ease-in' },
      );
      removeWhenDone(away, old.clone);
      el.animate(
        [{ transform: `${base} perspective(900px) rotateY(${-90 * sign}deg)` }, { transform: `${base} perspective(900px) rotateY(0deg)` }],
        { duration: half.duration, delay: timing.delay + half.duration, easing: 'ease-out', fill: 'backwards' },
      );
    } else if (a.transition === 'curlUp') {
      const curl = old.clone.animate(
        [
          { clipPath: 'inset(0 0 0 0)', transform: `${base} translateY(0)`, filter: 'drop-shadow(0 6px 6px rgba(0,0,0,.5))' },
          { clipPath: 'inset(0 0 100% 0)', transform: `${base} translateY(-8%)`, filter: 'drop-shadow(0 6px 6px rgba(0,0,0,.5))' },
        ],
        { ...timing, fill: 'forwards' },
      );
      removeWhenDone(curl, old.clone);
    } else if (a.transition === 'curlDown') {
      old.parent.insertBefore(old.clone, el);
      const curl = el.animate(
        [
          { clipPath: 'inset(0 0 100% 0)', transform: `${base} translateY(-8%)` },
          { clipPath: 'inset(0 0 0 0)', transform: `${base} translateY(0)` },
        ],
        timing,
      );
      removeWhenDone(curl, old.clone);
    } else {
      old.clone.remove();
    }
  }

  // A navigation controller showed another screen: the old one slides out as the new one in.
  slide(el, old, push, duration) {
    old.parent.insertBefore(old.clone, el);
    const out = push ? '-100%' : '100%';
    const into = push ? '100%' : '-100%';
    const timing = { duration, easing: 'ease-in-out' };
    removeWhenDone(old.clone.animate([{ translate: '0 0' }, { translate: `${out} 0` }], { ...timing, fill: 'forwards' }), old.clone);
    el.animate([{ translate: `${into} 0` }, { translate: '0 0' }], timing);
  }

  cellsOf(tableEl) {
    return tableEl ? [...tableEl.querySelectorAll(':scope > .scroller > .content > .tableViewCell')] : [];
  }

  deletedRows(tableEl, rows) {
    const wanted = new Set(rows.map((r) => r.join(',')));
    return this.cellsOf(tableEl)
      .filter((cell) => wanted.has(cell.dataset.indexPath))
      .map((cell) => ({ clone: stripIds(cell.cloneNode(true)), parent: cell.parentNode }));
  }

  cellTops(tableEl) {
    const tops = new Map();
    for (const cell of this.cellsOf(tableEl)) tops.set(cell.dataset.id, parseFloat(cell.style.top));
    return tops;
  }

  deleteRows(tableEl, rows, tops, a) {
    for (const { clone, parent } of rows ?? []) {
      parent.append(clone);
      const away = a.rowAnimation === 'left' ? [{ translate: '0 0' }, { translate: '-100% 0' }]
        : a.rowAnimation === 'right' ? [{ translate: '0 0' }, { translate: '100% 0' }]
          : [{ opacity: 1 }, { opacity: 0 }];
      removeWhenDone(clone.animate(away, { duration: ROW_MS, fill: 'forwards' }), clone);
    }
    for (const cell of this.cellsOf(tableEl)) {
      const before = tops?.get(cell.dataset.id);
      const now = parseFloat(cell.style.top);
      if (before === undefined || before === now) continue;
      cell.animate([{ translate: `0 ${before - now}px` }, { translate: '0 0' }], { duration: ROW_MS, easing: 'ease-in-out' });
    }
  }
}
