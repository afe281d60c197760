'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { labels: L } = require('../src/labels.js');
const { testLabels } = require('../tools/make-test-book.js');

test('labels from pages.js are cleaned, and a book without any has none', () => {
  // Nothing, no list, not a list, only empty labels.
  for (const p of [null, { v: 1 }, { v: 1, labels: 'i,ii' }, { v: 1, labels: ['', ' ', null] }]) assert.strictEqual(L.cleanLabels(p, 3), null);
  assert.deepStrictEqual(L.cleanLabels({ v: 1, labels: [' i ', 7, 'a\u0000b\n c', 'x'.repeat(50), 'extra'] }, 4),
    ['i', '', 'a b c', 'x'.repeat(32)]);
  assert.deepStrictEqual(L.cleanLabels({ v: 1, labels: ['A-1'] }, 3), ['A-1', '', ''], 'a short list leaves the rest unlabelled');
});

test('a page shows its printed label, or its position without one', () => {
  const labelled = L.createLabels(L.cleanLabels({ v: 1, labels: testLabels(12) }, 12), 12);
  assert.deepStrictEqual([0, 3, 4, 9, 10, 11].map(labelled.labelOf), ['i', 'iv', '1', '6', 'A-1', 'A-2']);
  assert.deepStrictEqual([labelled.rangeOf([4, 3]), labelled.rangeOf([0]), labelled.rangeOf([])], ['iv\u20131', 'i', '']);
  const plain = L.createLabels(null, 2000);
  assert.ok(!plain.has);
  assert.deepStrictEqual([plain.labelOf(0), plain.rangeOf([1000, 999])], ['1', '1000\u20131001']);
  const gaps = L.createLabels(['', 'ii', ''], 3);
  assert.deepStrictEqual([0, 1, 2].map(gaps.labelOf), ['1', 'ii', '3']);
});

test('typing a printed label goes to its page; a number without a label counts positions', () => {
  const b = L.createLabels(L.cleanLabels({ v: 1, labels: testLabels(12) }, 12), 12);
  assert.deepStrictEqual(['iii', ' IV ', '2', 'a-2', '12', '13', '0', 'v', '', '2.5'].map(b.find),
    [2, 3, 5, 11, 11, -1, -1, -1, -1, -1]);
  assert.deepStrictEqual(['1', '2000', '2001', '-1'].map(L.createLabels(null, 2000).find), [0, 1999, -1, -1]);
});

test('the page field is wide enough for the widest label or pair', () => {
  assert.deepStrictEqual([L.createLabels(null, 2000).widest(false), L.createLabels(null, 2000).widest(true)], [9, 4]);
  assert.strictEqual(L.createLabels(['Appendix-1', 'x'], 2).widest(false), 21);
});
