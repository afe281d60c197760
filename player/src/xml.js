/* Folivox player: a strict XML reader for book.xml that builds no browser document.
 * A big book's book.xml holds thousands of pages, link areas and contents entries;
 * the browser's DOMParser spent most of the opening time building nodes nobody
 * touched again. This reader makes small plain elements with just what model.js
 * reads (nodeType, nodeName, localName, childNodes, getAttribute, textContent), and
 * elements the caller names as lazy keep only their attributes: their content is
 * checked now and read into elements when first asked for (a page's link areas when
 * the page is shown).
 * It is as strict as a browser's XML parser: the whole document must be well-formed
 * (one root, matching tags, quoted and unique attributes, only the five named
 * entities and character references, CDATA, comments and processing instructions in
 * their places) or it is refused with its line, never half read. Two things a browser
 * takes are refused too: entities declared in the document, and surrogates out of
 * their pairs. White space between elements is left out; text in an element without
 * child elements is kept as it is. */
(function (F) {
  'use strict';

  var MAX_DEPTH = 512;
  var NAMED = { lt: '<', gt: '>', amp: '&', quot: '"', apos: "'" };
  // Characters XML 1.0 does not allow anywhere, and surrogates that are not in pairs.
  var BAD_CHAR = /[\u0000-\u0008\u000b\u000c\u000e-\u001f\ufffe\uffff]|[\ud800-\udbff](?![\udc00-\udfff])|(?:^|[^\ud800-\udbff])[\udc00-\udfff]/;
  var DECLARATION = /^\s+version\s*=\s*(["'])1\.[0-9]+\1(?:\s+encoding\s*=\s*(["'])[A-Za-z][A-Za-z0-9._-]*\2)?(?:\s+standalone\s*=\s*(["'])(?:yes|no)\3)?\s*$/;
  var NO_KIDS = [];

  function localName(name) {
    var colon = name.indexOf(':');
    return colon < 0 ? name : name.slice(colon + 1);
  }

  // attrs: [name, value, name, value, ...]
  function Element(name, attrs) {
    this.nodeName = name;
    this.localName = localName(name);
    this.attrs = attrs;
    this.childNodes = [];
  }
  Element.prototype.nodeType = 1;
  Element.prototype.getAttribute = function (key) {
    var a = this.attrs;
    for (var i = 0; i < a.length; i += 2) if (a[i] === key) return a[i + 1];
    return null;
  };
  Object.defineProperty(Element.prototype, 'textContent', {
    get: function () {
      var kids = this.childNodes;
      if (kids.length === 1 && kids[0].nodeType === 3) return kids[0].textContent;
      // Depth-first without recursion: the nesting is bounded, but not small.
      var out = '';
      var stack = [[kids, 0]];
      while (stack.length) {
        var top = stack[stack.length - 1];
        if (top[1] >= top[0].length) { stack.pop(); continue; }
        var node = top[0][top[1]++];
        if (node.nodeType === 3) out += node.textContent;
        else stack.push([node.childNodes, 0]);
      }
      return out;
    }
  });

  // An element whose content was checked but is read only when first asked for.
  function LazyElement(name, attrs, source, from) {
    this.nodeName = name;
    this.localName = localName(name);
    this.attrs = attrs;
    this.source = source;
    this.from = from;
    this.to = from;
    this.kids = null;
  }
  LazyElement.prototype = Object.create(Element.prototype);
  Object.defineProperty(LazyElement.prototype, 'childNodes', {
    get: function () {
      if (!this.kids) {
        this.kids = this.to > this.from
          ? readXml('<x>' + this.source.slice(this.from, this.to) + '</x>').childNodes : NO_KIDS;
        this.source = null;
      }
      return this.kids;
    }
  });

  function Text(text) { this.textContent = text; }
  Text.prototype.nodeType = 3;
  Text.prototype.nodeName = '#text';
  Text.prototype.childNodes = NO_KIDS;

  function isSpace(c) { return c === 32 || c === 10 || c === 9 || c === 13; }

  function allowedCodePoint(cp) {
    return cp === 9 || cp === 10 || cp === 13 || (cp >= 0x20 && cp <= 0xd7ff) ||
      (cp >= 0xe000 && cp <= 0xfffd) || (cp >= 0x10000 && cp <= 0x10ffff);
  }

  // Tags are matched by the regular expression engine, which reads a big document far
  // faster than a loop over its characters in script. Line ends are "\n" by then.
  var NAME = '[A-Za-z_:\\u00c0-\\ufffd][\\-.0-9A-Za-z_:\\u00b7\\u00c0-\\ufffd]*';
  // White space, then a start tag (name, attributes, "/") or an end tag (name).
  var TAG = new RegExp('([ \\t\\n]*)<(?:(' + NAME + ')((?:[ \\t\\n]+' + NAME + '[ \\t\\n]*=[ \\t\\n]*(?:"[^<"]*"|\'[^<\']*\'))*)' +
    '[ \\t\\n]*(\\/?)>|\\/(' + NAME + ')[ \\t\\n]*>)', 'y');
  var ATTR = new RegExp('(' + NAME + ')[ \\t\\n]*=[ \\t\\n]*(?:"([^"]*)"|\'([^\']*)\')', 'g');

  // Replaces the references in a text; throws (through fail) on one XML does not know.
  function decode(raw, fail) {
    var amp = raw.indexOf('&');
    if (amp < 0) return raw;
    var out = '';
    var from = 0;
    while (amp >= 0) {
      var semi = raw.indexOf(';', amp);
      if (semi < 0) fail('"&" starts no reference');
      var ref = raw.slice(amp + 1, semi);
      var ch;
      if (ref.charAt(0) === '#') {
        var cp = /^#[0-9]{1,7}$/.test(ref) ? parseInt(ref.slice(1), 10)
          : /^#x[0-9a-fA-F]{1,6}$/.test(ref) ? parseInt(ref.slice(2), 16) : -1;
        if (!allowedCodePoint(cp)) fail('"&' + ref.slice(0, 12) + ';" is not a character XML allows');
        ch = String.fromCodePoint(cp);
      } else if (Object.prototype.hasOwnProperty.call(NAMED, ref)) {
        ch = NAMED[ref];
      } else {
        fail('the entity "&' + ref.slice(0, 20) + ';" is not defined');
      }
      out += raw.slice(from, amp) + ch;
      from = semi + 1;
      amp = raw.indexOf('&', from);
    }
    return out + raw.slice(from);
  }

  // The text of a document -> its root element; throws when it is not well-formed.
  // lazy: element names whose content is read when first asked for, each with true or
  // with a sticky expression that matches only well-formed content of the shape such
  // elements usually have ({ pageAnnos: LINK_AREAS }).
  function readXml(input, lazy) {
    var s = String(input == null ? '' : input);
    if (s.charCodeAt(0) === 0xfeff) s = s.slice(1);
    if (s.indexOf('\r') >= 0) s = s.replace(/\r\n?/g, '\n');
    var n = s.length;
    var pos = 0;
    var root = null, closed = false, doctype = false;
    var stack = [];       // open elements being built
    var held = null;      // the open lazy element, whose content is only checked
    var heldNames = [];   // names of the elements open inside it

    function failAt(at) {
      return function (why) {
        var line = 1;
        for (var i = s.indexOf('\n'); i >= 0 && i < at; i = s.indexOf('\n', i + 1)) line++;
        throw new Error('book.xml is not well-formed: ' + why.replace(/[\u0000-\u001f]/g, ' ') + ' (line ' + line + ')');
      };
    }
    function fail(why, at) { failAt(at)(why); }

    function depth() { return stack.length + (held ? 1 + heldNames.length : 0); }

    function addText(text) {
      var kids = stack[stack.length - 1].childNodes;
      var last = kids[kids.length - 1];
      if (last && last.nodeType === 3) last.textContent += text;
      else kids.push(new Text(text));
    }

    // Text up to the next "<" (or the end).
    function text() {
      var lt = s.indexOf('<', pos);
      if (lt < 0) lt = n;
      var raw = s.slice(pos, lt);
      var blank = !/[^ \t\n]/.test(raw);
      if (!depth()) {
        if (!blank) fail(root ? 'text after the root element' : 'text before the root element', pos);
      } else {
        var bad = raw.indexOf(']]>');
        if (bad >= 0) fail('"]]>" in text', pos + bad);
        var value = decode(raw, failAt(pos));
        // White space beside a child element is layout, not content.
        var kids = held ? null : stack[stack.length - 1].childNodes;
        if (kids && (!blank || !(kids.length && kids[kids.length - 1].nodeType === 1))) addText(value);
      }
      pos = lt;
    }

    // Attributes of a start tag, checked; their values when `keep`.
    function attributes(list, at, keep) {
      if (list.indexOf('=') === list.lastIndexOf('=') && list.indexOf('&') < 0 && !keep) return null;
      var out = [];
      ATTR.lastIndex = 0;
      for (var m = ATTR.exec(list); m; m = ATTR.exec(list)) {
        for (var k = 0; k < out.length; k += 2) if (out[k] === m[1]) fail('attribute ' + m[1] + ' given twice', at);
        var value = decode(m[2] !== undefined ? m[2] : m[3], failAt(at));
        // Line ends and tabs in a value read as spaces, as in every XML parser.
        if (/[\n\t]/.test(value)) value = value.replace(/[\n\t]/g, ' ');
        out.push(m[1], value);
      }
      return out;
    }

    function tag(m) {
      var at = pos + m[1].length;
      var name = m[2];
      if (name === undefined) {
        // An end tag.
        name = m[5];
        var open;
        if (held && heldNames.length) open = heldNames.pop();
        else if (held) {
          open = held.nodeName;
          held.to = at;
          held = null;
        } else {
          var el = stack.pop();
          if (!el) fail('</' + name + '> closes nothing', at);
          open = el.nodeName;
          // White space alone in an element is its text.
          if (m[1] && !el.childNodes.length) el.childNodes.push(new Text(m[1]));
        }
        if (open !== name) fail('</' + name + '> closes <' + open + '>', at);
        if (!depth()) closed = true;
        return;
      }
      if (closed) fail('a second root element <' + name + '>', at);
      if (depth() >= MAX_DEPTH) fail('elements nested too deeply', at);
      var empty = m[4] === '/';
      if (held) {
        attributes(m[3], at, false);
        if (!empty) heldNames.push(name);
        return;
      }
      var attrs = m[3] ? attributes(m[3], at, true) : NO_KIDS;
      var shape = lazy && !empty && Object.prototype.hasOwnProperty.call(lazy, name) ? lazy[name] : null;
      var made = shape ? new LazyElement(name, attrs, s, TAG.lastIndex) : new Element(name, attrs);
      if (stack.length) stack[stack.length - 1].childNodes.push(made);
      else root = made;
      if (shape) {
        held = made;
        skipKnownShape(shape);
      } else if (!empty) {
        stack.push(made);
      } else if (!stack.length) {
        closed = true;
      }
    }

    // Content of the held element in the shape its writer always gives it needs no
    // tag-by-tag reading: one match says it is well-formed, and reading goes on at its
    // end tag. Anything else is read tag by tag.
    function skipKnownShape(shape) {
      if (!(shape instanceof RegExp)) return;
      var from = TAG.lastIndex;
      var close = s.indexOf('</' + held.nodeName, from);
      if (close < 0) return;
      shape.lastIndex = from;
      if (shape.exec(s) && shape.lastIndex === close) TAG.lastIndex = close;
    }

    // Markup that is not a tag, or a tag the expression refused.
    function other() {
      if (s.startsWith('<!--', pos)) {
        var end = s.indexOf('--', pos + 4);
        if (end < 0) fail('a comment is not closed', pos);
        if (s.charCodeAt(end + 2) !== 62) fail('"--" inside a comment', end);
        pos = end + 3;
      } else if (s.startsWith('<![CDATA[', pos)) {
        if (!depth()) fail('CDATA outside the root element', pos);
        var close = s.indexOf(']]>', pos + 9);
        if (close < 0) fail('a CDATA section is not closed', pos);
        if (!held) addText(s.slice(pos + 9, close));
        pos = close + 3;
      } else if (s.startsWith('<!DOCTYPE', pos)) {
        if (doctype || root) fail('a document type declaration out of place', pos);
        doctype = true;
        var gt = s.indexOf('>', pos);
        if (gt < 0) fail('the document type declaration is not closed', pos);
        var body = s.slice(pos + 9, gt);
        if (!/^\s+[A-Za-z_:]/.test(body)) fail('the document type declaration names no root', pos);
        if (body.indexOf('[') >= 0) fail('the document type declaration declares its own entities', pos);
        pos = gt + 1;
      } else if (s.startsWith('<?', pos)) {
        var pi = /^<\?([A-Za-z_:][-.0-9A-Za-z_:]*)(?:[ \t\n][\s\S]*?)?\?>/.exec(s.slice(pos, s.indexOf('?>', pos) + 2));
        if (!pi) fail('a processing instruction is malformed', pos);
        if (pi[1].toLowerCase() === 'xml') fail('an XML declaration that is not at the start', pos);
        pos += pi[0].length;
      } else {
        fail(s.startsWith('</', pos) ? 'a malformed end tag' : 'a malformed start tag', pos);
      }
    }

    if (s.lastIndexOf('<?xml', 0) === 0 && (isSpace(s.charCodeAt(5)) || s.charCodeAt(5) === 63)) {
      var declEnd = s.indexOf('?>');
      if (declEnd < 0 || !DECLARATION.test(s.slice(5, declEnd))) fail('the XML declaration is malformed', 0);
      pos = declEnd + 2;
    }
    var badChar = BAD_CHAR.exec(s);
    if (badChar) fail('a character XML does not allow', badChar.index);

    while (pos < n) {
      TAG.lastIndex = pos;
      var m = TAG.exec(s);
      if (m) {
        tag(m);
        pos = TAG.lastIndex;
      } else if (s.charCodeAt(pos) !== 60) {
        text();
      } else {
        other();
      }
    }
    if (depth()) fail('<' + (held ? held.nodeName : stack[stack.length - 1].nodeName) + '> is not closed', n);
    if (!root) fail('there is no root element', n);
    return root;
  }

  F.readXml = readXml;
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
