'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { pictures: P } = require('../src/pictures.js');

const round = (b) => [b.x, b.y, b.w, b.h].map((v) => +v.toFixed(4));

test('a page keeps its shape, fitted and centred in its slot', () => {
  const portrait = 612 / 792;
  // A landscape table in a portrait book: full width, centred top to bottom.
  assert.deepStrictEqual(round(P.fitBox(portrait, 792 / 612)), [0, 0.2014, 1, 0.5971]);
  // A narrow page: full height, centred across.
  assert.deepStrictEqual(round(P.fitBox(portrait, 0.5)), [0.1765, 0, 0.6471, 1]);
  // The slot's own shape, give or take rounding to whole pixels, fills it.
  assert.deepStrictEqual(round(P.fitBox(portrait, 1220 / 1579)), [0, 0, 1, 1]);
  // Not known yet, or nonsense: the whole slot.
  for (const a of [0, NaN, -1, Infinity]) assert.deepStrictEqual(round(P.fitBox(portrait, a)), [0, 0, 1, 1]);
});

test('the zoom resource is taken only when zoomed in, from 150 % on', () => {
  const page = { hasLarge: true, zoom: 1 };
  const cases = [
    [{}, false],  // at 100 % the normal picture stands, even on a high-density screen
    [{ zoom: 1.5 }, true], [{ zoom: 2 }, true],
    [{ zoom: 4, hasLarge: false }, false]];  // a book without zoom pictures  // before the picture is known
  for (const [more, want] of cases) assert.strictEqual(P.wantsLarge(Object.assign({}, page, more)), want, JSON.stringify(more));
});

test('photographs from the page facts: positions in the book only, anything else ignored', () => {
  assert.deepStrictEqual(P.photos({ v: 1, photos: [1, 3, 3, -1, 4, 1.5, '2', null] }, 4), [false, true, false, true]);
  assert.deepStrictEqual(P.photos(null, 2), [false, false]);
  assert.deepStrictEqual(P.photos({ photos: 'all' }, 1), [false]);
});
