/* Folivox player: the share button. Hands the link to the page in view (#page=N) to
 * the system's share sheet where the browser has one, else copies it and says so;
 * where copying is refused (a page from the disk in some browsers) it shows the link. */
(function (F) {
  'use strict';

  // ctx: { root, texts, bus, reader }
  function createShare(ctx) {
    var note = ctx.root.appendChild(F.dom.make('p', 'fv-note', { role: 'status' }));
    var timer = 0;

    function say(text) {
      note.textContent = text;
      clearTimeout(timer);
      timer = setTimeout(function () { note.textContent = ''; }, 3000);
    }

    ctx.bus.on('share', function () {
      var url = location.href.split('#')[0] + '#page=' + (ctx.reader.anchor() + 1);
      var n = navigator;
      if (n.share) n.share({ title: document.title, url: url }).catch(function () { /* the reader closed the sheet */ });
      else if (n.clipboard) n.clipboard.writeText(url).then(function () { say(ctx.texts.copied); }, function () { say(url); });
      else say(url);
    });
  }

  F.createShare = createShare;
})(window.Folivox);
