/* Folivox player: printing. The browser's print command prints the spread in view;
 * the toolbar's print button asks for the pages in view or a range of pages (printed
 * labels or numbers). Either way each page gets a sheet of its own in its own shape,
 * and nothing of the player (toolbar, panels, background) is printed. A page's words
 * lie invisibly over its picture, as on screen, so a page printed to a PDF file can
 * be searched and copied.
 * The sheets live in .fv-print beside the player, hidden on screen (print.css). They
 * always hold the spread in view, so the browser's command finds their pictures
 * loaded; a range replaces them until it has been printed. */
(function (F) {
  'use strict';

  // ctx: { root, book, texts, labels, bus, reader, panels, stage, pageView, text, toolbar }
  function createPrint(ctx) {
    var make = F.dom.make;
    var T = ctx.texts;
    var book = ctx.book;
    var sheets = make('div', 'fv-print', { 'aria-hidden': 'true' });
    document.body.appendChild(sheets);
    var shown = '';        // the pages the sheets hold, as a key
    var range = false;     // the sheets hold a range that has not been printed yet
    // The print the dialog asked for: browsers print within window.print() (beforeprint
    // and afterprint come before it returns); a web view may hand the print to its
    // program, which prints later, with a beforeprint and afterprint of its own.
    var job = null;        // { inCall, beforeInCall, done }
    var dialog = null, fields = null;
    var open = false;
    var self = { close: function () { toggle(false); } };

    // Fills the sheets with pages; the pictures shown on the stage when `large` is
    // false, else the zoom pictures. Calls done once every picture loaded or failed.
    function fill(pages, large, done) {
      var key = pages.join(',') + (large ? ':large' : '');
      if (key === shown && !done) return;
      shown = key;
      sheets.textContent = '';
      var waiting = pages.length + 1;
      var one = function () { if (--waiting === 0 && done) done(); };
      pages.forEach(function (p) {
        var page = make('div', 'fv-print-page');
        var frame = make('div', 'fv-print-frame');
        setShape(frame, ctx.pageView.aspectOf(p) || ctx.stage.aspect());
        var img = make('img', 'fv-print-picture', { alt: T.page + ' ' + ctx.labels.labelOf(p) });
        var src = large ? book.pages[p].large || book.pages[p].url : shownPicture(p);
        img.addEventListener('load', function () {
          if (img.naturalWidth > 0 && img.naturalHeight > 0) setShape(frame, img.naturalWidth / img.naturalHeight);
          one();
        });
        img.addEventListener('error', one);
        if (src) img.src = src; else waiting--;
        frame.appendChild(img);
        page.appendChild(frame);
        sheets.appendChild(page);
        waiting++;
        ctx.text.words(p).then(function (words) {
          if (words && frame.isConnected) frame.appendChild(textOf(words));
        }).then(one, one);
      });
      one();
    }

    function setShape(frame, aspect) {
      frame.style.setProperty('--fv-print-aspect', String(aspect > 0 && isFinite(aspect) ? aspect : 1));
    }

    // The words as SVG text over the picture, each stretched to its box (the picture's
    // frame is 1000 x 1000 units here), drawn in no colour.
    function textOf(words) {
      var NS = 'http://www.w3.org/2000/svg';
      var svg = document.createElementNS(NS, 'svg');
      svg.setAttribute('class', 'fv-print-text');
      svg.setAttribute('viewBox', '0 0 1000 1000');
      svg.setAttribute('preserveAspectRatio', 'none');
      svg.setAttribute('aria-hidden', 'true');
      for (var i = 0; i < words.length; i++) {
        var w = words[i];
        if (!w || !w.t || (w.f >> 3) & 3) continue;
        var t = document.createElementNS(NS, 'text');
        t.setAttribute('x', (w.x * 1000).toFixed(1));
        t.setAttribute('y', ((w.y + w.h * 0.8) * 1000).toFixed(1));
        t.setAttribute('font-size', Math.max(1, w.h * 1000).toFixed(1));
        t.setAttribute('textLength', Math.max(1, w.w * 1000).toFixed(1));
        t.setAttribute('lengthAdjust', 'spacingAndGlyphs');
        t.textContent = w.t + F.textData.separator(w, F.textData.nextWord(words, i));
        svg.appendChild(t);
      }
      return svg;
    }

    // The picture the stage shows for page p (its zoom picture, when swapped in).
    function shownPicture(p) {
      var img = ctx.stage.book.querySelector('.fv-page[data-page="' + (p + 1) + '"] img.fv-picture');
      return img && img.getAttribute('src') ? img.getAttribute('src') : book.pages[p].url;
    }

    function showSpread() {
      if (!range) fill(ctx.reader.view().pages, false);
    }

    // Reads the dialog: the pages to print, or null (with a note) when they make no sense.
    function chosenPages() {
      if (fields.shown.checked) return ctx.reader.view().pages.slice().sort(function (a, b) { return a - b; });
      var from = ctx.labels.find(fields.from.value);
      var to = fields.to.value.trim() ? ctx.labels.find(fields.to.value) : from;
      if (from < 0 || to < 0) {
        fields.note.textContent = T.printBad;
        return null;
      }
      var out = [];
      for (var p = Math.min(from, to); p <= Math.max(from, to); p++) out.push(p);
      return out;
    }

    function printNow() {
      var pages = chosenPages();
      if (!pages) return;
      fields.note.textContent = T.printing;
      fields.go.disabled = true;
      range = true;
      fill(pages, true, function () {
        fields.go.disabled = false;
        fields.note.textContent = '';
        toggle(false);
        job = { inCall: true, beforeInCall: false, done: false };
        var mine = job;
        try { window.print(); } finally { mine.inCall = false; }
        if (mine.done && job === mine) endJob();
      });
    }

    // The range has been printed (or given up): the sheets follow the book again.
    function endJob() {
      job = null;
      range = false;
      showSpread();
    }

    function field(cls) {
      var input = make('input', 'fv-field fv-print-field ' + cls, { type: 'text', autocomplete: 'off', spellcheck: 'false' });
      input.addEventListener('input', function () { fields.pick.checked = true; });
      input.addEventListener('keydown', function (ev) {
        if (ev.key === 'Enter') { ev.preventDefault(); printNow(); }
      });
      return input;
    }

    function choice(value) {
      return make('input', 'fv-print-choice', { type: 'radio', name: 'fv-print-what', value: value });
    }

    function build() {
      dialog = make('div', 'fv-print-dialog', { role: 'dialog', 'aria-modal': 'true', 'aria-labelledby': 'fv-print-title' });
      var box = make('form', 'fv-print-box');
      var h = make('h2', 'fv-print-title', { id: 'fv-print-title' });
      h.textContent = T.printWhich;
      fields = {
        shown: choice('shown'), pick: choice('range'),
        from: field('fv-print-from'), to: field('fv-print-to'),
        note: make('p', 'fv-print-note', { 'aria-live': 'polite' }),
        go: make('button', 'fv-print-go', { type: 'submit' }),
        cancel: make('button', 'fv-print-cancel', { type: 'button' })
      };
      fields.from.setAttribute('aria-label', T.printPages);
      fields.to.setAttribute('aria-label', T.printTo);
      var shownRow = make('label', 'fv-print-row');
      shownRow.appendChild(fields.shown);
      shownRow.appendChild(document.createTextNode(' ' + T.printShown));
      var rangeRow = make('label', 'fv-print-row');
      rangeRow.appendChild(fields.pick);
      rangeRow.appendChild(document.createTextNode(' ' + T.printPages + ' '));
      rangeRow.appendChild(fields.from);
      rangeRow.appendChild(document.createTextNode(' ' + T.printTo + ' '));
      rangeRow.appendChild(fields.to);
      fields.go.textContent = T.print;
      fields.cancel.textContent = T.cancel;
      fields.cancel.addEventListener('click', function () { toggle(false); });
      var buttons = make('div', 'fv-print-buttons');
      buttons.appendChild(fields.cancel);
      buttons.appendChild(fields.go);
      box.appendChild(h);
      box.appendChild(shownRow);
      box.appendChild(rangeRow);
      box.appendChild(fields.note);
      box.appendChild(buttons);
      box.addEventListener('submit', function (ev) { ev.preventDefault(); printNow(); });
      dialog.appendChild(box);
      // Keys in the dialog are its own; Escape still closes it (keys.js).
      dialog.addEventListener('keydown', function (ev) { if (ev.key !== 'Escape') ev.stopPropagation(); });
      dialog.addEventListener('click', function (ev) { if (ev.target === dialog) toggle(false); });
      ctx.root.appendChild(dialog);
    }

    function toggle(want) {
      if (!dialog) build();
      open = want === undefined ? !open : want;
      dialog.classList.toggle('fv-open', open);
      if (open) {
        ctx.panels.opened(self);
        var v = ctx.reader.view().pages;
        fields.shown.checked = true;
        fields.from.value = v.length ? ctx.labels.labelOf(Math.min.apply(null, v)) : '';
        fields.to.value = v.length ? ctx.labels.labelOf(Math.max.apply(null, v)) : '';
        fields.note.textContent = '';
        fields.shown.focus();
      } else {
        ctx.panels.closed(self);
        if (ctx.toolbar.buttons.print) ctx.toolbar.buttons.print.focus();
      }
    }

    window.addEventListener('beforeprint', function () { if (job) job.beforeInCall = job.inCall; });
    // The print that ends the job is the one within window.print(), or else the next.
    window.addEventListener('afterprint', function () {
      if (!job || (!job.inCall && job.beforeInCall)) return;
      job.done = true;
      if (!job.inCall) endJob();
    });
    // A reader who turns on has printed, or given up (a web view that never prints).
    ctx.bus.on('turnstart', function () { if (range) endJob(); });
    ctx.bus.on('spreadchange', showSpread);
    ctx.bus.on('print', function () { toggle(); });
    return { toggle: toggle };
  }

  F.createPrint = createPrint;
})(window.Folivox);
