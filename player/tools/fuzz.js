'use strict';
/* What the player's fuzz tests share (test/fuzz-*.test.js): a seeded generator, the
 * run's settings from the environment, and keeping an input that fails.
 *   FOLIVOX_FUZZ_SECONDS  how long to mutate (default 2; scripts/run-fuzzers.sh runs longer)
 *   FOLIVOX_FUZZ_SEED     repeats a run
 *   FOLIVOX_FUZZ_FINDINGS a folder that keeps the inputs that fail */
const crypto = require('node:crypto');
const fs = require('node:fs');
const path = require('node:path');

const SECONDS = Number(process.env.FOLIVOX_FUZZ_SECONDS || 2);
const SEED = Number(process.env.FOLIVOX_FUZZ_SEED || 20240607);
const FINDINGS = process.env.FOLIVOX_FUZZ_FINDINGS || '';

// xorshift32: the same seed gives the same inputs.
function generator(seed) {
  let x = seed >>> 0 || 1;
  const next = () => {
    x ^= x << 13; x >>>= 0;
    x ^= x >>> 17;
    x ^= x << 5; x >>>= 0;
    return x;
  };
  return { next, below: (n) => next() % n };
}

// Saves a failing input for the target; returns its path, or '' without a findings folder.
function keep(target, bytes) {
  if (!FINDINGS) return '';
  fs.mkdirSync(FINDINGS, { recursive: true });
  const file = path.join(FINDINGS, target + '-' + crypto.createHash('sha1').update(bytes).digest('hex'));
  fs.writeFileSync(file, bytes);
  return file;
}

// The committed inputs of a target, as [name, bytes], in name order.
function corpus(target) {
  const dir = path.join(__dirname, '..', '..', 'fuzz', 'corpus', target);
  const names = fs.existsSync(dir) ? fs.readdirSync(dir).sort() : [];
  return names.map((name) => [name, fs.readFileSync(path.join(dir, name))]);
}

module.exports = { SECONDS, SEED, FINDINGS, generator, keep, corpus };
