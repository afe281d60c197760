#!/usr/bin/env node
/* Writes a small published book for trying the player in a browser, without the
 * desktop program: page pictures (PNG, drawn here), book.xml with contents and link
 * areas, files/book.bin (zip + RC4 as the publisher writes it), files/book.bin.js and
 * index.html from the inlined player page.
 *
 *   node make-test-book.js OUTDIR [--pages N] [--first K] [--size WxH] [--rtl]
 *        [--set key=value]... [--player index.html] [--no-links] [--no-toc] [--stored] [--extras]
 *        [--shapes] [--large] [--thumbs] [--labels] [--links-per-page N] [--toc-entries N]
 *        [--picture FILE] [--text]
 *
 * --first K numbers the pictures from K, like a book published from a page range.
 * --extras adds a logo, a background picture and a flip sound to files/extfiles/.
 * --shapes turns every seventh page from the third on to landscape.
 * --large and --thumbs write zoom pictures (twice the size, files/large/) and
 * thumbnails (200 px wide, files/thumb/) and name them in largeUrl and thumbUrl.
 * --labels writes files/pages.js with printed labels: i-iv, then 1, 2, ..., and
 * for the last two pages.
 * --links-per-page and --toc-entries make a book as big as a long manual;
 * --picture FILE uses one picture for every page instead of drawing each.
 * --text writes the words of every page (files/text/N.js and all.js), drawn on the
 * pictures as grey blocks where their boxes are.
 * Without --player the page is made with `cmake -P ../inline.cmake`. */
'use strict';

const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const os = require('os');
const { execFileSync } = require('child_process');
const C = require('../src/container.js');

/* ---------- zip and book.bin ---------- */

function dosDateTime(d) {
  const time = (d.getHours() << 11) | (d.getMinutes() << 5) | (d.getSeconds() >> 1);
  const date = ((d.getFullYear() - 1980) << 9) | ((d.getMonth() + 1) << 5) | d.getDate();
  return { time, date };
}

// One-entry zip archive laid out like the publisher's (local header, data, central
// directory, end record with the fixed comment).
function makeZip(name, content, opts) {
  opts = opts || {};
  const data = Buffer.from(content);
  const stored = !!opts.stored;
  const body = stored ? data : zlib.deflateRawSync(data, { level: 9 });
  const crc = C.crc32(data);
  const nameBuf = Buffer.from(name, 'latin1');
  const { time, date } = dosDateTime(opts.date || new Date());
  const method = stored ? 0 : 8;

  const local = Buffer.alloc(30);
  local.writeUInt32LE(0x04034b50, 0);
  local.writeUInt16LE(20, 4);
  local.writeUInt16LE(0, 6);
  local.writeUInt16LE(method, 8);
  local.writeUInt16LE(time, 10);
  local.writeUInt16LE(date, 12);
  local.writeUInt32LE(crc, 14);
  local.writeUInt32LE(body.length, 18);
  local.writeUInt32LE(data.length, 22);
  local.writeUInt16LE(nameBuf.length, 26);
  local.writeUInt16LE(0, 28);

  const central = Buffer.alloc(46);
  central.writeUInt32LE(0x02014b50, 0);
  central.writeUInt16LE(0x0315, 4);
  central.writeUInt16LE(20, 6);
  central.writeUInt16LE(0, 8);
  central.writeUInt16LE(method, 10);
  central.writeUInt16LE(time, 12);
  central.writeUInt16LE(date, 14);
  central.writeUInt32LE(crc, 16);
  central.writeUInt32LE(body.length, 20);
  central.writeUInt32LE(data.length, 24);
  central.writeUInt16LE(nameBuf.length, 28);

  const comment = Buffer.from('Archive created by Folivox.', 'latin1');
  const end = Buffer.alloc(22);
  end.writeUInt32LE(0x06054b50, 0);
  end.writeUInt16LE(1, 8);
  end.writeUInt16LE(1, 10);
  end.writeUInt32LE(46 + nameBuf.length, 12);
  end.writeUInt32LE(30 + nameBuf.length + body.length, 16);
  end.writeUInt16LE(comment.length, 20);

  return Buffer.concat([local, nameBuf, body, central, nameBuf, end, comment]);
}

function makeBookBin(xml, opts) {
  return Buffer.from(C.rc4(C.BOOK_KEY, makeZip('book.xml', Buffer.from(xml, 'utf8'), opts)));
}

/* ---------- pictures ---------- */

function pngChunk(type, data) {
  const len = Buffer.alloc(4);
  len.writeUInt32BE(data.length, 0);
  const td = Buffer.concat([Buffer.from(type, 'latin1'), data]);
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(C.crc32(td), 0);
  return Buffer.concat([len, td, crc]);
}

function encodePng(w, h, rgb) {
  const raw = Buffer.alloc((w * 3 + 1) * h);
  for (let y = 0; y < h; y++) {
    raw[y * (w * 3 + 1)] = 0;
    rgb.copy(raw, y * (w * 3 + 1) + 1, y * w * 3, (y + 1) * w * 3);
  }
  const ihdr = Buffer.alloc(13);
  ihdr.writeUInt32BE(w, 0);
  ihdr.writeUInt32BE(h, 4);
  ihdr[8] = 8; ihdr[9] = 2; ihdr[10] = 0; ihdr[11] = 0; ihdr[12] = 0;
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    pngChunk('IHDR', ihdr),
    pngChunk('IDAT', zlib.deflateSync(raw, { level: 6 })),
    pngChunk('IEND', Buffer.alloc(0))
  ]);
}

const DIGITS = [
  '01110100011001110101110011000101110', '00100011000010000100001000010001110',
  '01110100010000100010001000100011111', '11110000010000101110000010000111110',
  '00010001100101010010111110001000010', '11111100001111000001000011000101110',
  '00110010001000011110100011000101110', '11111000010001000100010000100001000',
  '01110100011000101110100011000101110', '01110100011000101111000010001001100'
];

function hsl(h, s, l) {
  const a = s * Math.min(l, 1 - l);
  const f = (k) => { const t = (k + h / 30) % 12; return l - a * Math.max(-1, Math.min(t - 3, 9 - t, 1)); };
  return [f(0), f(8), f(4)].map((v) => Math.round(v * 255));
}

/* ---------- text ---------- */

const VOCABULARY = ['Folivox', 'turns', 'a', 'document', 'into', 'page', 'flip', 'book', 'the', 'reader',
  'searches', 'caf\u00e9', 'na\u00efve', 'o\ufb03ce', 'Stra\u00dfe', 'text', 'layer', 'selects', 'copies',
  'words', 'with', 'their', 'boxes', 'on', 'every', 'printed', 'example', 'hyphenation', 'search', 'light'];

// The words of a page in reading order, as files/text/N.js has them: [text, x, y, w, h, flags].
// Lines sit where the picture shows them; some end in a word cut by a hyphen, and the
// second page has a line running down its right margin (a quarter turn).
function pageWords(number, position) {
  const words = [];
  let seed = number * 7919 + 17;
  const next = () => { seed = (seed * 1103515245 + 12345) & 0x7fffffff; return seed; };
  const put = (t, x, y, w, hh, f) => words.push([t, +x.toFixed(4), +y.toFixed(4), +w.toFixed(4), +hh.toFixed(4), f]);
  for (let i = 0; i < 18; i++) {
    const y = 0.58 + i * 0.021;
    const end = 0.1 + 0.8 - ((number * 7 + i * 13) % 30) / 100;
    let x = 0.1;
    const first = words.length;
    while (x < end - 0.03) {
      let t = VOCABULARY[next() % VOCABULARY.length];
      if (words.length === first && i === 0) t = 'Page' + number;
      const w = Math.min(t.length * 0.011, end - x);
      put(t, x, y, w, 0.012, 0);
      x += w + 0.012;
    }
    const last = words[words.length - 1];
    if (i % 5 === 2) {
      // "hyphen-" at the line end, "ation" at the start of the next line
      last[0] = 'hyphen-';
      last[3] = +Math.min(0.077, end - last[1]).toFixed(4);
      last[5] |= 5;
      words.push(['ation', 0.1, +(y + 0.021).toFixed(4), 0.055, 0.012, 0]);
      i++;
      let x2 = 0.1 + 0.055 + 0.012;
      const y2 = 0.58 + i * 0.021;
      while (x2 < 0.6) {
        const t = VOCABULARY[next() % VOCABULARY.length];
        put(t, x2, y2, t.length * 0.011, 0.012, 0);
        x2 += t.length * 0.011 + 0.012;
      }
    }
    words[words.length - 1][5] |= i === 8 || i === 17 ? 3 : 1;
  }
  if (position === 1) {
    let y = 0.2;
    for (const t of ['running', 'down', 'the', 'margin']) {
      put(t, 0.93, y, 0.012, t.length * 0.011, 8);
      y += t.length * 0.011 + 0.012;
    }
    words[words.length - 1][5] |= 3;
  }
  return words;
}

// A data script as docs/book-files.md has them.
function dataScript(kind, number, payload) {
  const json = JSON.stringify(payload).replace(/\u2028/g, '\\u2028').replace(/\u2029/g, '\\u2029');
  return 'folivoxData("' + kind + '", ' + number + ', ' + json + ');\n';
}

// files/text/N.js for every page and files/text/all.js.
function writeText(out, numbers) {
  const dir = path.join(out, 'files', 'text');
  fs.mkdirSync(dir, { recursive: true });
  const all = [];
  numbers.forEach((num, i) => {
    const words = pageWords(num, i);
    fs.writeFileSync(path.join(dir, num + '.js'), dataScript('text', num, { v: 1, w: words }));
    let text = '';
    const cut = [];
    words.forEach((w, k) => {
      if (k > 0) text += words[k - 1][5] & 1 ? '\n' : ' ';
      text += w[0];
      if (w[5] & 4) cut.push(k);
    });
    all.push([num, text, cut]);
  });
  fs.writeFileSync(path.join(dir, 'all.js'), dataScript('search', 0, { v: 1, pages: all }));
}

function drawPage(w, h, number, boxes, words) {
  const rgb = Buffer.alloc(w * h * 3);
  const fill = (x0, y0, x1, y1, c) => {
    x0 = Math.max(0, Math.round(x0)); y0 = Math.max(0, Math.round(y0));
    x1 = Math.min(w, Math.round(x1)); y1 = Math.min(h, Math.round(y1));
    for (let y = y0; y < y1; y++) {
      for (let x = x0; x < x1; x++) { const o = (y * w + x) * 3; rgb[o] = c[0]; rgb[o + 1] = c[1]; rgb[o + 2] = c[2]; }
    }
  };
  const paper = hsl((number * 37) % 360, 0.35, 0.93);
  fill(0, 0, w, h, paper);
  fill(0, 0, w, h * 0.07, hsl((number * 37) % 360, 0.45, 0.55));
  // text-like lines
  const grey = [150, 150, 150];
  for (const t of words || []) fill(t[1] * w, t[2] * h, (t[1] + t[3]) * w, (t[2] + t[4]) * h, grey);
  for (let i = 0; i < (words ? 0 : 18); i++) {
    const y = h * (0.58 + i * 0.021);
    const len = 0.8 - ((number * 7 + i * 13) % 30) / 100;
    fill(w * 0.1, y, w * (0.1 + len), y + Math.max(2, h * 0.007), grey);
  }
  // the page number, large, in a 5x7 bitmap font
  const text = String(number);
  const cell = Math.max(2, Math.floor(Math.min(w * 0.6 / (text.length * 6), h * 0.25 / 7)));
  const tx = (w - (text.length * 6 - 1) * cell) / 2, ty = h * 0.18;
  for (let k = 0; k < text.length; k++) {
    const g = DIGITS[text.charCodeAt(k) - 48];
    for (let r = 0; r < 7; r++) {
      for (let c = 0; c < 5; c++) {
        if (g[r * 5 + c] === '1') fill(tx + (k * 6 + c) * cell, ty + r * cell, tx + (k * 6 + c + 1) * cell, ty + (r + 1) * cell, [40, 48, 60]);
      }
    }
  }
  // link areas are drawn where book.xml places them, to check the alignment by eye
  for (const b of boxes) {
    const col = b.kind === 'url' ? [40, 110, 220] : [200, 80, 40];
    fill(b.x * w, b.y * h, (b.x + b.w) * w, (b.y + b.h) * h, col);
  }
  return encodePng(w, h, rgb);
}

/* ---------- book.xml ---------- */

function esc(s) {
  return String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
}

const DEFAULT_SETTINGS = [
  ['pageWidth', '612'], ['pageHeight', '792'], ['languageSetting', 'English'],
  ['isHardCover', 'YES'], ['rightToLeft', 'NO'], ['flipSpeed', 'Normal'],
  ['soundGroup', ''], ['flipSound', './files/extfiles/flipSound.'],
  ['backgroundGroup', ''], ['bgColor', '0x3b4656'], ['innerMainbgImgUrl', './files/extfiles/innerMainbgImgUrl.'],
  ['toolbarGroup', ''], ['toolbarColor', '0x1f2630'], ['toolbarTextColor', '0xf2f4f7'],
  ['showThumbnails', 'YES'], ['showContents', 'YES'], ['showZoom', 'YES'], ['showFullscreen', 'YES'],
  ['showSoundButton', 'YES'], ['showPageNumber', 'YES'],
  ['brandingGroup', ''], ['bookTitle', 'Folivox test book'],
  ['logoFile', './files/extfiles/logoFile.'], ['logoLink', 'https://example.org/']
];

const URL_ACTION = 'com.velmora.flipbook.pageeditor.TAnnoActionOpenURL';
const PAGE_ACTION = 'com.velmora.flipbook.pageeditor.TAnnoActionGotoPage';

function linksFor(position, numbers) {
  const last = numbers[numbers.length - 1];
  const list = [];
  if (position === 1) {
    list.push({ kind: 'url', url: 'https://example.org/folivox?a=1&b=2', x: 0.1, y: 0.1, w: 0.35, h: 0.06 });
    list.push({ kind: 'url', url: 'javascript:alert(1)', x: 0.55, y: 0.1, w: 0.35, h: 0.06, hostile: true });
  }
  if (position >= 1) {
    list.push({ kind: 'page', target: Math.min(last, numbers[position] + 4), x: 0.1, y: 0.86, w: 0.3, h: 0.05 });
  }
  if (position === 2) list.push({ kind: 'url', url: 'mailto:books@example.org', x: 0.6, y: 0.86, w: 0.3, h: 0.05 });
  return list;
}

// Many link areas per page, alternating web and page links, for big books.
function manyLinks(position, numbers, count) {
  const list = [];
  for (let k = 0; k < count; k++) {
    const box = { x: 0.1, y: 0.1 + k * (0.8 / count), w: 0.6, h: 0.4 / count };
    if (k % 2) list.push(Object.assign({ kind: 'url', url: 'https://example.org/p' + position + '/' + k }, box));
    else list.push(Object.assign({ kind: 'page', target: numbers[(position + 7 * k + 1) % numbers.length] }, box));
  }
  return list;
}

// A contents of `count` entries: chapters of up to nine sections, spread over the book.
function manyEntries(numbers, count) {
  const o = (c, p, l, kids) => '<o><c>' + esc(c) + '</c><p>' + p + '</p><l>' + l + '</l><ci>' + (kids || []).join('') + '</ci></o>';
  const at = (i) => numbers[Math.min(numbers.length - 1, Math.floor(i * numbers.length / count))];
  const out = [];
  for (let i = 0; i < count;) {
    const chapter = i++;
    const kids = [];
    for (let k = 1; k <= 9 && i < count; k++, i++) kids.push(o('Section ' + (out.length + 1) + '.' + k, at(i), 2));
    out.push(o('Chapter ' + (out.length + 1), at(chapter), 1, kids));
  }
  return out.join('');
}

// The printed labels --labels writes: roman front matter, arabic body, an appendix.
function testLabels(n) {
  const roman = ['i', 'ii', 'iii', 'iv'];
  const out = [];
  for (let i = 0; i < n; i++) {
    if (i < 4 && n > 8) out.push(roman[i]);
    else if (i >= n - 2 && n > 8) out.push('A-' + (i - n + 3));
    else out.push(String(i - (n > 8 ? 3 : -1)));
  }
  return out;
}

// more: { links(position) -> list, toc (the ols children), largeUrl(n), thumbUrl(n) }
function bookXml(numbers, settings, withLinks, withToc, ext, hardCover, more) {
  more = more || {};
  const out = [];
  out.push('<flipbook count="' + numbers.length + '" appAppShortName="pt" appAppName="Folivox for Mac" appAppVersion="1.0.0" appWebsite="https://folivox.example/" e="noext">');
  out.push('  <extConfig>');
  for (const [k, v] of settings) out.push('    <item name="' + esc(k) + '">' + esc(v) + '</item>');
  out.push('  </extConfig>');
  out.push('  <pages>');
  numbers.forEach((num, i) => {
    const hard = hardCover && (i === 0 || i === numbers.length - 1);
    const url = './files/page/' + num + '.' + ext;
    out.push('    <page isHardPage="' + hard + '" isEncrypted="false">');
    out.push('      <normalUrl>' + url + '</normalUrl>');
    out.push('      <largeUrl>' + (more.largeUrl ? more.largeUrl(num) : url) + '</largeUrl>');
    out.push('      <thumbUrl>' + (more.thumbUrl ? more.thumbUrl(num) : url) + '</thumbUrl>');
    out.push('    </page>');
  });
  out.push('  </pages>');
  if (withToc && more.toc) {
    out.push('  <ols>' + more.toc + '</ols>');
  } else if (withToc) {
    const o = (c, p, l, kids) => '<o><c>' + esc(c) + '</c><p>' + p + '</p><l>' + l + '</l><ci>' + (kids || []).join('') + '</ci></o>';
    const first = numbers[0], n = numbers.length;
    const at = (f) => numbers[Math.min(n - 1, Math.floor(f * (n - 1)))];
    out.push('  <ols>' +
      o('Cover', first, 1) +
      o('Chapter 1: Getting started', at(0.1), 1, [o('Importing a PDF', at(0.15), 2), o('Choosing a template', at(0.2), 2)]) +
      o('Chapter 2: Publishing', at(0.5), 1, [o('A page outside the book', first + n + 100, 2)]) +
      o('Back cover', numbers[n - 1], 1) + '</ols>');
  }
  if (withLinks) {
    out.push('  <pagesAnnos>');
    numbers.forEach((num, i) => {
      out.push('    <pageAnnos pageIndex="' + (i + 1) + '">');
      for (const l of (more.links ? more.links(i) : linksFor(i, numbers))) {
        out.push('      <anno annotype="com.velmora.flipbook.pageeditor.TAnnoLink">');
        if (l.kind === 'url') {
          out.push('        <action triggerEventType="mouseDown" actionType="' + URL_ACTION + '"><url>' + esc(l.url) + '</url></action>');
        } else {
          out.push('        <action triggerEventType="mouseDown" actionType="' + PAGE_ACTION + '"><pageIndex>' + l.target + '</pageIndex></action>');
        }
        out.push('        <location x="' + l.x.toFixed(6) + '" y="' + l.y.toFixed(6) + '" width="' + l.w.toFixed(6) + '" height="' + l.h.toFixed(6) + '"/>');
        out.push('      </anno>');
      }
      out.push('    </pageAnnos>');
    });
    out.push('  </pagesAnnos>');
  }
  out.push('</flipbook>');
  return out.join('\n') + '\n';
}

/* ---------- the book folder ---------- */

function playerPage(playerPath) {
  if (playerPath) return fs.readFileSync(playerPath, 'utf8');
  const tmp = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-player-')), 'index.html');
  const dir = path.resolve(__dirname, '..');
  execFileSync('cmake', ['-DPLAYER_DIR=' + dir, '-DOUTPUT=' + tmp, '-P', path.join(dir, 'inline.cmake')], { stdio: 'inherit' });
  return fs.readFileSync(tmp, 'utf8');
}

function fillPlaceholders(html, title) {
  return html.replace('${index.title}', esc(title))
    .replace('${meta.keywords}', 'Folivox,page flip,flashbook,flash-book')
    .replace('${meta.description}', 'folivox.example')
    .replace('${book.text}', '');
}

// A short burst of fading noise as a 16-bit mono WAV: a stand-in flip sound.
function makeWav() {
  const rate = 22050, len = Math.floor(rate * 0.25);
  const buf = Buffer.alloc(44 + len * 2);
  buf.write('RIFF', 0); buf.writeUInt32LE(36 + len * 2, 4); buf.write('WAVEfmt ', 8);
  buf.writeUInt32LE(16, 16); buf.writeUInt16LE(1, 20); buf.writeUInt16LE(1, 22);
  buf.writeUInt32LE(rate, 24); buf.writeUInt32LE(rate * 2, 28); buf.writeUInt16LE(2, 32); buf.writeUInt16LE(16, 34);
  buf.write('data', 36); buf.writeUInt32LE(len * 2, 40);
  let seed = 1;
  for (let i = 0; i < len; i++) {
    seed = (seed * 1103515245 + 12345) & 0x7fffffff;
    const v = ((seed / 0x7fffffff) * 2 - 1) * Math.pow(1 - i / len, 3) * 12000;
    buf.writeInt16LE(Math.round(v), 44 + i * 2);
  }
  return buf;
}

// Logo, background picture and flip sound, written to files/extfiles/ the way the
// publisher copies file-type template properties.
function writeExtras(out, setValue) {
  const dir = path.join(out, 'files', 'extfiles');
  fs.mkdirSync(dir, { recursive: true });
  const w = 160, h = 48, logo = Buffer.alloc(w * h * 3);
  for (let y = 0; y < h; y++) {
    for (let x = 0; x < w; x++) {
      const o = (y * w + x) * 3, inLeaf = Math.hypot(x - 24, y - 24) < 20, bar = x > 54 && x < 150 && y > 16 && y < 32;
      const c = inLeaf ? [46, 160, 90] : bar ? [240, 240, 240] : [30, 40, 52];
      logo[o] = c[0]; logo[o + 1] = c[1]; logo[o + 2] = c[2];
    }
  }
  fs.writeFileSync(path.join(dir, 'logoFile.png'), encodePng(w, h, logo));
  const bw = 64, bh = 64, bg = Buffer.alloc(bw * bh * 3);
  for (let y = 0; y < bh; y++) {
    for (let x = 0; x < bw; x++) {
      const o = (y * bw + x) * 3, t = ((x >> 3) + (y >> 3)) & 1;
      bg[o] = t ? 70 : 90; bg[o + 1] = t ? 98 : 120; bg[o + 2] = t ? 80 : 100;
    }
  }
  fs.writeFileSync(path.join(dir, 'innerMainbgImgUrl.png'), encodePng(bw, bh, bg));
  fs.writeFileSync(path.join(dir, 'flipSound.wav'), makeWav());
  setValue('logoFile', './files/extfiles/logoFile.png');
  setValue('innerMainbgImgUrl', './files/extfiles/innerMainbgImgUrl.png');
  setValue('flipSound', './files/extfiles/flipSound.wav');
}

function parseArgs(argv) {
  const a = {
    out: null, pages: 12, first: 1, width: 612, height: 792, rtl: false, set: [], player: null, links: true, toc: true,
    stored: false, extras: false, shapes: false, large: false, thumbs: false, labels: false, linksPerPage: 0, tocEntries: 0, picture: null, text: false
  };
  for (let i = 0; i < argv.length; i++) {
    const v = argv[i];
    if (v === '--pages') a.pages = parseInt(argv[++i], 10);
    else if (v === '--first') a.first = parseInt(argv[++i], 10);
    else if (v === '--size') { const m = /^(\d+)x(\d+)$/.exec(argv[++i]); a.width = +m[1]; a.height = +m[2]; }
    else if (v === '--rtl') a.rtl = true;
    else if (v === '--set') a.set.push(argv[++i]);
    else if (v === '--player') a.player = argv[++i];
    else if (v === '--no-links') a.links = false;
    else if (v === '--no-toc') a.toc = false;
    else if (v === '--stored') a.stored = true;
    else if (v === '--extras') a.extras = true;
    else if (v === '--shapes') a.shapes = true;
    else if (v === '--large') a.large = true;
    else if (v === '--thumbs') a.thumbs = true;
    else if (v === '--labels') a.labels = true;
    else if (v === '--links-per-page') a.linksPerPage = parseInt(argv[++i], 10);
    else if (v === '--toc-entries') a.tocEntries = parseInt(argv[++i], 10);
    else if (v === '--picture') a.picture = argv[++i];
    else if (v === '--text') a.text = true;
    else if (!a.out) a.out = v;
    else throw new Error('unknown argument ' + v);
  }
  if (!a.out || !(a.pages > 0)) throw new Error('usage: make-test-book.js OUTDIR [--pages N] [--first K] [--size WxH] [--rtl] [--set key=value]... [--player index.html] [--no-links] [--no-toc] [--stored] [--extras] [--shapes] [--large] [--thumbs] [--labels] [--links-per-page N] [--toc-entries N] [--picture FILE] [--text]');
  return a;
}

function main() {
  const a = parseArgs(process.argv.slice(2));
  const settings = DEFAULT_SETTINGS.map((kv) => kv.slice());
  const setValue = (k, v) => {
    const row = settings.find((kv) => kv[0] === k);
    if (row) row[1] = v; else settings.push([k, v]);
  };
  setValue('pageWidth', String(a.width));
  setValue('pageHeight', String(a.height));
  if (a.rtl) setValue('rightToLeft', 'YES');
  if (a.extras) writeExtras(a.out, setValue);
  for (const s of a.set) {
    const at = s.indexOf('=');
    setValue(s.slice(0, at), s.slice(at + 1));
  }
  const hardCover = String(settings.find((kv) => kv[0] === 'isHardCover')[1]).toUpperCase() === 'YES';
  const numbers = [];
  for (let i = 0; i < a.pages; i++) numbers.push(a.first + i);

  const links = (i) => a.linksPerPage > 0 ? manyLinks(i, numbers, a.linksPerPage) : linksFor(i, numbers);
  const ext = a.picture ? path.extname(a.picture).slice(1) : 'png';
  const dirs = { page: 1, large: a.large ? 2 : 0, thumb: a.thumbs ? 200 / a.width : 0 };
  for (const [name, scale] of Object.entries(dirs)) {
    if (!scale) continue;
    const dir = path.join(a.out, 'files', name);
    fs.mkdirSync(dir, { recursive: true });
    numbers.forEach((num, i) => {
      const file = path.join(dir, num + '.' + ext);
      if (a.picture) {
        try { fs.linkSync(a.picture, file); } catch (e) { fs.copyFileSync(a.picture, file); }
        return;
      }
      const landscape = a.shapes && i % 7 === 2;
      const w = Math.round((landscape ? a.height : a.width) * scale), h = Math.round((landscape ? a.width : a.height) * scale);
      const boxes = a.links ? links(i).filter((l) => !l.hostile) : [];
      fs.writeFileSync(file, drawPage(w, h, num, boxes, a.text && !landscape ? pageWords(num, i) : null));
    });
  }
  const more = {
    links: links,
    toc: a.tocEntries > 0 ? manyEntries(numbers, a.tocEntries) : null,
    largeUrl: a.large ? (num) => './files/large/' + num + '.' + ext : null,
    thumbUrl: a.thumbs ? (num) => './files/thumb/' + num + '.' + ext : null
  };
  const xml = bookXml(numbers, settings, a.links, a.toc, ext, hardCover, more);
  if (a.labels) fs.writeFileSync(path.join(a.out, 'files', 'pages.js'), dataScript('pages', 0, { v: 1, labels: testLabels(numbers.length) }));
  if (a.text) writeText(a.out, numbers);
  const bin = makeBookBin(xml, { stored: a.stored });
  fs.writeFileSync(path.join(a.out, 'files', 'book.bin'), bin);
  fs.writeFileSync(path.join(a.out, 'files', 'book.bin.js'), 'window.folivoxBookBin = "' + bin.toString('base64') + '";\n');
  const title = settings.find((kv) => kv[0] === 'bookTitle')[1] || 'Folivox';
  fs.writeFileSync(path.join(a.out, 'index.html'), fillPlaceholders(playerPage(a.player), title));
  process.stdout.write('wrote ' + numbers.length + ' pages to ' + a.out + '\n');
}

module.exports = { makeZip, makeBookBin, bookXml, encodePng, testLabels, dataScript };

if (require.main === module) {
  try { main(); } catch (e) { process.stderr.write(String(e.message || e) + '\n'); process.exit(1); }
}
