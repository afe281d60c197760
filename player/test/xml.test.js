'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { readXml } = require('../src/xml.js');
const M = require('../src/model.js');

const kids = (el) => el.childNodes.filter((c) => c.nodeType === 1);

test('references, CDATA, comments and instructions read as a browser reads them', () => {
  const root = readXml('\ufeff<?xml version="1.0" encoding="UTF-8"?>\r\n<!DOCTYPE flipbook SYSTEM "book.dtd">\n' +
    '<!-- made by hand --><?folivox hint?>\n<flipbook b=\'2\' a = "1 &amp; &lt;3&gt; &quot;x&quot; &apos;y&apos;" c="tab\there\r\nline">' +
    '<item name="t">Caf&#233; &#x20AC;&#x1F4D6; <![CDATA[<b>&amp;</b>]]> end</item><!-- a - b --><empty/>' +
    '<ns:item ns:name="n">x</ns:item>\r\n</flipbook>\n<!-- after -->\n');
  assert.strictEqual(root.nodeName, 'flipbook');
  // Attributes in any order and quoting; line ends and tabs in values read as spaces.
  assert.deepStrictEqual(['a', 'b', 'c', 'd'].map((k) => root.getAttribute(k)),
    ['1 & <3> "x" \'y\'', '2', 'tab here line', null]);
  const [item, empty, ns] = kids(root);
  assert.strictEqual(item.textContent, 'Caf\u00e9 \u20ac\ud83d\udcd6 <b>&amp;</b> end');
  assert.deepStrictEqual([empty.nodeName, empty.childNodes.length], ['empty', 0]);
  assert.deepStrictEqual([ns.nodeName, ns.localName, ns.getAttribute('ns:name')], ['ns:item', 'item', 'n']);
  assert.strictEqual(root.textContent, item.textContent + 'x', 'white space between elements is left out');
  assert.strictEqual(item.getAttribute('__proto__'), null);
});

test('documents that are not well-formed are refused with their line', () => {
  const bad = {
    'no root': '  <!-- nothing -->  ',
    'unclosed root': '<flipbook><pages></pages>',
    'mismatched tags': '<flipbook><pages></page></flipbook>',
    'stray end tag': '<flipbook></flipbook></pages>',
    'two roots': '<flipbook/><flipbook/>',
    'text after the root': '<flipbook/>x',
    'text before the root': 'x<flipbook/>',
    'undefined entity': '<flipbook>&nbsp;</flipbook>',
    'bare ampersand': '<flipbook>fish & chips</flipbook>',
    'reference without a semicolon': '<flipbook>&amp</flipbook>',
    'reference to NUL': '<flipbook>&#0;</flipbook>',
    'reference to a surrogate': '<flipbook>&#xD800;</flipbook>',
    'reference beyond Unicode': '<flipbook>&#x110000;</flipbook>',
    'control character': '<flipbook>\u0001</flipbook>',
    'lone surrogate': '<flipbook>\ud800</flipbook>',
    'attribute twice': '<flipbook a="1" a="2"/>',
    'unquoted attribute': '<flipbook a=1/>',
    'attribute without value': '<flipbook a/>',
    'attributes run together': '<flipbook a="1"b="2"/>',
    '"<" in an attribute': '<flipbook a="<"/>',
    'entity in an attribute': '<flipbook a="&foo;"/>',
    '"--" in a comment': '<flipbook><!-- a -- b --></flipbook>',
    'unclosed comment': '<flipbook><!-- </flipbook>',
    'CDATA outside the root': '<![CDATA[x]]><flipbook/>',
    'unclosed CDATA': '<flipbook><![CDATA[x</flipbook>',
    '"]]>" in text': '<flipbook>a]]>b</flipbook>',
    'declaration not at the start': ' <?xml version="1.0"?><flipbook/>',
    'malformed declaration': '<?xml version="2"?><flipbook/>',
    'entities declared in the document': '<!DOCTYPE flipbook [<!ENTITY a "aaaaaaaaaa">]><flipbook>&a;</flipbook>',
    'document type after the root': '<flipbook/><!DOCTYPE flipbook>',
    'unknown markup': '<flipbook><!ELEMENT x ANY></flipbook>',
    'tag without a name': '<flipbook>< pages/></flipbook>',
    'unclosed start tag': '<flipbook><pages',
    'empty document': ''
  };
  for (const [what, xml] of Object.entries(bad)) {
    assert.throws(() => readXml(xml), /^Error: book\.xml is not well-formed: .* \(line \d+\)$/, what);
  }
  assert.throws(() => readXml('<flipbook>\n\n<pages>\n</flipbook>'), /closes <pages> \(line 4\)/);
});

test('nesting is bounded without recursion', () => {
  const deep = (n) => '<a>'.repeat(n) + '</a>'.repeat(n);
  let el = readXml(deep(500));
  let depth = 0;
  for (; el; el = kids(el)[0]) depth++;
  assert.strictEqual(depth, 500);
  assert.throws(() => readXml(deep(100000)), /nested too deeply/);
});

test('a damaged book.xml is refused as a whole, not half read', () => {
  const good = '<flipbook><extConfig><item name="bookTitle">T</item></extConfig><pages>' +
    '<page><normalUrl>./files/page/1.jpg</normalUrl></page><page><normalUrl>./files/page/2.jpg</normalUrl></page>' +
    '</pages></flipbook>';
  assert.strictEqual(M.parseBookXml(good).pages.length, 2);
  // Damage after every page was read still refuses the book.
  assert.throws(() => M.parseBookXml(good.replace('</flipbook>', '<ols></flipbook>')), /not well-formed/);
  assert.throws(() => M.parseBookXml(good + '<x/>'), /second root/);
});
