#!/usr/bin/env node
// Builds the outline files the viewer draws its map from:
//   country.ind  32-byte records, one per polyline (little-endian)
//     0  int32   outline number
//     4  int32   0 (plain border or coastline)
//     8  int32   pointCount
//    12  int32   pointOffset, byte offset of the first point in country.bin
//    16  float32 latMin, lonMin, latMax, lonMax of the outline
//   country.bin  float32 latitude, float32 longitude per point
//
// The outlines are the Natural Earth admin-0 boundaries at 1:10 million from
// the world-atlas package, meshed so that a border shared by two countries is
// drawn once, and cropped to the region given on the command line.
//
// Usage: node make-country.mjs LAT_MIN LAT_MAX LON_MIN LON_MAX OUT_DIR

import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";
import { mesh } from "topojson-client";

const require = createRequire(import.meta.url);

function usage() {
  console.error("usage: make-country.mjs LAT_MIN LAT_MAX LON_MIN LON_MAX OUT_DIR");
  process.exit(2);
}

const args = process.argv.slice(2);
if (args.length !== 5) usage();
const [latMin, latMax, lonMin, lonMax] = args.slice(0, 4).map(Number);
const outDir = args[4];
if ([latMin, latMax, lonMin, lonMax].some((v) => !Number.isFinite(v)) ||
    latMin >= latMax || lonMin >= lonMax) {
  usage();
}

const topology = require("world-atlas/countries-10m.json");
const lines = mesh(topology, topology.objects.countries).coordinates;

const inside = ([lon, lat]) =>
  lat >= latMin && lat <= latMax && lon >= lonMin && lon <= lonMax;

// Splits a line into the runs that lie in the region. Each run keeps the
// neighbouring outside point at either end, so a border that leaves the
// region still reaches its edge instead of stopping short of it.
function crop(line) {
  const runs = [];
  let run = null;
  for (let i = 0; i < line.length; i++) {
    if (inside(line[i])) {
      if (!run) {
        run = i > 0 ? [line[i - 1]] : [];
      }
      run.push(line[i]);
    } else if (run) {
      run.push(line[i]);
      runs.push(run);
      run = null;
    }
  }
  if (run) runs.push(run);
  return runs.filter((r) => r.length >= 2);
}

const outlines = lines.flatMap(crop);
const pointTotal = outlines.reduce((n, o) => n + o.length, 0);

const ind = Buffer.alloc(outlines.length * 32);
const bin = Buffer.alloc(pointTotal * 8);
let pointOffset = 0;
outlines.forEach((outline, n) => {
  const rec = n * 32;
  let bLatMin = Infinity, bLatMax = -Infinity, bLonMin = Infinity, bLonMax = -Infinity;
  ind.writeInt32LE(n, rec);
  ind.writeInt32LE(0, rec + 4);
  ind.writeInt32LE(outline.length, rec + 8);
  ind.writeInt32LE(pointOffset, rec + 12);
  for (const [lon, lat] of outline) {
    bin.writeFloatLE(lat, pointOffset);
    bin.writeFloatLE(lon, pointOffset + 4);
    pointOffset += 8;
    bLatMin = Math.min(bLatMin, lat);
    bLatMax = Math.max(bLatMax, lat);
    bLonMin = Math.min(bLonMin, lon);
    bLonMax = Math.max(bLonMax, lon);
  }
  ind.writeFloatLE(bLatMin, rec + 16);
  ind.writeFloatLE(bLonMin, rec + 20);
  ind.writeFloatLE(bLatMax, rec + 24);
  ind.writeFloatLE(bLonMax, rec + 28);
});

fs.mkdirSync(outDir, { recursive: true });
fs.writeFileSync(path.join(outDir, "country.ind"), ind);
fs.writeFileSync(path.join(outDir, "country.bin"), bin);
console.log(`${outlines.length} outlines, ${pointTotal} points`);
