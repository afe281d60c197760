'use strict';
const test = require('node:test');
const assert = require('node:assert');
const S = require('../src/settings.js');

test('switches, colours and lists read the way templates write them', () => {
  assert.deepStrictEqual(['YES', 'yes', 'Show', 'ENABLE', 'true'].map((v) => S.truthy(v, false)), [true, true, true, true, true]);
  assert.deepStrictEqual(['NO', '1', 'on', 'HIDE'].map((v) => S.truthy(v, true)), [false, false, false, false]);
  assert.deepStrictEqual([undefined, '', '  '].map((v) => S.truthy(v, true)), [true, true, true]);
  assert.deepStrictEqual(['0xA1B2c3', '#123456', '0x12345', 'red;background:url(x)'].map((v) => S.colour(v)), ['#a1b2c3', '#123456', null, null]);
  assert.deepStrictEqual(['Deutsch', 'Fran\u00e7ais', 'Espa\u00f1ol', 'English'].map((v) => S.languageCode(v, 'en')), ['de', 'fr', 'es', 'en']);
  assert.deepStrictEqual([S.languageCode('', 'es-MX'), S.languageCode('Klingon', 'xx')], ['es', 'en']);
});

test('file settings: an empty choice and anything outside the book mean no file', () => {
  assert.strictEqual(S.fileUrl('./files/extfiles/logoFile.png'), './files/extfiles/logoFile.png');
  for (const v of ['./files/extfiles/logoFile.', '', '   ', 'https://example.org/x.png', '//host/x.png',
    '/etc/x.png', './files/../../x.png', 'javascript:x.png', './files/extfiles/a").png', './files/extfiles/noext']) {
    assert.strictEqual(S.fileUrl(v), null, v);
  }
});

test('options from a template\'s settings', () => {
  const o = S.readOptions({
    pageWidth: '612', pageHeight: '792', languageSetting: 'Fran\u00e7ais', isHardCover: 'NO', rightToLeft: 'YES',
    flipSpeed: 'Fast', flipSound: './files/extfiles/flipSound.mp3', bgColor: '0x102030', innerMainbgImgUrl: './files/extfiles/innerMainbgImgUrl.',
    toolbarColor: '0xffffff', toolbarTextColor: 'bad', showThumbnails: 'NO', showZoom: 'YES', showPageNumber: 'no',
    bookTitle: '  My\n book ', logoFile: './files/extfiles/logoFile.jpg', logoLink: 'javascript:alert(1)',
    playerSkin: 'Classic', toolbarGroup: ''
  }, 'de-DE');
  assert.strictEqual(o.aspect.toFixed(4), (612 / 792).toFixed(4));
  assert.strictEqual(o.lang, 'fr');
  assert.strictEqual(o.texts.contents, 'Sommaire');
  assert.deepStrictEqual([o.hardCover, o.rightToLeft, o.flipMs < S.readOptions({}).flipMs], [false, true, true]);
  assert.deepStrictEqual([o.flipSound, o.bgColor, o.bgImage, o.toolbarColor, o.toolbarTextColor],
    ['./files/extfiles/flipSound.mp3', '#102030', null, '#ffffff', null]);
  assert.deepStrictEqual([o.showThumbnails, o.showContents, o.showZoom, o.showPageNumber], [false, true, true, false]);
  assert.deepStrictEqual([o.title, o.logo, o.logoLink, o.skin], ['My book', './files/extfiles/logoFile.jpg', null, 'classic']);
  assert.strictEqual(S.readOptions({ logoLink: 'mailto:a@b.example' }).logoLink, null);
  assert.strictEqual(S.readOptions({ logoLink: 'https://folivox.example' }).logoLink, 'https://folivox.example/');
});

test('defaults without settings, and every language has every text', () => {
  const o = S.readOptions(undefined, 'de');
  assert.deepStrictEqual([o.aspect, o.lang, o.skin, o.flipSound, o.showContents], [null, 'de', 'float', null, true]);
  assert.strictEqual(S.readOptions({ pageWidth: '0', pageHeight: '792' }).aspect, null);
  const keys = Object.keys(S.TEXTS.en).sort();
  for (const lang of Object.keys(S.TEXTS)) {
    assert.deepStrictEqual(Object.keys(S.TEXTS[lang]).sort(), keys, lang);
    // The other languages list their texts in English's order: one missing shifts the rest.
    for (const k of keys) assert.ok(typeof S.TEXTS[lang][k] === 'string' && S.TEXTS[lang][k], lang + ' ' + k);
  }
  assert.strictEqual(S.textsFor('de').download, 'Dokument herunterladen');
  assert.strictEqual(S.textsFor('fr').loading, 'Chargement du livre\u2026');
});

test('skins: each shipped skin has its layout, unknown ones fall back to float\'s', () => {
  const pick = (o) => [o.skin, o.header, o.margin];
  assert.deepStrictEqual(pick(S.readOptions({ playerSkin: 'slate' })), ['slate', true, 32]);
  assert.deepStrictEqual(pick(S.readOptions({ playerSkin: ' Classic ' })), ['classic', false, 48]);
  assert.deepStrictEqual(pick(S.readOptions({ playerSkin: 'holiday' })), ['holiday', false, 16]);
  assert.deepStrictEqual(pick(S.readOptions({ playerSkin: 'x" onload="y' })), ['float', false, 16]);
  assert.deepStrictEqual(pick(S.readOptions({ playerSkin: 'constructor' })), ['constructor', false, 16]);
  assert.strictEqual(S.readOptions({ accentColor: '0xC9A04A' }).accentColor, '#c9a04a');
  assert.strictEqual(S.readOptions({ accentColor: 'gold' }).accentColor, null);
});

test('host origins: only web origins written out, no wildcard, no paths', () => {
  assert.deepStrictEqual(S.origins(' https://Example.org, http://localhost:8080/ https://example.org * ' +
    'https://a.example/path javascript:alert(1) https://*.example.org null file://'), ['https://example.org', 'http://localhost:8080']);
  assert.deepStrictEqual(S.origins(undefined), []);
  assert.deepStrictEqual(S.readOptions({}).hostOrigins, []);
  assert.strictEqual(S.readOptions({}).download, null);
  assert.strictEqual(S.readOptions({ downloadDocument: 'YES' }).download, 'files/document.pdf');
});
