/* Folivox player: window.folivox, for pages that embed a book (player/README.md).
 * Pages count from 1 here. It is there once the book has opened; the window gets a
 * "folivoxready" event when the first pages are painted. */
(function (F) {
  'use strict';

  // ctx: { bus, reader, text }
  function createApi(ctx) {
    var reader = ctx.reader;

    function position(n) {
      var p = Number(n) - 1;
      return Math.floor(p) === p && p >= 0 && p < reader.pageCount() ? p : -1;
    }

    var api = {
      // Turns to page n; other values are ignored.
      goTo: function (n) {
        var p = position(n);
        if (p >= 0) reader.goTo(p);
      },
      // The page in view that the address names (the first of two, or the linked one).
      page: function () { return reader.anchor() + 1; },
      pageCount: function () { return reader.pageCount(); },
      // Resolves to every hit of a search, in the search panel's order (the phrase
      // first, then the pages holding all the words): [{ page, snippet }]; [] for a
      // book without text.
      search: function (text) {
        return ctx.text.searchIndex().then(function (index) {
          var r = F.find.search(index, String(text == null ? '' : text));
          var out = new Array(r.count);
          for (var i = 0; i < r.count; i++) {
            var hit = r.hit(i);
            var s = F.find.snippet(hit);
            out[i] = { page: hit.position + 1, snippet: s.before + s.match + s.after };
          }
          return out;
        });
      },
      // Resolves to page n's text, with spaces and line breaks ('' for a page
      // without text); rejects a page the book does not have.
      pageText: function (n) {
        var p = position(n);
        if (p < 0) return Promise.reject(new RangeError('the book has no page ' + n));
        return ctx.text.pageText(p);
      }
    };
    window.folivox = Object.freeze(api);
    ctx.bus.on('ready', function () {
      var ev;
      try { ev = new Event('folivoxready'); } catch (e) { return; }
      window.dispatchEvent(ev);
    });
    return api;
  }

  F.createApi = createApi;
})(window.Folivox);
