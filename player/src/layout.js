/* Folivox player: spread and page-turn maths, free of the DOM.
 * Positions are book pages counted from 0. In two-page mode the cover stands alone,
 * then pages pair up (1,2), (3,4)...; in single-page mode every page is its own spread.
 * Right-to-left books keep the same reading order but mirror the sides: the cover
 * stands on the left and the book opens towards the right. */
(function (F) {
  'use strict';

  function spreadCount(n, single) {
    if (n <= 0) return 0;
    return single ? n : Math.floor(n / 2) + 1;
  }

  function clamp(v, lo, hi) { return v < lo ? lo : (v > hi ? hi : v); }

  function spreadOfPage(p, n, single) {
    if (n <= 0) return 0;
    p = clamp(Math.floor(p) || 0, 0, n - 1);
    return single ? p : Math.floor((p + 1) / 2);
  }

  // Pages of a spread in reading order; -1 for an empty side.
  function spreadPages(s, n, single) {
    if (single) return [s >= 0 && s < n ? s : -1];
    var a = 2 * s - 1, b = 2 * s;
    return [a >= 0 && a < n ? a : -1, b >= 0 && b < n ? b : -1];
  }

  // What the reader sees of a spread: the left and right page (-1 when empty), the
  // pages present in reading order, and how far to move the book (in book widths) so a
  // lone cover or back page sits in the middle.
  function spreadView(s, n, single, rtl) {
    var pages = spreadPages(s, n, single);
    var present = pages.filter(function (p) { return p >= 0; });
    if (single) return { single: pages[0], left: -1, right: -1, pages: present, shift: 0 };
    var left = rtl ? pages[1] : pages[0];
    var right = rtl ? pages[0] : pages[1];
    var shift = 0;
    if (left < 0 && right >= 0) shift = -0.25;
    else if (right < 0 && left >= 0) shift = 0.25;
    return { single: -1, left: left, right: right, pages: present, shift: shift };
  }

  // How to animate the move between two spreads. One leaf turns about the spine:
  // side 'right' means it lies on the right at angle 0 and on the left at 180.
  // Spread x is what is seen at angle 0, spread y at 180; the animation runs from
  // fromAngle to toAngle. front/back are the leaf faces, underLeft/underRight the
  // pages lying still beneath it (-1: empty). In single-page mode the leaf is the
  // page itself, hinged on its left edge (right on right-to-left books), with a blank back.
  function turnPlan(from, to, n, single, rtl, hardOf) {
    if (from === to) return null;
    var forward = to > from;
    var x = forward ? from : to;
    var y = forward ? to : from;
    var side = rtl ? 'left' : 'right';
    var vx = spreadView(x, n, single, rtl);
    var vy = spreadView(y, n, single, rtl);
    var plan = {
      side: side, x: x, y: y, forward: forward,
      fromAngle: forward ? 0 : 180, toAngle: forward ? 180 : 0,
      front: -1, back: -1, underLeft: -1, underRight: -1, under: -1,
      shiftX: vx.shift, shiftY: vy.shift
    };
    if (single) {
      plan.front = vx.single;
      plan.under = vy.single;
    } else if (side === 'right') {
      plan.front = vx.right; plan.back = vy.left;
      plan.underLeft = vx.left; plan.underRight = vy.right;
    } else {
      plan.front = vx.left; plan.back = vy.right;
      plan.underLeft = vy.left; plan.underRight = vx.right;
    }
    var hard = hardOf || function () { return false; };
    plan.hard = (plan.front >= 0 && hard(plan.front)) || (plan.back >= 0 && hard(plan.back));
    return plan;
  }

  // Leaf angle (degrees, 0..180) that puts its free edge under the pointer.
  // hingeX: the spine (or the single page's hinge edge); leafW: page width on screen.
  function angleFromPointer(px, hingeX, leafW, side) {
    if (!(leafW > 0)) return 0;
    var d = side === 'right' ? (px - hingeX) / leafW : (hingeX - px) / leafW;
    return Math.acos(clamp(d, -1, 1)) * 180 / Math.PI;
  }

  // A soft page bends: it is cut into strips, each turned a little further than the one
  // nearer the spine. Returns each strip's angle relative to the previous strip; they
  // add up to the leaf's angle, and the page lies flat at 0 and at 180.
  function stripAngles(theta, count, bend) {
    var out = [];
    var lift = count > 1 ? bend * Math.sin(theta * Math.PI / 180) : 0;
    var prev = 0;
    for (var i = 0; i < count; i++) {
      var a = theta + (count > 1 ? lift * i / (count - 1) : 0);
      a = clamp(a, 0, 180);
      out.push(a - prev);
      prev = a;
    }
    return out;
  }

  // Two pages side by side when the stage is wide enough for them to be readable.
  function useSinglePage(stageW, stageH, aspect) {
    if (stageW < 560) return true;
    return stageW / Math.max(1, stageH) < aspect * 1.3;
  }

  // Size of one page on screen so the spread (or page) fits the stage.
  function fitPage(stageW, stageH, aspect, single) {
    var across = single ? 1 : 2;
    var h = Math.min(stageH, stageW / (aspect * across));
    h = Math.max(1, Math.floor(h));
    return { width: Math.max(1, Math.floor(h * aspect)), height: h };
  }

  // Book position from a location hash such as "#page=12" (pages counted from 1), or -1.
  function pageFromHash(hash, n) {
    var m = /(?:^#?|[#&])(?:page|read)=(\d{1,9})(?:&|$)/.exec(String(hash || ''));
    if (!m) return -1;
    var p = parseInt(m[1], 10) - 1;
    return p >= 0 && p < n ? p : -1;
  }

  // The page a deep link should name for a spread: the linked page while it is still
  // in view, otherwise the spread's first page in reading order.
  function hashPageFor(view, current) {
    if (view.pages.indexOf(current) >= 0) return current;
    return view.pages.length ? Math.min.apply(null, view.pages) : -1;
  }

  // Pages to keep loaded around a spread: the spread and its neighbours on both sides.
  function nearbyPages(s, n, single, reach) {
    var out = [];
    var count = spreadCount(n, single);
    for (var d = 0; d <= reach; d++) {
      var list = d === 0 ? [s] : [s + d, s - d];
      for (var i = 0; i < list.length; i++) {
        if (list[i] < 0 || list[i] >= count) continue;
        var pages = spreadPages(list[i], n, single);
        for (var k = 0; k < pages.length; k++) if (pages[k] >= 0 && out.indexOf(pages[k]) < 0) out.push(pages[k]);
      }
    }
    return out;
  }

  F.spreadCount = spreadCount;
  F.spreadOfPage = spreadOfPage;
  F.spreadPages = spreadPages;
  F.spreadView = spreadView;
  F.turnPlan = turnPlan;
  F.angleFromPointer = angleFromPointer;
  F.stripAngles = stripAngles;
  F.useSinglePage = useSinglePage;
  F.fitPage = fitPage;
  F.pageFromHash = pageFromHash;
  F.hashPageFor = hashPageFor;
  F.nearbyPages = nearbyPages;
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
