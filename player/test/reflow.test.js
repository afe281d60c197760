'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { textData } = require('../src/text_data.js');
const { reflow } = require('../src/reflow.js');

// Words laid out as lines: [y, [[text, flags], ...]], each word 0.1 wide along its line.
function page(lines, fs) {
  const w = [];
  for (const [y, words] of lines) words.forEach(([t, f], i) => w.push([t, 0.1 + i * 0.12, y, 0.1, 0.02, f || 0]));
  return textData.readWords({ v: 1, w, fs });
}

test('a page set anew: a heading, a paragraph joined across its lines and a cut word, a list', () => {
  const words = page([
    [0.05, [['Getting', 0], ['started', 3]]],
    [0.1, [['The', 0], ['command-', 5]]],
    [0.13, [['line', 0], ['tool', 0], ['is', 1]]],
    [0.16, [['small.', 3]]],
    [0.2, [['\u2022', 0], ['one', 1]]],
    [0.23, [['\u2022', 0], ['two', 1]]],
    [0.26, [['and', 0], ['more', 1]]],
    [0.29, [['2)', 0], ['three', 3]]]
  ], [[0, 18], [2, 10]]);
  assert.deepStrictEqual(reflow.structure(words), [
    { k: 'h2', t: 'Getting started' },
    { k: 'p', t: 'The commandline tool is small.' },
    { k: 'li', m: '\u2022', t: 'one' },
    { k: 'li', m: '\u2022', t: 'two and more' },
    { k: 'li', m: '2)', t: 'three' }
  ]);
});

test('without font sizes (older books) there are no headings; a lone marker stays text', () => {
  const words = page([[0.05, [['Title', 3]]], [0.1, [['-', 1]]], [0.13, [['A', 0], ['line', 3]]]]);
  assert.deepStrictEqual(reflow.structure(words), [{ k: 'p', t: 'Title' }, { k: 'p', t: '- A line' }]);
  assert.deepStrictEqual(reflow.structure([]), []);
  assert.deepStrictEqual(reflow.structure(null), []);
});

test('a long block in a larger size is body text, not a heading', () => {
  const long = Array.from({ length: 30 }, (_, i) => ['w' + i, i === 29 ? 3 : 0]);
  const words = page([[0.05, long], [0.5, [['small', 3]]]], [[0, 14], [30, 9]]);
  assert.deepStrictEqual(reflow.structure(words).map((e) => e.k), ['p', 'p']);
});
