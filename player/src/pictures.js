/* Folivox player: page pictures, free of the DOM. Each page keeps its own shape: a
 * landscape table in a portrait book is fitted and centred in the page's slot, never
 * stretched. And the zoom picture (largeUrl) is worth its bytes only when the page is
 * drawn larger than its normal picture can show sharply. */
(function (F) {
  'use strict';

  var SAME_SHAPE = 0.01;   // pages within 1 % of the slot's shape fill it
  var LARGE_ZOOM = 1.5;    // from this zoom factor on, pages show their zoom picture
  var SOFT = 1.1;          // ... and below it when the screen has this many more pixels

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

  // Whether a page needs its zoom picture. o: { hasLarge, zoom (factor), dpr (device
  // pixels per CSS pixel), shown (CSS pixels across the page), natural (pixels across
  // its normal picture, 0 when not known) }.
  function wantsLarge(o) {
    if (!o.hasLarge) return false;
    if (o.zoom >= LARGE_ZOOM) return true;
    return o.natural > 0 && o.shown * (o.dpr || 1) > o.natural * SOFT;
  }

  F.pictures = { fitBox: fitBox, wantsLarge: wantsLarge };
})(typeof module === 'object' && module.exports ? module.exports : (window.Folivox = window.Folivox || {}));
