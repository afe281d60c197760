'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { keys } = require('../src/keys.js');

const press = (key, more) => Object.assign({ key, target: { tagName: 'BODY' } }, more);
const ltr = { rightToLeft: false, zoomed: false, zoomKeys: true };

test('arrow keys follow the direction the book opens', () => {
  const rtl = Object.assign({}, ltr, { rightToLeft: true });
  assert.deepStrictEqual(['ArrowRight', 'ArrowLeft'].map((k) => keys.actionFor(press(k), ltr)), ['next', 'previous']);
  assert.deepStrictEqual(['ArrowRight', 'ArrowLeft'].map((k) => keys.actionFor(press(k), rtl)), ['previous', 'next']);
  // Page keys, Home and End count in reading order whatever the direction.
  assert.deepStrictEqual(['PageDown', 'PageUp', 'Home', 'End'].map((k) => keys.actionFor(press(k), rtl)), ['next', 'previous', 'first', 'last']);
  assert.strictEqual(keys.actionFor(press(' ', { shiftKey: true }), ltr), 'previous');
});

test('keys stay with fields, browser shortcuts and zoomed scrolling', () => {
  const kept = [['ArrowRight', { target: { tagName: 'INPUT' } }], ['ArrowRight', { target: { tagName: 'textarea' } }],
    ['ArrowRight', { target: { tagName: 'SELECT' } }], ['Home', { target: { tagName: 'DIV', isContentEditable: true } }],
    ['ArrowRight', { ctrlKey: true }], ['ArrowRight', { altKey: true }], ['End', { defaultPrevented: true }],
    ['+', { ctrlKey: true }],  // browser zoom
    [' ', { target: { tagName: 'BUTTON' } }]];  // space presses a focused button; it turns the page elsewhere
  for (const [k, more] of kept) assert.strictEqual(keys.actionFor(press(k, more), ltr), null, k + ' ' + JSON.stringify(more));
  const zoomed = Object.assign({}, ltr, { zoomed: true });
  assert.deepStrictEqual(['ArrowDown', 'ArrowUp', ' '].map((k) => keys.actionFor(press(k), zoomed)), [null, null, null]);
  assert.deepStrictEqual(['ArrowRight', 'PageDown', '+', '='].map((k) => keys.actionFor(press(k), zoomed)), ['next', 'next', 'zoomIn', 'zoomIn']);
  assert.strictEqual(keys.actionFor(press('-'), Object.assign({}, ltr, { zoomKeys: false })), null, 'a book without zoom');
  assert.strictEqual(keys.actionFor(press('x'), ltr), null);
});

test('Escape closes the panel opened last, each once', () => {
  const panels = keys.createPanels();
  const closed = [];
  const panel = (name) => { const p = { close() { closed.push(name); panels.closed(p); } }; return p; };
  const contents = panel('contents'), strip = panel('thumbnails');
  panels.opened(contents);
  panels.opened(strip);
  panels.opened(contents);
  assert.strictEqual(panels.count(), 2, 'opening an open panel does not stack it twice');
  assert.ok(panels.closeTop());
  assert.ok(panels.closeTop());
  assert.ok(!panels.closeTop(), 'nothing left to close');
  assert.deepStrictEqual(closed, ['thumbnails', 'contents']);
  // A panel whose close() forgets to unregister is still closed only once.
  const careless = { close() { closed.push('careless'); } };
  panels.opened(careless);
  panels.closeTop();
  assert.ok(!panels.closeTop());
  assert.deepStrictEqual(closed.slice(-1), ['careless']);
});

test('Ctrl+F, Command+F and / open the search, Ctrl+A selects the words, only where the book has them', () => {
  const withText = Object.assign({}, ltr, { search: true, text: true });
  const f = (more, state) => keys.actionFor(press('f', more), state || withText);
  assert.deepStrictEqual([f({ ctrlKey: true }), f({ metaKey: true }), keys.actionFor(press('/'), withText)], ['search', 'search', 'search']);
  assert.strictEqual(f({ ctrlKey: true, key: 'F', shiftKey: true }), 'search', 'with Caps Lock or Shift');
  assert.strictEqual(keys.actionFor(press('a', { ctrlKey: true }), withText), 'selectText');
  // A book without text leaves the browser its own find and select all.
  assert.deepStrictEqual([f({ ctrlKey: true }, ltr), keys.actionFor(press('/'), ltr), keys.actionFor(press('a', { ctrlKey: true }), ltr)], [null, null, null]);
  // Typing in a field keeps the keys; Command with other keys stays the browser's.
  assert.strictEqual(keys.actionFor(press('/', { target: { tagName: 'INPUT' } }), withText), null);
  assert.strictEqual(f({}), null);
  assert.strictEqual(keys.actionFor(press('ArrowRight', { metaKey: true }), withText), null);
});
