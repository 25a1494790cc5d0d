// One design: the state each update builds from the design module's
// report and the page's choices, and what follows from it alone. Every
// renderer and export is a function of such a state.
import { format } from './format.js';

export const UNITS = ['ohm', 'farad', 'hertz', 'dB', 'percent', 'number', 'count', 'volt', 'volt-per-second',
  'second', 'volt-per-root-hertz', 'amp-per-root-hertz'];

// A figure of the state as the panel shows it.
export function figureText(state, name) {
  const { unit, digits, trimmed } = state.tables.figures.get(name);
  return format(state.figures.get(name), unit, digits, trimmed);
}

// A figure's value as data-value and the CSV hold it: 12 significant digits.
export const figureValue = (state, name) => state.figures.get(name).toPrecision(12);

export const holds = (state, section) => state.sections.has(section);

// A list of the state: its name, the index and value chosen, the option's text.
export const chosen = (state, name) => state.lists.find((list) => list.name === name);

export const CONNECTIONS = ['', 'series', 'parallel'];
export const EXACT = ['exact-r', 'exact-r3', 'exact-c', 'exact-c3'];

// An exact value's parts in words: "33 kΩ and 910 kΩ in parallel", "100 nF alone".
export function partsWords(state, i) {
  const [connection, a, b] = state.parts[i];
  const part = (value) => format(value, i < 2 ? 'ohm' : 'farad', 3, true);
  return connection ? `${part(a)} and ${part(b)} in ${CONNECTIONS[connection]}` : `${part(a)} alone`;
}
