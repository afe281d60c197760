'use strict';
// The shipped templates and the player agree: every template that carries the player
// names a skin the player lays out and the style sheet draws, and every style sets
// only keys its template has, with pictures and sounds that exist.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const S = require('../src/settings.js');
const order = require('../tools/order.js');

const app = path.resolve(__dirname, '..', '..', 'resources', 'AppFiles');
const css = order.joined(order.sheets());
const cmakeList = /set\(FOLIVOX_PLAYER_TEMPLATES ([^)]*)\)/.exec(
  fs.readFileSync(path.resolve(__dirname, '..', 'CMakeLists.txt'), 'utf8'))[1].trim().split(/\s+/);

function keysAndValues(xml) {
  const out = new Map();
  const re = /<key>([^<]*)<\/key>[\s\S]*?<value>([^<]*)<\/value>/g;
  let m;
  while ((m = re.exec(xml))) out.set(m[1], m[2]);
  return out;
}

test('each player template names a skin the player knows', () => {
  assert.ok(cmakeList.length >= 3, 'at least three templates carry the player');
  const skins = new Set();
  for (const entry of cmakeList) {
    const [name, html] = entry.split(':');
    const xml = fs.readFileSync(path.join(app, 'Templates', name, 'flashTemplate.xml'), 'utf8');
    assert.ok(xml.includes('<htmlPath>' + html + '</htmlPath>'), name + ': htmlPath is ' + html);
    assert.ok(fs.existsSync(path.join(app, 'Templates', name, 'icon.png')), name + ' has an icon');
    assert.ok(!fs.existsSync(path.join(app, 'Templates', name, html)), name + ': the page is made by the build, not kept in the sources');
    const skin = keysAndValues(xml).get('playerSkin') || 'float';
    const o = S.readOptions({ playerSkin: skin });
    assert.strictEqual(o.skin, skin, name);
    assert.ok(skin === 'float' || css.includes('[data-skin="' + skin + '"]'), 'the style sheet draws the ' + skin + ' skin');
    skins.add(skin);
  }
  assert.strictEqual(skins.size, cmakeList.length, 'templates look different');
});

test('styles: the settings file format, known keys, existing resources, a screenshot', () => {
  for (const entry of cmakeList) {
    const name = entry.split(':')[0];
    const keys = keysAndValues(fs.readFileSync(path.join(app, 'Templates', name, 'flashTemplate.xml'), 'utf8'));
    const dir = path.join(app, 'Styles', name);
    const styles = fs.readdirSync(dir).filter((s) => fs.existsSync(path.join(dir, s, 'tmplSetting.txt')));
    assert.ok(styles.length >= 3, name + ' has three styles');
    for (const style of styles) {
      const where = name + '/' + style;
      const text = fs.readFileSync(path.join(dir, style, 'tmplSetting.txt'), 'utf8');
      assert.ok(text.startsWith('\n\r') && !text.endsWith('\n'), where + ': lines start with LF CR, no final newline');
      for (const line of text.split('\n\r').slice(1)) {
        const eq = line.indexOf('=');
        assert.ok(eq > 0, where + ': ' + JSON.stringify(line));
        const key = line.slice(0, eq), value = line.slice(eq + 1);
        assert.ok(keys.has(key), where + ' sets ' + key + ', which the template lacks');
        if (value.startsWith('STYLE_RESOURCE:')) {
          assert.ok(fs.existsSync(path.join(dir, style, value.slice('STYLE_RESOURCE:'.length))), where + ': ' + value);
        }
      }
      const shot = path.join(dir, style, 'shot.jpg');
      assert.ok(fs.existsSync(shot), where + ' has shot.jpg (scripts/make-style-shots.sh)');
      assert.deepStrictEqual([...fs.readFileSync(shot).subarray(0, 3)], [0xff, 0xd8, 0xff], where + ': shot.jpg is a JPEG');
    }
  }
});
