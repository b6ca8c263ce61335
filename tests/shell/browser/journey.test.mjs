// Kinetra as a new user meets it, in a real Chromium against the real `kinetra`: open an
// exercise from a region, turn its card, log sets, delete one, leave and come back to the
// prefilled pane, look at the progress graph, and find the log file on disk as the sets left it.
// The server runs with LANG=C and TZ=UTC (see tests/shell/CMakeLists.txt), so a logging day is
// keyed "Dec 6, 2026" in UTC; the log file is seeded with yesterday's set of the same exercise,
// which gives the graph two days to plot. A second test keeps a page of another site and a
// visitor without the token away from the screen.

import assert from 'node:assert/strict';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import http from 'node:http';
import path from 'node:path';

import { startServer } from './harness.mjs';
import {
  assertTextFits, barSegment, cell, DAY_MS, dayKey, field, logPlist, parsePlist, tab, typeInto,
  waitFor, waitForFieldText,
} from './kinetra.mjs';

const EXERCISE = 'Barbell Bench Press';
const REGION = 'Chest';
const LOG_FILE = 'Kinetra_Log.plist';
const started = new Date();
const yesterday = dayKey(new Date(started.getTime() - DAY_MS));

export function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  writeFileSync(path.join(documents, LOG_FILE), logPlist({ [yesterday]: { [EXERCISE]: ['60 kg', '8', ''] } }));
  return ['--documents', documents, '--port', '0'];
}

// The card's front, its full-width picture, is the frontmost view of the card.
async function waitForPictureInFront(page) {
  await page.waitForFunction(() => {
    const picture = [...document.querySelectorAll('#screen .imageView')]
      .find((e) => e.querySelector(':scope > img.picture') && e.getBoundingClientRect().width >= 300);
    const views = picture ? [...picture.parentElement.children].filter((e) => e.classList.contains('v')) : [];
    return picture && views[views.length - 1] === picture;
  }, null, { timeout: 10_000 });
}

async function waitForCardText(page, pattern) {
  await page.waitForFunction(
    (source) => [...document.querySelectorAll('#screen .textView > .text')]
      .some((e) => new RegExp(source).test(e.textContent) && e.getBoundingClientRect().width > 0),
    pattern.source,
    { timeout: 10_000 },
  );
}

export const tests = [
  {
    name: 'journey log sets delete prefill graph',
    async run({ page, screen, server, scratch }) {
      const today = dayKey(new Date());
      await page.goto(server.url);
      await screen.waitForFrames(1);
      await screen.waitForText('Catalogue');
      await screen.screenshot('start');

      // A region of the catalogue, then one of its exercises.
      await screen.tap(tab(page, 'Catalogue'));
      await screen.waitForText(REGION);
      await screen.screenshot('regions');
      await screen.tap(cell(page, REGION));
      await screen.waitForText(EXERCISE);
      await screen.screenshot('region-list');
      await screen.tap(cell(page, EXERCISE));
      await screen.waitForText('Back');
      await barSegment(page, 2).waitFor();
      await page.waitForFunction(() => [...document.querySelectorAll('#screen img.picture')]
        .some((i) => i.complete && i.naturalWidth > 0 && i.getBoundingClientRect().width >= 300), null, { timeout: 10_000 });
      await waitForPictureInFront(page);
      await screen.screenshot('exercise');

      // Turn the card: the description and the muscles; turn it back.
      await screen.tap(barSegment(page, 0));
      await waitForCardText(page, new RegExp(`Exercise: ${EXERCISE}`));
      await waitForCardText(page, /Primary Muscle: /);
      await screen.screenshot('card-back');
      await screen.tap(barSegment(page, 0));
      await screen.animationsDone();
      await waitForPictureInFront(page);
      await screen.screenshot('card-front');

      // The log pane of an exercise last logged yesterday offers yesterday's first set.
      await screen.tap(barSegment(page, 1));
      await screen.waitForText('Log Entry');
      await screen.waitForText('Add Set');
      await waitForFieldText(page, 'weight', '60');
      await waitForFieldText(page, 'reps', '8');
      await screen.screenshot('log-pane');

      // 20.5 kg for 8, then 22.5 kg for 6 with a note.
      await typeInto(page, screen, field(page, 'weight'), 'weight', '20');
      await typeInto(page, screen, field(page, ''), '', '5');
      await screen.tap(page.locator('#screen .segment', { hasText: /^kg$/ }));
      await page.locator('#screen .segment.selected', { hasText: /^kg$/ }).waitFor();
      await typeInto(page, screen, field(page, 'reps'), 'reps', '8');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 1, 20.5 kg for 8 reps');
      await screen.screenshot('first-set');
      await typeInto(page, screen, field(page, 'weight'), 'weight', '22');
      await typeInto(page, screen, field(page, 'reps'), 'reps', '6');
      await typeInto(page, screen, field(page, 'note'), 'note', 'slow');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 2, 22.5 kg for 6 reps');
      await screen.waitForText('Set 1, 20.5 kg for 8 reps');
      await screen.waitForText('slow');
      await screen.screenshot('two-sets');

      // Editing mode: the pane cannot be left; delete the first set, the second moves up.
      await screen.tapText('Edit');
      await page.locator('#screen .tableViewCell .minus').first().waitFor();
      assert.equal(await page.locator('#screen .navigationBar .button', { hasText: 'Done' }).count(), 1);
      await screen.screenshot('editing');
      await screen.tap(cell(page, 'Set 1, 20.5 kg for 8 reps').locator('.minus'));
      await screen.tap(page.locator('#screen .deleteButton'));
      await screen.waitForNoText('Set 1, 20.5 kg for 8 reps');
      await screen.waitForText('Set 1, 22.5 kg for 6 reps');
      await screen.waitForNoText('Set 2, 22.5 kg for 6 reps');
      await screen.screenshot('deleted');
      await screen.tapText('Done');
      await screen.waitForText('Edit');
      await page.waitForFunction(() => !document.querySelector('#screen .tableViewCell .minus'), null, { timeout: 10_000 });

      // Done leaves the pane for the catalogue the exercise came from.
      await screen.tapText('Done');
      await screen.waitForText(EXERCISE);
      await page.locator('#screen .tab.selected', { hasText: 'Catalogue' }).waitFor();
      await screen.screenshot('left');

      // Back to the exercise and its pane: today's first set is offered.
      await screen.tap(cell(page, EXERCISE));
      await screen.waitForText('Back');
      await screen.tap(barSegment(page, 1));
      await screen.waitForText('Log Entry');
      await screen.waitForText('Set 1, 22.5 kg for 6 reps');
      await waitForFieldText(page, 'weight', '22');
      await waitForFieldText(page, '', '5');
      await waitForFieldText(page, 'reps', '6');
      await waitForFieldText(page, 'note', '');
      await page.locator('#screen .segment.selected', { hasText: /^kg$/ }).waitFor();
      assert.equal(await field(page, 'weight').inputValue(), '22');
      assert.equal(await field(page, 'reps').inputValue(), '6');
      await screen.screenshot('prefilled');

      // The graph of two logged days, drawn over everything; a tap hides it.
      await screen.tapText('Done');
      await screen.tap(cell(page, EXERCISE));
      await screen.waitForText('Back');
      await screen.tap(barSegment(page, 2));
      const graphType = page.locator('#screen .segment', { hasText: /^Avg Wt$/ });
      await graphType.waitFor({ timeout: 10_000 });
      // The graph view holds its two segmented controls.
      const graph = graphType.locator('xpath=../..');
      await page.waitForFunction((el) => getComputedStyle(el).opacity === '1'
        && [...el.querySelectorAll(':scope > img')].some((i) => i.complete && i.naturalWidth > 0),
      await graph.elementHandle(), { timeout: 10_000 });
      await screen.screenshot('graph');
      // "Avg Reps" and "Max Reps" fit their segments on one line.
      await assertTextFits(page, 'on the graph');
      // The controls below the plot redraw it and leave it up.
      const plot = graph.locator(':scope > img.picture');
      const before = await plot.getAttribute('src');
      await screen.tap(page.locator('#screen .segment', { hasText: /^Max Reps$/ }));
      await page.locator('#screen .segment.selected', { hasText: /^Max Reps$/ }).waitFor({ timeout: 10_000 });
      await page.waitForFunction(({ el, src }) => el.getAttribute('src') !== src && el.complete && el.naturalWidth > 0,
        { el: await plot.elementHandle(), src: before }, { timeout: 10_000 });
      assert.equal(await graph.evaluate((el) => getComputedStyle(el).opacity), '1');
      await screen.screenshot('graph-max-reps');
      // A tap on the plot hides it; the exercise screen answers taps again.
      await screen.tap(plot);
      await page.waitForFunction((el) => !el.isConnected || getComputedStyle(el).opacity === '0',
        await graph.elementHandle(), { timeout: 10_000 });
      await page.locator('#statusBar:not(.hidden)').waitFor({ timeout: 10_000 });
      await screen.screenshot('graph-hidden');
      await screen.tap(barSegment(page, 0));
      await waitForCardText(page, /Primary Muscle: /);
      await screen.screenshot('after-graph');

      // The log file holds yesterday's seeded set and what is left of today's.
      const log = parsePlist(readFileSync(path.join(scratch, 'documents', LOG_FILE), 'utf8'));
      const todayKey = [today, dayKey(new Date())].find((key) => key in log);
      assert.deepEqual(log, {
        [yesterday]: { [EXERCISE]: ['60 kg', '8', ''] },
        [todayKey]: { [EXERCISE]: ['22.5 kg', '6', 'slow'] },
      });
    },
  },
  {
    name: 'a foreign page and a tokenless visitor are kept out',
    async run({ page, screen, server, scratch }) {
      // A page of another site on this machine cannot open the screen's socket.
      const socketUrl = `${server.url.replace(/^http/, 'ws')}ws`;
      const site = http.createServer((request, response) => {
        response.writeHead(200, { 'Content-Type': 'text/html' });
        response.end('<p>another site</p>');
      });
      await new Promise((resolve) => site.listen(0, '127.0.0.1', resolve));
      let foreign;
      try {
        await page.goto(`http://127.0.0.1:${site.address().port}/`);
        foreign = await page.evaluate((url) => new Promise((resolve) => {
          const socket = new WebSocket(url);
          socket.onopen = () => {
            socket.close();
            resolve('open');
          };
          socket.onclose = () => resolve('refused');
        }), socketUrl);
      } finally {
        site.closeAllConnections();
        await new Promise((resolve) => site.close(resolve));
      }
      assert.equal(foreign, 'refused');
      // Refused by the screen's server for its Origin, not kept back by the browser.
      await waitFor(() => /shell: refused GET \/ws: .*[Oo]rigin/.test(server.log()), 'the refusal in the log');
      await page.goto(server.url);
      await screen.waitForFrames(1);
      await screen.waitForText('Catalogue');

      // Served beyond loopback, the screen needs the printed token; the token leaves a cookie.
      const args = server.process.spawnargs.slice(1);
      const open = await startServer(server.process.spawnfile,
        [...args, '--documents', path.join(scratch, 'open'), '--bind', '0.0.0.0']);
      try {
        const withToken = new URL(open.url);
        assert.ok(withToken.searchParams.get('token'), open.url);
        const bare = `http://127.0.0.1:${withToken.port}/`;
        assert.equal((await page.goto(bare)).status(), 401);
        assert.equal((await page.goto(`${bare}?token=${withToken.searchParams.get('token')}`)).status(), 200);
        assert.equal(page.url(), bare);
        await screen.waitForFrames(1);
        await screen.waitForText('Catalogue');
        await screen.screenshot('token');
        // It is the cookie that lets the page in: without it the same request is refused.
        const statuses = await page.evaluate(async () => [
          (await fetch('/manifest.webmanifest', { credentials: 'omit' })).status,
          (await fetch('/manifest.webmanifest')).status,
        ]);
        assert.deepEqual(statuses, [401, 200]);
      } finally {
        assert.equal(await open.stop(), 0, open.log());
      }
    },
  },
];
