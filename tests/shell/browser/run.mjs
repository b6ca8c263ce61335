// Runs browser journeys: node run.mjs --server EXECUTABLE [--server-arg ARG ...]
//                                      --artifacts DIR FILE.test.mjs...
// Each test of each file gets a fresh server (with a scratch documents folder) and a fresh
// Chromium. Exit 0 when all pass, 1 on a failure, 77 (skipped) only when chromium is absent.

import { pathToFileURL } from 'node:url';
import path from 'node:path';
import { chromiumPresent, CHROMIUM, launchChromium, scratchFolder, Screen, startServer } from './harness.mjs';

const TEST_TIMEOUT_MS = 90_000;
const RUN_TIMEOUT_MS = 220_000;

function parse(argv) {
  const options = { serverArgs: [], files: [] };
  for (let i = 0; i < argv.length; i++) {
    if (argv[i] === '--server') options.server = argv[++i];
    else if (argv[i] === '--server-arg') options.serverArgs.push(argv[++i]);
    else if (argv[i] === '--artifacts') options.artifacts = argv[++i];
    else options.files.push(argv[i]);
  }
  return options;
}

function withTimeout(promise, ms, what) {
  let timer;
  return Promise.race([
    promise,
    new Promise((_, reject) => { timer = setTimeout(() => reject(new Error(`${what} took over ${ms} ms`)), ms); }),
  ]).finally(() => clearTimeout(timer));
}

async function main() {
  const options = parse(process.argv.slice(2));
  if (!chromiumPresent()) {
    console.log(`SKIP: no chromium at ${CHROMIUM} (scripts/setup.sh installs it)`);
    return 77;
  }
  let chromium;
  try {
    ({ chromium } = await import('playwright-core'));
  } catch {
    console.error('playwright-core is missing: run scripts/setup.sh (npm ci)');
    return 1;
  }
  const artifacts = path.resolve(options.artifacts ?? 'browser-artifacts');
  let failures = 0;
  for (const file of options.files) {
    const module = await import(pathToFileURL(path.resolve(file)).href);
    for (const test of module.tests) {
      const scratch = scratchFolder();
      // A test file may need a moment to set its peers up (a mail relay): its arguments may be awaited.
      const extra = (await module.serverArguments?.({ scratch: scratch.path })) ?? [];
      let server;
      let chrome;
      let screen;
      const started = Date.now();
      try {
        server = await startServer(options.server, [...options.serverArgs, ...extra]);
        chrome = await launchChromium(chromium, module.browserOptions ?? {});
        const page = await chrome.newPage();
        page.on('pageerror', (error) => console.error(`  page error: ${error.message}`));
        screen = new Screen(page, artifacts, test.name);
        await withTimeout(test.run({ page, screen, server, scratch: scratch.path }), TEST_TIMEOUT_MS, test.name);
        console.log(`ok   ${test.name} (${Date.now() - started} ms)`);
      } catch (error) {
        failures += 1;
        console.log(`FAIL ${test.name}: ${error.stack ?? error}`);
        if (screen) await screen.screenshot('failure', { midAnimation: true }).catch(() => {});
        if (server) console.log(server.log());
      } finally {
        await chrome?.close();
        // A server that crashes, leaks (under the sanitizers) or will not stop fails its test.
        const code = await server?.stop();
        if (server && code !== 0) {
          failures += 1;
          console.log(`FAIL ${test.name}: the server exited with ${code}\n${server.log()}`);
        }
        scratch.remove();
      }
    }
  }
  console.log(failures ? `${failures} browser test(s) failed; screenshots in ${artifacts}` : `all browser tests passed; screenshots in ${artifacts}`);
  return failures ? 1 : 0;
}

const hardStop = setTimeout(() => {
  console.error(`browser tests took over ${RUN_TIMEOUT_MS} ms`);
  process.exit(1);
}, RUN_TIMEOUT_MS);
hardStop.unref();

main().then((code) => process.exit(code), (error) => {
  console.error(error);
  process.exit(1);
});
