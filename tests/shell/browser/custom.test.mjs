// A new user finds exercises by muscle and keeps an exercise of their own, on a phone-sized
// touch screen, in a real Chromium against the real `kinetra`: touches the chest on the body
// map, taps its label and opens an exercise; then adds "Farmer Walk" with a region, a muscle, a
// skill level and a phone photo stored sideways (a JPEG with an EXIF orientation), finds it in
// the complete list and its region with its own thumbnail, logs a set of it, edits its
// description and deletes it. The files on disk are checked after each step. The server runs
// with LANG=C and TZ=UTC (see tests/shell/CMakeLists.txt).

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync } from 'node:fs';
import path from 'node:path';

import {
  assertTextFits, barButton, cell, dayKey, field, PYTHON, readDocument, scrollToText, sidewaysPhoto,
  tab, thumbnailSize, typeInto, typeText,
} from './kinetra.mjs';

const NAME = 'Farmer Walk';
const REGION = 'Forearms';
const MUSCLE = 'Wrist Flexors';
const LEVEL = 'Intermediate';
const CUSTOM_FILE = 'Custom_Exercises.plist';

export const browserOptions = { hasTouch: true };

export function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  return ['--documents', documents, '--port', '0'];
}

// The colours at the top and the bottom of the middle column of a picture file, and its size.
function probe(file) {
  const out = execFileSync(PYTHON, ['-c', `
import sys, json
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
w, h = image.size
print(json.dumps({"format": Image.open(sys.argv[1]).format, "size": [w, h],
                  "top": image.getpixel((w // 2, h // 8)), "bottom": image.getpixel((w // 2, h - 1 - h // 8))}))
`, file]);
  return JSON.parse(out);
}

const isRed = ([r, g, b]) => r > 150 && g < 90 && b < 90;
const isBlue = ([r, g, b]) => b > 150 && r < 90 && g < 90;

function customExercises(scratch) {
  return readDocument(scratch, CUSTOM_FILE);
}

// A tap inside the body map at (x, y) of its 320-point-wide picture.
async function touchBody(page, screen, x, y) {
  await screen.animationsDone();
  const pictures = page.locator('#screen .imageView');
  let box = null;
  for (let i = 0; i < await pictures.count(); i += 1) {
    const b = await pictures.nth(i).boundingBox();
    if (b && (!box || b.width * b.height > box.width * box.height)) box = b;
  }
  assert.ok(box, 'no body picture on the page');
  const scale = box.width / 320;
  await page.mouse.click(box.x + x * scale, box.y + y * scale);
}

// A cell's thumbnail as the browser drew it.
export const tests = [
  {
    name: 'body map then an exercise of my own with a photo',
    async run({ page, screen, server, scratch }) {
      await page.setViewportSize({ width: 390, height: 844 });
      const documents = path.join(scratch, 'documents');
      await page.goto(server.url);
      await screen.waitForFrames(1);
      await screen.waitForText('Catalogue');

      // Each tab shows its picture above its title, and another picture while it is selected.
      const tabPictures = () => page.$$eval('#screen .tab img', (imgs) => imgs.map((i) => ({
        src: i.getAttribute('src'), width: i.complete ? i.naturalWidth : 0,
      })));
      await page.waitForFunction(() => [...document.querySelectorAll('#screen .tab img')]
        .filter((i) => i.complete && i.naturalWidth > 0).length === 5, null, { timeout: 10_000 });
      const before = await tabPictures();
      assert.equal(new Set(before.map((p) => p.src)).size, 5, 'five different tab pictures');
      await screen.screenshot('tabs');

      // Exercises by muscle: the chest, its label, an exercise.
      await screen.tap(tab(page, 'Catalogue'));
      await page.waitForFunction((src) => document.querySelectorAll('#screen .tab img')[1]
        .getAttribute('src') !== src, before[1].src, { timeout: 10_000 });
      const after = await tabPictures();
      assert.notEqual(after[0].src, before[0].src, 'the Exercise tab keeps its selected look');
      assert.equal(after[2].src, before[2].src);
      await scrollToText(page, screen, 'exercises by muscle');
      await screen.tapText('exercises by muscle');
      await screen.waitForText('Muscles');
      await screen.screenshot('body-map');
      await touchBody(page, screen, 82, 83);
      const label = page.locator('#screen .button', { hasText: /^Pectoralis\s*$/ });
      await label.waitFor();
      await screen.screenshot('chest-touched');
      await screen.tap(label);
      await screen.waitForText('Primary Target Exercises');
      await screen.screenshot('chest-exercises');
      await screen.tap(cell(page, 'Barbell Bench Press').first());
      await page.locator('#screen .tab.selected', { hasText: 'Exercise' }).waitFor();
      await screen.screenshot('chest-exercise');

      // The first exercise of my own: the editor opens straight from the menu.
      await screen.tap(tab(page, 'Catalogue'));
      await screen.tap(barButton(page, 'Muscles'));
      await barButton(page, '(Back|Catalogue)').waitFor();
      await screen.tap(barButton(page, '(Back|Catalogue)'));
      await screen.waitForText('complete list of exercises');
      await scrollToText(page, screen, 'Add/Edit Custom Exercises');
      await screen.tapText('Add/Edit Custom Exercises');
      await screen.waitForText('Add Exercise');
      await screen.waitForText('Target Region:');
      await typeText(page, screen, 0, NAME);
      await typeText(page, screen, 1, 'Walk tall with a heavy bell in each hand.');
      await screen.tapText('Target Region:');
      await screen.tapText(REGION);
      await screen.waitForText('Target Muscle:');
      await screen.tapText('Target Muscle:');
      await scrollToText(page, screen, MUSCLE);
      await screen.tapText(MUSCLE);
      await screen.waitForText('Difficulty:');
      await screen.tapText('Difficulty:');
      await screen.tapText(LEVEL);
      await screen.waitForText('Image:');
      await screen.screenshot('editor-filled');
      assert.ok(!existsSync(path.join(documents, CUSTOM_FILE)), 'stored before Save');

      // The photo, from the phone: the picker's file input.
      await screen.tapText('Image:');
      await page.locator('#screen .imagePicker .chooser').waitFor();
      await screen.screenshot('photo-picker');
      await page.locator('#screen input[type=file]').setInputFiles(sidewaysPhoto(scratch));
      await screen.waitForText('Image:');
      await screen.screenshot('photo-picked');
      await screen.tap(barButton(page, 'Save'));
      await screen.waitForText('Custom Exercises');
      await cell(page, NAME).waitFor();
      await screen.screenshot('custom-list');
      // A long title between a back button and a two-segment control, at a phone's size and at
      // a small window's.
      await assertTextFits(page, 'on the custom list at 390 x 844');
      await page.setViewportSize({ width: 480, height: 720 });
      await screen.settle();
      await screen.screenshot('custom-list-480x720');
      await assertTextFits(page, 'on the custom list at 480 x 720');
      await page.setViewportSize({ width: 390, height: 844 });
      await screen.settle();
      assert.deepEqual(customExercises(scratch), [{
        name: NAME,
        image: NAME,
        description: 'Walk tall with a heavy bell in each hand.',
        target1: REGION,
        muscle1: MUSCLE,
        muscle2: 'n/a',
        difficulty: LEVEL,
      }]);
      const picture = probe(path.join(documents, `${NAME}.jpg`));
      const thumbnail = probe(path.join(documents, `${NAME}_t.jpg`));
      assert.equal(picture.format, 'PNG');
      assert.deepEqual(picture.size, [320, 370]);
      assert.deepEqual(thumbnail.size, [35, 40]);
      // Upright: the photo's red left side is on top once turned as its EXIF says.
      assert.ok(isRed(picture.top) && isBlue(picture.bottom), JSON.stringify(picture));
      assert.deepEqual(await thumbnailSize(page, NAME), [35, 40]);

      // Everywhere catalogue exercises are: the complete list and its region.
      await screen.tap(barButton(page, '(Back|Catalogue)'));
      await scrollToText(page, screen, 'complete list of exercises');
      await screen.tapText('complete list of exercises');
      await screen.waitForText('All Exercises');
      await screen.tap(page.locator('#screen .index span', { hasText: /^F$/ }));
      await scrollToText(page, screen, NAME);
      await screen.screenshot('complete-list');
      await assertTextFits(page, 'on the complete list');
      // The whole height of the phone: the tab bar at the bottom, more rows than 320 x 480 shows.
      const tabBarBottom = await page.evaluate(() => innerHeight
        - document.querySelector('#screen .tabBar').getBoundingClientRect().bottom);
      assert.ok(Math.abs(tabBarBottom) < 1, `the tab bar stops ${tabBarBottom} px above the bottom`);
      const rowsShown = () => page.evaluate(() => {
        const table = [...document.querySelectorAll('#screen .tableView > .scroller')].pop();
        const box = table.getBoundingClientRect();
        return [...table.querySelectorAll('.tableViewCell')].filter((c) => {
          const r = c.getBoundingClientRect();
          return r.top >= box.top - 1 && r.bottom <= box.bottom + 1;
        }).length;
      });
      const phoneRows = await rowsShown();
      await page.setViewportSize({ width: 320, height: 480 });
      await page.waitForFunction(() => window.kinetra.frame?.size?.[1] === 480, null, { timeout: 10_000 });
      await screen.settle();
      const smallRows = await rowsShown();
      await screen.screenshot('complete-list-320x480');
      assert.ok(phoneRows > smallRows, `${phoneRows} rows at 390 x 844, ${smallRows} at 320 x 480`);
      await page.setViewportSize({ width: 390, height: 844 });
      await page.waitForFunction(() => window.kinetra.frame?.size?.[1] > 480, null, { timeout: 10_000 });
      await screen.settle();
      // Once, under a sanitizer with another test beside it, the list came back from the small
      // window scrolled to its top; what is checked here is the thumbnail, so the row is found
      // again (and the list's place across a resize is left to its own investigation).
      await scrollToText(page, screen, NAME);
      assert.deepEqual(await thumbnailSize(page, NAME), [35, 40]);
      await screen.tap(barButton(page, '(Back|Catalogue)'));
      await scrollToText(page, screen, REGION);
      await screen.tapText(REGION);
      await cell(page, NAME).waitFor();
      await screen.screenshot('region-list');

      // A set of it.
      await screen.tap(cell(page, NAME));
      await page.locator('#screen .tab.selected', { hasText: 'Exercise' }).waitFor();
      await screen.tap(page.locator('#screen .navigationBar .segmentedControl .segment').nth(1));
      await screen.waitForText('Log Entry');
      await typeInto(page, screen, field(page, 'weight'), 'weight', '32');
      await typeInto(page, screen, field(page, 'reps'), 'reps', '40');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 1, 32 lbs for 40 reps');
      await screen.screenshot('logged');
      assert.deepEqual(readDocument(scratch, 'Kinetra_Log.plist'), {
        [dayKey(new Date())]: { [NAME]: ['32 lbs', '40', ''] },
      });
      // Done goes back to the catalogue, where the exercise was found.
      await screen.tap(barButton(page, 'Done'));
      await page.locator('#screen .tab.selected', { hasText: 'Catalogue' }).waitFor();
      await cell(page, NAME).waitFor();

      // Its description edited: the name stays, the photo stays.
      await screen.tap(barButton(page, '(Back|Catalogue)'));
      await screen.waitForText('complete list of exercises');
      await scrollToText(page, screen, 'Add/Edit Custom Exercises');
      await screen.tapText('Add/Edit Custom Exercises');
      await cell(page, NAME).waitFor();
      await screen.tap(cell(page, NAME));
      await screen.waitForText('Edit Exercise');
      await screen.waitForText(REGION);
      await typeText(page, screen, 1, 'Walk tall, shoulders back, bells at your sides.');
      await screen.screenshot('editing');
      const photoBefore = readFileSync(path.join(documents, `${NAME}.jpg`));
      await screen.tap(barButton(page, 'Save'));
      await screen.waitForText('Custom Exercises');
      assert.equal(customExercises(scratch)[0].description,
        'Walk tall, shoulders back, bells at your sides.');
      assert.equal(customExercises(scratch)[0].name, NAME);
      assert.ok(readFileSync(path.join(documents, `${NAME}.jpg`)).equals(photoBefore));

      // Deleted: gone from the file at once, its pictures and its log kept.
      await screen.tap(page.locator('#screen .navigationBar .segment', { hasText: /^Del$/ }));
      await page.locator('#screen .navigationBar .segment', { hasText: /^Done$/ }).waitFor();
      await screen.tap(cell(page, NAME).locator('.minus'));
      await screen.tap(page.locator('#screen .deleteButton'));
      await screen.waitForNoText(NAME);
      await screen.screenshot('deleted');
      assert.deepEqual(customExercises(scratch), []);
      assert.ok(existsSync(path.join(documents, `${NAME}.jpg`)));
      assert.ok(existsSync(path.join(documents, `${NAME}_t.jpg`)));
      assert.deepEqual(Object.keys(readDocument(scratch, 'Kinetra_Log.plist')).length, 1);
    },
  },
];
