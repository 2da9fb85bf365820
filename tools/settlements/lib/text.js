'use strict';
const { isEncodable } = require('./cp1254');

const MAX_NAME = 15;

// Letters the code page lacks but that read naturally in Turkish spelling, plus
// letters with no Unicode decomposition (ł, đ, ð, þ ...).
const LETTER_MAP = {
  'ð': 'd', 'Ð': 'D', 'þ': 'th', 'Þ': 'Th', 'ý': 'y', 'Ý': 'Y',
  'ł': 'l', 'Ł': 'L', 'đ': 'd', 'Đ': 'D', 'ħ': 'h', 'Ħ': 'H', 'ŧ': 't', 'Ŧ': 'T',
  'ŋ': 'ng', 'Ŋ': 'Ng', 'ə': 'e', 'Ə': 'E', 'ı': 'ı', 'ĸ': 'k', 'ƒ': 'f',
  'ő': 'ö', 'Ő': 'Ö', 'ű': 'ü', 'Ű': 'Ü',
  'ș': 'ş', 'Ș': 'Ş', 'ş': 'ş', 'Ş': 'Ş', 'ț': 't', 'Ț': 'T', 'ţ': 't', 'Ţ': 'T',
  'č': 'ç', 'Č': 'Ç', 'ć': 'ç', 'Ć': 'Ç',
  // Marks for soft signs, ayin and hamza are left out, as Turkish spelling does.
  'ʻ': '', 'ʼ': '', '‘': '', '’': '', '`': '', '´': '', 'ʿ': '', 'ʾ': '',
  '“': '', '”': '', '"': '', '–': '-', '—': '-', '‐': '-',
  ';': ' ', ',': ' ',
};

// Cyrillic and Greek occur in a handful of source names; a plain letter-by-letter
// romanisation is enough for those.
const CYRILLIC = {
  'а': 'a', 'б': 'b', 'в': 'v', 'г': 'g', 'д': 'd', 'е': 'e', 'ё': 'yo', 'ж': 'j', 'з': 'z',
  'и': 'i', 'й': 'y', 'к': 'k', 'л': 'l', 'м': 'm', 'н': 'n', 'о': 'o', 'п': 'p', 'р': 'r',
  'с': 's', 'т': 't', 'у': 'u', 'ф': 'f', 'х': 'h', 'ц': 'ts', 'ч': 'ç', 'ш': 'ş', 'щ': 'şç',
  'ъ': '', 'ы': 'ı', 'ь': '', 'э': 'e', 'ю': 'yu', 'я': 'ya', 'ј': 'j', 'љ': 'lj', 'њ': 'nj',
  'ћ': 'ç', 'џ': 'c', 'ђ': 'd', 'і': 'i', 'ї': 'yi', 'є': 'ye', 'ґ': 'g', 'ў': 'u',
};
const GREEK = {
  'α': 'a', 'β': 'v', 'γ': 'g', 'δ': 'd', 'ε': 'e', 'ζ': 'z', 'η': 'i', 'θ': 'th', 'ι': 'i',
  'κ': 'k', 'λ': 'l', 'μ': 'm', 'ν': 'n', 'ξ': 'ks', 'ο': 'o', 'π': 'p', 'ρ': 'r', 'σ': 's',
  'ς': 's', 'τ': 't', 'υ': 'y', 'φ': 'f', 'χ': 'h', 'ψ': 'ps', 'ω': 'o',
};

function capitalLike(src, out) {
  return src === src.toLowerCase() ? out : out.charAt(0).toUpperCase() + out.slice(1);
}

function romanise(ch) {
  const lower = ch.toLowerCase();
  if (CYRILLIC[lower] !== undefined) return capitalLike(ch, CYRILLIC[lower]);
  const plainGreek = stripMarks(lower);
  if (GREEK[plainGreek] !== undefined) return capitalLike(ch, GREEK[plainGreek]);
  return null;
}

function stripMarks(ch) {
  return ch.normalize('NFD').replace(/[\u0300-\u036f]/g, '');
}

const TURKISH_LETTERS = new Set([...'çğıöşüÇĞİÖŞÜ']);

// Returns the name spelled with Windows-1254 letters only, or null when some
// letter has no sensible Latin form (such names are left out by the caller).
// A name keeps its own accents when the code page has them all; once one
// letter has to lose its accent, all do ("Đà Nẵng" -> "Da Nang", not "Dà Nang").
function transliterate(name) {
  // Greek "ου" is one sound, written "ou".
  const chars = [...name.normalize('NFC').replace(/ο[υύ]/g, 'ou').replace(/Ο[υύ]/g, 'Ou')];
  const needsStrip = (ch) => LETTER_MAP[ch] === undefined && !isEncodable(ch);
  const plain = chars.some(needsStrip);
  let out = '';
  for (const ch of chars) {
    if (LETTER_MAP[ch] !== undefined) {
      out += LETTER_MAP[ch];
    } else if (isEncodable(ch) && !(plain && !TURKISH_LETTERS.has(ch))) {
      out += ch;
    } else {
      const base = stripMarks(ch);
      if (base && [...base].every(isEncodable)) {
        out += base;
      } else if (/^[\u0300-\u036f]$/.test(ch)) {
        // a lone combining mark: drop it
      } else {
        const r = romanise(ch);
        if (r === null) return null;
        out += r;
      }
    }
  }
  return out.replace(/\s+/g, ' ').trim();
}

// Folds a name for matching: Turkish dotted/dotless i and all accents vanish.
function fold(s) {
  return s
    .replace(/İ/g, 'i')
    .replace(/I/g, 'ı')
    .toLowerCase()
    .replace(/ı/g, 'i')
    .normalize('NFD')
    .replace(/[\u0300-\u036f]/g, '')
    .replace(/ə/g, 'e')
    .replace(/[^a-z0-9]/g, '');
}

// Turkish alphabetical order, independent of the ICU collation tables so that
// a different Node version sorts the same way.
const TR_ALPHABET = 'abcçdefgğhıijklmnoöpqrsştuüvwxyz';
function sortKey(s) {
  const keys = [];
  const lowered = s.replace(/İ/g, 'i').replace(/I/g, 'ı').toLowerCase();
  for (const ch of lowered) {
    let idx = TR_ALPHABET.indexOf(ch);
    if (idx < 0) {
      const base = ch.normalize('NFD').replace(/[\u0300-\u036f]/g, '');
      idx = base.length === 1 ? TR_ALPHABET.indexOf(base) : -1;
    }
    if (idx >= 0) keys.push(100 + idx);
    else if (/[0-9]/.test(ch)) keys.push(50 + Number(ch));
    else keys.push(ch === ' ' ? 1 : 2);
  }
  return keys;
}

function compareTr(a, b) {
  const ka = sortKey(a);
  const kb = sortKey(b);
  const n = Math.min(ka.length, kb.length);
  for (let i = 0; i < n; i++) if (ka[i] !== kb[i]) return ka[i] - kb[i];
  if (ka.length !== kb.length) return ka.length - kb.length;
  return a < b ? -1 : a > b ? 1 : 0;
}

// Generic words that add nothing to a place's name once it is too long.
const GENERIC_TAIL = /\s+(City|Township|Municipality|Chengguanzhen|Poblacion|Cantonment|Village|Town)$/;

// Common words and their usual abbreviations, tried one after another.
const WORD_ABBREV = [
  ['Saint', 'St.'], ['Sainte', 'Ste.'], ['Sankt', 'St.'], ['Santa', 'Sta.'], ['Santo', 'Sto.'],
  ['San', 'S.'], ['São', 'S.'], ['Nossa Senhora', 'N.S.'], ['Nuestra Señora', 'N.S.'],
  ['Mount', 'Mt.'], ['Fort', 'Ft.'], ['Port', 'Pt.'], ['Puerto', 'Pto.'], ['Porto', 'Pto.'],
  ['General', 'Gral.'], ['Presidente', 'Pres.'], ['Presidencia', 'Pres.'], ['Ciudad', 'Cd.'],
  ['Doctor', 'Dr.'], ['Coronel', 'Cnel.'], ['Governador', 'Gov.'], ['Gobernador', 'Gob.'],
  ['Almirante', 'Alm.'], ['Conselheiro', 'Cons.'], ['Comandante', 'Cte.'], ['Colonia', 'Col.'],
  ['Kampung', 'Kg.'], ['Kampong', 'Kg.'], ['Villa', 'V.'], ['Vila', 'V.'],
  ['North', 'N.'], ['South', 'S.'], ['East', 'E.'], ['West', 'W.'],
  ['Nord', 'N.'], ['Sud', 'S.'], ['Norte', 'N.'], ['Sur', 'S.'],
  ['Heights', 'Hts.'], ['Springs', 'Spr.'], ['Beach', 'Bch.'], ['Village', 'Vil.'],
  ['Hills', 'Hls.'], ['Center', 'Ctr.'], ['Terrace', 'Ter.'],
];

// In Germanic names the part after these words only says where the town lies
// ("Frankfurt am Main", "Alphen aan den Rijn"), and the town is known without it.
const LOCATIVE = /^(.{3,}?)(?: (?:am|an der|an|im|in der|bei|ob der|aan den|aan de|aan|upon|on|near) |-(?:sur|sous|on|upon|na|am|an-der|lès|les)-).+$/;

// Joining words of Romance names, dropped as a last resort before cutting.
const JOINERS = new Set(['de', 'del', 'la', 'las', 'los', 'lo', 'da', 'do', 'das', 'dos', 'di', 'della', 'du', 'des', 'le', 'les', 'el', 'al', 'y', 'e', 'et', 'of', 'the', 'von', 'van', 'der', 'den']);

// "S." "J." + "dos Campos" -> "S.J. dos Campos"
function joinInitials(head, rest) {
  let out = '';
  head.forEach((w, i) => {
    const tight = i > 0 && /^\p{L}\.$/u.test(w) && /\p{L}\.$/u.test(head[i - 1]) && head[i - 1].length === 2;
    out += (i === 0 || tight ? '' : ' ') + w;
  });
  return [out, ...rest].join(' ');
}

function fits(s) {
  return s.length <= MAX_NAME;
}

// Makes a name fit in MAX_NAME characters, readably: qualifiers in brackets go
// first, then generic words, then common abbreviations, then initials of the
// leading words; a word is cut only when nothing else helps.
// Returns [name, rule].
function shorten(name) {
  let s = name
    .replace(/\s*[([][^)\]]*[)\]]\s*/g, ' ')
    .replace(/\s+/g, ' ')
    .trim();
  if (fits(s)) return [s, s === name ? 'none' : 'bracket'];
  for (const sep of [' - ', ' / ']) {
    if (s.includes(sep)) s = s.split(sep)[0].trim();
  }
  if (fits(s)) return [s, 'part'];

  const tail = s.replace(GENERIC_TAIL, '');
  if (tail !== s && fits(tail) && tail.length >= 3) return [tail, 'generic'];

  const loc = LOCATIVE.exec(s);
  if (loc && fits(loc[1])) return [loc[1], 'locative'];

  let t = s;
  for (const [word, abbrev] of WORD_ABBREV) {
    t = t.replace(new RegExp(`(^|[ -])${word}(?=$|[ -])`, 'g'), `$1${abbrev}`);
    if (fits(t)) return [t, 'abbrev'];
  }

  // Initials for leading words, keeping joining words: "Feira de Santana" -> "F. de Santana".
  const words = t.split(' ');
  const initial = (w) => (JOINERS.has(w.toLowerCase()) || w.endsWith('.') ? w : w.charAt(0) + '.');
  for (let k = 1; k < words.length; k++) {
    if (JOINERS.has(words[k - 1].toLowerCase())) continue;
    const cand = joinInitials(words.slice(0, k).map(initial), words.slice(k));
    if (fits(cand)) return [cand, 'initials'];
  }
  const noJoin = words.filter((w, i) => i === 0 || !JOINERS.has(w.toLowerCase()));
  for (let k = 1; k < noJoin.length; k++) {
    const cand = joinInitials(noJoin.slice(0, k).map(initial), noJoin.slice(k));
    if (fits(cand)) return [cand, 'initials'];
  }
  // One long hyphenated word: "Kamensk-Shakhtinskiy" -> "K.-Shakhtinskiy".
  const hy = /^([^ -]+)-(.+)$/.exec(t);
  if (hy && fits(hy[1].charAt(0) + '.-' + hy[2])) return [hy[1].charAt(0) + '.-' + hy[2], 'initials'];
  return [t.slice(0, MAX_NAME - 1).trimEnd() + '.', 'cut'];
}

// Decimal text with "," and no trailing zeros: 39.5 -> "39,5", 3 -> "3".
function formatDecimal(value, places) {
  const scale = 10 ** places;
  const neg = value < 0;
  const units = Math.round(Math.abs(value) * scale);
  const whole = Math.floor(units / scale);
  let frac = String(units % scale).padStart(places, '0').replace(/0+$/, '');
  let text = String(whole) + (frac ? ',' + frac : '');
  if (neg && units !== 0) text = '-' + text;
  return text;
}

module.exports = { MAX_NAME, transliterate, fold, compareTr, shorten, formatDecimal };
