/* What a reader downloads, counted as Chromium receives it over http: opening the book
 * (until the first spread has painted and the network is quiet), then ten turns, then
 * one zoom to 200 %; and, on an emulated slow link, when the first page shows.
 *
 *   node [--experimental-websocket] bench/reader_bench.js URL [--phone] [--slow]
 *
 * --phone: a 412 x 915 screen at two device pixels per CSS pixel, one page at a time.
 * --slow: 1.6 Mbit/s down, 150 ms latency; prints first_page_s instead of the bytes.
 * Prints one line: open=<bytes> turns10=<bytes> zoom=<bytes> requests=<n>, then the
 * bytes of the whole run by folder of the book (page, text, thumb, large, other). */
'use strict';
const path = require('path');
const { launch, sleep } = require(path.join(__dirname, '..', 'player', 'tools', 'cdp.js'));

async function main() {
  const url = process.argv[2];
  const phone = process.argv.includes('--phone');
  const slow = process.argv.includes('--slow');
  if (!url) throw new Error('usage: reader_bench.js URL [--phone] [--slow]');
  const b = await launch({ width: phone ? 412 : 1280, height: phone ? 915 : 800 });
  let received = 0, requests = 0, last = Date.now(), cursor = 0;
  const urls = new Map(), byKind = {};
  // The driver keeps every event; the network's are counted as they come.
  function drain() {
    for (; cursor < b.events.length; cursor++) {
      const msg = b.events[cursor];
      if (msg.method === 'Network.requestWillBeSent') {
        requests++;
        last = Date.now();
        urls.set(msg.params.requestId, msg.params.request.url);
      }
      if (msg.method === 'Network.loadingFinished') {
        received += msg.params.encodedDataLength;
        last = Date.now();
        const m = /\/files\/(page|text|thumb|large)\//.exec(urls.get(msg.params.requestId) || '');
        const kind = m ? m[1] : 'other';
        byKind[kind] = (byKind[kind] || 0) + msg.params.encodedDataLength;
      }
    }
  }
  await b.send('Network.enable');
  await b.send('Network.setCacheDisabled', { cacheDisabled: false });
  if (phone) await b.send('Emulation.setDeviceMetricsOverride', { width: 412, height: 915, deviceScaleFactor: 2, mobile: true });
  if (slow) {
    await b.send('Network.emulateNetworkConditions', { offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8 });
  }
  async function quiet() {
    for (;;) {
      await sleep(200);
      drain();
      if (Date.now() - last > 1500) return;
    }
  }
  const start = Date.now();
  await b.open(url);
  await b.waitFor('window.folivoxState === "ready"', 120000);
  if (slow) {
    const shown = await b.eval('window.folivoxReadyTime');
    console.log('first_page_s=' + (shown / 1000).toFixed(2) + ' wall_s=' + ((Date.now() - start) / 1000).toFixed(2));
    await b.close();
    return;
  }
  await quiet();
  const open = received;
  for (let i = 0; i < 10; i++) {
    await b.eval('folivoxPlayer.next()');
    await b.waitFor('!document.querySelector(".fv-leaf")', 20000);
    await sleep(300);
  }
  await quiet();
  const turns = received - open;
  await b.eval('document.querySelector(".fv-zoom-in").click(); document.querySelector(".fv-zoom-in").click()');
  await sleep(500);
  await quiet();
  const zoom = received - open - turns;
  console.log('open=' + open + ' turns10=' + turns + ' zoom=' + zoom + ' requests=' + requests + ' (' +
    Object.keys(byKind).sort().map((k) => k + '=' + byKind[k]).join(' ') + ')');
  await b.close();
}

main().catch((e) => { console.error(e.message || e); process.exit(1); });
