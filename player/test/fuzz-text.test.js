'use strict';
/* Damaged page text (files/text/N.js payloads): reading the words, setting them anew
 * for the reading view and for a voice must answer for any payload, never throw or
 * run away, and only ever give back words the payload holds. The committed inputs in
 * fuzz/corpus/player_text/ are tried first, then mutations for a short while
 * (tools/fuzz.js names the settings; scripts/run-fuzzers.sh runs longer). */
const test = require('node:test');
const assert = require('node:assert');
const { textData } = require('../src/text_data.js');
const { reflow } = require('../src/reflow.js');
const { SECONDS, SEED, generator, keep, corpus } = require('../tools/fuzz.js');

// Null when every reader answers properly, otherwise what went wrong.
function fault(payload) {
  try {
    const words = textData.readWords(payload);
    if (words === null) return null;
    const texts = new Set(words.filter(Boolean).map((w) => w.t.replace(/[-\u00ad\u2010]$/, '')));
    textData.joinWords(words);
    for (const e of reflow.structure(words)) {
      if (!['h2', 'h3', 'p', 'li'].includes(e.k) || typeof e.t !== 'string') return 'a strange entry: ' + JSON.stringify(e);
      for (const part of e.t.split(' ')) {
        if (part && ![...texts].some((t) => part.includes(t) || t.includes(part))) return 'a word from nowhere: ' + part;
      }
    }
    const said = textData.spoken(words);
    if (said.starts.length !== words.filter(Boolean).length) return 'a word left unspoken';
    for (let o = -1; o <= said.text.length; o += 7) textData.wordAt(said, o);
    return null;
  } catch (e) {
    return String(e && e.stack || e);
  }
}

const ODD = [null, -1, 0, 1, 2, 3, 4, 5, 8, 16, 31, 255, -0.5, 1e9, 'x', '', [], {}, true, 0.5];

function mutate(payload, g) {
  const p = JSON.parse(JSON.stringify(payload));
  const pick = () => ODD[g.below(ODD.length)];
  const rounds = 1 + g.below(4);
  for (let r = 0; r < rounds; r++) {
    const w = Array.isArray(p.w) ? p.w : (p.w = []);
    switch (g.below(6)) {
      case 0: if (w.length) w.splice(g.below(w.length), 1); break;
      case 1: if (w.length) w.splice(g.below(w.length), 0, w[g.below(w.length)]); break;
      case 2: if (w.length && Array.isArray(w[0])) { const e = w[g.below(w.length)]; if (Array.isArray(e)) e[g.below(6)] = pick(); } break;
      case 3: w.splice(g.below(w.length + 1), 0, ['\u2022', g.below(100) / 100, g.below(100) / 100, 0.02, 0.014, g.below(32)]); break;
      case 4: p.fs = g.below(2) ? [[g.below(w.length + 1), pick()], [pick(), 30]] : pick(); break;
      default: p.w = g.below(4) ? w : pick(); break;
    }
  }
  return p;
}

test('committed page texts are read, set anew and spoken', () => {
  const inputs = corpus('player_text');
  assert.ok(inputs.length > 0, 'no committed inputs');
  for (const [name, bytes] of inputs) assert.strictEqual(fault(JSON.parse(bytes.toString('utf8'))), null, name);
});

test('damaged page texts get an answer from every reader', (t) => {
  const g = generator(SEED);
  const seeds = corpus('player_text').map(([, bytes]) => JSON.parse(bytes.toString('utf8')));
  const end = Date.now() + SECONDS * 1000;
  let tried = 0;
  while (Date.now() < end) {
    const payload = mutate(seeds[g.below(seeds.length)], g);
    const why = fault(payload);
    tried++;
    if (why !== null) {
      const file = keep('player_text', Buffer.from(JSON.stringify(payload), 'utf8'));
      assert.fail('input ' + tried + ' (seed ' + SEED + (file ? ', kept in ' + file : '') + '): ' + why);
    }
  }
  t.diagnostic('inputs tried: ' + tried);
});
