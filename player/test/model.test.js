'use strict';
const test = require('node:test');
const assert = require('node:assert');
const M = require('../src/model.js');
const { bookXml } = require('../tools/make-test-book.js');
const { bookText } = require('../tools/fixtures.js');

const URL_ACTION = 'com.velmora.flipbook.pageeditor.TAnnoActionOpenURL';
const PAGE_ACTION = 'com.velmora.flipbook.pageeditor.TAnnoActionGotoPage';
const anno = (action, x, y, w, h) =>
  '<anno annotype="com.velmora.flipbook.pageeditor.TAnnoLink"><action triggerEventType="mouseDown" actionType="' +
  action[0] + '">' + action[1] + '</action><location x="' + x + '" y="' + y + '" width="' + w + '" height="' + h + '"/></anno>';
const web = (u) => [URL_ACTION, '<url>' + u + '</url>'];
const goto = (p) => [PAGE_ACTION, '<pageIndex>' + p + '</pageIndex>'];

test('page numbers come from page URLs', () => {
  assert.deepStrictEqual(['./files/page/7.jpg', './files/page/12.swf?x=1', './files/page/cover.jpg', './files/page/7', '']
    .map((u) => M.pageNumberFromUrl(u)), [7, 12, -1, -1, -1]);
});

test('book.xml from the publisher becomes settings, pages, contents and links', () => {
  // Pages 3..8 of a PDF, as a book published from a page range.
  const numbers = [3, 4, 5, 6, 7, 8];
  const xml = bookXml(numbers, [['bookTitle', 'A & B'], ['backgroundGroup', ''], ['bgColor', '0x112233']], true, true, 'jpg', true);
  const book = M.parseBookXml(xml);
  assert.strictEqual(book.settings.bookTitle, 'A & B');
  assert.strictEqual(book.settings.backgroundGroup, '');
  assert.deepStrictEqual(book.pages.map((p) => p.number), numbers);
  assert.deepStrictEqual(book.pages.map((p) => p.hard), [true, false, false, false, false, true]);
  assert.strictEqual(book.pages[2].url, './files/page/5.jpg');
  // Contents: PDF page numbers become book positions; the entry outside the book goes.
  const flat = [];
  const walk = (list) => list.forEach((e) => { flat.push([e.title, e.page, e.level]); walk(e.children); });
  walk(book.toc);
  assert.deepStrictEqual(flat, [
    ['Cover', 0, 1], ['Chapter 1: Getting started', 0, 1], ['Importing a PDF', 0, 2],
    ['Choosing a template', 1, 2], ['Chapter 2: Publishing', 2, 1], ['Back cover', 5, 1]]);
  // Links: the javascript: address is dropped, page links are mapped to positions.
  assert.deepStrictEqual(book.linksOf(0), []);
  assert.deepStrictEqual(book.linksOf(1).map((l) => l.href || l.page), ['https://example.org/folivox?a=1&b=2', 5]);
  assert.deepStrictEqual(book.linksOf(2).map((l) => l.href || l.page), [5, 'mailto:books@example.org']);
  const l = book.linksOf(1)[0];
  assert.deepStrictEqual([l.x, l.y, l.w, l.h].map((v) => +v.toFixed(6)), [0.1, 0.1, 0.35, 0.06]);
});

test('link areas: hostile addresses, unknown targets and bad geometry are dropped', () => {
  const bad = ['javascript:alert(1)', ' JaVaScRiPt:alert(1)', 'data:text/html,x', 'file:///etc/passwd', 'https:evil',
    '/relative/path'].map((u) => anno(web(u), 0.1, 0.1, 0.2, 0.2)).join('');
  const xml = bookText(['./files/page/1.jpg', './files/page/2.jpg'], '<pagesAnnos><pageAnnos pageIndex="1">' + bad +
    anno(web('http://ok.example/a b'), 0.1, 0.1, 0.2, 0.2) +
    anno(goto(9), 0.1, 0.1, 0.2, 0.2) +
    anno(goto('two'), 0.1, 0.1, 0.2, 0.2) +
    anno(goto(2), 'NaN', 0.1, 0.2, 0.2) +
    anno(goto(2), 0.5, 0.5, 0, 0.2) +
    anno(goto(2), 1.5, 0.5, 0.2, 0.2) +
    anno(goto(2), 0.9, -0.1, 0.3, 0.3) +
    anno(['com.example.Other', '<url>http://x.example/</url>'], 0.1, 0.1, 0.2, 0.2) +
    '</pageAnnos><pageAnnos pageIndex="0">' + anno(goto(1), 0, 0, 1, 1) +
    '</pageAnnos><pageAnnos pageIndex="3">' + anno(goto(1), 0, 0, 1, 1) +
    '</pageAnnos></pagesAnnos>');
  const book = M.parseBookXml(xml);
  const round = (l) => Object.assign({}, l, { x: +l.x.toFixed(6), y: +l.y.toFixed(6), w: +l.w.toFixed(6), h: +l.h.toFixed(6) });
  assert.deepStrictEqual(book.linksOf(0).map(round), [
    { kind: 'url', href: 'http://ok.example/a%20b', x: 0.1, y: 0.1, w: 0.2, h: 0.2 },
    // Clipped to the page: from (0.9, -0.1) 0.3 x 0.3 to (0.9, 0) 0.1 x 0.2.
    { kind: 'page', page: 1, x: 0.9, y: 0, w: 0.1, h: 0.2 }]);
  assert.deepStrictEqual(book.linksOf(1), []);
});

test('contents nesting is bounded and headings without a page are kept only with children', () => {
  let deep = '';
  for (let i = 0; i < 100; i++) deep += '<o><c>L' + i + '</c><p>1</p><l>' + (i + 1) + '</l><ci>';
  for (let i = 0; i < 100; i++) deep += '</ci></o>';
  const xml = bookText(['./files/page/1.jpg'], '<ols>' +
    '<o><c>Part</c><p>77</p><l>1</l><ci><o><c>In book</c><p>1</p><l>2</l><ci/></o></ci></o>' +
    '<o><c>Gone</c><p>77</p><l>1</l><ci/></o>' +
    '<o><c>   </c><p>1</p><l>1</l><ci/></o>' + deep + '</ols>');
  const toc = M.parseBookXml(xml).toc;
  assert.deepStrictEqual(toc.slice(0, 2).map((e) => [e.title, e.page, e.children.length]), [['Part', -1, 1], ['1', 0, 0]]);
  let depth = 0;
  for (let e = toc[2]; e; e = e.children[0]) depth++;
  assert.strictEqual(depth, 32);
});

test('page pictures outside the book folder are refused but keep their place', () => {
  const pages = M.parseBookXml(bookText(['https://tracker.example/1.jpg', './files/page/2.jpg', '../../../etc/3.jpg',
    './files/page/4.jpg&quot;);x', '/abs/5.jpg'])).pages;
  assert.deepStrictEqual(pages.map((p) => p.url), ['', './files/page/2.jpg', '', '', '']);
  assert.deepStrictEqual(pages.map((p) => p.thumb), ['', './files/page/2.jpg', '', '', '']);
});

test('a document that is not a book is refused', () => {
  assert.throws(() => M.parseBookXml('<html><body/></html>'), /flipbook/);
  assert.throws(() => M.buildBookModel(null), /flipbook/);
  const empty = M.parseBookXml('<flipbook/>');
  assert.deepStrictEqual([empty.pages, empty.toc, empty.linksOf(0)], [[], [], []]);
});
