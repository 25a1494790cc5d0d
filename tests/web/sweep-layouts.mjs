// A sweep of a build as each kind of instrument and program writes it:
// the same ngspice sweep laid out as oscilloscopes, network analysers,
// spreadsheets and simulators export it (after their manuals and
// published sample files), one file each under sweep-layouts/. Run with
// node to write the files again.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { FO, OFF, SURROUNDINGS, builtNetlist } from './sweeps.mjs';
import { sweptLevels } from './spice.mjs';

export const LAYOUT_FOLDER = path.join(path.dirname(fileURLToPath(import.meta.url)), 'sweep-layouts');
// The build the samples are of: the 50 Hz nearest build, its parts off
// within their tolerances.
export const LAYOUT_BUILD = builtNetlist({}, SURROUNDINGS, OFF);

const db = (re, im) => 10 * Math.log10(re * re + im * im);
const degrees = (re, im) => (Math.atan2(im, re) * 180) / Math.PI;
const fixed = (value, digits) => value.toFixed(digits);

// Each layout: its file name and its text from the rows [hertz, re, im].
export const LAYOUTS = {
  'oscilloscope-gain-phase.csv': (rows) => ['Freq(Hz),Gain(dB),Phase',
    ...rows.map(([f, re, im]) => `${f},${fixed(db(re, im), 4)},${fixed(degrees(re, im), 3)}`)],
  'analyser-comments.csv': (rows) => ['! Network analyser export', '! Trace 1: transmission', 'Frequency,Magnitude(dB),Phase(deg)',
    ...rows.map(([f, re, im]) => `${f.toExponential(6)},${fixed(db(re, im), 4)},${fixed(degrees(re, im), 3)}`)],
  'usb-analyser.csv': (rows) => ['#Network Analyzer', '#Device Name: Discovery2', '#Channel 1: input, Channel 2: output',
    '#Samples: 8192', 'Frequency (Hz),Channel 1 Magnitude (dB),Channel 2 Magnitude (dB),Channel 2 Phase (deg)',
    ...rows.map(([f, re, im]) => `${f},0.0012,${fixed(db(re, im), 4)},${fixed(degrees(re, im), 3)}`)],
  'oscilloscope-bode.csv': (rows) => ['Amplitude Mode,Vout/Vin', 'Amplitude Unit,dB', 'DUT Input,CH1', 'DUT Output,CH2',
    'Sweep Type,Log', 'Start Frequency,5', 'Stop Frequency,500', 'Points/dec,200', 'Source,Internal', 'Amplitude,1',
    'Impedance,HighZ', 'CH1 Coupling,DC', 'CH2 Coupling,DC', 'Phase Reference,CH1', 'Measure Time,1',
    'Frequency(Hz),CH1 Amplitude(dB),CH1 Phase(Deg),CH2 Amplitude(dB),CH2 Phase(Deg)',
    ...rows.map(([f, re, im]) => `${f},0.0000,0.000,${fixed(db(re, im), 4)},${fixed(degrees(re, im), 3)}`)],
  'spreadsheet-comma-decimal.csv': (rows) => ['Frequency (Hz);Level (dB);Phase (°)',
    ...rows.map(([f, re, im]) => [fixed(f, 4), fixed(db(re, im), 4), fixed(degrees(re, im), 3)].join(';').replace(/\./g, ','))],
  'simulator-ac.txt': (rows) => ['Freq.\tV(out)',
    ...rows.map(([f, re, im]) => `${f.toExponential(15)}\t(${db(re, im).toExponential(15)}dB,${degrees(re, im).toExponential(15)}°)`)],
  // Levels in dBV of a 0.5 V source: 6.02 dB below Vout/Vs.
  'measuring-program.txt': (rows) => ['* Measurement data exported by a measuring program', '* Source level 0.5 V rms',
    '* Freq(Hz), SPL(dB), Phase(degrees)',
    ...rows.map(([f, re, im]) => `${fixed(f, 6)}, ${fixed(db(re, im) + 20 * Math.log10(0.5), 3)}, ${fixed(degrees(re, im), 4)}`)],
  'frequency-khz.csv': (rows) => ['Frequency (kHz),Gain (dB)',
    ...rows.map(([f, re, im]) => `${fixed(f / 1000, 9)},${fixed(db(re, im), 4)}`)],
  'level-ratio.csv': (rows) => ['Frequency (Hz),Gain (V/V),Phase (deg)',
    ...rows.map(([f, re, im]) => `${f},${Math.hypot(re, im).toPrecision(8)},${fixed(degrees(re, im), 3)}`)],
  'phase-radians.txt': (rows) => ['freq/Hz\tgain/dB\tphase/rad',
    ...rows.map(([f, re, im]) => `${f}\t${fixed(db(re, im), 4)}\t${(Math.atan2(im, re)).toFixed(6)}`)],
  'analyser-begin-end.txt': (rows) => ['! Network analyser, S21 as real and imaginary parts', 'BEGIN S21',
    'Freq(Hz)\tS21(real, imag)', ...rows.map(([f, re, im]) => `${f}\t(${re.toPrecision(9)}, ${im.toPrecision(9)})`), 'END'],
};

// The build's sweep from Fo / 10 to 10 Fo, 401 points.
export function layoutRows() {
  return sweptLevels(LAYOUT_BUILD, [`dec 200 ${FO / 10} ${FO * 10}`], 'vr(out) vi(out)')[0];
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const rows = layoutRows();
  for (const [name, layout] of Object.entries(LAYOUTS)) {
    fs.writeFileSync(path.join(LAYOUT_FOLDER, name), `${layout(rows).join('\r\n')}\r\n`);
  }
}
