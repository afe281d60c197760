/* Folivox player: the page in the address (#page=N, counted from 1; #read=N with the
 * reading view open, reading.js). The book opens
 * at it and follows it when it changes; as the reader turns, the address names the
 * anchored page without adding history entries. #search= is find_bar.js's. */
(function (F) {
  'use strict';

  // ctx: { bus, reader, reading (once made) }
  function createDeepLink(ctx) {
    var reader = ctx.reader;

    function write() {
      // The reading view names its page as #read=N, so the link opens it again.
      var want = (ctx.reading && ctx.reading.isOpen() ? '#read=' : '#page=') + (reader.anchor() + 1);
      if (location.hash === want) return;
      try {
        history.replaceState(history.state, '', want);
      } catch (e) {
        try { location.replace(want); } catch (e2) { /* a sandboxed frame may refuse both */ }
      }
    }

    // An address that names no page of the book is set back to the page shown,
    // unless it asks for a search (find_bar.js reads it after this).
    window.addEventListener('hashchange', function () {
      var p = F.pageFromHash(location.hash, reader.pageCount());
      if (p >= 0) reader.goTo(p);
      else if (!F.find.queryFromHash(location.hash)) write();
    });
    ctx.bus.on('spreadchange', write);
    ctx.bus.on('readingchange', write);
  }

  F.createDeepLink = createDeepLink;
})(window.Folivox);
