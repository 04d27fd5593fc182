// The binding under node, against the wasm: the worked examples, many random
// slips compared with the native payslip-cli --json --explain, and links
// with values that cannot be taken.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';
import { cli, loadEngine, random, randomFragment } from './common.mjs';

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
