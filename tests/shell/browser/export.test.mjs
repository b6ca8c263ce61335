// A new user mails their log in a real Chromium against the real `kinetra`, on a phone-sized
// page, through a real SMTP relay: Debian's aiosmtpd (tests/mail/smtp_relay.py) on a free
// loopback port with STARTTLS (a certificate made for the test, which kinetra is told to trust)
// and AUTH, configured through kinetra's mail options. Log → Export logs to Email → address →
// 7 days → Send, and the relay's Python `email` package reads what arrived; then an address the
// relay refuses; then Download CSV. The log is seeded with today, an aerobic day and a day ten
// days back that seven days leave out.

import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { DAY_MS, dayKey, field, logPlist, readDocument, tab, typeInto, waitFor } from './kinetra.mjs';

// Debian's python3, which has aiosmtpd (the build tells the journeys where it is).
const PYTHON = process.env.KINETRA_TEST_PYTHON || '/usr/bin/python3';
const RELAY_SCRIPT = fileURLToPath(new URL('../../mail/smtp_relay.py', import.meta.url));
const LOGIN = 'kinetra.sender';
const PASSWORD = 'pa55word-for-the-test';
const FROM = 'log@kinetra.example';
const SUPPORT = 'help@kinetra.example';
const ADDRESS = 'athlete@example.org';
const REFUSED = 'refused@example.org';
const PLACEHOLDER = 'e-mail address';
const NOTE = 'deep, "slow" reps';
const started = new Date();
const today = dayKey(started);
const yesterday = dayKey(new Date(started.getTime() - DAY_MS));
const tenDaysAgo = dayKey(new Date(started.getTime() - 10 * DAY_MS));

let relay = null;

// The relay in a child process; resolves with its port once it listens. Closing its standard
// input makes it write what it received into `out` and end.
function startRelay(folder) {
  const out = path.join(folder, 'relay');
  mkdirSync(out, { recursive: true });
  const cert = path.join(folder, 'relay.crt');
  const key = path.join(folder, 'relay.key');
  execFileSync('openssl', ['req', '-x509', '-newkey', 'ec', '-pkeyopt', 'ec_paramgen_curve:prime256v1',
    '-nodes', '-keyout', key, '-out', cert, '-days', '2', '-subj', '/CN=127.0.0.1',
    '-addext', 'subjectAltName=IP:127.0.0.1,DNS:localhost'], { stdio: 'ignore' });
  const child = spawn(PYTHON, [RELAY_SCRIPT, '--cert', cert, '--key', key, '--login', LOGIN,
    '--password', PASSWORD, '--out', out, '--refuse-recipient', REFUSED], { stdio: ['pipe', 'pipe', 'inherit'] });
  let output = '';
  const listening = new Promise((resolve, reject) => {
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const match = output.match(/PORT (\d+)/);
      if (match) resolve(Number(match[1]));
    });
    child.on('exit', (code) => reject(new Error(`the relay ended (${code}) before it listened`)));
  });
  const done = new Promise((resolve) => child.on('exit', resolve));
  return {
    cert,
    out,
    listening,
    // Ends the relay; resolves with what its email package made of the message it received.
    async finish() {
      child.stdin.end();
      const code = await done;
      assert.equal(code, 0, 'the relay ended badly');
      return {
        summary: JSON.parse(readFileSync(path.join(out, 'summary.json'), 'utf8')),
        text: readFileSync(path.join(out, 'text.txt'), 'utf8'),
        attachment: readFileSync(path.join(out, 'attachment.bin')),
      };
    },
    kill: () => child.kill('SIGKILL'),
  };
}

export async function serverArguments({ scratch }) {
  const documents = path.join(scratch, 'documents');
  mkdirSync(documents, { recursive: true });
  writeFileSync(path.join(documents, 'Kinetra_Log.plist'), logPlist({
    [tenDaysAgo]: { 'Barbell Squat': ['90 kg', '5', ''] },
    [today]: { 'Barbell Bench Press': ['60 kg', '8', NOTE, '62.5 kg', '6', ''] },
  }));
  writeFileSync(path.join(documents, 'Kinetra_Aerobics_Log.plist'), logPlist({
    [yesterday]: { ' rowing': ['20', '5', '140', '', 'steady'] },
  }));
  const passwordFile = path.join(scratch, 'smtp-password');
  writeFileSync(passwordFile, `${PASSWORD}\n`, { mode: 0o600 });
  relay = startRelay(scratch);
  const port = await relay.listening;
  return ['--documents', documents, '--port', '0',
    '--smtp-relay', `127.0.0.1:${port}`, '--smtp-from', FROM, '--smtp-login', LOGIN,
    '--smtp-password-file', passwordFile, '--smtp-ca-file', relay.cert, '--support-address', SUPPORT];
}

// The rows Python's csv module reads from `bytes`.
function csvRows(bytes) {
  const json = execFileSync(PYTHON, ['-c',
    'import csv, io, json, sys\n'
    + 'print(json.dumps(list(csv.reader(io.StringIO(sys.stdin.buffer.read().decode("utf-8"), newline="")))))'],
  { input: bytes });
  return JSON.parse(json);
}

function segment(page, title) {
  return page.locator('#screen .segmentedControl .segment', { hasText: new RegExp(`^${title}$`) });
}

async function send(page, screen, address) {
  await typeInto(page, screen, field(page, PLACEHOLDER), PLACEHOLDER, address);
  await screen.tapText('Send');
}

export const tests = [
  {
    name: 'export mail to a real relay refused recipient download csv',
    async run({ page, screen, server, scratch }) {
      try {
        await page.setViewportSize({ width: 390, height: 844 });
        await page.goto(server.url);
        await screen.waitForFrames(1);
        await screen.waitForText('Catalogue');

        // Log → Export logs to Email: an empty address (a new user), the connection notice.
        await screen.tap(tab(page, 'Log'));
        await screen.tapText('Export logs to Email');
        await screen.waitForText('Requires WIFI or cellular data connection.');
        await screen.waitForText('Download CSV');
        assert.equal(await field(page, PLACEHOLDER).inputValue(), '');
        await screen.screenshot('export-page');

        // The address, 7 days, Send: the relay takes it.
        await typeInto(page, screen, field(page, PLACEHOLDER), PLACEHOLDER, ADDRESS);
        await screen.tap(segment(page, '7 days'));
        await screen.screenshot('address-and-period');
        await screen.tapText('Send');
        await screen.waitForText('Log successfully sent to E-Mail account.', { timeout: 30_000 });
        await screen.screenshot('sent');
        assert.equal(readDocument(scratch, 'settings.plist').email, ADDRESS);
        const logCsv = readFileSync(path.join(scratch, 'documents', 'Log.csv'));
        const rows = csvRows(logCsv);
        assert.deepEqual(rows.filter((r) => r.length > 1 && r[0] !== 'Date'), [
          [yesterday, ' rowing', '1', '20', '5', '140', '', 'steady'],
          [today, 'Barbell Bench Press', '1', '60 kg', '8', NOTE],
          [today, 'Barbell Bench Press', '2', '62.5 kg', '6', ''],
        ], 'seven days leave the tenth day out; the note reads back whole');

        // An address the relay refuses: the failure text, the address kept.
        await send(page, screen, REFUSED);
        await screen.waitForText('Failed. Make sure you have WIFI or 3G connectivity.', { timeout: 30_000 });
        await screen.screenshot('refused');
        assert.equal(readDocument(scratch, 'settings.plist').email, REFUSED);

        // Download CSV: the browser saves the very bytes of Log.csv, under the attachment's name.
        const [download] = await Promise.all([
          page.waitForEvent('download', { timeout: 15_000 }),
          screen.tapText('Download CSV'),
        ]);
        assert.equal(download.suggestedFilename(), `Kinetra_Log_${today}.csv`);
        const saved = readFileSync(await download.path());
        assert.ok(saved.equals(readFileSync(path.join(scratch, 'documents', 'Log.csv'))));
        assert.deepEqual(csvRows(saved), rows);
        await screen.screenshot('downloaded');

        // What arrived, as Python's email package reads it.
        const received = await relay.finish();
        const { summary } = received;
        assert.equal(summary.received, true);
        assert.equal(summary.tls, true);
        assert.equal(summary.from, FROM);
        assert.equal(summary.to, ADDRESS);
        assert.deepEqual(summary.rcpt_tos, [ADDRESS]);
        assert.equal(summary.subject, 'Kinetra Log');
        assert.equal(summary.parts.length, 2, JSON.stringify(summary));
        assert.equal(summary.parts[1].disposition, 'attachment');
        assert.equal(summary.parts[1].filename, `Kinetra_Log_${today}.csv`);
        assert.deepEqual(summary.defects, []);
        assert.ok(received.attachment.equals(logCsv), 'the attachment is Log.csv byte for byte');
        const letter = 'Hi,\n\nThank you for using Kinetra.\n\nAttached to this email is your requested workout log.\n\n'
          + 'Please note that this is an automated email. Your data has not been read by anyone and is not stored online.\n\n'
          + `Replies to this email will go unread. If you have any support questions, please feel free to contact us at ${SUPPORT} instead.\n\n`
          + 'Note: csv files are best viewed with Microsoft Excel or similar products.\n\nRegards,\nKinetra Team';
        assert.equal(received.text, letter.replace(/\n/g, '\r\n'));

        // The password is in no line kinetra wrote.
        await waitFor(() => server.log().includes('delegate - error('), 'the failure line');
        assert.ok(server.log().includes('delegate - message sent'));
        assert.ok(!server.log().includes(PASSWORD), 'the password was logged');
      } finally {
        relay?.kill();
      }
    },
  },
];
