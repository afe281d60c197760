/* Folivox player: the stage, where the book lies. Sizes the book to the window,
 * leaving room for the title, the toolbar and any docks (parts that sit below the
 * book, such as the thumbnail strip), picks one page or two for the space, and shows
 * the open spread on its two sides. Each page keeps its own shape in its side's slot
 * (page_view.js); here the two pages of a spread are moved against the spine and the
 * pair to the middle, so a portrait page in a landscape book leaves no gap at the
 * spine, and a lone cover or back page sits in the middle.
 * Zoom lays the pages out larger instead of scaling them, so the browser draws the
 * picture from its full resolution and it stays sharp. */
(function (F) {
  'use strict';

  var make = F.dom.make;
  var DOCK_WIDTH = 1100;   // from this window width, open side panels push the book aside

  // ctx: { root, book, opts, texts, bus, reader, labels, pageView (when drawing), toolbar (at layout time) }
  function createStage(ctx) {
    var root = ctx.root;
    var opts = ctx.opts;
    var T = ctx.texts;
    var reader = ctx.reader;
    var pageW = 0, pageH = 0;
    var aspect = opts.aspect || 612 / 792;
    var docks = [];
    var painted = false;

    var stage = make('main', 'fv-stage', { id: 'fv-stage', 'aria-label': opts.title || document.title || T.page, tabindex: '-1' });
    var scroll = make('div', 'fv-scroll');
    var book = make('div', 'fv-book');
    var sides = { left: make('div', 'fv-side fv-side-left'), right: make('div', 'fv-side fv-side-right') };
    // What each side shows, so an unchanged side is not rebuilt: -1 empty, p a page
    // with its layers, -100 - p a bare page under a turning leaf, -2 nothing yet.
    var shown = { left: -2, right: -2 };
    // Links are reached with Tab in reading order, so the earlier page comes first.
    book.appendChild(opts.rightToLeft ? sides.right : sides.left);
    book.appendChild(opts.rightToLeft ? sides.left : sides.right);
    scroll.appendChild(book);
    stage.appendChild(scroll);
    var sr = make('div', 'fv-sr', { 'aria-live': 'polite' });
    // Keyboard readers meet this first: it skips the title and the toolbar, and the
    // next Tab reaches the page's link areas. The toolbar goes in between (toolbar.js).
    var skip = make('a', 'fv-skip', { href: '#fv-stage' });
    skip.textContent = T.skipToBook;
    skip.addEventListener('click', function (ev) {
      ev.preventDefault();
      stage.focus({ preventScroll: true });
    });
    root.insertBefore(skip, root.firstChild);
    root.appendChild(stage);
    root.appendChild(sr);
    // A page to focus once it is shown at rest: a page link's target, or (-2) the
    // anchored page when the focus was on a page that went away. -1: none.
    var wantFocus = -1;

    // Shows page p on a side (-1: nothing); live pages get their layers.
    function setSide(which, p, live) {
      var key = p < 0 ? -1 : (live ? p : -100 - p);
      if (shown[which] === key) return;
      shown[which] = key;
      if (wantFocus === -1 && sides[which].contains(document.activeElement)) wantFocus = -2;
      sides[which].textContent = '';
      if (p >= 0) sides[which].appendChild(ctx.pageView.make(p, live));
    }

    // Makes the next showSpread() rebuild both sides.
    function resetSides() {
      shown.left = -2;
      shown.right = -2;
    }

    // Moves the book sideways by a fraction of its width (a lone cover sits in the middle).
    function setShift(shift) {
      var px = reader.zoom() > 0 ? 0 : shift * (reader.single() ? pageW : 2 * pageW);
      book.style.transform = px ? 'translateX(' + px.toFixed(1) + 'px)' : '';
    }

    // The share of its slot's width that each side's page takes (0: empty side).
    function widths(v) {
      var box = ctx.pageView.boxOf;
      return { left: v.left >= 0 ? box(v.left).w : 0, right: v.right >= 0 ? box(v.right).w : 0 };
    }

    // Moves the two sides' pages against the spine and the spread to the middle.
    // Again when a picture has loaded, since that tells its page's shape.
    function hug() {
      var v = reader.view();
      var w = reader.single() ? { left: 1, right: 1 } : widths(v);
      var l = w.left > 0 && w.left < 1 ? (1 - w.left) / 2 * pageW : 0;
      var r = w.right > 0 && w.right < 1 ? (1 - w.right) / 2 * pageW : 0;
      sides.left.style.transform = l ? 'translateX(' + l.toFixed(1) + 'px)' : '';
      sides.right.style.transform = r ? 'translateX(' + (-r).toFixed(1) + 'px)' : '';
      setShift(reader.single() ? v.shift : (w.left - w.right) / 4);
    }

    function showSpread(e) {
      var v = e.view;
      if (reader.single()) {
        setSide('left', v.single, true);
        setSide('right', -1, false);
      } else {
        setSide('left', v.left, true);
        setSide('right', v.right, true);
      }
      hug();
      if (wantFocus !== -1) {
        var target = wantFocus === -2 ? e.anchor : wantFocus;
        wantFocus = -1;
        var page = book.querySelector('.fv-page[data-page="' + (target + 1) + '"]');
        if (page) page.focus({ preventScroll: true });
      }
      sr.textContent = T.page + ' ' + ctx.labels.rangeOf(v.pages) + ' ' + T.of + ' ' + reader.pageCount();
      if (!painted) waitFirstPaint();
    }

    // 'ready' once the first spread's pictures have loaded (or failed).
    function waitFirstPaint() {
      painted = true;
      var imgs = book.querySelectorAll('img.fv-picture');
      var left = imgs.length;
      function one() {
        if (--left > 0) return;
        ctx.bus.emit('ready');
      }
      if (!left) { left = 1; one(); return; }
      for (var i = 0; i < imgs.length; i++) {
        if (imgs[i].complete) one();
        else {
          imgs[i].addEventListener('load', one);
          imgs[i].addEventListener('error', one);
        }
      }
    }

    function layout(first) {
      reader.finishTurn();
      var bar = ctx.toolbar.bar ? ctx.toolbar.bar.getBoundingClientRect() : null;
      var head = ctx.toolbar.head;
      var docked = docks.map(function (d) { return d.height(); });
      var h = window.innerHeight, w = window.innerWidth;
      var top, barSpace;
      if (head) {
        // The header may wrap onto two lines on a narrow window; measure it every time.
        var headH = head.offsetHeight;
        root.style.setProperty('--fv-head-h', headH + 'px');
        top = headH + 16;
        barSpace = 0;
      } else {
        var brand = root.querySelector('.fv-brand');
        top = brand ? brand.offsetHeight + 20 : 16;
        barSpace = bar ? Math.max(0, h - bar.top) : 0;
      }
      // Docks stack upwards from the toolbar.
      var stacked = 0;
      for (var i = 0; i < docks.length; i++) {
        docks[i].place(barSpace + 8 + stacked);
        if (docked[i]) stacked += docked[i] + 8;
      }
      var bottom = barSpace + stacked + 12;
      root.style.setProperty('--fv-stage-top', top + 'px');
      root.style.setProperty('--fv-stage-bottom', bottom + 'px');
      // On a wide window an open side panel (contents, search) moves the book aside
      // instead of covering it; narrower windows let the panel lie over the book.
      var inset = sideInsets(w);
      root.style.setProperty('--fv-stage-left', inset.left + 'px');
      root.style.setProperty('--fv-stage-right', inset.right + 'px');
      w -= inset.left + inset.right;
      // Narrow windows keep the book large: the margin shrinks with the width.
      var margin = Math.min(opts.margin, Math.round(w / 25));
      var availW = Math.max(120, w - 2 * Math.max(16, margin));
      var availH = Math.max(120, h - top - bottom);
      var single = F.useSinglePage(availW, availH, aspect);
      if (reader.setSingle(single, first)) root.classList.toggle('fv-single', single);
      var fit = F.fitPage(availW, availH, aspect, single);
      var z = reader.zoomFactor();
      pageW = Math.round(fit.width * z);
      pageH = Math.round(fit.height * z);
      var bw = single ? pageW : 2 * pageW;
      book.style.width = bw + 'px';
      book.style.height = pageH + 'px';
      book.style.setProperty('--fv-page-w', pageW + 'px');
      book.style.setProperty('--fv-page-h', pageH + 'px');
      book.style.perspective = Math.round(Math.max(2000, bw * 5)) + 'px';
      root.classList.toggle('fv-zoomed', reader.zoom() > 0);
      reader.show();
      ctx.bus.emit('layout', { pageW: pageW, pageH: pageH });
    }

    // The room open side panels take on either side of the window. Measured without
    // their slide-in transform, so it is right while they are still moving.
    function sideInsets(w) {
      var inset = { left: 0, right: 0 };
      if (w < DOCK_WIDTH) return inset;
      var open = root.querySelectorAll('.fv-panel.fv-open');
      for (var i = 0; i < open.length; i++) {
        var p = open[i];
        if (p.offsetLeft + p.offsetWidth / 2 < w / 2) inset.left = Math.max(inset.left, p.offsetLeft + p.offsetWidth);
        else inset.right = Math.max(inset.right, w - p.offsetLeft);
      }
      return inset;
    }

    // The point of the book under the zoom's focus (a pointer, or the middle of the
    // view) stays where it is. The layout is still the old one here.
    var focus = null;
    function onZoomChange() {
      var view = stage.getBoundingClientRect();
      var x = focus ? focus.x : view.left + view.width / 2;
      var y = focus ? focus.y : view.top + view.height / 2;
      var before = book.getBoundingClientRect();
      var u = (x - before.left) / Math.max(1, before.width);
      var v = (y - before.top) / Math.max(1, before.height);
      layout(false);
      var after = book.getBoundingClientRect();
      stage.scrollLeft += after.left + u * after.width - x;
      stage.scrollTop += after.top + v * after.height - y;
    }

    // Zooms to a level keeping the point (x, y) of the window where it is.
    function zoomAt(level, x, y) {
      focus = { x: x, y: y };
      try { reader.setZoom(level); } finally { focus = null; }
    }

    // Without pageWidth/pageHeight the first picture tells the page shape.
    function learnAspect() {
      var img = new Image();
      img.onload = function () {
        if (img.naturalWidth > 0 && img.naturalHeight > 0) {
          aspect = img.naturalWidth / img.naturalHeight;
          // Pages are placed in their slots by its shape: build them anew.
          resetSides();
          layout(false);
        }
      };
      if (ctx.book.pages[0].url) img.src = ctx.book.pages[0].url;
    }

    // The first layout, once every part is there; then the stage follows the window.
    function start() {
      layout(true);
      window.addEventListener('resize', function () { layout(false); });
      if (!opts.aspect) learnAspect();
    }

    ctx.bus.on('spreadchange', showSpread);
    // After the picture's own listener (page_view.js), which learns the page's shape.
    book.addEventListener('load', function (ev) {
      if (ev.target.classList && ev.target.classList.contains('fv-picture')) {
        setTimeout(function () { if (!book.querySelector('.fv-leaf')) hug(); }, 0);
      }
    }, true);
    ctx.bus.on('zoomchange', onZoomChange);
    ctx.bus.on('panelchange', function () { layout(false); });
    return {
      element: stage,
      book: book,
      start: start,
      layout: layout,
      zoomAt: zoomAt,
      // Moves the focus to page p once it is shown at rest (after a page link).
      focusPage: function (p) { wantFocus = p; },
      // dock: { height() (0 when closed), place(bottom px) }, stacked above the toolbar in order.
      addDock: function (dock) { docks.push(dock); },
      aspect: function () { return aspect; },
      pageWidth: function () { return pageW; },
      pageHeight: function () { return pageH; },
      setSide: setSide,
      resetSides: resetSides,
      setShift: setShift
    };
  }

  F.createStage = createStage;
})(window.Folivox);
