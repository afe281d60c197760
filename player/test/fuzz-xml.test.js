'use strict';
/* Damaged book.xml text: the reader must refuse it with its own error or read it,
 * never fail in another way, and it must read it the same whether link areas are
 * taken in one match (the shape the publisher writes), checked tag by tag and read
 * later, or read at once. The committed inputs in fuzz/corpus/player_xml/ are tried
 * first, then mutations for a short while on every test run (tools/fuzz.js names the
 * settings; scripts/run-fuzzers.sh runs longer). */
const test = require('node:test');
const assert = require('node:assert');
const M = require('../src/model.js');
const X = require('../src/xml.js');
const { SECONDS, SEED, generator, keep, corpus } = require('../tools/fuzz.js');

const OWN_ERROR = /^book\.xml (is not well-formed: .* \(line \d+\)|has no flipbook element)$/;

// What a reading gives, in a form to compare: every link area included.
function outcome(read) {
  let book;
  try {
    book = read();
  } catch (e) {
    return e instanceof Error && OWN_ERROR.test(e.message) ? { refused: true } : { fault: String(e && e.stack || e) };
  }
  const links = book.pages.map((p, i) => book.linksOf(i));
  return { read: JSON.stringify([book.settings, book.pages, book.toc, links]) };
}

// Null when the three readings agree and each answered properly, otherwise what went wrong.
function fault(text) {
  const ways = [
    outcome(() => M.parseBookXml(text)),
    outcome(() => M.buildBookModel(X.readXml(text, { pageAnnos: true }))),
    outcome(() => M.buildBookModel(X.readXml(text)))
  ];
  const bad = ways.find((w) => w.fault);
  if (bad) return bad.fault;
  if (!ways.every((w) => w.refused === ways[0].refused && w.read === ways[0].read)) {
    return 'readings differ: ' + ways.map((w) => w.refused ? 'refused' : 'read').join(', ');
  }
  return null;
}

const SNIPPETS = ['<', '>', '&', '&amp;', '&#0;', '&#x41;', '&nbsp;', ']]>', '<![CDATA[', '<!--', '-->', '"', "'",
  '</anno>', '<anno>', '/>', '=', ' ', '\n', '\t', '<?x ?>', '<?xml ?>', '<!DOCTYPE x>', '\u0001', '\ud800', '\u00e9',
  '<pageAnnos pageIndex="1">', '</pageAnnos>', '<location x="1" x="1"/>', '<url>', '</url>', 'pageIndex="2"'];

function mutate(text, g) {
  let t = text;
  const rounds = 1 + g.below(3);
  for (let r = 0; r < rounds; r++) {
    const at = g.below(t.length + 1);
    switch (g.below(5)) {
      case 0: t = t.slice(0, at) + SNIPPETS[g.below(SNIPPETS.length)] + t.slice(at); break;
      case 1: t = t.slice(0, at) + t.slice(at + 1 + g.below(32)); break;
      case 2: { const len = 1 + g.below(200); t = t.slice(0, at) + t.slice(at, at + len) + t.slice(at); break; }
      case 3: t = t.slice(0, at) + String.fromCharCode(32 + g.below(95)) + t.slice(at + 1); break;
      default: { const q = t.indexOf('"', at); if (q >= 0) t = t.slice(0, q) + "'" + t.slice(q + 1); break; }
    }
  }
  return t;
}

test('committed book.xml inputs are read the same every way', () => {
  const inputs = corpus('player_xml');
  assert.ok(inputs.length > 0, 'no committed inputs');
  for (const [name, bytes] of inputs) {
    const text = bytes.toString('utf8');
    assert.strictEqual(fault(text), null, name);
    assert.ok(!outcome(() => M.parseBookXml(text)).refused, name + ' is read');
  }
});

test('damaged book.xml is refused or read the same every way', (t) => {
  const g = generator(SEED);
  const seeds = corpus('player_xml').map(([, bytes]) => bytes.toString('utf8'));
  const end = Date.now() + SECONDS * 1000;
  let tried = 0, refused = 0;
  while (Date.now() < end) {
    const text = mutate(seeds[g.below(seeds.length)], g);
    const why = fault(text);
    tried++;
    if (why !== null) {
      const file = keep('player_xml', Buffer.from(text, 'utf8'));
      assert.fail('input ' + tried + ' (seed ' + SEED + (file ? ', kept in ' + file : '') + '): ' + why);
    }
    if (outcome(() => M.parseBookXml(text)).refused) refused++;
  }
  t.diagnostic('inputs tried: ' + tried + ', refused: ' + refused);
});
