/* How sharp a page of text is at 400 % on a screen of two device pixels per CSS
 * pixel, against pdftoppm's render of the same page at that resolution: the
 * steepness of the edges of the letters in the screenshot, as a ratio of
 * pdftoppm's (budget: at least 0.8).
 *
 *   node [--experimental-websocket] bench/zoom_sharpness.js BOOK_URL FILE.pdf PAGE
 *
 * Steepness: over every pair of neighbouring pixels across a letter's edge (a
 * luminance step of more than 48), the mean step. A soft edge spreads the same
 * contrast over more pixels, so its steps are smaller. Prints
 * steepness_book=<..> steepness_pdftoppm=<..> ratio=<..> dpi=<..>. */
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { execFileSync } = require('child_process');
const { launch, sleep } = require(path.join(__dirname, '..', 'player', 'tools', 'cdp.js'));

// Grey levels of a PNG (8-bit RGB or RGBA, as Chromium writes them).
function pngGrey(buf) {
  let pos = 8, width = 0, height = 0, channels = 0;
  const idat = [];
  while (pos < buf.length) {
    const len = buf.readUInt32BE(pos), type = buf.toString('latin1', pos + 4, pos + 8);
    const data = buf.subarray(pos + 8, pos + 8 + len);
    if (type === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      if (data[8] !== 8 || (data[9] !== 2 && data[9] !== 6)) throw new Error('unexpected PNG format');
      channels = data[9] === 2 ? 3 : 4;
    } else if (type === 'IDAT') idat.push(data);
    pos += 12 + len;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const stride = width * channels, out = new Uint8Array(width * height);
  let prev = Buffer.alloc(stride), p = 0;
  for (let y = 0; y < height; y++) {
    const filter = raw[p++], row = Buffer.from(raw.subarray(p, p + stride));
    p += stride;
    for (let i = 0; i < stride; i++) {
      const a = i >= channels ? row[i - channels] : 0, b = prev[i], c = i >= channels ? prev[i - channels] : 0;
      let add = 0;
      if (filter === 1) add = a;
      else if (filter === 2) add = b;
      else if (filter === 3) add = (a + b) >> 1;
      else if (filter === 4) { const q = a + b - c, pa = Math.abs(q - a), pb = Math.abs(q - b), pc = Math.abs(q - c); add = pa <= pb && pa <= pc ? a : pb <= pc ? b : c; }
      row[i] = (row[i] + add) & 255;
    }
    for (let x = 0; x < width; x++) out[y * width + x] = Math.round(0.299 * row[x * channels] + 0.587 * row[x * channels + 1] + 0.114 * row[x * channels + 2]);
    prev = row;
  }
  return { width, height, grey: out };
}

// pdftoppm -gray writes a binary PGM: "P5", width, height, maximum, one white space, the bytes.
function pgm(buf) {
  const tokens = [];
  let i = 0;
  while (tokens.length < 4) {
    while (/\s/.test(String.fromCharCode(buf[i]))) i++;
    let t = '';
    while (!/\s/.test(String.fromCharCode(buf[i]))) t += String.fromCharCode(buf[i++]);
    tokens.push(t);
  }
  const width = +tokens[1], height = +tokens[2];
  return { width, height, grey: buf.subarray(i + 1, i + 1 + width * height) };
}

function steepness(img) {
  let sum = 0, n = 0;
  const { width, height, grey } = img;
  for (let y = 0; y < height; y++) {
    for (let x = 1; x < width; x++) {
      const d = Math.abs(grey[y * width + x] - grey[y * width + x - 1]);
      if (d > 48) { sum += d; n++; }
    }
  }
  return n ? sum / n : 0;
}

async function main() {
  const [url, pdf, pageArg] = process.argv.slice(2);
  if (!url || !pdf || !pageArg) throw new Error('usage: zoom_sharpness.js BOOK_URL FILE.pdf PAGE');
  const page = parseInt(pageArg, 10);
  const b = await launch({ width: 1280, height: 800 });
  await b.send('Emulation.setDeviceMetricsOverride', { width: 1280, height: 800, deviceScaleFactor: 2, mobile: false });
  await b.open(url + '#page=' + page);
  await b.waitFor('window.folivoxState === "ready"', 60000);
  for (let i = 0; i < 4; i++) await b.eval('document.querySelector(".fv-zoom-in").click()');
  const sel = '.fv-page[data-page="' + page + '"] img.fv-picture';
  await b.waitFor('(function () { var i = document.querySelector(\'' + sel + '\'); return i && i.complete && i.naturalWidth > 0 && i.getAttribute("src").indexOf("/large/") >= 0; })()', 60000);
  await sleep(1500);
  const cssWidth = await b.eval('document.querySelector(\'' + sel + '\').getBoundingClientRect().width');
  const shot = path.join(os.tmpdir(), 'folivox-zoom-' + process.pid + '.png');
  await b.screenshot(shot);
  await b.close();
  const book = pngGrey(fs.readFileSync(shot));
  fs.unlinkSync(shot);
  // The page's width in device pixels over its width in inches.
  const points = parseFloat(execFileSync('pdfinfo', ['-f', String(page), '-l', String(page), pdf]).toString().match(/Page\s+\d+ size:\s+([\d.]+)/)[1]);
  const dpi = Math.round(cssWidth * 2 / (points / 72));
  const ref = pgm(execFileSync('pdftoppm', ['-gray', '-r', String(dpi), '-f', String(page), '-l', String(page), pdf], { maxBuffer: 1 << 30 }));
  const s = steepness(book), r = steepness(ref);
  console.log('steepness_book=' + s.toFixed(1) + ' steepness_pdftoppm=' + r.toFixed(1) + ' ratio=' + (s / r).toFixed(3) + ' dpi=' + dpi);
}

main().catch((e) => { console.error(e.message || e); process.exit(1); });
