/* Folivox player: opening files/book.bin.
 * book.bin is a one-entry zip archive encrypted as a whole with RC4. We decrypt it,
 * read the entry through its local header and inflate the raw deflate stream with the
 * browser's own DecompressionStream. Only 'gzip' is available everywhere we run
 * (QtWebEngine 6.4 lacks 'deflate-raw'), so the stream is wrapped in a gzip member
 * whose trailer carries the CRC-32 and size from the zip header: the browser then
 * checks the data for us. */
(function (F) {
  'use strict';

  var BOOK_KEY = 'qopvexlint.zarm';
  // book.xml of a very large book is a few megabytes; anything far beyond is hostile.
  var MAX_ENTRY_SIZE = 256 * 1024 * 1024;

  function asBytes(data) {
    if (data instanceof Uint8Array) return data;
    if (data instanceof ArrayBuffer) return new Uint8Array(data);
    if (ArrayBuffer.isView(data)) return new Uint8Array(data.buffer, data.byteOffset, data.byteLength);
    if (typeof data === 'string') {
      var out = new Uint8Array(data.length);
      for (var i = 0; i < data.length; i++) out[i] = data.charCodeAt(i) & 0xff;
      return out;
    }
    throw new TypeError('bytes expected');
  }

  // RC4 as published: key scheduling, then the keystream XORed from the first byte.
  function rc4(key, data) {
    var k = asBytes(key);
    var d = asBytes(data);
    if (k.length === 0) throw new Error('RC4 needs a key');
    if (k.length > 512) k = k.subarray(0, 512);
    var s = new Uint8Array(256);
    var i, j = 0, t;
    for (i = 0; i < 256; i++) s[i] = i;
    for (i = 0; i < 256; i++) {
      j = (j + s[i] + k[i % k.length]) & 0xff;
      t = s[i]; s[i] = s[j]; s[j] = t;
    }
    var out = new Uint8Array(d.length);
    i = 0; j = 0;
    for (var n = 0; n < d.length; n++) {
      i = (i + 1) & 0xff;
      j = (j + s[i]) & 0xff;
      t = s[i]; s[i] = s[j]; s[j] = t;
      out[n] = d[n] ^ s[(s[i] + s[j]) & 0xff];
    }
    return out;
  }

  var crcTable = null;
  function crc32(data) {
    var d = asBytes(data);
    if (!crcTable) {
      crcTable = new Uint32Array(256);
      for (var n = 0; n < 256; n++) {
        var c = n;
        for (var b = 0; b < 8; b++) c = (c & 1) ? (0xedb88320 ^ (c >>> 1)) : (c >>> 1);
        crcTable[n] = c >>> 0;
      }
    }
    var crc = 0xffffffff;
    for (var i = 0; i < d.length; i++) crc = crcTable[(crc ^ d[i]) & 0xff] ^ (crc >>> 8);
    return (crc ^ 0xffffffff) >>> 0;
  }

  function u16(b, o) { return b[o] | (b[o + 1] << 8); }
  function u32(b, o) { return (b[o] | (b[o + 1] << 8) | (b[o + 2] << 16) | (b[o + 3] << 24)) >>> 0; }

  function zipError(text) {
    var e = new Error(text);
    e.folivoxDamaged = true;
    return e;
  }

  // Sizes and CRC from the central directory, for archives whose local header leaves
  // them to a data descriptor (flag bit 3). Our publisher never does that, others might.
  function centralEntry(b, localOffset) {
    var min = Math.max(0, b.length - 22 - 65535);
    for (var p = b.length - 22; p >= min; p--) {
      if (u32(b, p) !== 0x06054b50) continue;
      var cd = u32(b, p + 16);
      var count = u16(b, p + 10);
      for (var e = 0; e < count; e++) {
        if (cd + 46 > b.length || u32(b, cd) !== 0x02014b50) break;
        var nameLen = u16(b, cd + 28), extraLen = u16(b, cd + 30), commentLen = u16(b, cd + 32);
        if (u32(b, cd + 42) === localOffset) {
          return { crc: u32(b, cd + 16), compressedSize: u32(b, cd + 20), size: u32(b, cd + 24) };
        }
        cd += 46 + nameLen + extraLen + commentLen;
      }
      break;
    }
    return null;
  }

  // Reads the first entry of a zip archive: name, method, sizes, CRC and its data bytes.
  function readZipEntry(data) {
    var b = asBytes(data);
    if (b.length < 30 || u32(b, 0) !== 0x04034b50) throw zipError('not a zip archive');
    var flags = u16(b, 6);
    var method = u16(b, 8);
    var crc = u32(b, 14);
    var compressedSize = u32(b, 18);
    var size = u32(b, 22);
    var nameLen = u16(b, 26);
    var extraLen = u16(b, 28);
    var start = 30 + nameLen + extraLen;
    if (start > b.length) throw zipError('zip header runs past the end of the data');
    var name = '';
    for (var i = 30; i < 30 + nameLen; i++) name += String.fromCharCode(b[i]);
    if (flags & 1) throw zipError('encrypted zip entries are not supported');
    if (flags & 8) {
      var c = centralEntry(b, 0);
      if (!c) throw zipError('zip entry sizes are missing');
      crc = c.crc; compressedSize = c.compressedSize; size = c.size;
    }
    if (compressedSize === 0xffffffff || size === 0xffffffff) throw zipError('zip64 entries are not supported');
    if (method !== 0 && method !== 8) throw zipError('unsupported zip compression method ' + method);
    if (compressedSize > b.length - start) throw zipError('zip entry is truncated');
    if (size > MAX_ENTRY_SIZE) throw zipError('zip entry is too large');
    if (method === 0 && compressedSize !== size) throw zipError('stored zip entry has inconsistent sizes');
    return {
      name: name,
      method: method,
      crc: crc,
      compressedSize: compressedSize,
      size: size,
      data: b.subarray(start, start + compressedSize)
    };
  }

  // One gzip member around a raw deflate stream: 10-byte header, the stream,
  // CRC-32 and ISIZE little-endian.
  function wrapGzip(deflated, crc, size) {
    var d = asBytes(deflated);
    var out = new Uint8Array(10 + d.length + 8);
    out.set([0x1f, 0x8b, 8, 0, 0, 0, 0, 0, 0, 0xff], 0);
    out.set(d, 10);
    var t = 10 + d.length;
    var words = [crc >>> 0, size >>> 0];
    for (var w = 0; w < 2; w++) {
      for (var k = 0; k < 4; k++) out[t + w * 4 + k] = (words[w] >>> (8 * k)) & 0xff;
    }
    return out;
  }

  function gunzip(bytes, limit) {
    if (typeof DecompressionStream === 'undefined') {
      var e = new Error('this browser cannot decompress data (DecompressionStream is missing)');
      e.folivoxUnsupported = true;
      return Promise.reject(e);
    }
    var ds = new DecompressionStream('gzip');
    var writer = ds.writable.getWriter();
    writer.write(bytes).catch(function () {});
    writer.close().catch(function () {});
    var reader = ds.readable.getReader();
    var parts = [];
    var total = 0;
    function pump() {
      return reader.read().then(function (r) {
        if (r.done) return;
        total += r.value.length;
        if (total > limit) {
          reader.cancel().catch(function () {});
          throw zipError('zip entry inflates beyond its declared size');
        }
        parts.push(r.value);
        return pump();
      });
    }
    return pump().then(function () {
      var out = new Uint8Array(total);
      var o = 0;
      for (var i = 0; i < parts.length; i++) { out.set(parts[i], o); o += parts[i].length; }
      return out;
    }, function (err) {
      if (err && err.folivoxDamaged) throw err;
      throw zipError('zip entry does not inflate: ' + (err && err.message ? err.message : err));
    });
  }

  // Entry bytes of a zip entry read by readZipEntry, checked against its CRC and size.
  function inflateEntry(entry) {
    var done;
    if (entry.method === 0) {
      done = Promise.resolve(entry.data);
    } else {
      done = gunzip(wrapGzip(entry.data, entry.crc, entry.size), entry.size);
    }
    return done.then(function (bytes) {
      if (bytes.length !== entry.size) throw zipError('zip entry has the wrong size');
      if (entry.method === 0 && crc32(bytes) !== entry.crc) throw zipError('zip entry fails its CRC check');
      return bytes;
    });
  }

  function base64ToBytes(text) {
    if (typeof text !== 'string') throw zipError('book.bin.js holds no data');
    var bin = atob(text.replace(/\s+/g, ''));
    return asBytes(bin);
  }

  // book.bin bytes (encrypted) -> text of book.xml.
  function decodeBookBin(encrypted) {
    return Promise.resolve().then(function () {
      var entry = readZipEntry(rc4(BOOK_KEY, encrypted));
      return inflateEntry(entry);
    }).then(function (bytes) {
      return new TextDecoder('utf-8').decode(bytes);
    });
  }

  F.BOOK_KEY = BOOK_KEY;
  F.rc4 = rc4;
  F.crc32 = crc32;
  F.readZipEntry = readZipEntry;
  F.wrapGzip = wrapGzip;
  F.inflateEntry = inflateEntry;
  F.base64ToBytes = base64ToBytes;
  F.decodeBookBin = decodeBookBin;
// The first script of the page makes the namespace the others add to (order.txt).
})(typeof module === 'object' && module.exports ? module.exports : (window.Folivox = window.Folivox || {}));
