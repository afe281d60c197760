/* Folivox player: the turning leaf. One leaf turns about the spine with CSS 3D
 * transforms: a soft page is cut into strips that bend, a hard page stays rigid, and
 * the pages under it are shown bare on the stage's sides while it turns. Each face
 * shows its page in the page's own shape, as it lies at rest. The leaf is
 * the reader's turner (it animates the reader's turns and lands them, and a new
 * request lands it first); the pointer turns it by hand with begin, setAngle,
 * animate and end. */
(function (F) {
  'use strict';

  var make = F.dom.make;
  var SOFT_STRIPS = 8;
  var SOFT_BEND = 38;

  function ease(t) { return t < 0.5 ? 4 * t * t * t : 1 - Math.pow(-2 * t + 2, 3) / 2; }
  function easeOut(t) { return 1 - Math.pow(1 - t, 3); }

  // ctx: { root, book, opts, photos, bus, reader, stage, pageView, reduced }
  function createLeaf(ctx) {
    var reader = ctx.reader;
    var stage = ctx.stage;
    var anim = null;
    var cutting = false;

    // Paints a strip's face with page p, which keeps its own shape in its slot W x H;
    // the strip's left edge lies at x in the slot. Beside a page narrower or flatter
    // than its slot the face is clear, and so is its shade.
    function paint(face, shade, p, x, stripW, W, H) {
      var url = p >= 0 ? ctx.book.pages[p].url : '';
      if (!url) {
        face.style.backgroundImage = 'none';
        return;
      }
      if (ctx.photos[p]) face.classList.add('fv-photo');
      var b = ctx.pageView.boxOf(p);
      var bw = b.w * W, bh = b.h * H, bx = b.x * W - x, by = b.y * H;
      var size = bw.toFixed(2) + 'px ' + bh.toFixed(2) + 'px';
      var at = bx.toFixed(2) + 'px ' + by.toFixed(2) + 'px';
      face.style.backgroundImage = F.dom.cssUrl(url) + ', linear-gradient(var(--fv-paper), var(--fv-paper))';
      face.style.backgroundSize = size + ', ' + size;
      face.style.backgroundPosition = at + ', ' + at;
      if (b.w < 1 || b.h < 1) {
        face.classList.add('fv-shaped');
        var left = Math.max(0, bx), right = Math.min(stripW, bx + bw);
        shade.style.left = left.toFixed(2) + 'px';
        shade.style.width = Math.max(0, right - left).toFixed(2) + 'px';
        shade.style.top = by.toFixed(2) + 'px';
        shade.style.height = bh.toFixed(2) + 'px';
      }
    }

    // Builds the leaf for a turn plan (layout.js turnPlan) at its starting angle.
    function begin(plan) {
      var right = plan.side === 'right';
      var single = reader.single();
      var W = stage.pageWidth(), H = stage.pageHeight();
      if (single) {
        stage.setSide('left', plan.under, false);
      } else {
        stage.setSide('left', plan.underLeft, false);
        stage.setSide('right', plan.underRight, false);
      }
      var leaf = make('div', 'fv-leaf' + (plan.hard ? ' fv-leaf-hard' : ''));
      leaf.style.width = W + 'px';
      leaf.style.height = H + 'px';
      leaf.style.left = (single || !right ? 0 : W) + 'px';
      var count = plan.hard ? 1 : SOFT_STRIPS;
      var w = W / count;
      var strips = [];
      var parent = leaf;
      for (var i = 0; i < count; i++) {
        var s = make('div', 'fv-strip');
        s.style.width = (i < count - 1 ? w + 1 : w) + 'px';
        s.style.height = H + 'px';
        if (i === 0) s.style.left = right ? '0px' : (W - w) + 'px';
        else s.style.left = (right ? w : -w) + 'px';
        s.style.transformOrigin = right ? '0 50%' : '100% 50%';
        var front = make('div', 'fv-face fv-front');
        var back = make('div', 'fv-face fv-back');
        var fs = make('div', 'fv-shade');
        var bs = make('div', 'fv-shade');
        var sw = i < count - 1 ? w + 1 : w;
        // Where the strip's faces lie in their pages' slots (the back is mirrored).
        var fx = right ? i * w : W - (i + 1) * w;
        var bx = right ? W - (i + 1) * w : i * w;
        paint(front, fs, plan.front, fx, sw, W, H);
        if (single) back.classList.add('fv-blank');
        else paint(back, bs, plan.back, bx, sw, W, H);
        if (plan.front < 0) front.classList.add('fv-empty');
        if (!single && plan.back < 0) back.classList.add('fv-empty');
        front.appendChild(fs);
        back.appendChild(bs);
        s.appendChild(front);
        s.appendChild(back);
        parent.appendChild(s);
        strips.push({ el: s, frontShade: fs, backShade: bs });
        parent = s;
      }
      var cast = make('div', 'fv-cast' + (right ? ' fv-cast-right' : ' fv-cast-left'));
      stage.book.appendChild(cast);
      stage.book.appendChild(leaf);
      anim = { plan: plan, leaf: leaf, cast: cast, strips: strips, angle: plan.fromAngle, raf: 0, done: null };
      ctx.root.classList.add('fv-turning');
      setAngle(plan.fromAngle);
    }

    function setAngle(theta) {
      var a = anim;
      if (!a) return;
      a.angle = theta;
      var right = a.plan.side === 'right';
      var deltas = F.stripAngles(theta, a.strips.length, SOFT_BEND);
      var sum = 0;
      for (var i = 0; i < a.strips.length; i++) {
        sum += deltas[i];
        var s = a.strips[i];
        // Negative angles lift a right-hand leaf's free edge towards the reader.
        s.el.style.transform = 'rotateY(' + (right ? -deltas[i] : deltas[i]).toFixed(3) + 'deg)';
        // Light falls from the front: the face turned away from it darkens.
        var t = sum / 180;
        s.frontShade.style.opacity = (0.45 * Math.sin(t * Math.PI / 2)).toFixed(3);
        s.backShade.style.opacity = (0.35 * Math.cos(t * Math.PI / 2)).toFixed(3);
      }
      if (reader.single()) {
        a.leaf.style.opacity = theta <= 90 ? '1' : Math.max(0, (180 - theta) / 90).toFixed(3);
      }
      var lift = Math.sin(theta * Math.PI / 180);
      a.cast.style.opacity = (0.6 * lift).toFixed(3);
      stage.setShift(a.plan.shiftX + (a.plan.shiftY - a.plan.shiftX) * (theta / 180));
    }

    // Turns the leaf from one angle to another over ms, then calls done. A soft
    // animation (after a release) eases out only.
    function animate(from, to, ms, done, soft) {
      var a = anim;
      if (!a) return;
      var t0 = performance.now();
      var fn = soft ? easeOut : ease;
      a.done = done;
      function frame(now) {
        if (anim !== a) return;
        var t = ms > 0 ? Math.min(1, (now - t0) / ms) : 1;
        setAngle(from + (to - from) * fn(t));
        if (t < 1) a.raf = requestAnimationFrame(frame);
        else { a.raf = 0; a.done = null; done(); }
      }
      a.raf = requestAnimationFrame(frame);
    }

    // Removes the leaf; the reader lands on the target spread, or stays.
    function end(completed) {
      var a = anim;
      if (!a) return;
      if (a.raf) cancelAnimationFrame(a.raf);
      anim = null;
      a.leaf.remove();
      a.cast.remove();
      ctx.root.classList.remove('fv-turning');
      stage.resetSides();
      if (completed) reader.land(a.plan.targetSpread);
      else reader.show();
      ctx.bus.emit('turnend', { completed: completed, cut: cutting });
    }

    // Lands a running turn at once (a turn still following the pointer is dropped).
    function finish() {
      var a = anim;
      if (!a) return;
      cutting = true;
      if (a.done) {
        var d = a.done;
        a.done = null;
        d();
      } else {
        end(false);
      }
      cutting = false;
    }

    reader.setTurner({
      finish: finish,
      // Reduced motion and instant turns land without a leaf.
      turn: function (plan) {
        if (ctx.reduced || ctx.opts.flipMs <= 0) return false;
        begin(plan);
        animate(plan.fromAngle, plan.toAngle, ctx.opts.flipMs, function () { end(true); });
        return true;
      }
    });

    return {
      begin: begin,
      setAngle: setAngle,
      animate: animate,
      end: end,
      // The angle the leaf is at, or null when no leaf is turning.
      angle: function () { return anim ? anim.angle : null; }
    };
  }

  F.createLeaf = createLeaf;
})(window.Folivox);
