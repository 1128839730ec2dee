#!/usr/bin/env node
// Writes the small resource files that ship beside the map outlines:
//   punkt.txt   "name lat lon" per line, Windows-1251
//   towns.txt   "code name" per line for the demo radar sites, Windows-1251
//   colors.bin  32 colours, uint32 little-endian 0x00BBGGRR
//
// Usage: node make-resources.mjs OUT_DIR

import fs from "node:fs";
import path from "node:path";
import { places, sites } from "./places.mjs";

if (process.argv.length !== 3) {
  console.error("usage: make-resources.mjs OUT_DIR");
  process.exit(2);
}
const outDir = process.argv[2];

// Windows-1251 for the only non-ASCII letters the names use: А..я, Ё, ё.
function toCp1251(text) {
  const out = [];
  for (const ch of text) {
    const c = ch.codePointAt(0);
    if (c < 0x80) out.push(c);
    else if (c >= 0x410 && c <= 0x44f) out.push(c - 0x410 + 0xc0);
    else if (c === 0x401) out.push(0xa8);
    else if (c === 0x451) out.push(0xb8);
    else throw new Error(`no Windows-1251 form for ${ch} in ${text}`);
  }
  return Buffer.from(out);
}

function checkName(name) {
  // The viewer reads names as single tokens into a 16-byte field.
  if (/\s/.test(name) || toCp1251(name).length > 15) {
    throw new Error(`unusable place name: ${name}`);
  }
}

const punkt = places.map(([name, lat, lon]) => {
  checkName(name);
  return `${name} ${lat.toFixed(2)} ${lon.toFixed(2)}`;
});
const towns = sites.map(([code, name]) => {
  checkName(name);
  return `${code} ${name}`;
});

// Entry 0 is the background; 1..19 the legend ramp from faint echo to the most
// intense, none so dark that the legend's black labels or the map lines
// beneath a cell get lost; 20..30 greys for values past the legend, 31 the "no data" grey.
const ramp = [
  [255, 255, 255],
  [215, 235, 255], [170, 210, 250], [115, 170, 240], [60, 125, 225],
  [140, 225, 140], [70, 190, 70], [20, 140, 30],
  [250, 235, 80], [235, 195, 0], [255, 150, 0], [235, 95, 0],
  [230, 40, 40], [200, 40, 90], [190, 90, 130],
  [250, 0, 250], [215, 90, 235], [180, 120, 225], [165, 140, 215], [150, 105, 200],
];
for (let i = 20; i <= 30; i++) {
  const g = 224 - (i - 20) * 12;
  ramp.push([g, g, g]);
}
ramp.push([192, 192, 192]);

const colors = Buffer.alloc(32 * 4);
ramp.forEach(([r, g, b], i) => colors.writeUInt32LE((b << 16) | (g << 8) | r, i * 4));

fs.mkdirSync(outDir, { recursive: true });
fs.writeFileSync(path.join(outDir, "punkt.txt"), toCp1251(punkt.join("\r\n")));
fs.writeFileSync(path.join(outDir, "towns.txt"), toCp1251(towns.join("\r\n") + "\r\n"));
fs.writeFileSync(path.join(outDir, "colors.bin"), colors);
console.log(`${punkt.length} places, ${towns.length} sites, ${ramp.length} colours`);
