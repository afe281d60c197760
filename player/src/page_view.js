/* Folivox player: one page as the reader sees it, built in a fixed order of layers:
 * the picture, then the text layer, then the link areas, so links stay clickable
 * above the text. Modules add the layers beyond the picture (addLayer); those are
 * built only for pages at rest, not for the ones lying under a turning leaf.
 * A page keeps its own shape, fitted and centred in its slot (pictures.js), and the
 * layers lie on the picture, so link areas stay on what they mark. Pages at rest
 * swap in their zoom picture when the zoom needs it.
 * A page whose picture is still on its way shows its thumbnail, scaled, meanwhile.
 * Once the first spread has painted ('ready'), keeps the pictures of the two spreads
 * on each side loaded as detached images (cached and decoded, not in the document),
 * so a turn never waits; before that, the first spread's pictures come first. */
(function (F) {
  'use strict';

  var LAYERS = ['text', 'links'];
  var P = F.pictures;

  // ctx: { book, texts, labels, photos, bus, reader, stage }
  function createPageView(ctx) {
    var book = ctx.book;
    var T = ctx.texts;
    var layers = Object.create(null);
    var preloaded = Object.create(null);
    // What the normal pictures tell, once loaded: each page's aspect.
    var aspects = Object.create(null);
    var live = [];                        // pages at rest in the document: { p, div, img }
    var large = Object.create(null);      // p -> 'loading', 'ready' or 'failed': zoom pictures

    // build(p) returns the layer's element for page p, or null when it has none there.
    function addLayer(name, build) {
      if (LAYERS.indexOf(name) < 0) throw new Error('unknown page layer "' + name + '"');
      layers[name] = build;
    }

    // The page's box in its slot, as fractions (pictures.js fitBox).
    function boxOf(p) { return P.fitBox(ctx.stage.aspect(), aspects[p] || 0); }

    function place(div, p) {
      var b = boxOf(p);
      var s = div.style;
      s.left = (b.x * 100).toFixed(3) + '%';
      s.top = (b.y * 100).toFixed(3) + '%';
      s.width = (b.w * 100).toFixed(3) + '%';
      s.height = (b.h * 100).toFixed(3) + '%';
    }

    // Learns a page's shape from its normal picture, and places the page anew where
    // it is shown (its picture may have loaded first beside it, as a neighbour).
    function learn(p, img) {
      var w = img.naturalWidth, h = img.naturalHeight;
      if (!(w > 0 && h > 0) || img.getAttribute('src') !== book.pages[p].url) return;
      var was = aspects[p];
      aspects[p] = w / h;
      if (was === aspects[p]) return;
      live.forEach(function (l) { if (l.p === p) place(l.div, p); });
    }

    // The thumbnail as the picture's background until the picture itself has arrived.
    function placeholder(img, p) {
      var pg = book.pages[p];
      if (img.complete || !pg.thumb || pg.thumb === img.getAttribute('src')) return;
      img.style.backgroundImage = F.dom.cssUrl(pg.thumb);
      img.classList.add('fv-waiting');
      function done() {
        img.style.backgroundImage = '';
        img.classList.remove('fv-waiting');
      }
      img.addEventListener('load', done);
      img.addEventListener('error', done);
    }

    function make(p, atRest) {
      var div = F.dom.make('div', 'fv-page' + (ctx.reader.isHard(p) ? ' fv-hard' : '') + (ctx.photos[p] ? ' fv-photo' : ''));
      div.setAttribute('data-page', String(p + 1));
      var img = F.dom.make('img', 'fv-picture', { alt: T.page + ' ' + ctx.labels.labelOf(p), draggable: 'false', decoding: 'async' });
      img.addEventListener('error', function () { div.classList.add('fv-broken'); });
      img.addEventListener('load', function () {
        learn(p, img);
        place(div, p);
        if (atRest) sharpen();
      });
      var url = large[p] === 'ready' && needsLarge(p) ? book.pages[p].large : book.pages[p].url;
      if (url) {
        img.src = url;
        placeholder(img, p);
      } else {
        div.classList.add('fv-broken');
      }
      place(div, p);
      div.appendChild(img);
      if (atRest) {
        // Focusable, so a page link can hand the focus to the page it opened.
        div.setAttribute('tabindex', '-1');
        for (var i = 0; i < LAYERS.length; i++) {
          var build = layers[LAYERS[i]];
          var layer = build ? build(p) : null;
          if (layer) div.appendChild(layer);
        }
        live.push({ p: p, div: div, img: img });
      }
      return div;
    }

    function needsLarge(p) {
      var pg = book.pages[p];
      return P.wantsLarge({ hasLarge: !!pg.large && pg.large !== pg.url, zoom: ctx.reader.zoomFactor() });
    }

    // Swaps in the zoom picture of each page at rest that needs it, once it has loaded.
    function sharpen() {
      live = live.filter(function (l) { return l.div.isConnected; });
      live.forEach(function (l) {
        var p = l.p;
        if (!needsLarge(p) || l.img.getAttribute('src') === book.pages[p].large) return;
        if (large[p] === 'ready') { l.img.src = book.pages[p].large; return; }
        if (large[p] === 'loading') return;
        large[p] = 'loading';
        var pic = new Image();
        pic.decoding = 'async';
        pic.onload = function () { large[p] = 'ready'; sharpen(); };
        pic.onerror = function () { large[p] = 'failed'; };
        pic.src = book.pages[p].large;
      });
    }

    var painted = false;
    function preloadAround() {
      if (!painted) return;
      var r = ctx.reader;
      var keep = F.nearbyPages(r.spread(), r.pageCount(), r.single(), 2);
      var next = Object.create(null);
      for (var i = 0; i < keep.length; i++) {
        var p = keep[i];
        if (preloaded[p]) { next[p] = preloaded[p]; continue; }
        var img = new Image();
        img.decoding = 'async';
        img.onload = shapeLoader(p, img);
        if (book.pages[p].url) img.setAttribute('src', book.pages[p].url);
        next[p] = img;
      }
      preloaded = next;
      sharpen();
    }

    function shapeLoader(p, img) { return function () { learn(p, img); }; }

    ctx.bus.on('spreadchange', preloadAround);
    ctx.bus.on('ready', function () {
      painted = true;
      preloadAround();
    });
    ctx.bus.on('layout', sharpen);
    return {
      make: make,
      addLayer: addLayer,
      // The page's box in its slot once its picture is known, as fractions of the slot.
      boxOf: boxOf,
      // The page's aspect (width / height) once its picture is known, else 0.
      aspectOf: function (p) { return aspects[p] || 0; }
    };
  }

  F.createPageView = createPageView;
})(window.Folivox);
