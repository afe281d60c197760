/* Folivox player: the title (logo and book title) and the toolbar: the turning
 * buttons, the page field and the tools the book's settings switch on. Turning and
 * zoom go to the reader; the panel buttons emit their toggle events (events.js) and
 * the panels show their state on the button (buttons.contents, ...). Skins with a
 * header put the title and the toolbar in one bar across the top. */
(function (F) {
  'use strict';

  var make = F.dom.make, button = F.dom.button;

  // ctx: { root, book, opts, texts, bus, reader, labels, stage }
  function createToolbar(ctx) {
    var root = ctx.root;
    var opts = ctx.opts;
    var T = ctx.texts;
    var reader = ctx.reader;
    var n = reader.pageCount();
    var emit = function (name) { return function () { ctx.bus.emit(name); }; };
    var buttons = {};
    var pageInput = null;
    var head = null;

    // Title and toolbar come before the book in the document, so Tab reaches the
    // buttons before the page's link areas.
    function place(el) { root.insertBefore(el, ctx.stage.element); }

    if (opts.header) {
      head = make('header', 'fv-head');
      place(head);
    }

    function buildBrand() {
      if (!opts.logo && !opts.title) return;
      // Outside a header bar the title stands alone: it is the page's banner then.
      var brand = make(head ? 'div' : 'header', 'fv-brand');
      if (opts.logo) {
        var img = make('img', 'fv-logo', { src: opts.logo, alt: opts.logoLink ? opts.logoLink : '' });
        img.addEventListener('error', function () { img.remove(); });
        if (opts.logoLink) {
          var a = make('a', 'fv-logo-link', { href: opts.logoLink, target: '_blank', rel: 'noopener noreferrer' });
          a.appendChild(img);
          brand.appendChild(a);
        } else {
          brand.appendChild(img);
        }
      }
      if (opts.title) {
        var h = make('h1', 'fv-title');
        h.textContent = opts.title;
        brand.appendChild(h);
      }
      if (head) head.appendChild(brand);
      else place(brand);
    }

    function buildPageField() {
      var field = make('label', 'fv-pagefield');
      // Printed labels may have letters; plain books take numbers.
      pageInput = make('input', 'fv-field fv-pageinput', {
        type: 'text', inputmode: ctx.labels.has ? 'text' : 'numeric', autocomplete: 'off', spellcheck: 'false',
        'aria-label': T.goTo, title: T.goTo
      });
      var total = make('span', 'fv-pagetotal');
      total.textContent = '/ ' + n;
      field.appendChild(pageInput);
      field.appendChild(total);
      pageInput.addEventListener('focus', function () { pageInput.select(); });
      pageInput.addEventListener('keydown', function (ev) {
        if (ev.key === 'Enter') {
          var p = ctx.labels.find(pageInput.value);
          if (p >= 0) reader.goTo(p);
          pageInput.blur();
          showState();
        } else if (ev.key === 'Escape') {
          pageInput.blur();
        }
      });
      pageInput.addEventListener('blur', showState);
      return field;
    }

    function buildBar() {
      var bar = make('nav', 'fv-bar', { 'aria-label': T.page });
      var group = make('div', 'fv-group fv-nav');
      // The arrows keep their look on right-to-left books; what they do follows the direction.
      var rtl = opts.rightToLeft;
      buttons.farLeft = button('fv-far-left', 'first', rtl ? T.last : T.first, function () { reader.goTo(rtl ? n - 1 : 0); });
      buttons.left = button('fv-left', 'prev', rtl ? T.next : T.prev, function () { reader.step(rtl ? 1 : -1); });
      buttons.right = button('fv-right', 'next', rtl ? T.prev : T.next, function () { reader.step(rtl ? -1 : 1); });
      buttons.farRight = button('fv-far-right', 'last', rtl ? T.first : T.last, function () { reader.goTo(rtl ? 0 : n - 1); });
      group.appendChild(buttons.farLeft);
      group.appendChild(buttons.left);
      if (opts.showPageNumber) group.appendChild(buildPageField());
      group.appendChild(buttons.right);
      group.appendChild(buttons.farRight);
      bar.appendChild(group);

      var tools = make('div', 'fv-group fv-tools');
      // Shown once the book is known to have text (find_bar.js).
      buttons.search = button('fv-search', 'search', T.search, emit('togglesearch'));
      buttons.search.setAttribute('aria-expanded', 'false');
      buttons.search.hidden = true;
      tools.appendChild(buttons.search);
      // Reading and read aloud show once the book is known to have text (reading.js,
      // read_aloud.js); night mode says whether it is on (night.js).
      [['read', 'fv-read-button', T.reading, 'togglereading'], ['speak', 'fv-speak', T.readAloud, 'togglespeech'],
        ['night', 'fv-night-button', T.night, 'togglenight']].forEach(function (b) {
        var el = buttons[b[0]] = tools.appendChild(button(b[1], b[0], b[2], emit(b[3])));
        el.setAttribute('aria-pressed', 'false');
        el.hidden = b[0] !== 'night';
      });
      if (opts.showContents && ctx.book.toc.length) {
        buttons.contents = button('fv-contents', 'contents', T.contents, emit('togglecontents'));
        buttons.contents.setAttribute('aria-expanded', 'false');
        tools.appendChild(buttons.contents);
      }
      if (opts.showThumbnails) {
        buttons.thumbnails = button('fv-thumbnails', 'thumbnails', T.thumbnails, emit('togglethumbnails'));
        buttons.thumbnails.setAttribute('aria-expanded', 'false');
        tools.appendChild(buttons.thumbnails);
      }
      if (opts.showZoom) {
        buttons.zoomOut = button('fv-zoom-out', 'zoomOut', T.zoomOut, function () { reader.zoomBy(-1); });
        buttons.zoomIn = button('fv-zoom-in', 'zoomIn', T.zoomIn, function () { reader.zoomBy(1); });
        tools.appendChild(buttons.zoomOut);
        tools.appendChild(buttons.zoomIn);
      }
      if (opts.showSoundButton) {
        // sound.js shows whether the sound is on.
        buttons.sound = button('fv-sound', 'soundOff', T.sound, emit('togglesound'));
        tools.appendChild(buttons.sound);
      }
      if (opts.showPrint && typeof window.print === 'function') {
        buttons.print = button('fv-print-button', 'print', T.print, emit('print'));
        buttons.print.setAttribute('aria-haspopup', 'dialog');
        tools.appendChild(buttons.print);
      }
      buttons.share = tools.appendChild(button('fv-share', 'share', T.share, emit('share')));
      if (opts.download) {
        var a = tools.appendChild(make('a', 'fv-button fv-download', { href: opts.download, download: '', title: T.download, 'aria-label': T.download }));
        a.appendChild(F.dom.icon('download'));
      }
      var fsRoot = document.documentElement;
      if (opts.showFullscreen && document.fullscreenEnabled && fsRoot.requestFullscreen) {
        var fs = buttons.fullscreen = button('fv-fullscreen', 'fullscreen', T.fullscreen, function () {
          if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
          else fsRoot.requestFullscreen().catch(function () {});
        });
        fs.setAttribute('aria-pressed', 'false');
        document.addEventListener('fullscreenchange', function () {
          fs.setAttribute('aria-pressed', document.fullscreenElement ? 'true' : 'false');
        });
        tools.appendChild(fs);
      }
      bar.appendChild(tools);
      if (head) head.appendChild(bar);
      else place(bar);
      return bar;
    }

    // The page field and which buttons can be used, from the reader.
    function showState() {
      var v = reader.view();
      if (pageInput && document.activeElement !== pageInput) pageInput.value = ctx.labels.rangeOf(v.pages);
      var atStart = reader.spread() <= 0, atEnd = reader.spread() >= reader.spreads() - 1;
      var rtl = opts.rightToLeft;
      buttons.farLeft.disabled = rtl ? atEnd : atStart;
      buttons.left.disabled = rtl ? atEnd : atStart;
      buttons.right.disabled = rtl ? atStart : atEnd;
      buttons.farRight.disabled = rtl ? atStart : atEnd;
      if (buttons.zoomOut) {
        buttons.zoomOut.disabled = reader.zoom() === 0;
        buttons.zoomIn.disabled = reader.zoom() === reader.maxZoom;
      }
    }

    // The field fits the widest label it can show ("1000-1001" in a 2,000-page book).
    function sizeField() {
      if (pageInput) pageInput.style.setProperty('--fv-page-chars', String(ctx.labels.widest(reader.single())));
    }

    buildBrand();
    var bar = buildBar();
    ctx.bus.on('layout', sizeField);
    ctx.bus.on('spreadchange', showState);
    ctx.bus.on('zoomchange', showState);
    return { head: head, bar: bar, buttons: buttons };
  }

  F.createToolbar = createToolbar;
})(window.Folivox);
