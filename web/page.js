// The page: the situation's inputs, and its views: the slip with each line's
// explanation, what if (a second situation and the back pay), the career
// ladder, and an official slip checked; the link that carries the situation
// and the view; each view printed. Every caption, list entry, amount and
// explanation is the engine's (web/binding.cpp): the page lays them out and
// computes nothing.
import { wrap } from './engine.js';
import { amount, cell, explanation, printed, printedCheck, printedCompare, printedLadder } from './print.js';

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
const catalogue = engine.inputs();
const { inputs, lines, printed: printedLines, labels } = catalogue;
let french = false;
let shownFragment = null;
let lastAnswer = null; // the engine's last answer: the slip, and the view's
let lastProblems = [];
let view = 'slip';
// What if: the inputs the situation after changes, by name, as the link writes them (to.echelon=8).
let toChanges = {};

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

// The inputs' controls in a form: the situation's (named as on the command
// line) or the situation after's in what if (named as its link keys, to.echelon).
function buildInputs(form, prefix) {
  const built = {};
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
    control.name = `${prefix}${input.name}`;
    control.id = `input-${prefix}${input.name}`;
    const caption = say(make('label'), input.caption, input.french);
    caption.htmlFor = control.id;
    box.append(caption, control);
    form.append(box);
    built[input.name] = control;
  }
  return built;
}
const form = $('#situation');
const controls = buildInputs(form, '');

const valueOf = (input, from = controls) => {
  const control = from[input.name];
  return input.kind === 'check' ? input.values[control.checked ? 1 : 0] : control.value;
};
const show = (input, value, from = controls) => {
  const control = from[input.name];
  if (input.kind === 'check') {
    if (control.checked !== (value === input.values[1])) control.checked = value === input.values[1];
  } else if (control.value !== value) control.value = value;
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

// The inputs as the answer read them: held by the family-status rule, marked when the run stopped on them.
function markInputs(from, situation, held, error) {
  for (const [name, control] of Object.entries(from)) {
    const input = inputs.find((candidate) => candidate.name === name);
    show(input, situation[name], from);
    const isHeld = held.includes(name);
    const invalid = String(Boolean(error) && error.inputs.includes(name));
    if (control.disabled !== isHeld) control.disabled = isHeld;
    if (control.getAttribute('aria-invalid') !== invalid) control.setAttribute('aria-invalid', invalid);
  }
}

function renderSlip(slip) {
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
}

function render(answer) {
  lastAnswer = answer;
  markInputs(controls, answer.situation, answer.held, answer.error);
  // Where a run stopped: the situation's slip, and in what if the situation after's.
  const stopped = [];
  if (!answer.ok) stopped.push(inLanguage(answer.error.arabic, answer.error.french));
  if (answer.view === 'compare' && !answer.compare.ok)
    stopped.push(`${inLanguage(label('after').arabic, label('after').french)} : ${inLanguage(answer.compare.error.arabic, answer.compare.error.french)}`);
  const failure = $('#failure');
  hide(failure, stopped.length === 0);
  put(failure, stopped.join(' — '));
  if (answer.view === 'slip') renderSlip(answer);
  else if (answer.view === 'compare') renderCompare(answer);
  else if (answer.view === 'ladder') renderLadder(answer);
  else renderCheck(answer);
}

let problemsShown = '';
function problems(list) {
  // Said again only when they change: the box is an alert.
  const said = JSON.stringify([french, list]);
  if (said === problemsShown) return;
  problemsShown = said;
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

// --- What if: the situation after, every line before, after and the difference, the back pay

// Each view other than the slip is built the first time it is shown: the
// first slip does not wait for them.
const afterForm = $('#after');
let afterControls = {};
const monthsControl = $('#months');
monthsControl.dir = 'ltr';
monthsControl.inputMode = 'numeric';
put($('#months-range'), `${catalogue.months.low}–${catalogue.months.high}`);
const comparison = $('#comparison');
const sides = {};

function buildCompare() {
  afterControls = buildInputs(afterForm, 'to.');
  // One grid: a column of labels and a column per side; each side a container
  // of its amounts. A screen reader is given the same cells as a table, row by
  // row: each row owns its label and its three amounts.
  const rowOf = (row, ...cells) => {
    const tr = make('div', 'row');
    tr.id = `compare-row-${row}`;
    tr.setAttribute('role', 'row');
    tr.style.gridRow = row + 1;
    tr.setAttribute('aria-owns', cells.map((cell) => cell.id).join(' '));
    return tr;
  };
  const corner = say(make('span', 'heading corner'), label('label_column').arabic, label('label_column').french);
  corner.id = 'compare-corner';
  corner.setAttribute('role', 'columnheader');
  const terms = lines.map((line, row) => {
    const term = say(make('span', `term ${line.kind}`), line.arabic, line.french);
    term.id = `compare-${line.field}`;
    term.setAttribute('role', 'rowheader');
    term.style.gridRow = row + 2;
    return term;
  });
  const headings = [];
  for (const [column, side] of ['before', 'after', 'difference'].entries()) {
    const container = make('div', `side ${side}`);
    container.dataset.side = side;
    container.setAttribute('role', 'presentation');
    const words = label(side === 'difference' ? 'change' : side);
    const heading = say(make('span', 'heading'), words.arabic, words.french);
    heading.id = `compare-${side}`;
    heading.setAttribute('role', 'columnheader');
    heading.style.gridColumn = column + 2;
    headings.push(heading);
    container.append(heading);
    sides[side] = {};
    lines.forEach((line, row) => {
      const cell = number('span');
      cell.dataset.field = line.field;
      cell.className = `number ${line.kind}`;
      cell.id = `compare-${side}-${line.field}`;
      cell.setAttribute('role', 'cell');
      cell.style.gridRow = row + 2;
      cell.style.gridColumn = column + 2;
      container.append(cell);
      sides[side][line.field] = cell;
    });
    comparison.append(container);
  }
  const rows = [rowOf(1, corner, ...headings),
    ...lines.map((line, row) => rowOf(row + 2, terms[row], ...['before', 'after', 'difference'].map((side) => sides[side][line.field])))];
  const table = make('div', 'row');
  table.setAttribute('role', 'table');
  table.setAttribute('aria-labelledby', 'compare-heading');
  table.setAttribute('aria-owns', rows.map((tr) => tr.id).join(' '));
  comparison.append(corner, ...terms, table, ...rows);
}
const backPay = {};
for (const element of document.querySelectorAll('[data-back-pay]')) backPay[element.dataset.backPay] = element;

function renderCompare(answer) {
  const { compare } = answer;
  toChanges = { ...compare.to };
  markInputs(afterControls, compare.situation, compare.held, compare.error);
  for (const line of compare.lines)
    for (const side of ['before', 'after', 'difference']) put(sides[side][line.field], line[side]);
  const pay = compare.back_pay ?? {};
  for (const [key, element] of Object.entries(backPay)) put(element, pay[key] === undefined ? '' : String(pay[key]));
  const months = String(compare.months);
  if (document.activeElement !== monthsControl && !lastProblems.some((p) => p.name === 'months') && monthsControl.value !== months)
    monthsControl.value = months;
}

// An input of the situation after: a change while it differs from the situation's.
const changeAfter = (event) => {
  const input = inputs.find((candidate) => `to.${candidate.name}` === event.target.name);
  if (!input) return;
  const value = valueOf(input, afterControls);
  if (value === valueOf(input)) delete toChanges[input.name];
  else toChanges[input.name] = value;
};
afterForm.addEventListener('input', changeAfter);
afterForm.addEventListener('change', changeAfter);

// --- The career ladder: the category's echelons and the category above; a row opens its slip

const ladderBody = $('#ladder-rows');
const ladderRows = [];
let aboveRow = null;
const columns = catalogue.ladder.map((field) => lines.find((line) => line.field === field));
const echelonInput = inputs.find((input) => input.name === 'echelon');
const categoryInput = inputs.find((input) => input.name === 'category');
function buildLadder() {
  const head = make('tr');
  for (const [arabic, frenchText] of [[echelonInput.label.arabic, echelonInput.label.french], ...columns.map((c) => [c.arabic, c.french]),
    [label('net_step').arabic, label('net_step').french]]) {
    const th = say(make('th'), arabic, frenchText);
    th.scope = 'col';
    head.append(th);
  }
  $('#ladder-head').append(head);
  for (const value of echelonInput.values) ladderRows.push(ladderRow('echelon', value));
  aboveRow = ladderRow('category', '');
  delete aboveRow.tr.dataset.category;
  aboveRow.tr.hidden = true;
}

function ladderRow(key, value) {
  const tr = make('tr');
  tr.dataset[key] = value;
  const th = make('th');
  th.scope = 'row';
  const open = make('button', 'open');
  open.type = 'button';
  th.append(open);
  const cells = {};
  tr.append(th);
  for (const column of columns) {
    const td = make('td');
    const cell = number('span');
    cell.dataset.field = column.field;
    td.append(cell);
    tr.append(td);
    cells[column.field] = cell;
  }
  const step = make('td');
  const stepAmount = number('span', '');
  stepAmount.className = 'number step';
  step.append(stepAmount);
  tr.append(step);
  ladderBody.append(tr);
  return { tr, open, cells, step: stepAmount };
}

function fillLadderRow(row, rung, name) {
  put(row.open, name);
  for (const [field, cell] of Object.entries(row.cells)) put(cell, rung.lines[field]);
  put(row.step, rung.step);
}

function renderLadder(answer) {
  const { ladder } = answer;
  const current = inLanguage(label('current_echelon').arabic, label('current_echelon').french);
  ladder.steps.forEach((rung, e) => {
    const row = ladderRows[e];
    const here = rung.echelon === ladder.echelon;
    fillLadderRow(row, rung, here ? `${rung.echelon} ◄ ${current}` : String(rung.echelon));
    if (row.tr.classList.contains('current') !== here) row.tr.classList.toggle('current', here);
    if (here !== row.tr.hasAttribute('aria-current')) {
      if (here) row.tr.setAttribute('aria-current', 'true');
      else row.tr.removeAttribute('aria-current');
    }
  });
  hide(aboveRow.tr, ladder.above === null);
  if (!ladder.above) delete aboveRow.tr.dataset.category;
  else {
    // Attributes written only when they change: a write restyles the row even with the same value.
    if (aboveRow.tr.dataset.category !== String(ladder.above.category)) aboveRow.tr.dataset.category = ladder.above.category;
    if (aboveRow.tr.dataset.echelonAbove !== String(ladder.above.echelon)) aboveRow.tr.dataset.echelonAbove = ladder.above.echelon;
    const words = (input) => inLanguage(input.label.arabic, input.label.french);
    fillLadderRow(aboveRow, ladder.above,
      `${words(categoryInput)} ${ladder.above.category} · ${words(echelonInput)} ${ladder.above.echelon}`);
  }
}

// A row opens that echelon's slip (and the row of the category above, that category's).
ladderBody.addEventListener('click', (event) => {
  const tr = event.target.closest('tr');
  if (!tr) return;
  if (tr.dataset.category) {
    show(categoryInput, tr.dataset.category);
    show(echelonInput, tr.dataset.echelonAbove);
  } else {
    show(echelonInput, tr.dataset.echelon);
  }
  switchView('slip');
  $('#slip').scrollIntoView({ block: 'start' });
});

// --- Check my slip: an official slip's amounts typed, each line agreeing or differing, explained

const checkLines = $('#check-lines');
const checkRows = {};
function buildCheck() {
  // The net pay first: the one amount every check types.
  for (const line of [...lines.filter((l) => l.field === 'Text21'), ...lines.filter((l) => l.computed && l.field !== 'Text21')]) {
    const row = make('div', `check-row ${line.kind}`);
    row.dataset.checkLine = line.field;
    const control = number('input');
    control.type = 'text';
    control.autocomplete = 'off';
    control.inputMode = 'decimal';
    control.name = `official.${line.name}`;
    control.id = `official-${line.field}`;
    const caption = say(make('label'), line.arabic, line.french);
    caption.htmlFor = control.id;
    const result = make('p', 'result');
    result.setAttribute('aria-live', 'polite');
    const why = make('p', 'why');
    why.lang = 'ar';
    row.append(caption, control, result, why);
    checkLines.append(row);
    checkRows[line.field] = { line, row, control, result, why };
  }
}

function renderCheck(answer) {
  const { check } = answer;
  const checked = new Map(check.lines.map((line) => [line.field, line]));
  const said = (key) => inLanguage(label(key).arabic, label(key).french);
  for (const entry of Object.values(checkRows)) {
    const { line, row, control, result, why } = entry;
    const got = checked.get(line.field);
    const refused = lastProblems.find((p) => p.name === control.name || p.name === `official.${line.field}`);
    if (got && document.activeElement !== control && control.value !== got.theirs) control.value = got.theirs;
    if (refused && !got && document.activeElement !== control) control.value = refused.text;
    const invalid = String(Boolean(refused) && !got);
    if (control.getAttribute('aria-invalid') !== invalid) control.setAttribute('aria-invalid', invalid);
    // A row is written again only when what it says changes.
    const says = JSON.stringify([french, got ?? null, got ? null : refused?.arabic ?? null]);
    if (entry.says === says) continue;
    entry.says = says;
    if (got) {
      if (row.dataset.agrees !== String(got.agrees)) row.dataset.agrees = String(got.agrees);
      result.replaceChildren(make('strong', '', said(got.agrees ? 'agrees' : 'differs')), ` · ${said('ours')} `,
        amount('bdi', got.ours), ` · ${said('check_difference')} `, amount('bdi', got.difference));
      // Our explanation where the amounts differ.
      if (got.agrees || !got.explanation) why.replaceChildren();
      else why.replaceChildren(...explanation(got.explanation));
    } else {
      delete row.dataset.agrees;
      put(result, refused ? inLanguage(refused.arabic, refused.french) : '');
      why.replaceChildren();
    }
  }
  const summary = $('#check-summary');
  put(summary, check.lines.length === 0 ? '' : said(check.agree ? 'all_agree' : 'some_differ'));
}

// --- The views, the link, the answers

// A view's keys after the situation's in a link: "&view=compare&to.echelon=8&months=12".
const linkKeys = (keys) => keys.map(([key, value]) => `&${key}=${encodeURIComponent(value)}`).join('');
// The view's keys as the page's fields hold them.
const viewKeys = () => {
  if (view === 'slip') return '';
  const keys = [['view', view]];
  if (view === 'compare') {
    keys.push(...Object.entries(toChanges).map(([name, value]) => [`to.${name}`, value]), ['months', monthsControl.value]);
  } else if (view === 'check') {
    for (const { control } of Object.values(checkRows)) if (control.value) keys.push([control.name, control.value]);
  }
  return linkKeys(keys);
};
// The view's keys as the engine read them: what the address carries.
const readKeys = (answer) => {
  if (answer.view === 'slip') return '';
  const keys = [['view', answer.view]];
  if (answer.view === 'compare') {
    keys.push(...Object.entries(answer.compare.to).map(([name, value]) => [`to.${name}`, value]), ['months', answer.compare.months]);
  } else if (answer.view === 'check') {
    keys.push(...answer.check.lines.map((line) => [`official.${line.name}`, line.theirs]));
  }
  return linkKeys(keys);
};

const builders = { compare: buildCompare, ladder: buildLadder, check: buildCheck };
const built = new Set(['slip']);
function showView(name) {
  if (!built.has(name)) {
    built.add(name);
    builders[name]();
  }
  view = name;
  for (const button of document.querySelectorAll('#views button')) {
    const pressed = String(button.dataset.view === name);
    if (button.getAttribute('aria-pressed') !== pressed) button.setAttribute('aria-pressed', pressed);
  }
  for (const section of document.querySelectorAll('[data-view-section]')) hide(section, section.dataset.viewSection !== name);
}

// Computes the answer of a fragment, puts what was read into the inputs and
// the address (the share link), and shows it. The explanations are computed
// only while a line shows one (and for the print).
let explaining = 0; // lines open on their explanation
// Each view's last answer: coming back to a view whose link has not changed shows it again, unrecomputed.
const answers = new Map();
function recalculate(fragment, withExplanations = explaining > 0) {
  const explain = withExplanations && view === 'slip'; // only the slip view shows a line's explanation
  const kept = answers.get(view);
  const answer = kept?.fragment === fragment && (kept.answer.explained || !explain) ? kept.answer : engine.slip(fragment, explain);
  answers.set(answer.view, { fragment, answer });
  if (answer.view !== view) showView(answer.view);
  shownFragment = fragmentOf((input) => answer.situation[input.name]) + readKeys(answer);
  problems(answer.problems);
  render(answer);
  toAddress(false);
  return answer;
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
  recalculate(location.hash.slice(1));
  toAddress(true);
}

const changed = (event) => {
  const fragment = fragmentOf(valueOf) + viewKeys();
  if (fragment !== shownFragment) recalculate(fragment);
  if (event.type === 'change') toAddress(true);
};
// A view switch: its answer at once, the address a moment later (rewriting it costs more than the answer).
function switchView(name) {
  showView(name);
  recalculate(fragmentOf(valueOf) + viewKeys());
}
for (const element of [form, afterForm, monthsControl, checkLines]) {
  element.addEventListener('input', changed);
  element.addEventListener('change', changed);
}
window.addEventListener('hashchange', openLink);
document.addEventListener('visibilitychange', () => toAddress(true));
$('#views').addEventListener('click', (event) => {
  const button = event.target.closest('button[data-view]');
  if (button && button.dataset.view !== view) switchView(button.dataset.view);
});
// A line opened on a slip computed without explanations: the same slip with them.
slipLines.addEventListener(
  'toggle',
  (event) => {
    explaining += event.target.open ? 1 : -1;
    if (event.target.open && !lastAnswer.explained) recalculate(shownFragment, true);
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
  render(lastAnswer);
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
  const context = { inputs, lines, printedLines, labels, catalogue, bilingual: french };
  if (view === 'slip') printed(lastAnswer.explained ? lastAnswer : recalculate(shownFragment, true), context);
  else if (view === 'compare') printedCompare(lastAnswer, context);
  else if (view === 'ladder') printedLadder(lastAnswer, context);
  else printedCheck(lastAnswer, context);
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
