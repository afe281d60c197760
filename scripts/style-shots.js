#!/usr/bin/env node
/* Photographs published books in headless Chromium, for the style thumbnails.
 *
 *   node --experimental-websocket scripts/style-shots.js [--size WxH] [--scale F] [--page N] \
 *        BOOK_URL OUT.jpg [BOOK_URL OUT.jpg ...]
 *
 * Each book opens at #page=N (default 1: the cover, with the most background in view); the shot waits
 * until the player reports the spread painted, and the picture is scaled by F
 * (default 1/3) inside Chromium, so no image tool is needed. An OUT ending in .png
 * gives a PNG. Uses player/tools/cdp.js: node 20+ and Debian's chromium. */
'use strict';

const path = require('path');
const { launch, sleep } = require(path.join(__dirname, '..', 'player', 'tools', 'cdp.js'));

async function main() {
  const argv = process.argv.slice(2);
  let width = 1200, height = 900, scale = 1 / 3, page = 1;
  const jobs = [];
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    if (a === '--size') {
      const m = /^(\d+)x(\d+)$/.exec(argv[++i] || '');
      if (!m) throw new Error('--size needs WxH');
      width = +m[1];
      height = +m[2];
    } else if (a === '--scale') {
      scale = parseFloat(argv[++i]);
      if (!(scale > 0 && scale <= 4)) throw new Error('--scale needs a number above 0');
    } else if (a === '--page') {
      page = parseInt(argv[++i], 10);
      if (!(page >= 1)) throw new Error('--page needs a page number');
    } else {
      if (i + 1 >= argv.length) throw new Error('every book URL needs an output file');
      jobs.push({ url: a, out: argv[++i] });
    }
  }
  if (!jobs.length) throw new Error('usage: style-shots.js [--size WxH] [--scale F] [--page N] BOOK_URL OUT.jpg ...');

  const b = await launch({ width, height });
  let failed = 0;
  try {
    for (const job of jobs) {
      const url = job.url.replace(/#.*$/, '') + '#page=' + page;
      await b.open(url);
      await b.waitFor('window.folivoxState && window.folivoxState !== "loading"', 20000);
      const state = await b.eval('window.folivoxState');
      if (state !== 'ready') {
        process.stderr.write('style-shots: ' + job.url + ' did not open: ' + await b.eval('String(window.folivoxError)') + '\n');
        failed++;
        continue;
      }
      // The background picture and fonts settle a moment after the pages.
      await b.waitFor('document.fonts.status === "loaded"', 5000);
      await b.eval('new Promise(function (r) { requestAnimationFrame(function () { requestAnimationFrame(r); }); })');
      await sleep(300);
      const jpeg = !/\.png$/i.test(job.out);
      const r = await b.send('Page.captureScreenshot', {
        format: jpeg ? 'jpeg' : 'png',
        quality: jpeg ? 86 : undefined,
        clip: { x: 0, y: 0, width, height, scale }
      });
      require('fs').writeFileSync(job.out, Buffer.from(r.data, 'base64'));
      if (b.errors.length) {
        process.stderr.write('style-shots: script errors in ' + job.url + ': ' + b.errors.join(' | ') + '\n');
        failed++;
      }
      process.stdout.write(job.out + '\n');
    }
  } finally {
    await b.close();
  }
  return failed;
}

main().then((f) => process.exit(f ? 1 : 0), (e) => { process.stderr.write(String(e.stack || e) + '\n'); process.exit(1); });
