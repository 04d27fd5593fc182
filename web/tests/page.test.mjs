// The page in Debian's chromium, headless, phone-sized: what a user does
// (pick, type, tap a line, open and share links, switch to French, print,
// reload offline), every amount compared with payslip-cli --json on the same
// situation, and the accessibility check.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { cli, loadEngine, npm, serve } from './common.mjs';

const puppeteer = npm('puppeteer-core');
const engine = await loadEngine();
const { inputs, lines } = engine.inputs();
let site, browser, page;
const requests = [];
const errors = [];

before(async () => {
  site = await serve();
  browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox'] });
  page = await browser.newPage();
  await page.setViewport({ width: 360, height: 780, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  page.on('request', (request) => requests.push(request.url()));
  page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  page.on('pageerror', (error) => errors.push(error.message));
});
after(async () => {
  await browser?.close();
  site?.close();
});

const open = async (fragment = '') => {
  await page.goto(`${site.url}#${fragment}`);
  await page.waitForSelector('body.ready');
};
// The situation the address's fragment carries.
const situation = (on = page) => on.evaluate(() => Object.fromEntries(new URLSearchParams(location.hash.slice(1))));
const shown = () =>
  page.$$eval('[data-field]', (elements) => Object.fromEntries(elements.map((e) => [e.dataset.field, e.textContent])));

// Every line on the page is payslip-cli's text for the situation in the address.
async function assertSlipOfTheLink() {
  const expected = await cli(await situation(), inputs);
  assert.ok(expected.explanations, JSON.stringify(expected));
  const got = await shown();
  for (const { field } of lines) if (field in expected) assert.equal(got[field], expected[field], field);
  return got;
}

test('the start-up page: Arabic, right to left, the inputs named as on the command line, the start-up slip; installable', async () => {
  await open();
  const cdp = await page.createCDPSession();
  assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
  assert.deepEqual(await page.evaluate(() => [document.documentElement.lang, document.documentElement.dir]), ['ar', 'rtl']);
  const names = await page.$$eval('#situation [name]', (elements) => elements.map((e) => e.name));
  assert.deepEqual(names, inputs.map((input) => input.name));
  for (const input of inputs.filter((i) => i.kind === 'list'))
    assert.deepEqual(await page.$$eval(`select[name="${input.name}"] option`, (o) => o.map((e) => e.value)), input.values);
  const got = await assertSlipOfTheLink();
  assert.deepEqual(Object.keys(got), lines.map((line) => line.field));
});

test('picking and typing recompute at once; the keystroke rules hold', async () => {
  await open();
  await page.select('select[name="category"]', '12');
  await page.select('select[name="echelon"]', '3');
  await page.click('input[name="mutual"]');
  await page.click('input[name="zone"]', { count: 3 });
  await page.keyboard.type('25a00.5');
  await page.click('input[name="mark"]', { count: 3 });
  await page.keyboard.type('3.5');
  await page.keyboard.press('Tab'); // the address follows at once when a field is left
  const now = await situation();
  assert.deepEqual([now.category, now.echelon, now.zone, now.mark], ['12', '3', '2500.5', '35']);
  await assertSlipOfTheLink();
});

test('tapping a line shows its explanation', async () => {
  await open('category=12&echelon=3');
  await page.tap('[data-field="Text15"]');
  const why = await (await page.waitForFunction(() => document.querySelector('details[open] .why')?.textContent)).jsonValue();
  const expected = (await cli(await situation(), inputs)).explanations.Text15;
  assert.ok(why.includes(expected.rule) && why.includes(expected.formula), why);
});

test('a link opens its slip; a bad one names what it could not take and computes the rest', async () => {
  await open('category=12&echelon=3&zone=2500&mutual=no');
  assert.equal((await situation()).mutual, 'no');
  await assertSlipOfTheLink();
  await open('category=99&bonus=1&zone=1000');
  const problems = await page.$eval('#problems', (e) => (e.hidden ? '' : e.textContent));
  assert.match(problems, /category=99/);
  assert.match(problems, /bonus=1/);
  assert.equal((await situation()).zone, '1000');
  await assertSlipOfTheLink();
});

test('an overflowing amount: a clear message, and no amount of the slip before', async () => {
  await open('zone=1e999');
  const message = await page.$eval('#failure', (e) => (e.hidden ? '' : e.textContent));
  const expected = engine.slip('zone=1e999');
  assert.equal(message, expected.error.arabic); // the engine's words, naming the zone allowance
  const got = await shown();
  for (const line of expected.lines) if (line.field in got) assert.equal(got[line.field], line.amount, line.field);
  assert.equal(got.Text21, '');
  await page.click('input[name="zone"]', { count: 3 });
  await page.keyboard.type('2500');
  await page.keyboard.press('Tab');
  assert.equal(await page.$eval('#failure', (e) => e.hidden), true);
  await assertSlipOfTheLink();
});

test('share copies the link', async () => {
  await browser.defaultBrowserContext().overridePermissions(site.url, ['clipboard-read', 'clipboard-sanitized-write']);
  await open('category=7&echelon=2');
  await page.click('#share');
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), await page.evaluate(() => location.href));
});

test('in French: the captions and labels change, the amounts do not; the choice is kept', async () => {
  await open('category=12');
  const before = await shown();
  await page.click('#language');
  assert.deepEqual(await page.evaluate(() => [document.documentElement.lang, document.documentElement.dir]), ['fr', 'ltr']);
  const label = await page.$eval('[data-field="Text1"]', (e) => e.previousElementSibling.textContent);
  assert.ok(label.length > 0);
  assert.equal(label, lines.find((line) => line.field === 'Text1').french);
  await page.reload();
  await page.waitForSelector('body.ready');
  assert.equal(await page.evaluate(() => document.documentElement.lang), 'fr');
  assert.deepEqual(await shown(), before);
  await page.click('#language');
});

test('the printed slip: its amounts, totals and net pay in words are the slip\'s', async () => {
  await open('category=12&echelon=3&zone=2500.5');
  await page.pdf({ format: 'A4' });
  const slip = engine.slip(new URLSearchParams(await situation()).toString());
  const printed = await page.$eval('#printed', (e) => e.textContent);
  assert.ok(slip.totals.earnings && slip.words);
  for (const text of [slip.totals.earnings, slip.totals.deductions, slip.totals.rounding, slip.words])
    assert.ok(printed.includes(text), text);
  for (const line of slip.lines.filter((l) => l.amount)) if (line.field !== 'Text2000' && line.field !== 'Text2001')
    assert.ok(printed.includes(line.amount), line.field);
});

test('after one visit the page opens and computes offline, from one version\'s cache', async () => {
  const context = await browser.createBrowserContext();
  const offline = await context.newPage();
  await offline.goto(`${site.url}#category=5`);
  await offline.evaluate(() => navigator.serviceWorker.ready);
  await offline.setOfflineMode(true);
  await offline.reload();
  await offline.waitForSelector('body.ready');
  const amount = await offline.$eval('[data-field="Text21"]', (e) => e.textContent);
  assert.equal(amount, (await cli(await situation(offline), inputs)).Text21);
  const caches = await offline.evaluate(async () => {
    const names = await caches.keys();
    return Promise.all(names.map(async (name) => [name, (await (await caches.open(name)).keys()).length]));
  });
  assert.equal(caches.length, 1);
  assert.match(caches[0][0], /^payslip-[0-9a-f]{16}$/);
  await context.close();
});

test('a browser that cannot run the engine says so', async () => {
  const context = await browser.createBrowserContext();
  const refused = await context.newPage();
  await refused.setRequestInterception(true);
  refused.on('request', (request) => (request.url().endsWith('.wasm') ? request.abort() : request.continue()));
  await refused.goto(site.url);
  await refused.waitForFunction(() => document.querySelector('#loading').textContent.includes('WebAssembly'));
  await context.close();
});

test('no request leaves the site, no error is logged, and axe finds no violation', async () => {
  await page.evaluate(readFileSync(npm.resolve('axe-core/axe.min.js'), 'utf8')); // past the page's CSP
  await page.tap('[data-field="Text12"]');
  for (const language of ['ar', 'fr']) {
    const { violations } = await page.evaluate(() => globalThis.axe.run());
    assert.deepEqual(violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`), [], language);
    await page.click('#language');
  }
  assert.deepEqual(requests.filter((url) => !url.startsWith(site.url)), []);
  assert.deepEqual(errors, []);
});
