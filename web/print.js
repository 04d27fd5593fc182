// The slip as a pay office hands it out, for the browser's print: the
// situation, the lines in their printed order with base, rate, earnings and
// deductions, the totals and the net pay in words; and the other views as a
// pay office reads them: the comparison with its back pay, the career ladder,
// an official slip checked with our explanations. Built from the engine's
// answer and labels just before printing; shown only on paper.
export const cell = (tag, text, className) => {
  const element = document.createElement(tag);
  if (className) element.className = className;
  if (text) element.textContent = text;
  return element;
};
// A number left to right; a base or rate that has Arabic words in it ("498 نقطة") right to left.
export const amount = (tag, text) => {
  const element = cell(tag, text, 'number');
  element.dir = /[\u0600-\u06ff]/.test(text) ? 'rtl' : 'ltr';
  return element;
};

// An explanation as the engine writes it: the rule, then on the next line the
// computation, which reads left to right (further breaks joined by blanks).
export function explanation(text) {
  const cut = text.indexOf('\n');
  const rule = cut < 0 ? text : text.slice(0, cut);
  const computation = cut < 0 ? '' : text.slice(cut + 1).replaceAll('\n', ' ');
  return [rule, document.createElement('br'), amount('bdi', computation)];
}

export function printed(slip, { inputs, lines, printedLines, labels, bilingual }) {
  const layout = pageOf(labels, bilingual);
  const { said, row } = layout;
  const page = document.querySelector('#printed');
  page.className = '';
  const title = said('h2', labels.title);
  const date = cell('p');
  date.append(said('span', labels.printed_on), ' ', amount('span', new Date().toISOString().slice(0, 10)));

  // The inputs that are not lines of the slip themselves.
  const situation = inputs
    .filter((input) => !printedLines.includes(input.field))
    .map((input) => [input.label, slip.shown[input.name]]);
  if (slip.points.base !== undefined)
    situation.splice(
      2,
      0,
      [labels.point_value, slip.points.value],
      [labels.category_points, String(slip.points.base)],
      [labels.echelon_points, String(slip.points.echelon)],
      [labels.total_points, String(slip.points.total)],
    );
  const columns = ['label_column', 'base_column', 'rate_column', 'earnings_column', 'deductions_column'];
  const table = layout.table('lines', columns.map((key) => labels[key]));
  const byField = new Map(slip.lines.map((line) => [line.field, line]));
  const kinds = new Map(lines.map((line) => [line.field, line]));
  for (const field of printedLines) {
    const line = kinds.get(field);
    const got = byField.get(field);
    if (line.kind === 'information') continue;
    if (line.kind === 'subtotal') {
      const tr = row(said('th', line), amount('td', got.amount), cell('td'), cell('td'), cell('td'));
      tr.className = 'subtotal';
      table.append(tr);
    } else {
      const earning = line.kind === 'earning';
      table.append(
        row(said('th', line), amount('td', got.base), amount('td', got.rate), amount('td', earning ? got.amount : ''),
          amount('td', earning ? '' : got.amount)),
      );
    }
  }
  const totals = slip.totals;
  if (totals.earnings !== undefined) {
    table.append(row(said('th', labels.earnings_total), cell('td'), cell('td'), amount('td', totals.earnings), cell('td')));
    table.append(row(said('th', labels.deductions_total), cell('td'), cell('td'), cell('td'), amount('td', totals.deductions)));
    if (totals.rounding)
      table.append(row(said('th', labels.rounding), amount('td', totals.difference), cell('td'), amount('td', totals.rounding), cell('td')));
  }
  const net = kinds.get('Text21');
  const netRow = row(said('th', net), cell('td'), cell('td'), amount('td', byField.get('Text21').amount), cell('td'));
  netRow.className = 'net';
  table.append(netRow);

  const words = cell('p', '', 'words');
  words.append(said('span', labels.in_words), ' : ', cell('span', slip.words));
  // The quarterly bonus, beside the pay: its amount and the computation the engine states.
  const bonusLine = byField.get('Text22');
  const bonus = cell('p');
  bonus.append(said('span', labels.bonus), ' : ', amount('span', bonusLine.amount));
  if (bonusLine.formula) bonus.append(' = ', amount('span', bonusLine.formula));
  const parts = [title, date, said('h3', labels.situation), facts(layout, situation), said('h3', labels.lines), table,
    words, bonus];
  if (totals.rounding) parts.push(said('p', labels.rounding_note));
  page.replaceChildren(...parts);
}

// --- The other views: a title, the date, the situation, then the view's tables.

function pageOf(labels, bilingual) {
  const said = (tag, { arabic, french }) => {
    const element = cell(tag, arabic);
    if (bilingual && french) element.append(' ', cell('span', french, 'french'));
    return element;
  };
  const row = (...cells) => {
    const tr = document.createElement('tr');
    tr.append(...cells);
    return tr;
  };
  const table = (className, headings) => {
    const element = cell('table', '', className);
    if (headings) element.append(row(...headings.map((label) => said('th', label))));
    return element;
  };
  const start = (heading) => {
    const date = cell('p');
    date.append(said('span', labels.printed_on), ' ', amount('span', new Date().toISOString().slice(0, 10)));
    return [said('h2', heading), said('p', labels.title), date];
  };
  return { said, row, table, start };
}

// The situation's inputs, three to a row: [label, shown] pairs.
function facts(page, pairs) {
  const element = page.table('situation');
  for (let i = 0; i < pairs.length; i += 3)
    element.append(page.row(...pairs.slice(i, i + 3).flatMap(([label, value]) => [page.said('th', label), amount('td', value)])));
  return element;
}

export function printedCompare(answer, { inputs, lines, labels, bilingual }) {
  const page = pageOf(labels, bilingual);
  const { compare } = answer;
  // The two situations side by side, two inputs to a row, the inputs that change in bold.
  const headings = [labels.situation, labels.before, labels.after];
  const situations = page.table('situation', [...headings, ...headings]);
  const cells = inputs.map((input) => {
    const after = amount('td', compare.shown[input.name]);
    if (answer.shown[input.name] !== compare.shown[input.name]) after.className += ' changed';
    return [page.said('th', input.label), amount('td', answer.shown[input.name]), after];
  });
  for (let i = 0; i < cells.length; i += 2) situations.append(page.row(...cells.slice(i, i + 2).flat()));
  const table = page.table('lines', [labels.label_column, labels.before, labels.after, labels.change]);
  const kinds = new Map(lines.map((line) => [line.field, line]));
  for (const line of compare.lines) {
    const tr = page.row(page.said('th', kinds.get(line.field)), amount('td', line.before), amount('td', line.after),
      amount('td', line.difference));
    tr.className = kinds.get(line.field).kind;
    table.append(tr);
  }
  const parts = [...page.start(labels.compare), page.said('h3', labels.situation), situations, page.said('h3', labels.lines), table];
  const pay = compare.back_pay;
  if (pay) {
    const back = page.table('back-pay');
    for (const [key, value] of [['months', pay.months], ['quarters', pay.quarters], ['net_difference', pay.net_difference],
      ['bonus_difference', pay.bonus_difference], ['back_pay_monthly', pay.monthly], ['back_pay_bonus', pay.bonus],
      ['back_pay_total', pay.total]])
      back.append(page.row(page.said('th', labels[key]), amount('td', String(value))));
    back.lastChild.className = 'net';
    parts.push(page.said('h3', labels.back_pay), back, page.said('p', labels.back_pay_note));
  }
  const printedPage = document.querySelector('#printed');
  // The two situations, the lines and the back pay on one page, in Arabic and French too.
  printedPage.className = bilingual ? 'compact bilingual' : 'compact';
  printedPage.replaceChildren(...parts);
}

export function printedLadder(answer, { inputs, lines, labels, catalogue, bilingual }) {
  const page = pageOf(labels, bilingual);
  const { ladder } = answer;
  const echelon = inputs.find((input) => input.name === 'echelon').label;
  const category = inputs.find((input) => input.name === 'category').label;
  const columns = catalogue.ladder.map((field) => lines.find((line) => line.field === field));
  const table = page.table('lines', [echelon, ...columns, labels.net_step]);
  const rung = (name, step) =>
    page.row(name, ...columns.map((column) => amount('td', step.lines[column.field])), amount('td', step.step));
  for (const step of ladder.steps) {
    const here = step.echelon === ladder.echelon;
    const name = amount('th', String(step.echelon));
    if (here) name.append(' ◄ ', page.said('span', labels.current_echelon));
    const tr = rung(name, step);
    if (here) tr.className = 'net';
    table.append(tr);
  }
  if (ladder.above) {
    const name = page.said('th', labels.category_above);
    name.append(' ', amount('span', `${ladder.above.category} · ${ladder.above.echelon}`));
    const tr = rung(name, ladder.above);
    tr.className = 'subtotal';
    table.append(tr);
  }
  const situation = inputs.filter((input) => input.kind !== 'typed' || answer.shown[input.name] !== '')
    .map((input) => [input.label, answer.shown[input.name]]);
  const heading = page.said('h3', labels.ladder);
  heading.append(' — ', page.said('span', category), ' ', amount('span', String(ladder.category)));
  document.querySelector('#printed').className = '';
  document.querySelector('#printed').replaceChildren(...page.start(labels.ladder), page.said('h3', labels.situation),
    facts(page, situation), heading, table);
}

export function printedCheck(answer, { inputs, lines, labels, bilingual }) {
  const page = pageOf(labels, bilingual);
  const { check } = answer;
  const kinds = new Map(lines.map((line) => [line.field, line]));
  const table = page.table('lines check',
    [labels.label_column, labels.ours, labels.official, labels.check_difference, labels.result, labels.our_computation]);
  for (const line of check.lines) {
    // Our explanation where the amounts differ.
    const how = cell('td', '', 'explanation');
    how.lang = 'ar';
    if (!line.agrees && line.explanation) how.append(...explanation(line.explanation));
    const tr = page.row(page.said('th', kinds.get(line.field)), amount('td', line.ours), amount('td', line.theirs),
      amount('td', line.difference), page.said('td', line.agrees ? labels.agrees : labels.differs), how);
    if (!line.agrees) tr.className = 'differs';
    table.append(tr);
  }
  const situation = inputs.map((input) => [input.label, answer.shown[input.name]]);
  document.querySelector('#printed').className = '';
  document.querySelector('#printed').replaceChildren(...page.start(labels.check), page.said('h3', labels.situation),
    facts(page, situation), page.said('h3', check.agree ? labels.all_agree : labels.some_differ), table);
}
