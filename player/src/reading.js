/* Folivox player: the reading view. The toolbar's reading button, or #read=N in the
 * address, shows the words of the pages in view set anew as text (reflow.js) over the
 * book, in a column that fits any window width, at a text size the reader picks. It
 * follows the book as it turns; Escape or the button closes it. The button shows
 * once the book is known to have text. */
(function (F) {
  'use strict';

  var make = F.dom.make;

  // ctx: { root, texts, labels, bus, reader, panels, toolbar, text }
  function createReading(ctx) {
    var T = ctx.texts;
    var button = ctx.toolbar.buttons.read;
    var panel = make('section', 'fv-read', { 'aria-label': T.reading, tabindex: '-1' });
    var head = make('div', 'fv-read-head');
    var body = make('div', 'fv-read-text');
    var open = false, shown = '', size = 18;
    var self = { close: function () { setOpen(false); }, isOpen: function () { return open; } };

    function tool(cls, icon, label, fn) { head.appendChild(F.dom.button(cls, icon, label, fn)); }
    function grow(d) { size = Math.max(12, Math.min(36, size + d)); body.style.fontSize = size + 'px'; }
    tool('fv-read-smaller', 'zoomOut', T.zoomOut, function () { grow(-3); });
    tool('fv-read-larger', 'zoomIn', T.zoomIn, function () { grow(3); });
    tool('fv-read-close', 'close', T.close, function () { setOpen(false); });
    panel.appendChild(head);
    panel.appendChild(body);
    ctx.root.appendChild(panel);

    // The pages in view as text, in reading order; a turn shows the new ones.
    function render() {
      var pages = ctx.reader.view().pages.slice().sort(function (a, b) { return a - b; });
      var key = pages.join();
      if (!open || key === shown) return;
      shown = key;
      Promise.all(pages.map(ctx.text.words)).then(function (all) {
        if (shown !== key) return;
        body.textContent = '';
        all.forEach(function (words, i) {
          var list = null;
          add(body, 'p', T.page + ' ' + ctx.labels.labelOf(pages[i])).className = 'fv-read-page';
          F.reflow.structure(words).forEach(function (e) {
            if (e.k !== 'li') list = null;
            else if (!list) list = body.appendChild(make(/\d/.test(e.m) ? 'ol' : 'ul'));
            add(list || body, e.k, e.t);
          });
        });
      });
    }

    function add(parent, tag, text) {
      var el = parent.appendChild(make(tag));
      el.textContent = text;
      return el;
    }

    function setOpen(want) {
      if (want === open) return;
      open = want;
      panel.classList.toggle('fv-open', open);
      button.setAttribute('aria-pressed', String(open));
      if (open) {
        ctx.panels.opened(self);
        render();
        panel.focus();
      } else {
        ctx.panels.closed(self);
        shown = '';
        if (panel.contains(document.activeElement)) button.focus();
      }
      ctx.bus.emit('readingchange', { open: open });
    }

    function fromHash() { if (/(?:^#?|[#&])read=\d/.test(location.hash)) setOpen(true); }
    ctx.bus.on('togglereading', function () { setOpen(!open); });
    ctx.bus.on('spreadchange', render);
    ctx.text.whenText(function () { button.hidden = false; });
    window.addEventListener('hashchange', fromHash);
    fromHash();
    return self;
  }

  F.createReading = createReading;
})(window.Folivox);
