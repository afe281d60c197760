/* The books the player's browser tests read: written here, page by page, with the
 * words (files/text/N.js, all.js) and link areas each test needs, through the same
 * writers as tools/make-test-book.js. Kept out of test files so node --test does not
 * run it as one. */
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const M = require('../tools/make-test-book.js');

const PLAYER_DIR = path.resolve(__dirname, '..');

// The player page: FOLIVOX_PLAYER_PAGE (an inlined index.html, for instance one made
// from an older revision to see a test fail), else this tree's, inlined now.
function playerPage() {
  if (process.env.FOLIVOX_PLAYER_PAGE) return fs.readFileSync(process.env.FOLIVOX_PLAYER_PAGE, 'utf8');
  const out = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-page-')), 'index.html');
  execFileSync('cmake', ['-DPLAYER_DIR=' + PLAYER_DIR, '-DOUTPUT=' + out, '-P', path.join(PLAYER_DIR, 'inline.cmake')]);
  const html = fs.readFileSync(out, 'utf8');
  fs.rmSync(path.dirname(out), { recursive: true, force: true });
  return html;
}

// A plain picture of w x h in a light colour.
function picture(w, h, shade) {
  const rgb = Buffer.alloc(w * h * 3, shade);
  return M.encodePng(w, h, rgb);
}

// Words laid out as lines: each line [y, [[text, x, width, flags], ...]]; every word
// is 0.014 high. Returns them as files/text/N.js has them.
function lines(list) {
  const out = [];
  for (const [y, words] of list) for (const [t, x, w, f] of words) out.push([t, x, y, w, 0.014, f || 0]);
  return out;
}

// Writes a book into dir. o: { pages: [{ size: [w, h], words, fs, links }], settings: [[k, v]], photos }.
// A link is { x, y, w, h, page } (a page number) or { ..., url }.
function writeBook(dir, o, html) {
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(path.join(dir, 'files', 'page'), { recursive: true });
  fs.mkdirSync(path.join(dir, 'files', 'text'), { recursive: true });
  const numbers = o.pages.map((p, i) => i + 1);
  const drawn = new Map();
  o.pages.forEach((p, i) => {
    const size = p.size || [306, 396];
    const key = size.join('x');
    const file = path.join(dir, 'files', 'page', (i + 1) + '.png');
    if (!drawn.has(key)) {
      fs.writeFileSync(file, picture(size[0], size[1], 240));
      drawn.set(key, file);
    } else {
      fs.linkSync(drawn.get(key), file);
    }
  });
  const all = [];
  o.pages.forEach((p, i) => {
    if (!p.words) return;
    fs.writeFileSync(path.join(dir, 'files', 'text', (i + 1) + '.js'), M.dataScript('text', i + 1, Object.assign({ v: 1, w: p.words }, p.fs ? { fs: p.fs } : {})));
    let text = '';
    const cut = [];
    p.words.forEach((w, k) => {
      if (k > 0) text += p.words[k - 1][5] & 1 ? '\n' : ' ';
      text += w[0];
      if (w[5] & 4) cut.push(k);
    });
    all.push([i + 1, text, cut]);
  });
  fs.writeFileSync(path.join(dir, 'files', 'text', 'all.js'), M.dataScript('search', 0, { v: 1, pages: all }));
  if (o.photos) fs.writeFileSync(path.join(dir, 'files', 'pages.js'), M.dataScript('pages', 0, { v: 1, photos: o.photos }));
  const settings = [['pageWidth', '612'], ['pageHeight', '792'], ['languageSetting', 'English'], ['isHardCover', 'NO'],
    ['flipSpeed', 'Fast'], ['showZoom', 'YES'], ['showPrint', 'YES'], ['bookTitle', 'Reading check']].concat(o.settings || []);
  const seen = new Map(settings);
  const more = {
    links: (i) => (o.pages[i].links || []).map((l) => Object.assign({ kind: l.url ? 'url' : 'page', target: l.page }, l))
  };
  const xml = M.bookXml(numbers, [...seen.entries()], true, false, 'png', false, more);
  const bin = M.makeBookBin(xml);
  fs.writeFileSync(path.join(dir, 'files', 'book.bin'), bin);
  fs.writeFileSync(path.join(dir, 'files', 'book.bin.js'), 'window.folivoxBookBin = "' + bin.toString('base64') + '";\n');
  fs.writeFileSync(path.join(dir, 'index.html'), html.replace('${index.title}', 'Reading check').replace('${meta.keywords}', '')
    .replace('${meta.description}', '').replace('${book.text}', ''));
  return dir;
}

// The book for the text faults: PAGES pages, "matrix" once on each; on page 2 a
// justified line that an older import cut at its gaps, a phrase, and a word cut after
// a printed hyphen; on page 3 the phrase's words apart and a link over a word.
const PAGES = 1200;
function textBook(dir, html) {
  const pages = [];
  for (let i = 0; i < PAGES; i++) {
    pages.push({ words: lines([[0.1, [['Page', 0.2, 0.08], [String(i + 1), 0.3, 0.05], ['matrix', 0.38, 0.1, 3]]]]) });
  }
  pages[1].words = lines([
    [0.3, [['The', 0.2, 0.06, 1], ['quick', 0.45, 0.1, 1], ['brown', 0.7, 0.1, 1]]],
    [0.33, [['fox', 0.2, 0.06], ['jumps', 0.3, 0.1, 1]]],
    [0.36, [['garbage', 0.2, 0.14], ['collection', 0.37, 0.18], ['is', 0.58, 0.04], ['the', 0.64, 0.06], ['command-', 0.72, 0.16, 5]]],
    [0.39, [['line', 0.2, 0.08], ['matrix', 0.3, 0.12, 3]]]
  ]);
  pages[2].words = lines([
    [0.3, [['collection', 0.2, 0.18], ['of', 0.4, 0.04], ['garbage', 0.46, 0.14], ['matrix', 0.62, 0.12, 1]]],
    [0.5, [['See', 0.2, 0.06], ['Contents', 0.28, 0.16, 3]]]
  ]);
  pages[2].links = [{ x: 0.27, y: 0.49, w: 0.18, h: 0.03, page: 5 }];
  return writeBook(dir, { pages }, html);
}

// A book whose first page is landscape (so its pages' slots are) and the rest portrait.
function shapesBook(dir, html) {
  const pages = [{ size: [350, 300] }];
  for (let i = 1; i < 6; i++) pages.push({ size: [300, 400] });
  return writeBook(dir, { pages, settings: [['pageWidth', '700'], ['pageHeight', '600']] }, html);
}

// The book for the reading features: a page with a heading, a paragraph with a word
// cut after a hyphen and a list (font sizes given); plain pages; page 4 a photograph.
function featuresBook(dir, html, settings) {
  const pages = [];
  for (let i = 0; i < 8; i++) pages.push({ words: lines([[0.1, [['Plain', 0.2, 0.1], ['page', 0.32, 0.08], [String(i + 1), 0.42, 0.04, 3]]]]) });
  pages[1].words = lines([
    [0.1, [['Getting', 0.2, 0.2], ['started', 0.42, 0.2, 3]]],
    [0.2, [['The', 0.2, 0.06], ['command-', 0.3, 0.16, 5]]],
    [0.23, [['line', 0.2, 0.08], ['tool', 0.3, 0.08], ['is', 0.4, 0.04], ['small.', 0.46, 0.1, 3]]],
    [0.3, [['\u2022', 0.2, 0.02], ['first', 0.24, 0.1, 1]]],
    [0.33, [['\u2022', 0.2, 0.02], ['second', 0.24, 0.12, 3]]]
  ]);
  pages[1].fs = [[0, 20], [2, 10]];
  return writeBook(dir, { pages, photos: [3], settings: settings || [] }, html);
}

module.exports = { playerPage, textBook, shapesBook, featuresBook, PAGES };
