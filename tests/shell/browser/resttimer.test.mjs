// A new user rests between sets, in a real Chromium against the real `kinetra`, on a phone-sized
// page: logs a set of an exercise and sees the rest count down along the bottom of the pane,
// lengthens it (remembered in settings.plist at once), finds it still running after reloading
// the page and after leaving the pane and coming back, shortens it down to the shortest rest
// and feels it end (the page's navigator.vibrate is called), logs another set and cancels its
// rest. The log file holds the sets and nothing else; no aerobic log appears. The countdown runs
// on the process's real clock: the journey watches it drop over a couple of seconds, and waits
// for an end at most the shortest rest, 15 s (typically a few: the rest is well under way by
// then). Every length and the end itself are checked on a manual clock in RestTimerTest.

import assert from 'node:assert/strict';
import { existsSync, mkdirSync } from 'node:fs';
import path from 'node:path';

import {
  assertTextFits, barSegment, cell, dayKey, field, openLogPane, readDocument, tab, typeInto,
} from './kinetra.mjs';

const EXERCISE = 'Barbell Bench Press';
const REGION = 'Chest';
const REST = /^Rest (\d\d):(\d\d)$/;

export function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  return ['--documents', documents, '--port', '0'];
}

// The seconds the rest strip shows now; null when it shows none.
function restSeconds(page) {
  return page.evaluate((source) => {
    const pattern = new RegExp(source);
    for (const e of document.querySelectorAll('#screen .label > .text')) {
      const match = e.getBoundingClientRect().width > 0 && pattern.exec(e.textContent);
      if (match) return Number(match[1]) * 60 + Number(match[2]);
    }
    return null;
  }, REST.source);
}

// Waits until no strip shows a time (a pane that was left may take a frame or two to go).
async function waitForNoRest(page, what) {
  const gone = await page.waitForFunction((source) => {
    const pattern = new RegExp(source);
    return ![...document.querySelectorAll('#screen .label > .text')].some(
      (e) => e.getBoundingClientRect().width > 0 && pattern.test(e.textContent));
  }, REST.source, { timeout: 10_000, polling: 50 }).then(() => true).catch(() => false);
  assert.ok(gone, `the rest strip still shows ${await restSeconds(page)}: ${what}`);
}

// Waits until the strip shows a time for which `accept(seconds)` holds; returns it.
async function waitForRest(page, accept, what) {
  const handle = await page.waitForFunction((source) => {
    const pattern = new RegExp(source);
    for (const e of document.querySelectorAll('#screen .label > .text')) {
      const match = e.getBoundingClientRect().width > 0 && pattern.exec(e.textContent);
      if (match) return Number(match[1]) * 60 + Number(match[2]);
    }
    return false;
  }, REST.source, { timeout: 10_000, polling: 50 }).catch(() => null);
  let seconds = handle ? await handle.jsonValue() : null;
  const deadline = Date.now() + 5000;
  while (!(seconds !== null && accept(seconds)) && Date.now() < deadline) {
    await page.waitForTimeout(50);
    seconds = await restSeconds(page);
  }
  assert.ok(seconds !== null && accept(seconds), `the rest strip shows ${seconds}: ${what}`);
  return seconds;
}

// The strip's box and the boxes of the pane's fields and Add Set button, as drawn.
async function stripClearOfFields(page) {
  return page.evaluate(() => {
    const strip = [...document.querySelectorAll('#screen .label > .text')]
      .find((e) => /^Rest /.test(e.textContent))?.closest('.v')?.parentElement?.getBoundingClientRect();
    const boxes = [...document.querySelectorAll('#screen input')].map((e) => e.getBoundingClientRect());
    const add = [...document.querySelectorAll('#screen .button > .title')]
      .find((e) => e.textContent === 'Add Set')?.parentElement.getBoundingClientRect();
    if (!strip || !add) return 'no strip or no Add Set button';
    for (const box of [...boxes, add]) {
      if (box.width > 0 && box.bottom > strip.top + 0.5) return `a field reaches ${box.bottom}, the strip starts at ${strip.top}`;
    }
    return strip.bottom <= window.innerHeight ? 'clear' : 'the strip runs off the page';
  });
}

async function openPane(page, screen) {
  await openLogPane(page, screen, REGION, EXERCISE);
  await screen.waitForText('Add Set');
}

export const tests = [
  {
    name: 'rest timer after a set lengthen reload leave shorten cancel',
    async run({ page, screen, server, scratch }) {
      await page.setViewportSize({ width: 390, height: 844 });
      // Every vibration the page asks of the browser, recorded (Chromium has the API).
      await page.addInitScript(() => {
        window.vibrations = [];
        const real = typeof navigator.vibrate === 'function' ? navigator.vibrate.bind(navigator) : null;
        navigator.vibrate = (pattern) => {
          window.vibrations.push(pattern);
          return real ? real(pattern) : true;
        };
      });
      await page.goto(server.url);
      await screen.waitForFrames(1);
      await screen.waitForText('Catalogue');
      await openPane(page, screen);
      assert.equal(await restSeconds(page), null, 'no rest before the first set');
      await screen.screenshot('pane');

      // A set starts the rest: 90 seconds for an exercise with no length of its own.
      await typeInto(page, screen, field(page, 'weight'), 'weight', '60');
      await typeInto(page, screen, field(page, 'reps'), 'reps', '8');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 1, 60 lbs for 8 reps');
      await waitForRest(page, (s) => s >= 87 && s <= 90, 'a fresh rest of 90 s');
      await screen.waitForText('Cancel');
      assert.equal(await stripClearOfFields(page), 'clear');
      await assertTextFits(page, 'on the rest strip');
      await screen.screenshot('resting');

      // +15 s: the rest is longer now, and the length is remembered for the exercise.
      await screen.tapText('+15 s');
      const longer = await waitForRest(page, (s) => s > 90 && s <= 105, 'lengthened by 15 s');
      assert.deepEqual(readDocument(scratch, 'settings.plist'), { restSeconds: { [EXERCISE]: '105' } });
      // It counts down on the process's clock: lower within a couple of seconds.
      const lower = await waitForRest(page, (s) => s < longer, 'counting down');
      await screen.screenshot('lengthened');

      // A reloaded page shows the same rest, still running.
      await page.reload();
      await screen.waitForFrames(1);
      const reloaded = await waitForRest(page, (s) => s <= lower && s > lower - 10, 'after the reload');
      await screen.screenshot('reloaded');

      // Leaving the pane keeps the rest; coming back shows it.
      await screen.tapText('Done');
      // (The pane's own field shows the exercise's name too: wait for the pane to go.)
      await screen.waitForNoText('Add Set');
      await screen.waitForText(EXERCISE);
      await waitForNoRest(page, 'the catalogue shows no rest');
      await screen.tap(cell(page, EXERCISE));
      await screen.waitForText('Back');
      await screen.tap(barSegment(page, 1));
      await screen.waitForText('Log Entry');
      const back = await waitForRest(page, (s) => s <= reloaded && s > reloaded - 15, 'back on the pane');
      await screen.screenshot('back-on-the-pane');

      // -15 s: shorter, and the exercise's length is back to 90.
      await screen.tapText('\u221215 s');
      await waitForRest(page, (s) => s <= back - 14 && s > back - 30, 'shortened by 15 s');
      assert.deepEqual(readDocument(scratch, 'settings.plist'), { restSeconds: { [EXERCISE]: '90' } });
      await screen.screenshot('shortened');

      // Down to the shortest rest, 15 s, which has (nearly) run out by now: the rest ends, the
      // phone is asked to vibrate, the strip says so until OK. On a slow machine the rest may
      // end before the last tap; the length is then the one reached.
      for (let i = 0; i < 6; i += 1) {
        const shorter = screen.viewWithText('\u221215 s');
        if (!(await shorter.isVisible())) break;
        await screen.tap(shorter).catch(() => {});
        await screen.settle();
      }
      await screen.waitForText('Rest over', { timeout: 20_000 });
      await screen.waitForText('OK');
      const remembered = Number(readDocument(scratch, 'settings.plist').restSeconds[EXERCISE]);
      assert.ok(remembered >= 15 && remembered <= 75 && remembered % 15 === 0, `remembered ${remembered}`);
      await page.waitForFunction(() => window.vibrations?.length === 1, null, { timeout: 5000 });
      assert.deepEqual(await page.evaluate(() => window.vibrations), [[400, 150, 400]]);
      await screen.screenshot('rest-over');
      await screen.tapText('OK');
      await screen.waitForNoText('Rest over');

      // The next set rests the remembered length; Cancel stops it: the strip goes, and today's
      // table reaches down to the tab bar again.
      await typeInto(page, screen, field(page, 'reps'), 'reps', '6');
      await screen.tapText('Add Set');
      await screen.waitForText('Set 2, 60 lbs for 6 reps');
      await waitForRest(page, (s) => s > remembered - 5 && s <= remembered, `the remembered ${remembered} s`);
      await screen.tapText('Cancel');
      await page.waitForFunction(() => ![...document.querySelectorAll('#screen .label > .text')]
        .some((e) => /^Rest /.test(e.textContent) && e.getBoundingClientRect().width > 0), null, { timeout: 10_000 });
      // A round trip through the server (the rest itself is timed by the unit tests' clock).
      await screen.tap(field(page, 'reps'));
      await screen.settle();
      assert.equal(await restSeconds(page), null, 'a cancelled rest does not come back');
      assert.equal(await page.evaluate(() => window.vibrations.length), 1, 'a cancelled rest does not vibrate');
      await screen.screenshot('cancelled');

      // The log holds the one set; the rest wrote nothing to the logs.
      const log = readDocument(scratch, 'Kinetra_Log.plist');
      const days = Object.keys(log);
      assert.equal(days.length, 1);
      assert.ok([dayKey(new Date()), dayKey(new Date(Date.now() - 60_000))].includes(days[0]), days[0]);
      assert.deepEqual(log[days[0]], { [EXERCISE]: ['60 lbs', '8', '', '60 lbs', '6', ''] });
      assert.equal(existsSync(path.join(scratch, 'documents', 'Kinetra_Aerobics_Log.plist')), false);
    },
  },
];
