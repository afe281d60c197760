/* Folivox player: mouse, pen and touch on the book, through Pointer Events. A tap on
 * a side turns the page; a sideways drag turns the leaf by hand, and letting go
 * completes the turn or lets the leaf fall back (gestures.js decides). Zoomed, a drag
 * pans the stage. On touch screens two fingers pinch the zoom and a double tap zooms
 * in on its place or back out; a single tap waits that long before it turns. Ctrl and
 * the wheel zoom at the pointer. A mouse or pen drag beside a page's words selects
 * them instead of turning (the text layer says where: selectFrom). */
(function (F) {
  'use strict';

  var G = F.gestures;
  var TAP_ZOOM = 2;   // the zoom level a double tap goes to (200 %)

  // ctx: { root, opts, bus, reader, stage, leaf, textLayer, reduced }
  function createPointer(ctx) {
    var reader = ctx.reader;
    var stage = ctx.stage;
    var leaf = ctx.leaf;
    var book = stage.book;
    var rtl = ctx.opts.rightToLeft;
    var zoomable = ctx.opts.showZoom;
    var touches = Object.create(null);   // touch pointers down on the book: id -> { x, y }
    var drag = null;    // a press on the book: a tap, or a drag turning the leaf
    var pan = null;     // a press panning the zoomed stage
    var pinch = null;   // two fingers: { d0, z0 }
    var lastTap = null; // the last touch tap, for a double tap: { t, x, y }
    var pendingTap = 0; // the timer of a touch tap's turn

    function capture(id) {
      try { book.setPointerCapture(id); } catch (e) { /* capture is a nicety */ }
    }

    function distance() {
      var ids = Object.keys(touches);
      var a = touches[ids[0]], b = touches[ids[1]];
      return Math.sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
    }

    function middle() {
      var ids = Object.keys(touches);
      var a = touches[ids[0]], b = touches[ids[1]];
      return { x: (a.x + b.x) / 2, y: (a.y + b.y) / 2 };
    }

    // A second finger turns whatever the first began into a pinch.
    function beginPinch() {
      if (drag && drag.active) {
        var at = leaf.angle();
        var plan = drag.plan;
        if (at !== null) leaf.animate(at, plan.fromAngle, 200, function () { leaf.end(false); }, true);
      }
      drag = null;
      endPan();
      pinch = { d0: distance(), z0: reader.zoom() };
    }

    function onPointerDown(ev) {
      if (ev.button !== 0 && ev.pointerType === 'mouse') return;
      if (ev.pointerType === 'touch') {
        touches[ev.pointerId] = { x: ev.clientX, y: ev.clientY };
        if (Object.keys(touches).length === 2 && zoomable) {
          capture(ev.pointerId);
          beginPinch();
          return;
        }
        if (pinch) return;
      }
      if (reader.zoom() > 0) {
        pan = { id: ev.pointerId, x: ev.clientX, y: ev.clientY, t: performance.now(), sl: stage.element.scrollLeft, st: stage.element.scrollTop };
        capture(ev.pointerId);
        ctx.root.classList.add('fv-panning');
        return;
      }
      reader.finishTurn();
      var r = book.getBoundingClientRect();
      drag = {
        id: ev.pointerId, x: ev.clientX, y: ev.clientY, t: performance.now(), touch: ev.pointerType === 'touch',
        side: G.sideAt(ev.clientX - r.left, r.width), active: false, samples: [],
        select: !!(ctx.textLayer && ctx.textLayer.selectFrom(ev))
      };
      if (drag.select) {
        // A click there turns as before; a drag selects, so no other selection stays.
        var sel = window.getSelection();
        if (sel) sel.removeAllRanges();
      }
      capture(ev.pointerId);
    }

    // Starts turning the leaf by hand, or, with reduced motion, turns at once.
    function beginDrag(d) {
      var target = reader.spread() + G.directionForSide(d.side, rtl);
      if (target < 0 || target >= reader.spreads()) { drag = null; return; }
      var plan = reader.plan(target);
      if (ctx.reduced) {
        drag = null;
        reader.turnTo(target);
        return;
      }
      leaf.begin(plan);
      d.active = true;
      d.plan = plan;
      var r = book.getBoundingClientRect();
      d.hinge = G.hingeX(r.left, r.right, plan, reader.single(), stage.pageWidth());
      d.edge0 = G.grabEdge(plan, d.hinge, stage.pageWidth());
      ctx.bus.emit('turnstart', { plan: plan });
    }

    function onPointerMove(ev) {
      if (touches[ev.pointerId]) touches[ev.pointerId] = { x: ev.clientX, y: ev.clientY };
      if (pinch) {
        if (Object.keys(touches).length < 2) return;
        var level = G.pinchLevel(reader.zoomFactors, pinch.z0, pinch.d0, distance());
        var m = middle();
        if (level !== reader.zoom()) stage.zoomAt(level, m.x, m.y);
        return;
      }
      if (pan && ev.pointerId === pan.id) {
        stage.element.scrollLeft = pan.sl - (ev.clientX - pan.x);
        stage.element.scrollTop = pan.st - (ev.clientY - pan.y);
        return;
      }
      var d = drag;
      if (!d || ev.pointerId !== d.id) return;
      if (d.select) {
        if (d.moved || !G.isTap(ev.clientX - d.x, ev.clientY - d.y, 0)) {
          d.moved = true;
          cancelPendingTap();
          ctx.textLayer.selectTo(ev);
        }
        return;
      }
      if (!d.active) {
        if (!G.startsDrag(ev.clientX - d.x, ev.clientY - d.y)) return;
        cancelPendingTap();
        beginDrag(d);
        if (!d.active) return;
      }
      var edge = d.edge0 + (ev.clientX - d.x);
      G.track(d.samples, performance.now(), edge);
      leaf.setAngle(F.angleFromPointer(edge, d.hinge, stage.pageWidth(), d.plan.side));
    }

    function cancelPendingTap() {
      if (pendingTap) clearTimeout(pendingTap);
      pendingTap = 0;
    }

    // A touch tap waits to see whether a second one makes it a double tap; true when
    // this one was the second.
    function doubleTap(ev) {
      var now = performance.now();
      if (zoomable && G.isDoubleTap(lastTap, now, ev.clientX, ev.clientY)) {
        lastTap = null;
        cancelPendingTap();
        stage.zoomAt(reader.zoom() > 0 ? 0 : TAP_ZOOM, ev.clientX, ev.clientY);
        return true;
      }
      lastTap = { t: now, x: ev.clientX, y: ev.clientY };
      return false;
    }

    function endPan() {
      pan = null;
      ctx.root.classList.remove('fv-panning');
    }

    function onPointerUp(ev) {
      var wasTouch = !!touches[ev.pointerId];
      delete touches[ev.pointerId];
      if (pinch) {
        if (!Object.keys(touches).length) pinch = null;
        return;
      }
      if (pan && ev.pointerId === pan.id) {
        var p = pan;
        endPan();
        if (wasTouch && G.isTap(ev.clientX - p.x, ev.clientY - p.y, performance.now() - p.t)) doubleTap(ev);
        return;
      }
      var d = drag;
      if (!d || ev.pointerId !== d.id) return;
      drag = null;
      if (!d.active) {
        if (d.moved || !G.isTap(ev.clientX - d.x, ev.clientY - d.y, performance.now() - d.t)) return;
        var dir = G.directionForSide(d.side, rtl);
        if (!d.touch) {
          reader.step(dir);
        } else if (!doubleTap(ev)) {
          cancelPendingTap();
          pendingTap = setTimeout(function () { pendingTap = 0; reader.step(dir); }, G.DOUBLE_TAP_MS);
        }
        return;
      }
      var complete = G.releaseCompletes(d.samples, d.edge0, d.hinge, stage.pageWidth(), d.plan, performance.now());
      var at = leaf.angle();
      var from = at !== null ? at : d.plan.fromAngle;
      var to = complete ? d.plan.toAngle : d.plan.fromAngle;
      leaf.animate(from, to, G.settleMs(from, to, ctx.opts.flipMs), function () { leaf.end(complete); }, true);
    }

    function onPointerCancel(ev) {
      delete touches[ev.pointerId];
      if (pinch && !Object.keys(touches).length) pinch = null;
      if (pan && ev.pointerId === pan.id) endPan();
      var d = drag;
      if (!d || ev.pointerId !== d.id) return;
      drag = null;
      var at = leaf.angle();
      if (d.active && at !== null) leaf.animate(at, d.plan.fromAngle, 200, function () { leaf.end(false); }, true);
    }

    function onWheel(ev) {
      if (!ev.ctrlKey || !zoomable) return;
      ev.preventDefault();
      stage.zoomAt(reader.zoom() + (ev.deltaY < 0 ? 1 : -1), ev.clientX, ev.clientY);
    }

    // A book without zoom leaves pinching to the browser.
    if (!zoomable) book.style.touchAction = 'pinch-zoom';
    book.addEventListener('pointerdown', onPointerDown);
    book.addEventListener('pointermove', onPointerMove);
    book.addEventListener('pointerup', onPointerUp);
    book.addEventListener('pointercancel', onPointerCancel);
    book.addEventListener('dragstart', function (ev) { ev.preventDefault(); });
    stage.element.addEventListener('wheel', onWheel, { passive: false });
    // A key or a button that cuts a turn short also ends the drag that was turning it,
    // and a turn of any kind overtakes a tap still waiting to turn.
    ctx.bus.on('turnend', function (e) { if (e.cut) drag = null; });
    ctx.bus.on('turnstart', cancelPendingTap);
  }

  F.createPointer = createPointer;
})(window.Folivox);
