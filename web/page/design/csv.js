// Every figure as CSV (RFC 4180): a header, then a row a figure in the
// order the panel shows them, quoted where a field needs it.
import { plain } from './format.js';
import { figureText, figureValue } from './report.js';

const UNIT_SYMBOLS = { ohm: 'Ω', farad: 'F', hertz: 'Hz', dB: 'dB', percent: '%', number: '', count: '', volt: 'V',
  'volt-per-second': 'V/s' };

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
