/* Folivox player: the search panel. The toolbar's search button, Ctrl+F and "/" open
 * it (the button shows once the book is known to have text); #search=words in the
 * address, at the start or later, searches for them. Typing searches after a short
 * pause; the results list the pages with hits, each with its hits' words in context
 * as links like the contents entries, and grow as the list is scrolled. Enter and Shift+Enter go to the next and previous hit, Escape or
 * the close button end the search and take its marks off the pages. On a narrow
 * window, picking a result only hides the panel, so the marked page shows. */
(function (F) {
  'use strict';

  var make = F.dom.make;
  var PAUSE_MS = 200;
  var NARROW = 900;
  var CHUNK = 60;       // hits added to the list at a time
  var NEAR_END = 400;   // px from the list's end at which it grows

  // ctx: { root, texts, labels, bus, panels, toolbar, text, finder }
  function createFindBar(ctx) {
    var T = ctx.texts;
    var finder = ctx.finder;
    var button = ctx.toolbar.buttons.search;
    var panel = null, input = null, status = null, list = null, prevButton = null, nextButton = null;
    var open = false, available = false;
    var timer = 0;
    var last = Promise.resolve();   // the search the panel last started
    var state = null;               // the last findresult
    var listed = null;              // the search result the list shows
    var shownGroups = 0;            // how many of its pages the list shows
    var self = { close: function () { setOpen(false, false); } };

    function build() {
      panel = make('aside', 'fv-find fv-panel', { 'aria-label': T.search });
      var head = make('div', 'fv-find-head', { role: 'search' });
      input = make('input', 'fv-find-input', {
        type: 'search', 'aria-label': T.searchBook, placeholder: T.searchBook,
        autocomplete: 'off', spellcheck: 'false', enterkeyhint: 'search'
      });
      head.appendChild(input);
      prevButton = F.dom.button('fv-find-prev', 'up', T.previousResult, function () { go(-1); });
      nextButton = F.dom.button('fv-find-next', 'down', T.nextResult, function () { go(1); });
      head.appendChild(prevButton);
      head.appendChild(nextButton);
      head.appendChild(F.dom.button('fv-find-close', 'close', T.close, function () { setOpen(false, false); }));
      panel.appendChild(head);
      status = make('p', 'fv-find-status', { role: 'status', 'aria-live': 'polite' });
      panel.appendChild(status);
      list = make('ol', 'fv-find-list');
      list.addEventListener('click', onResultClick);
      list.addEventListener('scroll', onListScroll, { passive: true });
      panel.appendChild(list);
      ctx.root.appendChild(panel);

      input.addEventListener('input', function () {
        clearTimeout(timer);
        timer = setTimeout(searchNow, input.value.trim() ? PAUSE_MS : 0);
      });
      input.addEventListener('keydown', function (ev) {
        if (ev.key === 'Enter') {
          ev.preventDefault();
          go(ev.shiftKey ? -1 : 1);
        } else if (ev.key === 'Escape') {
          ev.preventDefault();
          setOpen(false, false);
        } else if ((ev.key === 'f' || ev.key === 'F') && (ev.ctrlKey || ev.metaKey)) {
          ev.preventDefault();
          input.select();
        }
      });
      render();
    }

    // Starts the search for what the field holds, unless it is already out.
    function searchNow() {
      clearTimeout(timer);
      timer = 0;
      if (input.value !== finder.query()) last = finder.run(input.value);
      return last;
    }

    function go(dir) {
      searchNow().then(function () { finder.step(dir); });
    }

    function onResultClick(ev) {
      var a = ev.target.closest ? ev.target.closest('a[data-hit]') : null;
      if (!a) return;
      ev.preventDefault();
      finder.select(parseInt(a.getAttribute('data-hit'), 10));
      if (window.innerWidth < NARROW) setOpen(false, true);
    }

    // Opens or closes the panel. Closing ends the search, unless keep asks to leave
    // its marks on the pages.
    function setOpen(want, keep, focus) {
      if (!panel) build();
      if (want === open) {
        if (want && focus) { input.focus(); input.select(); }
        return;
      }
      open = want;
      panel.classList.toggle('fv-open', open);
      if (button) button.setAttribute('aria-expanded', open ? 'true' : 'false');
      ctx.bus.emit('panelchange');
      if (open) {
        ctx.panels.opened(self);
        if (focus) { input.focus(); input.select(); }
        if (input.value.trim()) searchNow();
      } else {
        ctx.panels.closed(self);
        var hadFocus = panel.contains(document.activeElement);
        if (!keep) {
          clearTimeout(timer);
          finder.clear();
        }
        if (hadFocus && button && !button.hidden) button.focus();
      }
    }

    function statusText(e) {
      var r = e.result;
      switch (e.status) {
        case 'searching': return T.searching;
        case 'notext': return T.noText;
        case 'none': return T.noResults;
        case 'found': {
          var count = r.count + ' ' + (r.count === 1 ? T.result : T.results);
          var pages = r.pageCount + ' ' + (r.pageCount === 1 ? T.pageOne : T.pages);
          return (e.current >= 0 ? (e.current + 1) + ' ' + T.of + ' ' : '') + count + ', ' + pages;
        }
        default: return '';
      }
    }

    // One hit's entry: its words in context, marked.
    function item(hit) {
      var li = make('li');
      var a = make('a', 'fv-find-hit', { href: '#page=' + (hit.position + 1), 'data-hit': String(hit.index) });
      var text = make('span', 'fv-find-snippet', { dir: 'auto' });
      var s = F.find.snippet(hit);
      var mark = make('mark');
      mark.textContent = s.match;
      text.appendChild(document.createTextNode(s.before));
      text.appendChild(mark);
      text.appendChild(document.createTextNode(s.after));
      a.appendChild(text);
      li.appendChild(a);
      return li;
    }

    // A page's entry: its label, then its hits.
    function groupItem(r, g) {
      var li = make('li', 'fv-find-group');
      var head = make('span', 'fv-find-page', { id: 'fv-find-g' + shownGroups });
      head.textContent = T.page + ' ' + ctx.labels.labelOf(g.position);
      var hits = make('ol', 'fv-find-hits', { 'aria-labelledby': head.id });
      for (var k = 0; k < g.count; k++) hits.appendChild(item(r.hit(g.first + k)));
      li.appendChild(head);
      li.appendChild(hits);
      return li;
    }

    // The list shows the first groups and grows as it is scrolled, so a search
    // with hits on every page costs no more to show than one with a few.
    function grow(upTo) {
      var r = listed;
      if (!r) return;
      var frag = document.createDocumentFragment();
      var added = 0;
      while (shownGroups < r.groups.length && (added < CHUNK || (upTo >= 0 && r.groups[shownGroups].first <= upTo))) {
        if (shownGroups === r.phraseGroups && r.phraseGroups > 0) {
          var note = make('li', 'fv-find-apart');
          note.textContent = T.allWords;
          frag.appendChild(note);
        }
        var g = r.groups[shownGroups];
        frag.appendChild(groupItem(r, g));
        shownGroups++;
        added += g.count;
      }
      list.appendChild(frag);
    }

    function onListScroll() {
      if (list.scrollTop + list.clientHeight >= list.scrollHeight - NEAR_END) grow(-1);
    }

    function render() {
      if (!panel || !state) return;
      status.textContent = statusText(state);
      var r = state.status === 'searching' ? listed : state.result;
      if (r !== listed || !r) {
        listed = r;
        shownGroups = 0;
        list.textContent = '';
        grow(-1);
      }
      var was = list.querySelector('[aria-current]');
      if (was) was.removeAttribute('aria-current');
      if (state.current >= 0 && state.result === listed) {
        grow(state.current);
        var now = list.querySelector('[data-hit="' + state.current + '"]');
        if (now) {
          now.setAttribute('aria-current', 'true');
          if (now.scrollIntoView) now.scrollIntoView({ block: 'nearest' });
        }
      }
      prevButton.disabled = nextButton.disabled = !state.result.count;
    }

    function fromAddress() {
      var q = F.find.queryFromHash(location.hash);
      if (!q) return;
      if (!panel) build();
      input.value = q;
      setOpen(true, false, false);
      searchNow().then(function () { finder.step(1); });
    }

    ctx.text.whenText(function () {
      available = true;
      if (button) button.hidden = false;
    });
    ctx.bus.on('togglesearch', function () { setOpen(!open, false, true); });
    ctx.bus.on('opensearch', function () { setOpen(true, false, true); });
    ctx.bus.on('findresult', function (e) { state = e; render(); });
    window.addEventListener('hashchange', fromAddress);
    fromAddress();
    return {
      // Whether the book is known to have text, so its keys open the search.
      available: function () { return available; },
      isOpen: function () { return open; }
    };
  }

  F.createFindBar = createFindBar;
})(window.Folivox);
