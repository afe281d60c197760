/* Folivox player: page pictures, free of the DOM. Each page keeps its own shape: a
 * landscape table in a portrait book is fitted and centred in the page's slot, never
 * stretched. And the zoom resource (largeUrl: a picture, or a drawing in SVG) is
 * fetched only when the reader zooms in: what a reader downloads is kept to what they
 * look at. */
(function (F) {
  'use strict';

  var SAME_SHAPE = 0.01;   // pages within 1 % of the slot's shape fill it
  var LARGE_ZOOM = 1.5;    // from this zoom factor on, pages show their zoom picture

  // Where a page of aspect `page` (width / height) lies in a slot of aspect `slot`:
  // fitted and centred, as fractions of the slot.
  function fitBox(slot, page) {
    var known = slot > 0 && isFinite(slot) && page > 0 && isFinite(page);
    if (!known || Math.abs(page - slot) <= SAME_SHAPE * slot) return { x: 0, y: 0, w: 1, h: 1 };
    if (page > slot) {
      var h = slot / page;
      return { x: 0, y: (1 - h) / 2, w: 1, h: h };
    }
    var w = page / slot;
    return { x: (1 - w) / 2, y: 0, w: w, h: 1 };
  }

  // Whether a page needs its zoom resource. o: { hasLarge, zoom (factor) }. A
  // high-density screen at 100 % keeps the normal picture: the zoom resource is
  // several times its bytes, and only zooming asks for it.
  function wantsLarge(o) {
    return !!o.hasLarge && o.zoom >= LARGE_ZOOM;
  }

  // Which book positions show a photograph, from the untrusted files/pages.js
  // payload ("photos": positions): night mode leaves those as they are and turns
  // the others, pages of text and line art, light on dark. Books without the list
  // have every page taken for text.
  function photos(payload, n) {
    var out = new Array(n).fill(false);
    var list = payload && Array.isArray(payload.photos) ? payload.photos : [];
    for (var i = 0; i < list.length; i++) {
      var p = list[i];
      if (typeof p === 'number' && p >= 0 && p < n && Math.floor(p) === p) out[p] = true;
    }
    return out;
  }

  F.pictures = { fitBox: fitBox, wantsLarge: wantsLarge, photos: photos };
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
