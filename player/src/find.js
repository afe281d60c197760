/* Folivox player: search over the book's text, free of the DOM.
 * The search file (files/text/all.js) gives each page's words joined by spaces and
 * line breaks, and the words that go on in the next one (cut at a line end).
 * Matching folds case, accents, ligatures and a few look-alike letters and marks on
 * both sides, joins cut words, and treats a line break as a space. A query is a list
 * of terms: single words, or phrases in quotes whose words must follow each other.
 * Several terms are looked for as one phrase first, then on pages that hold them
 * all (search()). Every page is searched and every hit counted.
 * createFinder() keeps the hits of the last query and the current one, moves the
 * reader to it and tells the bus (findresult). */
(function (F) {
  'use strict';

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
      pages.push({ position: position, number: number, text: e[1], joins: joins, s: null, starts: null, rawStarts: null, kept: null, cuts: null });
    }
    pages.sort(function (a, b) { return a.position - b.position; });
    // Every page's search text is made now, so no later search pays for it.
    for (i = 0; i < pages.length; i++) prepare(pages[i]);
    return { pages: pages };
  }

  // Builds a page's search text: the folded words, each followed by a space, except
  // that a cut word loses its hyphen and runs into the next one.
  // starts[i] is where word i begins in it, rawStarts[i] where it begins in the text.
  // When a cut word's hyphen is printed ("command-" + "line"), the hyphen may be
  // part of the word too: pg.kept is the search text with those hyphens kept, and
  // pg.cuts where they stand in it.
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
    var cuts = [];
    var pos = 0, raw = 0;
    for (var i = 0; i < n; i++) {
      rawStarts[i] = raw;
      raw += words[i].length + 1;
      var f = ascii ? lower[i] : fold(words[i]);
      var join = joins[i] === true && i + 1 < n;
      if (join && f.charAt(f.length - 1) === '-') {
        f = f.slice(0, -1);
        if (f.length && f.charAt(f.length - 1) !== '-') cuts.push(pos + f.length + cuts.length);
      }
      starts[i] = pos;
      parts[i] = join ? f : f + ' ';
      pos += parts[i].length;
    }
    starts[n] = pos;
    rawStarts[n] = raw;
    pg.s = parts.join('');
    pg.starts = starts;
    pg.rawStarts = rawStarts;
    if (cuts.length) {
      var kept = [], from = 0;
      for (var c = 0; c < cuts.length; c++) {
        var at = cuts[c] - c;
        kept.push(pg.s.slice(from, at), '-');
        from = at;
      }
      kept.push(pg.s.slice(from));
      pg.kept = kept.join('');
      pg.cuts = cuts;
    }
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

  // Every place a folded term stands in a page's search text, as [start, end, ...]
  // offsets into pg.s, in order. A cut word whose hyphen was printed is found both
  // joined ("commandline") and with its hyphen ("command-line"): the second search
  // runs over pg.kept, whose places map back into pg.s.
  function places(pg, term) {
    var out = [];
    var s = pg.s, at;
    for (at = s.indexOf(term); at >= 0; at = s.indexOf(term, at + term.length)) out.push(at, at + term.length);
    // Only a term with a hyphen can match across a kept one; elsewhere both texts agree.
    if (pg.kept === null || term.indexOf('-') < 0) return out;
    var k = pg.kept, cuts = pg.cuts, extra = [];
    for (at = k.indexOf(term); at >= 0; at = k.indexOf(term, at + term.length)) {
      var a = at - before(cuts, at), b = at + term.length - before(cuts, at + term.length);
      if (b > a) extra.push(a, b);
    }
    if (!extra.length) return out;
    return merge(out, extra);
  }

  // Whether a page holds a term at all (places() finds where).
  function has(pg, term) {
    return pg.s.indexOf(term) >= 0 || (pg.kept !== null && term.indexOf('-') >= 0 && pg.kept.indexOf(term) >= 0);
  }

  // How many of the sorted offsets lie below k.
  function before(list, k) {
    var lo = 0, hi = list.length;
    while (lo < hi) {
      var mid = (lo + hi) >> 1;
      if (list[mid] < k) lo = mid + 1;
      else hi = mid;
    }
    return lo;
  }

  // Two ordered lists of [start, end] pairs as one, each place once.
  function merge(a, b) {
    var out = [];
    var i = 0, j = 0;
    while (i < a.length || j < b.length) {
      var takeA = j >= b.length || (i < a.length && (a[i] < b[j] || (a[i] === b[j] && a[i + 1] >= b[j + 1])));
      var s0 = takeA ? a[i] : b[j], e0 = takeA ? a[i + 1] : b[j + 1];
      if (takeA) i += 2; else j += 2;
      var n = out.length;
      if (n && out[n - 2] === s0 && out[n - 1] === e0) continue;
      out.push(s0, e0);
    }
    return out;
  }

  // Runs a query over the whole index; nothing is capped. A single term (a word or
  // a quoted phrase) gives a hit for each place it stands. Several terms are first
  // looked for as one phrase, each place a hit ("garbage collection" as it is
  // printed); then each page that holds every term but never the phrase is one
  // hit, marking every term there. Hits are grouped by page, the phrase's in book
  // order first, then the other pages in book order.
  // Returns a result: { terms, count, groups, hit(i), groupsOn(position), ... }.
  function search(index, query) {
    var terms = parseQuery(query);
    var phrase = terms.length > 1 ? terms.join(' ') : null;
    var first = [], rest = [];
    var pages = index && terms.length ? index.pages : [];
    for (var i = 0; i < pages.length; i++) {
      var pg = pages[i];
      var whole = phrase ? places(pg, phrase) : null;
      if (whole && whole.length) { first.push(group(pg, whole, false)); continue; }
      var every = true;
      for (var t = 0; t < terms.length && every; t++) every = has(pg, terms[t]);
      if (!every) continue;
      var found = places(pg, terms[0]);
      for (t = 1; t < terms.length; t++) found = merge(found, places(pg, terms[t]));
      if (found.length) (phrase ? rest : first).push(group(pg, found, !!phrase));
    }
    return createResult(terms, first, rest);
  }

  function group(pg, ranges, together) {
    return { page: pg, position: pg.position, number: pg.number, ranges: ranges, together: together, first: 0, count: together ? 1 : ranges.length / 2 };
  }

  // The hits of a search, in the order the list shows them. A hit is
  // { index, group, page, position, number, start, end, ranges }: start and end
  // span its first place in the page's search text, ranges ([start, end, ...])
  // are every place it marks.
  function createResult(terms, first, rest) {
    var groups = first.concat(rest);
    var count = 0;
    for (var i = 0; i < groups.length; i++) {
      groups[i].first = count;
      count += groups[i].count;
    }
    var byPosition = Object.create(null);
    groups.forEach(function (g) { (byPosition[g.position] = byPosition[g.position] || []).push(g); });

    // The index of the group holding hit i.
    function groupOf(i) {
      var lo = 0, hi = groups.length - 1;
      while (lo < hi) {
        var mid = (lo + hi + 1) >> 1;
        if (groups[mid].first <= i) lo = mid;
        else hi = mid - 1;
      }
      return lo;
    }

    function hit(i) {
      if (!(i >= 0 && i < count)) return null;
      var g = groups[groupOf(i)];
      var k = i - g.first;
      var ranges = g.together ? g.ranges : [g.ranges[2 * k], g.ranges[2 * k + 1]];
      return { index: i, group: g, page: g.page, position: g.position, number: g.number, start: ranges[0], end: ranges[1], ranges: ranges };
    }

    // The first hit in list order, within one tier, on a page at or after
    // position p (dir 1), or the last one at or before it (dir -1); -1 for none.
    function nearIn(from, to, p, dir) {
      var lo = from, hi = to;   // groups[from..to) are in book order
      while (lo < hi) {
        var mid = (lo + hi) >> 1;
        if (dir > 0 ? groups[mid].position < p : groups[mid].position <= p) lo = mid + 1;
        else hi = mid;
      }
      if (dir > 0) return lo < to ? groups[lo].first : -1;
      return lo > from ? groups[lo - 1].first + groups[lo - 1].count - 1 : -1;
    }

    return {
      terms: terms,
      count: count,
      pageCount: groups.length,
      groups: groups,
      // How many groups hold the phrase (or the one term): the rest hold all the words.
      phraseGroups: first.length,
      hit: hit,
      // The groups of page position p (a page may hold the phrase and be listed once).
      groupsOn: function (p) { return byPosition[p] || []; },
      // The hit to go to from the pages lo..hi in view: forward, the first from
      // them on, round the end of the book; backward, the last up to them. The
      // phrase's hits come first when there are any.
      near: function (lo, hi, dir) {
        if (!count) return -1;
        var end = first.length || groups.length;
        var i = nearIn(0, end, dir > 0 ? lo : hi, dir);
        if (i >= 0) return i;
        return dir > 0 ? 0 : groups[end - 1].first + groups[end - 1].count - 1;
      }
    };
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
    if (!hit.words) hit.words = span(hit.page, hit.start, hit.end);
    return hit.words;
  }

  // The same for any place [start, end) of a page's search text.
  function span(pg, start, end) {
    var a = place(pg, start, false), b = place(pg, end, true);
    return { first: a.word, from: a.at, last: b.word, to: b.at };
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

  var EMPTY = createResult([], [], []);

  // The reader's side of searching. o: { reader, bus, index: function () -> Promise
  // of the index, or of null when the book has no text }.
  // findresult carries { query, result (search's), current (-1: none yet), status }:
  // status is 'idle' (no query), 'searching', 'found', 'none' or 'notext'.
  function createFinder(o) {
    var reader = o.reader;
    var query = '';
    var result = EMPTY;
    var current = -1;
    var status = 'idle';
    var serial = 0;

    function emit() {
      o.bus.emit('findresult', { query: query, result: result, current: current, status: status });
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
        set(q, EMPTY, 'idle');
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
        if (!index) { set(q, EMPTY, 'notext'); return; }
        var r = search(index, q);
        set(q, r, r.count ? 'found' : 'none');
      }, function () {
        if (mine === serial) set(q, EMPTY, 'notext');
      });
    }

    function show(i) {
      current = i;
      reader.goTo(result.hit(i).position);
      emit();
    }

    // The next (dir 1) or previous (dir -1) hit, round the end of the list. While
    // the current hit is in view the step goes on from it; otherwise (the first
    // step, or after the reader turned elsewhere) it goes to the first hit from
    // the pages in view on, or the last one up to them.
    function step(dir) {
      if (!result.count) return;
      var inView = reader.view().pages;
      if (current >= 0 && inView.indexOf(result.hit(current).position) >= 0) {
        show((current + (dir < 0 ? result.count - 1 : 1)) % result.count);
        return;
      }
      show(result.near(Math.min.apply(null, inView), Math.max.apply(null, inView), dir));
    }

    return {
      run: run,
      step: step,
      select: function (i) { if (i >= 0 && i < result.count) show(i); },
      clear: function () { serial++; set('', EMPTY, 'idle'); },
      query: function () { return query; }
    };
  }

  F.find = {
    fold: fold,
    parseQuery: parseQuery,
    queryFromHash: queryFromHash,
    createIndex: createIndex,
    search: search,
    locate: locate,
    span: span,
    snippet: snippet,
    createFinder: createFinder
  };
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
