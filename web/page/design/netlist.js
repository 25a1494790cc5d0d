// The SPICE netlist's opening comments: the design in words, in plain
// ASCII, which every SPICE reads. The design module writes the circuit
// after them.
import { plain } from './format.js';
import { chosen, figureText, holds } from './report.js';

const ascii = (text) => plain(text).replace(/±/g, '+-').replace(/Ω/g, 'ohm').replace(/µ/g, 'u').replace(/\u2212/g, '-');

export function netlistHeader(state) {
  const option = (name) => ascii(chosen(state, name).text);
  const shown = (name) => ascii(figureText(state, name));
  const real = holds(state, 'opamp') ? `, op-amps: ${option('opamp')}, each the subcircuit OPAMP` : '';
  const opamps = holds(state, 'active') ? real || ', op-amps as ideal followers (E elements)' : '';
  return [
    '* Notchwell: the twin-T notch filter, nearest build of standard parts',
    `* Fo = ${shown('fo')}${state.figures.has('build-fo') ? `; this build notches at ${shown('build-fo')}` : ''}`,
    `* Resistors ${option('resistor-series')} ${option('resistor-tolerance')}, capacitors ${option('capacitor-series')}` +
      ` ${option('capacitor-tolerance')}; R3 is two R in parallel, C3 two C in parallel`,
    `* Network: ${option('network')}${opamps}`,
    `* Source ${shown('source')}, load ${state.figures.has('load') ? shown('load') : 'none'};` +
      ' VS is the source\'s voltage: Vout/Vs is V(out)',
    '',
  ].join('\n');
}

export const OUT_OF_RANGE = 'The nearest build is out of range for standard parts: there is nothing to simulate.\n';
