// The page's figures, measured (a benchmark, not a test): the bytes gzipped
// of everything the first slip needs and of the whole site, the time from an
// input event to the updated slip in headless Chromium (and with the CPU
// throttled 4×), the same in each view and for a view switch, and
// Lighthouse's mobile scores. Run by scripts/web.sh --bench; prints the
// figures and writes them to build-web/bench.json.
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { loadavg } from 'node:os';
import { gzipSync } from 'node:zlib';
import { build, npm, serve } from '../tests/common.mjs';

const puppeteer = npm('puppeteer-core');
const site = await serve();
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox'] });
// The machine's load when measuring: the cores may be shared with other builds.
const figures = { loadAverageAtStart: loadavg()[0] };

// The files the first slip needs (the page, its style, its scripts, the
// engine), each gzipped (-9); not the icons or the manifest.
const page = await browser.newPage();
await page.setViewport({ width: 360, height: 780, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
const requested = [];
page.on('request', (request) => {
  const file = new URL(request.url()).pathname.slice(1) || 'index.html';
  if (!['image', 'manifest'].includes(request.resourceType()) && !file.endsWith('.png')) requested.push(file);
});
await page.goto(site.url);
await page.waitForSelector('body.ready');
const firstSlip = [...new Set(requested.splice(0))];
figures.firstSlipFiles = Object.fromEntries(
  firstSlip.map((file) => [file, gzipSync(readFileSync(`${build}/site/${file}`), { level: 9 }).length]),
);
figures.firstSlipGzipBytes = Object.values(figures.firstSlipFiles).reduce((a, b) => a + b, 0);
// The whole site, every file gzipped (-9).
figures.siteGzipBytes = readdirSync(`${build}/site`)
  .map((file) => gzipSync(readFileSync(`${build}/site/${file}`), { level: 9 }).length)
  .reduce((a, b) => a + b, 0);

// Input events: a typed zone allowance each, the slip recomputed and shown,
// the layout done. Timed in runs of 20 events (the page's clock is coarse):
// the median of the runs' means, and the best run (the least disturbed by
// other work on the machine).
async function inputToSlip(throttle) {
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: throttle });
  const runs = await page.evaluate(() => {
    const zone = document.querySelector('input[name="zone"]');
    const means = [];
    for (let run = 0; run < 60; run++) {
      const start = performance.now();
      for (let i = 0; i < 20; i++) {
        zone.value = String(1000 + run * 20 + i);
        zone.dispatchEvent(new Event('input', { bubbles: true }));
        void document.body.offsetHeight; // the layout of the updated slip
      }
      means.push((performance.now() - start) / 20);
    }
    return means.sort((a, b) => a - b);
  });
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  return { median: Number(runs[runs.length >> 1].toFixed(3)), best: Number(runs[0].toFixed(3)) };
}
figures.inputToSlipMs = await inputToSlip(1);
figures.inputToSlipMsThrottled4x = await inputToSlip(4);

// The views: in each, an input event to its updated answer (the zone typed in
// the situation; in what if also the months, in the check an official amount),
// and a view switch to its answer (the slip's switch from the check), each
// shown and laid out; timed as above.
async function inView(throttle) {
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: throttle });
  const result = await page.evaluate(() => {
    const time = (event) => {
      const means = [];
      for (let run = 0; run < 60; run++) {
        const start = performance.now();
        for (let i = 0; i < 20; i++) {
          event(run * 20 + i);
          void document.body.offsetHeight;
        }
        means.push((performance.now() - start) / 20);
      }
      means.sort((a, b) => a - b);
      return { median: Number(means[means.length >> 1].toFixed(3)), best: Number(means[0].toFixed(3)) };
    };
    const type = (selector, text) => {
      const control = document.querySelector(selector);
      control.value = text;
      control.dispatchEvent(new Event('input', { bubbles: true }));
    };
    const show = (view) => document.querySelector(`#views button[data-view="${view}"]`).click();
    const figures = {};
    for (const view of ['compare', 'ladder', 'check']) {
      show(view);
      if (view === 'check') type('input[name="official.net_pay"]', '43432.12');
      figures[view] = { zone: time((n) => type('input[name="zone"]', String(1000 + n))) };
      if (view === 'compare') figures[view].months = time((n) => type('#months', String(1 + (n % 120))));
      if (view === 'check') figures[view].official = time((n) => type('input[name="official.income_tax"]', String(7000 + n)));
    }
    const order = ['slip', 'compare', 'ladder', 'check'];
    const switches = Object.fromEntries(order.map((view) => [view, []]));
    for (let round = 0; round < 30; round++)
      for (const view of order) {
        const start = performance.now();
        show(view);
        void document.body.offsetHeight;
        switches[view].push(performance.now() - start);
      }
    for (const [view, times] of Object.entries(switches)) {
      times.sort((a, b) => a - b);
      figures[view] = { ...figures[view], switch: { median: Number(times[times.length >> 1].toFixed(3)), best: Number(times[0].toFixed(3)) } };
    }
    show('slip');
    return figures;
  });
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  return result;
}
figures.viewsMs = await inView(1);
figures.viewsMsThrottled4x = await inView(4);
await browser.close();

// Lighthouse 12.2.3, mobile (its default), against Debian's chromium; three
// runs, each with its scores and the metrics behind the performance score.
const lighthouse = createRequire(`${build}/npm-bench/`).resolve('lighthouse/cli/index.js');
figures.lighthouse = [];
for (let run = 0; run < 3; run++) {
  const report = JSON.parse(
    execFileSync('node', [lighthouse, site.url, '--quiet', '--output=json', '--chrome-flags=--headless=new --no-sandbox',
      '--only-categories=performance,accessibility,best-practices'],
    { env: { ...process.env, CHROME_PATH: '/usr/bin/chromium' }, maxBuffer: 64 << 20 }),
  );
  const scores = Object.entries(report.categories).map(([id, c]) => [id, Math.round(c.score * 100)]);
  const metrics = ['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'cumulative-layout-shift']
    .map((id) => [id, report.audits[id].displayValue]);
  figures.lighthouse.push(Object.fromEntries([...scores, ...metrics]));
}
figures.loadAverageAtEnd = loadavg()[0];
site.close();

writeFileSync(`${build}/bench.json`, `${JSON.stringify(figures, null, 2)}\n`);
console.log(JSON.stringify(figures, null, 2));
