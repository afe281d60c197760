/* Folivox player: the reader in the page. Opens the book (loader.js), then makes the
 * parts from the template settings and wires them through one ctx object:
 *   root, book, opts, texts, reduced   the page element, the model, the settings
 *   bus, reader, panels                events.js, reader.js, the panel stack (keys.js)
 *   labels, photos                     printed page labels (labels.js), which pages are
 *                                      photographs (pictures.js); both from files/pages.js
 *   reading                            the reading view (reading.js)
 *   stage, pageView, leaf, toolbar     the parts others call
 *   text, textLayer, finder, findBar   the book's words (text_data.js) and the parts on them
 * Parts talk through the bus and the reader, so each owns its own elements and state.
 * Globals for tests and benchmarks: window.folivoxState ('loading', 'ready',
 * 'error'), window.folivoxError, window.folivoxReadyTime, window.folivoxPlayer. */
(function (F) {
  'use strict';

  var root;
  var texts;   // the book's interface texts once its settings are read

  window.folivoxState = 'loading';

  function showMessage(title, detail) {
    var box = root.querySelector('.fv-message');
    if (!box) {
      box = F.dom.make('div', 'fv-message', { role: 'status', 'aria-live': 'polite' });
      root.appendChild(box);
    }
    box.textContent = '';
    var p = F.dom.make('p', 'fv-message-title');
    p.textContent = title;
    box.appendChild(p);
    if (detail) {
      var d = F.dom.make('p', 'fv-message-detail');
      d.textContent = detail;
      box.appendChild(d);
    }
    box.hidden = false;
  }

  function browserTexts() { return F.textsFor(F.languageCode('', navigator.language)); }

  function fail(err) {
    var t = texts || browserTexts();
    root.setAttribute('data-state', 'error');
    showMessage(t.failed, t[F.loader.problem(err)]);
    window.folivoxState = 'error';
    window.folivoxError = String(err && err.message ? err.message : err);
    if (window.console) console.error('Folivox: ' + window.folivoxError);
  }

  function applyLook(opts, reduced) {
    root.setAttribute('data-skin', opts.skin);
    root.setAttribute('dir', 'ltr');
    root.classList.toggle('fv-rtl', opts.rightToLeft);
    root.classList.toggle('fv-reduced', reduced);
    document.documentElement.setAttribute('lang', opts.lang);
    var s = root.style;
    if (opts.bgColor) s.setProperty('--fv-bg', opts.bgColor);
    if (opts.bgImage) s.setProperty('--fv-bg-image', F.dom.cssUrl(opts.bgImage));
    if (opts.toolbarColor) s.setProperty('--fv-bar', opts.toolbarColor);
    if (opts.toolbarTextColor) s.setProperty('--fv-bar-text', opts.toolbarTextColor);
    if (opts.accentColor) s.setProperty('--fv-accent', opts.accentColor);
    s.setProperty('--fv-flip-ms', opts.flipMs + 'ms');
  }

  // facts: the payload of files/pages.js, or null.
  function init(book, facts, reduced) {
    var opts = F.readOptions(book.settings, navigator.language);
    var n = book.pages.length;
    texts = opts.texts;
    var msg = root.querySelector('.fv-message');
    if (msg) msg.hidden = true;
    var bus = F.createBus();
    var reader = F.createReader({
      pages: book.pages, rightToLeft: opts.rightToLeft, hardCover: opts.hardCover,
      startPage: F.pageFromHash(location.hash, book.pages.length), bus: bus
    });
    var ctx = {
      root: root, book: book, opts: opts, texts: texts, reduced: reduced,
      bus: bus, reader: reader, panels: F.keys.createPanels(),
      labels: F.labels.createLabels(F.labels.cleanLabels(facts, n), n),
      photos: F.pictures.photos(facts, n)
    };
    bus.on('ready', function () {
      root.setAttribute('data-state', 'ready');
      window.folivoxReadyTime = performance.now();
      window.folivoxState = 'ready';
    });
    applyLook(opts, reduced);
    // The order of making is the order in the document and on the bus.
    ctx.stage = F.createStage(ctx);
    ctx.pageView = F.createPageView(ctx);
    ctx.text = F.textData.createSource({ pages: book.pages, load: F.dataScripts.load });
    ctx.textLayer = F.createTextLayer(ctx);
    F.createHighlight(ctx);
    F.createLinkLayer(ctx);
    ctx.leaf = F.createLeaf(ctx);
    F.createPointer(ctx);
    ctx.toolbar = F.createToolbar(ctx);
    F.createDeepLink(ctx);
    ctx.finder = F.find.createFinder({ reader: reader, bus: bus, index: ctx.text.searchIndex });
    ctx.findBar = F.createFindBar(ctx);
    F.createSound(ctx);
    if (ctx.toolbar.buttons.thumbnails) F.createThumbnails(ctx);
    if (ctx.toolbar.buttons.contents) F.createContents(ctx);
    F.createPrint(ctx);
    F.keys.listen(ctx);
    F.createApi(ctx);
    ctx.reading = F.createReading(ctx);
    F.createNight(ctx);
    F.createReadAloud(ctx);
    F.createShare(ctx);
    F.createHostEvents(ctx);
    bus.on('ready', function () { ctx.text.probe(); });
    window.folivoxPlayer = {
      pageCount: reader.pageCount,
      page: reader.anchor,
      pagesInView: function () { return reader.view().pages.slice(); },
      singlePage: reader.single,
      goTo: function (p) { reader.goTo(p); },
      next: function () { reader.step(1); },
      previous: function () { reader.step(-1); },
      // The printed label of a book position (counted from 0), or its number from 1.
      labelOf: ctx.labels.labelOf,
      model: book,
      options: opts
    };
    ctx.stage.start();
  }

  function start() {
    root = document.getElementById('folivox');
    if (!root) return;
    var reduced = !!(window.matchMedia && window.matchMedia('(prefers-reduced-motion: reduce)').matches);
    showMessage(browserTexts().loading);
    // The page facts load beside the book; a book without them plays as before.
    var facts = F.dataScripts.load('files/pages.js', 'pages', 0);
    Promise.all([F.loader.openBook(), facts])
      .then(function (both) { init(both[0], both[1], reduced); })
      .catch(fail);
  }

  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();
})(window.Folivox);
