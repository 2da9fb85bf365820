'use strict';
// Windows-1254 encoding. The byte table comes from the platform's own decoder
// so that no hand-typed mapping can drift from the real code page.

const decoder = new TextDecoder('windows-1254', { fatal: false });

const charToByte = new Map();
for (let b = 0x20; b < 0x100; b++) {
  if (b === 0x7f) continue;
  const ch = decoder.decode(Uint8Array.of(b));
  const cp = ch.codePointAt(0);
  // Bytes the code page leaves undefined decode to C1 controls: never emit them.
  if (cp >= 0x80 && cp < 0xa0) continue;
  if (ch === '\ufffd') continue;
  charToByte.set(ch, b);
}

function isEncodable(ch) {
  return charToByte.has(ch);
}

function encode(text) {
  const out = Buffer.alloc(text.length);
  let n = 0;
  for (const ch of text) {
    if (ch === '\r' || ch === '\n') {
      out[n++] = ch.charCodeAt(0);
      continue;
    }
    const b = charToByte.get(ch);
    if (b === undefined) {
      throw new Error(`not encodable in Windows-1254: ${JSON.stringify(ch)} in ${JSON.stringify(text.slice(0, 60))}`);
    }
    out[n++] = b;
  }
  return out.subarray(0, n);
}

function decode(bytes) {
  return decoder.decode(bytes);
}

module.exports = { isEncodable, encode, decode };
