// The pictures of docs/web.md, taken as a phone shows the page (390 px wide,
// Debian's chromium headless): Arabic and French, a line's explanation, a
// failed recalculation, a bad link, the views (what if and its back pay, the
// ladder, a check), and each printed page (as PDF, through pdftoppm). Run by
// scripts/web.sh --bench.
import { execFileSync } from 'node:child_process';
import { npm, serve } from '../tests/common.mjs';

const docs = new URL('../../docs/', import.meta.url).pathname;
const puppeteer = npm('puppeteer-core');
const site = await serve();
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox'] });
const page = await browser.newPage();
await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
const open = async (fragment) => {
  await page.goto(`${site.url}#${fragment}`);
  await page.waitForSelector('body.ready');
};
const shot = (name) => page.screenshot({ path: `${docs}${name}.png` });
const scrollTo = (selector) => page.$eval(selector, (e) => e.scrollIntoView({ block: 'start' }));

await open('category=12&echelon=3&children=2&zone=2500');
await shot('web-arabic');
await scrollTo('#slip');
await shot('web-slip');
await page.tap('[data-field="Text15"]');
await page.waitForFunction(() => document.querySelector('details[open] .why')?.textContent);
await scrollTo('details[open]');
await page.evaluate(() => window.scrollBy(0, -120));
await shot('web-explanation');
await page.tap('[data-field="Text15"]');
await page.click('#language');
await page.evaluate(() => window.scrollTo(0, 0));
await shot('web-french');
await open('category=12&echelon=3&children=2&zone=2500&housing=1e999&over-ten=13');
await page.evaluate(() => window.scrollTo(0, 0));
await shot('web-refused');
await page.click('#language');
await open('category=12&echelon=3&children=2&zone=2500');
await page.pdf({ path: `${docs}web-print.pdf`, format: 'A4' });
execFileSync('pdftoppm', ['-r', '70', '-png', '-singlefile', `${docs}web-print.pdf`, `${docs}web-print`]);
execFileSync('rm', [`${docs}web-print.pdf`]);
// The views, and each one printed.
const printed = async (name) => {
  await page.pdf({ path: `${docs}${name}.pdf`, format: 'A4' });
  execFileSync('pdftoppm', ['-r', '70', '-png', '-singlefile', `${docs}${name}.pdf`, `${docs}${name}`]);
  execFileSync('rm', [`${docs}${name}.pdf`]);
};
await open('category=12&echelon=3&children=2&zone=2500&view=compare&to.echelon=8&months=12');
await scrollTo('#comparison');
await page.evaluate(() => window.scrollBy(0, -40));
await shot('web-compare');
await page.$eval('#back-pay', (e) => e.scrollIntoView({ block: 'center' }));
await shot('web-back-pay');
await printed('web-compare-print');
await open('category=12&echelon=3&children=2&zone=2500&view=ladder');
await scrollTo('#ladder');
await shot('web-ladder');
await printed('web-ladder-print');
await open('category=12&echelon=3&children=2&zone=2500&view=check&official.net_pay=42100.00&official.income_tax=7150.00&official.main_pay=27810.00');
await scrollTo('#check');
await shot('web-check');
await printed('web-check-print');
await browser.close();
site.close();
console.log('docs/web-{arabic,slip,explanation,french,refused,print,compare,back-pay,compare-print,ladder,ladder-print,check,check-print}.png');
