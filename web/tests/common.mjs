// What the web tests share: the wasm engine under node, the native
// payslip-cli to compare with, random situations, the site on a local server.
import { execFile, spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { promisify } from 'node:util';
import { wrap } from '../engine.js';

export const build = process.env.WEB_BUILD;
const require = createRequire(import.meta.url);
// The npm packages of the tests (web/package.json), installed in the build folder.
export const npm = createRequire(`${build}/npm/`);

export async function loadEngine() {
  const factory = require(`${build}/web/payslip-engine.js`);
  return wrap(await factory({ wasmBinary: readFileSync(`${build}/web/payslip-engine.wasm`) }));
}

// payslip-cli's options for a situation as the link gives it: the same
// names; the check box as a flag.
export function argsOf(situation, inputs) {
  return inputs.flatMap(({ name, kind, values }) => {
    if (kind === 'check') return [situation[name] === values[1] ? `--${name}` : `--no-${name}`];
    return [`--${name}`, situation[name]];
  });
}

// payslip-cli --json --explain for a situation: its JSON, or its exit
// status and message when it computes no slip.
export async function cli(situation, inputs) {
  try {
    const { stdout } = await promisify(execFile)(process.env.PAYSLIP_CLI, ['--json', '--explain', ...argsOf(situation, inputs)]);
    return JSON.parse(stdout);
  } catch (failure) {
    return { exit: failure.code, message: failure.stderr };
  }
}

// payslip-cli COMMAND --json for a situation and the command's own words
// (compare --to …, check --official …): its JSON (check's too when it exits
// 3, a line differing), or its exit status and message when it prints none.
export async function cliCommand(command, situation, inputs, words = []) {
  try {
    const { stdout } = await promisify(execFile)(process.env.PAYSLIP_CLI, [command, '--json', ...argsOf(situation, inputs), ...words]);
    return JSON.parse(stdout);
  } catch (failure) {
    if (failure.code === 3 && failure.stdout) return JSON.parse(failure.stdout);
    return { exit: failure.code, message: failure.stderr };
  }
}

// A seeded generator, so that a failure can be run again.
export function random(seed) {
  return () => {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// Typed texts as people type them, and some as only a link can carry.
const typed = [
  () => '0', () => '', () => '12abc', () => '3,5', () => ' 1 250', () => '-5', () => '1e5', () => '1e999',
  (r) => String(Math.floor(r() * 100)), (r) => String(Math.floor(r() * 100000)),
  (r) => (r() * 60000).toFixed(Math.floor(r() * 4)), (r) => String(Math.floor(r() * 1e17)),
];

// A random situation's link: a value of every list, random typed texts.
export function randomFragment(inputs, r) {
  return inputs
    .map(({ name, kind, values }) => {
      const value =
        kind === 'typed' ? typed[Math.floor(r() * typed.length)](r) : values[Math.floor(r() * values.length)];
      return `${name}=${encodeURIComponent(value)}`;
    })
    .join('&');
}

// The site on 127.0.0.1, on a free port.
export async function serve() {
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', `${build}/site`]);
  const port = await new Promise((resolve, reject) => {
    server.stdout.on('data', (data) => {
      const found = /port (\d+)/.exec(String(data));
      if (found) resolve(found[1]);
    });
    server.on('exit', reject);
  });
  return { url: `http://127.0.0.1:${port}/`, close: () => server.kill() };
}
