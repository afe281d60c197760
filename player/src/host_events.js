/* Folivox player: tells a page that embeds the book where the reader is. Every turn
 * dispatches "folivoxpagechange" on the document; in a frame, the parent also gets a
 * message, but only for the origins the publisher listed (hostOrigins), so nothing
 * leaves the page unless asked. */
(function (F) {
  'use strict';

  // ctx: { opts, bus, reader }
  function createHostEvents(ctx) {
    var reader = ctx.reader;
    var last = -1;

    ctx.bus.on('spreadchange', function () {
      var p = reader.anchor();
      if (p === last) return;
      last = p;
      var detail = { type: 'folivoxpagechange', page: p + 1, pages: reader.view().pages.map(function (q) { return q + 1; }), pageCount: reader.pageCount() };
      document.dispatchEvent(new CustomEvent(detail.type, { detail: detail }));
      // postMessage drops the message when the parent is of another origin.
      if (window.parent !== window) ctx.opts.hostOrigins.forEach(function (o) { window.parent.postMessage(detail, o); });
    });
  }

  F.createHostEvents = createHostEvents;
})(window.Folivox);
