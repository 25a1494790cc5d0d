// Every figure as CSV (RFC 4180): a header, then a row a figure in the
// order the panel shows them, quoted where a field needs it.
import { plain } from './format.js';
import { figureText, figureValue } from './state.js';

const UNIT_SYMBOLS = { ohm: 'Ω', farad: 'F', hertz: 'Hz', dB: 'dB', percent: '%', number: '', count: '', volt: 'V',
  'volt-per-second': 'V/s', second: 's', 'volt-per-root-hertz': 'V/√Hz', 'amp-per-root-hertz': 'A/√Hz' };

const csvField = (field) => (/[",\r\n]/.test(field) ? `"${field.replace(/"/g, '""')}"` : field);
export const csvText = (rows) => rows.map((row) => row.map(csvField).join(',')).join('\r\n') + '\r\n';

export function figuresCsv(state) {
  const rows = [['figure', 'value', 'unit', 'text']];
  for (const name of state.tables.figureOrder) {
    if (!state.figures.has(name)) continue;
    rows.push([name, figureValue(state, name), UNIT_SYMBOLS[state.tables.figures.get(name).unit],
      plain(figureText(state, name))]);
  }
  return csvText(rows);
}

// The curve as CSV: a row a frequency, each curve's own notch among them
// (curves that notch at one frequency, or on a point of the curve, share
// its row); every curve drawn has its level, phase and group delay on
// every row, then the band's edges where the band has a point (every
// other point of the curve).
export function curveCsv(state) {
  const { curves } = state;
  const drawn = state.tables.curves.filter((name) => curves[name]);
  const number = (value) => (value === undefined ? '' : value.toPrecision(12));
  // The nearest build's noise density by source, after the band's edges.
  const noise = curves.noise ? Object.keys(curves.noise) : [];
  const rows = Array.from(curves.hertz, (hertz, i) => [hertz, ...drawn.flatMap((name) =>
    [curves[name][i], curves.phase[name][i], curves.delay[name][i]]),
  ...(curves.band && i % 2 === 0 ? [curves.band.low[i / 2], curves.band.high[i / 2]] : [undefined, undefined]),
  ...noise.map((name) => curves.noise[name][i])]);
  const last = curves.hertz[curves.hertz.length - 1];
  for (const notching of drawn) {
    const { hertz, at } = curves.notches[notching];
    if (!(hertz >= curves.hertz[0] && hertz <= last)) continue;
    const cells = drawn.flatMap((name) => [at[name].db, at[name].degrees, at[name].delay]);
    const same = rows.findIndex((row) => row[0] === hertz);
    if (same >= 0) {
      // The notch's own cells where it falls on a row already there.
      const k = drawn.indexOf(notching);
      rows[same].splice(1 + 3 * k, 3, ...cells.slice(3 * k, 3 * k + 3));
      continue;
    }
    const after = rows.findIndex((row) => row[0] > hertz);
    rows.splice(after < 0 ? rows.length : after, 0, [hertz, ...cells, undefined, undefined, ...noise.map(() => undefined)]);
  }
  const header = ['hertz', ...drawn.flatMap((name) => [`${name}-db`, `${name}-degrees`, `${name}-delay-s`]),
    'band-low-db', 'band-high-db', ...noise.map((name) => `noise-${name}-v-per-rt-hz`)];
  return csvText([header, ...rows.map((row) => row.map(number))]);
}
