'use strict';
/* The reading features as readers use them, in Chromium and Firefox ESR at 390 x 844
 * touch and 1366 x 900: the reading view (#read=N, follows turns, font size, no
 * sideways scrolling), night mode (the system's scheme until chosen, text pages
 * turned, photographs not), read aloud (hidden without voices, the word marked, stops
 * on a turn), share and download, the events for a host page, and axe-core in the
 * reading view and night mode. */
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const { launch, binary } = require('../tools/browsers.js');
const books = require('./books.js');

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-features-'));
const html = books.playerPage();
const plainUrl = 'file://' + books.featuresBook(path.join(work, 'plain'), html) + '/index.html';
const AXE = path.join(__dirname, '..', 'node_modules', 'axe-core', 'axe.min.js');
process.on('exit', () => fs.rmSync(work, { recursive: true, force: true }));

// A web server over work/, for a host page that frames a book.
let server = null, origin = '';
function serve() {
  return new Promise((resolve) => {
    server = http.createServer((req, res) => {
      const file = path.join(work, decodeURIComponent(req.url.split('?')[0]));
      if (!file.startsWith(work) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) { res.writeHead(404); res.end(); return; }
      const type = { '.html': 'text/html', '.js': 'text/javascript', '.png': 'image/png' }[path.extname(file)] || 'application/octet-stream';
      res.writeHead(200, { 'Content-Type': type });
      fs.createReadStream(file).pipe(res);
    }).listen(0, '127.0.0.1', () => {
      origin = 'http://127.0.0.1:' + server.address().port;
      books.featuresBook(path.join(work, 'listed'), html, [['hostOrigins', origin + ' *'], ['downloadDocument', 'YES']]);
      books.featuresBook(path.join(work, 'unlisted'), html);
      fs.writeFileSync(path.join(work, 'narrow.html'), '<!DOCTYPE html><title>Narrow</title><body style="margin:0">' +
        '<iframe title="Book" style="border:0;width:320px;height:640px" src="plain/index.html#read=2"></iframe></body>');
      for (const name of ['listed', 'unlisted']) {
        fs.writeFileSync(path.join(work, 'host-' + name + '.html'), '<!DOCTYPE html><title>Host</title><body><script>' +
          'window.got = []; addEventListener("message", function (e) { got.push(e.origin + " " + e.data.page); });</script>' +
          '<iframe title="Book" style="width:380px;height:600px" src="' + name + '/index.html#page=2"></iframe></body>');
      }
      resolve();
    });
  });
}

const SIZES = [
  { name: 'phone', width: 390, height: 844, touch: true },
  { name: 'desktop', width: 1366, height: 900, touch: false }
];

async function openAt(b, url, hash) {
  await b.open('about:blank');
  await b.open(url + (hash || ''));
  await b.waitFor('window.folivoxState === "ready"');
  await b.waitFor('!document.querySelector(".fv-leaf")');
}

async function axe(b) {
  await b.eval('(function () {' + fs.readFileSync(AXE, 'utf8') + '\n}).call(window)');
  return b.eval('axe.run(document, { runOnly: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"] }).then(function (r) {' +
    ' return r.violations.map(function (v) { return v.id + ": " + v.nodes.map(function (n) { return n.target.join(" "); }).join(", "); }); })');
}

// A stand-in for the browser's speech with one voice: it says each word it is given
// by its boundary events and records what it was asked.
const FAKE_SPEECH = '(function () { var said = window.said = { texts: [], cancels: 0 };' +
  ' var fake = { getVoices: function () { return [{ name: "test" }]; }, addEventListener: function () {},' +
  '  cancel: function () { said.cancels++; },' +
  '  speak: function (u) { said.texts.push(u.text); setTimeout(function () { u.onboundary({ name: "word", charIndex: u.text.indexOf("command") }); }, 10); } };' +
  ' Object.defineProperty(window, "speechSynthesis", { value: fake, configurable: true }); })()';

before(serve);
after(() => { if (server) server.close(); });

for (const kind of ['chromium', 'firefox']) {
  for (const size of SIZES) {
    describe(kind + ' ' + size.name + ' ' + size.width + 'x' + size.height, { skip: binary(kind) ? false : kind + ' is not installed' }, () => {
      let b = null;
      before(async () => { b = await launch(kind, size); });
      after(async () => { if (b) await b.close(); });

      it('the reading view: the page as text, in the address, following turns, its size set, no sideways scrolling', async () => {
        await openAt(b, plainUrl, '#page=2');
        await b.eval('localStorage.clear()');
        await b.waitFor('!document.querySelector(".fv-read-button").hidden');
        await b.eval('document.querySelector(".fv-read-button").click()');
        await b.waitFor('document.querySelector(".fv-read.fv-open h2")');
        assert.strictEqual(await b.eval('document.querySelector(".fv-read h2").textContent'), 'Getting started');
        const text = await b.eval('[].map.call(document.querySelectorAll(".fv-read p:not(.fv-read-page), .fv-read li"), function (e) { return e.textContent; })');
        assert.ok(text.includes('The commandline tool is small.') && text.includes('first') && text.includes('second'), JSON.stringify(text));
        assert.match(await b.eval('location.hash'), /^#read=2$/);
        const wide = '(function () { var r = document.querySelector(".fv-read"); return [r.scrollWidth, r.clientWidth, document.documentElement.scrollWidth, innerWidth]; })()';
        let w = await b.eval(wide);
        assert.ok(w[0] <= w[1] && w[2] <= w[3], 'sideways scrolling: ' + w);
        const before = await b.eval('parseFloat(getComputedStyle(document.querySelector(".fv-read-text")).fontSize)');
        for (let i = 0; i < 4; i++) await b.eval('document.querySelector(".fv-read-larger").click()');
        const after = await b.eval('parseFloat(getComputedStyle(document.querySelector(".fv-read-text")).fontSize)');
        assert.ok(after > before, before + ' -> ' + after);
        w = await b.eval(wide);
        assert.ok(w[0] <= w[1], 'sideways scrolling at the larger size: ' + w);
        await b.eval('folivoxPlayer.goTo(5)');
        await b.waitFor('/Plain page 6/.test(document.querySelector(".fv-read-text").textContent)');
        await b.keys(['Escape']);
        await b.waitFor('!document.querySelector(".fv-read.fv-open") && /^#page=/.test(location.hash)');
        // On a screen 320 px wide, at the largest text size too.
        await b.open('about:blank');
        await b.open(origin + '/narrow.html');
        const frame = 'document.querySelector("iframe").contentWindow';
        await b.waitFor(frame + '.document.querySelector(".fv-read.fv-open h2")');
        for (let i = 0; i < 8; i++) await b.eval(frame + '.document.querySelector(".fv-read-larger").click()');
        w = await b.eval('(function (win) { var r = win.document.querySelector(".fv-read");' +
          ' return [r.scrollWidth, r.clientWidth, win.document.documentElement.scrollWidth, win.innerWidth]; })(' + frame + ')');
        assert.strictEqual(w[3], 320);
        assert.ok(w[0] <= w[1] && w[2] <= w[3], 'sideways scrolling at 320 px: ' + w);
        // Opened from the address, at the start and on an open book.
        await openAt(b, plainUrl, '#read=2');
        await b.waitFor('document.querySelector(".fv-read.fv-open h2")');
        await b.eval('location.hash = "#read=7"');
        await b.waitFor('/Plain page 7/.test(document.querySelector(".fv-read-text").textContent)');
      });

      it('night mode: the system\'s scheme until chosen; text pages turned, photographs not', async () => {
        await openAt(b, plainUrl, '#page=4');
        await b.eval('localStorage.clear()');
        await openAt(b, plainUrl, '#page=4');
        const dark = await b.eval('matchMedia("(prefers-color-scheme: dark)").matches');
        assert.strictEqual(await b.eval('document.getElementById("folivox").classList.contains("fv-night")'), dark);
        if (!dark) await b.eval('document.querySelector(".fv-night-button").click()');
        assert.strictEqual(await b.eval('document.querySelector(".fv-night-button").getAttribute("aria-pressed")'), 'true');
        const filters = await b.eval('folivoxPlayer.pagesInView().map(function (p) { return [p + 1, getComputedStyle(document.querySelector(' +
          '".fv-page[data-page=\\"" + (p + 1) + "\\"] .fv-picture")).filter]; })');
        for (const [p, f] of filters) assert.strictEqual(f === 'none', p === 4, 'page ' + p + ': ' + f);
        assert.notStrictEqual(await b.eval('getComputedStyle(document.querySelector(".fv-bar")).backgroundColor'), 'rgb(31, 38, 48)');
        // The choice is kept.
        await openAt(b, plainUrl, '#page=4');
        assert.ok(await b.eval('document.getElementById("folivox").classList.contains("fv-night")'));
        await b.eval('document.querySelector(".fv-night-button").click()');
        assert.strictEqual(await b.eval('document.getElementById("folivox").classList.contains("fv-night")'), false);
        await b.eval('localStorage.clear()');
      });

      it('read aloud: hidden without voices; reads the page, marks the word, stops on a turn', async () => {
        await openAt(b, plainUrl, '#page=2');
        await b.waitFor('!document.querySelector(".fv-read-button").hidden');
        const voices = await b.eval('!!(window.speechSynthesis && speechSynthesis.getVoices().length)');
        assert.strictEqual(await b.eval('document.querySelector(".fv-speak").hidden'), !voices);
        await b.eval(FAKE_SPEECH);
        await b.eval('folivoxPlayer.goTo(1)');
        await b.waitFor('!document.querySelector(".fv-speak").hidden');
        await b.waitFor('document.querySelectorAll(".fv-page[data-page=\\"2\\"] .fv-text span").length > 5');
        await b.eval('document.querySelector(".fv-speak").click()');
        await b.waitFor('document.querySelector(".fv-spoken")');
        assert.strictEqual(await b.eval('document.querySelector(".fv-spoken").textContent.trim()'), 'command-');
        assert.match(await b.eval('said.texts[0]'), /^Getting started The commandline tool is small\./);
        await b.eval('folivoxPlayer.goTo(6)');
        await b.waitFor('said.cancels > 0 && !document.querySelector(".fv-spoken")');
        assert.strictEqual(await b.eval('document.querySelector(".fv-speak").getAttribute("aria-pressed")'), 'false');
      });

      it('share hands over the page\'s link, or copies it; download only when the publisher asked', async () => {
        await openAt(b, plainUrl, '#page=3');
        assert.strictEqual(await b.eval('!!document.querySelector(".fv-download")'), false);
        await b.eval('(function () { window.shared = null; Object.defineProperty(navigator, "share", { configurable: true,' +
          ' value: function (d) { window.shared = d.url; return Promise.resolve(); } }); })()');
        await b.eval('document.querySelector(".fv-share").click()');
        assert.match(await b.eval('window.shared'), /\/plain\/index\.html#page=3$/);
        await b.eval('(function () { Object.defineProperty(navigator, "share", { configurable: true, value: undefined });' +
          ' window.copied = null; Object.defineProperty(navigator, "clipboard", { configurable: true,' +
          ' value: { writeText: function (t) { window.copied = t; return Promise.resolve(); } } }); })()');
        await b.eval('document.querySelector(".fv-share").click()');
        await b.waitFor('document.querySelector(".fv-note").textContent === "Link copied"');
        assert.match(await b.eval('window.copied'), /#page=3$/);
        await openAt(b, origin + '/listed/index.html');
        assert.strictEqual(await b.eval('document.querySelector("a.fv-download").getAttribute("href")'), 'files/document.pdf');
      });

      it('a host page hears of turns: an event on the document, a message only to listed origins', async () => {
        await openAt(b, plainUrl, '#page=2');
        await b.eval('(function () { window.heard = []; document.addEventListener("folivoxpagechange", function (e) { heard.push(e.detail.page); }); })()');
        await b.eval('folivoxPlayer.goTo(5)');
        await b.waitFor('heard.length > 0');
        assert.strictEqual(await b.eval('heard[heard.length - 1]'), 6);
        if (size.width < 500 && kind === 'firefox') return;   // already in a frame of the harness
        for (const name of ['listed', 'unlisted']) {
          await b.open('about:blank');
          await b.open(origin + '/host-' + name + '.html');
          await b.waitFor('document.querySelector("iframe").contentWindow.folivoxState === "ready"');
          await b.eval('document.querySelector("iframe").contentWindow.folivoxPlayer.goTo(6)');
          await b.waitFor('document.querySelector("iframe").contentWindow.folivoxPlayer.pagesInView().indexOf(6) >= 0');
          if (name === 'listed') await b.waitFor('window.got.indexOf(' + JSON.stringify(origin + ' 7') + ') >= 0');
          await new Promise((r) => setTimeout(r, 200));
          if (name === 'unlisted') assert.deepStrictEqual(await b.eval('window.got'), []);
        }
      });

      it('no accessibility faults in the reading view and in night mode (axe-core)', { skip: fs.existsSync(AXE) ? false : 'run npm ci in player/' }, async () => {
        await openAt(b, plainUrl, '#read=2');
        await b.waitFor('document.querySelector(".fv-read.fv-open h2")');
        assert.deepStrictEqual(await axe(b), []);
        await openAt(b, plainUrl, '#page=2');
        await b.eval('document.getElementById("folivox").classList.contains("fv-night") || document.querySelector(".fv-night-button").click()');
        assert.deepStrictEqual(await axe(b), []);
        await b.eval('document.querySelector(".fv-read-button").click()');
        await b.waitFor('document.querySelector(".fv-read.fv-open h2")');
        assert.deepStrictEqual(await axe(b), []);
        await b.eval('localStorage.clear()');
      });
    });
  }
}
