/* Folivox player: the contents panel, the book's bookmarks as a nested list beside the
 * book. Built when first opened. An entry turns to its page and, on a narrow window,
 * closes the panel; Escape closes it (it registers with the panel stack, keys.js).
 * In the list the arrow keys, Page Up/Down, Home and End move between entries instead
 * of turning the book. The section the reader is in is marked (aria-current) and kept
 * in view. */
(function (F) {
  'use strict';

  // The entry of the section that holds `page`: the last one, in reading order, that
  // starts on it or before; -1 before the first. pages: each entry's page, in list order.
  function currentIndex(pages, page) {
    var best = -1;
    for (var i = 0; i < pages.length; i++) {
      if (pages[i] >= 0 && pages[i] <= page && (best < 0 || pages[i] >= pages[best])) best = i;
    }
    return best;
  }

  // Where a key moves the focus in a list of `count` entries from entry i, showing
  // `pageSize` of them at a time; -1 for a key the list does not take.
  function moveIndex(key, i, count, pageSize) {
    var last = count - 1;
    switch (key) {
      case 'ArrowDown': return Math.min(last, i + 1);
      case 'ArrowUp': return Math.max(0, i - 1);
      case 'PageDown': return Math.min(last, i + pageSize);
      case 'PageUp': return Math.max(0, i - pageSize);
      case 'Home': return 0;
      case 'End': return last;
      default: return -1;
    }
  }

  // ctx: { root, book, texts, labels, bus, reader, panels, toolbar }
  function createContents(ctx) {
    var make = F.dom.make;
    var T = ctx.texts;
    var button = ctx.toolbar.buttons.contents;
    var panel = null, body = null;
    var entries = [];   // the links in list order
    var current = null;
    var open = false;
    var self = { close: function () { toggle(false); } };

    function buildList(list) {
      var ul = make('ul', 'fv-toc-list');
      for (var i = 0; i < list.length; i++) {
        var e = list[i];
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
          entries.push(item);
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

    // The entry a tree key leads to: Left the enclosing entry, Right the first nested one.
    function treeStep(key, entry) {
      var li = entry.parentNode;
      if (key === 'ArrowRight') return li.querySelector('.fv-toc-list .fv-toc-entry');
      var outer = li.parentNode.parentNode;
      return outer && outer.classList && outer.classList.contains('fv-toc-item') ? outer.querySelector('.fv-toc-entry') : null;
    }

    function onKey(ev) {
      var at = entries.indexOf(document.activeElement);
      if (at < 0 || ev.altKey || ev.ctrlKey || ev.metaKey) return;
      var to = null;
      if (ev.key === 'ArrowLeft' || ev.key === 'ArrowRight') {
        to = treeStep(ev.key, entries[at]);
      } else {
        var rowH = entries[at].offsetHeight || 32;
        var i = moveIndex(ev.key, at, entries.length, Math.max(1, Math.floor(body.clientHeight / rowH) - 1));
        if (i < 0) return;
        to = entries[i];
      }
      // Taken here even when there is nowhere to go, so the book does not turn.
      ev.preventDefault();
      if (to) to.focus();
    }

    function build() {
      panel = make('aside', 'fv-toc fv-panel', { 'aria-label': T.contents });
      var head = make('div', 'fv-toc-head');
      var h = make('h2', 'fv-toc-caption');
      h.textContent = T.contents;
      head.appendChild(h);
      head.appendChild(F.dom.button('fv-toc-close', 'close', T.close, function () { toggle(false); }));
      panel.appendChild(head);
      body = make('nav', 'fv-toc-body');
      body.appendChild(buildList(ctx.book.toc));
      panel.appendChild(body);
      panel.addEventListener('keydown', onKey);
      ctx.root.appendChild(panel);
    }

    // Marks the section of the last page in view and, while open, keeps it in view.
    function markCurrent() {
      if (!panel) return;
      var shown = ctx.reader.view().pages;
      var page = shown.length ? Math.max.apply(null, shown) : -1;
      var i = currentIndex(entries.map(function (a) { return +a.getAttribute('data-page'); }), page);
      var now = i >= 0 ? entries[i] : null;
      if (now === current) return;
      if (current) current.removeAttribute('aria-current');
      current = now;
      if (current) {
        current.setAttribute('aria-current', 'location');
        if (open) current.scrollIntoView({ block: 'nearest' });
      }
    }

    // Opens or closes the panel (switches it without an argument).
    function toggle(want) {
      if (!panel) build();
      open = want === undefined ? !open : want;
      panel.classList.toggle('fv-open', open);
      if (button) button.setAttribute('aria-expanded', open ? 'true' : 'false');
      if (open) ctx.panels.opened(self);
      else ctx.panels.closed(self);
      ctx.bus.emit('panelchange');
      if (open) {
        current = null;
        markCurrent();
        var first = current || entries[0];
        if (first) first.focus({ preventScroll: false });
      } else if (button) {
        button.focus();
      }
    }

    ctx.bus.on('togglecontents', function () { toggle(); });
    ctx.bus.on('spreadchange', markCurrent);
    return { toggle: toggle, isOpen: function () { return open; } };
  }

  F.contents = { currentIndex: currentIndex, moveIndex: moveIndex };
  F.createContents = createContents;
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
