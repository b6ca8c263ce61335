// A user logs sets while the disk under kinetra's documents folder fills up, in a real Chromium
// against the real `kinetra`, on a phone-sized page. The documents folder is a 1 MiB tmpfs of its
// own (as root; where mounting is refused the journey says so and checks nothing). A set logged
// on the full disk still shows in today's table, the log file keeps its last good contents with
// no temporary file beside it, and kinetra says why in one diagnostic line; once there is room
// again the next set's save carries the one that could not be saved, and a reload shows both.
// Likewise an exercise of the user's own with a photo, saved on the full disk: the list shows it
// with its photo, and editing it once there is room saves the record and the photo both.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import {
  closeSync, existsSync, mkdirSync, openSync, readdirSync, readFileSync, rmSync, writeSync,
} from 'node:fs';
import path from 'node:path';

import {
  barButton, cell, dayKey, field, openLogPane, readDocument, scrollToText, sidewaysPhoto, tab,
  thumbnailSize, typeInto, typeText,
} from './kinetra.mjs';

const EXERCISE = 'Barbell Bench Press';
const REGION = 'Chest';
const SAVE_FAILED = /could not save Kinetra_Log\.plist \(.*No space left on device/;
const NAME = 'Farmer Walk';
const CUSTOM_FILE = 'Custom_Exercises.plist';

let mounted = null;

export function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  try {
    execFileSync('mount', ['-t', 'tmpfs', '-o', 'size=1m,mode=0700', 'kinetra-journey', documents],
      { stdio: 'pipe' });
    mounted = documents;
  } catch (error) {
    mounted = null;
    console.log(`SKIP (full disk): cannot mount a tmpfs here: ${String(error.stderr ?? error).trim()}`);
  }
  return ['--documents', documents, '--port', '0'];
}

// Fills the file system of `folder` with a file of zeros until no byte more fits.
function fill(folder) {
  const filler = path.join(folder, '.filler');
  const fd = openSync(filler, 'w');
  const block = Buffer.alloc(64 * 1024);
  try {
    for (;;) writeSync(fd, block);
  } catch (error) {
    assert.equal(error.code, 'ENOSPC', `filling the disk: ${error}`);
  } finally {
    closeSync(fd);
  }
  return filler;
}

function temporaries(folder) {
  return readdirSync(folder).filter((name) => name.includes('.tmp-'));
}

function saveFailures(server, pattern = SAVE_FAILED) {
  return server.log().split('\n').filter((line) => pattern.test(line));
}

async function addSet(page, screen, weight, reps) {
  await typeInto(page, screen, field(page, 'weight'), 'weight', weight);
  await typeInto(page, screen, field(page, 'reps'), 'reps', reps);
  await screen.tapText('Add Set');
}

// Runs `journey` with the screen open at a phone's size on the tmpfs mounted for this test, then
// unmounts it; does nothing where none could be mounted.
async function onTheMountedFolder({ page, screen, server }, journey) {
  if (!mounted) return;
  const documents = mounted;
  try {
    await page.setViewportSize({ width: 390, height: 844 });
    await page.goto(server.url);
    await screen.waitForFrames(1);
    await screen.waitForText('Catalogue');
    await journey(documents);
  } finally {
    // Lazily: kinetra still holds its lock file there until the runner stops it.
    execFileSync('umount', ['-l', documents]);
    mounted = null;
  }
}

export const tests = [
  {
    name: 'full disk a set kept in memory then saved with the next',
    async run({ page, screen, server, scratch }) {
      await onTheMountedFolder({ page, screen, server }, async (documents) => {
        await openLogPane(page, screen, REGION, EXERCISE);
        await screen.waitForText('Add Set');

        // With room: the first set is on disk at once.
        await addSet(page, screen, '60', '8');
        await screen.waitForText('Set 1, 60 lbs for 8 reps');
        const today = Object.keys(readDocument(scratch, 'Kinetra_Log.plist'))[0];
        assert.ok([dayKey(new Date()), dayKey(new Date(Date.now() - 60_000))].includes(today), today);
        const saved = readFileSync(path.join(documents, 'Kinetra_Log.plist'));
        await screen.screenshot('first-set-saved');

        // The disk fills up: the second set shows, the file keeps the first alone, nothing is
        // left half-written, and the failure is said once.
        const filler = fill(documents);
        await addSet(page, screen, '65', '6');
        await screen.waitForText('Set 2, 65 lbs for 6 reps');
        await screen.waitForText('Set 1, 60 lbs for 8 reps');
        assert.deepEqual(readFileSync(path.join(documents, 'Kinetra_Log.plist')), saved);
        assert.deepEqual(temporaries(documents), []);
        assert.equal(saveFailures(server).length, 1, server.log());
        await screen.screenshot('second-set-on-a-full-disk');

        // Room again: the third set's save carries the second.
        rmSync(filler);
        await addSet(page, screen, '65', '5');
        await screen.waitForText('Set 3, 65 lbs for 5 reps');
        assert.deepEqual(readDocument(scratch, 'Kinetra_Log.plist'),
          { [today]: { [EXERCISE]: ['60 lbs', '8', '', '65 lbs', '6', '', '65 lbs', '5', ''] } });
        assert.deepEqual(temporaries(documents), []);
        assert.equal(saveFailures(server).length, 1, 'no further failure');
        await screen.screenshot('third-set-carries-the-second');

        // A reload shows all three from the process, as saved.
        await page.reload();
        await screen.waitForFrames(1);
        await screen.waitForText('Set 2, 65 lbs for 6 reps');
        await screen.waitForText('Set 3, 65 lbs for 5 reps');
        await screen.screenshot('after-reload');
      });
    },
  },
  {
    name: 'full disk my own exercise and its photo kept in memory then saved with the next edit',
    async run({ page, screen, server, scratch }) {
      await onTheMountedFolder({ page, screen, server }, async (documents) => {
        await screen.tap(tab(page, 'Catalogue'));
        await scrollToText(page, screen, 'Add/Edit Custom Exercises');
        await screen.tapText('Add/Edit Custom Exercises');
        await screen.waitForText('Target Region:');
        await typeText(page, screen, 0, NAME);
        await screen.tapText('Image:');
        await page.locator('#screen .imagePicker .chooser').waitFor();
        await page.locator('#screen input[type=file]').setInputFiles(sidewaysPhoto(scratch));
        await screen.waitForText('Image:');
        await screen.screenshot('photo-picked');

        // Saved on a full disk: nothing reaches it, nothing is left half-written, each failure
        // is one line, and the list shows the exercise with its photo all the same.
        const filler = fill(documents);
        await screen.tap(barButton(page, 'Save'));
        await screen.waitForText('Custom Exercises');
        await cell(page, NAME).waitFor();
        assert.deepEqual(await thumbnailSize(page, NAME), [35, 40]);
        for (const name of [CUSTOM_FILE, `${NAME}.jpg`, `${NAME}_t.jpg`]) {
          assert.ok(!existsSync(path.join(documents, name)), `${name} on a full disk`);
        }
        assert.deepEqual(temporaries(documents), []);
        assert.equal(saveFailures(server, /could not save the picture Farmer Walk\.jpg/).length, 1,
          server.log());
        assert.equal(saveFailures(server, /could not save Custom_Exercises\.plist/).length, 1,
          server.log());
        await screen.screenshot('saved-on-a-full-disk');

        // Room again: editing the description saves the record and the photo kept for it.
        rmSync(filler);
        await screen.tap(cell(page, NAME));
        await screen.waitForText('Edit Exercise');
        await typeText(page, screen, 1, 'Walk tall with a heavy bell in each hand.');
        await screen.tap(barButton(page, 'Save'));
        await screen.waitForText('Custom Exercises');
        const [record] = readDocument(scratch, CUSTOM_FILE);
        assert.equal(record.name, NAME);
        assert.equal(record.image, NAME);
        assert.equal(record.description, 'Walk tall with a heavy bell in each hand.');
        const photo = readFileSync(path.join(documents, `${NAME}.jpg`));
        assert.ok(photo.subarray(1, 4).equals(Buffer.from('PNG')), 'the photo is a PNG');
        assert.ok(existsSync(path.join(documents, `${NAME}_t.jpg`)));
        assert.deepEqual(temporaries(documents), []);
        await screen.screenshot('saved-with-room');

        // A reload shows the photo from the file.
        await page.reload();
        await screen.waitForFrames(1);
        await cell(page, NAME).waitFor();
        assert.deepEqual(await thumbnailSize(page, NAME), [35, 40]);
        await screen.screenshot('after-reload');
      });
    },
  },
];
