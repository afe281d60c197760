/* Folivox player: a page's words set anew as text for the reading view, free of the
 * DOM: headings, paragraphs and list items from the page's blocks, lines and font
 * sizes (text_data.js blocks), in reading order, with words cut at a line end joined.
 * Books without font sizes give paragraphs and lists only. */
(function (F) {
  'use strict';

  var TD = typeof module === 'object' && module.exports ? require('./text_data.js').textData : null;

  var MARKER = /^([\u2022\u25e6\u25aa\u25cf\u2023\u2043\u2013\u2014*\u00b7-]|\(?(\d{1,3}|[a-zA-Z])[.)])$/;
  var HEADING = 1.18;   // a block this much larger than the body text is a heading ...
  var MAX_HEADING_WORDS = 24;   // ... when it is short

  // The font size most of the page's words are set in: the body text's.
  function bodySize(list) {
    var count = Object.create(null), best = 0, bestN = 0;
    for (var i = 0; i < list.length; i++) {
      var b = list[i];
      for (var l = 0; l < b.lines.length; l++) {
        for (var k = 0; k < b.lines[l].length; k++) {
          var s = b.lines[l][k].s;
          if (!s) continue;
          var n = count[s] = (count[s] || 0) + 1;
          if (n > bestN) { best = s; bestN = n; }
        }
      }
    }
    return best;
  }

  // Words into running text: a word cut at a line end goes on in the next one,
  // without the hyphen it was cut at.
  function join(words) {
    var out = '';
    for (var i = 0; i < words.length; i++) {
      var t = words[i].t;
      if (words[i].f & 4 && i + 1 < words.length) out += t.replace(/[-\u00ad\u2010]$/, '');
      else out += t + (i + 1 < words.length ? ' ' : '');
    }
    return out;
  }

  // words: text_data.js readWords' answer. Returns [{ k, t }] in reading order, k
  // being 'h2', 'h3', 'p' or 'li' (a list item; its marker left out, kept in m).
  function structure(words) {
    var list = (TD || F.textData).blocks(words || []);
    var body = bodySize(list);
    var out = [];
    for (var i = 0; i < list.length; i++) {
      var b = list[i];
      var all = [].concat.apply([], b.lines);
      if (!all.length) continue;
      if (body && b.size >= body * HEADING && all.length <= MAX_HEADING_WORDS) {
        out.push({ k: b.size >= body * 1.6 ? 'h2' : 'h3', t: join(all) });
        continue;
      }
      // A block whose lines start with markers is a list: each marked line starts an
      // item, the lines after it go on in that item.
      var item = null, para = [];
      for (var l = 0; l < b.lines.length; l++) {
        var line = b.lines[l];
        if (MARKER.test(line[0].t) && line.length > 1) {
          if (para.length) { out.push({ k: 'p', t: join(para) }); para = []; }
          item = { k: 'li', m: line[0].t, w: line.slice(1) };
          out.push(item);
        } else if (item) {
          item.w = item.w.concat(line);
        } else {
          para = para.concat(line);
        }
      }
      if (para.length) out.push({ k: 'p', t: join(para) });
    }
    for (var j = 0; j < out.length; j++) {
      if (out[j].w) { out[j].t = join(out[j].w); delete out[j].w; }
    }
    return out;
  }

  F.reflow = { structure: structure, join: join };
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
