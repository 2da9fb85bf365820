#!/usr/bin/env node
// Rasterises the Natural Earth land polygons into the program's land mask:
// an 800 x 400 equirectangular 1-bit BMP, bit 1 = land, south pole in the
// first stored row, -180 degrees at the left edge.
//
// usage: node make-earth-mask.js OUT.bmp [--scale 50m|110m]

'use strict';

const fs = require('fs');
const path = require('path');
const topojson = require('topojson-client');

const WIDTH = 800;
const HEIGHT = 400;
const ROW_BYTES = WIDTH / 8; // 100, already a multiple of 4
const PIXELS_PER_METRE = 2835; // 72 dpi

function parseArgs(argv) {
  let out = null;
  let scale = '50m';
  for (let i = 0; i < argv.length; i++) {
    if (argv[i] === '--scale' && i + 1 < argv.length) {
      scale = argv[++i];
    } else if (!out) {
      out = argv[i];
    } else {
      throw new Error(`unexpected argument ${argv[i]}`);
    }
  }
  if (!out || (scale !== '50m' && scale !== '110m')) {
    throw new Error('usage: node make-earth-mask.js OUT.bmp [--scale 50m|110m]');
  }
  return {out, scale};
}

function loadRings(scale) {
  const file = require.resolve(`world-atlas/land-${scale}.json`);
  const topology = JSON.parse(fs.readFileSync(file, 'utf8'));
  const land = topojson.feature(topology, topology.objects.land);
  const features = land.type === 'FeatureCollection' ? land.features : [land];
  const rings = [];
  for (const f of features) {
    const g = f.geometry;
    const polys = g.type === 'Polygon' ? [g.coordinates] : g.coordinates;
    for (const poly of polys) {
      for (const ring of poly) rings.push(ring);
    }
  }
  return rings;
}

// Turns one spherical ring into a planar one in an unwrapped longitude:
// longitudes are made continuous, so a ring crossing the antimeridian runs
// past +-180 instead of jumping. A ring that goes once round a pole
// (Antarctica) ends 360 degrees from where it began; it is closed along the
// pole so that the planar polygon covers the cap.
function planarRing(ring) {
  const pts = [];
  let lon = ring[0][0];
  pts.push([lon, ring[0][1]]);
  let latSum = ring[0][1];
  for (let i = 1; i < ring.length; i++) {
    let d = ring[i][0] - ring[i - 1][0];
    if (d > 180) d -= 360;
    else if (d < -180) d += 360;
    lon += d;
    pts.push([lon, ring[i][1]]);
    latSum += ring[i][1];
  }
  const winding = lon - ring[0][0];
  if (Math.abs(winding) > 180) {
    const pole = latSum < 0 ? -90 : 90;
    pts.push([lon, pole]);
    pts.push([ring[0][0], pole]);
    pts.push([ring[0][0], ring[0][1]]);
  }
  return pts;
}

function collectEdges(rings) {
  const edges = [];
  for (const ring of rings) {
    const pts = planarRing(ring);
    for (let i = 1; i < pts.length; i++) {
      const [x1, y1] = pts[i - 1];
      const [x2, y2] = pts[i];
      if (y1 !== y2) edges.push([x1, y1, x2, y2]);
    }
    // GeoJSON rings repeat the first point at the end; close anyway in case
    // a source does not.
    const a = pts[pts.length - 1];
    const b = pts[0];
    if ((a[0] !== b[0] || a[1] !== b[1]) && a[1] !== b[1]) edges.push([a[0], a[1], b[0], b[1]]);
  }
  return edges;
}

// Even-odd fill of one row by a ray to the east from each pixel centre. Each
// planar ring is also tested shifted by +-360 degrees, so parts unwrapped
// past the antimeridian land on the right side of the map.
function rasterRow(edges, lat, bits, rowOffset) {
  const crossings = [];
  for (const [x1, y1, x2, y2] of edges) {
    if ((y1 > lat) !== (y2 > lat)) {
      const c = x1 + ((lat - y1) * (x2 - x1)) / (y2 - y1);
      crossings.push(c - 360, c, c + 360);
    }
  }
  crossings.sort((p, q) => p - q);
  let k = 0; // crossings at or west of the pixel centre
  for (let x = 0; x < WIDTH; x++) {
    const lon = ((x + 0.5) / WIDTH - 0.5) * 360;
    while (k < crossings.length && crossings[k] <= lon) k++;
    const east = crossings.length - k;
    if (east % 2 === 1) bits[rowOffset + (x >> 3)] |= 0x80 >> (x & 7);
  }
}

function rasterise(edges) {
  const bits = Buffer.alloc(ROW_BYTES * HEIGHT);
  for (let r = 0; r < HEIGHT; r++) {
    const lat = ((r + 0.5) / HEIGHT - 0.5) * 180;
    rasterRow(edges, lat, bits, r * ROW_BYTES);
  }
  return bits;
}

function landAt(bits, lon, lat) {
  const x = Math.floor((lon / 360 + 0.5) * WIDTH);
  const r = Math.floor((lat / 180 + 0.5) * HEIGHT);
  return (bits[r * ROW_BYTES + (x >> 3)] & (0x80 >> (x & 7))) !== 0;
}

// Catches a mirrored, flipped or inverted mask and a lost Antarctica before
// the file is written.
function checkMask(bits) {
  const expect = [
    ['Sahara', 15, 23, true],
    ['central Siberia', 100, 62, true],
    ['Amazon basin', -60, -5, true],
    ['central Australia', 134, -25, true],
    ['Antarctic interior', 60, -80, true],
    ['south pole row', 0, -89.8, true],
    ['Chukotka east of the antimeridian', -175, 66, true],
    ['Fiji west of the antimeridian', 178, -17.8, true],
    ['mid Pacific', -150, 0, false],
    ['mid Atlantic', -35, 30, false],
    ['Indian Ocean', 75, -25, false],
    ['north pole row', 0, 89.8, false],
    ['Mediterranean', 18, 35, false],
  ];
  const wrong = expect.filter(([, lon, lat, land]) => landAt(bits, lon, lat) !== land);
  if (wrong.length) {
    throw new Error(`mask is wrong at: ${wrong.map((w) => w[0]).join(', ')}`);
  }
  let land = 0;
  for (const b of bits) {
    for (let v = b; v; v &= v - 1) land++;
  }
  return land / (WIDTH * HEIGHT);
}

function bmpFile(bits) {
  const paletteBytes = 2 * 4;
  const offset = 14 + 40 + paletteBytes;
  const buf = Buffer.alloc(offset + bits.length);
  buf.write('BM', 0, 'latin1');
  buf.writeUInt32LE(buf.length, 2);
  buf.writeUInt32LE(offset, 10);
  buf.writeUInt32LE(40, 14);
  buf.writeInt32LE(WIDTH, 18);
  buf.writeInt32LE(HEIGHT, 22); // positive: bottom-up rows
  buf.writeUInt16LE(1, 26);
  buf.writeUInt16LE(1, 28);
  buf.writeUInt32LE(0, 30);
  buf.writeUInt32LE(bits.length, 34);
  buf.writeInt32LE(PIXELS_PER_METRE, 38);
  buf.writeInt32LE(PIXELS_PER_METRE, 42);
  buf.writeUInt32LE(2, 46);
  buf.writeUInt32LE(2, 50);
  // palette entries are blue, green, red, reserved: 0 black, 1 white
  buf.writeUInt32LE(0x00000000, 54);
  buf.writeUInt32LE(0x00ffffff, 58);
  bits.copy(buf, offset);
  return buf;
}

function main() {
  const {out, scale} = parseArgs(process.argv.slice(2));
  const edges = collectEdges(loadRings(scale));
  const bits = rasterise(edges);
  const share = checkMask(bits);
  fs.mkdirSync(path.dirname(path.resolve(out)), {recursive: true});
  fs.writeFileSync(out, bmpFile(bits));
  process.stdout.write(
    `${out}: ${WIDTH}x${HEIGHT}, ${edges.length} edges, land ${(share * 100).toFixed(1)}% of pixels\n`,
  );
}

try {
  main();
} catch (e) {
  process.stderr.write(`make-earth-mask: ${e.message}\n`);
  process.exit(1);
}
