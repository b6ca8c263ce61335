// The screen as a phone's browser gets it: the real `kinetra` and Debian's Chromium on loopback.
// Measures (1) from the start of a page load to the first frame drawn, against loading a small
// static file from the same server in the same browser (the floor: a connection and one
// request); and (2) from a finger's release to the frame that answers it, switching between two
// tabs, against a round trip of a frame's size to an echo on the same loopback (the floor under
// any answer). Prints medians, p90s and the ratios ours / floor.
// Usage: node bench/browser_bench.mjs --server PATH --resources DIR [--rounds N] [--taps N]

import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(path.join(process.cwd(), 'package.json'));
const { chromium } = require('playwright-core');

function option(name, fallback) {
  const i = process.argv.indexOf(`--${name}`);
  return i >= 0 ? process.argv[i + 1] : fallback;
}

const server = option('server');
const resources = option('resources');
const rounds = Number(option('rounds', 15));
const taps = Number(option('taps', 60));
if (!server || !resources) {
  console.error('usage: node bench/browser_bench.mjs --server PATH --resources DIR [--rounds N] [--taps N]');
  process.exit(2);
}

const quantile = (values, q) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
};
const ms = (v) => `${v.toFixed(1)} ms`;

function startKinetra(documents) {
  return new Promise((resolve, reject) => {
    const child = spawn(server, ['--resources', resources, '--documents', documents, '--port', '0'],
      { stdio: ['ignore', 'pipe', 'pipe'] });
    let out = '';
    const look = (chunk) => {
      out += chunk;
      const m = out.match(/running at (http:\/\/\S+?)\/?\s/);
      if (m) resolve({ child, url: m[1] });
    };
    child.stdout.on('data', look);
    child.stderr.on('data', look);
    child.on('exit', (code) => reject(new Error(`kinetra ended (${code}): ${out}`)));
  });
}

// A plain HTTP server on loopback: a blank page, and /echo sending back what it is sent. The
// floor of a tap's round trip is a fetch to it.
function startEcho() {
  return new Promise((resolve) => {
    const echo = http.createServer((req, res) => {
      if (req.url === '/echo') {
        let body = '';
        req.on('data', (c) => { body += c; });
        req.on('end', () => { res.writeHead(200, { 'Content-Type': 'text/plain' }); res.end(body); });
        return;
      }
      res.writeHead(200, { 'Content-Type': 'text/html' });
      res.end('<!doctype html><title>echo</title>');
    });
    echo.listen(0, '127.0.0.1', () => resolve(echo));
  });
}

async function pageLoads(browser, url) {
  const first = [];
  const floor = [];
  for (let i = 0; i < rounds; i += 1) {
    const context = await browser.newContext({ viewport: { width: 390, height: 844 }, hasTouch: true });
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => window.kinetra?.firstDrawnAt != null, null, { timeout: 20_000 });
    first.push(await page.evaluate(() => window.kinetra.firstDrawnAt));
    // The same browser loading a small static file from the same server.
    await page.goto(`${url}/manifest.webmanifest`);
    floor.push(await page.evaluate(() => {
      const nav = performance.getEntriesByType('navigation')[0];
      return nav.responseEnd - nav.startTime;
    }));
    await context.close();
  }
  return { first, floor };
}

async function tapsToFrames(browser, url, echoUrl) {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, hasTouch: true });
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => window.kinetra?.frames > 0, null, { timeout: 20_000 });
  await page.evaluate(() => {
    window.benchReleases = [];
    document.addEventListener('pointerup', (e) => window.benchReleases.push(e.timeStamp), true);
  });
  const tabs = page.locator('#screen .tab');
  const boxes = [await tabs.nth(0).boundingBox(), await tabs.nth(1).boundingBox()];
  const answers = [];
  for (let i = 0; i < taps; i += 1) {
    const box = boxes[(i + 1) % 2];
    const frames = await page.evaluate(() => window.kinetra.frames);
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.mouse.down();
    await page.mouse.up();
    await page.waitForFunction((n) => window.kinetra.frames > n,
      frames, { timeout: 10_000 });
    answers.push(await page.evaluate(() => window.kinetra.drawnAt - window.benchReleases.at(-1)));
    await page.waitForTimeout(30);
  }
  // The floor: a request of a frame's size to an echo on the same loopback, from a page of the
  // echo's own in the same browser.
  const size = await page.evaluate(() => JSON.stringify(window.kinetra.frame).length);
  const echoPage = await context.newPage();
  await echoPage.goto(echoUrl);
  const floor = await echoPage.evaluate(async ({ echo, n, bytes }) => {
    const body = 'x'.repeat(bytes);
    const times = [];
    for (let i = 0; i < n; i += 1) {
      const t = performance.now();
      await (await fetch(echo, { method: 'POST', body })).text();
      times.push(performance.now() - t);
    }
    return times;
  }, { echo: `${echoUrl}/echo`, n: taps, bytes: size });
  await context.close();
  return { answers, floor, size };
}

const documents = mkdtempSync(path.join(os.tmpdir(), 'kinetra-browser-bench-'));
const { child, url } = await startKinetra(documents);
const echo = await startEcho();
const echoUrl = `http://127.0.0.1:${echo.address().port}`;
const browser = await chromium.launch({
  executablePath: process.env.KINETRA_CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox'],
});
try {
  const loads = await pageLoads(browser, url);
  console.log(`page load to the first frame drawn (${rounds} loads): median ${ms(quantile(loads.first, 0.5))}, p90 ${ms(quantile(loads.first, 0.9))}`);
  console.log(`  floor, a small static file from the same server: median ${ms(quantile(loads.floor, 0.5))}`);
  console.log(`  ratio ours / floor: ${(quantile(loads.first, 0.5) / quantile(loads.floor, 0.5)).toFixed(1)}`);
  const answered = await tapsToFrames(browser, url, echoUrl);
  const x = quantile(answered.answers, 0.5);
  console.log(`finger release to the frame drawn (${taps} tab switches): median ${ms(x)}, p90 ${ms(quantile(answered.answers, 0.9))}`);
  console.log(`  floor, a ${answered.size}-byte round trip on loopback: median ${ms(quantile(answered.floor, 0.5))}`);
  console.log(`  ratio ours / floor: ${(x / quantile(answered.floor, 0.5)).toFixed(1)}`);
} finally {
  await browser.close();
  echo.close();
  child.kill('SIGTERM');
  rmSync(documents, { recursive: true, force: true });
}
