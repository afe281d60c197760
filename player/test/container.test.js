'use strict';
const test = require('node:test');
const assert = require('node:assert');
const zlib = require('node:zlib');
const C = require('../src/container.js');
const { makeZip, makeBookBin } = require('../tools/make-test-book.js');

const hex = (u8) => Buffer.from(u8).toString('hex').toUpperCase();

test('RC4 matches the published vectors and undoes itself', () => {
  assert.strictEqual(hex(C.rc4('Key', 'Plaintext')), 'BBF316E8D940AF0AD3');
  assert.strictEqual(hex(C.rc4('Wiki', 'pedia')), '1021BF0420');
  assert.strictEqual(hex(C.rc4('Secret', 'Attack at dawn')), '45A01F645FC35B383552544B9BF5');
  const data = Buffer.from('book.xml bytes \u00e9'.repeat(50));
  assert.deepStrictEqual(Buffer.from(C.rc4(C.BOOK_KEY, C.rc4(C.BOOK_KEY, data))), data);
  // Keys beyond 512 bytes are cut, so both of these schedule the same state.
  const long = Buffer.alloc(600, 7);
  assert.deepStrictEqual(C.rc4(long, data), C.rc4(long.subarray(0, 512), data));
  assert.throws(() => C.rc4('', data));
});

test('CRC-32 check value', () => {
  assert.strictEqual(C.crc32(Buffer.from('123456789')), 0xcbf43926);
  assert.strictEqual(C.crc32(new Uint8Array(0)), 0);
});

test('zip entry reading: deflated and stored entries', () => {
  const xml = Buffer.from('<flipbook count="0"/>'.repeat(20));
  for (const stored of [false, true]) {
    const e = C.readZipEntry(makeZip('book.xml', xml, { stored }));
    assert.strictEqual(e.name, 'book.xml');
    assert.strictEqual(e.method, stored ? 0 : 8);
    assert.strictEqual(e.size, xml.length);
    assert.strictEqual(e.crc, C.crc32(xml));
    const body = stored ? Buffer.from(e.data) : zlib.inflateRawSync(e.data);
    assert.deepStrictEqual(body, xml);
  }
});

test('zip entry reading: sizes from the central directory when flag bit 3 is set', () => {
  const xml = Buffer.from('<flipbook/>');
  const zip = makeZip('book.xml', xml);
  zip.writeUInt16LE(8, 6);
  zip.writeUInt32LE(0, 14);
  zip.writeUInt32LE(0, 18);
  zip.writeUInt32LE(0, 22);
  const e = C.readZipEntry(zip);
  assert.strictEqual(e.size, xml.length);
  assert.deepStrictEqual(zlib.inflateRawSync(e.data), xml);
});

test('zip entry reading refuses damaged archives', () => {
  const zip = makeZip('book.xml', Buffer.from('<flipbook/>'.repeat(30)));
  const damaged = (mutate) => { const z = Buffer.from(zip); mutate(z); return z; };
  const cases = {
    'not a zip': Buffer.from('PK\u0005\u0006 and more bytes than thirty of them'),
    'too short': zip.subarray(0, 20),
    'truncated data': zip.subarray(0, 45),
    'name past the end': damaged((z) => z.writeUInt16LE(60000, 26)),
    'encrypted entry': damaged((z) => z.writeUInt16LE(1, 6)),
    'unknown method': damaged((z) => z.writeUInt16LE(12, 8)),
    'zip64 marker': damaged((z) => z.writeUInt32LE(0xffffffff, 22)),
    'huge size': damaged((z) => z.writeUInt32LE(0x7fffffff, 22))
  };
  for (const [what, bytes] of Object.entries(cases)) {
    assert.throws(() => C.readZipEntry(bytes), (e) => e.folivoxDamaged === true, what);
  }
});

test('gzip wrapping gives a member that gunzip accepts and checks', () => {
  const xml = Buffer.from('<flipbook>\u00fc</flipbook>'.repeat(100));
  const raw = zlib.deflateRawSync(xml);
  const gz = C.wrapGzip(raw, C.crc32(xml), xml.length);
  assert.strictEqual(gz.length, raw.length + 18);
  assert.deepStrictEqual(zlib.gunzipSync(gz), xml);
  // A wrong CRC or size in the trailer must be caught by the inflater.
  assert.throws(() => zlib.gunzipSync(C.wrapGzip(raw, C.crc32(xml) ^ 1, xml.length)));
  assert.throws(() => zlib.gunzipSync(C.wrapGzip(raw, C.crc32(xml), xml.length + 1)));
});

const canInflate = typeof DecompressionStream === 'function';

test('book.bin decodes to book.xml through DecompressionStream', { skip: !canInflate }, async () => {
  const xml = '<?xml version="1.0"?>\n<flipbook count="1"><extConfig><item name="bookTitle">Caf\u00e9</item></extConfig></flipbook>\n';
  assert.strictEqual(await C.decodeBookBin(makeBookBin(xml)), xml);
  assert.strictEqual(await C.decodeBookBin(makeBookBin(xml, { stored: true })), xml);
  const viaBase64 = C.base64ToBytes(makeBookBin(xml).toString('base64').replace(/(.{60})/g, '$1\n'));
  assert.strictEqual(await C.decodeBookBin(viaBase64), xml);
});

test('damaged book.bin is refused, not half read', { skip: !canInflate }, async () => {
  const xml = '<flipbook count="0">' + 'x'.repeat(5000) + '</flipbook>';
  const bin = makeBookBin(xml);
  const flipped = Buffer.from(bin);
  flipped[60] ^= 0x55;
  const isDamaged = (e) => e.folivoxDamaged === true;
  await assert.rejects(C.decodeBookBin(flipped), isDamaged);
  // Cut inside the deflate stream.
  await assert.rejects(C.decodeBookBin(bin.subarray(0, 70)), isDamaged);
  await assert.rejects(C.decodeBookBin(Buffer.from('not a book at all, just text')), isDamaged);
  // A declared size smaller than the data must stop the inflater early.
  const zip = makeZip('book.xml', Buffer.from(xml));
  zip.writeUInt32LE(100, 22);
  await assert.rejects(C.decodeBookBin(C.rc4(C.BOOK_KEY, zip)), isDamaged);
  // A stored entry whose bytes do not match its CRC.
  const stored = makeZip('book.xml', Buffer.from(xml), { stored: true });
  stored[40] ^= 1;
  await assert.rejects(C.decodeBookBin(C.rc4(C.BOOK_KEY, stored)), isDamaged);
});
