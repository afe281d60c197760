'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { gestures: G } = require('../src/gestures.js');

test('a press is a tap until it moves; it drags once it moves sideways', () => {
  assert.ok(G.isTap(3, 4, 200));
  assert.ok(!G.isTap(5, 4, 200), 'moved 9 px in all');
  assert.ok(!G.isTap(0, 0, 700), 'held too long');
  assert.ok(G.startsDrag(-8, 8));
  assert.ok(!G.startsDrag(7, 0));
  assert.ok(!G.startsDrag(10, 11), 'mostly up or down: a scroll, not a turn');
});

test('grabbing the right side turns forward, unless the book reads right to left', () => {
  assert.strictEqual(G.sideAt(299, 600), 'left');
  assert.strictEqual(G.sideAt(300, 600), 'right');
  assert.deepStrictEqual(['left', 'right'].map((s) => G.directionForSide(s, false)), [-1, 1]);
  assert.deepStrictEqual(['left', 'right'].map((s) => G.directionForSide(s, true)), [1, -1]);
});

// A two-page book 2 x 300 px wide from x = 100, spine at 400; a forward turn of a
// right-hand leaf starts with its edge at the book's right edge.
const forward = { side: 'right', fromAngle: 0, toAngle: 180 };
const backward = { side: 'right', fromAngle: 180, toAngle: 0 };
const hinge = G.hingeX(100, 700, forward, false, 300);

// Lets go of a leaf whose edge went through `edges`, msApart each, `heldMs` after the last.
function release(plan, edges, msApart, heldMs, pageW) {
  const samples = [];
  edges.forEach((e, i) => G.track(samples, i * msApart, e));
  const w = pageW || 300;
  const at = G.hingeX(100, 100 + 2 * w, plan, false, w);
  return G.releaseCompletes(samples, G.grabEdge(plan, at, w), at, w, plan, (edges.length - 1) * msApart + (heldMs || 0));
}

test('a released leaf completes past a quarter of the page, or when flicked', () => {
  assert.strictEqual(hinge, 400);
  assert.strictEqual(G.grabEdge(forward, hinge, 300), 700);
  assert.strictEqual(G.grabEdge(backward, hinge, 300), 100);
  assert.ok(release(forward, [700, 600, 450, 380], 100), 'slowly past the spine');
  assert.ok(release(forward, [700, 660, 620], 200), 'slowly past a quarter of the page');
  assert.ok(!release(forward, [700, 680, 660, 640], 100), 'slowly, let go before a quarter: falls back');
  assert.ok(release(forward, [700, 690, 670], 16), 'a short quick flick, tens of pixels');
  assert.ok(!release(forward, [700, 695], 5), 'a twitch is no flick');
  assert.ok(!release(forward, [380, 450, 560], 10), 'flicked back from past the middle: falls back');
  assert.ok(!release(forward, [700, 690, 670], 16, 300), 'a flick held still before letting go is a short drag');
  assert.ok(release(backward, [100, 200, 300, 420], 100), 'backward turn past the spine');
  assert.ok(!release(forward, [], 0), 'no movement sampled: the edge stays where it was grabbed');
  const single = G.hingeX(100, 400, forward, true, 300);
  assert.deepStrictEqual([single, G.hingeX(100, 400, { side: 'left' }, true, 300)], [100, 400]);
});

test('on a phone a 240 px drag on a 357 px page turns it', () => {
  const w = 357, at = G.hingeX(16, 16 + w, forward, true, w);
  const samples = [];
  [373, 300, 220, 133].forEach((e, i) => G.track(samples, i * 150, e));
  assert.ok(G.releaseCompletes(samples, G.grabEdge(forward, at, w), at, w, forward, 450));
});

test('two taps close together are a double tap; a pinch asks for the nearest zoom level', () => {
  const first = { t: 0, x: 100, y: 100 };
  assert.ok(G.isDoubleTap(first, 250, 110, 95));
  assert.ok(!G.isDoubleTap(first, 350, 100, 100), 'too late');
  assert.ok(!G.isDoubleTap(first, 100, 140, 100), 'too far');
  assert.ok(!G.isDoubleTap(null, 100, 100, 100));
  const factors = [1, 1.5, 2, 3, 4];
  assert.deepStrictEqual([[0, 100, 200], [2, 200, 100], [0, 100, 130], [0, 100, 1000], [1, 100, 100], [0, 0, 50]]
    .map(([from, d0, d]) => G.pinchLevel(factors, from, d0, d)), [2, 0, 1, 4, 1, 0]);
});

test('only the last samples count, and the leaf falls at the turn speed', () => {
  const samples = [];
  for (let i = 0; i < 10; i++) G.track(samples, i, i);
  assert.deepStrictEqual(samples.map((s) => s.e), [4, 5, 6, 7, 8, 9]);
  assert.strictEqual(G.settleMs(0, 180, 800), 800);
  assert.strictEqual(G.settleMs(170, 180, 800), 120);
});
