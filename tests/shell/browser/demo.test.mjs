// The shell's own journeys on the demo screens (tests/shell/DemoScreens.h): what a user does
// with each kind of view, in a real Chromium, with a screenshot of each step.

import assert from 'node:assert/strict';
import http from 'node:http';
import path from 'node:path';

export function serverArguments({ scratch }) {
  return ['--documents', path.join(scratch, 'documents'), '--bundle', path.join(scratch, 'bundle'), '--rows', '600'];
}

async function open(page, screen, server) {
  await page.goto(server.url);
  await screen.waitForFrames(1);
  await screen.waitForText('Exercises');
}

function cell(page, text) {
  return page.locator('#screen .tableViewCell', { has: page.locator('.label > .text', { hasText: new RegExp(`^${text}$`) }) });
}

function rawRequest(url, headers, method = 'GET') {
  const target = new URL(url);
  return new Promise((resolve, reject) => {
    const request = http.request({ host: target.hostname, port: target.port, path: '/', method, headers }, (response) => {
      response.resume();
      resolve(response.statusCode);
    });
    request.on('error', reject);
    request.end();
  });
}

export const tests = [
  {
    name: 'list rows select swipe-delete and edit',
    async run({ page, screen, server }) {
      await open(page, screen, server);
      await screen.waitForText('A exercise 26');
      await screen.screenshot('list');

      // Select a row: the detail screen slides in with the graph drawn by the process.
      await screen.tap(cell(page, 'A exercise 26'));
      await screen.waitForText('Detail of A exercise 26');
      const graph = page.locator('#screen .v[data-kind="view"] > img.picture').first();
      await graph.waitFor();
      await page.waitForFunction((img) => img.complete && img.naturalWidth > 0, await graph.elementHandle());
      const before = await graph.getAttribute('src');
      await screen.screenshot('detail');

      // A segment redraws the graph on the server.
      await screen.tap(page.locator('#screen .segment', { hasText: 'Month' }));
      await screen.waitForText('Range 1');
      await page.waitForFunction((src) => {
        const img = document.querySelector('#screen .v[data-kind="view"] > img.picture');
        return img && img.getAttribute('src') !== src;
      }, before);
      assert.ok(await page.locator('#screen .segment.selected', { hasText: 'Month' }).count());
      await screen.screenshot('segment');

      // Back to the list.
      await screen.tap(page.locator('#screen .navigationBar .button').first());
      await screen.waitForText('A exercise 52');
      await screen.animationsDone();

      // Swipe to delete.
      await screen.swipe(cell(page, 'A exercise 52'), -120);
      const deleteButton = page.locator('#screen .deleteButton');
      await deleteButton.waitFor();
      await screen.screenshot('swipe-to-delete');
      await screen.tap(deleteButton);
      await screen.waitForNoText('A exercise 52');
      await screen.waitForText('A exercise 78');
      await screen.screenshot('deleted');

      // Editing mode: the delete control, then Delete.
      await screen.tapText('Edit');
      await page.locator('#screen .tableViewCell .minus').first().waitFor();
      assert.ok(await page.locator('#screen .tableViewCell .reorder').count() > 0);
      await screen.screenshot('editing');
      await screen.tap(cell(page, 'A exercise 0').locator('.minus'));
      await screen.tap(page.locator('#screen .deleteButton'));
      await screen.waitForNoText('A exercise 0');
      await screen.tapText('Done');
      await page.waitForFunction(() => !document.querySelector('#screen .tableViewCell .minus'));

      // The section index jumps; the wheel scrolls and new rows come from the server.
      await screen.tap(page.locator('#screen .index span', { hasText: 'M' }));
      await screen.waitForText('M exercise 12');
      await screen.screenshot('section-index');
      const table = page.locator('#screen .tableView > .scroller').first();
      const box = await table.boundingBox();
      await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
      await page.mouse.wheel(0, 1200);
      // Rows of the next section, laid out by the process for the new offset.
      await screen.waitForTextMatching(/^N exercise \d+$/);
      await screen.screenshot('scrolled');
    },
  },
  {
    name: 'form keyboards typing dates and photos',
    async run({ page, screen, server, scratch }) {
      await open(page, screen, server);
      await screen.tap(page.locator('#screen .tab', { hasText: 'Form' }));
      await screen.waitForText('Ready');
      const weight = page.locator('#screen input[placeholder="Weight"]');
      const reps = page.locator('#screen input[placeholder="Reps"]');
      const email = page.locator('#screen input[placeholder="E-mail"]');
      // The right on-screen keyboard for each keyboard type.
      assert.equal(await weight.getAttribute('inputmode'), 'numeric');
      assert.equal(await reps.getAttribute('inputmode'), 'decimal');
      assert.equal(await email.getAttribute('inputmode'), 'email');
      assert.equal(await email.getAttribute('enterkeyhint'), 'done');

      await screen.tap(weight);
      await page.keyboard.type('20.5');
      // The number pad has no decimal point: the process keeps the digits.
      await screen.waitForText('Typed 205');
      await page.waitForFunction(() => document.querySelector('#screen input[placeholder="Weight"]').value === '205');
      await screen.tap(reps);
      await page.keyboard.type('8');
      await screen.waitForText('Typed 8');
      await screen.tap(email);
      await page.keyboard.type('me@example.org');
      await page.keyboard.press('Enter');
      await screen.waitForText('Returned me@example.org');
      await screen.screenshot('typed');

      await screen.tap(page.locator('#screen .segment', { hasText: 'lb' }));
      await screen.waitForText('Units lb');

      await page.locator('#screen .datePicker input').fill('2024-02-29');
      await page.locator('#screen .datePicker input').dispatchEvent('change');
      await page.waitForFunction(() => [...document.querySelectorAll('#screen .label > .text')].some((e) => e.textContent.startsWith('Picked ')));
      await screen.screenshot('date');

      // The photo picker: a file input; the upload reaches the picker's delegate.
      await screen.tapText('Choose Photo');
      await page.locator('#screen .imagePicker .chooser').waitFor();
      await screen.screenshot('picker');
      // A file that is no picture: the picker stays, with the shell's reason under its buttons.
      const fileInput = page.locator('#screen .imagePicker input[type=file]');
      const message = page.locator('#screen .imagePicker .message');
      await fileInput.setInputFiles({ name: 'notes.jpg', mimeType: 'image/jpeg', buffer: Buffer.from('these are notes, not a photo') });
      await page.waitForFunction(() => document.querySelector('#screen .imagePicker .message')?.textContent.length > 0);
      assert.equal(await message.textContent(), 'That file is not a photo: only whole JPEG and PNG pictures can be used.');
      assert.ok(await message.isVisible());
      await screen.screenshot('not-a-picture');
      await fileInput.setInputFiles(path.join(scratch, 'documents', 'photo.jpg'));
      await screen.waitForText('Photo 32x24');
      await page.waitForFunction(() => [...document.querySelectorAll('#screen .imageView > img')].some((i) => i.naturalWidth === 32));
      await screen.screenshot('photo');

      // An oversized upload is refused (413) before it is taken in.
      const status = await page.evaluate(async () => {
        const response = await fetch('/photo/1', { method: 'POST', body: new Blob([new Uint8Array(21 * 1024 * 1024)]) });
        return response.status;
      });
      assert.equal(status, 413);
    },
  },
  {
    name: 'pictures paging flip and refusals',
    async run({ page, screen, server }) {
      await open(page, screen, server);
      await screen.tap(page.locator('#screen .tab', { hasText: 'Pictures' }));
      await screen.waitForText('Page 0');
      await page.waitForFunction(() => {
        const images = [...document.querySelectorAll('#screen .imageView > img')];
        return images.length >= 2 && images.every((i) => i.complete && i.naturalWidth > 0);
      });
      const pager = page.locator('#screen .scrollView').first();
      await screen.swipe(pager, -120);
      await screen.waitForText('Page 1');
      await screen.screenshot('paged');

      await screen.tap(page.locator('#screen .tab', { hasText: 'Flip' }));
      await screen.waitForText('Front');
      await screen.tapText('Turn');
      await screen.waitForText('Back');
      await screen.screenshot('flipping', { midAnimation: true });
      await screen.screenshot('flipped');

      // What a foreign page or name gets.
      assert.equal(await rawRequest(server.url, { Host: 'rebound.example' }), 403);
      const refused = await page.evaluate(async () => {
        const response = await fetch('/documents/Kinetra_Log.plist');
        return response.status;
      });
      assert.equal(refused, 404);
      const sniffed = await page.evaluate(async () => (await fetch('/documents/photo.jpg')).headers.get('content-type'));
      assert.equal(sniffed, 'image/png');
    },
  },
];
