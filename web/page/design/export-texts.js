// The SPICE netlist's opening comments and the KiCad schematic's texts:
// the design in words, in plain ASCII, which every SPICE reads. The
// design module writes the circuit after them.
import { plain } from './format.js';
import { chosen, figureText, holds } from './state.js';

const ascii = (text) => plain(text).replace(/±/g, '+-').replace(/Ω/g, 'ohm').replace(/µ/g, 'u').replace(/\u2212/g, '-');

// The design's lines: the filter, Fo, the parts, the network, the
// surroundings; `names` for the pairs, the followers and the source.
function designLines(state, names) {
  const option = (name) => ascii(chosen(state, name).text);
  const shown = (name) => ascii(figureText(state, name));
  const real = holds(state, 'opamp') ? `, op-amps: ${option('opamp')}, each the subcircuit OPAMP` : '';
  const opamps = holds(state, 'active') ? real || `, op-amps as ideal followers (${names.followers})` : '';
  return [
    'Notchwell: the twin-T notch filter, nearest build of standard parts',
    `Fo = ${shown('fo')}${holds(state, 'build-notch') ? `; this build notches at ${shown('build-fo')}` : ''}`,
    `Resistors ${option('resistor-series')} ${option('resistor-tolerance')}, capacitors ${option('capacitor-series')}` +
      ` ${option('capacitor-tolerance')}; ${names.pairs}`,
    `Network: ${option('network')}${opamps}`,
    `Source ${shown('source')}, load ${holds(state, 'load') ? shown('load') : 'none'};` +
      ` ${names.source} is the source's voltage: Vout/Vs is ${names.out}`,
  ];
}

const NETLIST_NAMES = { followers: 'E elements', pairs: 'R3 is two R in parallel, C3 two C in parallel', source: 'VS',
  out: 'V(out)' };
export const netlistHeader = (state) => designLines(state, NETLIST_NAMES).map((line) => `* ${line}\n`).join('');

// The version's release date, never the day the file is made: the same
// design gives the same file.
const RELEASE_DATE = '{{RELEASE_DATE}}';

// The schematic's title block and note.
export const kicadTexts = (state) => ({
  title: `Twin-T notch, Fo = ${ascii(figureText(state, 'fo'))}`,
  date: RELEASE_DATE,
  comment: 'Nearest build of standard parts, from the Notchwell design panel',
  note: [...designLines(state, { followers: 'E1 and E2', pairs: 'R/2 = R3 || R4 and 2C = C3 || C4, each pair two equal parts',
    source: 'V1', out: 'V(/out)' }), 'Simulate it as it is: the .ac line below; the labels in and out name the nets'].join('\n'),
});

export const OUT_OF_RANGE = 'The nearest build is out of range for standard parts: there is nothing to simulate.\n';
export const KICAD_OUT_OF_RANGE = 'The nearest build is out of range for standard parts: there is no schematic to draw.\n';
