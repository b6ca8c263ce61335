// A user whose files were damaged (a strength log cut short by a full disk, a workouts file that
// another tool rewrote as a dictionary) starts kinetra, in a real Chromium on a phone-sized page:
// it starts and shows its screens with empty defaults, leaving the damaged files as they are;
// the first set logged saves a new log and keeps the damaged one beside it, byte for byte, as
// "Kinetra_Log.plist.unreadable-..."; the workouts file, never saved, stays untouched; a reload
// shows the new set. The documents folder is checked after every step.

import assert from 'node:assert/strict';
import { mkdirSync, readdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import {
  DAY_MS, dayKey, field, logPlist, openLogPane, readDocument, tab, typeInto,
} from './kinetra.mjs';

const EXERCISE = 'Barbell Bench Press';
const REGION = 'Chest';
const OLD_DAY = dayKey(new Date(Date.now() - 30 * DAY_MS));
// A log of one earlier day, cut off in the middle of its set.
const CUT_LOG = logPlist({ [OLD_DAY]: { [EXERCISE]: ['100 lbs', '5', 'before the damage'] } })
  .slice(0, -60);
const DICTIONARY_WORKOUTS = '<?xml version="1.0" encoding="UTF-8"?>\n'
  + '<plist version="1.0"><dict><key>Monday</key><string>Squat</string></dict></plist>\n';

export function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  writeFileSync(path.join(documents, 'Kinetra_Log.plist'), CUT_LOG);
  writeFileSync(path.join(documents, 'Workouts.plist'), DICTIONARY_WORKOUTS);
  return ['--documents', documents, '--port', '0'];
}

function documentNames(scratch) {
  return readdirSync(path.join(scratch, 'documents')).filter((n) => !n.startsWith('.')).sort();
}

function documentText(scratch, name) {
  return readFileSync(path.join(scratch, 'documents', name), 'utf8');
}

export const tests = [
  {
    name: 'damaged files at start-up are kept and the log goes on',
    async run({ page, screen, server, scratch }) {
      await page.setViewportSize({ width: 390, height: 844 });
      await page.goto(server.url);
      await screen.waitForFrames(1);
      await screen.waitForText('Catalogue');
      await screen.screenshot('started');
      // Nothing was saved yet: the damaged files are as they were, and nothing else is there.
      assert.deepEqual(documentNames(scratch), ['Kinetra_Log.plist', 'Workouts.plist']);
      assert.equal(documentText(scratch, 'Kinetra_Log.plist'), CUT_LOG);

      // The workouts tab starts empty rather than failing on a dictionary.
      await screen.tap(tab(page, 'Workouts'));
      await screen.settle();
      await screen.screenshot('workouts-empty');

      // The first set: saved in a new log; the damaged one kept beside it, byte for byte.
      await openLogPane(page, screen, REGION, EXERCISE);
      await typeInto(page, screen, field(page, 'weight'), 'weight', '60');
      await typeInto(page, screen, field(page, 'reps'), 'reps', '8');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 1, 60 lbs for 8 reps');
      await screen.screenshot('first-set');
      const names = documentNames(scratch);
      const kept = names.filter((n) => n.startsWith('Kinetra_Log.plist.unreadable-'));
      assert.equal(kept.length, 1, names.join(', '));
      assert.match(kept[0], /^Kinetra_Log\.plist\.unreadable-\d{8}-\d{6}$/);
      assert.equal(documentText(scratch, kept[0]), CUT_LOG);
      const log = readDocument(scratch, 'Kinetra_Log.plist');
      assert.deepEqual(Object.values(log), [{ [EXERCISE]: ['60 lbs', '8', ''] }]);
      assert.equal(documentText(scratch, 'Workouts.plist'), DICTIONARY_WORKOUTS);
      assert.deepEqual(names, [...kept, 'Kinetra_Log.plist', 'Workouts.plist'].sort());

      // A reload shows the set from the new log; nothing is kept aside a second time.
      await page.reload();
      await screen.waitForFrames(1);
      await screen.waitForText('Set 1, 60 lbs for 8 reps');
      await screen.screenshot('reloaded');
      assert.deepEqual(documentNames(scratch), names);
    },
  },
];
