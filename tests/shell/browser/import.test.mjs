// A new user brings their log over from another workout app, in a real Chromium against the real
// `kinetra` on a phone-sized page: Log → Export logs to Email → Import CSV → the browser's file
// chooser with the other app's CSV. The page reports what was added; the imported exercise
// opens from the complete list with its graph and its previous records; the same file again
// adds nothing; a broken file and a 100 MB one are refused. The files on disk are checked after
// every step.

import assert from 'node:assert/strict';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import { DAY_MS, assertTextFits, barSegment, cell, dayKey, readDocument, scrollToText, tab } from './kinetra.mjs';

const NAME = 'Face Pull (Cable)';
const started = new Date();
const tenDaysAgo = new Date(started.getTime() - 10 * DAY_MS);
const threeDaysAgo = new Date(started.getTime() - 3 * DAY_MS);
const isoTime = (date) => `${date.toISOString().slice(0, 10)} 18:02:11`;
const FILES = ['Custom_Exercises.plist', 'Kinetra_Aerobics_Log.plist', 'Kinetra_Log.plist'];

// What the other app exports: a warm-up set, an RPE, quoted notes with a comma, doubled quotes
// and a line break, and a run.
const FOREIGN_CSV = [
  'Date,Workout Name,Exercise Name,Set Order,Weight,Weight Unit,Reps,RPE,Distance,Distance Unit,Seconds,Notes,Workout Notes',
  `${isoTime(tenDaysAgo)},Pull Day,${NAME},W,10,kg,15,,,,,,`,
  `${isoTime(tenDaysAgo)},Pull Day,${NAME},1,20,kg,12,8,,,,"squeeze, hold ""2s""",`,
  `${isoTime(threeDaysAgo)},Pull Day,${NAME},1,22.5,kg,10,,,,,"line one\nline two",Felt good`,
  `${isoTime(threeDaysAgo)},Morning,Running,1,,,,,5,km,1800,,`,
  '',
].join('\r\n');
const BROKEN_CSV = 'Date,Exercise Name,Set Order,Weight,Reps\n2024-01-01 10:00:00,"Squat,1,100,5\n';

export async function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  writeFileSync(path.join(scratch, 'strong.csv'), FOREIGN_CSV);
  writeFileSync(path.join(scratch, 'broken.csv'), BROKEN_CSV);
  writeFileSync(path.join(scratch, 'huge.csv'), Buffer.alloc(100 * 1024 * 1024, 'a'));
  return ['--documents', documents, '--port', '0'];
}

// The row of a table naming `text` exactly (the name has parentheses: escaped for the pattern).
function rowNamed(page, text) {
  const exact = new RegExp(`^${text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&')}$`);
  return page.locator('#screen .tableViewCell', { has: page.locator('.label > .text', { hasText: exact }) });
}

function fileBytes(scratch) {
  return FILES.map((name) => readFileSync(path.join(scratch, 'documents', name)));
}

// Import CSV on the export page, then `file` chosen in the browser's file chooser.
async function importFile(page, screen, file) {
  await screen.tapText('Import CSV');
  await page.locator('#screen .documentPicker .chooser').waitFor({ timeout: 10_000 });
  await page.locator('#screen .documentPicker .prompt', { hasText: 'exported by Kinetra or by another workout log' })
    .waitFor();
  await screen.settle();
  const input = page.locator('#screen .documentPicker input[type=file]');
  assert.equal(await input.getAttribute('accept'), '.csv,text/csv');
  await screen.screenshot(`picker-${path.basename(file, '.csv')}`);
  await input.setInputFiles(file);
}

export const tests = [
  {
    name: 'import another apps csv then again then broken and huge files',
    async run({ page, screen, server, scratch }) {
      await page.setViewportSize({ width: 390, height: 844 });
      await page.goto(server.url);
      await screen.waitForFrames(1);
      await screen.waitForText('Catalogue');

      // Log → Export logs to Email: Import CSV beside Download CSV.
      await screen.tap(tab(page, 'Log'));
      await screen.tapText('Export logs to Email');
      await screen.waitForText('Download CSV');
      await screen.waitForText('Import CSV');
      await assertTextFits(page, 'on the export page');
      await screen.screenshot('export-page');

      // The other app's file: its sets, its run and a new exercise of the user's own.
      await importFile(page, screen, path.join(scratch, 'strong.csv'));
      await screen.waitForText('Imported 4 sets on 2 days.', { timeout: 15_000 });
      await screen.screenshot('imported');
      assert.deepEqual(readDocument(scratch, 'Kinetra_Log.plist'), {
        [dayKey(tenDaysAgo)]: { [NAME]: ['10 kg', '15', 'warm-up', '20 kg', '12', 'squeeze, hold "2s"; RPE 8'] },
        [dayKey(threeDaysAgo)]: { [NAME]: ['22.5 kg', '10', 'line one\nline two'] },
      });
      assert.deepEqual(readDocument(scratch, 'Kinetra_Aerobics_Log.plist'), {
        [dayKey(threeDaysAgo)]: { ' jogging': ['30', '5 km', '', '', ''] },
      });
      assert.deepEqual(readDocument(scratch, 'Custom_Exercises.plist'), [{
        name: NAME, image: 'custom', description: '', target1: 'none', muscle1: 'none', muscle2: 'n/a', difficulty: 'none',
      }]);
      const afterFirst = fileBytes(scratch);

      // The new exercise opens from the complete list, with the graph of its two days.
      await screen.tap(tab(page, 'Catalogue'));
      await scrollToText(page, screen, 'complete list of exercises');
      await screen.tapText('complete list of exercises');
      await screen.waitForText('All Exercises');
      await screen.tap(page.locator('#screen .index span', { hasText: /^F$/ }));
      await scrollToText(page, screen, NAME);
      await screen.screenshot('complete-list');
      await screen.tap(rowNamed(page, NAME));
      await page.locator('#screen .tab.selected', { hasText: 'Exercise' }).waitFor();
      await screen.tap(barSegment(page, 2));
      const graphType = page.locator('#screen .segment', { hasText: /^Avg Wt$/ });
      await graphType.waitFor({ timeout: 10_000 });
      const graph = graphType.locator('xpath=../..');
      await page.waitForFunction((el) => getComputedStyle(el).opacity === '1'
        && [...el.querySelectorAll(':scope > img')].some((i) => i.complete && i.naturalWidth > 0),
      await graph.elementHandle(), { timeout: 10_000 });
      await screen.screenshot('graph');
      const plot = graph.locator(':scope > img.picture');
      await screen.tap(plot);
      await page.waitForFunction((el) => !el.isConnected || getComputedStyle(el).opacity === '0',
        await graph.elementHandle(), { timeout: 10_000 });

      // Its log: the previous records list both days, each with its sets.
      await screen.tap(barSegment(page, 1));
      await screen.waitForText('Log Entry');
      await screen.tapText('Previous exercise records');
      await screen.waitForText('Previous Records');
      await screen.tap(cell(page, dayKey(threeDaysAgo)));
      await screen.waitForText('Set 1, 22.5 kg for 10 reps');
      await screen.tap(cell(page, dayKey(tenDaysAgo)));
      await screen.waitForText('Set 2, 20 kg for 12 reps');
      await screen.screenshot('previous-records');

      // The same file again: nothing added, no file rewritten.
      await screen.tap(tab(page, 'Log'));
      await screen.waitForText('Imported 4 sets on 2 days.');
      await importFile(page, screen, path.join(scratch, 'strong.csv'));
      await screen.waitForText('Imported 0 sets; skipped 4 already logged.', { timeout: 15_000 });
      await screen.screenshot('imported-again');
      assert.deepEqual(fileBytes(scratch), afterFirst);

      // A broken file: refused, and why.
      await importFile(page, screen, path.join(scratch, 'broken.csv'));
      await screen.waitForText('Not imported: a quote is left open on line 2.', { timeout: 15_000 });
      await screen.screenshot('refused');
      assert.deepEqual(fileBytes(scratch), afterFirst);

      // 100 MB: the chooser says so at once and stays open; Cancel leaves it.
      await importFile(page, screen, path.join(scratch, 'huge.csv'));
      await page.locator('#screen .documentPicker .message', { hasText: 'That file is larger than 32 MB.' })
        .waitFor({ timeout: 15_000 });
      await screen.screenshot('too-large');
      await screen.tap(page.locator('#screen .documentPicker .cancel'));
      await screen.waitForText('Not imported: a quote is left open on line 2.');
      await page.locator('#screen .documentPicker .chooser').waitFor({ state: 'hidden', timeout: 10_000 });
      assert.deepEqual(fileBytes(scratch), afterFirst);
      assert.ok(!server.log().includes('refused a request body'), 'the 100 MB file was never sent');
    },
  },
];
