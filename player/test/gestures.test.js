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

function release(plan, edges, msApart) {
  const samples = [];
  edges.forEach((e, i) => G.track(samples, i * msApart, e));
  return G.releaseCompletes(samples, G.grabEdge(plan, hinge, 300), hinge, 300, plan);
}

test('a released leaf completes past the middle or when flicked', () => {
  assert.strictEqual(hinge, 400);
  assert.strictEqual(G.grabEdge(forward, hinge, 300), 700);
  assert.strictEqual(G.grabEdge(backward, hinge, 300), 100);
  assert.ok(release(forward, [700, 600, 450, 380], 100), 'slowly past the spine');
  assert.ok(!release(forward, [700, 650, 600, 560], 100), 'slowly, let go early: falls back');
  assert.ok(release(forward, [700, 640, 560], 10), 'a quick flick completes short of the middle');
  assert.ok(!release(forward, [380, 450, 560], 10), 'flicked back from past the middle: falls back');
  assert.ok(release(backward, [100, 200, 300, 420], 100), 'backward turn past the spine');
  assert.ok(!release(forward, [], 0), 'no movement sampled: the edge stays where it was grabbed');
  const single = G.hingeX(100, 400, forward, true, 300);
  assert.deepStrictEqual([single, G.hingeX(100, 400, { side: 'left' }, true, 300)], [100, 400]);
});

test('only the last samples count, and the leaf falls at the turn speed', () => {
  const samples = [];
  for (let i = 0; i < 10; i++) G.track(samples, i, i);
  assert.deepStrictEqual(samples.map((s) => s.e), [4, 5, 6, 7, 8, 9]);
  assert.strictEqual(G.settleMs(0, 180, 800), 800);
  assert.strictEqual(G.settleMs(170, 180, 800), 120);
});
