'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { contents: C } = require('../src/contents.js');

test('the current section is the last one starting on or before the page', () => {
  // Cover 0, chapter 1 at 2 with sections at 2 and 5, chapter 2 at 9, an entry leading nowhere.
  const pages = [0, 2, 2, 5, 9, -1];
  assert.deepStrictEqual([0, 1, 2, 4, 5, 8, 9, 200].map((p) => C.currentIndex(pages, p)), [0, 0, 2, 2, 3, 3, 4, 4]);
  assert.strictEqual(C.currentIndex([3, 4], 1), -1, 'before the first section');
  assert.strictEqual(C.currentIndex([7, 3], 8), 0, 'entries out of page order: the latest start wins');
});

test('keys move within the list and stop at its ends', () => {
  const move = (key, i) => C.moveIndex(key, i, 30, 8);
  assert.deepStrictEqual(['ArrowDown', 'ArrowUp', 'PageDown', 'PageUp', 'Home', 'End'].map((k) => move(k, 10)), [11, 9, 18, 2, 0, 29]);
  assert.deepStrictEqual([move('ArrowUp', 0), move('ArrowDown', 29), move('PageDown', 25), move('PageUp', 3)], [0, 29, 29, 0]);
  assert.strictEqual(move('Enter', 4), -1, 'other keys are left to the entry');
});
