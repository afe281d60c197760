/* A small driver for headless Chromium over the DevTools protocol, for checking the
 * player by hand and for screenshot scripts. Needs node 20+ (run with
 * --experimental-websocket on node 20; node 22 has WebSocket built in).
 *
 *   const { launch } = require('./cdp.js');
 *   const b = await launch({ width: 1280, height: 800 });
 *   await b.open('file:///tmp/book/index.html');
 *   await b.waitFor('window.folivoxState !== "loading"');
 *   await b.screenshot('/tmp/shot.png');
 *   await b.close();
 */
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

function sleep(ms) { return new Promise((r) => setTimeout(r, ms)); }

async function launch(opts) {
  opts = opts || {};
  if (typeof WebSocket !== 'function') throw new Error('WebSocket missing: run node with --experimental-websocket');
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'folivox-chromium-'));
  const args = [
    '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run', '--hide-scrollbars',
    '--mute-audio', '--remote-debugging-port=0', '--user-data-dir=' + profile,
    '--window-size=' + (opts.width || 1280) + ',' + (opts.height || 800)
  ].concat(opts.args || []).concat(['about:blank']);
  // In a process group of its own, so closing ends its helper processes too.
  const proc = spawn(opts.binary || 'chromium', args, { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
  const stop = () => { try { process.kill(-proc.pid, 'SIGTERM'); } catch (e) { proc.kill(); } };
  let port = 0;
  for (let i = 0; i < 200 && !port; i++) {
    await sleep(50);
    try {
      port = parseInt(fs.readFileSync(path.join(profile, 'DevToolsActivePort'), 'utf8').split('\n')[0], 10);
    } catch (e) { /* not yet */ }
  }
  if (!port) { stop(); throw new Error('chromium did not start'); }
  const list = await (await fetch('http://127.0.0.1:' + port + '/json/list')).json();
  const page = list.find((t) => t.type === 'page');
  const ws = new WebSocket(page.webSocketDebuggerUrl);
  await new Promise((res, rej) => { ws.onopen = res; ws.onerror = rej; });
  let nextId = 1;
  const waiting = new Map();
  const events = [];
  const errors = [];
  ws.onmessage = (m) => {
    const msg = JSON.parse(m.data);
    if (msg.id && waiting.has(msg.id)) {
      const w = waiting.get(msg.id);
      waiting.delete(msg.id);
      if (msg.error) w.rej(new Error(msg.error.message)); else w.res(msg.result);
      return;
    }
    events.push(msg);
    if (msg.method === 'Runtime.exceptionThrown') errors.push(msg.params.exceptionDetails.exception ? msg.params.exceptionDetails.exception.description : msg.params.exceptionDetails.text);
    if (msg.method === 'Runtime.consoleAPICalled' && msg.params.type === 'error') errors.push(msg.params.args.map((a) => a.value || a.description).join(' '));
    // The optional data scripts (docs/book-files.md) are tried on every book; a book
    // without one logs the failed load, which is no fault of the player.
    const optional = (e) => e.source === 'network' && /\/files\/(pages\.js|text\/[^/]+\.js)$/.test(e.url || '');
    if (msg.method === 'Log.entryAdded' && msg.params.entry.level === 'error' && !optional(msg.params.entry)) {
      errors.push(msg.params.entry.text + ' ' + (msg.params.entry.url || ''));
    }
  };
  function send(method, params) {
    const id = nextId++;
    ws.send(JSON.stringify({ id, method, params: params || {} }));
    return new Promise((res, rej) => waiting.set(id, { res, rej }));
  }
  await send('Page.enable');
  await send('Runtime.enable');
  await send('Log.enable');
  if (opts.reducedMotion) {
    await send('Emulation.setEmulatedMedia', { features: [{ name: 'prefers-reduced-motion', value: 'reduce' }] });
  }
  const api = {
    send, errors, events,
    async viewport(width, height) {
      await send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
    },
    async open(url) {
      errors.length = 0;
      await send('Page.navigate', { url });
      await sleep(100);
    },
    async eval(expr) {
      const r = await send('Runtime.evaluate', { expression: expr, awaitPromise: true, returnByValue: true });
      if (r.exceptionDetails) throw new Error('eval failed: ' + (r.exceptionDetails.exception ? r.exceptionDetails.exception.description : r.exceptionDetails.text));
      return r.result.value;
    },
    async waitFor(expr, ms) {
      const end = Date.now() + (ms || 10000);
      while (Date.now() < end) {
        try { if (await api.eval(expr)) return true; } catch (e) { /* page still loading */ }
        await sleep(50);
      }
      throw new Error('timed out waiting for ' + expr);
    },
    async key(key, code, keyCode) {
      const base = { key, code: code || key, windowsVirtualKeyCode: keyCode || 0 };
      await send('Input.dispatchKeyEvent', Object.assign({ type: 'keyDown' }, base));
      await send('Input.dispatchKeyEvent', Object.assign({ type: 'keyUp' }, base));
    },
    async mouse(type, x, y) {
      await send('Input.dispatchMouseEvent', { type, x, y, button: 'left', buttons: type === 'mouseReleased' ? 0 : 1, clickCount: 1 });
    },
    async click(x, y) {
      await api.mouse('mousePressed', x, y);
      await api.mouse('mouseReleased', x, y);
    },
    async screenshot(file) {
      const r = await send('Page.captureScreenshot', { format: file.endsWith('.jpg') ? 'jpeg' : 'png', quality: 90 });
      fs.writeFileSync(file, Buffer.from(r.data, 'base64'));
    },
    async close() {
      try { ws.close(); } catch (e) { /* already closed */ }
      // The profile can be removed only once chromium stopped writing into it.
      const exited = proc.exitCode !== null ? Promise.resolve() : new Promise((r) => proc.once('exit', r));
      stop();
      await Promise.race([exited, sleep(5000)]);
      try {
        fs.rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
      } catch (e) {
        process.stderr.write('cdp: could not remove ' + profile + ': ' + e.message + '\n');
      }
    }
  };
  if (opts.width) await api.viewport(opts.width, opts.height || 800);
  return api;
}

module.exports = { launch, sleep };
