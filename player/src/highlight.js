/* Folivox player: marks on the search hits of the pages in view, the current hit
 * stronger. The marks lie in the page's text layer under its words, placed by
 * fractions of the page like the words, so they turn and zoom with the page. Zoomed
 * in, the view scrolls to a new current hit. */
(function (F) {
  'use strict';

  function pct(v) { return (v * 100).toFixed(3) + '%'; }

  // The part of a word's box from character from to character to, along the way the
  // word runs (d quarter turns clockwise from left to right).
  function partOf(w, from, to) {
    var len = w.t.length || 1;
    var f0 = Math.max(0, Math.min(1, from / len)), f1 = Math.max(f0, Math.min(1, to / len));
    switch ((w.f >> 3) & 3) {
      case 1: return [w.x, w.y + w.h * f0, w.w, w.h * (f1 - f0)];
      case 2: return [w.x + w.w * (1 - f1), w.y, w.w * (f1 - f0), w.h];
      case 3: return [w.x, w.y + w.h * (1 - f1), w.w, w.h * (f1 - f0)];
      default: return [w.x + w.w * f0, w.y, w.w * (f1 - f0), w.h];
    }
  }

  // ctx: { bus, reader, stage }
  function createHighlight(ctx) {
    var state = null;       // the last findresult
    var shown = [];         // { page, layer, words } of the text layers built since
    var scrollTo = false;   // the current hit changed and is not in view yet

    function paint(entry) {
      var old = entry.layer.querySelector('.fv-marks');
      if (old) entry.layer.removeChild(old);
      if (!state || !state.result.count) return;
      var r = state.result;
      var box = null, current = null;
      var groups = r.groupsOn(entry.page);
      for (var g = 0; g < groups.length; g++) {
        var gr = groups[g];
        for (var k = 0; k < gr.count; k++) {
          var hit = r.hit(gr.first + k);
          var isCurrent = hit.index === state.current;
          for (var q = 0; q < hit.ranges.length; q += 2) {
            var at = F.find.span(hit.page, hit.ranges[q], hit.ranges[q + 1]);
            for (var i = at.first; i <= at.last; i++) {
              var w = entry.words[i];
              if (!w) continue;
              var b = partOf(w, i === at.first ? at.from : 0, i === at.last ? at.to : w.t.length);
              var mark = F.dom.make('div', 'fv-mark' + (isCurrent ? ' fv-mark-current' : ''));
              mark.style.cssText = 'left:' + pct(b[0]) + ';top:' + pct(b[1]) + ';width:' + pct(b[2]) + ';height:' + pct(b[3]);
              if (!box) box = F.dom.make('div', 'fv-marks', { 'aria-hidden': 'true' });
              box.appendChild(mark);
              if (isCurrent && !current) current = mark;
            }
          }
        }
      }
      if (!box) return;
      entry.layer.insertBefore(box, entry.layer.firstChild);
      if (current && scrollTo) {
        scrollTo = false;
        if (ctx.reader.zoom() > 0) reveal(current);
      }
    }

    // Scrolls the zoomed stage so the mark is in the middle of the view.
    function reveal(mark) {
      var view = ctx.stage.element;
      var r = mark.getBoundingClientRect(), v = view.getBoundingClientRect();
      view.scrollLeft += (r.left + r.width / 2) - (v.left + v.width / 2);
      view.scrollTop += (r.top + r.height / 2) - (v.top + v.height / 2);
    }

    ctx.bus.on('textlayer', function (e) {
      shown = shown.filter(function (s) { return s.layer.isConnected; });
      shown.push(e);
      paint(e);
    });
    ctx.bus.on('findresult', function (e) {
      scrollTo = e.current >= 0 && (!state || state.current !== e.current || state.result !== e.result);
      state = e;
      shown = shown.filter(function (s) { return s.layer.isConnected; });
      for (var i = 0; i < shown.length; i++) paint(shown[i]);
    });
  }

  F.createHighlight = createHighlight;
})(window.Folivox);
