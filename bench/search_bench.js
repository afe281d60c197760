#!/usr/bin/env node
/* How fast the player searches a long book: loading files/text/all.js, the first
 * search (which readies every page's text) and later searches, with the player's
 * own search code (player/src/find.js, text_data.js).
 *
 *   node bench/search_bench.js [--pages N] [--runs N] [BOOK]
 *
 * Without BOOK the search file is made up: N pages (default 2000) of about 450 words
 * in lines, some accented, some cut at a line end. With BOOK (a published book
 * folder) its files/text/all.js is used, its pages repeated up to N. The script is
 * run the way a browser runs it (one call to folivoxData). Prints the file's size,
 * then the median and worst of RUNS fresh loads (default 5) for the first search,
 * and of the later searches. Budgets: first search under 1 s, later ones under
 * 100 ms. */
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const vm = require('vm');
const { textData } = require(path.join(__dirname, '..', 'player', 'src', 'text_data.js'));
const { find } = require(path.join(__dirname, '..', 'player', 'src', 'find.js'));

const WORDS = ('the of and to in a is that for it as with was on be by this are from at or an which have not ' +
  'page book reader search text layer picture document chapter section figure table index contents ' +
  'publish template import zoom thumbnail caf\u00e9 r\u00e9sum\u00e9 na\u00efve \u00fcber Stra\u00dfe fa\u00e7ade ' +
  'configuration performance application interface hyphenation information compatibility').split(' ');

// A made-up search file: pages of lines of words, a few lines ending in a cut word.
function madeUp(pages) {
  let seed = 12345;
  const next = () => { seed = (seed * 1103515245 + 12345) & 0x7fffffff; return seed; };
  const out = [];
  for (let p = 1; p <= pages; p++) {
    const words = [], cut = [];
    for (let line = 0; line < 40; line++) {
      const n = 9 + next() % 6;
      for (let i = 0; i < n; i++) {
        let w = WORDS[next() % WORDS.length];
        if (i === n - 1 && next() % 8 === 0 && w.length > 6) {
          cut.push(words.length);
          words.push(w.slice(0, 4) + '-');
          w = w.slice(4);
        }
        words.push(w + (i === n - 1 ? '\n' : ' '));
      }
    }
    out.push([p, words.join('').trim(), cut]);
  }
  return 'folivoxData("search", 0, ' + JSON.stringify({ v: 1, pages: out }) + ');\n';
}

// A book's own search file, its pages repeated up to `pages`.
function fromBook(book, pages) {
  let payload = null;
  vm.runInNewContext(fs.readFileSync(path.join(book, 'files', 'text', 'all.js'), 'utf8'), { folivoxData: (k, n, p) => { payload = p; } });
  const own = payload.pages;
  if (!own.length) throw new Error(book + ' has no text');
  const out = [];
  for (let p = 1; p <= pages; p++) out.push([p, own[(p - 1) % own.length][1], own[(p - 1) % own.length][2]]);
  return 'folivoxData("search", 0, ' + JSON.stringify({ v: 1, pages: out }) + ');\n';
}

const QUERIES = ['the', 'configuration', 'caf\u00e9', 'CAFE', '"the page"', 'hyphenation', 'index table', 'zebra', 'str',
  '"publish template import"', 'resume', 'compat', 'uber strasse'];

function median(list) { const s = list.slice().sort((a, b) => a - b); return s[Math.floor(s.length / 2)]; }

async function run() {
  const argv = process.argv.slice(2);
  let pages = 2000, runs = 5, book = null;
  for (let i = 0; i < argv.length; i++) {
    if (argv[i] === '--pages') pages = parseInt(argv[++i], 10);
    else if (argv[i] === '--runs') runs = Math.max(1, parseInt(argv[++i], 10) || 1);
    else book = argv[i];
  }
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-search-')), 'all.js');
  fs.writeFileSync(file, book ? fromBook(book, pages) : madeUp(pages));
  const bytes = fs.statSync(file).size;
  const positions = Array.from({ length: pages }, (_, i) => ({ number: i + 1 }));
  const first = [], later = [];
  let note = '';
  for (let r = 0; r < runs; r++) {
    const t0 = process.hrtime.bigint();
    // What the browser does with the script, then what the player does with it.
    const load = () => new Promise((resolve) => {
      vm.runInNewContext(fs.readFileSync(file, 'utf8'), { folivoxData: (kind, n, payload) => resolve(payload) });
    });
    const source = textData.createSource({ pages: positions, load });
    const index = await source.searchIndex();
    const hit = find.search(index, QUERIES[0]);
    if (hit.count) find.snippet(hit.hit(0));
    first.push(Number(process.hrtime.bigint() - t0) / 1e6);
    note = QUERIES[0] + ' ' + hit.count + ' hits on ' + hit.pageCount + ' pages';
    for (const q of QUERIES.slice(1)) {
      const t1 = process.hrtime.bigint();
      const res = find.search(index, q);
      if (res.count) find.snippet(res.hit(0));
      later.push(Number(process.hrtime.bigint() - t1) / 1e6);
    }
  }
  fs.rmSync(path.dirname(file), { recursive: true, force: true });
  const f = (v) => v.toFixed(1) + ' ms';
  process.stdout.write(pages + ' pages, search file ' + (bytes / 1048576).toFixed(1) + ' MB (' + (book ? 'from ' + book : 'made up') + ')\n' +
    '  first search, loading the file included: median ' + f(median(first)) + ', worst ' + f(Math.max.apply(null, first)) +
    ' over ' + runs + ' loads (budget 1000 ms; ' + note + ')\n' +
    '  later searches: median ' + f(median(later)) + ', worst ' + f(Math.max.apply(null, later)) + ' over ' + later.length +
    ' searches (budget 100 ms)\n');
}

run().catch((e) => { process.stderr.write(String(e.stack || e) + '\n'); process.exit(1); });
