/* Folivox player: the book's text (docs/book-files.md): the words of each page with
 * their boxes (files/text/N.js, loaded with the page for its text layer) and the
 * search file (files/text/all.js, loaded at the first search). A book without them
 * plays as before, only without text. readWords and joinWords are free of the DOM. */
(function (F) {
  'use strict';

  var inNode = typeof module === 'object' && module.exports;
  var M = inNode ? require('./model.js') : F;
  var FIND = inNode ? require('./find.js').find : null;

  var KEEP = 12;   // pages whose words stay loaded
  var CONTROLS = /[\u0000-\u001f\u007f-\u009f]/g;

  function fraction(v) { return typeof v === 'number' && isFinite(v) ? Math.min(1, Math.max(0, v)) : 0; }

  // The words of a page's payload in reading order, each { t, x, y, w, h, f } with
  // the box as fractions of the page and the flags; null when the payload has none.
  // An entry that is not a word stays as null, so word i still matches the i-th
  // word of the search file.
  function readWords(payload) {
    var list = payload && Array.isArray(payload.w) ? payload.w : null;
    if (!list) return null;
    var out = new Array(list.length);
    for (var i = 0; i < list.length; i++) {
      var e = list[i];
      if (!Array.isArray(e) || typeof e[0] !== 'string') { out[i] = null; continue; }
      var x = fraction(e[1]), y = fraction(e[2]);
      out[i] = {
        t: e[0].replace(CONTROLS, ''),
        x: x, y: y, w: Math.min(fraction(e[3]), 1 - x), h: Math.min(fraction(e[4]), 1 - y),
        f: typeof e[5] === 'number' && e[5] >= 0 ? e[5] & 31 : 0
      };
    }
    return out;
  }

  // What follows a word when the page's text is read out or copied.
  function separator(word) { return word.f & 3 ? '\n' : ' '; }

  // The page's text as a reader copies it: the words in reading order, a space
  // between words and a line break where a line ends.
  function joinWords(words) {
    var parts = [];
    for (var i = 0; i < words.length; i++) {
      if (words[i]) parts.push(words[i].t, separator(words[i]));
    }
    return parts.join('').replace(/\s+$/, '');
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

  F.textData = { readWords: readWords, joinWords: joinWords, separator: separator, createSource: createSource };
})(typeof module === 'object' && module.exports ? module.exports : (window.Folivox = window.Folivox || {}));
