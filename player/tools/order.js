'use strict';
// Reads src/order.txt, the one list of the player's sources, for the node tests and tools.
const fs = require('node:fs');
const path = require('node:path');

const src = path.resolve(__dirname, '..', 'src');

// The listed file names, in order; comments and blank lines left out.
function readOrder() {
  return fs.readFileSync(path.join(src, 'order.txt'), 'utf8').split('\n')
    .map((line) => line.trim()).filter((line) => line && !line.startsWith('#'));
}

function scripts() { return readOrder().filter((name) => name.endsWith('.js')); }
function sheets() { return readOrder().filter((name) => name.endsWith('.css')); }

// The scripts or style sheets joined as the page gets them.
function joined(names) { return names.map((name) => fs.readFileSync(path.join(src, name), 'utf8')).join(''); }

module.exports = { src, readOrder, scripts, sheets, joined };
