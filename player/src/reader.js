/* Folivox player: where the reader is in the book, free of the DOM.
 * Owns the page count, the page mode (one page or two), the open spread, the anchored
 * page (the one a deep link names, which stays put while it is in view) and the zoom
 * level. Every part navigates through it. A turn is shown by a turner (the turning
 * leaf), which calls land() when the leaf is down; without one a turn lands at once.
 * Emits spreadchange, turnstart and zoomchange on the bus (events.js). */
(function (F) {
  'use strict';

  // In node the spread maths live in their own module; in the page they share F.
  var L = typeof module === 'object' && module.exports ? require('./layout.js') : F;

  var ZOOMS = [1, 1.5, 2, 3, 4];

  // o: { pages (the model's), rightToLeft, hardCover, startPage, bus }
  function createReader(o) {
    var pages = o.pages;
    var n = pages.length;
    var rtl = !!o.rightToLeft;
    var bus = o.bus;
    var single = false, spread = 0, zoom = 0;
    var anchor = o.startPage >= 0 && o.startPage < n ? o.startPage : 0;
    var turner = null;

    function isHard(p) { return !!pages[p].hard || (!!o.hardCover && (p === 0 || p === n - 1)); }
    function view(s) { return L.spreadView(s === undefined ? spread : s, n, single, rtl); }
    function spreads() { return L.spreadCount(n, single); }
    function spreadOf(p) { return L.spreadOfPage(p, n, single); }

    // Every request first lands a turn that is still running.
    function finishTurn() { if (turner) turner.finish(); }

    // Tells the parts to redraw; the anchor moves to the spread's first page once it
    // is out of view.
    function show() {
      var v = view();
      var p = L.hashPageFor(v, anchor);
      if (p >= 0) anchor = p;
      bus.emit('spreadchange', { spread: spread, anchor: anchor, view: v });
    }

    function land(target) {
      spread = target;
      show();
    }

    // The turn from the open spread to another, with the spread it lands on.
    function plan(target) {
      var p = L.turnPlan(spread, target, n, single, rtl, isHard);
      if (p) p.targetSpread = target;
      return p;
    }

    function turnTo(target, at) {
      finishTurn();
      if (target === spread) return;
      anchor = at !== undefined ? at : view(target).pages[0];
      var p = plan(target);
      bus.emit('turnstart', { plan: p });
      if (!turner || !turner.turn(p)) land(target);
    }

    function step(dir) {
      finishTurn();
      var target = spread + dir;
      if (target < 0 || target >= spreads()) return;
      turnTo(target);
    }

    function goTo(p) {
      if (!(p >= 0 && p < n)) return;
      finishTurn();
      var s = spreadOf(p);
      if (s !== spread) {
        turnTo(s, p);
        return;
      }
      anchor = p;
      show();
    }

    // The stage picks the page mode from its size; the open spread follows the anchored
    // page. Returns whether anything changed (always, when forced).
    function setSingle(value, force) {
      if (value === single && !force) return false;
      single = value;
      spread = spreadOf(anchor);
      return true;
    }

    function setZoom(z) {
      z = Math.max(0, Math.min(ZOOMS.length - 1, z));
      if (z === zoom) return;
      zoom = z;
      bus.emit('zoomchange', { zoom: zoom, factor: ZOOMS[zoom] });
    }

    return {
      pageCount: function () { return n; },
      single: function () { return single; },
      spread: function () { return spread; },
      anchor: function () { return anchor; },
      zoom: function () { return zoom; },
      zoomFactor: function () { return ZOOMS[zoom]; },
      maxZoom: ZOOMS.length - 1,
      zoomFactors: ZOOMS.slice(),
      isHard: isHard,
      view: view,
      spreads: spreads,
      spreadOf: spreadOf,
      goTo: goTo,
      step: step,
      turnTo: turnTo,
      plan: plan,
      land: land,
      show: show,
      finishTurn: finishTurn,
      // turner: { turn(plan) -> true when it shows the turn and will call land(), finish() }
      setTurner: function (t) { turner = t; },
      setSingle: setSingle,
      setZoom: setZoom,
      zoomBy: function (d) { setZoom(zoom + d); }
    };
  }

  F.createReader = createReader;
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
