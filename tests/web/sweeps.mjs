// Sweeps of built twin-Ts as a person would paste them, made by ngspice:
// the panel's own netlist of a build with its parts off by known amounts,
// and how deep that build nulls at Fo after turns of R1 and R3.
import * as design from '../../web/page/design/module.js';
import { core, designFor } from './module-state.mjs';
import { sweptLevels } from './spice.mjs';

export const FO = 50;
export const SURROUNDINGS = { source: '600', load: '10k' };
export const MEASURED = { 'measured-r1': '32.6k', 'measured-r2': '33.4k', 'measured-r3': '16.3k', 'measured-c1': '98.7n',
  'measured-c2': '101.2n', 'measured-c3': '203n' };

// The nearest build's netlist (or with `built` 'measured' the measured
// parts') for `choices`, with each position's part(s) scaled by `off`.
export function builtNetlist(choices, fields, off) {
  designFor(undefined, choices, fields);
  let netlist = design.netlist(core, '* tune\n');
  if (choices['tune-built'] === 'measured') {
    const values = { R1: 32.6e3, R2: 33.4e3, R3A: 32.6e3, R3B: 32.6e3, C1: 98.7e-9, C2: 101.2e-9, C3A: 101.5e-9,
      C3B: 101.5e-9 };
    netlist = netlist.replace(/^(R1|R2|R3A|R3B|C1|C2|C3A|C3B) (\S+) (\S+) \S+$/gm,
      (line, name, a, b) => `${name} ${a} ${b} ${values[name]}`);
  }
  return netlist.replace(/^(R1|R2|R3A|R3B|C1|C2|C3A|C3B) (\S+) (\S+) (\S+)$/gm, (line, name, a, b, value) =>
    `${name} ${a} ${b} ${Number(value) * (off[name.slice(0, 2)] ?? 1)}`);
}

// A sweep of the netlist from Fo / 10 to 10 Fo (or `from` to `to`, at
// `perDecade` points a decade), as text: frequency, level in dB and phase
// in degrees, with noise (level and phase, and a floor `floorDb` below the
// source's voltage) from a fixed seed.
export function sweepText(netlist, { points = 401, noise = null, phase = true, from = FO / 10, to = FO * 10,
  perDecade = (points - 1) / 2 } = {}) {
  const [rows] = sweptLevels(netlist, [`dec ${perDecade} ${from} ${to}`], 'vr(out) vi(out)');
  let seed = 12345;
  const uniform = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);
  const gauss = () => Math.sqrt(-2 * Math.log(uniform() + 1e-12)) * Math.cos(2 * Math.PI * uniform());
  const lines = ['frequency, level, phase'];
  for (const [hertz, re0, im0] of rows) {
    let [re, im] = [re0, im0];
    if (noise) {
      const gain = 10 ** ((noise.db * gauss()) / 20);
      const turn = (noise.degrees * gauss() * Math.PI) / 180;
      [re, im] = [gain * (re * Math.cos(turn) - im * Math.sin(turn)), gain * (re * Math.sin(turn) + im * Math.cos(turn))];
      const floor = 10 ** (noise.floorDb / 20) / Math.SQRT2;
      re += floor * gauss();
      im += floor * gauss();
    }
    const db = 10 * Math.log10(re * re + im * im);
    const degrees = (Math.atan2(im, re) * 180) / Math.PI;
    lines.push(phase ? `${hertz}, ${db.toFixed(4)}, ${degrees.toFixed(3)}` : `${hertz}\t${db.toFixed(4)}`);
  }
  return `${lines.join('\r\n')}\r\n`;
}

// How far below its level far below the notch the netlist lies at Fo,
// with R1 and the R3 position changed by these percentages.
export function depthAfter(netlist, r1Percent, r3Percent) {
  const scale = { R1: 1 + r1Percent / 100, R3: 1 + r3Percent / 100 };
  const trimmed = netlist.replace(/^(R1|R3A|R3B) (\S+) (\S+) (\S+)$/gm, (line, name, a, b, value) =>
    `${name} ${a} ${b} ${Number(value) * scale[name.slice(0, 2)]}`);
  const [[[, far]], [[, atFo]]] = sweptLevels(trimmed, [`lin 1 ${FO / 1000} ${FO / 1000}`, `lin 1 ${FO} ${FO}`]);
  return far - atFo;
}

// How deep the netlist's own notch is below its level far below it: the
// lowest of a fine sweep about Fo.
export function notchDepth(netlist) {
  const [[[, far]], fine] = sweptLevels(netlist, [`lin 1 ${FO / 1000} ${FO / 1000}`, `lin 4001 ${FO * 0.8} ${FO * 1.2}`]);
  return far - Math.min(...fine.map(([, db]) => db));
}

// How far the parts of a build are off: within the panel's default
// tolerances, 1 % and 5 %; and parts read off a meter, within its accuracy.
export const OFF = { R1: 1.008, R2: 0.993, R3: 1.006, C1: 0.962, C2: 1.031, C3: 0.978 };
export const METER_OFF = { R1: 1.003, R2: 0.998, R3: 1.002, C1: 0.996, C2: 1.003, C3: 0.998 };
// A sweep's noise: of its level and phase, and the floor it rests on, dB
// below the source's voltage.
export const NOISY = { db: 0.02, degrees: 0.2, floorDb: -100 };
