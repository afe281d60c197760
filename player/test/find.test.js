'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { find } = require('../src/find.js');
const { readerOver } = require('../tools/fixtures.js');

// A search index over pages given as [text, cut word indices]; page numbers from 1,
// book positions from 0.
function indexOf(pages) {
  return find.createIndex({ v: 1, pages: pages.map((p, i) => [i + 1, p[0], p[1] || []]) }, (n) => n - 1);
}

// Every hit of a search, in list order.
const hitsOf = (r) => Array.from({ length: r.count }, (_, i) => r.hit(i));
const found = (index, q) => hitsOf(find.search(index, q)).map((h) => {
  const s = find.snippet(h);
  return h.position + ':' + s.match;
});

test('case, accents, ligatures and look-alike letters fold on both sides', () => {
  const index = indexOf([
    ['Le Caf\u00e9 na\u00efve\nde la Stra\u00dfe'],
    ['The o\ufb03ce of the \u00c9COLE, don\u2019t'],
    ['Cafe\u0301 written with a combining accent']
  ]);
  const cases = [
    ['cafe', ['0:Caf\u00e9', '2:Cafe\u0301']], ['CAF\u00c9', ['0:Caf\u00e9', '2:Cafe\u0301']], ['strasse', ['0:Stra\u00dfe']],
    ['office', ['1:o\ufb03ce']],  // the ffi ligature matches its letters
    ['ecole', ['1:\u00c9COLE']], ["don't", ['1:don\u2019t']],  // a typed apostrophe finds the typographic one
    // A match inside a folded character marks the whole character.
    ['ffic', ['1:\ufb03c']], ['stras', ['0:Stra\u00df']]];
  for (const [q, want] of cases) assert.deepStrictEqual(found(index, q), want, q);
});

test('a word cut at a line end is found whole, and a line break is a space', () => {
  // "exam-" ends a line and goes on in "ple" (word 2 is cut); "well-" is not cut.
  const index = indexOf([['an exam-\nple of well-\nknown words', [1]]]);
  assert.deepStrictEqual(found(index, 'example'), ['0:exam-ple']);
  assert.deepStrictEqual(found(index, 'xampl'), ['0:xam-pl']);
  assert.deepStrictEqual(found(index, '"of well- known"'), ['0:of well-known']);
  assert.deepStrictEqual(found(index, 'exam-'), ['0:exam'], 'a printed hyphen may be typed');
  const hit = find.search(index, 'example').hit(0);
  assert.deepStrictEqual(find.locate(hit), { first: 1, from: 0, last: 2, to: 3 });
  // A cut word whose hyphen was soft (not printed) joins as it is.
  assert.deepStrictEqual(found(indexOf([['infor\nmation', [0]]]), 'information'), ['0:infor mation']);
});

test('quotes make phrases; loose words must all be on the page', () => {
  const index = indexOf([
    ['the quick brown fox'],
    ['brown paper, quick delivery'],
    ['quick']
  ]);
  assert.deepStrictEqual(found(index, '"quick brown"'), ['0:quick brown']);
  assert.deepStrictEqual(found(index, '\u201cquick brown\u201d'), ['0:quick brown'], 'curly quotes too');
  // Loose words are looked for as a phrase first; a page holding them apart is one hit.
  assert.deepStrictEqual(found(index, 'brown quick'), ['0:quick', '1:brown']);
  assert.deepStrictEqual(found(index, '"brown   quick"'), []);
  assert.deepStrictEqual(found(index, '"quick brown'), ['0:quick brown'], 'an unclosed quote runs to the end');
  assert.deepStrictEqual(find.parseQuery(' "" \t '), []);
  assert.deepStrictEqual(found(index, 'zebra'), []);
  assert.deepStrictEqual(found(index, 'quick zebra'), [], 'one missing word rules the page out');
});

test('snippets show the hit in its words, cut at word boundaries', () => {
  const long = 'alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu';
  const index = indexOf([[long + ' TARGET ' + long]]);
  const s = find.snippet(find.search(index, 'target').hit(0));
  assert.strictEqual(s.match, 'TARGET');
  assert.ok(s.before.startsWith('\u2026') && s.after.endsWith('\u2026'), JSON.stringify(s));
  assert.ok(s.before.length <= 62 && s.after.length <= 62);
  assert.ok(/^\u2026[a-z]+ /.test(s.before) && / [a-z]+\u2026$/.test(s.after), 'no word cut in half: ' + JSON.stringify(s));
  // Overlapping terms each count; hits come in page order.
  const hits = hitsOf(find.search(indexOf([['abc abcd'], ['xabc']]), 'abc'));
  assert.deepStrictEqual(hits.map((h) => [h.position, h.start]), [[0, 0], [0, 4], [1, 1]]);
});

test('hostile text: huge pages, controls, right-to-left, markup, broken entries', () => {
  const huge = 'word '.repeat(40000) + 'needle';
  const index = find.createIndex({
    v: 1,
    pages: [
      [1, huge, []],
      [2, 'ctl\u0000\u0007x \u202eevil\u202c \u05e9\u05dc\u05d5\u05dd \u0627\u0644\u0643\u062a\u0627\u0628', []],
      [3, '<img src=x onerror=alert(1)> & "quotes"', [99, -1, 'x']],
      'not an entry', [4.5, 'x'], [-1, 'x'], [5], [1, 'a second page 1 is ignored needle'], [77, 'not in the book needle']
    ]
  }, (n) => (n <= 5 ? n - 1 : -1));
  assert.deepStrictEqual(index.pages.map((p) => p.number), [1, 2, 3]);
  assert.deepStrictEqual(found(index, 'needle'), ['0:needle']);
  assert.deepStrictEqual(found(index, 'evil'), ['1:evil'], 'snippets drop the marks that reorder text');
  assert.deepStrictEqual(found(index, '\u05e9\u05dc\u05d5\u05dd'), ['1:\u05e9\u05dc\u05d5\u05dd']);
  // Arabic vowel marks are folded away like accents.
  assert.deepStrictEqual(found(index, '\u0627\u0644\u0643\u0650\u062a\u0627\u0628'), ['1:\u0627\u0644\u0643\u062a\u0627\u0628']);
  assert.deepStrictEqual(find.snippet(find.search(index, 'onerror').hit(0)),
    { before: '<img src=x ', match: 'onerror', after: '=alert(1)> & "quotes"' });
  const ctl = find.snippet(find.search(index, 'ctl').hit(0));
  assert.ok(!/[\u0000-\u001f\u202e]/.test(ctl.before + ctl.match + ctl.after), JSON.stringify(ctl));
  // A query is bounded too.
  assert.strictEqual(find.search(index, 'x'.repeat(100000)).count, 0);
  assert.ok(find.parseQuery(Array(100).fill('w').map((w, i) => w + i).join(' ')).length <= 16);
});

test('two loose words: the phrase first, marked as one, then the pages holding both', () => {
  const index = indexOf([
    ['garbage collection runs when garbage\ncollection is due'],   // twice as a phrase, once across a line
    ['collection of garbage'],                                      // both words, never as the phrase
    ['garbage only'],
    ['the garbage collection again']
  ]);
  const r = find.search(index, 'garbage collection');
  assert.deepStrictEqual([r.count, r.pageCount, r.phraseGroups], [4, 3, 2]);
  assert.deepStrictEqual(found(index, 'garbage collection'),
    ['0:garbage collection', '0:garbage collection', '3:garbage collection', '1:collection']);
  // The page holding the words apart is one hit that marks each of them.
  const apart = r.hit(3);
  assert.deepStrictEqual(apart.ranges.length, 4);
  assert.deepStrictEqual([find.span(apart.page, apart.ranges[2], apart.ranges[3])], [{ first: 2, from: 0, last: 2, to: 7 }]);
  // Quoted, only the phrase counts.
  assert.deepStrictEqual(found(index, '"garbage collection"').length, 3);
});

test('a word cut after a printed hyphen is found with and without it', () => {
  // "command-" ends a line (cut, word 1); "exam-" + "ple" too (word 5).
  const index = indexOf([['the command-\nline and an exam-\nple', [1, 5]]]);
  assert.deepStrictEqual(found(index, 'commandline'), ['0:command-line']);
  assert.deepStrictEqual(found(index, 'command-line'), ['0:command-line']);
  assert.deepStrictEqual(found(index, 'example'), ['0:exam-ple']);
  assert.deepStrictEqual(found(index, 'line'), ['0:line'], 'one hit, though both texts hold it');
  assert.deepStrictEqual(found(index, '"the command-line and"'), ['0:the command-line and']);
  assert.deepStrictEqual(found(index, 'line-and'), [], 'the hyphen is kept only where it was printed');
});

// Its times are measured by bench/search_bench.js.
test('a 2,000-page book: every page is reached, every hit counted', () => {
  const words = ['reading', 'page', 'turns', 'caf\u00e9', 'index', 'book', 'flip', 'search', 'the', 'a'];
  const pages = [];
  let expected = 0;
  for (let p = 0; p < 2000; p++) {
    const w = [];
    for (let i = 0; i < 450; i++) {
      const word = words[(p * 31 + i * 7) % words.length];
      if (word === 'caf\u00e9') expected++;
      w.push(word + (i % 60 === 59 ? '\n' : ' '));
    }
    if (p === 1500) w.push('unique-needle');
    pages.push([w.join('').trim()]);
  }
  const index = indexOf(pages);
  assert.deepStrictEqual(found(index, 'unique-needle'), ['1500:unique-needle']);
  const r = find.search(index, 'cafe');
  assert.strictEqual(r.count, expected);
  assert.ok(expected > 1000);
  assert.strictEqual(r.hit(r.count - 1).position, 1999, 'the last page is reached');
  // From page 1900 the next hit is on it, and backwards the last one up to it.
  assert.strictEqual(r.hit(r.near(1899, 1900, 1)).position, 1899);
  assert.strictEqual(r.hit(r.near(1999, 1999, 1)).position, 1999);
  const none = find.search(index, 'unique-needle');
  assert.strictEqual(none.hit(none.near(1600, 1601, 1)).position, 1500, 'round the end of the book');
});

test('the address can open a search', () => {
  // A stray % stays; an empty query, another key or no search key open nothing.
  assert.deepStrictEqual(['#search=caf%C3%A9%20au%20lait', '#page=3&search=word', '#search=100%', '#search=', '#research=x', '#page=3']
    .map((h) => find.queryFromHash(h)), ['caf\u00e9 au lait', 'word', '100%', null, null, null]);
});

// A reader over n pages in two-page spreads and a finder on an index of them.
function finderOver(n, pages) {
  const { bus, reader } = readerOver(n);
  const seen = [];
  bus.on('findresult', (e) => seen.push(e));
  let release = null;
  const gate = new Promise((r) => { release = r; });
  const index = indexOf(pages);
  const finder = find.createFinder({ reader, bus, index: () => gate.then(() => index) });
  return { reader, finder, seen, release };
}

test('finder: the first Enter goes to the first hit from the pages in view, then round the book', async () => {
  const f = finderOver(10, [['x'], ['hit'], [''], [''], [''], ['hit hit'], [''], [''], ['hit'], ['']]);
  f.reader.goTo(4);   // spread 2: pages 4 and 5 (positions 3, 4)
  const run = f.finder.run('hit');
  assert.strictEqual(f.seen[f.seen.length - 1].status, 'searching');
  f.release();
  await run;
  const last = () => f.seen[f.seen.length - 1];
  assert.strictEqual(last().status, 'found');
  assert.strictEqual(last().result.count, 4);
  assert.strictEqual(last().current, -1);
  f.finder.step(1);
  assert.deepStrictEqual([last().current, f.reader.anchor()], [1, 5]);
  f.finder.step(1);
  f.finder.step(1);
  assert.deepStrictEqual([last().current, f.reader.anchor()], [3, 8]);
  f.finder.step(1);
  assert.deepStrictEqual([last().current, f.reader.anchor()], [0, 1], 'past the last hit comes the first');
  f.finder.step(-1);
  assert.strictEqual(last().current, 3);
  // A new search starts over; Shift+Enter first goes to the last hit up to the view.
  await f.finder.run('hit ');
  f.reader.goTo(6);
  await f.finder.run('hit');
  f.finder.step(-1);
  assert.deepStrictEqual([last().current, f.reader.anchor()], [2, 5]);
  f.finder.clear();
  assert.deepStrictEqual([last().status, last().result.count], ['idle', 0]);
  f.finder.step(1);
  assert.strictEqual(last().current, -1, 'nothing to step through');
});

test('finder: a slow search never overwrites a newer one; a book without text says so', async () => {
  const f = finderOver(4, [['alpha'], ['beta'], [''], ['']]);
  const slow = f.finder.run('alpha');
  const fresh = f.finder.run('beta');
  f.release();
  await Promise.all([slow, fresh]);
  const done = f.seen.filter((e) => e.status !== 'searching');
  assert.deepStrictEqual(done.map((e) => e.query), ['beta']);
  assert.strictEqual(done[0].result.hit(0).position, 1);

  const { bus, reader } = readerOver(1);
  const seen = [];
  bus.on('findresult', (e) => seen.push(e.status));
  const none = find.createFinder({ reader, bus, index: () => Promise.resolve(null) });
  await none.run('anything');
  const broken = find.createFinder({ reader, bus, index: () => Promise.reject(new Error('gone')) });
  await broken.run('anything');
  assert.deepStrictEqual(seen, ['searching', 'notext', 'searching', 'notext']);
});
