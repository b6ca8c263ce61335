// What the journeys through kinetra share: the log files as the application writes them, and
// the screen's parts as a user finds them.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';

// Debian's Python, which has the imaging library (see tests/shell/CMakeLists.txt).
export const PYTHON = process.env.KINETRA_TEST_PYTHON || 'python3';

export const DAY_MS = 24 * 60 * 60 * 1000;

// A day's key in the log: the medium date style of en_US, in UTC.
export function dayKey(date) {
  return new Intl.DateTimeFormat('en-US', { dateStyle: 'medium', timeZone: 'UTC' }).format(date);
}

function escapeXml(text) {
  return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

// The strength log as the application writes it: date → exercise → [weight, reps, note, ...].
export function logPlist(log) {
  const strings = (values) => values.map((v) => `<string>${escapeXml(v)}</string>`).join('');
  const days = Object.entries(log).map(([day, entries]) => `<key>${escapeXml(day)}</key><dict>${
    Object.entries(entries).map(([name, values]) => `<key>${escapeXml(name)}</key><array>${strings(values)}</array>`).join('')
  }</dict>`);
  return '<?xml version="1.0" encoding="UTF-8"?>\n'
    + '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n'
    + `<plist version="1.0"><dict>${days.join('')}</dict></plist>\n`;
}

// Reads back the XML property list of dictionaries, arrays and strings the log is made of.
export function parsePlist(xml) {
  const tokens = xml.replace(/<\?xml[^>]*>|<!DOCTYPE[^>]*>/g, '').match(/<[^>]+>|[^<]+/g);
  let i = 0;
  // The next tag, past the blanks between tags.
  const tag = () => {
    while (i < tokens.length && tokens[i].trim() === '') i += 1;
    if (i >= tokens.length) throw new Error('the log file ends too early');
    return tokens[i++];
  };
  const peek = () => {
    const at = i;
    const next = tag();
    i = at;
    return next;
  };
  const unescape = (s) => s.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"')
    .replace(/&apos;/g, "'").replace(/&amp;/g, '&');
  const text = (name) => {
    if (tokens[i] === `</${name}>`) {
      i += 1;
      return '';
    }
    const value = unescape(tokens[i++]);
    assert.equal(tokens[i++], `</${name}>`);
    return value;
  };
  const value = () => {
    const open = tag();
    if (open === '<string/>') return '';
    if (open === '<dict/>') return {};
    if (open === '<array/>') return [];
    if (open === '<string>') return text('string');
    if (open === '<array>') {
      const items = [];
      while (peek() !== '</array>') items.push(value());
      tag();
      return items;
    }
    if (open === '<dict>') {
      const dict = {};
      while (peek() !== '</dict>') {
        assert.equal(tag(), '<key>');
        const key = text('key');
        dict[key] = value();
      }
      tag();
      return dict;
    }
    throw new Error(`unexpected ${open} in the log file`);
  };
  assert.match(tag(), /^<plist\b/);
  return value();
}

// Polls `condition` until it holds; fails after `ms`.
export async function waitFor(condition, what, ms = 5000) {
  const deadline = Date.now() + ms;
  while (!condition()) {
    if (Date.now() > deadline) throw new Error(`no ${what} within ${ms} ms`);
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
}

export function cell(page, text) {
  return page.locator('#screen .tableViewCell', { has: page.locator('.label > .text', { hasText: new RegExp(`^${text}$`) }) });
}

export function tab(page, title) {
  return page.locator('#screen .tab', { hasText: new RegExp(`^${title}$`) });
}

// The three segments of the exercise screen's bar: turn the card, log, graph.
export function barSegment(page, index) {
  return page.locator('#screen .navigationBar .segmentedControl .segment').nth(index);
}

// From any tab: the catalogue's `region`, its `exercise`, and the exercise's log pane.
export async function openLogPane(page, screen, region, exercise) {
  await screen.tap(tab(page, 'Catalogue'));
  await screen.waitForText(region);
  await screen.tap(cell(page, region));
  await screen.waitForText(exercise);
  await screen.tap(cell(page, exercise));
  await screen.waitForText('Back');
  await screen.tap(barSegment(page, 1));
  await screen.waitForText('Log Entry');
}

export function field(page, placeholder) {
  return page.locator(`#screen input[placeholder="${placeholder}"]`);
}

// The text of the text field whose placeholder is `placeholder`, as the process last drew it.
export async function waitForFieldText(page, placeholder, text) {
  await page.waitForFunction(({ placeholder: p, text: t }) => {
    const find = (d) => {
      if (d.kind === 'textField' && (d.placeholder ?? '') === p) return d;
      for (const s of d.subviews ?? []) {
        const found = find(s);
        if (found) return found;
      }
      return null;
    };
    const root = window.kinetra?.frame?.root;
    const view = root && find(root);
    return view && (view.text ?? '') === t;
  }, { placeholder, text }, { timeout: 10_000 });
}

// Types `text` into the field as a user does: tap it, select what it holds, type over it.
export async function typeInto(page, screen, locator, placeholder, text) {
  await screen.tap(locator);
  await page.keyboard.press('Control+A');
  await page.keyboard.type(text);
  await waitForFieldText(page, placeholder, text);
}


// A button of the navigation bar by its title (the back button carries the title it leads to).
export function barButton(page, title) {
  return page.locator('#screen .navigationBar .button', { hasText: new RegExp(`^${title}$`) });
}

// A property-list file of the documents folder the journeys give the server, read back.
export function readDocument(scratch, name) {
  return parsePlist(readFileSync(path.join(scratch, 'documents', name), 'utf8'));
}

// Scrolls the table on the screen with the mouse wheel until a row shows `text`; fails after
// `steps` turns of the wheel.
export async function scrollToText(page, screen, text, steps = 30) {
  const shown = () => page.evaluate((t) => [...document.querySelectorAll('#screen .label > .text')]
    .some((e) => e.textContent === t && e.getBoundingClientRect().height > 0), text);
  for (let i = 0; i < steps && !(await shown()); i += 1) {
    await screen.animationsDone();
    // The table in view: the last one laid out on the page (a pushed screen comes after).
    const box = await page.evaluate(() => {
      const shown = [...document.querySelectorAll('#screen .tableView > .scroller')]
        .map((e) => e.getBoundingClientRect())
        .filter((r) => r.width > 0 && r.height > 0 && r.left >= 0 && r.left < window.innerWidth);
      const r = shown[shown.length - 1];
      return r ? { x: r.x, y: r.y, width: r.width, height: r.height } : null;
    });
    if (!box) {
      // The screen that shows it may still be on its way.
      await page.waitForTimeout(100);
      continue;
    }
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    const framesBefore = await screen.frames();
    await page.mouse.wheel(0, 120);
    // The server answers a scroll with the rows now in view. Waiting for that frame, rather than
    // for a fixed time, keeps a slow server (sanitizers, a busy machine) from being scrolled past
    // the row before it is drawn. A table already at its end answers nothing: the wait gives up.
    await page.waitForFunction((n) => (window.kinetra?.frames ?? 0) > n, framesBefore,
      { timeout: 2_000 }).catch(() => {});
  }
  if (!(await shown())) throw new Error(`no row "${text}" after scrolling`);
  await screen.settle();
}

// Checks, on the screen as drawn now, that every button's and segment's title fits its control
// whole (shrunk if need be, never cut short) and that each navigation bar's title keeps clear of
// the bar's buttons and controls.
export async function assertTextFits(page, where) {
  const problems = await page.evaluate(() => {
    const found = [];
    const shown = (e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden';
    for (const t of document.querySelectorAll('#screen .button > .title, #screen .segment > .title')) {
      if (!shown(t) || !t.textContent) continue;
      // The room inside the control; rounded widths: whole only with a pixel to spare.
      const box = getComputedStyle(t.parentElement);
      const room = t.parentElement.clientWidth - parseFloat(box.paddingLeft || '0')
        - parseFloat(box.paddingRight || '0');
      if (t.scrollWidth > room - 1) found.push(`"${t.textContent}" is cut short`);
    }
    for (const bar of document.querySelectorAll('#screen .navigationBar')) {
      const title = bar.querySelector('.label > .text');
      if (!title || !shown(title) || !title.textContent) continue;
      const t = title.getBoundingClientRect();
      const text = { left: t.left, right: t.left + Math.min(t.width, title.scrollWidth) };
      for (const other of bar.querySelectorAll('.button, .segmentedControl')) {
        if (!shown(other)) continue;
        const o = other.getBoundingClientRect();
        if (o.width === 0) continue;
        if (text.left < o.right - 0.5 && o.left < text.right - 0.5) {
          found.push(`the title "${title.textContent}" runs into "${other.textContent.trim()}"`);
        }
      }
    }
    return found;
  });
  assert.deepEqual(problems, [], `text that does not fit ${where}`);
}

// A phone photo as phones store it: 64 × 48 pixels, red on the left, blue on the right, with
// EXIF orientation 6 (shown turned a quarter clockwise: red on top, blue below).
export function sidewaysPhoto(scratch) {
  const file = path.join(scratch, 'sideways.jpg');
  execFileSync(PYTHON, ['-c', `
import sys
from PIL import Image
image = Image.new("RGB", (64, 48), (220, 30, 30))
image.paste((30, 30, 220), (32, 0, 64, 48))
exif = Image.Exif()
exif[0x0112] = 6
image.save(sys.argv[1], "JPEG", quality=95, exif=exif.tobytes())
`, file]);
  return file;
}

// The editor's text view `index` (0: the name, 1: the description). The name of an exercise
// being edited cannot change and has no text area then, so the description's is the last one.
function editorText(page, index) {
  const areas = page.locator('#screen textarea');
  return index === 0 ? areas.first() : areas.last();
}

export async function typeText(page, screen, index, text) {
  await screen.tap(editorText(page, index));
  await page.keyboard.press('Control+A');
  await page.keyboard.type(text);
  await page.waitForFunction(({ i, t }) => {
    const areas = [];
    const walk = (d) => {
      if (d.kind === 'textView') areas.push(d);
      (d.subviews ?? []).forEach(walk);
    };
    const root = window.kinetra?.frame?.root;
    if (root) walk(root);
    return areas[i] && areas[i].text === t;
  }, { i: index, t: text }, { timeout: 10_000 });
}

// The natural size of the thumbnail in the row showing `text`, once loaded.
export async function thumbnailSize(page, text) {
  const img = cell(page, text).locator('.imageView img').first();
  await img.waitFor();
  await page.waitForFunction((el) => el.complete && el.naturalWidth > 0, await img.elementHandle());
  return img.evaluate((el) => [el.naturalWidth, el.naturalHeight]);
}
