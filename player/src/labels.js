/* Folivox player: printed page labels, free of the DOM. A book made from a PDF with
 * page labels (roman front matter, "A-1") carries them in files/pages.js; every place
 * that shows a page number shows the page's label, and a typed label leads to its
 * page. Without labels, and for a page whose label is empty, pages are counted from 1
 * as before. Deep links (#page=N) always count positions. */
(function (F) {
  'use strict';

  var MAX_LABEL = 32;

  // Labels from the untrusted pages.js payload: one string per book position, or null
  // when the book has none worth showing.
  function cleanLabels(payload, n) {
    var list = payload && Array.isArray(payload.labels) ? payload.labels : null;
    if (!list) return null;
    var out = [];
    var any = false;
    for (var i = 0; i < n; i++) {
      var v = typeof list[i] === 'string' ? list[i] : '';
      v = v.replace(/[\u0000-\u001f\u007f-\u009f\u2028\u2029]/g, ' ').replace(/\s+/g, ' ').trim().slice(0, MAX_LABEL);
      if (v) any = true;
      out.push(v);
    }
    return any ? out : null;
  }

  // labels: cleanLabels' answer (or null); n: the page count.
  function createLabels(labels, n) {
    function labelOf(p) { return labels && labels[p] ? labels[p] : String(p + 1); }

    return {
      has: !!labels,
      // The printed label of a book position (counted from 0).
      labelOf: labelOf,
      // "iv" or "12-13" (en dash) for the pages in view, in reading order.
      rangeOf: function (pages) {
        var p = pages.slice().sort(function (a, b) { return a - b; });
        if (!p.length) return '';
        if (p.length === 1) return labelOf(p[0]);
        return labelOf(p[0]) + '\u2013' + labelOf(p[p.length - 1]);
      },
      // The book position a reader means by typed text: a printed label first (in any
      // case), else a number counted from 1; -1 when neither fits.
      find: function (typed) {
        var t = String(typed == null ? '' : typed).replace(/\s+/g, ' ').trim();
        if (!t) return -1;
        if (labels) {
          var lower = t.toLowerCase(), folded = -1;
          for (var i = 0; i < n; i++) {
            if (labels[i] === t) return i;
            if (folded < 0 && labels[i].toLowerCase() === lower) folded = i;
          }
          if (folded >= 0) return folded;
        }
        if (!/^\d{1,9}$/.test(t)) return -1;
        var v = parseInt(t, 10);
        return v >= 1 && v <= n ? v - 1 : -1;
      },
      // The most characters a page field shows: one label, or two and a dash.
      widest: function (single) {
        var most = String(n).length;
        if (labels) for (var i = 0; i < n; i++) most = Math.max(most, labelOf(i).length);
        return single ? most : 2 * most + 1;
      }
    };
  }

  F.labels = { cleanLabels: cleanLabels, createLabels: createLabels };
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
