/* Folivox player: what a pointer's movement means, as pure functions of its samples:
 * a tap or the start of a drag, which way a grab turns the book, where the dragged
 * leaf's edge starts, whether a released drag completes its turn, a double tap, and
 * the zoom a pinch asks for. A swipe turns the page as readers expect of a page-flip
 * book: a short quick flick does, and so does a drag past a quarter of the page; a
 * flick back lets the leaf fall. Screen x grows to the right. */
(function (F) {
  'use strict';

  var DRAG_START = 8;    // px a press moves sideways before it drags the leaf
  var TAP_MS = 600;      // a press held longer is not a tap
  var SAMPLES = 6;       // edge positions kept to measure the speed
  var FLICK_SPEED = 0.3; // px/ms the edge moves at the end of a flick
  var FLICK_MIN = 20;    // px a flick has moved the edge, at least
  var STILL_MS = 100;    // a pointer held this long before letting go has stopped
  var DOUBLE_TAP_MS = 300;
  var DOUBLE_TAP_PX = 30;

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

  // Whether a released drag completes its turn. samples: the edge's recent positions;
  // edge0: where it was grabbed; now: when it was let go (ms, as the samples).
  function releaseCompletes(samples, edge0, hinge, pageW, plan, now) {
    // The edge travels from where it was grabbed towards the other side of the hinge.
    var dir = grabEdge(plan, hinge, pageW) < hinge ? 1 : -1;
    var last = samples.length ? samples[samples.length - 1] : null;
    var travelled = last ? (last.e - edge0) * dir : 0;
    var speed = 0;
    if (samples.length > 1 && !(now - last.t > STILL_MS)) {
      var dt = last.t - samples[0].t;
      if (dt > 0) speed = (last.e - samples[0].e) * dir / dt;
    }
    if (speed <= -FLICK_SPEED) return false;
    if (speed >= FLICK_SPEED && travelled >= FLICK_MIN) return true;
    return travelled >= pageW / 4;
  }

  // Whether a tap (time t ms, at x, y) follows the previous one closely enough to be
  // a double tap with it. prev: { t, x, y } or null.
  function isDoubleTap(prev, t, x, y) {
    return !!prev && t - prev.t <= DOUBLE_TAP_MS && Math.abs(x - prev.x) + Math.abs(y - prev.y) <= DOUBLE_TAP_PX;
  }

  // The zoom level a pinch asks for: the factor it began at, scaled by how far the
  // fingers spread, rounded to the nearest level on a log scale. factors: the levels.
  function pinchLevel(factors, startLevel, startDistance, distance) {
    if (!(startDistance > 0) || !(distance > 0)) return startLevel;
    var want = Math.log(factors[startLevel] * distance / startDistance);
    var best = 0;
    for (var i = 1; i < factors.length; i++) {
      if (Math.abs(Math.log(factors[i]) - want) < Math.abs(Math.log(factors[best]) - want)) best = i;
    }
    return best;
  }

  // How long the released leaf takes to fall to its rest (ms).
  function settleMs(from, to, flipMs) { return Math.max(120, flipMs * Math.abs(to - from) / 180); }

  F.gestures = {
    sideAt: sideAt, directionForSide: directionForSide, startsDrag: startsDrag, isTap: isTap,
    hingeX: hingeX, grabEdge: grabEdge, track: track, releaseCompletes: releaseCompletes, settleMs: settleMs,
    isDoubleTap: isDoubleTap, pinchLevel: pinchLevel, DOUBLE_TAP_MS: DOUBLE_TAP_MS
  };
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
