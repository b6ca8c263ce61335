// The browser tests' harness: starts a server executable that prints
// "Kinetra is running at <url>", drives Debian's Chromium through Playwright against it, and
// offers the few helpers every journey needs (tapping what the screen shows, waiting for frames,
// screenshots). A journey is a *.test.mjs file exporting `tests`: [{ name, run(ctx) }] and
// optionally `serverArguments(ctx)`; run.mjs runs each test against a fresh server.

import { spawn } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

export const CHROMIUM = process.env.KINETRA_CHROMIUM || '/usr/bin/chromium';

export const CHROMIUM_FLAGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export function chromiumPresent() {
  return existsSync(CHROMIUM);
}

// Starts `command` with `args`; resolves once it printed its address.
export function startServer(command, args, { timeoutMs = 20_000 } = {}) {
  return new Promise((resolve, reject) => {
    const child = spawn(command, args, { stdio: ['ignore', 'pipe', 'pipe'] });
    let output = '';
    let errors = '';
    const timer = setTimeout(() => {
      child.kill('SIGKILL');
      reject(new Error(`the server did not start within ${timeoutMs} ms:\n${errors}`));
    }, timeoutMs);
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const match = output.match(/Kinetra is running at (\S+)/);
      if (match) {
        clearTimeout(timer);
        resolve({
          url: match[1],
          process: child,
          log: () => errors,
          stop: () => stopProcess(child),
        });
      }
    });
    child.stderr.on('data', (chunk) => { errors += chunk; });
    child.on('exit', (code) => {
      clearTimeout(timer);
      reject(new Error(`the server exited (${code}) before it started:\n${errors}`));
    });
  });
}

function stopProcess(child) {
  return new Promise((resolve) => {
    if (child.exitCode !== null) return resolve(child.exitCode);
    const killer = setTimeout(() => child.kill('SIGKILL'), 5000);
    child.once('exit', (code) => {
      clearTimeout(killer);
      resolve(code);
    });
    child.kill('SIGTERM');
  });
}

// `options`: a test file's own context options (`browserOptions`), such as a touch screen.
export async function launchChromium(chromium, options = {}) {
  const profile = mkdtempSync(path.join(tmpdir(), 'kinetra-chromium-'));
  // A persistent context on a fresh folder: Chromium's --user-data-dir, as Playwright passes it.
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: CHROMIUM_FLAGS,
    viewport: { width: 480, height: 720 },
    timeout: 30_000,
    ...options,
  });
  return {
    context,
    newPage: async () => context.pages()[0] ?? context.newPage(),
    close: async () => {
      await context.close().catch(() => {});
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// A scratch folder for one test, removed afterwards.
export function scratchFolder() {
  const folder = mkdtempSync(path.join(tmpdir(), 'kinetra-browser-'));
  return { path: folder, remove: () => rmSync(folder, { recursive: true, force: true }) };
}

// ---- What a test does on the screen

export class Screen {
  constructor(page, artifacts, testName) {
    this.page = page;
    this.artifacts = artifacts;
    this.prefix = testName.replace(/[^A-Za-z0-9]+/g, '-');
    this.shots = 0;
    mkdirSync(artifacts, { recursive: true });
  }

  frames() {
    return this.page.evaluate(() => window.kinetra?.frames ?? 0);
  }

  async waitForFrames(count = 1) {
    await this.page.waitForFunction((n) => (window.kinetra?.frames ?? 0) >= n, count, { timeout: 10_000 });
  }

  // Waits until the screen has answered everything sent so far.
  async settle() {
    await this.page.waitForFunction(() => {
      const k = window.kinetra;
      return k && k.frame && (k.frame.ack ?? -1) >= 0 ? true : k && k.frames > 0;
    }, null, { timeout: 10_000 });
    await this.page.waitForTimeout(50);
  }

  // Waits until no animation runs on the screen (a push, a flip, a row deletion).
  async animationsDone() {
    await this.page.waitForFunction(() => document.getAnimations().every((a) => a.playState !== 'running'), null, { timeout: 10_000 });
  }

  // The element of the view showing exactly `text` (labels, buttons, cells' labels).
  viewWithText(text) {
    return this.page.locator('#screen .v', { hasText: text }).filter({
      has: this.page.locator(`:scope > .text, :scope > .title`, { hasText: text }),
    }).last();
  }

  async waitForText(text, options = {}) {
    await this.page.waitForFunction(
      (t) => [...document.querySelectorAll('#screen .label > .text, #screen .button > .title, #screen .header, #screen .tab span')]
        .some((e) => e.textContent === t && e.getBoundingClientRect().width > 0),
      text,
      { timeout: options.timeout ?? 10_000 },
    );
  }

  async waitForTextMatching(pattern) {
    await this.page.waitForFunction(
      (source) => [...document.querySelectorAll('#screen .label > .text')]
        .some((e) => new RegExp(source).test(e.textContent) && e.getBoundingClientRect().width > 0),
      pattern.source,
      { timeout: 10_000 },
    );
  }

  async waitForNoText(text) {
    await this.page.waitForFunction(
      (t) => ![...document.querySelectorAll('#screen .label > .text')].some((e) => e.textContent === t),
      text,
      { timeout: 10_000 },
    );
  }

  // A finger's tap at the middle of what `locator` shows.
  async tap(locator) {
    await this.animationsDone(); // a user taps what stands still
    const box = await locator.boundingBox();
    if (!box) throw new Error('nothing to tap there');
    await this.page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  }

  async tapText(text) {
    await this.waitForText(text);
    await this.tap(this.viewWithText(text));
  }

  // A horizontal drag of the mouse across what `locator` shows.
  async swipe(locator, dx, dy = 0) {
    await this.animationsDone();
    const box = await locator.boundingBox();
    const x = box.x + box.width / 2;
    const y = box.y + box.height / 2;
    await this.page.mouse.move(x, y);
    await this.page.mouse.down();
    await this.page.mouse.move(x + dx, y + dy, { steps: 12 });
    await this.page.mouse.up();
  }

  // A PNG of the page in the artifacts folder; by default once animations have finished.
  async screenshot(name, { midAnimation = false } = {}) {
    if (!midAnimation) await this.animationsDone().catch(() => {});
    this.shots += 1;
    const file = path.join(this.artifacts, `${this.prefix}-${String(this.shots).padStart(2, '0')}-${name}.png`);
    await this.page.screenshot({ path: file });
    return file;
  }
}
