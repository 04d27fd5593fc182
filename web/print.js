// The slip as a pay office hands it out, for the browser's print: the
// situation, the lines in their printed order with base, rate, earnings and
// deductions, the totals and the net pay in words. Built from the engine's
// slip and labels just before printing; shown only on paper.
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

export function printed(slip, { inputs, lines, printedLines, labels, bilingual }) {
  // A label in Arabic, with the French beside it on a bilingual page.
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
  const page = document.querySelector('#printed');
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
  const facts = cell('table', '', 'situation');
  for (let i = 0; i < situation.length; i += 3)
    facts.append(row(...situation.slice(i, i + 3).flatMap(([label, value]) => [said('th', label), amount('td', value)])));

  const table = cell('table', '', 'lines');
  const columns = ['label_column', 'base_column', 'rate_column', 'earnings_column', 'deductions_column'];
  table.append(row(...columns.map((key) => said('th', labels[key]))));
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
  const parts = [title, date, said('h3', labels.situation), facts, said('h3', labels.lines), table, words, bonus];
  if (totals.rounding) parts.push(said('p', labels.rounding_note));
  page.replaceChildren(...parts);
}
