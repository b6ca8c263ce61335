// A new user looks back through the log in a real Chromium against the real `kinetra`, on a
// phone-sized page: logs a set, finds it under Today's Log with its exercise's header, opens the
// previous logged day, deletes a day from All Records and finds it gone from the file, browses an
// exercise's previous records by day, and logs a set under yesterday through the Log date page.
// The server runs with LANG=C and TZ=UTC (see tests/shell/CMakeLists.txt); the log is seeded
// with two earlier days.

import assert from 'node:assert/strict';
import { mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import {
  barButton, cell, DAY_MS, dayKey, field, logPlist, openLogPane, readDocument, tab, typeInto,
} from './kinetra.mjs';

const EXERCISE = 'Barbell Bench Press';
const OTHER = 'Barbell Squat';
const REGION = 'Chest';
const LOG_FILE = 'Kinetra_Log.plist';
const started = new Date();
const yesterday = dayKey(new Date(started.getTime() - DAY_MS));
const twoDaysAgo = dayKey(new Date(started.getTime() - 2 * DAY_MS));

export function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  writeFileSync(path.join(documents, LOG_FILE), logPlist({
    [twoDaysAgo]: { [OTHER]: ['100 kg', '5', ''] },
    [yesterday]: { [EXERCISE]: ['60 kg', '8', 'easy'] },
  }));
  return ['--documents', documents, '--port', '0'];
}


export const tests = [
  {
    name: 'history today previous day all records previous records log date',
    async run({ page, screen, server, scratch }) {
      await page.setViewportSize({ width: 390, height: 844 });
      const today = dayKey(new Date());
      await page.goto(server.url);
      await screen.waitForFrames(1);
      await screen.waitForText('Catalogue');

      // Today's set of the bench press, from the catalogue's pane.
      await openLogPane(page, screen, REGION, EXERCISE);
      await screen.waitForText('Previous exercise records');
      await screen.waitForText('Log date: Today');
      await typeInto(page, screen, field(page, 'weight'), 'weight', '62');
      await typeInto(page, screen, field(page, 'reps'), 'reps', '8');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 1, 62 kg for 8 reps');
      await screen.screenshot('logged-today');

      // Log → Today: the day's sets under their exercise's header.
      await screen.tap(tab(page, 'Log'));
      await screen.waitForText('All Records');
      await screen.waitForText('Export logs to Email');
      await screen.screenshot('log-menu');
      await screen.tapText('Today');
      await screen.waitForText("Today's Log");
      await screen.waitForText(EXERCISE);
      await screen.waitForText('Set 1, 62 kg for 8 reps');
      await screen.screenshot('todays-log');

      // Log → Previous Day: yesterday's set and its note.
      await screen.tap(barButton(page, 'Log'));
      await screen.tapText('Previous Day');
      await screen.waitForText(yesterday);
      await screen.waitForText('Set 1, 60 kg for 8 reps');
      await screen.waitForText('easy');
      await screen.screenshot('previous-day');

      // Log → All Records → Edit → delete the oldest day: gone from the file.
      await screen.tap(barButton(page, 'Log'));
      await screen.tapText('All Records');
      await screen.waitForText(twoDaysAgo);
      await screen.screenshot('all-records');
      await screen.tap(barButton(page, 'Edit'));
      await page.locator('#screen .tableViewCell .minus').first().waitFor();
      await screen.tap(cell(page, twoDaysAgo).locator('.minus'));
      await screen.tap(page.locator('#screen .deleteButton'));
      await screen.waitForNoText(twoDaysAgo);
      await screen.screenshot('day-deleted');
      const afterDeletion = readDocument(scratch, LOG_FILE);
      assert.ok(!(twoDaysAgo in afterDeletion), JSON.stringify(afterDeletion));
      assert.deepEqual(Object.keys(afterDeletion).sort(), [today, yesterday].sort());
      await screen.tap(barButton(page, 'Done'));

      // The exercise screen → Previous exercise records → yesterday.
      await screen.tap(tab(page, 'Exercise'));
      await screen.tapText('Previous exercise records');
      await screen.waitForText('Previous Records');
      await screen.waitForText(yesterday);
      await screen.screenshot('previous-records');
      await screen.tap(cell(page, yesterday));
      await screen.waitForText('Set 1, 60 kg for 8 reps');
      await screen.screenshot('previous-records-day');

      // Log date → yesterday → a set lands under yesterday in the file.
      // Back to the entry pane: its title, drawn smaller beside the page's long title.
      await screen.tap(barButton(page, 'Log Entry'));
      await screen.tapText('Log date: Today');
      await screen.waitForText('Use This Date');
      const picker = page.locator('#screen input[type=date]');
      const [month, day, year] = [new Date(started.getTime() - DAY_MS)].map((d) => [
        d.getUTCMonth() + 1, d.getUTCDate(), d.getUTCFullYear()])[0];
      await picker.fill(`${year}-${String(month).padStart(2, '0')}-${String(day).padStart(2, '0')}`);
      await screen.screenshot('log-date');
      await screen.tapText('Use This Date');
      await screen.waitForText(`Log date: ${yesterday}`);
      await typeInto(page, screen, field(page, 'weight'), 'weight', '64');
      await typeInto(page, screen, field(page, 'reps'), 'reps', '6');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 2, 64 kg for 6 reps');
      await screen.screenshot('logged-yesterday');
      const log = readDocument(scratch, LOG_FILE);
      assert.deepEqual(log[yesterday], { [EXERCISE]: ['60 kg', '8', 'easy', '64 kg', '6', ''] });
      assert.deepEqual(log[today], { [EXERCISE]: ['62 kg', '8', ''] });
    },
  },
];
