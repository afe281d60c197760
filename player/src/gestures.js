/* Folivox player: what a pointer's movement means, as pure functions of its samples:
 * a tap or the start of a drag, which way a grab turns the book, where the dragged
 * leaf's edge starts, and whether a released drag completes its turn (a quick flick
 * does, even short of the middle). Screen x grows to the right. */
(function (F) {
  'use strict';

  // In node the turn maths live in their own module; in the page they share F.
  var L = typeof module === 'object' && module.exports ? require('./layout.js') : F;

  var DRAG_START = 8;   // px a press moves sideways before it drags the leaf
  var TAP_MS = 600;     // a press held longer is not a tap
  var FLICK_MS = 150;   // a release is judged by where the edge would be this much later
  var SAMPLES = 6;      // edge positions kept to measure the speed

  // The half of the book a press at x (from the book's left edge) grabs.
  function sideAt(x, width) { return x < width / 2 ? 'left' : 'right'; }

  // The turn a grab on one side of the book asks for, in spreads (+1 or -1).
  function directionForSide(side, rtl) {
    var toRight = side === 'left';
    var forward = rtl ? toRight : !toRight;
    return forward ? 1 : -1;
  }

  // A press becomes a drag once it moves far enough, and more sideways than up or down.
  function startsDrag(dx, dy) {
    return Math.abs(dx) >= DRAG_START && Math.abs(dx) >= Math.abs(dy);
  }

  function isTap(dx, dy, ms) {
    return Math.abs(dx) + Math.abs(dy) < DRAG_START && ms < TAP_MS;
  }

  // The spine on screen, or the hinge edge of a single page.
  function hingeX(bookLeft, bookRight, plan, single, pageW) {
    if (single) return plan.side === 'right' ? bookLeft : bookRight;
    return bookLeft + pageW;
  }

  // Where the leaf's free edge lies when the drag begins.
  function grabEdge(plan, hinge, pageW) {
    var right = plan.side === 'right';
    var atZero = right ? hinge + pageW : hinge - pageW;
    var atEnd = right ? hinge - pageW : hinge + pageW;
    return plan.fromAngle === 0 ? atZero : atEnd;
  }

  // Adds an edge position at time t (ms) to the recent samples.
  function track(samples, t, edge) {
    samples.push({ t: t, e: edge });
    if (samples.length > SAMPLES) samples.shift();
  }

  // Whether a released drag completes its turn.
  function releaseCompletes(samples, edge0, hinge, pageW, plan) {
    var v = 0;
    if (samples.length > 1) {
      var dt = samples[samples.length - 1].t - samples[0].t;
      if (dt > 0) v = (samples[samples.length - 1].e - samples[0].e) / dt;
    }
    var last = samples.length ? samples[samples.length - 1].e : edge0;
    var projected = L.angleFromPointer(last + v * FLICK_MS, hinge, pageW, plan.side);
    return plan.fromAngle === 0 ? projected > 90 : projected < 90;
  }

  // How long the released leaf takes to fall to its rest (ms).
  function settleMs(from, to, flipMs) { return Math.max(120, flipMs * Math.abs(to - from) / 180); }

  F.gestures = {
    sideAt: sideAt, directionForSide: directionForSide, startsDrag: startsDrag, isTap: isTap,
    hingeX: hingeX, grabEdge: grabEdge, track: track, releaseCompletes: releaseCompletes, settleMs: settleMs
  };
})(typeof module === 'object' && module.exports ? module.exports : (window.Folivox = window.Folivox || {}));
