/* Folivox player: mouse, pen and touch on the book, through Pointer Events. A tap on
 * a side turns the page; a sideways drag turns the leaf by hand, and letting go
 * completes the turn or lets the leaf fall back (gestures.js decides). Zoomed, a mouse
 * drag pans the stage. Ctrl and the wheel zoom. */
(function (F) {
  'use strict';

  var G = F.gestures;

  // ctx: { root, opts, bus, reader, stage, leaf, reduced }
  function createPointer(ctx) {
    var reader = ctx.reader;
    var stage = ctx.stage;
    var leaf = ctx.leaf;
    var book = stage.book;
    var rtl = ctx.opts.rightToLeft;
    var drag = null;   // a press on the book: a tap, or a drag turning the leaf
    var pan = null;    // a mouse press panning the zoomed stage

    function onPointerDown(ev) {
      if (ev.button !== 0 && ev.pointerType === 'mouse') return;
      if (reader.zoom() > 0) {
        if (ev.pointerType === 'mouse') {
          pan = { id: ev.pointerId, x: ev.clientX, y: ev.clientY, sl: stage.element.scrollLeft, st: stage.element.scrollTop };
          book.setPointerCapture(ev.pointerId);
          ctx.root.classList.add('fv-panning');
        }
        return;
      }
      reader.finishTurn();
      var r = book.getBoundingClientRect();
      drag = {
        id: ev.pointerId, x: ev.clientX, y: ev.clientY, t: performance.now(),
        side: G.sideAt(ev.clientX - r.left, r.width), active: false, samples: []
      };
      try { book.setPointerCapture(ev.pointerId); } catch (e) { /* capture is a nicety */ }
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
      if (pan && ev.pointerId === pan.id) {
        stage.element.scrollLeft = pan.sl - (ev.clientX - pan.x);
        stage.element.scrollTop = pan.st - (ev.clientY - pan.y);
        return;
      }
      var d = drag;
      if (!d || ev.pointerId !== d.id) return;
      if (!d.active) {
        if (!G.startsDrag(ev.clientX - d.x, ev.clientY - d.y)) return;
        beginDrag(d);
        if (!d.active) return;
      }
      var edge = d.edge0 + (ev.clientX - d.x);
      G.track(d.samples, performance.now(), edge);
      leaf.setAngle(F.angleFromPointer(edge, d.hinge, stage.pageWidth(), d.plan.side));
    }

    function onPointerUp(ev) {
      if (pan && ev.pointerId === pan.id) {
        pan = null;
        ctx.root.classList.remove('fv-panning');
        return;
      }
      var d = drag;
      if (!d || ev.pointerId !== d.id) return;
      drag = null;
      if (!d.active) {
        if (G.isTap(ev.clientX - d.x, ev.clientY - d.y, performance.now() - d.t)) reader.step(G.directionForSide(d.side, rtl));
        return;
      }
      var complete = G.releaseCompletes(d.samples, d.edge0, d.hinge, stage.pageWidth(), d.plan);
      var at = leaf.angle();
      var from = at !== null ? at : d.plan.fromAngle;
      var to = complete ? d.plan.toAngle : d.plan.fromAngle;
      leaf.animate(from, to, G.settleMs(from, to, ctx.opts.flipMs), function () { leaf.end(complete); }, true);
    }

    function onPointerCancel(ev) {
      if (pan && ev.pointerId === pan.id) { pan = null; ctx.root.classList.remove('fv-panning'); }
      var d = drag;
      if (!d || ev.pointerId !== d.id) return;
      drag = null;
      var at = leaf.angle();
      if (d.active && at !== null) leaf.animate(at, d.plan.fromAngle, 200, function () { leaf.end(false); }, true);
    }

    function onWheel(ev) {
      if (!ev.ctrlKey || !ctx.opts.showZoom) return;
      ev.preventDefault();
      reader.zoomBy(ev.deltaY < 0 ? 1 : -1);
    }

    book.addEventListener('pointerdown', onPointerDown);
    book.addEventListener('pointermove', onPointerMove);
    book.addEventListener('pointerup', onPointerUp);
    book.addEventListener('pointercancel', onPointerCancel);
    book.addEventListener('dragstart', function (ev) { ev.preventDefault(); });
    stage.element.addEventListener('wheel', onWheel, { passive: false });
    // A key or a button that cuts a turn short also ends the drag that was turning it.
    ctx.bus.on('turnend', function (e) { if (e.cut) drag = null; });
  }

  F.createPointer = createPointer;
})(window.Folivox);
