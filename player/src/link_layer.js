/* Folivox player: a page's link areas, placed by their fractions of the page. Web
 * links open in a new tab; page links turn the book. A press on a link never starts
 * a page turn. Once the page's words are there, a link is named by the words it
 * covers, as a reader sees it, with its target after them. */
(function (F) {
  'use strict';

  // The words whose middle lies in a link's area, in reading order, joined by
  // spaces; '' when it covers none. Pure: words as text_data.js reads them.
  function wordsUnder(words, l) {
    var out = [];
    for (var i = 0; i < words.length; i++) {
      var w = words[i];
      if (!w || !w.t) continue;
      var cx = w.x + w.w / 2, cy = w.y + w.h / 2;
      if (cx >= l.x && cx <= l.x + l.w && cy >= l.y && cy <= l.y + l.h) out.push(w.t);
    }
    return out.join(' ');
  }

  // ctx: { book, texts, labels, reader, stage, pageView, text }
  function createLinkLayer(ctx) {
    var T = ctx.texts;

    // The focus follows to the page the link opens instead of falling to the document.
    function onPageLink(ev) {
      ev.preventDefault();
      var p = parseInt(this.getAttribute('data-page'), 10);
      ctx.stage.focusPage(p);
      ctx.reader.goTo(p);
    }

    function stopPress(ev) { ev.stopPropagation(); }

    function build(p) {
      var links = ctx.book.linksOf(p);
      if (!links || !links.length) return null;
      var layer = F.dom.make('div', 'fv-links');
      for (var i = 0; i < links.length; i++) {
        var l = links[i];
        var a = F.dom.make('a', 'fv-link');
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
          a.title = T.toPage + ' ' + ctx.labels.labelOf(l.page);
          a.setAttribute('aria-label', a.title);
          a.setAttribute('data-page', String(l.page));
          a.addEventListener('click', onPageLink);
        }
        a.addEventListener('pointerdown', stopPress);
        layer.appendChild(a);
      }
      if (ctx.text) ctx.text.words(p).then(function (words) { if (words) nameByWords(layer, links, words); });
      return layer;
    }

    function nameByWords(layer, links, words) {
      var areas = layer.children;
      for (var i = 0; i < links.length && i < areas.length; i++) {
        var text = wordsUnder(words, links[i]);
        if (text) areas[i].setAttribute('aria-label', text + ' \u2013 ' + areas[i].getAttribute('aria-label'));
      }
    }

    ctx.pageView.addLayer('links', build);
    return { build: build };
  }

  F.createLinkLayer = createLinkLayer;
})(window.Folivox);
