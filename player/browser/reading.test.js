'use strict';
/* Reading a book's text as readers do, in Chromium and Firefox ESR, on a phone-sized
 * touch screen (390 x 844) and a desktop window (1366 x 900): search that reaches every
 * page, loose words as a phrase, a word cut after a printed hyphen, copying a justified
 * line, selecting from the margin, #search= on an open book, link names, page shapes in
 * a spread, printed text, and no accessibility faults (axe-core). Books are written by
 * books.js; browsers are driven by tools/browsers.js. */
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');
const { launch, binary } = require('../tools/browsers.js');
const books = require('./books.js');

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-reading-'));
const html = books.playerPage();
const textUrl = 'file://' + books.textBook(path.join(work, 'text'), html) + '/index.html';
const shapesUrl = 'file://' + books.shapesBook(path.join(work, 'shapes'), html) + '/index.html';
const AXE = path.join(__dirname, '..', 'node_modules', 'axe-core', 'axe.min.js');
const pdftotext = spawnSync('sh', ['-c', 'command -v pdftotext']).status === 0;

process.on('exit', () => fs.rmSync(work, { recursive: true, force: true }));

const SIZES = [
  { name: 'phone', width: 390, height: 844, touch: true },
  { name: 'desktop', width: 1366, height: 900, touch: false }
];

// Where a page's word lies on screen: its box's middle, left and right.
const WORD_AT = 'function (page, text) {' +
  ' var spans = document.querySelectorAll(".fv-page[data-page=\\"" + page + "\\"] .fv-text span");' +
  ' for (var i = 0; i < spans.length; i++) if (spans[i].textContent.trim() === text) {' +
  '  var r = spans[i].getBoundingClientRect(); return { x: r.left + r.width / 2, y: r.top + r.height / 2, left: r.left, right: r.right }; }' +
  ' return null; }';
const PAGE_BOX = 'function (page) { var r = document.querySelector(".fv-page[data-page=\\"" + page + "\\"]").getBoundingClientRect();' +
  ' return { left: r.left, right: r.right, top: r.top, bottom: r.bottom, width: r.width }; }';

async function openAt(b, url, page) {
  await b.open('about:blank');
  await b.open(url + (page ? '#page=' + page : ''));
  await b.waitFor('window.folivoxState === "ready"');
  await b.waitFor('!document.querySelector(".fv-leaf")');
}

// Types a query into the open search panel and waits for its status.
async function searchFor(b, q) {
  await b.eval('(function () { if (!document.querySelector(".fv-find.fv-open")) document.querySelector(".fv-search").click();' +
    ' var i = document.querySelector(".fv-find-input"); i.focus(); i.value = ' + JSON.stringify(q) + '; i.dispatchEvent(new Event("input")); })()');
  await b.waitFor('/result/.test(document.querySelector(".fv-find-status").textContent)');
  return b.eval('document.querySelector(".fv-find-status").textContent');
}

for (const kind of ['chromium', 'firefox']) {
  for (const size of SIZES) {
    describe(kind + ' ' + size.name + ' ' + size.width + 'x' + size.height, { skip: binary(kind) ? false : kind + ' is not installed' }, () => {
      let b = null;
      before(async () => { b = await launch(kind, size); });
      after(async () => { if (b) await b.close(); });

      it('search reaches every page: an exact count, Enter from the reader\'s page, a list that grows, the API', async () => {
        await openAt(b, textUrl, 1150);
        await b.waitFor('!document.querySelector(".fv-search").hidden');
        assert.strictEqual(await searchFor(b, 'matrix'), books.PAGES + ' results, ' + books.PAGES + ' pages');
        const listed = await b.eval('document.querySelectorAll(".fv-find-group").length');
        assert.ok(listed < books.PAGES, 'the list shows a part at first');
        await b.eval('(function () { var l = document.querySelector(".fv-find-list"); l.scrollTop = l.scrollHeight;' +
          ' l.dispatchEvent(new Event("scroll")); })()');
        await b.waitFor('document.querySelectorAll(".fv-find-group").length > ' + listed);
        await b.keys(['Enter']);
        await b.waitFor('document.querySelector(".fv-mark-current")');
        const inView = await b.eval('folivoxPlayer.pagesInView()');
        assert.ok(inView.includes(1149), 'Enter went to ' + JSON.stringify(inView) + ', not on from page 1150');
        const api = await b.eval('folivox.search("matrix").then(function (h) { return [h.length, h[h.length - 1].page]; })');
        assert.deepStrictEqual(api, [books.PAGES, books.PAGES]);
      });

      it('two loose words: the phrase first, marked as one, then the page holding both apart', async () => {
        await openAt(b, textUrl, 2);
        assert.strictEqual(await searchFor(b, 'garbage collection'), '2 results, 2 pages');
        const hits = await b.eval('[].map.call(document.querySelectorAll(".fv-find-hit"), function (a) {' +
          ' return a.getAttribute("href") + " " + a.querySelector("mark").textContent; })');
        assert.deepStrictEqual(hits, ['#page=2 garbage collection', '#page=3 collection']);
      });

      it('a word cut after a printed hyphen is found with and without it', async () => {
        await openAt(b, textUrl, 2);
        assert.strictEqual(await searchFor(b, 'command-line'), '1 result, 1 page');
        assert.strictEqual(await searchFor(b, 'commandline'), '1 result, 1 page');
      });

      it('#search= and #page= work on an open book', async () => {
        await openAt(b, textUrl, 1);
        await b.eval('location.hash = "#search=garbage%20collection"');
        await b.waitFor('document.querySelector(".fv-find.fv-open") && document.querySelector(".fv-mark-current")');
        assert.ok((await b.eval('folivoxPlayer.pagesInView()')).includes(1));
        await b.eval('location.hash = "#page=7"');
        await b.waitFor('folivoxPlayer.pagesInView().indexOf(6) >= 0');
      });

      it('copying a justified line gives it as one line', async () => {
        await openAt(b, textUrl, 2);
        await b.waitFor('document.querySelectorAll(".fv-page[data-page=\\"2\\"] .fv-text span").length > 5');
        const copied = await b.eval('(function () {' +
          ' var spans = document.querySelectorAll(".fv-page[data-page=\\"2\\"] .fv-text span");' +
          ' var r = document.createRange(); r.setStartBefore(spans[0]); r.setEndAfter(spans[4]);' +
          ' getSelection().removeAllRanges(); getSelection().addRange(r);' +
          ' var data = new DataTransfer(); document.dispatchEvent(new ClipboardEvent("copy", { clipboardData: data, bubbles: true, cancelable: true }));' +
          // Firefox hands a made-up copy event no writable data: there the words' own text tells.
          ' var text = data.getData("text/plain") || getSelection().toString().replace(/\\s+$/, "");' +
          ' getSelection().removeAllRanges(); return text; })()');
        assert.strictEqual(copied, 'The quick brown\nfox jumps');
      });

      it('a mouse drag from the margin selects; only a drag from the page\'s edge turns', async () => {
        await openAt(b, textUrl, 2);
        await b.waitFor('document.querySelectorAll(".fv-page[data-page=\\"2\\"] .fv-text span").length > 5');
        const page = await b.eval('(' + PAGE_BOX + ')(2)');
        const the = await b.eval('(' + WORD_AT + ')(2, "The")');
        const brown = await b.eval('(' + WORD_AT + ')(2, "brown")');
        const before = await b.eval('folivoxPlayer.pagesInView()');
        // From the margin left of the line to its last word.
        const x0 = page.left + page.width * 0.12;
        await b.drag([[x0, the.y], [x0 + 20, the.y], [(the.right + brown.x) / 2, the.y], [brown.right - 2, brown.y]], 'mouse');
        await b.waitFor('getSelection().toString().length > 0');
        assert.match(await b.eval('getSelection().toString()'), /The\s+quick\s+brow/);
        // Backwards from right of a line's end.
        const jumps = await b.eval('(' + WORD_AT + ')(2, "jumps")');
        const xr = Math.min(page.right - page.width * 0.15, jumps.right + 80);
        await b.drag([[xr, jumps.y], [xr - 20, jumps.y], [jumps.left + 2, jumps.y], [page.left + page.width * 0.15, jumps.y]], 'mouse');
        await b.waitFor('/jumps/.test(getSelection().toString())');
        await new Promise((r) => setTimeout(r, 300));
        assert.deepStrictEqual(await b.eval('folivoxPlayer.pagesInView()'), before, 'a drag beside the words turned the page');
        assert.ok(!(await b.eval('!!document.querySelector(".fv-leaf")')));
        // A drag from the right edge turns, by mouse or by finger.
        const right = await b.eval('(' + PAGE_BOX + ')(folivoxPlayer.pagesInView().slice(-1)[0] + 1)');
        const y = (right.top + right.bottom) / 2;
        await b.drag([[right.right - 6, y], [right.right - 30, y], [right.right - right.width * 0.7, y], [Math.max(2, right.left - 40), y]],
          size.touch ? 'touch' : 'mouse');
        await b.waitFor('folivoxPlayer.pagesInView()[0] > ' + Math.max.apply(null, before), 8000);
      });

      it('link areas are named by the words they cover, then their target', async () => {
        await openAt(b, textUrl, 3);
        await b.waitFor('/Contents/.test(document.querySelector(".fv-page[data-page=\\"3\\"] a.fv-link").getAttribute("aria-label"))');
        assert.strictEqual(await b.eval('document.querySelector(".fv-page[data-page=\\"3\\"] a.fv-link").getAttribute("aria-label")'),
          'Contents \u2013 Go to page 5');
      });

      it('each page of a spread keeps its own shape against the spine, the spread centred', async () => {
        await openAt(b, shapesUrl, 2);
        await b.waitFor('[].every.call(document.querySelectorAll(".fv-book img.fv-picture"), function (i) { return i.complete; })');
        await new Promise((r) => setTimeout(r, 200));
        const view = await b.eval('folivoxPlayer.pagesInView()');
        const boxes = await b.eval('folivoxPlayer.pagesInView().map(function (p) { return (' + PAGE_BOX + ')(p + 1); })');
        const stage = await b.eval('(function () { var r = document.querySelector(".fv-stage").getBoundingClientRect(); return [r.left, r.right]; })()');
        const left = Math.min.apply(null, boxes.map((x) => x.left)), right = Math.max.apply(null, boxes.map((x) => x.right));
        assert.ok(Math.abs((left + right) / 2 - (stage[0] + stage[1]) / 2) < 3, 'not centred: ' + JSON.stringify([boxes, stage]));
        if (view.length === 2) {
          assert.ok(Math.abs(boxes[1].left - boxes[0].right) < 2, 'a gap at the spine: ' + JSON.stringify(boxes));
          assert.ok(Math.abs(boxes[0].width - boxes[1].width) < 2);
        }
      });

      it('printed pages carry their words', { skip: !pdftotext || (size.touch && kind === 'firefox') ? 'needs pdftotext and a page of its own' : false }, async () => {
        await openAt(b, textUrl, 2);
        await b.waitFor('document.querySelectorAll(".fv-print-text text").length > 5');
        const pdf = path.join(process.env.FOLIVOX_KEEP_PDF || work, kind + '-' + size.name + '.pdf');
        fs.writeFileSync(pdf, await b.printPdf());
        const text = spawnSync('pdftotext', ['-raw', pdf, '-'], { encoding: 'utf8' }).stdout;
        assert.match(text, /garbage\s+collection/);
      });

      it('no accessibility faults with the search open (axe-core)', { skip: fs.existsSync(AXE) ? false : 'run npm ci in player/' }, async () => {
        await openAt(b, textUrl, 2);
        await searchFor(b, 'garbage collection');
        await b.keys(['Enter']);
        await b.waitFor('document.querySelector(".fv-mark-current")');
        await b.eval('(function () {' + fs.readFileSync(AXE, 'utf8') + '\n}).call(window)');
        const found = await b.eval('axe.run(document, { runOnly: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"] }).then(function (r) {' +
          ' return r.violations.map(function (v) { return v.id + ": " + v.nodes.map(function (n) { return n.target.join(" "); }).join(", "); }); })');
        assert.deepStrictEqual(found, []);
      });
    });
  }
}
