'use strict';
// Set-up several node tests share: a reader over plain pages and book.xml text.
// Kept out of test/ so that node --test does not run it as a test file.
const { createBus } = require('../src/events.js');
const { createReader } = require('../src/reader.js');

// A reader over n plain pages in two-page spreads, and its bus.
function readerOver(n, more) {
  const bus = createBus();
  const reader = createReader(Object.assign({ pages: Array.from({ length: n }, () => ({})), bus }, more));
  reader.setSingle(false, true);
  return { bus, reader };
}

// book.xml with one soft page per picture address, then `rest` (contents, link areas).
function bookText(urls, rest) {
  const pages = urls.map((u) => '<page isHardPage="false"><normalUrl>' + u + '</normalUrl></page>').join('');
  return '<flipbook><extConfig/><pages>' + pages + '</pages>' + (rest || '') + '</flipbook>';
}

module.exports = { readerOver, bookText };
