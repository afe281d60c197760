/* Folivox player: the book's text (docs/book-files.md): the words of each page with
 * their boxes and font sizes (files/text/N.js, loaded with the page for its text
 * layer) and the search file (files/text/all.js, loaded at the first search). A book
 * without them plays as before, only without text. readWords, joinWords and blocks
 * are free of the DOM. */
(function (F) {
  'use strict';

  var M = typeof module === 'object' && module.exports ? require('./model.js') : F;
  var FIND = typeof module === 'object' && module.exports ? require('./find.js').find : null;

  var KEEP = 12;   // pages whose words stay loaded
  var CONTROLS = /[\u0000-\u001f\u007f-\u009f]/g;

  function fraction(v) { return typeof v === 'number' && isFinite(v) ? Math.min(1, Math.max(0, v)) : 0; }

  // The words of a page's payload in reading order, each { t, x, y, w, h, f, s } with
  // the box as fractions of the page, the flags and the font size in points (0 when
  // the book does not tell); null when the payload has none. An entry that is not a
  // word stays as null, so word i still matches the i-th word of the search file.
  function readWords(payload) {
    var list = payload && Array.isArray(payload.w) ? payload.w : null;
    if (!list) return null;
    var sizes = Array.isArray(payload.fs) ? payload.fs : [];
    var nextSize = 0, size = 0;
    var out = new Array(list.length);
    for (var i = 0; i < list.length; i++) {
      var e = list[i];
      if (!Array.isArray(e) || typeof e[0] !== 'string') { out[i] = null; continue; }
      // "fs" lists [first word, size] in word order; a run holds until the next one.
      while (nextSize < sizes.length && Array.isArray(sizes[nextSize]) && sizes[nextSize][0] <= i) {
        var v = sizes[nextSize++][1];
        size = typeof v === 'number' && v > 0 && v < 10000 ? v : 0;
      }
      var x = fraction(e[1]), y = fraction(e[2]);
      out[i] = {
        t: e[0].replace(CONTROLS, ''),
        x: x, y: y, w: Math.min(fraction(e[3]), 1 - x), h: Math.min(fraction(e[4]), 1 - y),
        f: typeof e[5] === 'number' && e[5] >= 0 ? e[5] & 31 : 0,
        s: size
      };
    }
    return out;
  }

  // Whether word b goes on a's line: b lies after a along the same baseline (its
  // box's bottom, or side for turned text) within a third of the smaller box.
  function sameBaseline(a, b) {
    var d = (a.f >> 3) & 3;
    if (((b.f >> 3) & 3) !== d) return false;
    if (d & 1) {
      var edgeA = d === 1 ? a.x : a.x + a.w, edgeB = d === 1 ? b.x : b.x + b.w;
      return Math.abs(edgeA - edgeB) <= Math.min(a.w, b.w) / 3 && (d === 1 ? b.y >= a.y + a.h * 0.5 : b.y + b.h <= a.y + a.h * 0.5);
    }
    var bottomA = d === 0 ? a.y + a.h : a.y, bottomB = d === 0 ? b.y + b.h : b.y;
    return Math.abs(bottomA - bottomB) <= Math.min(a.h, b.h) / 3 && (d === 0 ? b.x >= a.x + a.w * 0.5 : b.x + b.w <= a.x + a.w * 0.5);
  }

  // What follows a word when the page's text is read out or copied: a line break
  // where its line ends, else a space. Books made before lines were grouped by
  // their baselines mark a line end at every wide gap of a justified line; a
  // line end inside a block before a word on the same baseline counts as a space.
  function separator(word, next) {
    if (!(word.f & 3)) return ' ';
    if (!(word.f & 2) && next && sameBaseline(word, next)) return ' ';
    return '\n';
  }

  // The page's text as a reader copies it: the words in reading order, a space
  // between words and a line break where a line ends.
  function joinWords(words) {
    var parts = [];
    for (var i = 0; i < words.length; i++) {
      if (words[i]) parts.push(words[i].t, separator(words[i], nextWord(words, i)));
    }
    return parts.join('').replace(/\s+$/, '');
  }

  function nextWord(words, i) {
    for (var k = i + 1; k < words.length; k++) if (words[k]) return words[k];
    return null;
  }

  // The page's words as blocks (paragraphs, columns) of lines, for a view that
  // sets the text anew: [{ lines: [[word, ...], ...], size }], size being the
  // block's largest font size (0 when not known).
  function blocks(words) {
    var out = [], block = null, line = null;
    for (var i = 0; i < words.length; i++) {
      var w = words[i];
      if (!w) continue;
      if (!block) { block = { lines: [], size: 0 }; out.push(block); }
      if (!line) { line = []; block.lines.push(line); }
      line.push(w);
      if (w.s > block.size) block.size = w.s;
      if (separator(w, nextWord(words, i)) === '\n') line = null;
      if (w.f & 2) { block = null; line = null; }
    }
    return out;
  }

  // The page's text for a voice to read, and where each word starts in it:
  // { text, starts }, starts[k] being the offset of the k-th word that is there
  // (the k-th span of the text layer). A word cut at a line end is read whole.
  function spoken(words) {
    var text = '', starts = [], glue = '';
    for (var i = 0; i < words.length; i++) {
      var w = words[i];
      if (!w) continue;
      text += glue;
      starts.push(text.length);
      var cut = w.f & 4 && nextWord(words, i);
      text += cut ? w.t.replace(/[-\u00ad\u2010]$/, '') : w.t;
      glue = cut ? '' : ' ';
    }
    return { text: text, starts: starts };
  }

  // The word (its k) a voice has reached at a character offset of spoken's text.
  function wordAt(s, offset) {
    var lo = 0, hi = s.starts.length - 1;
    if (hi < 0 || offset < s.starts[0]) return -1;
    while (lo < hi) {
      var mid = (lo + hi + 1) >> 1;
      if (s.starts[mid] <= offset) lo = mid; else hi = mid - 1;
    }
    return lo;
  }

  // o: { pages (the model's), load(src, kind, number) -> Promise of a payload, or of
  // null when there is none (data_scripts.js in the page) }.
  function createSource(o) {
    var find = FIND || F.find;
    var map = M.pageNumberMap(o.pages);
    var cache = new Map();   // position -> Promise of words or null, oldest first
    var index = null;
    var found = false, waiting = [];
    var none = false;   // the probe found no words: stop asking each page for them

    function noteText() {
      if (found) return;
      found = true;
      var w = waiting;
      waiting = [];
      for (var i = 0; i < w.length; i++) w[i]();
    }

    // Resolves to the words of book position p, or to null for a page without text.
    function words(p) {
      var got = cache.get(p);
      if (got) {
        cache.delete(p);
        cache.set(p, got);
        return got;
      }
      if (none && !found) return Promise.resolve(null);
      var page = o.pages[p];
      var n = page && page.number >= 0 ? page.number : -1;
      got = n < 0 ? Promise.resolve(null)
        : o.load('files/text/' + n + '.js', 'text', n).then(readWords, function () { return null; });
      got.then(function (w) { if (w && w.length) noteText(); });
      cache.set(p, got);
      if (cache.size > KEEP) cache.delete(cache.keys().next().value);
      return got;
    }

    // Resolves to the search index (find.js), or to null for a book without text.
    function searchIndex() {
      if (!index) {
        index = o.load('files/text/all.js', 'search', 0).then(function (payload) {
          var made = find.createIndex(payload, function (n) { return n in map ? map[n] : -1; });
          if (!made.pages.length) return null;
          noteText();
          return made;
        }, function () { return null; });
      }
      return index;
    }

    // Looks for words on a few pages across the book, one after the other, until one
    // has some: the pages in view may all be pictures. When none has, the book is
    // taken to have no text (a book of pictures) and pages are no longer asked for
    // their words, unless the search file shows otherwise.
    function probe() {
      var n = o.pages.length;
      var picks = [0, Math.floor(n / 3), Math.floor(2 * n / 3), n - 1].filter(function (p, i, all) {
        return all.indexOf(p) === i;
      });
      var chain = Promise.resolve();
      picks.forEach(function (p) {
        chain = chain.then(function () { if (!found) return words(p); });
      });
      return chain.then(function () { none = !found; });
    }

    return {
      words: words,
      pageText: function (p) { return words(p).then(function (w) { return w ? joinWords(w) : ''; }); },
      searchIndex: searchIndex,
      probe: probe,
      // Calls fn once the book is known to have text.
      whenText: function (fn) { if (found) fn(); else waiting.push(fn); }
    };
  }

  F.textData = {
    readWords: readWords, joinWords: joinWords, separator: separator, nextWord: nextWord, blocks: blocks,
    spoken: spoken, wordAt: wordAt, createSource: createSource
  };
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
