/* Folivox player: the words of a page, lying transparently over its picture so a
 * reader selects and copies them as on a web page, and a screen reader reads them.
 * Built only for the pages on screen (page_view.js), from files/text/N.js.
 *
 * Words are placed in a frame of REF x REF pixels: each word is a span at its box,
 * its font as tall as the box and stretched to the box's width (turned for words
 * that run down or up the page). The whole frame is then scaled to the page, so
 * the layer turns and zooms with the page without being built again.
 *
 * Which presses select and which turn is decided here: a mouse or pen press on a
 * word selects as on any web page (pressSelects()). A mouse or pen drag that starts
 * beside the words, in the margin or between lines, selects too (pointer.js asks
 * selectFrom() and hands the moves to selectTo()): the words nearest the pointer
 * are selected, so a drag from left of a line takes the whole line. Only a drag from
 * the page's edge turns it, and a click turns as before. A touch on a word turns as
 * anywhere else, since touch selects with a long press. */
(function (F) {
  'use strict';

  var REF = 1000;
  var MAX_SPANS = 5000;    // a dense page has about 1,500 words; a hostile one gets no more spans (search has them all)
  var FONT = 'sans-serif'; // the style sheet gives .fv-text the same family
  var EDGE_PX = 40;        // a press this close to a page's side edge turns it ...
  var EDGE_SHARE = 0.1;    // ... or within this share of the page's width, if less

  function pressSelects(ev) { return ev.pointerType !== 'touch'; }

  // ctx: { bus, stage, pageView, text (text_data.js) }
  function createTextLayer(ctx) {
    var canvas = null;
    var widths = Object.create(null), widthCount = 0;
    var observer = typeof ResizeObserver === 'function' ? new ResizeObserver(onResize) : null;

    // A word's width in pixels at a 100 px font.
    function measure(t) {
      var v = widths[t];
      if (v !== undefined) return v;
      if (!canvas) {
        canvas = document.createElement('canvas').getContext('2d');
        canvas.font = '100px ' + FONT;
      }
      v = canvas.measureText(t).width;
      if (widthCount++ > 5000) { widths = Object.create(null); widthCount = 0; }
      widths[t] = v;
      return v;
    }

    // The span's place for a word running d quarter turns clockwise from left to
    // right: the span is laid out along its own x axis and turned about its top-left
    // corner, which must then sit at the box's corner where the text starts.
    function styleFor(w) {
      var d = (w.f >> 3) & 3;
      var bx = w.x * REF, by = w.y * REF, bw = w.w * REF, bh = w.h * REF;
      var along = d & 1 ? bh : bw;
      var size = Math.max(0.5, d & 1 ? bw : bh);
      var natural = measure(w.t) * size / 100;
      var sx = natural > 0 && along > 0 ? along / natural : 1;
      var left = d === 1 || d === 2 ? bx + bw : bx;
      var top = d === 2 || d === 3 ? by + bh : by;
      return 'left:' + left.toFixed(2) + 'px;top:' + top.toFixed(2) + 'px;font-size:' + size.toFixed(2) +
        'px;transform:' + (d ? 'rotate(' + d * 90 + 'deg) ' : '') + 'scaleX(' + sx.toFixed(4) + ')';
    }

    function fit(layer, w, h) {
      layer.style.transform = 'scale(' + (w / REF).toFixed(5) + ',' + (h / REF).toFixed(5) + ')';
    }

    // The stage sizes the pages anew on every layout (zoom, window size); a page
    // whose size changes otherwise is caught by the observer.
    function refit() {
      var layers = ctx.stage.book.querySelectorAll('.fv-text');
      for (var i = 0; i < layers.length; i++) {
        var page = layers[i].parentNode;
        fit(layers[i], page.clientWidth, page.clientHeight);
      }
    }

    function onResize(entries) {
      for (var i = 0; i < entries.length; i++) {
        var page = entries[i].target;
        if (!page.isConnected) { observer.unobserve(page); continue; }
        var layer = page.querySelector('.fv-text');
        if (layer) fit(layer, entries[i].contentRect.width, entries[i].contentRect.height);
      }
    }

    function fill(layer, words) {
      var frag = document.createDocumentFragment();
      var count = 0;
      for (var i = 0; i < words.length && count < MAX_SPANS; i++) {
        var w = words[i];
        if (!w || !w.t) continue;
        var span = document.createElement('span');
        span.textContent = w.t + F.textData.separator(w, F.textData.nextWord(words, i));
        span.style.cssText = styleFor(w);
        frag.appendChild(span);
        count++;
      }
      layer.appendChild(frag);
    }

    function onPress(ev) {
      if (ev.target !== this && pressSelects(ev)) ev.stopPropagation();
    }

    function build(p) {
      var layer = F.dom.make('div', 'fv-text');
      layer.addEventListener('pointerdown', onPress);
      ctx.text.words(p).then(function (words) {
        var page = layer.parentNode;
        if (!words || !words.length || !page || !page.isConnected) return;
        fill(layer, words);
        fit(layer, page.clientWidth, page.clientHeight);
        if (observer) observer.observe(page);
        ctx.bus.emit('textlayer', { page: p, layer: layer, words: words });
      });
      return layer;
    }

    function spans() { return ctx.stage.book.querySelectorAll('.fv-text span'); }

    // A drag from beside the words: the press (clientX, clientY) and, once the
    // pointer moves, the words' boxes and the selection's fixed end.
    var drag = null;

    // Whether a mouse or pen press at ev, on a page with words but not on a word,
    // starts a selection: anywhere but near the page's side edges.
    function selectFrom(ev) {
      drag = null;
      if (!pressSelects(ev)) return false;
      var page = ev.target && ev.target.closest ? ev.target.closest('.fv-page') : null;
      if (!page || !page.querySelector('.fv-text span')) return false;
      var r = page.getBoundingClientRect();
      var edge = Math.min(EDGE_PX, r.width * EDGE_SHARE);
      if (ev.clientX < r.left + edge || ev.clientX > r.right - edge) return false;
      drag = { x: ev.clientX, y: ev.clientY, boxes: null, anchor: null };
      return true;
    }

    // The place between characters nearest to (x, y): in the word on the same
    // line nearest to it, else in the nearest line.
    function caretNear(x, y) {
      var best = null, score = Infinity;
      for (var i = 0; i < drag.boxes.length; i++) {
        var b = drag.boxes[i].r;
        var dy = Math.max(0, b.top - y, y - b.bottom), dx = Math.max(0, b.left - x, x - b.right);
        var s = dy * 8 + dx;
        if (s < score) { score = s; best = drag.boxes[i]; }
      }
      if (!best) return null;
      var node = best.span.firstChild, r = best.r;
      var len = node.data.length;
      var word = node.data.replace(/\s+$/, '').length;
      var at = x <= r.left ? 0 : x >= r.right ? len : Math.round((x - r.left) / Math.max(1, r.width) * word);
      return { node: node, offset: Math.min(len, at) };
    }

    // Extends the selection from the press to the pointer at ev.
    function selectTo(ev) {
      if (!drag) return;
      if (!drag.boxes) {
        var all = spans();
        drag.boxes = [];
        for (var i = 0; i < all.length; i++) {
          if (all[i].firstChild) drag.boxes.push({ span: all[i], r: all[i].getBoundingClientRect() });
        }
        drag.anchor = caretNear(drag.x, drag.y);
      }
      var focus = caretNear(ev.clientX, ev.clientY);
      if (!drag.anchor || !focus) return;
      var sel = window.getSelection();
      if (sel.setBaseAndExtent) sel.setBaseAndExtent(drag.anchor.node, drag.anchor.offset, focus.node, focus.offset);
    }

    // Selects the words of the pages in view (Ctrl+A), not the whole player.
    function selectText() {
      var all = spans();
      if (!all.length) return;
      var range = document.createRange();
      range.setStartBefore(all[0]);
      range.setEndAfter(all[all.length - 1]);
      var sel = window.getSelection();
      sel.removeAllRanges();
      sel.addRange(range);
    }

    // The selected words with their spaces and line breaks, in reading order; null
    // when the selection reaches beyond the pages' words, which the browser copies
    // as usual.
    function selectedText() {
      var sel = window.getSelection();
      if (!sel || sel.isCollapsed || !sel.rangeCount) return null;
      var range = sel.getRangeAt(0);
      var inText = function (node) {
        var el = node.nodeType === 1 ? node : node.parentNode;
        return !!(el && el.closest && el.closest('.fv-text'));
      };
      if (!inText(range.startContainer) || !inText(range.endContainer)) return null;
      var out = '';
      var all = spans();
      for (var i = 0; i < all.length; i++) {
        var span = all[i];
        if (!range.intersectsNode(span)) continue;
        var t = span.textContent;
        var from = span.contains(range.startContainer) && range.startContainer.nodeType === 3 ? range.startOffset : 0;
        var to = span.contains(range.endContainer) && range.endContainer.nodeType === 3 ? range.endOffset : t.length;
        out += t.slice(from, to);
      }
      return out.replace(/[ ]+\n/g, '\n').replace(/\s+$/, '');
    }

    document.addEventListener('copy', function (ev) {
      var text = selectedText();
      if (text === null || !ev.clipboardData) return;
      ev.clipboardData.setData('text/plain', text);
      ev.preventDefault();
    });

    // The page's hidden copy of the first pages' words is for search engines; screen
    // readers read the words of the pages in view instead.
    var index = document.querySelector('.fv-index');
    if (index) index.setAttribute('aria-hidden', 'true');

    ctx.pageView.addLayer('text', build);
    ctx.bus.on('selecttext', selectText);
    ctx.bus.on('layout', refit);
    return {
      // Whether the pages in view show words.
      shown: function () { return !!ctx.stage.book.querySelector('.fv-text span'); },
      selectedText: selectedText,
      selectFrom: selectFrom,
      selectTo: selectTo
    };
  }

  F.createTextLayer = createTextLayer;
})(window.Folivox);
