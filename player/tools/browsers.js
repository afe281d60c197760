/* Drives Debian's headless Chromium (DevTools protocol over a pipe) and Firefox ESR
 * (Marionette over a local socket) through one small interface, for the player's
 * browser tests. Plain node 18, no packages: neither needs a WebSocket.
 *
 *   const { launch } = require('./browsers.js');
 *   const b = await launch('firefox', { width: 390, height: 844, touch: true });
 *   await b.open('file:///tmp/book/index.html');
 *   await b.waitFor('window.folivoxState === "ready"');
 *   await b.drag([[100, 300], [200, 300]]);     // a mouse drag (touch when launched so)
 *   await b.close();
 *
 * eval(expr) runs an expression in the page and awaits it when it is a Promise;
 * keys(['Enter']) presses keys; drag(points, kind) moves a pointer through points with
 * the button or finger down; printPdf() prints the page to PDF (bytes); errors lists
 * uncaught errors the page reported (Chromium only). */
'use strict';

const { spawn, spawnSync } = require('child_process');
const fs = require('fs');
const net = require('net');
const os = require('os');
const path = require('path');

function sleep(ms) { return new Promise((r) => setTimeout(r, ms)); }

const BINARIES = { chromium: ['chromium'], firefox: ['firefox-esr', 'firefox'] };

// The browser's program, or null when it is not installed.
function binary(kind) {
  for (const name of BINARIES[kind]) {
    if (spawnSync('sh', ['-c', 'command -v ' + name], { encoding: 'utf8' }).status === 0) return name;
  }
  return null;
}

// The script that evaluates an expression in the page and hands back { ok } or { err }.
function wrapped(expr) {
  return 'Promise.resolve().then(function () { return (' + expr + '); })' +
    '.then(function (v) { return { ok: v === undefined ? null : v }; }, function (e) { return { err: String(e && e.stack || e) }; })';
}

function common(api) {
  api.waitFor = async function (expr, ms) {
    const end = Date.now() + (ms || 15000);
    let last = null;
    while (Date.now() < end) {
      try { if (await api.eval(expr)) return true; } catch (e) { last = e; }
      await sleep(50);
    }
    throw new Error('timed out waiting for ' + expr + (last ? ' (' + last.message + ')' : ''));
  };
  return api;
}

function stopGroup(proc) {
  try { process.kill(-proc.pid, 'SIGTERM'); } catch (e) { try { proc.kill(); } catch (e2) { /* gone */ } }
}

async function closeProcess(proc, profile) {
  const exited = proc.exitCode !== null ? Promise.resolve() : new Promise((r) => proc.once('exit', r));
  stopGroup(proc);
  await Promise.race([exited, sleep(5000)]);
  try { fs.rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 }); } catch (e) { /* left in tmp */ }
}

/* ---------- Chromium: DevTools protocol over --remote-debugging-pipe ---------- */

async function launchChromium(opts) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-chromium-'));
  const args = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run', '--hide-scrollbars', '--mute-audio',
    '--allow-file-access-from-files', '--remote-debugging-pipe', '--user-data-dir=' + profile,
    '--window-size=' + opts.width + ',' + opts.height, 'about:blank'];
  const proc = spawn(opts.binary, args, { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'], detached: true });
  const toBrowser = proc.stdio[3], fromBrowser = proc.stdio[4];
  let nextId = 1, buffer = '';
  const waiting = new Map();
  const errors = [];
  fromBrowser.on('data', (chunk) => {
    buffer += chunk.toString('utf8');
    let at;
    while ((at = buffer.indexOf('\0')) >= 0) {
      const msg = JSON.parse(buffer.slice(0, at));
      buffer = buffer.slice(at + 1);
      if (msg.id && waiting.has(msg.id)) {
        const w = waiting.get(msg.id);
        waiting.delete(msg.id);
        if (msg.error) w.rej(new Error(msg.error.message)); else w.res(msg.result);
      } else if (msg.method === 'Runtime.exceptionThrown') {
        const d = msg.params.exceptionDetails;
        errors.push(d.exception ? d.exception.description : d.text);
      }
    }
  });
  fromBrowser.on('error', () => {});
  toBrowser.on('error', () => {});
  function send(method, params, sessionId) {
    const id = nextId++;
    const msg = { id, method, params: params || {} };
    if (sessionId) msg.sessionId = sessionId;
    toBrowser.write(JSON.stringify(msg) + '\0');
    return new Promise((res, rej) => waiting.set(id, { res, rej }));
  }
  let targets = null;
  for (let i = 0; i < 100; i++) {
    try {
      targets = await Promise.race([send('Target.getTargets'), sleep(2000).then(() => null)]);
      if (targets && targets.targetInfos.some((t) => t.type === 'page')) break;
    } catch (e) { /* starting */ }
    await sleep(100);
  }
  const page = targets && targets.targetInfos.find((t) => t.type === 'page');
  if (!page) { stopGroup(proc); throw new Error('chromium did not start'); }
  const { sessionId } = await send('Target.attachToTarget', { targetId: page.targetId, flatten: true });
  const s = (method, params) => send(method, params, sessionId);
  await s('Page.enable');
  await s('Runtime.enable');
  await s('Emulation.setDeviceMetricsOverride', {
    width: opts.width, height: opts.height, deviceScaleFactor: 1, mobile: !!opts.touch
  });
  if (opts.touch) await s('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });

  let buttons = 0;
  const api = {
    kind: 'chromium', errors,
    async open(url) {
      errors.length = 0;
      await s('Page.navigate', { url });
      await sleep(100);
    },
    async eval(expr) {
      const r = await s('Runtime.evaluate', { expression: wrapped(expr), awaitPromise: true, returnByValue: true });
      if (r.exceptionDetails) throw new Error(r.exceptionDetails.text);
      const v = r.result.value;
      if (v && v.err) throw new Error(v.err);
      return v ? v.ok : undefined;
    },
    async keys(list) {
      for (const key of list) {
        const code = { Enter: 13, Escape: 27, ArrowRight: 39, ArrowLeft: 37, Tab: 9 }[key] || 0;
        const base = { key, code: code ? key : 'Key' + key.toUpperCase(), windowsVirtualKeyCode: code || key.toUpperCase().charCodeAt(0) };
        await s('Input.dispatchKeyEvent', Object.assign({ type: 'keyDown', text: key === 'Enter' ? '\r' : (code ? undefined : key) }, base));
        await s('Input.dispatchKeyEvent', Object.assign({ type: 'keyUp' }, base));
      }
    },
    async drag(points, kind) {
      if ((kind || (opts.touch ? 'touch' : 'mouse')) === 'touch') {
        const tp = (p) => [{ x: p[0], y: p[1], id: 1 }];
        await s('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: tp(points[0]) });
        for (const p of points.slice(1)) { await sleep(16); await s('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: tp(p) }); }
        await s('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
        return;
      }
      const mouse = (type, p) => s('Input.dispatchMouseEvent', { type, x: p[0], y: p[1], button: 'left', buttons, clickCount: 1 });
      await s('Input.dispatchMouseEvent', { type: 'mouseMoved', x: points[0][0], y: points[0][1], button: 'none', buttons: 0 });
      buttons = 1;
      await mouse('mousePressed', points[0]);
      for (const p of points.slice(1)) { await sleep(16); await mouse('mouseMoved', p); }
      buttons = 0;
      await mouse('mouseReleased', points[points.length - 1]);
    },
    async printPdf() {
      const r = await s('Page.printToPDF', { printBackground: false, preferCSSPageSize: true });
      return Buffer.from(r.data, 'base64');
    },
    async close() {
      try { await Promise.race([send('Browser.close'), sleep(2000)]); } catch (e) { /* closing anyway */ }
      await closeProcess(proc, profile);
    }
  };
  return common(api);
}

/* ---------- Firefox: Marionette ---------- */

async function launchFirefox(opts) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-firefox-'));
  // Port 0: Marionette picks a free port and writes it into the profile.
  const prefs = {
    'marionette.port': 0, 'browser.shell.checkDefaultBrowser': false, 'datareporting.policy.dataSubmissionEnabled': false,
    'toolkit.telemetry.reportingpolicy.firstRun': false, 'browser.startup.homepage_override.mstone': 'ignore',
    'app.update.disabledForTesting': true, 'browser.aboutwelcome.enabled': false,
    'security.fileuri.strict_origin_policy': false, 'dom.w3c_touch_events.enabled': opts.touch ? 1 : 0,
    'ui.prefersReducedMotion': 0, 'print.always_print_silent': true, 'layout.css.devPixelsPerPx': '1.0'
  };
  fs.writeFileSync(path.join(profile, 'user.js'),
    Object.entries(prefs).map(([k, v]) => 'user_pref(' + JSON.stringify(k) + ', ' + JSON.stringify(v) + ');').join('\n') + '\n');
  const proc = spawn(opts.binary, ['--headless', '--marionette', '--no-remote', '--profile', profile,
    '--width', String(opts.width), '--height', String(opts.height), 'about:blank'],
  { stdio: 'ignore', detached: true, env: Object.assign({}, process.env, { MOZ_HEADLESS: '1' }) });
  let port = 0;
  for (let i = 0; i < 300 && !port; i++) {
    await sleep(100);
    try { port = parseInt(fs.readFileSync(path.join(profile, 'MarionetteActivePort'), 'utf8'), 10); } catch (e) { /* not yet */ }
  }
  if (!port) { stopGroup(proc); throw new Error('firefox did not start Marionette'); }
  const socket = net.connect(port, '127.0.0.1');
  await new Promise((res, rej) => { socket.once('connect', res); socket.once('error', rej); });
  let buffer = Buffer.alloc(0);
  let nextId = 1;
  const waiting = new Map();
  let hello = null;
  const helloSeen = new Promise((r) => { hello = r; });
  socket.on('data', (chunk) => {
    buffer = Buffer.concat([buffer, chunk]);
    for (;;) {
      const colon = buffer.indexOf(':');
      if (colon < 0) break;
      const len = parseInt(buffer.slice(0, colon).toString(), 10);
      if (buffer.length < colon + 1 + len) break;
      const msg = JSON.parse(buffer.slice(colon + 1, colon + 1 + len).toString('utf8'));
      buffer = buffer.slice(colon + 1 + len);
      if (!Array.isArray(msg)) { hello(msg); continue; }
      const w = waiting.get(msg[1]);
      if (!w) continue;
      waiting.delete(msg[1]);
      if (msg[2]) w.rej(new Error(msg[2].error + ': ' + msg[2].message)); else w.res(msg[3]);
    }
  });
  socket.on('error', () => {});
  function send(name, params) {
    const id = nextId++;
    const body = Buffer.from(JSON.stringify([0, id, name, params || {}]), 'utf8');
    socket.write(body.length + ':');
    socket.write(body);
    return new Promise((res, rej) => waiting.set(id, { res, rej }));
  }
  await helloSeen;
  await send('WebDriver:NewSession', { capabilities: { alwaysMatch: { acceptInsecureCerts: true } } });
  await send('WebDriver:SetTimeouts', { script: 60000, pageLoad: 60000 });
  // The window's size is what the browser draws around the page too: fit the page's.
  for (let i = 0; i < 3; i++) {
    const inner = await send('WebDriver:ExecuteScript', { script: 'return [innerWidth, innerHeight];', args: [] });
    const [iw, ih] = inner.value;
    if (iw === opts.width && ih === opts.height) break;
    const rect = await send('WebDriver:GetWindowRect');
    await send('WebDriver:SetWindowRect', { width: rect.width + opts.width - iw, height: rect.height + opts.height - ih });
  }
  const pointerType = opts.touch ? 'touch' : 'mouse';
  // Firefox keeps its window at least 500 px wide: a narrower page is played in a
  // frame of that size at the window's top left, and scripts run in the frame.
  const framed = opts.width < 500;
  const harness = path.join(profile, 'frame.html');
  const api = {
    kind: 'firefox', errors: [],
    async open(url) {
      if (!framed) {
        await send('WebDriver:Navigate', { url });
        return;
      }
      fs.writeFileSync(harness, '<!DOCTYPE html><html><body style="margin:0"><iframe style="border:0;display:block;width:' +
        opts.width + 'px;height:' + opts.height + 'px" src="' + url.replace(/"/g, '%22') + '"></iframe></body></html>');
      await send('WebDriver:SwitchToParentFrame').catch(() => {});
      await send('WebDriver:Navigate', { url: 'file://' + harness });
      const frame = await send('WebDriver:FindElement', { using: 'css selector', value: 'iframe' });
      await send('WebDriver:SwitchToFrame', { element: frame.value['element-6066-11e4-a52e-4f735466cecf'] });
    },
    async eval(expr) {
      const r = await send('WebDriver:ExecuteAsyncScript', {
        script: 'var done = arguments[arguments.length - 1]; ' + wrapped(expr) + '.then(done);', args: []
      });
      const v = r.value;
      if (v && v.err) throw new Error(v.err);
      return v ? v.ok : undefined;
    },
    async keys(list) {
      const codes = { Enter: '\uE007', Escape: '\uE00C', ArrowRight: '\uE014', ArrowLeft: '\uE012', Tab: '\uE004' };
      const actions = [];
      for (const key of list) {
        const value = codes[key] || key;
        actions.push({ type: 'keyDown', value }, { type: 'keyUp', value });
      }
      await send('WebDriver:PerformActions', { actions: [{ type: 'key', id: 'keyboard', actions }] });
      await send('WebDriver:ReleaseActions');
    },
    async drag(points, kind) {
      const type = kind || pointerType;
      const at = (p, duration) => ({ type: 'pointerMove', x: Math.round(p[0]), y: Math.round(p[1]), origin: 'viewport', duration: duration || 0 });
      const actions = [at(points[0]), { type: 'pointerDown', button: 0 }];
      for (const p of points.slice(1)) actions.push(at(p, 16));
      actions.push({ type: 'pointerUp', button: 0 });
      await send('WebDriver:PerformActions', { actions: [{ type: 'pointer', id: type + '1', parameters: { pointerType: type }, actions }] });
      await send('WebDriver:ReleaseActions');
    },
    async printPdf() {
      const r = await send('WebDriver:Print', { background: false, shrinkToFit: true });
      return Buffer.from(r.value, 'base64');
    },
    async close() {
      try { await Promise.race([send('Marionette:Quit'), sleep(3000)]); } catch (e) { /* closing anyway */ }
      socket.destroy();
      await closeProcess(proc, profile);
    }
  };
  return common(api);
}

// opts: { width, height, touch }. Throws when the browser is not installed.
async function launch(kind, opts) {
  const bin = binary(kind);
  if (!bin) throw new Error(kind + ' is not installed');
  const o = Object.assign({ width: 1366, height: 900, touch: false, binary: bin }, opts);
  return kind === 'chromium' ? launchChromium(o) : launchFirefox(o);
}

module.exports = { launch, binary, sleep };
