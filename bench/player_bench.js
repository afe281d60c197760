#!/usr/bin/env node
/* Opens published books in headless Chromium and measures what a reader waits for:
 * the time from navigation to the first painted spread (window.folivoxReadyTime, taken
 * by the player when the spread's pictures have loaded) and how many page pictures
 * are in the document, at the start, after a few turns, after a jump and with the
 * thumbnail strip open.
 *
 *   node --experimental-websocket bench/player_bench.js [--runs N] URL [URL ...]
 *
 * Prints one line per book: median and worst first paint over N fresh loads (default
 * 5), and the largest number of page <img> elements seen. Uses player/tools/cdp.js. */
'use strict';

const path = require('path');
const { launch, sleep } = require(path.join(__dirname, '..', 'player', 'tools', 'cdp.js'));

const COUNT = '({ pages: document.querySelectorAll("img.fv-picture").length,' +
  ' thumbs: document.querySelectorAll(".fv-thumb img").length, all: document.images.length })';

async function measure(b, url, runs) {
  const times = [];
  let most = { pages: 0, thumbs: 0, all: 0 };
  const note = (c) => {
    most = { pages: Math.max(most.pages, c.pages), thumbs: Math.max(most.thumbs, c.thumbs), all: Math.max(most.all, c.all) };
  };
  let count = 0;
  for (let r = 0; r < runs; r++) {
    await b.open('about:blank');
    await b.open(url);
    await b.waitFor('window.folivoxState && window.folivoxState !== "loading"', 60000);
    const state = await b.eval('window.folivoxState');
    if (state !== 'ready') throw new Error(url + ': ' + await b.eval('String(window.folivoxError)'));
    times.push(await b.eval('window.folivoxReadyTime'));
    count = await b.eval('folivoxPlayer.pageCount()');
    note(await b.eval(COUNT));
  }
  // Reading on: turns, a jump to the middle, the end, the thumbnail strip.
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
  const errors = b.errors.slice();
  times.sort((a, c) => a - c);
  return { count, median: times[Math.floor(times.length / 2)], worst: times[times.length - 1], most, errors };
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
    for (const url of urls) {
      const m = await measure(b, url, runs);
      process.stdout.write(url + '\n  ' + m.count + ' pages: first spread painted after ' + Math.round(m.median) +
        ' ms (median of ' + runs + ', worst ' + Math.round(m.worst) + ' ms); at most ' + m.most.pages +
        ' page <img> in the document (' + m.most.thumbs + ' thumbnails with the strip open, ' + m.most.all + ' <img> in all)\n');
      if (m.errors.length) {
        bad++;
        process.stdout.write('  script errors: ' + m.errors.join(' | ') + '\n');
      }
    }
  } finally {
    await b.close();
  }
  return bad;
}

main().then((bad) => process.exit(bad ? 1 : 0), (e) => { process.stderr.write(String(e.stack || e) + '\n'); process.exit(1); });
