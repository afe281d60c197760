'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawnSync } = require('node:child_process');

const order = require('../tools/order.js');

const dir = path.resolve(__dirname, '..');
const sources = ['template.html'].concat(order.readOrder().map((name) => 'src/' + name));

// The publisher reads template pages as 8-bit text without a byte-order mark, so the
// page is kept to plain ASCII; non-ASCII texts are written as escapes.
test('player sources are ASCII and use no "${" outside the placeholders', () => {
  for (const name of sources) {
    const text = fs.readFileSync(path.join(dir, name), 'latin1');
    assert.ok(!/[^\x00-\x7f]/.test(text), name + ' has non-ASCII characters');
    const rest = name === 'template.html'
      ? text.replace('${index.title}', '').replace('${meta.keywords}', '').replace('${meta.description}', '').replace('${book.text}', '') : text;
    assert.ok(!rest.includes('${'), name + ' contains "${"');
  }
});

const cmake = spawnSync('cmake', ['--version']).status === 0;
const esbuild = spawnSync('esbuild', ['--version']).status === 0;

// Builds the page as the build does: joins the sources, minifies them when asked
// (the flags of player/CMakeLists.txt), inlines them. Returns cmake's last result.
function buildPage(playerDir, scratch, out, minify) {
  const js = path.join(scratch, 'player.js');
  const css = path.join(scratch, 'player.css');
  const inline = path.join(dir, 'inline.cmake');
  let r = spawnSync('cmake', ['-DPLAYER_DIR=' + playerDir, '-DJOINED_JS=' + js, '-DJOINED_CSS=' + css, '-P', inline], { encoding: 'utf8' });
  if (r.status !== 0) return r;
  let script = js, style = css;
  if (minify) {
    script = path.join(scratch, 'player.min.js');
    style = path.join(scratch, 'player.min.css');
    r = spawnSync('esbuild', ['--minify', '--charset=ascii', '--supported:template-literal=false', '--define:module=undefined', '--log-level=warning', js, '--outfile=' + script], { encoding: 'utf8' });
    if (r.status !== 0) return r;
    r = spawnSync('esbuild', ['--minify', '--charset=ascii', '--log-level=warning', css, '--outfile=' + style], { encoding: 'utf8' });
    if (r.status !== 0) return r;
  }
  return spawnSync('cmake', ['-DPLAYER_DIR=' + playerDir, '-DSCRIPT=' + script, '-DSTYLE=' + style, '-DOUTPUT=' + out, '-P', inline], { encoding: 'utf8' });
}

test('the inlined page holds the four placeholders, each right before markup', { skip: !cmake }, (t) => {
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-page-'));
  t.after(() => fs.rmSync(scratch, { recursive: true, force: true }));
  const out = path.join(scratch, 'index.html');
  const r = buildPage(dir, scratch, out, false);
  assert.strictEqual(r.status, 0, r.stderr);
  const html = fs.readFileSync(out, 'latin1');
  const found = html.match(/\$\{[^}]*\}/g);
  assert.deepStrictEqual(found, ['${index.title}', '${meta.keywords}', '${meta.description}', '${book.text}']);
  // The placeholder engine drops white space after a placeholder.
  for (const p of found) assert.match(html.charAt(html.indexOf(p) + p.length), /[<"]/);
  assert.ok(!html.includes('/*@FOLIVOX_'), 'a marker was left in the page');
  for (const name of sources.slice(1)) {
    const firstLine = fs.readFileSync(path.join(dir, name), 'utf8').split('\n')[0];
    assert.ok(html.includes(firstLine), name + ' is not inlined');
  }
});

test('the inline step fails on a stray "${"', { skip: !cmake }, (t) => {
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-bad-'));
  t.after(() => fs.rmSync(copy, { recursive: true, force: true }));
  fs.cpSync(path.join(dir, 'src'), path.join(copy, 'src'), { recursive: true });
  fs.copyFileSync(path.join(dir, 'template.html'), path.join(copy, 'template.html'));
  fs.appendFileSync(path.join(copy, 'src', 'layout.js'), '\nvar s = `${1}`;\n');
  const out = path.join(copy, 'index.html');
  const r = buildPage(copy, copy, out, false);
  assert.notStrictEqual(r.status, 0);
  assert.match(r.stderr, /outside the four placeholders/);
  assert.ok(!fs.existsSync(out));
});

// What a reader loads first is this page with the book's index section (at most
// 32 KB, BookIndexSection::kBudget): together at most 150 KB.
test('the minified page leaves room for the index section within 150 KB', { skip: !cmake || !esbuild }, (t) => {
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-min-'));
  t.after(() => fs.rmSync(scratch, { recursive: true, force: true }));
  const out = path.join(scratch, 'index.html');
  const r = buildPage(dir, scratch, out, true);
  assert.strictEqual(r.status, 0, r.stderr);
  const html = fs.readFileSync(out, 'latin1');
  assert.ok(!/[^\x00-\x7f]/.test(html), 'the minified page has non-ASCII characters');
  assert.deepStrictEqual(html.match(/\$\{[^}]*\}/g), ['${index.title}', '${meta.keywords}', '${meta.description}', '${book.text}']);
  assert.ok(html.length <= 150 * 1024 - 33 * 1024, 'the minified page has ' + html.length + ' bytes');
});
