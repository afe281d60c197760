/* Folivox player: the reader in the page.
 * Loads the book, builds the interface from the template settings and turns pages.
 * Only the open spread's pictures are <img> elements in the document; neighbours are
 * fetched ahead as detached images so a turn never waits, and the thumbnail strip
 * draws only what is scrolled into view. Globals for tests and benchmarks:
 * window.folivoxState ('loading', 'ready', 'error'), window.folivoxPlayer (small API). */
(function (F) {
  'use strict';

  var SOFT_STRIPS = 8;
  var SOFT_BEND = 38;
  var DRAG_START = 8;

  var root;
  var book;          // model from book.xml
  var opts;          // options from the template settings
  var T;             // interface texts
  var n = 0;
  var bus;           // events.js
  var reader;        // reader.js: spread, page mode, anchor, zoom, navigation
  var ui = {};
  var st = {
    pageW: 0, pageH: 0, aspect: 612 / 792,
    anim: null, drag: null, pan: null,
    reduced: false, ready: false
  };
  var preloaded = Object.create(null);
  var ctx;           // what the parts share: root, book, opts, texts, bus, reader, panels, stage, toolbar
  var docks = [];    // parts that take room below the book: { height(), place(bottom) }

  window.folivoxState = 'loading';

  var make = F.dom.make, button = F.dom.button, setIcon = F.dom.setIcon, cssUrl = F.dom.cssUrl;

  /* ---------- messages ---------- */

  function showMessage(title, detail) {
    var box = root.querySelector('.fv-message');
    if (!box) {
      box = make('div', 'fv-message', { role: 'status', 'aria-live': 'polite' });
      root.appendChild(box);
    }
    box.textContent = '';
    var p = make('p', 'fv-message-title');
    p.textContent = title;
    box.appendChild(p);
    if (detail) {
      var d = make('p', 'fv-message-detail');
      d.textContent = detail;
      box.appendChild(d);
    }
    box.hidden = false;
  }

  function fail(err) {
    var texts = T || F.textsFor(F.languageCode('', navigator.language));
    var detail = texts.damaged;
    if (err && err.folivoxMissing) detail = texts.missing;
    else if (err && err.folivoxUnsupported) detail = texts.unsupported;
    else if (err && err.folivoxEmpty) detail = texts.empty;
    root.setAttribute('data-state', 'error');
    showMessage(texts.failed, detail);
    window.folivoxState = 'error';
    window.folivoxError = String(err && err.message ? err.message : err);
    if (window.console) console.error('Folivox: ' + window.folivoxError);
  }

  /* ---------- loading ---------- */

  function missing(text) {
    var e = new Error(text);
    e.folivoxMissing = true;
    return e;
  }

  function loadByScript() {
    return new Promise(function (resolve, reject) {
      var s = document.createElement('script');
      s.src = 'files/book.bin.js';
      s.async = true;
      s.onload = function () {
        var data = window.folivoxBookBin;
        s.parentNode.removeChild(s);
        if (typeof data !== 'string' || !data) { reject(missing('files/book.bin.js holds no book')); return; }
        try { resolve(F.base64ToBytes(data)); } catch (e) { reject(e); }
      };
      s.onerror = function () {
        s.parentNode.removeChild(s);
        reject(missing('neither files/book.bin nor files/book.bin.js could be read'));
      };
      document.head.appendChild(s);
    });
  }

  // files/book.bin by XMLHttpRequest; on file:// most browsers refuse that, and the
  // publisher's files/book.bin.js carries the same bytes as a script. On file:// the
  // script goes first, so browsers that refuse do not log a failed request.
  function loadBookBytes() {
    if (location.protocol === 'file:') {
      return loadByScript().catch(function (err) {
        return loadByXhr().then(function (bytes) {
          if (!bytes) throw err;
          return bytes;
        });
      });
    }
    return loadByXhr().then(function (bytes) {
      return bytes || loadByScript();
    });
  }

  function loadByXhr() {
    return new Promise(function (resolve) {
      var xhr = new XMLHttpRequest();
      try {
        xhr.open('GET', 'files/book.bin', true);
        xhr.responseType = 'arraybuffer';
      } catch (e) {
        resolve(null);
        return;
      }
      xhr.onload = function () {
        var ok = xhr.status === 200 || (xhr.status === 0 && xhr.response && xhr.response.byteLength > 0);
        resolve(ok && xhr.response ? new Uint8Array(xhr.response) : null);
      };
      xhr.onerror = function () { resolve(null); };
      xhr.onabort = function () { resolve(null); };
      try { xhr.send(); } catch (e2) { resolve(null); }
    });
  }

  function start() {
    root = document.getElementById('folivox');
    if (!root) return;
    st.reduced = !!(window.matchMedia && window.matchMedia('(prefers-reduced-motion: reduce)').matches);
    showMessage(F.textsFor(F.languageCode('', navigator.language)).loading);
    loadBookBytes()
      .then(F.decodeBookBin)
      .then(function (xml) {
        var model;
        try {
          model = F.parseBookXml(xml);
        } catch (e) {
          e.folivoxDamaged = true;
          throw e;
        }
        if (!model.pages.length) {
          var err = new Error('the book has no pages');
          err.folivoxEmpty = true;
          throw err;
        }
        return model;
      })
      .then(init)
      .catch(fail);
  }

  /* ---------- building the interface ---------- */

  function applyLook() {
    root.setAttribute('data-skin', opts.skin);
    root.setAttribute('dir', 'ltr');
    root.classList.toggle('fv-rtl', opts.rightToLeft);
    root.classList.toggle('fv-reduced', st.reduced);
    document.documentElement.setAttribute('lang', opts.lang);
    var s = root.style;
    if (opts.bgColor) s.setProperty('--fv-bg', opts.bgColor);
    if (opts.bgImage) s.setProperty('--fv-bg-image', cssUrl(opts.bgImage));
    if (opts.toolbarColor) s.setProperty('--fv-bar', opts.toolbarColor);
    if (opts.toolbarTextColor) s.setProperty('--fv-bar-text', opts.toolbarTextColor);
    if (opts.accentColor) s.setProperty('--fv-accent', opts.accentColor);
    s.setProperty('--fv-flip-ms', opts.flipMs + 'ms');
  }

  function buildBrand() {
    if (!opts.logo && !opts.title) return;
    var brand = make('div', 'fv-brand');
    if (opts.logo) {
      var img = make('img', 'fv-logo', { src: opts.logo, alt: opts.logoLink ? opts.logoLink : '' });
      img.addEventListener('error', function () { img.remove(); });
      if (opts.logoLink) {
        var a = make('a', 'fv-logo-link', { href: opts.logoLink, target: '_blank', rel: 'noopener noreferrer' });
        a.appendChild(img);
        brand.appendChild(a);
      } else {
        brand.appendChild(img);
      }
    }
    if (opts.title) {
      var h = make('h1', 'fv-title');
      h.textContent = opts.title;
      brand.appendChild(h);
    }
    (ui.head || root).appendChild(brand);
  }

  function buildToolbar() {
    var bar = make('nav', 'fv-bar', { 'aria-label': T.page });
    var group = make('div', 'fv-group fv-nav');
    // The arrows keep their look on right-to-left books; what they do follows the direction.
    var rtl = opts.rightToLeft;
    ui.farLeft = button('fv-far-left', 'first', rtl ? T.last : T.first, function () { goTo(rtl ? n - 1 : 0); });
    ui.left = button('fv-left', 'prev', rtl ? T.next : T.prev, function () { step(rtl ? 1 : -1); });
    ui.right = button('fv-right', 'next', rtl ? T.prev : T.next, function () { step(rtl ? -1 : 1); });
    ui.farRight = button('fv-far-right', 'last', rtl ? T.first : T.last, function () { goTo(rtl ? 0 : n - 1); });
    group.appendChild(ui.farLeft);
    group.appendChild(ui.left);
    if (opts.showPageNumber) {
      var field = make('label', 'fv-pagefield');
      ui.pageInput = make('input', 'fv-pageinput', {
        type: 'text', inputmode: 'numeric', autocomplete: 'off', spellcheck: 'false',
        'aria-label': T.goTo, title: T.goTo
      });
      ui.pageTotal = make('span', 'fv-pagetotal');
      ui.pageTotal.textContent = '/ ' + n;
      field.appendChild(ui.pageInput);
      field.appendChild(ui.pageTotal);
      ui.pageInput.addEventListener('focus', function () { ui.pageInput.select(); });
      ui.pageInput.addEventListener('keydown', function (ev) {
        if (ev.key === 'Enter') {
          var v = parseInt(ui.pageInput.value, 10);
          if (v >= 1 && v <= n) goTo(v - 1);
          ui.pageInput.blur();
          updateStatus();
        } else if (ev.key === 'Escape') {
          ui.pageInput.blur();
        }
      });
      ui.pageInput.addEventListener('blur', updateStatus);
      group.appendChild(field);
    }
    group.appendChild(ui.right);
    group.appendChild(ui.farRight);
    bar.appendChild(group);

    var tools = make('div', 'fv-group fv-tools');
    if (opts.showContents && book.toc.length) {
      ui.tocButton = button('fv-contents', 'contents', T.contents, function () { bus.emit('togglecontents'); });
      ui.tocButton.setAttribute('aria-expanded', 'false');
      tools.appendChild(ui.tocButton);
    }
    if (opts.showThumbnails) {
      ui.thumbButton = button('fv-thumbnails', 'thumbnails', T.thumbnails, function () { bus.emit('togglethumbnails'); });
      ui.thumbButton.setAttribute('aria-expanded', 'false');
      tools.appendChild(ui.thumbButton);
    }
    if (opts.showZoom) {
      ui.zoomOut = button('fv-zoom-out', 'zoomOut', T.zoomOut, function () { reader.zoomBy(-1); });
      ui.zoomIn = button('fv-zoom-in', 'zoomIn', T.zoomIn, function () { reader.zoomBy(1); });
      tools.appendChild(ui.zoomOut);
      tools.appendChild(ui.zoomIn);
    }
    if (opts.showSoundButton) {
      // sound.js shows the state.
      ui.soundButton = button('fv-sound', 'soundOff', T.sound, function () { bus.emit('togglesound'); });
      tools.appendChild(ui.soundButton);
    }
    var fsRoot = document.documentElement;
    if (opts.showFullscreen && document.fullscreenEnabled && fsRoot.requestFullscreen) {
      ui.fullscreen = button('fv-fullscreen', 'fullscreen', T.fullscreen, function () {
        if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
        else fsRoot.requestFullscreen().catch(function () {});
      });
      ui.fullscreen.setAttribute('aria-pressed', 'false');
      document.addEventListener('fullscreenchange', function () {
        ui.fullscreen.setAttribute('aria-pressed', document.fullscreenElement ? 'true' : 'false');
      });
      tools.appendChild(ui.fullscreen);
    }
    if (tools.childNodes.length) bar.appendChild(tools);
    (ui.head || root).appendChild(bar);
    ui.bar = bar;
  }

  function buildStage() {
    ui.stage = make('main', 'fv-stage', { 'aria-label': opts.title || document.title || T.page });
    ui.scroll = make('div', 'fv-scroll');
    ui.book = make('div', 'fv-book');
    ui.sideL = make('div', 'fv-side fv-side-left');
    ui.sideR = make('div', 'fv-side fv-side-right');
    ui.sideL._pos = -2;
    ui.sideR._pos = -2;
    // Links are reached with Tab in reading order, so the earlier page comes first.
    ui.book.appendChild(opts.rightToLeft ? ui.sideR : ui.sideL);
    ui.book.appendChild(opts.rightToLeft ? ui.sideL : ui.sideR);
    ui.scroll.appendChild(ui.book);
    ui.stage.appendChild(ui.scroll);
    ui.sr = make('div', 'fv-sr', { 'aria-live': 'polite' });
    root.appendChild(ui.stage);
    root.appendChild(ui.sr);
    ui.book.addEventListener('pointerdown', onPointerDown);
    ui.book.addEventListener('pointermove', onPointerMove);
    ui.book.addEventListener('pointerup', onPointerUp);
    ui.book.addEventListener('pointercancel', onPointerCancel);
    ui.book.addEventListener('dragstart', function (ev) { ev.preventDefault(); });
    ui.stage.addEventListener('wheel', onWheel, { passive: false });
  }

  function init(model) {
    book = model;
    n = book.pages.length;
    opts = F.readOptions(book.settings, navigator.language);
    T = opts.texts;
    if (opts.aspect) st.aspect = opts.aspect;
    var msg = root.querySelector('.fv-message');
    if (msg) msg.hidden = true;
    bus = F.createBus();
    reader = F.createReader({
      pages: book.pages, rightToLeft: opts.rightToLeft, hardCover: opts.hardCover,
      startPage: F.pageFromHash(location.hash, n), bus: bus
    });
    reader.setTurner(turner);
    bus.on('spreadchange', render);
    bus.on('zoomchange', onZoomChange);
    applyLook();
    buildStage();
    // Skins with a header carry the title and the toolbar in one bar across the top.
    if (opts.header) {
      ui.head = make('header', 'fv-head');
      root.appendChild(ui.head);
    }
    buildBrand();
    buildToolbar();
    ctx = {
      root: root, book: book, opts: opts, texts: T, bus: bus, reader: reader,
      panels: F.keys.createPanels(),
      stage: {
        layout: layout,
        aspect: function () { return st.aspect; },
        addDock: function (d) { docks.push(d); }
      },
      toolbar: { buttons: { contents: ui.tocButton, thumbnails: ui.thumbButton, sound: ui.soundButton } }
    };
    F.createSound(ctx);
    if (ui.thumbButton) F.createThumbnails(ctx);
    if (ui.tocButton) F.createContents(ctx);

    layout(true);

    window.addEventListener('resize', function () { layout(false); });
    window.addEventListener('hashchange', function () {
      var p = F.pageFromHash(location.hash, n);
      if (p >= 0) goTo(p);
    });
    F.keys.listen(ctx);
    if (!opts.aspect) learnAspect();

    window.folivoxPlayer = {
      pageCount: function () { return n; },
      page: function () { return reader.anchor(); },
      pagesInView: function () { return view().pages.slice(); },
      singlePage: function () { return reader.single(); },
      goTo: function (p) { goTo(p); },
      next: function () { step(1); },
      previous: function () { step(-1); },
      model: book,
      options: opts
    };
  }

  // Without pageWidth/pageHeight the first picture tells the page shape.
  function learnAspect() {
    var img = new Image();
    img.onload = function () {
      if (img.naturalWidth > 0 && img.naturalHeight > 0) {
        st.aspect = img.naturalWidth / img.naturalHeight;
        layout(false);
      }
    };
    if (book.pages[0].url) img.src = book.pages[0].url;
  }

  /* ---------- geometry ---------- */

  function view(s) { return reader.view(s); }
  function spreads() { return reader.spreads(); }
  function isHard(p) { return reader.isHard(p); }
  function step(dir) { reader.step(dir); }
  function goTo(p) { reader.goTo(p); }

  function layout(first) {
    finishAnimation();
    var bar = ui.bar ? ui.bar.getBoundingClientRect() : null;
    var docked = docks.map(function (d) { return d.height(); });
    var h = window.innerHeight, w = window.innerWidth;
    var top, barSpace;
    if (ui.head) {
      // The header may wrap onto two lines on a narrow window; measure it every time.
      var headH = ui.head.offsetHeight;
      root.style.setProperty('--fv-head-h', headH + 'px');
      top = headH + 16;
      barSpace = 0;
    } else {
      var brand = root.querySelector('.fv-brand');
      top = brand ? brand.offsetHeight + 20 : 16;
      barSpace = bar ? Math.max(0, h - bar.top) : 0;
    }
    // Docks stack upwards from the toolbar.
    var stacked = 0;
    for (var i = 0; i < docks.length; i++) {
      docks[i].place(barSpace + 8 + stacked);
      if (docked[i]) stacked += docked[i] + 8;
    }
    var bottom = barSpace + stacked + 12;
    root.style.setProperty('--fv-stage-top', top + 'px');
    root.style.setProperty('--fv-stage-bottom', bottom + 'px');
    // Narrow windows keep the book large: the margin shrinks with the width.
    var margin = Math.min(opts.margin, Math.round(w / 25));
    var availW = Math.max(120, w - 2 * Math.max(16, margin));
    var availH = Math.max(120, h - top - bottom);
    var single = F.useSinglePage(availW, availH, st.aspect);
    if (reader.setSingle(single, first)) root.classList.toggle('fv-single', single);
    var fit = F.fitPage(availW, availH, st.aspect, reader.single());
    var z = reader.zoomFactor();
    st.pageW = Math.round(fit.width * z);
    st.pageH = Math.round(fit.height * z);
    var bw = reader.single() ? st.pageW : 2 * st.pageW;
    ui.book.style.width = bw + 'px';
    ui.book.style.height = st.pageH + 'px';
    ui.book.style.setProperty('--fv-page-w', st.pageW + 'px');
    ui.book.style.setProperty('--fv-page-h', st.pageH + 'px');
    ui.book.style.perspective = Math.round(Math.max(2000, bw * 5)) + 'px';
    root.classList.toggle('fv-zoomed', reader.zoom() > 0);
    reader.show();
    bus.emit('layout', { pageW: st.pageW, pageH: st.pageH });
  }

  function setShift(shift) {
    var px = reader.zoom() > 0 ? 0 : shift * (reader.single() ? st.pageW : 2 * st.pageW);
    ui.book.style.transform = px ? 'translateX(' + px.toFixed(1) + 'px)' : '';
  }

  /* ---------- pages ---------- */

  function pageLinks(p, holder) {
    var links = book.links[p] || [];
    for (var i = 0; i < links.length; i++) {
      var l = links[i];
      var a = make('a', 'fv-link');
      a.style.left = (l.x * 100).toFixed(4) + '%';
      a.style.top = (l.y * 100).toFixed(4) + '%';
      a.style.width = (l.w * 100).toFixed(4) + '%';
      a.style.height = (l.h * 100).toFixed(4) + '%';
      if (l.kind === 'url') {
        a.href = l.href;
        a.target = '_blank';
        a.rel = 'noopener noreferrer';
        a.title = l.href;
        a.setAttribute('aria-label', T.link + ': ' + l.href);
      } else {
        a.href = '#page=' + (l.page + 1);
        a.title = T.toPage + ' ' + (l.page + 1);
        a.setAttribute('aria-label', a.title);
        a.setAttribute('data-page', String(l.page));
        a.addEventListener('click', onPageLink);
      }
      a.addEventListener('pointerdown', function (ev) { ev.stopPropagation(); });
      holder.appendChild(a);
    }
  }

  function onPageLink(ev) {
    ev.preventDefault();
    goTo(parseInt(this.getAttribute('data-page'), 10));
  }

  function makePage(p, withLinks) {
    var div = make('div', 'fv-page' + (isHard(p) ? ' fv-hard' : ''));
    div.setAttribute('data-page', String(p + 1));
    var img = make('img', 'fv-picture', { alt: T.page + ' ' + (p + 1), draggable: 'false', decoding: 'async' });
    img.addEventListener('error', function () { div.classList.add('fv-broken'); });
    if (book.pages[p].url) img.src = book.pages[p].url;
    else div.classList.add('fv-broken');
    div.appendChild(img);
    if (withLinks && book.links[p] && book.links[p].length) {
      var layer = make('div', 'fv-links');
      pageLinks(p, layer);
      div.appendChild(layer);
    }
    return div;
  }

  function setSide(side, p, withLinks) {
    var key = p < 0 ? -1 : (withLinks ? p : -100 - p);
    if (side._pos === key) return;
    side._pos = key;
    side.textContent = '';
    if (p >= 0) side.appendChild(makePage(p, withLinks));
  }

  // What is shown changed: every part redraws from the reader.
  function render() {
    var v = view();
    if (reader.single()) {
      setSide(ui.sideL, v.single, true);
      setSide(ui.sideR, -1, false);
    } else {
      setSide(ui.sideL, v.left, true);
      setSide(ui.sideR, v.right, true);
    }
    setShift(v.shift);
    updateStatus();
    updateHash();
    preloadAround();
    if (!st.ready) waitFirstPaint();
  }

  function waitFirstPaint() {
    st.ready = true;
    var imgs = ui.book.querySelectorAll('img.fv-picture');
    var left = imgs.length;
    function one() {
      if (--left > 0) return;
      root.setAttribute('data-state', 'ready');
      window.folivoxReadyTime = performance.now();
      window.folivoxState = 'ready';
    }
    if (!left) { left = 1; one(); return; }
    for (var i = 0; i < imgs.length; i++) {
      if (imgs[i].complete) one();
      else {
        imgs[i].addEventListener('load', one);
        imgs[i].addEventListener('error', one);
      }
    }
  }

  // Neighbouring spreads are fetched as detached images: cached, decoded, and not in the DOM.
  function preloadAround() {
    var keep = F.nearbyPages(reader.spread(), n, reader.single(), 2);
    var next = Object.create(null);
    for (var i = 0; i < keep.length; i++) {
      var p = keep[i];
      if (preloaded[p]) { next[p] = preloaded[p]; continue; }
      var img = new Image();
      img.decoding = 'async';
      if (book.pages[p].url) img.src = book.pages[p].url;
      next[p] = img;
    }
    preloaded = next;
  }

  function updateStatus() {
    var v = view();
    var label = F.pageLabel(v);
    if (ui.pageInput && document.activeElement !== ui.pageInput) ui.pageInput.value = label;
    if (ui.sr) ui.sr.textContent = T.page + ' ' + label + ' ' + T.of + ' ' + n;
    var atStart = reader.spread() <= 0, atEnd = reader.spread() >= spreads() - 1;
    var rtl = opts.rightToLeft;
    if (ui.left) {
      ui.farLeft.disabled = rtl ? atEnd : atStart;
      ui.left.disabled = rtl ? atEnd : atStart;
      ui.right.disabled = rtl ? atStart : atEnd;
      ui.farRight.disabled = rtl ? atStart : atEnd;
    }
    if (ui.zoomOut) {
      ui.zoomOut.disabled = reader.zoom() === 0;
      ui.zoomIn.disabled = reader.zoom() === reader.maxZoom;
    }
  }

  function updateHash() {
    var p = reader.anchor();
    var want = '#page=' + (p + 1);
    if (location.hash === want) return;
    try {
      history.replaceState(history.state, '', want);
    } catch (e) {
      try { location.replace(want); } catch (e2) { /* a sandboxed frame may refuse both */ }
    }
  }

  /* ---------- turning ---------- */

  // The leaf shows the reader's turns, unless motion is reduced or turns are instant.
  var turner = {
    finish: function () { finishAnimation(); },
    turn: function (plan) {
      if (st.reduced || opts.flipMs <= 0) return false;
      beginLeaf(plan);
      animateLeaf(plan.fromAngle, plan.toAngle, opts.flipMs, function () { endLeaf(true); });
      return true;
    }
  };

  function leafUrl(p) { return p >= 0 && book.pages[p].url ? cssUrl(book.pages[p].url) : 'none'; }

  // Builds the turning leaf: one strip for a hard page, several for a soft one that bends.
  function beginLeaf(plan) {
    var right = plan.side === 'right';
    var W = st.pageW, H = st.pageH;
    if (reader.single()) {
      setSide(ui.sideL, plan.under, false);
    } else {
      setSide(ui.sideL, plan.underLeft, false);
      setSide(ui.sideR, plan.underRight, false);
    }
    var leaf = make('div', 'fv-leaf' + (plan.hard ? ' fv-leaf-hard' : ''));
    leaf.style.width = W + 'px';
    leaf.style.height = H + 'px';
    leaf.style.left = (reader.single() || !right ? 0 : W) + 'px';
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
      var fx = right ? i * w : W - (i + 1) * w;
      var bx = right ? W - (i + 1) * w : i * w;
      front.style.backgroundImage = leafUrl(plan.front);
      front.style.backgroundSize = W + 'px ' + H + 'px';
      front.style.backgroundPosition = (-fx).toFixed(2) + 'px 0';
      if (reader.single()) {
        back.classList.add('fv-blank');
      } else {
        back.style.backgroundImage = leafUrl(plan.back);
        back.style.backgroundSize = W + 'px ' + H + 'px';
        back.style.backgroundPosition = (-bx).toFixed(2) + 'px 0';
      }
      if (plan.front < 0) front.classList.add('fv-empty');
      if (!reader.single() && plan.back < 0) back.classList.add('fv-empty');
      var fs = make('div', 'fv-shade');
      var bs = make('div', 'fv-shade');
      front.appendChild(fs);
      back.appendChild(bs);
      s.appendChild(front);
      s.appendChild(back);
      parent.appendChild(s);
      strips.push({ el: s, frontShade: fs, backShade: bs });
      parent = s;
    }
    var cast = make('div', 'fv-cast' + (right ? ' fv-cast-right' : ' fv-cast-left'));
    ui.book.appendChild(cast);
    ui.book.appendChild(leaf);
    st.anim = { plan: plan, leaf: leaf, cast: cast, strips: strips, angle: plan.fromAngle, raf: 0, done: null };
    root.classList.add('fv-turning');
    setAngle(plan.fromAngle);
  }

  function setAngle(theta) {
    var a = st.anim;
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
    var shift = a.plan.shiftX + (a.plan.shiftY - a.plan.shiftX) * (theta / 180);
    setShift(shift);
  }

  function ease(t) { return t < 0.5 ? 4 * t * t * t : 1 - Math.pow(-2 * t + 2, 3) / 2; }
  function easeOut(t) { return 1 - Math.pow(1 - t, 3); }

  function animateLeaf(from, to, ms, done, soft) {
    var a = st.anim;
    if (!a) return;
    var t0 = performance.now();
    var fn = soft ? easeOut : ease;
    a.done = done;
    function frame(now) {
      if (st.anim !== a) return;
      var t = ms > 0 ? Math.min(1, (now - t0) / ms) : 1;
      setAngle(from + (to - from) * fn(t));
      if (t < 1) a.raf = requestAnimationFrame(frame);
      else { a.raf = 0; a.done = null; done(); }
    }
    a.raf = requestAnimationFrame(frame);
  }

  function endLeaf(completed) {
    var a = st.anim;
    if (!a) return;
    if (a.raf) cancelAnimationFrame(a.raf);
    st.anim = null;
    a.leaf.remove();
    a.cast.remove();
    root.classList.remove('fv-turning');
    ui.sideL._pos = -2;
    ui.sideR._pos = -2;
    if (completed) reader.land(a.plan.targetSpread);
    else reader.show();
  }

  // Lands a running turn at once (a turn still following the pointer is dropped).
  function finishAnimation() {
    var a = st.anim;
    if (!a) return;
    if (a.done) {
      var d = a.done;
      a.done = null;
      d();
    } else {
      endLeaf(false);
    }
    st.drag = null;
  }

  /* ---------- pointer: drag, swipe, click ---------- */

  function hitSide(ev) {
    var r = ui.book.getBoundingClientRect();
    var x = ev.clientX - r.left;
    return x < r.width / 2 ? 'left' : 'right';
  }

  function onPointerDown(ev) {
    if (ev.button !== 0 && ev.pointerType === 'mouse') return;
    if (reader.zoom() > 0) {
      if (ev.pointerType === 'mouse') {
        st.pan = { id: ev.pointerId, x: ev.clientX, y: ev.clientY, sl: ui.stage.scrollLeft, st: ui.stage.scrollTop };
        ui.book.setPointerCapture(ev.pointerId);
        root.classList.add('fv-panning');
      }
      return;
    }
    finishAnimation();
    st.drag = { id: ev.pointerId, x: ev.clientX, y: ev.clientY, t: performance.now(), side: hitSide(ev), active: false, hist: [] };
    try { ui.book.setPointerCapture(ev.pointerId); } catch (e) { /* capture is a nicety */ }
  }

  // The turn a grab on one side of the book asks for, in spreads (+1 or -1).
  function directionForSide(side) {
    var toRight = side === 'left';
    var forward = opts.rightToLeft ? toRight : !toRight;
    return forward ? 1 : -1;
  }

  function hingeX(plan) {
    var r = ui.book.getBoundingClientRect();
    var right = plan.side === 'right';
    if (reader.single()) return right ? r.left : r.right;
    return r.left + st.pageW;
  }

  function onPointerMove(ev) {
    if (st.pan && ev.pointerId === st.pan.id) {
      ui.stage.scrollLeft = st.pan.sl - (ev.clientX - st.pan.x);
      ui.stage.scrollTop = st.pan.st - (ev.clientY - st.pan.y);
      return;
    }
    var d = st.drag;
    if (!d || ev.pointerId !== d.id) return;
    var dx = ev.clientX - d.x, dy = ev.clientY - d.y;
    if (!d.active) {
      if (Math.abs(dx) < DRAG_START || Math.abs(dx) < Math.abs(dy)) return;
      var target = reader.spread() + directionForSide(d.side);
      if (target < 0 || target >= spreads()) { st.drag = null; return; }
      var plan = reader.plan(target);
      if (st.reduced) {
        st.drag = null;
        reader.turnTo(target);
        return;
      }
      beginLeaf(plan);
      d.active = true;
      d.plan = plan;
      d.hinge = hingeX(plan);
      var right = plan.side === 'right';
      var atZero = right ? d.hinge + st.pageW : d.hinge - st.pageW;
      var atEnd = right ? d.hinge - st.pageW : d.hinge + st.pageW;
      d.edge0 = plan.fromAngle === 0 ? atZero : atEnd;
      bus.emit('turnstart', { plan: plan });
    }
    var edge = d.edge0 + (ev.clientX - d.x);
    d.hist.push({ t: performance.now(), e: edge });
    if (d.hist.length > 6) d.hist.shift();
    setAngle(F.angleFromPointer(edge, d.hinge, st.pageW, d.plan.side));
  }

  function onPointerUp(ev) {
    if (st.pan && ev.pointerId === st.pan.id) {
      st.pan = null;
      root.classList.remove('fv-panning');
      return;
    }
    var d = st.drag;
    if (!d || ev.pointerId !== d.id) return;
    st.drag = null;
    if (!d.active) {
      var moved = Math.abs(ev.clientX - d.x) + Math.abs(ev.clientY - d.y);
      if (moved < DRAG_START && performance.now() - d.t < 600) step(directionForSide(d.side));
      return;
    }
    // Where the edge would be a moment later decides: a quick flick completes the turn.
    var h = d.hist, v = 0;
    if (h.length > 1) {
      var dt = h[h.length - 1].t - h[0].t;
      if (dt > 0) v = (h[h.length - 1].e - h[0].e) / dt;
    }
    var last = h.length ? h[h.length - 1].e : d.edge0;
    var projected = F.angleFromPointer(last + v * 150, d.hinge, st.pageW, d.plan.side);
    var from = st.anim ? st.anim.angle : d.plan.fromAngle;
    var complete = d.plan.fromAngle === 0 ? projected > 90 : projected < 90;
    var to = complete ? d.plan.toAngle : d.plan.fromAngle;
    var ms = Math.max(120, opts.flipMs * Math.abs(to - from) / 180);
    animateLeaf(from, to, ms, function () { endLeaf(complete); }, true);
  }

  function onPointerCancel(ev) {
    if (st.pan && ev.pointerId === st.pan.id) { st.pan = null; root.classList.remove('fv-panning'); }
    var d = st.drag;
    if (!d || ev.pointerId !== d.id) return;
    st.drag = null;
    if (d.active && st.anim) {
      var from = st.anim.angle;
      animateLeaf(from, d.plan.fromAngle, 200, function () { endLeaf(false); }, true);
    }
  }

  function onWheel(ev) {
    if (!ev.ctrlKey || !opts.showZoom) return;
    ev.preventDefault();
    reader.zoomBy(ev.deltaY < 0 ? 1 : -1);
  }

  /* ---------- zoom ---------- */

  // Zoom lays the pages out larger instead of scaling them, so the browser draws the
  // picture from its full resolution and it stays sharp. The scroll position is still
  // the old layout's here, so the centre of the view is kept.
  function onZoomChange() {
    var s = ui.stage;
    var cx = (s.scrollLeft + s.clientWidth / 2) / Math.max(1, s.scrollWidth);
    var cy = (s.scrollTop + s.clientHeight / 2) / Math.max(1, s.scrollHeight);
    layout(false);
    s.scrollLeft = cx * s.scrollWidth - s.clientWidth / 2;
    s.scrollTop = cy * s.scrollHeight - s.clientHeight / 2;
  }

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();
})(window.Folivox);
