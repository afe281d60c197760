/* Folivox player: a page's link areas, placed by their fractions of the page. Web
 * links open in a new tab; page links turn the book. A press on a link never starts
 * a page turn. */
(function (F) {
  'use strict';

  // ctx: { book, texts, labels, reader, stage, pageView }
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
      return layer;
    }

    ctx.pageView.addLayer('links', build);
    return { build: build };
  }

  F.createLinkLayer = createLinkLayer;
})(window.Folivox);
