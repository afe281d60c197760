/* Folivox player: the thumbnail strip above the toolbar. Built when first opened, and
 * it draws only the thumbnails scrolled into view, so a book of thousands of pages
 * costs no more than a short one. It follows the current page, shows the printed
 * labels, and keeps each page's shape. It takes its room from the stage (a dock,
 * stage.js) and registers with the panel stack, so Escape closes it. */
(function (F) {
  'use strict';

  var make = F.dom.make;

  // ctx: { root, book, opts, texts, bus, reader, labels, panels, stage, pageView, toolbar }
  function createThumbnails(ctx) {
    var T = ctx.texts;
    var book = ctx.book;
    var rtl = ctx.opts.rightToLeft;
    var n = book.pages.length;
    var button = ctx.toolbar.buttons.thumbnails;
    var strip = null, scroller = null, track = null;
    var items = Object.create(null);
    var open = false;
    var self = { close: function () { toggle(false); } };

    function build() {
      strip = make('div', 'fv-thumbs', { role: 'region', 'aria-label': T.thumbnails });
      scroller = make('div', 'fv-thumbs-scroll');
      track = make('div', 'fv-thumbs-track');
      scroller.appendChild(track);
      strip.appendChild(scroller);
      ctx.root.appendChild(strip);
      var pending = false;
      scroller.addEventListener('scroll', function () {
        if (pending) return;
        pending = true;
        requestAnimationFrame(function () { pending = false; draw(); });
      });
      scroller.addEventListener('wheel', function (ev) {
        if (ev.deltaY && !ev.deltaX && !ev.ctrlKey) {
          scroller.scrollLeft += ev.deltaY;
          ev.preventDefault();
        }
      }, { passive: false });
    }

    function geometry() {
      var h = strip.clientHeight - 34;
      var w = Math.max(20, Math.round(h * ctx.stage.aspect()));
      return { w: w, h: h, gap: 10, step: w + 10 };
    }

    // Right-to-left books list their pages from right to left.
    function slotOf(p) { return rtl ? n - 1 - p : p; }

    function draw() {
      if (!open) return;
      var g = geometry();
      track.style.width = (n * g.step + g.gap) + 'px';
      track.style.height = (g.h + 24) + 'px';
      var sl = scroller.scrollLeft, cw = scroller.clientWidth;
      var firstSlot = Math.max(0, Math.floor((sl - g.gap) / g.step) - 1);
      var lastSlot = Math.min(n - 1, Math.ceil((sl + cw) / g.step));
      var want = Object.create(null);
      for (var slot = firstSlot; slot <= lastSlot; slot++) want[rtl ? n - 1 - slot : slot] = true;
      for (var k in items) {
        if (!want[k] || items[k]._w !== g.w) { items[k].remove(); delete items[k]; }
      }
      var shown = ctx.reader.view().pages;
      for (var key in want) {
        var p = +key;
        if (items[p]) continue;
        var b = make('button', 'fv-thumb', { type: 'button', 'aria-label': T.goTo + ' ' + ctx.labels.labelOf(p) });
        b._w = g.w;
        b.style.left = (g.gap + slotOf(p) * g.step) + 'px';
        b.style.width = g.w + 'px';
        var frame = make('span', 'fv-thumb-frame');
        frame.style.height = g.h + 'px';
        var img = make('img', 'fv-thumb-img', { alt: '', draggable: 'false', decoding: 'async', loading: 'lazy' });
        fit(img, g, ctx.pageView.aspectOf(p));
        img.addEventListener('load', fitLoaded);
        if (book.pages[p].thumb) img.src = book.pages[p].thumb;
        var label = make('span', 'fv-thumb-label');
        label.textContent = ctx.labels.labelOf(p);
        frame.appendChild(img);
        b.appendChild(frame);
        b.appendChild(label);
        b.setAttribute('data-page', String(p));
        if (shown.indexOf(p) >= 0) b.classList.add('fv-current');
        b.addEventListener('click', onThumbClick);
        track.appendChild(b);
        items[p] = b;
      }
    }

    // A thumbnail keeps its page's shape, fitted and centred in its frame.
    function fit(img, g, aspect) {
      var box = F.pictures.fitBox(g.w / g.h, aspect);
      img.style.left = (box.x * 100).toFixed(2) + '%';
      img.style.top = (box.y * 100).toFixed(2) + '%';
      img.style.width = (box.w * 100).toFixed(2) + '%';
      img.style.height = (box.h * 100).toFixed(2) + '%';
    }

    function fitLoaded() {
      if (this.naturalWidth > 0 && this.naturalHeight > 0) fit(this, geometry(), this.naturalWidth / this.naturalHeight);
    }

    function onThumbClick() { ctx.reader.goTo(parseInt(this.getAttribute('data-page'), 10)); }

    function markCurrent() {
      var shown = ctx.reader.view().pages;
      for (var k in items) items[k].classList.toggle('fv-current', shown.indexOf(+k) >= 0);
    }

    // Scrolls the strip to the current page when it is out of view (or always).
    function follow(always) {
      var g = geometry();
      var p = ctx.reader.view().pages[0];
      var left = g.gap + slotOf(p) * g.step;
      var sl = scroller.scrollLeft, cw = scroller.clientWidth;
      if (always || left < sl || left + g.w > sl + cw) scroller.scrollLeft = left - cw / 2 + g.w / 2;
      draw();
    }

    // Opens or closes the strip (switches it without an argument).
    function toggle(want) {
      if (!strip) build();
      open = want === undefined ? !open : want;
      strip.classList.toggle('fv-open', open);
      ctx.root.classList.toggle('fv-thumbs-open', open);
      if (button) button.setAttribute('aria-expanded', open ? 'true' : 'false');
      if (open) ctx.panels.opened(self);
      else ctx.panels.closed(self);
      ctx.stage.layout(false);
      if (open) {
        follow(true);
      } else {
        track.textContent = '';
        items = Object.create(null);
      }
    }

    ctx.stage.addDock({
      height: function () { return open && strip ? strip.offsetHeight : 0; },
      place: function (bottom) { if (strip) strip.style.bottom = bottom + 'px'; }
    });
    ctx.bus.on('togglethumbnails', function () { toggle(); });
    // The strip follows the reader through the book.
    ctx.bus.on('spreadchange', function () {
      if (!open) return;
      markCurrent();
      follow(false);
    });
    ctx.bus.on('layout', function () { if (open) draw(); });
    return { toggle: toggle, isOpen: function () { return open; } };
  }

  F.createThumbnails = createThumbnails;
})(window.Folivox);
