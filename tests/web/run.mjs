// End-to-end tests of the web skin: the real program on a fresh demo machine, its pages
// in headless Chromium driven by Playwright.
//
//   node tests/web/run.mjs BUILD_DIR
//
// Exits 77 (skipped) when Debian's Chromium is not installed. Screenshots of every page
// are kept in BUILD_DIR/web-screenshots.

import { spawn, spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { request } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import assert from 'node:assert/strict';
import { test, after } from 'node:test';

const here = dirname(fileURLToPath(import.meta.url));
const build = process.argv[2] || join(here, '..', '..', 'build');
const program = join(build, 'purgavia');
const shots = join(build, 'web-screenshots');
const CHROMIUM = '/usr/bin/chromium';

if (!existsSync(CHROMIUM)) {
  console.log(`SKIP: ${CHROMIUM} is not installed`);
  process.exit(77);
}
if (!existsSync(join(here, 'node_modules', 'playwright-core'))) {
  const npm = spawnSync('npm', ['ci', '--no-audit', '--no-fund', '--loglevel=error'], { cwd: here, stdio: 'inherit' });
  if (npm.status !== 0) throw new Error('cannot install playwright-core (npm ci in tests/web)');
}
const { chromium } = await import('./node_modules/playwright-core/index.mjs');

mkdirSync(shots, { recursive: true });
const scratch = mkdtempSync(join(tmpdir(), 'purgavia-web-'));
after(() => rmSync(scratch, { recursive: true, force: true }));

// ---- the program ------------------------------------------------------------------

let machines = 0;

function newMachine() {
  machines += 1;
  const folder = join(scratch, `machine-${machines}`);
  const made = spawnSync(program, ['init-machine', folder, '--demo'], { encoding: 'utf8' });
  assert.equal(made.status, 0, made.stderr);
  return folder;
}

// Starts the program with the web skin; resolves once it has printed its address.
function startProgram(machine) {
  const child = spawn(program, ['--machine', machine, '--no-browser'], { stdio: ['ignore', 'pipe', 'pipe'] });
  let stdout = '';
  let stderr = '';
  const exited = new Promise((resolve) => child.on('exit', (code) => resolve(code)));
  child.stderr.on('data', (d) => { stderr += d; });
  const address = new Promise((resolve, reject) => {
    child.stdout.on('data', (d) => {
      stdout += d;
      const found = stdout.match(/http:\/\/127\.0\.0\.1:\d+\/[0-9a-f]{32}\//);
      if (found) resolve(found[0]);
    });
    exited.then((code) => reject(new Error(`the program ended (${code}) before printing its address: ${stderr}`)));
  });
  return { child, exited, address, errors: () => stderr };
}

async function ended(run, ms = 10000) {
  const timeout = new Promise((resolve) => setTimeout(() => resolve('still running'), ms));
  return Promise.race([run.exited, timeout]);
}

async function stop(run) {
  if (run.child.exitCode === null) {
    run.child.kill();
    await run.exited;
  }
}

// A file of the machine's C: drive.
const onDriveC = (machine, path) => join(machine, 'drive_c', ...path.split('\\'));

// ---- the browser ------------------------------------------------------------------

let browsers = 0;

async function openBrowser() {
  browsers += 1;
  const profile = join(scratch, `chromium-${browsers}`);
  return chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    viewport: { width: 1100, height: 760 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

async function openPage(context, address) {
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (e) => problems.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') problems.push(m.text()); });
  page.problems = problems;
  await page.goto(address);
  return page;
}

async function shot(page, name) {
  await page.waitForTimeout(120);  // the frame after the last change
  await page.screenshot({ path: join(shots, `${name}.png`) });
}

const mainWindow = (page) => page.locator('#main');
const messageBox = (page) => page.locator('dialog.msgbox[open]');
const checkbox = (page, label) => page.locator('#page').getByLabel(label, { exact: true });

async function goTo(page, area) {
  await page.locator('nav').getByRole('link', { name: area, exact: true }).click();
  await page.locator('#page h2', { hasText: area }).waitFor();
}

// Presses a button of the message box on top, once it shows this title.
async function answerBox(page, title, button) {
  const box = messageBox(page).last();
  await box.locator('h2', { hasText: title }).waitFor();
  await box.getByRole('button', { name: button, exact: true }).click();
}

async function usingProgram(machine, body) {
  const run = startProgram(machine);
  const context = await openBrowser();
  try {
    await body(run, context, await run.address);
  } finally {
    await context.close();
    await stop(run);
  }
}

// ---- tests ------------------------------------------------------------------------

test('the profile chooser comes first, and the options ticked before exiting with "yes" come back', async () => {
  const machine = newMachine();

  // First start: no profile yet, so the main window comes up at once. Exiting asks for
  // a profile name, under which the ticks are stored.
  await usingProgram(machine, async (run, context, address) => {
    const page = await openPage(context, address);
    await mainWindow(page).locator('h1').waitFor();
    await checkbox(page, 'Temporary files').check();
    await goTo(page, 'Internet Explorer');
    await checkbox(page, 'Cookies').check();
    await page.getByRole('button', { name: 'Close', exact: true }).click();
    await messageBox(page).waitFor();
    await shot(page, '20-message-box');
    await answerBox(page, 'Exit Purgavia', 'Yes');
    const ask = page.locator('dialog.ask[open]');
    await ask.getByText('Please enter a name for the profile:').waitFor();
    await shot(page, '21-input-box');
    await ask.getByRole('textbox').fill('Work');
    await page.keyboard.press('Enter');
    assert.equal(await ended(run), 0);
    await page.getByText('Purgavia has ended').waitFor();
    assert.deepEqual(page.problems, []);
  });

  // Second start: the chooser comes first; choosing the profile shows the main window
  // with its ticks. A change saved with "yes" goes into the same profile.
  await usingProgram(machine, async (run, context, address) => {
    const page = await openPage(context, address);
    const chooser = page.locator('#profiles');
    await chooser.getByRole('heading', { name: 'Choose a profile' }).waitFor();
    assert.equal(await mainWindow(page).isVisible(), false);
    await shot(page, '00-profile-chooser');
    await chooser.getByLabel('Work').check();
    await chooser.getByRole('button', { name: 'Open' }).click();
    await mainWindow(page).locator('h1').waitFor();
    assert.equal(await chooser.isVisible(), false);
    assert.equal(await checkbox(page, 'Temporary files').isChecked(), true);
    assert.equal(await checkbox(page, 'Recycle bin').isChecked(), false);
    await goTo(page, 'Internet Explorer');
    assert.equal(await checkbox(page, 'Cookies').isChecked(), true);
    assert.equal(await checkbox(page, 'History').isChecked(), false);
    await checkbox(page, 'Cookies').uncheck();
    await checkbox(page, 'History').check();
    await page.getByRole('button', { name: 'Close', exact: true }).click();
    await answerBox(page, 'Exit Purgavia', 'Yes');
    assert.equal(await ended(run), 0);
  });

  await usingProgram(machine, async (run, context, address) => {
    const page = await openPage(context, address);
    // Keyboard alone: the first profile is chosen already, Enter opens it.
    await page.locator('#profiles').getByLabel('Work').focus();
    await page.keyboard.press('Enter');
    await mainWindow(page).locator('h1').waitFor();
    await goTo(page, 'Internet Explorer');
    assert.equal(await checkbox(page, 'Cookies').isChecked(), false);
    assert.equal(await checkbox(page, 'History').isChecked(), true);
    assert.deepEqual(page.problems, []);
  });
});

test('every page renders; a screenshot of each is kept', async () => {
  const machine = newMachine();
  await usingProgram(machine, async (run, context, address) => {
    const page = await openPage(context, address);
    await page.setViewportSize({ width: 1100, height: 1500 });  // the longest page whole
    await mainWindow(page).locator('nav a').first().waitFor();
    const areas = await page.locator('nav a').allTextContents();
    assert.equal(areas.length, 17);
    let n = 1;
    for (const area of areas) {
      await goTo(page, area);
      await shot(page, `${String(n).padStart(2, '0')}-${area.toLowerCase().replace(/[^a-z]+/g, '-')}`);
      n += 1;
    }
    assert.deepEqual(page.problems, []);
  });
});

test('shredding asks first: "no" keeps the file, "yes" shreds it; the log view then offers the day\'s log', async () => {
  const machine = newMachine();
  const secret = onDriveC(machine, 'private.txt');
  writeFileSync(secret, 'account numbers\r\n');
  await usingProgram(machine, async (run, context, address) => {
    const page = await openPage(context, address);
    await goTo(page, 'Shredder');
    await page.getByRole('button', { name: 'Add file…' }).click();
    const ask = page.locator('dialog.ask[open]');
    await ask.getByRole('textbox').fill('C:\\private.txt');
    await ask.getByRole('button', { name: 'OK' }).click();
    const pending = page.locator('#page').getByText('C:\\private.txt', { exact: true });
    await pending.waitFor();

    await page.getByRole('button', { name: 'Shred files' }).click();
    await answerBox(page, 'Shred files', 'No');
    await messageBox(page).waitFor({ state: 'detached' });
    assert.equal(readFileSync(secret, 'utf8'), 'account numbers\r\n');
    await pending.waitFor();  // still pending

    await page.getByRole('button', { name: 'Shred files' }).click();
    await answerBox(page, 'Shred files', 'Yes');
    const log = page.locator('#log');
    await log.getByRole('button', { name: 'View log' }).and(page.locator(':enabled')).waitFor();
    assert.equal(existsSync(secret), false);
    await pending.waitFor({ state: 'detached' });
    await shot(page, '22-log-view');

    const [tab] = await Promise.all([context.waitForEvent('page'), log.getByRole('button', { name: 'View log' }).click()]);
    await tab.waitForLoadState();
    const day = new Date();
    assert.match(tab.url(), new RegExp(`/doc/[0-9a-f]{32}/${day.getDate()}-${day.getMonth() + 1}-${day.getFullYear()}_Log\\.txt$`));
    assert.match(await tab.locator('body').innerText(), /private\.txt/i);
    await log.waitFor({ state: 'hidden' });  // viewing the log hides the view
    assert.deepEqual(page.problems, []);
  });
});

test('the language switch changes the page texts', async () => {
  const machine = newMachine();
  await usingProgram(machine, async (run, context, address) => {
    const page = await openPage(context, address);
    await goTo(page, 'Options');
    await page.getByLabel('Language', { exact: true }).selectOption('Deutsch');
    await page.locator('nav').getByRole('link', { name: 'Optionen' }).waitFor();
    assert.equal(await page.locator('html').getAttribute('lang'), 'de');
    assert.equal(await page.locator('#page h2').innerText(), 'Optionen');
    await page.getByRole('button', { name: 'Schließen', exact: true }).waitFor();
    await shot(page, '23-german');
    await page.getByLabel('Sprache', { exact: true }).selectOption('English');
    await page.locator('nav').getByRole('link', { name: 'Options' }).waitFor();
    assert.equal(await page.locator('html').getAttribute('lang'), 'en');
    assert.deepEqual(page.problems, []);
  });
});

test('the tray keeps the program running without a page; closing the last page otherwise ends it', async () => {
  const machine = newMachine();
  await usingProgram(machine, async (run, context, address) => {
    let page = await openPage(context, address);
    await page.getByRole('button', { name: 'Minimize to tray' }).click();
    await page.locator('#tray').getByRole('heading', { name: 'Purgavia is in the notification area' }).waitFor();
    await page.locator('#tray').getByRole('button', { name: 'Tray menu' }).click();
    await page.getByRole('menuitem', { name: 'Restore Purgavia' }).waitFor();
    await shot(page, '24-tray');
    await page.close();

    // Well past the grace period for reloads: still running, and a new page restores.
    assert.equal(await ended(run, 6000), 'still running');
    page = await openPage(context, address);
    await mainWindow(page).locator('h1').waitFor();
    assert.equal(await page.locator('#tray').isVisible(), false);

    // A reload is not a close.
    await page.reload();
    await mainWindow(page).locator('h1').waitFor();
    await page.close();
    assert.equal(await ended(run, 15000), 0);
  });
});

// ---- security: nothing but the program's own pages may talk to it ----------------

function httpStatus(address, path, headers = {}) {
  const url = new URL(address);
  return new Promise((resolve, reject) => {
    const req = request({ host: url.hostname, port: url.port, path, headers });
    req.on('response', (res) => { res.resume(); resolve(res.statusCode); });
    req.on('upgrade', (res, socket) => { socket.destroy(); resolve(res.statusCode); });
    req.on('error', reject);
    req.end();
  });
}

const upgrade = (origin) => ({
  Connection: 'Upgrade', Upgrade: 'websocket', 'Sec-WebSocket-Version': '13',
  'Sec-WebSocket-Key': 'dGhlIHNhbXBsZSBub25jZQ==', ...(origin ? { Origin: origin } : {}),
});

test('requests without the secret, with a wrong one, or from a foreign page are refused', async () => {
  const machine = newMachine();
  await usingProgram(machine, async (run, context, address) => {
    const url = new URL(address);
    const secret = url.pathname.split('/')[1];
    const own = `http://${url.host}`;
    const wrong = secret.replace(/./g, (c) => (c === '0' ? '1' : '0'));
    const cases = [
      ['/', {}, 403],
      ['/index.html', {}, 403],
      [`/${wrong}/`, {}, 403],
      [`/${wrong}/app.js`, {}, 403],
      [`/${secret}/`, {}, 200],
      [`/${secret}/ws`, upgrade(null), 403],
      [`/${secret}/ws`, upgrade('http://attacker.example'), 403],
      [`/${secret}/ws`, upgrade('null'), 403],
      [`/${wrong}/ws`, upgrade(own), 403],
      [`/${secret}/ws`, upgrade(own), 101],
    ];
    for (const [path, headers, status] of cases) {
      assert.equal(await httpStatus(address, path, headers), status, `${path} ${JSON.stringify(headers)}`);
    }

    // A page of another origin in the same browser cannot open the program's socket.
    const foreign = await context.newPage();
    await foreign.goto('about:blank');
    const outcome = await foreign.evaluate((target) => new Promise((resolve) => {
      const ws = new WebSocket(target);
      ws.onopen = () => resolve('open');
      ws.onerror = () => resolve('refused');
    }), `ws://${url.host}/${secret}/ws`);
    assert.equal(outcome, 'refused');
  });
});
