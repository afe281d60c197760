'use strict';
/* Random and damaged book.bin bytes: the reader must answer each with the text of
 * book.xml or with its own "damaged" error, never hang or fail in another way. The
 * committed inputs in fuzz/corpus/player_container/ are tried first, then mutations
 * for a short while on every test run. FOLIVOX_FUZZ_SECONDS runs longer
 * (scripts/run-fuzzers.sh); FOLIVOX_FUZZ_FINDINGS names a folder that keeps the
 * inputs that fail; FOLIVOX_FUZZ_SEED repeats a run. */
const test = require('node:test');
const assert = require('node:assert');
const C = require('../src/container.js');
const { makeZip } = require('../tools/make-test-book.js');
const { SECONDS, SEED, generator, keep, corpus } = require('../tools/fuzz.js');

const canInflate = typeof DecompressionStream === 'function';
const ANSWER_MS = 5000;

async function answer(bytes) {
  let timer;
  const late = new Promise((resolve) => { timer = setTimeout(() => resolve({ late: true }), ANSWER_MS); });
  const decoded = C.decodeBookBin(bytes).then((text) => ({ text }), (error) => ({ error }));
  const result = await Promise.race([decoded, late]);
  clearTimeout(timer);
  return result;
}

// Null when the reader answered properly, otherwise what went wrong.
async function fault(bytes) {
  const r = await answer(bytes);
  if (r.late) return `no answer within ${ANSWER_MS} ms`;
  if (r.error) {
    const e = r.error;
    if (e && e.folivoxDamaged === true && typeof e.message === 'string' && e.message !== '') return null;
    return 'unexpected error: ' + (e && e.stack ? e.stack : String(e));
  }
  return typeof r.text === 'string' ? null : 'no text';
}

// Zip archives as the publisher and other writers make them, before encryption.
function seedArchives() {
  const xml = '<?xml version="1.0"?>\n<flipbook count="1"><extConfig><item name="bookTitle">Caf\u00e9</item>' +
    '</extConfig><pages><page><normalUrl>./files/page/1.jpg</normalUrl></page></pages></flipbook>\n';
  const descriptor = makeZip('book.xml', Buffer.from(xml));
  descriptor.writeUInt16LE(8, 6);  // sizes only in the central directory
  descriptor.fill(0, 14, 26);
  return [makeZip('book.xml', Buffer.from(xml)), makeZip('book.xml', Buffer.from(xml), { stored: true }),
    makeZip('book.xml', Buffer.alloc(0)), makeZip('book.xml', Buffer.from('x'.repeat(3000))), descriptor];
}

const INTERESTING = [0, 1, 0x7f, 0x80, 0xff, 0xfffe, 0xffff, 0x7fffffff, 0xffffffff];

function mutate(plain, g) {
  let b = Buffer.from(plain);
  const rounds = 1 + g.below(4);
  for (let r = 0; r < rounds; r++) {
    const at = b.length ? g.below(b.length) : 0;
    switch (g.below(7)) {
      case 0: if (b.length) b[at] ^= 1 << g.below(8); break;
      case 1: if (b.length) b[at] = g.below(256); break;
      case 2: b = b.subarray(0, g.below(b.length + 1)); break;
      case 3: {  // a field of the headers set to an edge value
        const v = INTERESTING[g.below(INTERESTING.length)];
        if (at + 4 <= b.length) { if (g.below(2)) b.writeUInt32LE(v >>> 0, at); else b.writeUInt16LE(v & 0xffff, at); }
        break;
      }
      case 4: {
        const extra = Buffer.alloc(1 + g.below(64));
        for (let i = 0; i < extra.length; i++) extra[i] = g.below(256);
        b = Buffer.concat([b.subarray(0, at), extra, b.subarray(at)]);
        break;
      }
      case 5: b = Buffer.concat([b.subarray(0, at), b.subarray(at + 1 + g.below(32))]); break;
      default: b = Buffer.concat([b, b.subarray(g.below(b.length + 1))]); break;
    }
  }
  return b;
}

test('committed book.bin inputs get a proper answer', { skip: !canInflate }, async () => {
  const inputs = corpus('player_container');
  assert.ok(inputs.length > 0, 'no committed inputs');
  for (const [name, bytes] of inputs) {
    const why = await fault(bytes);
    assert.strictEqual(why, null, name + ': ' + why);
  }
});

test('random and damaged book.bin bytes get a proper answer', { skip: !canInflate }, async (t) => {
  const g = generator(SEED);
  const seeds = seedArchives();
  const end = Date.now() + SECONDS * 1000;
  let tried = 0;
  while (Date.now() < end) {
    let bytes;
    const kind = g.below(10);
    if (kind < 7) {
      bytes = C.rc4(C.BOOK_KEY, mutate(seeds[g.below(seeds.length)], g));  // damage inside the archive
    } else if (kind < 9) {
      bytes = mutate(C.rc4(C.BOOK_KEY, seeds[g.below(seeds.length)]), g);  // damage to the file itself
    } else {
      bytes = Buffer.alloc(g.below(200));
      for (let i = 0; i < bytes.length; i++) bytes[i] = g.below(256);
    }
    const why = await fault(bytes);
    tried++;
    if (why !== null) {
      const file = keep('player_container', Buffer.from(bytes));
      assert.fail(`input ${tried} (seed ${SEED}${file ? ', kept in ' + file : ''}): ${why}`);
    }
  }
  t.diagnostic('inputs tried: ' + tried);
});
