'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { createBus } = require('../src/events.js');
const { createReader } = require('../src/reader.js');
const { readerOver } = require('../tools/fixtures.js');

// A reader over n plain pages, with the events it emitted.
function open(n, more) {
  const { bus, reader } = readerOver(n, more);
  const seen = [];
  for (const name of ['spreadchange', 'zoomchange', 'turnstart']) bus.on(name, (e) => seen.push([name, e]));
  return { bus, reader, seen, names: () => seen.map((s) => s[0]) };
}

// Stands in for the turning leaf: shows each turn until told to land it.
function fakeLeaf(reader) {
  const leaf = { running: null, finished: 0 };
  reader.setTurner({
    turn(plan) { leaf.running = plan; return true; },
    finish() { leaf.finished++; leaf.land(); }
  });
  leaf.land = () => {
    const p = leaf.running;
    leaf.running = null;
    if (p) reader.land(p.targetSpread);
  };
  return leaf;
}

test('bus: handlers run in order, unsubscribe, and unknown names throw', () => {
  const bus = createBus();
  const got = [];
  const off = bus.on('layout', () => got.push('a'));
  bus.on('layout', () => { got.push('b'); off(); });
  bus.emit('layout');
  bus.emit('layout');
  assert.deepStrictEqual(got, ['a', 'b', 'b']);
  assert.throws(() => bus.on('spreadchanged', () => {}), /unknown event "spreadchanged"/);
  assert.throws(() => bus.emit('zoom'), /unknown event/);
});

test('without a turner a step lands at once and stops at both ends', () => {
  const { reader, names } = open(6);
  reader.step(-1);
  assert.strictEqual(reader.spread(), 0);
  reader.step(1);
  assert.deepStrictEqual([reader.spread(), reader.anchor(), reader.view().pages], [1, 1, [1, 2]]);
  assert.deepStrictEqual(names(), ['turnstart', 'spreadchange']);
  reader.step(1); reader.step(1); reader.step(1);
  assert.deepStrictEqual([reader.spread(), reader.spreads()], [3, 4]);
});

test('a turn lands when the leaf is down; a new request lands the running one first', () => {
  const { reader } = open(10);
  const leaf = fakeLeaf(reader);
  reader.step(1);
  assert.strictEqual(reader.spread(), 0, 'the spread changes when the leaf is down');
  assert.strictEqual(leaf.running.targetSpread, 1);
  reader.step(1);
  assert.deepStrictEqual([reader.spread(), leaf.running.targetSpread], [1, 2], 'the first turn landed, the second runs');
  reader.goTo(9);
  assert.deepStrictEqual([reader.spread(), reader.anchor(), leaf.running.targetSpread], [2, 9, 5]);
  leaf.land();
  assert.deepStrictEqual(reader.view().pages, [9]);
});

test('the anchored page stays while in view, and follows the page mode', () => {
  const { reader, seen } = open(10, { startPage: 4 });
  reader.setSingle(false, true);
  assert.deepStrictEqual([reader.spread(), reader.anchor()], [2, 4]);
  reader.goTo(3);
  assert.deepStrictEqual([reader.spread(), reader.anchor()], [2, 3], 'the same spread: no turn, the anchor moves');
  assert.deepStrictEqual(seen.map((s) => s[0]), ['spreadchange']);
  assert.strictEqual(seen[0][1].anchor, 3);
  assert.ok(reader.setSingle(true));
  assert.deepStrictEqual([reader.spread(), reader.view().pages], [3, [3]], 'one page at a time keeps the anchored page');
  assert.ok(!reader.setSingle(true));
  reader.step(1);
  assert.strictEqual(reader.anchor(), 4);
  reader.setSingle(false);
  reader.show();
  assert.deepStrictEqual([reader.spread(), reader.anchor()], [2, 4]);
  reader.goTo(10); reader.goTo(-1); reader.goTo(NaN);
  assert.strictEqual(reader.spread(), 2, 'pages outside the book are ignored');
  assert.strictEqual(createReader({ pages: [{}, {}], bus: createBus(), startPage: 7 }).anchor(), 0);
});

test('zoom stays within its steps and announces only changes', () => {
  const { reader, seen } = open(4);
  reader.zoomBy(-1);
  reader.zoomBy(1);
  for (let i = 0; i < 9; i++) reader.zoomBy(1);
  assert.strictEqual(reader.zoom(), reader.maxZoom);
  reader.setZoom(0);
  const zooms = seen.filter((s) => s[0] === 'zoomchange').map((s) => s[1].factor);
  assert.deepStrictEqual(zooms, [1.5, 2, 3, 4, 1]);
});

test('hard pages: marked ones, and the covers of a hard-cover book', () => {
  const pages = [{}, { hard: true }, {}, {}];
  const soft = createReader({ pages, bus: createBus() });
  const cover = createReader({ pages, bus: createBus(), hardCover: true });
  assert.deepStrictEqual([0, 1, 2, 3].map(soft.isHard), [false, true, false, false]);
  assert.deepStrictEqual([0, 1, 2, 3].map(cover.isHard), [true, true, false, true]);
});
