#!/usr/bin/env node
/* Opens published books in headless Chromium and measures what a reader waits for:
 * the time from navigation to the first painted spread (window.folivoxReadyTime, taken
 * by the player when the spread's pictures have loaded) and how many page pictures
 * are in the document, at the start, after a few turns, after a jump and with the
 * thumbnail strip open.
 *
 *   node --experimental-websocket bench/player_bench.js [--runs N] URL [URL ...]
 *
 * Prints one line per book: median, best and worst first paint over N fresh loads
 * (default 5, the books taking turns), its ratio to the first book given with the
 * same scheme (file: or http:), and the largest number of page <img> elements seen.
 * For a book with text, also how long folivox.search takes: the first search (which
 * loads files/text/all.js and readies every page) and the later ones, and how many
 * hits they find (every one: there is no cap). Uses player/tools/cdp.js. */
'use strict';

const path = require('path');
const { launch, sleep } = require(path.join(__dirname, '..', 'player', 'tools', 'cdp.js'));

const COUNT = '({ pages: document.querySelectorAll("img.fv-picture").length,' +
  ' thumbs: document.querySelectorAll(".fv-thumb img").length, all: document.images.length })';

// One fresh load of a book: the time to its first painted spread.
async function load(b, url) {
  await b.open('about:blank');
  await b.open(url);
  await b.waitFor('window.folivoxState && window.folivoxState !== "loading"', 60000);
  const state = await b.eval('window.folivoxState');
  if (state !== 'ready') throw new Error(url + ': ' + await b.eval('String(window.folivoxError)'));
  return b.eval('window.folivoxReadyTime');
}

// Reading on in the open book: turns, a jump to the middle, the thumbnail strip.
async function readOn(b, most) {
  const note = (c) => {
    most.pages = Math.max(most.pages, c.pages);
    most.thumbs = Math.max(most.thumbs, c.thumbs);
    most.all = Math.max(most.all, c.all);
  };
  note(await b.eval(COUNT));
  const count = await b.eval('folivoxPlayer.pageCount()');
  for (let i = 0; i < 4; i++) {
    await b.eval('folivoxPlayer.next()');
    await b.waitFor('!document.querySelector(".fv-leaf")', 5000);
    note(await b.eval(COUNT));
  }
  await b.eval('location.hash = "#page=' + Math.ceil(count / 2) + '"');
  await sleep(100);
  await b.waitFor('!document.querySelector(".fv-leaf")', 5000);
  note(await b.eval(COUNT));
  await b.eval('document.querySelector(".fv-thumbnails") && document.querySelector(".fv-thumbnails").click()');
  await sleep(300);
  note(await b.eval(COUNT));
  return count;
}

// Searches the open book as a reader does: the search panel, one query after the
// other, each from typing Enter to the status naming its hits (the list's first part
// and the marks drawn, the book turned to the hit). The first pays for loading and
// indexing the text. Then folivox.search once, which makes every hit's snippet.
// Returns { panel: [[query, status, ms], ...], api: [query, hits, ms] }, or null for a
// book without text.
const QUERIES = ['the', 'reader searches', '"page flip"', 'caf\u00e9', 'hyphenation', 'zebra', 'a'];
async function searchTimes(b) {
  const hasText = await b.eval('folivox.pageText(1).then(function (t) { return !!t; })');
  if (!hasText) return null;
  await b.eval('document.querySelector(".fv-search").click()');
  const panel = [];
  for (const q of QUERIES) {
    panel.push(await b.eval('new Promise(function (done) {' +
      ' var input = document.querySelector(".fv-find-input"), status = document.querySelector(".fv-find-status");' +
      ' var t = performance.now();' +
      ' var watch = new MutationObserver(function () {' +
      '  if (/[0-9]|No results/.test(status.textContent)) { watch.disconnect(); done([' + JSON.stringify(q) + ', status.textContent, performance.now() - t]); } });' +
      ' watch.observe(status, { childList: true, characterData: true, subtree: true });' +
      ' input.value = ' + JSON.stringify(q) + ';' +
      ' input.dispatchEvent(new KeyboardEvent("keydown", { key: "Enter", bubbles: true })); })'));
  }
  const api = await b.eval('(function () { var t = performance.now();' +
    ' return folivox.search("the").then(function (h) { return ["the", h.length, performance.now() - t]; }); })()');
  return { panel, api };
}

async function main() {
  const argv = process.argv.slice(2);
  let runs = 5;
  const urls = [];
  for (let i = 0; i < argv.length; i++) {
    if (argv[i] === '--runs') runs = Math.max(1, parseInt(argv[++i], 10) || 1);
    else urls.push(argv[i]);
  }
  if (!urls.length) throw new Error('usage: player_bench.js [--runs N] URL [URL ...]');
  const b = await launch({ width: 1280, height: 800 });
  let bad = 0;
  try {
    // The books take turns, so a busy moment of the machine falls on all of them.
    const times = urls.map(() => []);
    for (let r = 0; r < runs; r++) {
      for (let u = 0; u < urls.length; u++) times[u].push(await load(b, urls[u]));
    }
    const medians = times.map((t) => t.slice().sort((a, c) => a - c)[Math.floor(t.length / 2)]);
    const scheme = (u) => u.split(':')[0];
    for (let u = 0; u < urls.length; u++) {
      const most = { pages: 0, thumbs: 0, all: 0 };
      await load(b, urls[u]);
      const found = await searchTimes(b);
      await load(b, urls[u]);
      const count = await readOn(b, most);
      const t = times[u].sort((a, c) => a - c);
      const first = urls.findIndex((v) => scheme(v) === scheme(urls[u]));
      process.stdout.write(urls[u] + '\n  ' + count + ' pages: first spread painted after ' + Math.round(medians[u]) +
        ' ms (median of ' + runs + ', best ' + Math.round(t[0]) + ', worst ' + Math.round(t[t.length - 1]) + ' ms, ' +
        (medians[u] / medians[first]).toFixed(2) + 'x the first ' + scheme(urls[u]) + ' book); at most ' + most.pages +
        ' page <img> in the document (' + most.thumbs + ' thumbnails with the strip open, ' + most.all + ' <img> in all)\n');
      if (found) {
        const p = found.panel, later = p.slice(1).map((f) => f[2]);
        process.stdout.write('  search panel: first ' + Math.round(p[0][2]) + ' ms (' + p[0][0] + ': ' + p[0][1] + '), later ones median ' +
          Math.round(later.slice().sort((a, c) => a - c)[Math.floor(later.length / 2)]) + ', at most ' + Math.round(Math.max.apply(null, later)) +
          ' ms (' + p.slice(1).map((f) => f[0] + ' ' + Math.round(f[2]) + ' ms: ' + f[1]).join('; ') + ')\n' +
          '  folivox.search("' + found.api[0] + '"): ' + found.api[1] + ' hits with snippets in ' + Math.round(found.api[2]) + ' ms\n');
      }
      if (b.errors.length) {
        bad++;
        process.stdout.write('  script errors: ' + b.errors.join(' | ') + '\n');
      }
    }
  } finally {
    await b.close();
  }
  return bad;
}

main().then((bad) => process.exit(bad ? 1 : 0), (e) => { process.stderr.write(String(e.stack || e) + '\n'); process.exit(1); });
