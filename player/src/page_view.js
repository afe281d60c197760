/* Folivox player: one page as the reader sees it, built in a fixed order of layers:
 * the picture, then the text layer, then the link areas, so links stay clickable
 * above the text. Modules add the layers beyond the picture (addLayer); those are
 * built only for pages at rest, not for the ones lying under a turning leaf.
 * Also keeps the pictures of the two spreads on each side loaded as detached images
 * (cached and decoded, not in the document), so a turn never waits. */
(function (F) {
  'use strict';

  var LAYERS = ['text', 'links'];

  // ctx: { book, texts, bus, reader }
  function createPageView(ctx) {
    var book = ctx.book;
    var T = ctx.texts;
    var layers = Object.create(null);
    var preloaded = Object.create(null);

    // build(p) returns the layer's element for page p, or null when it has none there.
    function addLayer(name, build) {
      if (LAYERS.indexOf(name) < 0) throw new Error('unknown page layer "' + name + '"');
      layers[name] = build;
    }

    function make(p, live) {
      var div = F.dom.make('div', 'fv-page' + (ctx.reader.isHard(p) ? ' fv-hard' : ''));
      div.setAttribute('data-page', String(p + 1));
      var img = F.dom.make('img', 'fv-picture', { alt: T.page + ' ' + (p + 1), draggable: 'false', decoding: 'async' });
      img.addEventListener('error', function () { div.classList.add('fv-broken'); });
      if (book.pages[p].url) img.src = book.pages[p].url;
      else div.classList.add('fv-broken');
      div.appendChild(img);
      if (live) {
        for (var i = 0; i < LAYERS.length; i++) {
          var build = layers[LAYERS[i]];
          var layer = build ? build(p) : null;
          if (layer) div.appendChild(layer);
        }
      }
      return div;
    }

    function preloadAround() {
      var r = ctx.reader;
      var keep = F.nearbyPages(r.spread(), r.pageCount(), r.single(), 2);
      var next = Object.create(null);
      for (var i = 0; i < keep.length; i++) {
        var p = keep[i];
        if (preloaded[p]) { next[p] = preloaded[p]; continue; }
        var img = new Image();
        img.decoding = 'async';
        if (book.pages[p].url) img.src = book.pages[p].url;
        next[p] = img;
      }
      preloaded = next;
    }

    ctx.bus.on('spreadchange', preloadAround);
    return { make: make, addLayer: addLayer };
  }

  F.createPageView = createPageView;
})(window.Folivox);
