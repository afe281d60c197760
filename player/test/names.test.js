'use strict';
// The scripts share one namespace object, so a misspelt F.name or event name would
// only fail when its line runs. Load the joined scripts as the page does and check
// every name they use.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const vm = require('node:vm');
const order = require('../tools/order.js');

const scripts = order.scripts().map((name) => ({ name, text: fs.readFileSync(path.join(order.src, name), 'utf8') }));

// Runs the scripts in order with just enough of a page for them to load (the reader
// itself starts on DOMContentLoaded, which never comes here).
function load() {
  const window = {};
  const document = { readyState: 'loading', addEventListener() {} };
  const context = vm.createContext({ window, document });
  for (const s of scripts) vm.runInContext(s.text, context, { filename: s.name });
  return window.Folivox;
}

test('every F.name the scripts use is defined, and so are the members used through it', () => {
  const F = load();
  const missing = [];
  for (const s of scripts) {
    // Local names for F itself or for one of its objects (var G = F.gestures).
    const aliases = new Map([['F', F]]);
    for (const m of s.text.matchAll(/var (\w+) = typeof module === 'object' && module\.exports \? require\([^)]*\) : F;/g)) aliases.set(m[1], F);
    for (const m of s.text.matchAll(/var (\w+) = F\.(\w+);/g)) aliases.set(m[1], F[m[2]]);
    for (const [alias, target] of aliases) {
      const re = new RegExp('(?<![\\w.$])' + alias + '\\.(\\w+)(?:\\.(\\w+))?(\\s*=(?!=))?', 'g');
      for (const m of s.text.matchAll(re)) {
        if (m[3] && !m[2]) continue; // a definition
        if (target === undefined || !(m[1] in Object(target))) missing.push(s.name + ': ' + alias + '.' + m[1]);
        else if (m[2] && typeof target[m[1]] === 'object' && !(m[2] in target[m[1]])) missing.push(s.name + ': ' + alias + '.' + m[1] + '.' + m[2]);
      }
    }
  }
  assert.deepStrictEqual(missing, []);
});

test('every event the scripts subscribe to or emit is on the bus', () => {
  const bus = load().createBus();
  const unknown = [];
  for (const s of scripts) {
    // bus.on/off/emit, and the toolbar's emit('name') that makes a button handler.
    for (const m of s.text.matchAll(/\b(?:bus\.(?:on|off|emit)|emit)\('([^']+)'/g)) {
      try { bus.on(m[1], () => {}); } catch (e) { unknown.push(s.name + ': ' + m[1]); }
    }
  }
  assert.deepStrictEqual(unknown, []);
});

// Each part that takes the shared ctx says in a "// ctx: { ... }" comment above its
// function which fields it reads. The comment must name exactly the fields the file
// reads, and a field that player.js makes after the part must carry a note in
// parentheses saying when it is read ("toolbar (at layout time)").
test('every ctx comment names the fields its part reads, and marks those made later', () => {
  const coordinator = scripts.find((s) => s.name === 'player.js').text.split('\n');
  const made = new Map();  // field -> line of player.js that makes it
  const literal = /var ctx = \{([\s\S]*?)\};/.exec(coordinator.join('\n'))[1];
  for (const m of literal.matchAll(/(\w+):/g)) made.set(m[1], -1);
  coordinator.forEach((line, i) => { const m = /\bctx\.(\w+) = /.exec(line); if (m) made.set(m[1], i); });
  const problems = [];
  for (const s of scripts) {
    const m = /\/\/ ctx: \{([^}]*)\}\s*\n\s*function (\w+)\(ctx\)/.exec(s.text);
    if (!m) continue;
    const listed = new Map(m[1].split(',').map((item) => {
      const f = /^\s*(\w+)\s*(\(.*\))?\s*$/.exec(item);
      return f ? [f[1], !!f[2]] : [item.trim(), false];
    }));
    const read = new Set([...s.text.matchAll(/\bctx\.(\w+)/g)].map((r) => r[1]));
    for (const f of read) if (!listed.has(f)) problems.push(s.name + ': reads ctx.' + f + ' but its comment does not name it');
    for (const f of listed.keys()) if (!read.has(f)) problems.push(s.name + ': names ctx.' + f + ' but never reads it');
    const call = coordinator.findIndex((line) => new RegExp('\\b' + m[2] + '\\(ctx\\)').test(line));
    if (call < 0) { problems.push(s.name + ': player.js never calls ' + m[2] + '(ctx)'); continue; }
    for (const [f, noted] of listed) {
      if (!made.has(f)) problems.push(s.name + ': ctx.' + f + ' is never made in player.js');
      else if (made.get(f) >= call && !noted) problems.push(s.name + ': ctx.' + f + ' is made after ' + m[2] + '(ctx) runs; say when it is read');
    }
  }
  assert.deepStrictEqual(problems, []);
});
