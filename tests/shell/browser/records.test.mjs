// Personal records and one unit per graph, as a user meets them in a real Chromium against the
// real `kinetra` at 390 x 844: sets logged in pounds and in kilograms, the star on the set that
// beats every earlier estimate, the records on the back of the card in the unit of the latest
// set, the graph that names its unit, and the log file on disk with the texts exactly as typed.
// The log is seeded with yesterday's set in pounds, which gives the graph two days to plot.

import assert from 'node:assert/strict';
import { mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import {
  barSegment, cell, DAY_MS, dayKey, field, logPlist, openLogPane, readDocument, typeInto,
} from './kinetra.mjs';

const EXERCISE = 'Barbell Bench Press';
const REGION = 'Chest';
const LOG_FILE = 'Kinetra_Log.plist';
const started = new Date();
const yesterday = dayKey(new Date(started.getTime() - DAY_MS));

export function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  // 100 lbs for 5: an estimated maximum of 116.7 lbs (52.9 kg).
  writeFileSync(path.join(documents, LOG_FILE), logPlist({ [yesterday]: { [EXERCISE]: ['100 lbs', '5', ''] } }));
  return ['--documents', documents, '--port', '0'];
}

// Whether the row reading `text` carries a picture (the record's star).
async function starred(page, text) {
  const row = cell(page, text);
  await row.waitFor({ timeout: 10_000 });
  return (await row.locator('img.picture').count()) > 0;
}

async function waitForLabel(page, pattern) {
  await page.waitForFunction(
    (source) => [...document.querySelectorAll('#screen .label > .text')]
      .some((e) => new RegExp(source).test(e.textContent) && e.getBoundingClientRect().width > 0),
    pattern.source,
    { timeout: 10_000 },
  );
}

// Chooses the weight unit's segment titled `title`.
async function chooseUnit(page, screen, title) {
  await screen.tap(page.locator('#screen .segment', { hasText: new RegExp(`^${title}$`) }));
  await page.locator('#screen .segment.selected', { hasText: new RegExp(`^${title}$`) }).waitFor();
}

export const tests = [
  {
    name: 'records star card back graph unit',
    async run({ page, screen, server, scratch }) {
      await page.setViewportSize({ width: 390, height: 844 });
      await page.goto(server.url);
      await screen.waitForFrames(1);
      await screen.waitForText('Catalogue');

      await openLogPane(page, screen, REGION, EXERCISE);
      await screen.waitForText('Add Set');

      // 95 lbs for 5: below yesterday's estimate, no star.
      await chooseUnit(page, screen, 'lbs');
      await typeInto(page, screen, field(page, 'weight'), 'weight', '95');
      await typeInto(page, screen, field(page, 'reps'), 'reps', '5');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 1, 95 lbs for 5 reps');
      assert.equal(await starred(page, 'Set 1, 95 lbs for 5 reps'), false);
      await screen.screenshot('pounds-set');

      // 50 kg for 5 (58.3 kg, more than 52.9 kg): a record, starred; the same again is not.
      await chooseUnit(page, screen, 'kg');
      await typeInto(page, screen, field(page, 'weight'), 'weight', '50');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 2, 50 kg for 5 reps');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 3, 50 kg for 5 reps');
      await screen.settle();
      assert.equal(await starred(page, 'Set 2, 50 kg for 5 reps'), true);
      assert.equal(await starred(page, 'Set 3, 50 kg for 5 reps'), false);
      assert.equal(await starred(page, 'Set 1, 95 lbs for 5 reps'), false);
      await screen.screenshot('record-star');

      // The back of the card: the records in kilograms, the unit of the latest set.
      await screen.tapText('Done');
      await screen.waitForText(EXERCISE);
      await screen.tap(cell(page, EXERCISE));
      await screen.waitForText('Back');
      await screen.tap(barSegment(page, 0));
      await waitForLabel(page, new RegExp(`Heaviest: 50 kg \\(${today()}\\)`));
      await waitForLabel(page, /Most reps at 50 kg: 5 /);
      await waitForLabel(page, /Est\. 1RM: 58\.3 kg \(50 kg × 5, /);
      await screen.screenshot('card-records');
      await screen.tap(barSegment(page, 0));
      await screen.animationsDone();

      // The graph: yesterday's pounds are plotted in kilograms, and the axis names the unit.
      await screen.tap(barSegment(page, 2));
      const graphType = page.locator('#screen .segment', { hasText: /^Avg Wt$/ });
      await graphType.waitFor({ timeout: 10_000 });
      const graph = graphType.locator('xpath=../..');
      await page.waitForFunction((el) => getComputedStyle(el).opacity === '1'
        && [...el.querySelectorAll(':scope > img')].some((i) => i.complete && i.naturalWidth > 0),
      await graph.elementHandle(), { timeout: 10_000 });
      // The unit is drawn just right of the value axis, above the top grid line: light pixels
      // there in the plot's own picture.
      const lit = await graph.locator(':scope > img.picture').evaluate((img) => {
        const scale = img.naturalWidth / 480;
        const canvas = document.createElement('canvas');
        canvas.width = img.naturalWidth;
        canvas.height = img.naturalHeight;
        const context = canvas.getContext('2d');
        context.drawImage(img, 0, 0);
        const data = context.getImageData(68 * scale, 2 * scale, 32 * scale, 16 * scale).data;
        let count = 0;
        for (let i = 0; i < data.length; i += 4) count += data[i + 3] > 0 && data[i] > 100 ? 1 : 0;
        return count;
      });
      assert.ok(lit > 5, `the unit's corner of the graph has ${lit} light pixels`);
      await screen.screenshot('graph-unit');

      // The file holds every text exactly as it was typed, in both units.
      const log = readDocument(scratch, LOG_FILE);
      const todayKey = Object.keys(log).find((key) => key !== yesterday);
      assert.deepEqual(log, {
        [yesterday]: { [EXERCISE]: ['100 lbs', '5', ''] },
        [todayKey]: { [EXERCISE]: ['95 lbs', '5', '', '50 kg', '5', '', '50 kg', '5', ''] },
      });
    },
  },
];

function today() {
  return dayKey(new Date()).replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
}
