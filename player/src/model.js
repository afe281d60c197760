/* Folivox player: the book model read from book.xml.
 * Works on any element-like tree (nodeType, nodeName, childNodes, getAttribute,
 * textContent): xml.js makes one without building a browser document.
 * Everything here is untrusted input: numbers are checked, nesting is bounded and
 * targets outside the book are dropped. */
(function (F) {
  'use strict';

  // In node the XML reader lives in its own module; in the page they share F.
  var X = typeof module === 'object' && module.exports ? require('./xml.js') : F;

  var MAX_PAGES = 100000;
  var MAX_TOC_DEPTH = 32;
  var MAX_TOC_ENTRIES = 20000;
  var MAX_LINKS_PER_PAGE = 1000;

  var ACTION_URL = 'com.velmora.flipbook.pageeditor.TAnnoActionOpenURL';
  var ACTION_PAGE = 'com.velmora.flipbook.pageeditor.TAnnoActionGotoPage';

  function name(el) { return el.localName || el.nodeName; }

  function children(el, wanted) {
    var out = [];
    var list = el && el.childNodes ? el.childNodes : [];
    for (var i = 0; i < list.length; i++) {
      var c = list[i];
      if (c.nodeType === 1 && (!wanted || name(c) === wanted)) out.push(c);
    }
    return out;
  }

  function child(el, wanted) {
    var list = el && el.childNodes ? el.childNodes : [];
    for (var i = 0; i < list.length; i++) {
      if (list[i].nodeType === 1 && name(list[i]) === wanted) return list[i];
    }
    return null;
  }

  function text(el) { return el ? String(el.textContent || '') : ''; }
  function trimmed(el) { return text(el).trim(); }

  function intOf(s) {
    var t = String(s == null ? '' : s).trim();
    if (!/^[+-]?\d+$/.test(t)) return NaN;
    return parseInt(t, 10);
  }

  // The page number N of a URL ending in .../N.ext, or -1 when it has none.
  function pageNumberFromUrl(url) {
    var path = String(url || '').split(/[?#]/)[0];
    var m = /(?:^|[/\\])(\d{1,9})\.[A-Za-z0-9]+$/.exec(path);
    return m ? parseInt(m[1], 10) : -1;
  }

  // Map from the PDF page number to the first book position showing it.
  function pageNumberMap(pages) {
    var map = Object.create(null);
    for (var i = 0; i < pages.length; i++) {
      var n = pages[i].number;
      if (n >= 0 && !(n in map)) map[n] = i;
    }
    return map;
  }

  function positionOfNumber(map, number) {
    var n = typeof number === 'number' ? number : intOf(number);
    if (!isFinite(n)) return -1;
    return n in map ? map[n] : -1;
  }

  // Only web and mail addresses become links; everything else (javascript:, file:,
  // data:, relative paths) is refused.
  function safeWebUrl(raw, allowMail) {
    var s = String(raw == null ? '' : raw).trim();
    if (!s || /[\u0000-\u001f\u007f]/.test(s)) return null;
    var m = /^([a-zA-Z][a-zA-Z0-9+.-]*):/.exec(s);
    if (!m) return null;
    var scheme = m[1].toLowerCase();
    if (scheme !== 'http' && scheme !== 'https' && !(allowMail && scheme === 'mailto')) return null;
    if (scheme !== 'mailto' && !/^[a-zA-Z]+:\/\/[^/\s]/.test(s)) return null;
    try {
      if (typeof URL === 'function') return new URL(s).href;
    } catch (e) {
      return null;
    }
    return s;
  }

  function fraction(v) {
    var s = String(v == null ? '' : v).trim();
    if (!/^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(s)) return NaN;
    return parseFloat(s);
  }

  // A link area from its location fractions (top-left origin), clipped to the page.
  // Degenerate or unreadable areas give null.
  function linkRect(x, y, w, h) {
    x = fraction(x); y = fraction(y); w = fraction(w); h = fraction(h);
    if (!isFinite(x) || !isFinite(y) || !isFinite(w) || !isFinite(h)) return null;
    if (w < 0) { x += w; w = -w; }
    if (h < 0) { y += h; h = -h; }
    var x0 = Math.max(0, x), y0 = Math.max(0, y);
    var x1 = Math.min(1, x + w), y1 = Math.min(1, y + h);
    if (x1 - x0 <= 0.0005 || y1 - y0 <= 0.0005) return null;
    return { x: x0, y: y0, w: x1 - x0, h: y1 - y0 };
  }

  // Page pictures must lie inside the book folder: a relative path without a scheme,
  // without "..", and with nothing that could break out of a CSS url("...").
  function safePageUrl(raw) {
    var v = String(raw || '').trim();
    if (!v || /[\u0000-\u001f\u007f"'()\\<>]/.test(v)) return '';
    if (/^[a-zA-Z][a-zA-Z0-9+.-]*:/.test(v) || v.charAt(0) === '/') return '';
    if (/(^|\/)\.\.(\/|$)/.test(v.split(/[?#]/)[0])) return '';
    return v;
  }

  function readPages(pagesEl) {
    var out = [];
    var list = children(pagesEl, 'page');
    for (var i = 0; i < list.length && out.length < MAX_PAGES; i++) {
      var p = list[i];
      // A page keeps its place even when its picture is refused: link areas count
      // pages by position.
      var given = trimmed(child(p, 'normalUrl'));
      var url = safePageUrl(given);
      out.push({
        url: url,
        large: safePageUrl(trimmed(child(p, 'largeUrl'))) || url,
        thumb: safePageUrl(trimmed(child(p, 'thumbUrl'))) || url,
        hard: String(p.getAttribute('isHardPage') || '').trim().toLowerCase() === 'true',
        number: pageNumberFromUrl(given)
      });
    }
    return out;
  }

  function readToc(olsEl, map) {
    var count = 0;
    function readList(parent, depth) {
      var out = [];
      if (depth > MAX_TOC_DEPTH) return out;
      var list = children(parent, 'o');
      for (var i = 0; i < list.length && count < MAX_TOC_ENTRIES; i++) {
        var o = list[i];
        count++;
        var entry = {
          title: text(child(o, 'c')).replace(/\s+/g, ' ').trim(),
          page: positionOfNumber(map, trimmed(child(o, 'p'))),
          level: depth,
          children: readList(child(o, 'ci'), depth + 1)
        };
        // An entry that leads nowhere is kept only as the heading of its children.
        if (entry.page < 0 && entry.children.length === 0) continue;
        if (!entry.title) entry.title = entry.page >= 0 ? String(entry.page + 1) : '\u2026';
        out.push(entry);
      }
      return out;
    }
    return olsEl ? readList(olsEl, 1) : [];
  }

  // The link areas of one page, from its pageAnnos elements in document order.
  function linksIn(list, map) {
    var links = [];
    for (var i = 0; i < list.length; i++) {
      var annos = children(list[i], 'anno');
      for (var a = 0; a < annos.length && links.length < MAX_LINKS_PER_PAGE; a++) {
        var action = child(annos[a], 'action');
        var loc = child(annos[a], 'location');
        if (!action || !loc) continue;
        var rect = linkRect(loc.getAttribute('x'), loc.getAttribute('y'),
          loc.getAttribute('width'), loc.getAttribute('height'));
        if (!rect) continue;
        var type = String(action.getAttribute('actionType') || '');
        var link = null;
        if (type === ACTION_URL) {
          var href = safeWebUrl(text(child(action, 'url')), true);
          if (href) link = { kind: 'url', href: href };
        } else if (type === ACTION_PAGE) {
          var target = positionOfNumber(map, trimmed(child(action, 'pageIndex')));
          if (target >= 0) link = { kind: 'page', page: target };
        }
        if (!link) continue;
        link.x = rect.x; link.y = rect.y; link.w = rect.w; link.h = rect.h;
        links.push(link);
      }
    }
    return links;
  }

  // A function from a book position to its link areas, read when first asked for:
  // a big book has thousands, and a reader sees a few pages.
  function readLinks(annosEl, pageCount, map) {
    var byPage = Object.create(null);
    var pagesList = children(annosEl, 'pageAnnos');
    for (var i = 0; i < pagesList.length; i++) {
      var pos = intOf(pagesList[i].getAttribute('pageIndex')) - 1;
      if (!(pos >= 0 && pos < pageCount)) continue;
      (byPage[pos] = byPage[pos] || []).push(pagesList[i]);
    }
    var read = Object.create(null);
    return function linksOf(p) {
      if (!(p >= 0 && p < pageCount)) return [];
      if (!read[p]) {
        read[p] = linksIn(byPage[p] || [], map);
        byPage[p] = null;
      }
      return read[p];
    };
  }

  // root: the flipbook element.
  function buildBookModel(root) {
    if (!root || name(root) !== 'flipbook') throw new Error('book.xml has no flipbook element');
    var settings = Object.create(null);
    var items = children(child(root, 'extConfig'), 'item');
    for (var i = 0; i < items.length; i++) {
      var key = items[i].getAttribute('name');
      if (key && !(key in settings)) settings[key] = text(items[i]);
    }
    var pages = readPages(child(root, 'pages'));
    var map = pageNumberMap(pages);
    return {
      settings: settings,
      pages: pages,
      toc: readToc(child(root, 'ols'), map),
      linksOf: readLinks(child(root, 'pagesAnnos'), pages.length, map)
    };
  }

  // The link areas of a page as the publisher writes them: it matches only
  // well-formed XML (fixed names and attributes, values without references, text
  // with only the named ones), so the reader can take it in one match (xml.js).
  var LINK_AREAS = (function () {
    var ws = '[ \\t\\n]*', sp = '[ \\t\\n]+';
    var value = '"[^"<&]*"';
    var text = '(?:[^<&\\]]|&(?:lt|gt|amp|quot|apos);|\\](?!\\]>))*';
    var anno = ws + '<anno' + sp + 'annotype=' + value + ws + '>' +
      ws + '<action' + sp + 'triggerEventType=' + value + sp + 'actionType=' + value + ws + '>' +
      ws + '(?:<url>' + text + '</url>|<pageIndex>' + text + '</pageIndex>)' + ws + '</action>' +
      ws + '<location' + sp + 'x=' + value + sp + 'y=' + value + sp + 'width=' + value + sp + 'height=' + value + ws + '/>' +
      ws + '</anno>';
    return new RegExp('(?:' + anno + ')*' + ws, 'y');
  })();

  // Text of book.xml -> model; throws when it is not well-formed. Link areas are
  // checked now and read per page when first asked for.
  function parseBookXml(xmlText) {
    return buildBookModel(X.readXml(xmlText, { pageAnnos: LINK_AREAS }));
  }

  F.pageNumberFromUrl = pageNumberFromUrl;
  F.safePageUrl = safePageUrl;
  F.pageNumberMap = pageNumberMap;
  F.safeWebUrl = safeWebUrl;
  F.linkRect = linkRect;
  F.buildBookModel = buildBookModel;
  F.parseBookXml = parseBookXml;
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
