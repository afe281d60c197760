/* Folivox player: the contents panel, the book's bookmarks as a nested list beside the
 * book. Built when first opened. An entry turns to its page and, on a narrow window,
 * closes the panel; Escape closes it (it registers with the panel stack, keys.js). */
(function (F) {
  'use strict';

  var make = F.dom.make;

  // ctx: { root, book, texts, bus, reader, panels, toolbar }
  function createContents(ctx) {
    var T = ctx.texts;
    var button = ctx.toolbar.buttons.contents;
    var panel = null;
    var open = false;
    var self = { close: function () { toggle(false); } };

    function buildList(entries) {
      var ul = make('ul', 'fv-toc-list');
      for (var i = 0; i < entries.length; i++) {
        var e = entries[i];
        var li = make('li', 'fv-toc-item');
        var item;
        if (e.page >= 0) {
          item = make('a', 'fv-toc-entry', { href: '#page=' + (e.page + 1) });
          item.setAttribute('data-page', String(e.page));
          item.addEventListener('click', onEntryClick);
          var title = make('span', 'fv-toc-title');
          title.textContent = e.title;
          var num = make('span', 'fv-toc-page');
          num.textContent = ctx.labels.labelOf(e.page);
          item.appendChild(title);
          item.appendChild(num);
        } else {
          item = make('span', 'fv-toc-heading');
          item.textContent = e.title;
        }
        li.appendChild(item);
        if (e.children.length) li.appendChild(buildList(e.children));
        ul.appendChild(li);
      }
      return ul;
    }

    function onEntryClick(ev) {
      ev.preventDefault();
      ctx.reader.goTo(parseInt(this.getAttribute('data-page'), 10));
      if (window.innerWidth < 900) toggle(false);
    }

    function build() {
      panel = make('aside', 'fv-toc', { 'aria-label': T.contents });
      var head = make('div', 'fv-toc-head');
      var h = make('h2', 'fv-toc-caption');
      h.textContent = T.contents;
      head.appendChild(h);
      head.appendChild(F.dom.button('fv-toc-close', 'close', T.close, function () { toggle(false); }));
      panel.appendChild(head);
      var body = make('nav', 'fv-toc-body');
      body.appendChild(buildList(ctx.book.toc));
      panel.appendChild(body);
      ctx.root.appendChild(panel);
    }

    // Opens or closes the panel (switches it without an argument).
    function toggle(want) {
      if (!panel) build();
      open = want === undefined ? !open : want;
      panel.classList.toggle('fv-open', open);
      if (button) button.setAttribute('aria-expanded', open ? 'true' : 'false');
      if (open) ctx.panels.opened(self);
      else ctx.panels.closed(self);
      if (open) {
        var firstEntry = panel.querySelector('.fv-toc-entry');
        if (firstEntry) firstEntry.focus({ preventScroll: false });
      } else if (button) {
        button.focus();
      }
    }

    ctx.bus.on('togglecontents', function () { toggle(); });
    return { toggle: toggle, isOpen: function () { return open; } };
  }

  F.createContents = createContents;
})(window.Folivox);
