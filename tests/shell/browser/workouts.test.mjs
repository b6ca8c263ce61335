// A new user builds a workout and runs through it on a phone-sized page, in a real Chromium
// against the real `kinetra`: names a workout, ticks exercises in two regions, saves it, logs the
// first exercise with its log button, swipes to the second (a screenshot mid-swipe) and logs
// it, swipes back, leaves with Done, edits the workout (delete, Save), and quick-logs an
// exercise of a ready-made routine. The Workouts file and the log on disk are checked after
// each part. The server runs with LANG=C and TZ=UTC (see tests/shell/CMakeLists.txt).

import assert from 'node:assert/strict';
import { mkdirSync } from 'node:fs';
import path from 'node:path';

import {
  barButton, cell, dayKey, field, readDocument, tab, typeInto,
} from './kinetra.mjs';

const WORKOUT = 'Push Legs';
const FIRST = 'Barbell Bench Press';
const SECOND = 'Bench Dip';
const THIRD = 'Back Squat';

// A phone's touch screen, besides the mouse.
export const browserOptions = { hasTouch: true };

export function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  return ['--documents', documents, '--port', '0'];
}


// The log button of a workout's row: the button standing in the row's accessory place.
function logButton(page, exercise) {
  return cell(page, exercise).locator('.button').last();
}

// The title label of the panel the paging scroll view shows now.
async function waitForPanelOf(page, exercise) {
  await page.waitForFunction((name) => {
    const scroller = [...document.querySelectorAll('#screen .scroller')]
      .find((s) => s.classList.contains('paging') && s.scrollWidth > s.clientWidth);
    if (!scroller) return false;
    const box = scroller.getBoundingClientRect();
    return [...scroller.querySelectorAll('.label > .text')].some((t) => {
      const r = t.getBoundingClientRect();
      return t.textContent === name && r.left >= box.left - 1 && r.right <= box.right + 1;
    });
  }, exercise, { timeout: 10_000 });
}

// A finger's horizontal drag across the panels, with a screenshot while it is held.
async function swipePanels(page, screen, dx, shot) {
  await screen.animationsDone();
  const scroller = page.locator('#screen .scroller.paging').first();
  const box = await scroller.boundingBox();
  // Along the panel's title line, clear of its fields and tables, starting on the side the
  // finger moves away from.
  const y = box.y + 15;
  const x = dx < 0 ? box.x + box.width - 20 : box.x + 40;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + dx / 2, y, { steps: 6 });
  await screen.screenshot(shot, { midAnimation: true });
  await page.mouse.move(x + dx, y, { steps: 6 });
  await page.mouse.up();
}

// The source of the tick picture on `exercise`'s row of the picker, as shown now.
async function tickPicture(page, exercise) {
  return page.locator('#screen .tableViewCell', {
    has: page.locator('.label > .text', { hasText: new RegExp(`^${exercise}$`) }),
  }).locator('.button img').last().getAttribute('src');
}

// A finger's horizontal swipe across the panels on the touch screen, with a screenshot while it
// is still down.
async function touchSwipePanels(page, screen, dx, shot) {
  await screen.animationsDone();
  const box = await page.locator('#screen .scroller.paging').first().boundingBox();
  const x = Math.round(dx < 0 ? box.x + box.width - 20 : box.x + 40);
  const y = Math.round(box.y + 15);
  const cdp = await page.context().newCDPSession(page);
  const touch = (type, points) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  await touch('touchStart', [{ x, y }]);
  const steps = 10;
  for (let i = 1; i <= steps; i += 1) {
    await touch('touchMove', [{ x: Math.round(x + (dx * i) / steps), y }]);
    if (i === steps / 2) await screen.screenshot(shot, { midAnimation: true });
  }
  await touch('touchEnd', []);
  await cdp.detach();
}

// Ticks `exercise` in the picker and waits for its row to show the other tick picture.
async function tick(page, screen, exercise) {
  const before = await tickPicture(page, exercise);
  await screen.tap(cell(page, exercise));
  const deadline = Date.now() + 10_000;
  while ((await tickPicture(page, exercise)) === before) {
    if (Date.now() > deadline) throw new Error(`${exercise} was not ticked`);
    await page.waitForTimeout(25);
  }
}

// Drags the reorder handle of `exercise`'s row by `rows` rows (up when negative).
async function dragRow(page, screen, exercise, rows) {
  await screen.animationsDone();
  const row = cell(page, exercise);
  const handle = row.locator('.reorder');
  const box = await handle.boundingBox();
  const height = (await row.boundingBox()).height;
  const x = box.x + box.width / 2;
  const y = box.y + box.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x, y + rows * height, { steps: 8 });
  await page.mouse.up();
}

export const tests = [
  {
    name: 'workout build run swipe edit and a routine',
    async run({ page, screen, server, scratch }) {
      await page.setViewportSize({ width: 390, height: 844 });
      const today = dayKey(new Date());
      await page.goto(server.url);
      await screen.waitForFrames(1);
      await screen.waitForText('Catalogue');

      // A new workout: its name, then ticks in Chest and in Legs.
      await screen.tap(tab(page, 'Workouts'));
      await screen.tap(barButton(page, 'Add'));
      await screen.waitForText('New Workout');
      await typeInto(page, screen, field(page, 'workout name'), 'workout name', WORKOUT);
      await page.keyboard.press('Enter');
      await screen.waitForText('Chest');
      await screen.screenshot('regions');
      await screen.tap(cell(page, 'Chest'));
      await screen.waitForText(FIRST);
      await tick(page, screen, FIRST);
      await tick(page, screen, SECOND);
      await screen.screenshot('ticked');
      await screen.tap(barButton(page, 'Back'));
      await barButton(page, 'Save').waitFor();  // the regions again
      await screen.tap(cell(page, 'Legs'));
      await screen.waitForText(THIRD);
      await tick(page, screen, THIRD);
      await screen.tap(barButton(page, 'Back'));
      await barButton(page, 'Save').waitFor();
      await screen.tap(barButton(page, 'Save'));
      await screen.waitForText(WORKOUT);
      await screen.screenshot('workout-list');
      assert.deepEqual(readDocument(scratch, 'Workouts.plist'), [[WORKOUT, FIRST, SECOND, THIRD]]);

      // Run it: the first exercise's log button, a set, a swipe to the second, a set, back.
      await screen.tap(cell(page, WORKOUT));
      await screen.waitForText(THIRD);
      await screen.screenshot('workout');
      await screen.tap(logButton(page, FIRST));
      await screen.waitForText('Log Entry');
      await waitForPanelOf(page, FIRST);
      await typeInto(page, screen, field(page, 'weight'), 'weight', '60');
      await typeInto(page, screen, field(page, 'reps'), 'reps', '10');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 1, 60 lbs for 10 reps');
      await screen.screenshot('first-logged');
      await swipePanels(page, screen, -220, 'mid-swipe');
      await waitForPanelOf(page, SECOND);
      await screen.waitForNoText('Set 1, 60 lbs for 10 reps');
      await screen.screenshot('second-panel');
      await typeInto(page, screen, field(page, 'weight'), 'weight', '25');
      await typeInto(page, screen, field(page, 'reps'), 'reps', '12');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 1, 25 lbs for 12 reps');
      await swipePanels(page, screen, 220, 'swiping-back');
      await waitForPanelOf(page, FIRST);
      await screen.waitForText('Set 1, 60 lbs for 10 reps');
      await screen.screenshot('back-to-first');
      // The same swipe with a finger on the touch screen: the browser scrolls and snaps.
      await touchSwipePanels(page, screen, -220, 'touch-mid-swipe');
      await waitForPanelOf(page, SECOND);
      await screen.waitForText('Set 1, 25 lbs for 12 reps');
      await screen.screenshot('touch-swiped');
      await screen.tap(barButton(page, 'Done'));
      await screen.waitForText(WORKOUT);
      await page.locator('#screen .tab.selected', { hasText: 'Workouts' }).waitFor();
      await screen.screenshot('done');
      const log = readDocument(scratch, 'Kinetra_Log.plist');
      assert.deepEqual(log, {
        [today]: { [FIRST]: ['60 lbs', '10', ''], [SECOND]: ['25 lbs', '12', ''] },
      });

      // Edit the workout: the last exercise to the top, the second deleted; the file changes only
      // with Save.
      await screen.tap(page.locator('#screen .navigationBar .segment', { hasText: /^Edit$/ }));
      await page.locator('#screen .tableViewCell .minus').first().waitFor();
      await dragRow(page, screen, THIRD, -2);
      await page.waitForFunction((names) => {
        // Top to bottom as shown.
        const shown = [...document.querySelectorAll('#screen .tableViewCell .label > .text')]
          .filter((e) => names.includes(e.textContent))
          .sort((a, b) => a.getBoundingClientRect().top - b.getBoundingClientRect().top)
          .map((e) => e.textContent);
        return shown.join('|') === names.join('|');
      }, [THIRD, FIRST, SECOND], { timeout: 10_000 });
      await screen.tap(cell(page, SECOND).locator('.minus'));
      await screen.tap(page.locator('#screen .deleteButton'));
      await screen.waitForNoText(SECOND);
      await screen.screenshot('editing');
      assert.deepEqual(readDocument(scratch, 'Workouts.plist'), [[WORKOUT, FIRST, SECOND, THIRD]]);
      await screen.tap(page.locator('#screen .navigationBar .segment', { hasText: /^Save$/ }));
      await page.locator('#screen .navigationBar .segment', { hasText: /^Edit$/ }).waitFor();
      assert.deepEqual(readDocument(scratch, 'Workouts.plist'), [[WORKOUT, THIRD, FIRST]]);

      // A routine: its description, then a quick log of one of its exercises.
      await screen.tap(tab(page, 'Routines'));
      await screen.waitForText('Beginner Full Body');
      await screen.screenshot('routines');
      await screen.tap(page.locator('#screen .tableViewCell').first());
      await screen.waitForText('Description');
      await screen.screenshot('routine');
      await screen.tap(page.locator('#screen .tableViewCell', { has: page.locator('.label > .text', { hasText: /^ cycling$/ }) }).locator('.button').last());
      await screen.waitForText('Log Entry');
      await screen.waitForText(' cycling');
      // Its empty fields say what they take: cycling's four values, then the note.
      for (const value of ['Duration', 'Speed', 'Avg HR', 'Calories', 'note']) {
        await field(page, value).waitFor();
      }
      await screen.screenshot('quick-log');
    },
  },
];
