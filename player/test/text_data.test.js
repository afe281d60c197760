'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { textData } = require('../src/text_data.js');

test('a page\'s words: boxes clamped, bad entries kept as gaps, text as a reader copies it', () => {
  const words = textData.readWords({
    v: 1,
    w: [
      ['Hello', 0.1, 0.1, 0.2, 0.02, 0],
      ['world', 0.35, 0.1, 0.2, 0.02, 1],
      'not a word',
      ['next\u0000\u0007', 0.75, -3, 0.5, 'x', 9],
      ['line', 0.1, 0.2, 0.1, 0.02, 3],
      ['tail', 0.1, 0.3, NaN, Infinity, -1]
    ]
  });
  assert.strictEqual(words.length, 6, 'word i stays word i of the search file');
  assert.strictEqual(words[2], null);
  assert.deepStrictEqual(words[3], { t: 'next', x: 0.75, y: 0, w: 0.25, h: 0, f: 9, s: 0 });
  assert.deepStrictEqual(words[5], { t: 'tail', x: 0.1, y: 0.3, w: 0, h: 0, f: 0, s: 0 });
  assert.strictEqual(textData.joinWords(words), 'Hello world\nnext\nline\ntail');
  assert.strictEqual(textData.readWords({ v: 1 }), null);
  assert.strictEqual(textData.readWords(null), null);
});

test('copying groups words into lines by their baselines, and blocks carry their font sizes', () => {
  // A justified line that an older book cut at its wide gaps (every piece ends a
  // "line"), a second line below it, then a heading in a block of its own.
  const words = textData.readWords({
    v: 1,
    w: [
      ['The', 0.1, 0.1, 0.05, 0.02, 1], ['quick', 0.3, 0.101, 0.08, 0.02, 1], ['brown', 0.6, 0.1, 0.08, 0.02, 1],
      ['fox', 0.1, 0.13, 0.05, 0.02, 3],
      ['Index', 0.1, 0.3, 0.2, 0.05, 3],
      // a contents line whose number came first: a line of its own, as it was read
      ['12', 0.8, 0.5, 0.03, 0.02, 1], ['Chapter', 0.1, 0.5, 0.1, 0.02, 3]
    ],
    fs: [[0, 10], [4, 24.5], [5, 10], 'bad', [6, -1]]
  });
  assert.strictEqual(textData.joinWords(words), 'The quick brown\nfox\nIndex\n12\nChapter');
  assert.deepStrictEqual(words.map((w) => w.s), [10, 10, 10, 10, 24.5, 10, 10]);
  const b = textData.blocks(words);
  assert.deepStrictEqual(b.map((x) => [x.size, x.lines.map((l) => l.map((w) => w.t).join(' '))]),
    [[10, ['The quick brown', 'fox']], [24.5, ['Index']], [10, ['12', 'Chapter']]]);
});

// A source over a book whose pictures are numbered from `first` (a page range), with
// the scripts it asked for; files maps a script name to its payload.
function source(count, first, files) {
  const asked = [];
  const pages = Array.from({ length: count }, (_, i) => ({ number: first + i }));
  const load = (src, kind, n) => {
    asked.push(src);
    const name = src.replace('files/', '');
    return Promise.resolve(name in files ? files[name] : null);
  };
  return { s: textData.createSource({ pages, load }), asked };
}

test('words load once per page, by the page\'s own number; a page without text is not asked for again', async () => {
  const { s, asked } = source(3, 5, { 'text/6.js': { v: 1, w: [['six', 0, 0, 0.1, 0.1, 0]] } });
  let noticed = 0;
  s.whenText(() => noticed++);
  assert.strictEqual(await s.words(0), null);
  assert.strictEqual(noticed, 0);
  assert.strictEqual((await s.words(1))[0].t, 'six');
  assert.strictEqual(await s.pageText(1), 'six');
  assert.strictEqual(await s.pageText(0), '');
  await s.words(0);
  assert.deepStrictEqual(asked, ['files/text/5.js', 'files/text/6.js']);
  assert.strictEqual(noticed, 1);
  s.whenText(() => noticed++);
  assert.strictEqual(noticed, 2, 'a late listener hears at once');
  // Only a handful of pages stay loaded.
  for (let p = 0; p < 3; p++) await s.words(p);
  const big = source(40, 1, {});
  for (let p = 0; p < 40; p++) await big.s.words(p);
  await big.s.words(0);
  assert.strictEqual(big.asked.filter((a) => a === 'files/text/1.js').length, 2);
});

test('the search file loads once, maps page numbers to positions and finds the text', async () => {
  const all = { v: 1, pages: [[5, 'first page', []], [7, 'third page with a needle', []], [99, 'not in this book needle', []]] };
  const { s, asked } = source(3, 5, { 'text/all.js': all });
  let noticed = false;
  s.whenText(() => { noticed = true; });
  const index = await s.searchIndex();
  await s.searchIndex();
  assert.deepStrictEqual(asked, ['files/text/all.js']);
  assert.deepStrictEqual(index.pages.map((p) => [p.number, p.position]), [[5, 0], [7, 2]]);
  assert.ok(noticed);
  // A book without the file, or with an empty one, has no search.
  assert.strictEqual(await source(3, 1, {}).s.searchIndex(), null);
  assert.strictEqual(await source(3, 1, { 'text/all.js': { v: 1, pages: [] } }).s.searchIndex(), null);
});

test('probing looks at a few pages across the book and stops at the first with text', async () => {
  const { s, asked } = source(30, 1, { 'text/11.js': { v: 1, w: [['x', 0, 0, 0.1, 0.1, 0]] } });
  let noticed = false;
  s.whenText(() => { noticed = true; });
  await s.probe();
  assert.ok(noticed);
  assert.deepStrictEqual(asked, ['files/text/1.js', 'files/text/11.js']);
  // A book of pictures: after the probe, pages are not asked for words any more,
  // until the search file shows there is text after all.
  const all = { v: 1, pages: [[7, 'late text', []]] };
  const none = source(8, 1, { 'text/all.js': all, 'text/7.js': { v: 1, w: [['late', 0, 0, 0.1, 0.1, 0]] } });
  await none.s.probe();
  assert.deepStrictEqual(none.asked, ['files/text/1.js', 'files/text/3.js', 'files/text/6.js', 'files/text/8.js']);
  assert.strictEqual(await none.s.words(1), null);
  assert.strictEqual(await none.s.words(6), null);
  assert.strictEqual(none.asked.length, 4);
  await none.s.searchIndex();
  assert.strictEqual((await none.s.words(6))[0].t, 'late');
});

test('text for a voice: words cut at a line end read whole, and each offset finds its word', () => {
  const words = textData.readWords({ v: 1, w: [['The', 0, 0, 0.1, 0.02, 0], 'gap', ['command-', 0.2, 0, 0.1, 0.02, 5],
    ['line', 0, 0.1, 0.1, 0.02, 0], ['tool', 0.2, 0.1, 0.1, 0.02, 4]] });
  const s = textData.spoken(words);
  assert.strictEqual(s.text, 'The commandline tool');
  assert.deepStrictEqual(s.starts, [0, 4, 11, 16]);
  assert.deepStrictEqual([0, 3, 4, 10, 11, 16, 99].map((o) => textData.wordAt(s, o)), [0, 0, 1, 1, 2, 3, 3]);
  assert.strictEqual(textData.wordAt(textData.spoken([]), 0), -1);
});
