// The page: the situation's inputs, the slip with each line's explanation,
// the link that carries the situation, the printed slip. Every caption, list
// entry, amount and explanation is the engine's (web/binding.cpp): the page
// lays them out and computes nothing.
import { wrap } from './engine.js';
import { amount, cell, printed } from './print.js';

const $ = (selector) => document.querySelector(selector);
const make = (tag, className, text) => cell(tag, text, className);
// An amount or a typed number: left to right inside the right-to-left page.
const number = (tag, text) => {
  const element = make(tag, 'number', text);
  element.dir = 'ltr';
  return element;
};

// A browser without WebAssembly and its exceptions (Chrome and Android's
// WebView before 95, Safari before 15.2, Firefox before 100) cannot run the
// engine: it says so instead of waiting for ever.
const engine = await globalThis.PayslipEngine().then(wrap, (error) => {
  $('#loading').replaceChildren($('#cannot').content.cloneNode(true));
  throw error;
});
const { inputs, lines, printed: printedLines, labels } = engine.inputs();
const controls = {};
let french = false;
let shownFragment = null;
let lastSlip = null;
let lastProblems = [];

try {
  french = localStorage.getItem('language') === 'fr';
} catch {
  // Storage refused (a private window): Arabic.
}

// Texts that change with the language: [element, arabic, french].
const texts = [];
const inLanguage = (arabic, frenchText) => (french && frenchText ? frenchText : arabic);
const say = (element, arabic, frenchText) => {
  texts.push([element, arabic, frenchText]);
  element.textContent = inLanguage(arabic, frenchText);
  return element;
};
const label = (key) => labels[key];

// --- The inputs

const form = $('#situation');
for (const input of inputs) {
  const box = make('div', `input ${input.kind}`);
  let control;
  if (input.kind === 'list') {
    control = make('select');
    input.values.forEach((value, i) => control.add(new Option(input.texts[i], value)));
  } else if (input.kind === 'check') {
    control = make('input');
    control.type = 'checkbox';
    control.value = input.values[1];
  } else {
    control = number('input');
    control.type = 'text';
    control.autocomplete = 'off';
    control.inputMode = engine.accepts(input.field, '.') ? 'decimal' : 'numeric';
    // The engine's keystroke rule: what may be typed or pasted into the field.
    control.addEventListener('beforeinput', (event) => {
      if (event.data && !engine.accepts(input.field, event.data)) event.preventDefault();
    });
  }
  control.name = input.name;
  control.id = `input-${input.name}`;
  const caption = say(make('label'), input.caption, input.french);
  caption.htmlFor = control.id;
  box.append(caption, control);
  form.append(box);
  controls[input.name] = control;
}

const valueOf = (input) => {
  const control = controls[input.name];
  return input.kind === 'check' ? input.values[control.checked ? 1 : 0] : control.value;
};
const show = (input, value) => {
  const control = controls[input.name];
  if (input.kind === 'check') control.checked = value === input.values[1];
  else if (control.value !== value) control.value = value;
};
const fragmentOf = (value) => inputs.map((input) => `${input.name}=${encodeURIComponent(value(input))}`).join('&');

// --- The slip: a line is a disclosure whose summary is its label and amount

const rows = {};
const slipLines = $('#lines');
for (const line of lines) {
  const row = make('details', `line ${line.kind}`);
  const summary = make('summary');
  const amount = number('span');
  amount.dataset.field = line.field;
  summary.append(say(make('span', 'label'), line.arabic, line.french), amount);
  const why = make('div', 'why');
  row.append(summary, why);
  slipLines.append(row);
  rows[line.field] = { amount, why };
}

const totals = $('#totals');
const totalRows = {};
for (const key of ['earnings_total', 'deductions_total', 'rounding']) {
  const term = say(make('dt'), label(key).arabic, label(key).french);
  const value = number('dd');
  value.dataset.total = key;
  totals.append(term, value);
  totalRows[key] = [term, value];
}
const words = make('dd', 'words');
words.lang = 'ar';
totals.append(say(make('dt'), label('in_words').arabic, label('in_words').french), words);

function explain(why, line) {
  const parts = [make('p', 'rule', line.rule)];
  if (line.formula) parts.push(number('p', `${line.formula} = ${line.result}`));
  // What the slip states beside the line, under the printed page's column names.
  for (const [key, text] of [['base_column', line.base], ['rate_column', line.rate]]) {
    if (!text) continue;
    const stated = make('p', 'stated', `${inLanguage(label(key).arabic, label(key).french)} : `);
    stated.append(amount('bdi', text));
    parts.push(stated);
  }
  why.replaceChildren(...parts);
  why.lang = 'ar';
}

// Texts and visibility are set only when they change: the slip's layout is
// redone only where it must be.
const put = (element, text) => {
  if (element.textContent !== text) element.textContent = text;
};
const hide = (element, hidden) => {
  if (element.hidden !== hidden) element.hidden = hidden;
};

function render(slip) {
  lastSlip = slip;
  for (const line of slip.lines) {
    const row = rows[line.field];
    if (!row) continue;
    put(row.amount, line.amount);
    if (line.rule !== undefined) explain(row.why, line);
  }
  const values = { earnings_total: slip.totals.earnings, deductions_total: slip.totals.deductions, rounding: slip.totals.rounding };
  for (const [key, [term, value]] of Object.entries(totalRows)) {
    put(value, values[key] || '');
    hide(term, !values[key]);
    hide(value, !values[key]);
  }
  put(words, slip.words);
  const failure = $('#failure');
  hide(failure, slip.ok);
  put(failure, slip.ok ? '' : inLanguage(slip.error.arabic, slip.error.french));
  for (const [name, control] of Object.entries(controls)) {
    const held = slip.held.includes(name);
    const invalid = String(!slip.ok && slip.error.inputs.includes(name));
    if (control.disabled !== held) control.disabled = held;
    if (control.getAttribute('aria-invalid') !== invalid) control.setAttribute('aria-invalid', invalid);
  }
}

function problems(list) {
  if (list.length === 0 && lastProblems.length === 0) return;
  lastProblems = list;
  const box = $('#problems');
  box.hidden = list.length === 0;
  box.querySelector('ul').replaceChildren(
    ...list.map((problem) => {
      const item = make('li');
      item.append(number('bdi', `${problem.name}=${problem.text}`), ` : ${inLanguage(problem.arabic, problem.french)}`);
      return item;
    }),
  );
}

// Computes the slip of a fragment, puts what was computed into the inputs
// and the address (the share link), and shows it. The explanations are
// computed only while a line shows one (and for the print).
let explaining = 0; // lines open on their explanation
function recalculate(fragment, explain = explaining > 0) {
  const slip = engine.slip(fragment, explain);
  for (const input of inputs) show(input, slip.situation[input.name]);
  shownFragment = fragmentOf((input) => slip.situation[input.name]);
  render(slip);
  toAddress(false);
  return slip;
}

// The address follows the slip a moment after the last keystroke (rewriting
// it costs more than the slip, and browsers limit how often a page may), at
// once after a pick, when a field is left, before a share and when the page
// is hidden.
let addressTimer = 0;
function toAddress(now) {
  clearTimeout(addressTimer);
  const write = () => location.hash !== `#${shownFragment}` && history.replaceState(null, '', `#${shownFragment}`);
  if (now) write();
  else addressTimer = setTimeout(write, 300);
}

function openLink() {
  problems(recalculate(location.hash.slice(1)).problems);
  toAddress(true);
}

const changed = (event) => {
  const fragment = fragmentOf(valueOf);
  if (fragment !== shownFragment) {
    problems([]);
    recalculate(fragment);
  }
  if (event.type === 'change') toAddress(true);
};
form.addEventListener('input', changed);
form.addEventListener('change', changed);
window.addEventListener('hashchange', openLink);
document.addEventListener('visibilitychange', () => toAddress(true));
// A line opened on a slip computed without explanations: the same slip with them.
slipLines.addEventListener(
  'toggle',
  (event) => {
    explaining += event.target.open ? 1 : -1;
    if (event.target.open && !lastSlip.explained) recalculate(shownFragment, true);
  },
  true,
);

// --- Language, share, print

// The page's language and direction, and the switch's word for the other one.
function showLanguage() {
  document.documentElement.lang = french ? 'fr' : 'ar';
  document.documentElement.dir = french ? 'ltr' : 'rtl';
  const button = $('#language');
  button.textContent = french ? button.dataset.arabic : button.dataset.french;
  button.lang = french ? 'ar' : 'fr';
}

function setLanguage(toFrench) {
  french = toFrench;
  showLanguage();
  for (const [element, arabic, frenchText] of texts) element.textContent = inLanguage(arabic, frenchText);
  render(lastSlip);
  problems(lastProblems);
  try {
    localStorage.setItem('language', french ? 'fr' : 'ar');
  } catch {
    // Not kept: the page opens in Arabic next time.
  }
}

for (const element of document.querySelectorAll('[data-fr]')) say(element, element.textContent, element.dataset.fr);
for (const element of document.querySelectorAll('[data-label]'))
  say(element, label(element.dataset.label).arabic, label(element.dataset.label).french);
$('#language').addEventListener('click', () => setLanguage(!french));

$('#share').addEventListener('click', async () => {
  const status = $('#status');
  toAddress(true);
  try {
    await navigator.clipboard.writeText(location.href);
    say(status, status.dataset.copied, status.dataset.copiedFr);
  } catch {
    say(status, location.href);
  }
});

window.addEventListener('beforeprint', () => {
  const slip = lastSlip.explained ? lastSlip : recalculate(shownFragment, true);
  printed(slip, { inputs, lines, printedLines, labels, bilingual: french });
});
$('#print').addEventListener('click', () => window.print());

// The first slip in a task of its own, after the inputs and lines are built:
// no task of the start-up keeps the page from answering for long.
await new Promise((resolve) => setTimeout(resolve));
openLink();
showLanguage();
$('#loading').remove();
document.body.classList.add('ready');
// The service worker once the page has loaded, so that its caching does not compete with the first slip.
const registerWorker = () => 'serviceWorker' in navigator && navigator.serviceWorker.register('sw.js');
if (document.readyState === 'complete') registerWorker();
else window.addEventListener('load', registerWorker);
