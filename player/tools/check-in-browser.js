#!/usr/bin/env node
/* Plays a published book in headless Chromium and checks what a reader would see:
 * the first spread's pictures, contents entries, link areas, a key press turning the
 * page, #page=N, and no script errors. Screenshots go to SHOTDIR.
 *
 *   node --experimental-websocket check-in-browser.js URL [SHOTDIR] [--size WxH] [--reduced]
 *
 * URL is file:///.../index.html or http://127.0.0.1:PORT/index.html. Exit code 1 on
 * a failed check. */
'use strict';

const path = require('path');
const { launch, sleep } = require('./cdp.js');

async function main() {
  const argv = process.argv.slice(2);
  let url = null, dir = null, width = 1280, height = 800, reduced = false;
  for (let i = 0; i < argv.length; i++) {
    if (argv[i] === '--size') { const m = /^(\d+)x(\d+)$/.exec(argv[++i]); width = +m[1]; height = +m[2]; }
    else if (argv[i] === '--reduced') reduced = true;
    else if (!url) url = argv[i];
    else dir = argv[i];
  }
  if (!url) throw new Error('usage: check-in-browser.js URL [SHOTDIR] [--size WxH] [--reduced]');
  if (dir) require('fs').mkdirSync(dir, { recursive: true });
  const shot = (name) => dir ? b.screenshot(path.join(dir, name + '.png')) : Promise.resolve();
  const failures = [];
  const check = (ok, what) => { process.stdout.write((ok ? 'ok   ' : 'FAIL ') + what + '\n'); if (!ok) failures.push(what); };

  const b = await launch({ width, height, reducedMotion: reduced });
  try {
    const t0 = Date.now();
    await b.open(url);
    await b.waitFor('window.folivoxState && window.folivoxState !== "loading"', 20000);
    const state = await b.eval('window.folivoxState');
    check(state === 'ready', 'book opens (state ' + state + (state === 'error' ? ': ' + await b.eval('window.folivoxError') : '') + ') in ' + (Date.now() - t0) + ' ms');
    await sleep(150);
    await shot('1-open');
    if (state !== 'ready') return failures;

    const info = await b.eval('({ n: folivoxPlayer.pageCount(), view: folivoxPlayer.pagesInView(), single: folivoxPlayer.singlePage(),' +
      ' imgs: document.querySelectorAll("img.fv-picture").length, loaded: [].every.call(document.querySelectorAll("img.fv-picture"), function (i) { return i.complete && i.naturalWidth > 0; }),' +
      ' hash: location.hash, ready: window.folivoxReadyTime })');
    process.stdout.write('     pages ' + info.n + ', in view ' + JSON.stringify(info.view) + ', single ' + info.single + ', first paint at ' + Math.round(info.ready) + ' ms\n');
    check(info.imgs >= 1 && info.imgs <= 12 && info.loaded, 'first spread pictures loaded (' + info.imgs + ' <img> in the page)');

    // Forward is to the left in a right-to-left book.
    const rtl = await b.eval('folivoxPlayer.options.rightToLeft');
    if (rtl) await b.key('ArrowLeft', 'ArrowLeft', 37);
    else await b.key('ArrowRight', 'ArrowRight', 39);
    await sleep(250);
    await shot('2-turning');
    await b.waitFor('!document.querySelector(".fv-leaf")', 5000);
    await sleep(100);
    const after = await b.eval('({ view: folivoxPlayer.pagesInView(), hash: location.hash })');
    check(JSON.stringify(after.view) !== JSON.stringify(info.view), 'arrow key turns the page to ' + JSON.stringify(after.view) + ', hash ' + after.hash);
    await shot('3-turned');

    const links = await b.eval('[].map.call(document.querySelectorAll("a.fv-link"), function (a) { return { href: a.getAttribute("href"), target: a.target, rel: a.rel, tab: a.tabIndex }; })');
    process.stdout.write('     link areas in view: ' + JSON.stringify(links) + '\n');
    check(links.every((l) => /^(https?:|mailto:|#page=)/.test(l.href)), 'link areas carry only web, mail and page targets');
    check(links.filter((l) => /^(https?:|mailto:)/.test(l.href)).every((l) => l.target === '_blank' && /noopener/.test(l.rel)), 'web links open in a new tab with noopener');

    await b.eval('document.querySelector(".fv-contents") && document.querySelector(".fv-contents").click()');
    await sleep(400);
    const toc = await b.eval('[].map.call(document.querySelectorAll(".fv-toc-entry, .fv-toc-heading"), function (e) { return e.textContent; })');
    check(toc.length > 0, 'contents entries: ' + JSON.stringify(toc));
    await shot('4-contents');
    await b.key('Escape', 'Escape', 27);
    await sleep(300);

    await b.eval('document.querySelector(".fv-thumbnails") && document.querySelector(".fv-thumbnails").click()');
    await sleep(400);
    const thumbs = await b.eval('document.querySelectorAll(".fv-thumb img").length');
    process.stdout.write('     thumbnails drawn: ' + thumbs + '\n');
    await shot('5-thumbnails');
    await b.eval('document.querySelector(".fv-thumbnails") && document.querySelector(".fv-thumbnails").click()');

    await b.eval('location.hash = "#page=7"');
    await sleep(200);
    await b.waitFor('!document.querySelector(".fv-leaf")', 5000);
    const deep = await b.eval('({ view: folivoxPlayer.pagesInView(), hash: location.hash })');
    check(deep.view.indexOf(6) >= 0 && deep.hash === '#page=7', '#page=7 shows page 7: ' + JSON.stringify(deep));

    await b.eval('document.querySelector(".fv-zoom-in") && document.querySelector(".fv-zoom-in").click()');
    await sleep(200);
    await shot('6-zoomed');
    await b.key('Escape', 'Escape', 27);

    await b.key('End', 'End', 35);
    await b.waitFor('!document.querySelector(".fv-leaf")', 5000);
    await sleep(100);
    await shot('7-end');
    const end = await b.eval('folivoxPlayer.pagesInView()');
    check(end.indexOf(info.n - 1) >= 0, 'End shows the last page: ' + JSON.stringify(end));
    check(b.errors.length === 0, 'no script errors' + (b.errors.length ? ': ' + b.errors.join(' | ') : ''));
  } finally {
    await b.close();
  }
  return failures;
}

main().then((f) => process.exit(f && f.length ? 1 : 0), (e) => { process.stderr.write(String(e.stack || e) + '\n'); process.exit(1); });
