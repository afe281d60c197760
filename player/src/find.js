/* Folivox player: search over the book's text, free of the DOM.
 * The search file (files/text/all.js) gives each page's words joined by spaces and
 * line breaks, and the words that go on in the next one (cut at a line end).
 * Matching folds case, accents, ligatures and a few look-alike letters and marks on
 * both sides, joins cut words, and treats a line break as a space. A query is a list
 * of terms: single words, or phrases in quotes whose words must follow each other.
 * A page matches when it holds every term; each place a term is found is a hit.
 * createFinder() keeps the hits of the last query and the current one, moves the
 * reader to it and tells the bus (findresult). */
(function (F) {
  'use strict';

  var MAX_HITS = 1000;        // a search stops here; enough to read, cheap to show
  var MAX_QUERY = 500;        // characters of a query that count
  var MAX_TERMS = 16;
  var SNIPPET = 60;           // characters of context on each side of a hit

  var NON_ASCII = /[^\x00-\x7f]/;
  var MARKS = /\p{M}/gu;
  var WORD_SPLIT = /[ \n]/;
  // Characters a snippet never shows: controls and the marks that reorder text.
  var HIDDEN = /[\u0000-\u0009\u000b-\u001f\u007f-\u009f\u200e\u200f\u202a-\u202e\u2066-\u2069]/g;
  // Letters without a decomposition that readers type plainly, and typographic
  // quotes and dashes that they type as the keyboard's.
  var PLAIN = {
    '\u00df': 'ss', '\u00e6': 'ae', '\u0153': 'oe', '\u00f8': 'o', '\u0142': 'l', '\u0111': 'd',
    '\u0131': 'i', '\u03c2': '\u03c3', '\u2018': '\'', '\u2019': '\'', '\u201b': '\'', '\u02bc': '\'',
    '\u201c': '"', '\u201d': '"', '\u201e': '"', '\u2010': '-', '\u2011': '-', '\u2012': '-',
    '\u2013': '-', '\u2014': '-', '\u2212': '-'
  };
  var folded = Object.create(null);

  // One character (a code point) as search sees it; may be empty or several characters.
  function foldChar(c) {
    var f = folded[c];
    if (f !== undefined) return f;
    var d = c.normalize('NFKD').toLowerCase().replace(MARKS, '');
    f = '';
    for (var i = 0; i < d.length; i++) {
      var ch = d.charAt(i);
      f += PLAIN[ch] !== undefined ? PLAIN[ch] : ch;
    }
    folded[c] = f;
    return f;
  }

  // A word as search sees it. With wantMap, also where each folded character comes
  // from: map[k] is the index in the word of the character that gave folded
  // character k, and map[length] is the word's length.
  function fold(word, wantMap) {
    if (!NON_ASCII.test(word)) {
      var lower = word.toLowerCase();
      return wantMap ? { text: lower, map: null } : lower;
    }
    var out = '';
    var map = wantMap ? [] : null;
    for (var i = 0; i < word.length; i++) {
      var code = word.charCodeAt(i);
      var len = code >= 0xd800 && code < 0xdc00 && i + 1 < word.length ? 2 : 1;
      var f = code < 0x80 ? word.charAt(i).toLowerCase() : foldChar(word.substr(i, len));
      if (map) for (var k = 0; k < f.length; k++) map.push(i);
      out += f;
      i += len - 1;
    }
    if (map) map.push(word.length);
    return wantMap ? { text: out, map: map } : out;
  }

  // The terms of a query, folded: words, and phrases in straight or curly quotes.
  // An unclosed quote runs to the end.
  function parseQuery(query) {
    var q = String(query == null ? '' : query).slice(0, MAX_QUERY)
      .replace(HIDDEN, ' ').replace(/[\u201c\u201d\u201e]/g, '"');
    var parts = q.split('"');
    var terms = [];
    function add(words) {
      var t = words.filter(Boolean).map(function (w) { return fold(w); }).join(' ').trim();
      if (t && terms.indexOf(t) < 0 && terms.length < MAX_TERMS) terms.push(t);
    }
    for (var i = 0; i < parts.length; i++) {
      var words = parts[i].split(/\s+/);
      if (i % 2) add(words);
      else for (var k = 0; k < words.length; k++) add([words[k]]);
    }
    return terms;
  }

  // The query in an address such as "#search=word" or "#page=3&search=two%20words",
  // or null.
  function queryFromHash(hash) {
    var m = /(?:^#?|[#&])search=([^&]*)/.exec(String(hash || ''));
    if (!m) return null;
    var q = m[1];
    try { q = decodeURIComponent(q); } catch (e) { /* a stray % stays as typed */ }
    q = q.trim();
    return q ? q : null;
  }

  // The search index from the payload of files/text/all.js. positionOf(N) gives the
  // book position of the page numbered N (as in files/page/N.jpg), or -1 for a page
  // the book does not show. Entries that are not [N, text, [indices]] are skipped.
  function createIndex(payload, positionOf) {
    var list = payload && Array.isArray(payload.pages) ? payload.pages : [];
    var pages = [];
    var seen = Object.create(null);
    for (var i = 0; i < list.length; i++) {
      var e = list[i];
      if (!Array.isArray(e) || typeof e[1] !== 'string') continue;
      var number = e[0];
      if (typeof number !== 'number' || !(number >= 0) || Math.floor(number) !== number || seen[number]) continue;
      var position = positionOf(number);
      if (!(position >= 0)) continue;
      seen[number] = true;
      var joins = Array.isArray(e[2]) ? e[2].filter(function (k) { return typeof k === 'number' && k >= 0; }) : [];
      pages.push({ position: position, number: number, text: e[1], joins: joins, s: null, starts: null, rawStarts: null });
    }
    pages.sort(function (a, b) { return a.position - b.position; });
    // Every page's search text is made now, so no later search pays for it.
    for (i = 0; i < pages.length; i++) prepare(pages[i]);
    return { pages: pages };
  }

  // Builds a page's search text: the folded words, each followed by a space, except
  // that a cut word loses its hyphen and runs into the next one.
  // starts[i] is where word i begins in it, rawStarts[i] where it begins in the text.
  function prepare(pg) {
    if (pg.s !== null) return pg;
    var words = pg.text.split(WORD_SPLIT);
    var ascii = !NON_ASCII.test(pg.text);
    var lower = ascii ? pg.text.toLowerCase().split(WORD_SPLIT) : null;
    var n = words.length;
    var joins = Object.create(null);
    for (var j = 0; j < pg.joins.length; j++) joins[pg.joins[j]] = true;
    var starts = new Int32Array(n + 1), rawStarts = new Int32Array(n + 1);
    var parts = new Array(n);
    var pos = 0, raw = 0;
    for (var i = 0; i < n; i++) {
      rawStarts[i] = raw;
      raw += words[i].length + 1;
      var f = ascii ? lower[i] : fold(words[i]);
      var join = joins[i] === true && i + 1 < n;
      if (join && f.charAt(f.length - 1) === '-') f = f.slice(0, -1);
      starts[i] = pos;
      parts[i] = join ? f : f + ' ';
      pos += parts[i].length;
    }
    starts[n] = pos;
    rawStarts[n] = raw;
    pg.s = parts.join('');
    pg.starts = starts;
    pg.rawStarts = rawStarts;
    return pg;
  }

  // The word holding search-text offset k: the last i with starts[i] <= k.
  function wordAt(starts, k) {
    var lo = 0, hi = starts.length - 2;
    while (lo < hi) {
      var mid = (lo + hi + 1) >> 1;
      if (starts[mid] <= k) lo = mid;
      else hi = mid - 1;
    }
    return lo;
  }

  // Runs a query over the index. Returns { terms, hits, capped }; hits are in book
  // order, each { position, number, start, end } with its place in the page's search
  // text, at most max of them (capped says whether more were left).
  function search(index, query, max) {
    var terms = parseQuery(query);
    var limit = max > 0 ? max : MAX_HITS;
    var hits = [];
    var capped = false;
    if (!terms.length || !index) return { terms: terms, hits: hits, capped: false };
    for (var i = 0; i < index.pages.length && !capped; i++) {
      var pg = index.pages[i];
      var s = pg.s;
      var every = true;
      for (var t = 0; t < terms.length && every; t++) every = s.indexOf(terms[t]) >= 0;
      if (!every) continue;
      var found = [];
      for (t = 0; t < terms.length; t++) {
        var term = terms[t];
        for (var at = s.indexOf(term); at >= 0; at = s.indexOf(term, at + term.length)) {
          found.push({ page: pg, position: pg.position, number: pg.number, start: at, end: at + term.length });
        }
      }
      found.sort(function (a, b) { return a.start - b.start || b.end - a.end; });
      for (var k = 0; k < found.length; k++) {
        if (hits.length >= limit) { capped = true; break; }
        hits.push(found[k]);
      }
    }
    return { terms: terms, hits: hits, capped: capped };
  }

  // Where a search-text offset falls in the page's own words: { word, at } with the
  // character index in that word. end chooses the end of the character before k.
  function place(pg, k, end) {
    var w = wordAt(pg.starts, end ? k - 1 : k);
    var word = pg.text.slice(pg.rawStarts[w], pg.rawStarts[w + 1] - 1);
    var off = k - pg.starts[w];
    var f = fold(word, true);
    if (!f.map) return { word: w, at: Math.min(off, word.length) };
    if (!end) return { word: w, at: f.map[Math.min(off, f.map.length - 1)] };
    // The end of the last matched character, even when it folded into several.
    var j = Math.min(off, f.map.length - 1);
    var last = f.map[Math.max(0, off - 1)];
    while (j < f.map.length - 1 && f.map[j] === last) j++;
    return { word: w, at: off <= 0 ? 0 : f.map[j] };
  }

  // A hit in the page's words: first and last word index, the first word's matched
  // part starting at from, the last word's ending at to (character indices).
  function locate(hit) {
    if (hit.words) return hit.words;
    var pg = hit.page;
    var a = place(pg, hit.start, false), b = place(pg, hit.end, true);
    hit.words = { first: a.word, from: a.at, last: b.word, to: b.at };
    return hit.words;
  }

  function clean(s) {
    return s.replace(HIDDEN, '').replace(/-\n/g, '-').replace(/\s+/g, ' ');
  }

  // The hit in its context, for a result list: { before, match, after }, on one line,
  // cut at word boundaries with an ellipsis.
  function snippet(hit) {
    var w = locate(hit);
    var pg = hit.page;
    var text = pg.text;
    var ra = pg.rawStarts[w.first] + w.from, rb = pg.rawStarts[w.last] + w.to;
    var from = Math.max(0, ra - SNIPPET), to = Math.min(text.length, rb + SNIPPET);
    var before = text.slice(from, ra), after = text.slice(rb, to);
    if (from > 0) before = '\u2026' + before.replace(/^\S*\s/, '');
    if (to < text.length) after = after.replace(/\s\S*$/, '') + '\u2026';
    return { before: clean(before).replace(/^ /, ''), match: clean(text.slice(ra, rb)), after: clean(after).replace(/ $/, '') };
  }

  // The reader's side of searching. o: { reader, bus, index: function () -> Promise
  // of the index, or of null when the book has no text }.
  // findresult carries { query, hits, current (-1: none yet), capped, status }:
  // status is 'idle' (no query), 'searching', 'found', 'none' or 'notext'.
  function createFinder(o) {
    var reader = o.reader;
    var query = '';
    var result = { hits: [], capped: false };
    var current = -1;
    var status = 'idle';
    var serial = 0;

    function emit() {
      o.bus.emit('findresult', { query: query, hits: result.hits, current: current, capped: result.capped, status: status });
    }

    function set(q, r, s) {
      query = q;
      result = r;
      current = -1;
      status = s;
      emit();
    }

    // Searches for q; resolves once its hits are out. A newer query wins over an
    // older one still waiting for the index.
    function run(q) {
      q = String(q == null ? '' : q);
      var mine = ++serial;
      if (!parseQuery(q).length) {
        set(q, { hits: [], capped: false }, 'idle');
        return Promise.resolve();
      }
      // The last hits stay until the new ones are out, so the list does not flicker.
      if (status !== 'searching') {
        query = q;
        status = 'searching';
        emit();
      }
      return Promise.resolve().then(o.index).then(function (index) {
        if (mine !== serial) return;
        if (!index) { set(q, { hits: [], capped: false }, 'notext'); return; }
        var r = search(index, q);
        set(q, r, r.hits.length ? 'found' : 'none');
      }, function () {
        if (mine === serial) set(q, { hits: [], capped: false }, 'notext');
      });
    }

    function show(i) {
      current = i;
      reader.goTo(result.hits[i].position);
      emit();
    }

    // The next (dir 1) or previous (dir -1) hit, round the end of the book. The first
    // step goes to the first hit from the pages in view on, or the last one before.
    function step(dir) {
      var hits = result.hits;
      if (!hits.length) return;
      if (current >= 0) { show((current + (dir < 0 ? hits.length - 1 : 1)) % hits.length); return; }
      var inView = reader.view().pages;
      var lo = Math.min.apply(null, inView), hi = Math.max.apply(null, inView);
      var i;
      if (dir < 0) {
        i = hits.length - 1;
        while (i > 0 && hits[i].position > hi) i--;
        if (hits[i].position > hi) i = hits.length - 1;
      } else {
        i = 0;
        while (i < hits.length && hits[i].position < lo) i++;
        if (i === hits.length) i = 0;
      }
      show(i);
    }

    return {
      run: run,
      step: step,
      select: function (i) { if (i >= 0 && i < result.hits.length) show(i); },
      clear: function () { serial++; set('', { hits: [], capped: false }, 'idle'); },
      query: function () { return query; }
    };
  }

  F.find = {
    MAX_HITS: MAX_HITS,
    fold: fold,
    parseQuery: parseQuery,
    queryFromHash: queryFromHash,
    createIndex: createIndex,
    search: search,
    locate: locate,
    snippet: snippet,
    createFinder: createFinder
  };
})(typeof module === 'object' && module.exports ? module.exports : (window.Folivox = window.Folivox || {}));
