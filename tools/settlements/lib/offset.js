'use strict';
// Standard (winter) clock offset of an IANA zone, in minutes east of UTC.
// Summer time only ever adds to the offset, so the smaller of the offsets in
// mid-January and mid-July of a fixed year is the standard one on either
// hemisphere. The year is fixed so that the output does not depend on the day
// the generator runs.

const REFERENCE_YEAR = 2026;

const formatters = new Map();
function formatterFor(zone) {
  let f = formatters.get(zone);
  if (!f) {
    f = new Intl.DateTimeFormat('en-US', { timeZone: zone, timeZoneName: 'longOffset' });
    formatters.set(zone, f);
  }
  return f;
}

function offsetAt(zone, date) {
  const part = formatterFor(zone)
    .formatToParts(date)
    .find((p) => p.type === 'timeZoneName');
  if (!part) throw new Error(`no offset for ${zone}`);
  if (part.value === 'GMT') return 0;
  const m = /^GMT([+-])(\d{2}):(\d{2})$/.exec(part.value);
  if (!m) throw new Error(`unexpected offset text ${part.value} for ${zone}`);
  const minutes = Number(m[2]) * 60 + Number(m[3]);
  return m[1] === '-' ? -minutes : minutes;
}

const cache = new Map();
function standardOffsetMinutes(zone) {
  if (cache.has(zone)) return cache.get(zone);
  const jan = offsetAt(zone, new Date(Date.UTC(REFERENCE_YEAR, 0, 15, 12)));
  const jul = offsetAt(zone, new Date(Date.UTC(REFERENCE_YEAR, 6, 15, 12)));
  const result = Math.min(jan, jul);
  cache.set(zone, result);
  return result;
}

module.exports = { REFERENCE_YEAR, standardOffsetMinutes };
