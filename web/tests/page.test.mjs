// The page in Debian's chromium, headless, phone-sized: what a user does
// (pick, type, tap a line, open and share links, switch to French, print,
// reload offline), every amount compared with payslip-cli --json on the same
// situation, and the accessibility check.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { cli, cliCommand, loadEngine, npm, serve } from './common.mjs';

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
// The situation the address's fragment carries (its inputs' keys only).
const situation = async (on = page) => {
  const keys = await on.evaluate(() => [...new URLSearchParams(location.hash.slice(1))]);
  return Object.fromEntries(keys.filter(([key]) => inputs.some((input) => input.name === key)));
};
// The address's view keys as payslip-cli's words: to.echelon=8 is --to echelon=8,
// months=12 --months 12, official.net_pay=1 --official net_pay=1.
const viewWords = async () => {
  const keys = await page.evaluate(() => [...new URLSearchParams(location.hash.slice(1))]);
  return keys.flatMap(([key, value]) => {
    if (key.startsWith('to.')) return ['--to', `${key.slice(3)}=${value}`];
    if (key.startsWith('official.')) return ['--official', `${key.slice(9)}=${value}`];
    return key === 'months' ? ['--months', value] : [];
  });
};
// The texts of the data-field elements inside a selector.
const fieldsIn = (selector) =>
  page.$$eval(`${selector} [data-field]`, (elements) => Object.fromEntries(elements.map((e) => [e.dataset.field, e.textContent])));
const shown = () => fieldsIn('#slip');

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

// What if, against payslip-cli compare --json on the situation and the changes in the address.
async function assertComparisonOfTheLink() {
  const expected = await cliCommand('compare', await situation(), inputs, await viewWords());
  assert.ok(expected.before, JSON.stringify(expected));
  for (const side of ['before', 'after', 'difference']) {
    const got = await fieldsIn(`#comparison [data-side="${side}"]`);
    assert.deepEqual(Object.keys(got), lines.map((line) => line.field), side);
    for (const field of Object.keys(got)) if (field in expected[side]) assert.equal(got[field], expected[side][field], `${side} ${field}`);
  }
  const backPay = await page.$$eval('[data-back-pay]', (elements) => Object.fromEntries(elements.map((e) => [e.dataset.backPay, e.textContent])));
  for (const part of ['monthly', 'bonus', 'total']) assert.equal(backPay[part], expected.back_pay[part], part);
  return expected;
}

test('what if: a second situation from the first, every line before, after and the difference, and the back pay', async () => {
  await open('category=12&echelon=3&view=compare&to.echelon=8&months=12');
  assert.equal(await page.$eval('#compare', (e) => e.hidden), false);
  assert.equal(await page.$eval('#slip', (e) => e.hidden), true);
  assert.equal(await page.$eval('select[name="to.echelon"]', (e) => e.value), '8');
  const expected = await assertComparisonOfTheLink();
  // To a screen reader, a table read line by line: the label, before, after, the difference.
  const tree = await page.accessibility.snapshot({ interestingOnly: false });
  const find = (node) => (node.role === 'table' ? node : (node.children ?? []).map(find).find(Boolean));
  const rows = find(tree).children.filter((child) => child.role === 'row');
  assert.equal(rows.length, lines.length + 1);
  const net = rows[lines.findIndex((line) => line.field === 'Text21') + 1].children.map((cell) => [cell.role, cell.name]);
  assert.deepEqual(net, [['rowheader', lines.find((line) => line.field === 'Text21').arabic],
    ['cell', expected.before.Text21], ['cell', expected.after.Text21], ['cell', expected.difference.Text21]]);
  // Any input of the situation after, and the months.
  await page.select('select[name="to.category"]', '7');
  await page.click('input[name="to.mutual"]');
  await page.click('#months', { count: 3 });
  await page.keyboard.type('7');
  await page.keyboard.press('Tab');
  const words = await viewWords();
  assert.deepEqual(words, ['--to', 'category=7', '--to', 'echelon=8', '--to', 'mutual=no', '--months', '7']);
  await assertComparisonOfTheLink();
  // The situation before changes; the changes stay.
  await page.select('select[name="echelon"]', '1');
  assert.equal((await situation()).echelon, '1');
  assert.equal(await page.$eval('select[name="to.echelon"]', (e) => e.value), '8');
  await assertComparisonOfTheLink();
});

test('the ladder: thirteen echelons and the category above; a row opens its slip', async () => {
  await open('category=12&echelon=3&view=ladder');
  const expected = await cliCommand('ladder', await situation(), inputs);
  for (const rung of expected) {
    const got = await fieldsIn(`#ladder tr[data-echelon="${rung.echelon}"]`);
    assert.ok(Object.keys(got).length >= 4, `${rung.echelon}`);
    for (const [field, text] of Object.entries(got)) assert.equal(text, rung[field], `${field} at ${rung.echelon}`);
  }
  const steps = await page.$$eval('#ladder tr[data-echelon] .step', (elements) => elements.map((e) => e.textContent));
  const up = await cliCommand('compare', { ...(await situation()), echelon: '4' }, inputs, ['--to', 'echelon=5']);
  assert.equal(steps[5], up.difference.Text21);
  const above = await cli({ ...(await situation()), category: '13' }, inputs);
  const aboveGot = await fieldsIn('#ladder tr[data-category="13"]');
  for (const [field, text] of Object.entries(aboveGot)) assert.equal(text, above[field], `${field} a category up`);
  await page.tap('#ladder tr[data-echelon="9"] td');
  await page.waitForFunction(() => !document.querySelector('#slip').hidden);
  await page.waitForFunction(() => !location.hash.includes('view=')); // the address follows a moment later
  assert.equal((await situation()).echelon, '9');
  assert.equal(await page.evaluate(() => new URLSearchParams(location.hash.slice(1)).get('view')), null);
  await assertSlipOfTheLink();
  await open('category=17&view=ladder');
  assert.equal(await page.$('#ladder tr[data-category]'), null); // the highest category has none above
});

test('check my slip: typed amounts agree or differ, with the difference and our explanation', async () => {
  await open('category=12&echelon=3&view=check');
  const slip = await cli(await situation(), inputs);
  await page.type('input[name="official.net_pay"]', slip.Text21);
  await page.type('input[name="official.income_tax"]', slip.Text3); // another line's amount: differs
  await page.keyboard.press('Tab');
  const expected = await cliCommand('check', await situation(), inputs, await viewWords());
  assert.equal(expected.lines.length, 2);
  for (const line of expected.lines) {
    const row = `[data-check-line="${line.field}"]`;
    assert.equal(await page.$eval(row, (e) => e.dataset.agrees), String(line.agrees), line.field);
    const text = await page.$eval(row, (e) => e.textContent);
    assert.ok(text.includes(line.ours) && text.includes(line.difference), text);
    if (!line.agrees) for (const part of line.explanation.split('\n')) assert.ok(text.includes(part), part);
  }
  assert.equal(await page.$('[data-check-line="Text3"][data-agrees]'), null); // not typed: no verdict
  // A mistyped amount is named with why, and the rest is still checked.
  await page.type('input[name="official.main_pay"]', '27,810');
  await page.keyboard.press('Tab');
  const problems = await page.$eval('#problems', (e) => (e.hidden ? '' : e.textContent));
  assert.match(problems, /official\.main_pay=27,810/);
  assert.equal(await page.$eval('[data-check-line="Text21"]', (e) => e.dataset.agrees), 'true');
});

test('links of the views: each opens its view; a bad key or value names itself and keeps the rest', async () => {
  await open('category=12&echelon=3&view=compare&to.echelon=99&to.bonus=1&to.category=7&months=500');
  const problems = await page.$eval('#problems', (e) => (e.hidden ? '' : e.textContent));
  for (const bad of ['to.echelon=99', 'to.bonus=1', 'months=500']) assert.ok(problems.includes(bad), bad);
  assert.equal(await page.$eval('select[name="to.category"]', (e) => e.value), '7');
  assert.deepEqual(await viewWords(), ['--to', 'category=7', '--months', '1']);
  await assertComparisonOfTheLink();
  await open('category=12&view=check&official.Text21=1&official.zone=5&official.net_pay=2');
  const refused = await page.$eval('#problems', (e) => (e.hidden ? '' : e.textContent));
  assert.ok(refused.includes('official.zone=5') && refused.includes('official.net_pay=2'), refused);
  assert.equal(await page.$eval('input[name="official.net_pay"]', (e) => e.value), '1');
  await open('category=12&view=sheet');
  assert.match(await page.$eval('#problems', (e) => e.textContent), /view=sheet/);
  assert.equal(await page.$eval('#slip', (e) => e.hidden), false);
});

test('each view prints as a pay office reads it: the comparison with its back pay, the ladder, the check explained', async () => {
  await open('category=12&echelon=3&view=compare&to.echelon=8&months=12');
  await page.pdf({ format: 'A4' });
  const compared = await cliCommand('compare', await situation(), inputs, await viewWords());
  let printed = await page.$eval('#printed', (e) => e.textContent);
  for (const text of [...lines.map((line) => compared.after[line.field] ?? ''), ...Object.values(compared.back_pay)])
    assert.ok(printed.includes(text), text);
  assert.ok(printed.includes(engine.inputs().labels.back_pay_note.arabic));
  await open('category=12&echelon=3&view=ladder');
  await page.pdf({ format: 'A4' });
  printed = await page.$eval('#printed', (e) => e.textContent);
  for (const rung of await cliCommand('ladder', await situation(), inputs)) assert.ok(printed.includes(rung.Text21), rung.Text21);
  await open('category=12&echelon=3&view=check&official.net_pay=1.00');
  await page.pdf({ format: 'A4' });
  printed = await page.$eval('#printed', (e) => e.textContent);
  const [line] = (await cliCommand('check', await situation(), inputs, await viewWords())).lines;
  for (const text of [line.ours, line.difference, ...line.explanation.split('\n')]) assert.ok(printed.includes(text), text);
});

test('no request leaves the site, no error is logged, and axe finds no violation in any view', async () => {
  for (const fragment of ['category=12', 'category=12&view=compare&to.echelon=8', 'category=12&view=ladder',
    'category=12&view=check&official.net_pay=1&official.income_tax=abc']) {
    await open(fragment);
    await page.evaluate(readFileSync(npm.resolve('axe-core/axe.min.js'), 'utf8')); // past the page's CSP
    if (fragment === 'category=12') await page.tap('[data-field="Text12"]');
    for (const language of ['ar', 'fr']) {
      const { violations } = await page.evaluate(() => globalThis.axe.run());
      assert.deepEqual(violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`), [], `${fragment} ${language}`);
      await page.click('#language');
    }
  }
  assert.deepEqual(requests.filter((url) => !url.startsWith(site.url)), []);
  assert.deepEqual(errors, []);
});
