// Writes cnchar-order's stroke letters (one letter per stroke, in writing
// order) as a JSON object {character: letters} for the Python generators.
// Usage: node dump_cnchar_order.js <node_modules dir> <output.json>
'use strict';
const fs = require('fs');
const path = require('path');

const [modules, out] = process.argv.slice(2);
if (!modules || !out) {
  console.error('usage: dump_cnchar_order.js <node_modules dir> <output.json>');
  process.exit(2);
}
const order = require(path.resolve(modules, 'cnchar-order'));
const orders = order.dict && order.dict.orders;
if (!orders || typeof orders !== 'object') {
  console.error('cnchar-order: no stroke dictionary found');
  process.exit(1);
}
// Sorted keys, so that the file is the same on every run.
const sorted = {};
for (const c of Object.keys(orders).sort()) sorted[c] = orders[c];
fs.mkdirSync(path.dirname(path.resolve(out)), { recursive: true });
fs.writeFileSync(out + '.tmp', JSON.stringify(sorted));
fs.renameSync(out + '.tmp', out);
