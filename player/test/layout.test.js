'use strict';
const test = require('node:test');
const assert = require('node:assert');
const L = require('../src/layout.js');

test('spreads: cover alone, then pairs; single-page mode one page each', () => {
  assert.deepStrictEqual([0, 1, 2, 3, 4, 5].map((n) => L.spreadCount(n, false)), [0, 1, 2, 2, 3, 3]);
  assert.strictEqual(L.spreadCount(5, true), 5);
  assert.deepStrictEqual([0, 1, 2, 3, 4].map((s) => L.spreadPages(s, 6, false)), [[-1, 0], [1, 2], [3, 4], [5, -1], [-1, -1]]);
  assert.deepStrictEqual([0, 1, 2, 3, 4, 5].map((p) => L.spreadOfPage(p, 6, false)), [0, 1, 1, 2, 2, 3]);
  assert.deepStrictEqual([-3, 0, 4, 99].map((p) => L.spreadOfPage(p, 6, true)), [0, 0, 4, 5]);
});

test('what the reader sees, left to right and right to left', () => {
  const ltr = (s) => { const v = L.spreadView(s, 5, false, false); return [v.left, v.right, v.shift]; };
  const rtl = (s) => { const v = L.spreadView(s, 5, false, true); return [v.left, v.right, v.shift]; };
  // The lone cover sits in the middle: the book moves a quarter of its width.
  assert.deepStrictEqual([0, 1, 2].map(ltr), [[-1, 0, -0.25], [1, 2, 0], [3, 4, 0]]);
  assert.deepStrictEqual([0, 1, 2].map(rtl), [[0, -1, 0.25], [2, 1, 0], [4, 3, 0]]);
  const even = L.spreadView(2, 4, false, false);
  assert.deepStrictEqual([even.left, even.right, even.shift, even.pages], [3, -1, 0.25, [3]]);
  const single = L.spreadView(3, 5, true, true);
  assert.deepStrictEqual([single.single, single.pages, single.shift], [3, [3], 0]);
});

test('turn plans put the right pages on the leaf and under it', () => {
  const hard = (p) => p === 0 || p === 5;
  const pick = (p) => [p.side, p.fromAngle, p.toAngle, p.front, p.back, p.underLeft, p.underRight, p.hard];
  // Left to right, forward from the cover: the cover turns over to show page 1.
  assert.deepStrictEqual(pick(L.turnPlan(0, 1, 6, false, false, hard)), ['right', 0, 180, 0, 1, -1, 2, true]);
  // Backward is the same leaf played the other way.
  assert.deepStrictEqual(pick(L.turnPlan(1, 0, 6, false, false, hard)), ['right', 180, 0, 0, 1, -1, 2, true]);
  assert.deepStrictEqual(pick(L.turnPlan(1, 2, 6, false, false, hard)), ['right', 0, 180, 2, 3, 1, 4, false]);
  // A jump over several spreads turns one leaf between the two spreads.
  assert.deepStrictEqual(pick(L.turnPlan(1, 3, 6, false, false, hard)), ['right', 0, 180, 2, 5, 1, -1, true]);
  // Right to left: the leaf starts on the left and turns to the right.
  assert.deepStrictEqual(pick(L.turnPlan(0, 1, 6, false, true, hard)), ['left', 0, 180, 0, 1, 2, -1, true]);
  assert.deepStrictEqual(pick(L.turnPlan(2, 1, 6, false, true, hard)), ['left', 180, 0, 2, 3, 4, 1, false]);
  const single = L.turnPlan(3, 2, 6, true, false, hard);
  assert.deepStrictEqual([single.front, single.under, single.fromAngle], [2, 3, 180]);
  assert.strictEqual(L.turnPlan(2, 2, 6, false, false), null);
});

test('the leaf follows the pointer; a soft page bends but lies flat at both ends', () => {
  const angle = (a) => L.angleFromPointer(...a);
  assert.deepStrictEqual([[600, 300, 300, 'right'], [-50, 300, 300, 'right'], [0, 300, 300, 'left'], [10, 0, 0, 'right']].map(angle),
    [0, 180, 0, 0]);
  assert.deepStrictEqual([[300, 300, 300, 'right'], [450, 300, 300, 'left']].map((a) => Math.round(angle(a))), [90, 120]);
  const sum = (a) => a.reduce((x, y) => x + y, 0);
  for (const theta of [0, 30, 90, 150, 180]) {
    const d = L.stripAngles(theta, 8, 38);
    assert.strictEqual(d.length, 8);
    assert.ok(d.every((x) => x >= 0), 'strips never fold back at ' + theta);
    assert.ok(sum(d) <= 180 + 1e-9);
    if (theta === 0 || theta === 180) assert.ok(Math.abs(sum(d) - theta) < 1e-9 && d.slice(1).every((x) => Math.abs(x) < 1e-9));
  }
  assert.ok(sum(L.stripAngles(90, 8, 38)) > 90, 'the free edge leads in mid-turn');
  assert.deepStrictEqual(L.stripAngles(75, 1, 38), [75]);
});

test('layout: single page on narrow or portrait screens, pages fit the stage', () => {
  const a = 612 / 792;
  assert.deepStrictEqual([[1280, 720], [768, 1024], [500, 300]].map(([w, h]) => L.useSinglePage(w, h, a)), [false, true, true]);
  assert.deepStrictEqual(L.fitPage(1000, 600, 0.5, false), { width: 300, height: 600 });
  assert.deepStrictEqual(L.fitPage(1000, 900, 1, false), { width: 500, height: 500 });
  assert.deepStrictEqual(L.fitPage(400, 900, 0.8, true), { width: 400, height: 500 });
});

test('deep links and page labels', () => {
  assert.deepStrictEqual(['#page=3', '#zoom=2&page=10', '#page=11', '#page=0', '#page=3x', ''].map((h) => L.pageFromHash(h, 10)),
    [2, 9, -1, -1, -1, -1]);
  const v = L.spreadView(2, 10, false, true);
  assert.deepStrictEqual([L.hashPageFor(v, 4), L.hashPageFor(v, 7)], [4, 3]);
});

test('only pages near the open spread are fetched, whatever the book size', () => {
  assert.deepStrictEqual(L.nearbyPages(0, 2000, false, 2), [0, 1, 2, 3, 4]);
  const mid = L.nearbyPages(500, 2000, false, 2);
  assert.deepStrictEqual(mid.slice().sort((a, b) => a - b), [995, 996, 997, 998, 999, 1000, 1001, 1002, 1003, 1004]);
  assert.deepStrictEqual(L.nearbyPages(1, 3, true, 2).sort(), [0, 1, 2]);
});
