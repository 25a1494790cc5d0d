// The panel's page logic on its own, under node: the number formats, the
// link written and read back, and the CSV. The modules are the very files
// the page bundles.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { csvText, curveCsv, figuresCsv } from '../../web/page/design/csv.js';
import { exactText, format } from '../../web/page/design/format.js';
import { linkText, readLink } from '../../web/page/design/link.js';
import { ansiBytes, codePageTable } from '../../web/page/dialog.js';
import { ALPHABET, pack85, unpack85 } from '../../web/page/pack85.js';

const plain = (text) => text.replace(/\u00a0/g, ' ').replace(/\u2212/g, '-');

test('format: SI prefixes and never milli, digits, signs, powers of ten', () => {
  for (const [value, unit, digits, trimmed, text] of [
    [31830.98862, 'ohm', 4, false, '31.83 kΩ'],
    [33000, 'ohm', 3, true, '33 kΩ'],
    [999.96, 'ohm', 4, false, '1.000 kΩ'], // rounding carries into the next prefix
    [1e-7, 'farad', 4, false, '100.0 nF'],
    [4.7e-9, 'farad', 3, true, '4.7 nF'],
    [2.2e-6, 'farad', 3, true, '2.2 µF'],
    [0.5, 'hertz', 4, false, '0.5000 Hz'], // not 500 mHz
    [1591.549438, 'hertz', 5, false, '1.5915 kHz'],
    [3e14, 'hertz', 4, false, '3.000 × 10¹⁴ Hz'],
    [1e-30, 'farad', 4, false, '1.000 × 10⁻³⁰ F'],
    [-9.0909, 'dB', 2, false, '-9.09 dB'],
    [-0.001, 'dB', 2, false, '0.00 dB'], // no sign on what rounds to zero
    [0.7310, 'percent', 4, false, '+0.7310 %'],
    [-3.5425, 'percent', 4, false, '-3.5425 %'],
    [0.875, 'number', 4, false, '0.8750'],
    [5, 'count', 0, false, '5'],
  ]) {
    assert.equal(plain(format(value, unit, digits, trimmed)), text, `${value} ${unit}`);
  }
});

test('exactText: as C writes %.12g', () => {
  for (const [value, text] of [
    [0, '0'], [33000, '33000'], [1e-7, '1e-07'], [1.5e-5, '1.5e-05'], [0.0001, '0.0001'],
    [123456789012, '123456789012'], [1e12, '1e+12'], [4.7e-9, '4.7e-09'], [0.1 + 0.2, '0.3'],
    [2 / 3, '0.666666666667'], [31830.98862, '31830.98862'], [1e300, '1e+300'], [-2.5, '-2.5'],
  ]) {
    assert.equal(exactText(value), text, String(value));
  }
});

const page = {
  units: [['Ohm', 'kOhm', 'mOhm'], ['pf', 'nf', 'uf'], ['Hz', 'kHz', 'mHz']],
  lists: [{ name: 'resistor-series', options: ['E12', 'E24'], default: 1 },
    { name: 'network', options: ['passive', '2'], default: 0 }, { name: 'opamp', options: ['ideal', 'tl072'], default: 0 }],
  fields: [{ name: 'source', maxLength: 32 }, { name: 'load', maxLength: 32 }],
  textLength: 63,
};
const design = {
  solve: 0, values: ['31.830988', '100', '50'], units: ['kOhm', 'nf', 'Hz'],
  lists: [{ name: 'resistor-series', value: 'E24' }, { name: 'network', value: '2' }, { name: 'opamp', value: 'tl072' }],
  fields: [{ name: 'source', text: '4k7' }, { name: 'load', text: '' }],
};

test('link: written and read back to the same design; an empty field left out', () => {
  const text = linkText(design);
  assert.equal(text, 'v=1&solve=r&r=31.830988&r-unit=kOhm&c=100&c-unit=nf&fo=50&fo-unit=Hz&resistor-series=E24' +
    '&network=2&opamp=tl072&source=4k7');
  assert.deepEqual(readLink(text, page), { wanted: { solve: 0, values: design.values, units: [1, 1, 0], lists: [1, 1, 1],
    fields: ['4k7', ''] } });
  // A link from before the op-amps were there keeps their default; one
  // without an older list is cut short.
  assert.deepEqual(readLink(text.replace('&opamp=tl072', ''), page).wanted.lists, [1, 1, 0]);
  assert.match(readLink(text.replace('&network=2', ''), page).problem, /out of range/);
  // Texts that need escaping come back as they were.
  const odd = { ...design, values: ['1 & 2', '=%#', 'µ'] };
  assert.deepEqual(readLink(linkText(odd), page).wanted.values, odd.values);
  // A panel field's text comes back whatever it holds, control characters
  // too: the page marks it with its problem, as when the link was written.
  for (const text of ['abc', '6\u00000', '1\tk', ' ']) {
    const bad = { ...design, fields: [{ name: 'source', text }, { name: 'load', text: '' }] };
    assert.deepEqual(readLink(linkText(bad), page).wanted.fields, [text, ''], JSON.stringify(text));
  }
});

test('link: what is refused, and why', () => {
  const good = linkText(design);
  for (const [fragment, problem] of [
    [good.replace('v=1', 'v=2'), /another version/],
    ['section-2', /not a link to a design/],
    [`${good}&c=47`, /not a link to a design/], // a name twice
    [`${good}&colour=red`, /not a link to a design/],
    [good.replace('network=2', 'network=3'), /out of range/],
    [good.replace('r-unit=kOhm', 'r-unit=ohm'), /out of range/],
    [good.replace('solve=r', 'solve=q'), /out of range/],
    [good.replace('fo=50', `fo=${'5'.repeat(64)}`), /out of range/],
    [good.replace('source=4k7', `source=${'4'.repeat(33)}`), /out of range/],
    [good.replace('c=100', 'c=1%0A0'), /out of range/], // a line break
  ]) {
    assert.match(readLink(fragment, page).problem ?? '', problem, fragment);
  }
});

test('CSV: RFC 4180 quoting, CRLF after every row, the figures in the panel\'s order', () => {
  assert.equal(csvText([['a', 'b,c'], ['say "hi"', 'x\ny']]), 'a,"b,c"\r\n"say ""hi""","x\ny"\r\n');
  const state = {
    tables: {
      figures: new Map([['fo', { unit: 'hertz', digits: 4, trimmed: false }], ['build-r', { unit: 'ohm', digits: 3, trimmed: true }],
        ['q', { unit: 'number', digits: 3, trimmed: false }]]),
      figureOrder: ['build-r', 'fo', 'q'],
    },
    figures: new Map([['fo', 50], ['build-r', 33000]]),
  };
  assert.equal(figuresCsv(state), 'figure,value,unit,text\r\nbuild-r,33000.0000000,Ω,33 kΩ\r\nfo,50.0000000000,Hz,50.00 Hz\r\n');
});

test('curve CSV: every curve drawn on every row, one row a frequency', () => {
  // Three points, the middle one Fo; the ideal network notches on Fo, the
  // nearest build and the op-amps' curve both between Fo and the last point.
  const at = (ideal, build, opamp) => ({ ideal: { db: ideal, degrees: 1, delay: 2 }, build: { db: build, degrees: 3, delay: 4 },
    measured: { db: 0, degrees: 0, delay: 0 }, opamp: { db: opamp, degrees: 5, delay: 6 } });
  const curves = {
    hertz: [10, 100, 1000], ideal: [-1, -90, -2], build: [-1, -40, -2], opamp: [-3, -80, -4], measured: null,
    phase: { ideal: [0, 0, 0], build: [0, 0, 0], opamp: [0, 0, 0] }, delay: { ideal: [0, 0, 0], build: [0, 0, 0], opamp: [0, 0, 0] },
    band: { low: [-5, -6], high: [-7, -8] },
    notches: { ideal: { hertz: 100, at: at(-400, -40, -80) }, build: { hertz: 120, at: at(-20, -60, -70) },
      measured: { hertz: 0, at: at(0, 0, 0) }, opamp: { hertz: 120, at: at(-20, -60, -70) } },
  };
  const rows = curveCsv({ curves, tables: { curves: ['ideal', 'build', 'measured', 'opamp'] } }).trim().split('\r\n').map((row) => row.split(','));
  assert.deepEqual(rows[0], ['hertz', 'ideal-db', 'ideal-degrees', 'ideal-delay-s', 'build-db', 'build-degrees',
    'build-delay-s', 'opamp-db', 'opamp-degrees', 'opamp-delay-s', 'band-low-db', 'band-high-db']);
  assert.deepEqual(rows.slice(1).map((row) => Number(row[0])), [10, 100, 120, 1000]);
  for (const row of rows.slice(1)) assert.ok(row.slice(0, 10).every((cell) => cell !== ''), row.join());
  // The ideal network's notch falls on Fo's row: its own depth there.
  assert.deepEqual(rows[2].slice(1, 5).map(Number), [-400, 1, 2, -40]);
  assert.deepEqual(rows[3].map((cell) => (cell === '' ? '' : Number(cell))), [120, -20, 1, 2, -60, 3, 4, -70, 5, 6, '', '']);
});

test('dialog: a field\'s text as the Windows program reads it, and the code page\'s table unpacked', () => {
  const table = codePageTable('20AC80201A9A');
  assert.deepEqual([...table], [[0x20ac, 0x80], [0x201a, 0x9a]]);
  for (const [text, bytes] of [
    ['1k5', [0x31, 0x6b, 0x35]],
    ['\u20ac\u201a\u0394', [0x80, 0x9a, 0x3f]], // beyond the table: "?"
    ['4\u00007', [0x34]], // a NUL ends the text
    ['9'.repeat(70), Array(63).fill(0x39)], // what the buffer holds
  ]) {
    assert.deepEqual(ansiBytes(text, table, 64), bytes, JSON.stringify(text));
  }
});

test('packed text: every length of bytes back as it was, five characters for four, none a script cannot hold', () => {
  assert.equal(ALPHABET.length, 85);
  assert.doesNotMatch(ALPHABET, /['"\\<>&`$]/);
  for (let length = 0; length <= 9; ++length) {
    for (const fill of [0, 255, 0x5a]) {
      const bytes = Uint8Array.from({ length }, (_, i) => (fill === 0x5a ? (i * 97 + 13) % 256 : fill));
      const text = pack85(bytes);
      assert.equal(text.length, Math.ceil((length * 5) / 4));
      assert.deepEqual(unpack85(text), bytes, `${length} bytes of ${fill}`);
    }
  }
});
