// The binding under node, against the wasm: the worked examples, many random
// slips compared with the native payslip-cli --json --explain, and links
// with values that cannot be taken.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';
import { cli, cliCommand, loadEngine, random, randomFragment } from './common.mjs';

const engine = await loadEngine();
const { inputs } = engine.inputs();
const amounts = (slip) => Object.fromEntries(slip.lines.map((line) => [line.field, line]));

// The worked examples' options as a link: "--category 12" is category=12, a
// flag its value, "--no-mutual" the box's other value.
function fragmentOf(args) {
  const pairs = [];
  for (let i = 0; i < args.length; i++) {
    const name = args[i].slice(2);
    const input = inputs.find((candidate) => candidate.name === name || `no-${candidate.name}` === name);
    if (input.kind === 'check') pairs.push([input.name, input.values[name === input.name ? 1 : 0]]);
    else pairs.push([name, args[++i]]);
  }
  return pairs.map(([name, value]) => `${name}=${encodeURIComponent(value)}`).join('&');
}

// Words of a line, double quotes grouping ("" an empty word).
const words = (line) => [...line.matchAll(/"([^"]*)"|(\S+)/g)].map((m) => m[1] ?? m[2]);

test('the worked examples of tests/data/worked.slips', () => {
  const cases = readFileSync(new URL('../../tests/data/worked.slips', import.meta.url), 'utf8').split(/^== /m).slice(1);
  let checked = 0;
  for (const text of cases) {
    const [title, ...lines] = text.split('\n').filter((line) => line && !line.startsWith('#'));
    // Cases that preset lines part-way through the slip run in the engine's own tests.
    if (lines.some((line) => /^(set|run):/.test(line))) continue;
    const args = lines.find((line) => line.startsWith('args:'));
    const slip = engine.slip(fragmentOf(args ? words(args.slice(5)) : []));
    assert.deepEqual(slip.problems, [], title);
    const got = amounts(slip);
    for (const [field, expected = ''] of lines.filter((line) => /^Text/.test(line)).map(words))
      assert.equal(got[field].amount, expected, `${title}: ${field}`);
    checked++;
  }
  assert.ok(checked >= 30, `${checked} cases`);
});

test('random slips are those of payslip-cli --json --explain, line for line', async () => {
  const r = random(Number(process.env.WEB_SEED ?? 2016));
  const count = Number(process.env.RANDOM_SLIPS ?? 1000);
  let failed = 0;
  const one = async () => {
    const slip = engine.slip(randomFragment(inputs, r));
    const expected = await cli(slip.situation, inputs);
    if (!slip.ok) {
      failed++;
      assert.equal(expected.exit, 1, JSON.stringify(slip.situation));
      assert.equal(expected.message, `payslip-cli: ${slip.error.message}\n`);
      return;
    }
    const got = amounts(slip);
    for (const [field, explanation] of Object.entries(expected.explanations)) {
      assert.equal(got[field].amount, expected[field], `${field} of ${JSON.stringify(slip.situation)}`);
      const { rule, formula, result } = got[field];
      assert.deepEqual({ rule, formula, result }, explanation, `${field} of ${JSON.stringify(slip.situation)}`);
    }
  };
  for (let i = 0; i < count; i += 2) await Promise.all([one(), one()]); // two at a time, for two cores
  assert.ok(failed > 0 && failed < count, `${failed} of ${count} slips overflow`);
});

test('a link names each value it cannot take, and why, and the rest is computed', async () => {
  const slip = engine.slip('category=99&bonus=1&echelon=3&zone=%ZZ&status=single&children=2&mark=4%0A0&housing=1200');
  assert.deepEqual(slip.problems.map((problem) => problem.name).sort(), ['bonus', 'category', 'children', 'mark', 'zone']);
  for (const problem of slip.problems) assert.ok(problem.message.length > 0, problem.name);
  const fresh = engine.slip('').situation;
  assert.equal(slip.situation.category, fresh.category);
  assert.equal(slip.situation.echelon, '3');
  assert.equal(slip.situation.housing, '1200');
  const expected = await cli(slip.situation, inputs);
  for (const [field, line] of Object.entries(amounts(slip)))
    if (field in expected) assert.equal(line.amount, expected[field], field);
});

// A random change of one to three inputs, as the link writes it (to.echelon=8)
// and as payslip-cli compare takes it (--to echelon=8).
function randomChanges(r) {
  const other = randomFragment(inputs, r).split('&');
  const changes = [];
  for (let n = 1 + Math.floor(r() * 3); n > 0; n--) changes.push(other[Math.floor(r() * other.length)]);
  return changes;
}

test('what if: every line before, after and their difference, and the back pay, are payslip-cli compare\'s', async () => {
  const r = random(Number(process.env.WEB_SEED ?? 2016) + 1);
  let compared = 0;
  for (let i = 0; i < Number(process.env.RANDOM_COMPARISONS ?? 120); i++) {
    const changes = randomChanges(r);
    const months = 1 + Math.floor(r() * 120);
    const answer = engine.slip(`${randomFragment(inputs, r)}&view=compare&${changes.map((c) => `to.${c}`).join('&')}&months=${months}`, false);
    assert.equal(answer.view, 'compare');
    if (answer.problems.length > 0) continue; // a change the family-status rule refuses: the next test's matter
    const expected = await cliCommand('compare', answer.situation, inputs, [
      ...changes.flatMap((c) => ['--to', decodeURIComponent(c)]), '--months', String(months)]);
    const what = JSON.stringify([answer.situation, changes, months]);
    if (expected.exit !== undefined) {
      // A slip that stops: payslip-cli says so and computes no back pay; nor does the page.
      assert.equal(expected.exit, 1, what);
      assert.ok(!answer.ok || !answer.compare.ok || answer.compare.back_pay === null, what);
      continue;
    }
    for (const line of answer.compare.lines) {
      if (!(line.field in expected.before)) continue;
      assert.equal(line.before, expected.before[line.field], `${line.field} before of ${what}`);
      assert.equal(line.after, expected.after[line.field], `${line.field} after of ${what}`);
      assert.equal(line.difference, expected.difference[line.field], `${line.field} difference of ${what}`);
    }
    const { monthly, bonus, total } = answer.compare.back_pay;
    assert.deepEqual({ monthly, bonus, total }, expected.back_pay, what);
    assert.equal(answer.compare.months, expected.months);
    compared++;
  }
  assert.ok(compared > 20, `${compared} comparisons`); // most random typed texts stop a slip
});

test('the ladder: each echelon\'s lines are payslip-cli ladder\'s, each step payslip-cli compare\'s net difference', async () => {
  const r = random(Number(process.env.WEB_SEED ?? 2016) + 2);
  for (let i = 0; i < 6; i++) {
    const answer = engine.slip(`${randomFragment(inputs, r).replace(/(zone|housing|absence|mark)=[^&]*/g, '$1=0')}&view=ladder`, false);
    const expected = await cliCommand('ladder', answer.situation, inputs);
    const what = JSON.stringify(answer.situation);
    assert.equal(answer.ladder.steps.length, expected.length);
    for (const [e, step] of answer.ladder.steps.entries()) {
      assert.equal(step.echelon, expected[e].echelon);
      for (const [field, amount] of Object.entries(step.lines)) assert.equal(amount, expected[e][field], `${field} at ${e} of ${what}`);
    }
    // The step from one echelon to the next, and from the current echelon to the category above.
    const e = 1 + Math.floor(r() * 12);
    const up = await cliCommand('compare', { ...answer.situation, echelon: String(e - 1) }, inputs, ['--to', `echelon=${e}`]);
    assert.equal(answer.ladder.steps[e].step, up.difference.Text21, `${e} of ${what}`);
    assert.equal(answer.ladder.steps[0].step, '');
    const category = Number(answer.situation.category);
    if (answer.ladder.above === null) {
      assert.equal(category, inputs.find((input) => input.name === 'category').values.length);
      continue;
    }
    const above = await cliCommand('compare', answer.situation, inputs, ['--to', `category=${category + 1}`]);
    assert.equal(answer.ladder.above.category, category + 1);
    for (const [field, amount] of Object.entries(answer.ladder.above.lines)) assert.equal(amount, above.after[field], field);
    assert.equal(answer.ladder.above.step, above.difference.Text21);
  }
});

test('check: each typed line agrees or differs, with the difference and the explanation, as payslip-cli check says', async () => {
  const r = random(Number(process.env.WEB_SEED ?? 2016) + 3);
  const { lines } = engine.inputs();
  const computed = lines.filter((line) => line.computed);
  for (let i = 0; i < 20; i++) {
    const situation = engine.slip(randomFragment(inputs, r).replace(/(zone|housing|absence|mark)=[^&]*/g, '$1=0')).situation;
    const slip = engine.slip(new URLSearchParams(situation).toString(), false);
    const amounts = Object.fromEntries(slip.lines.map((line) => [line.field, line.amount]));
    // Some lines typed as our slip shows them, some with another line's amount, by field or by name.
    const official = new Map(computed.filter(() => r() < 0.3).map((line) => {
      const typed = r() < 0.5 ? amounts[line.field] : amounts[computed[Math.floor(r() * computed.length)].field];
      return [line.field, [r() < 0.5 ? line.field : line.name, typed]];
    }));
    if (!official.has('Text21')) official.set('Text21', ['net_pay', amounts.Text21]);
    const fragment = [...new URLSearchParams(situation)].map(([k, v]) => `${k}=${encodeURIComponent(v)}`)
      .concat('view=check', [...official.values()].map(([name, amount]) => `official.${name}=${amount}`)).join('&');
    const answer = engine.slip(fragment, false);
    const words = fragment.split('&').filter((pair) => pair.startsWith('official.'))
      .flatMap((pair) => ['--official', pair.slice('official.'.length)]);
    const expected = await cliCommand('check', answer.situation, inputs, words);
    const what = JSON.stringify([situation, official]);
    assert.deepEqual(answer.problems, [], what);
    assert.equal(answer.check.agree, expected.agree, what);
    assert.deepEqual(answer.check.lines, expected.lines, what);
  }
});

test('a link\'s view keys: a bad one names itself and why, and the rest is computed', async () => {
  const answer = engine.slip('category=12&echelon=3&view=compare&to.echelon=8&to.bonus=1&to.category=99&months=0&official.zone=1&official.net_pay=43,432.12', false);
  assert.deepEqual(answer.problems.map((problem) => problem.name).sort(),
    ['months', 'official.net_pay', 'official.zone', 'to.bonus', 'to.category'].sort());
  for (const problem of answer.problems) for (const said of [problem.message, problem.arabic, problem.french]) assert.ok(said.length > 0, problem.name);
  assert.equal(answer.view, 'compare');
  assert.equal(answer.compare.situation.echelon, '8');
  assert.equal(answer.compare.months, 1); // months=0 refused: one month
  const expected = await cliCommand('compare', answer.situation, inputs, ['--to', 'echelon=8']);
  assert.deepEqual(answer.compare.back_pay && { monthly: answer.compare.back_pay.monthly, bonus: answer.compare.back_pay.bonus, total: answer.compare.back_pay.total }, expected.back_pay);
  assert.equal(engine.slip('view=table').problems[0].name, 'view');
  assert.equal(engine.slip('view=table').view, 'slip');
});
