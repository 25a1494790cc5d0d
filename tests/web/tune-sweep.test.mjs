// A measured sweep in, the turns of R1 and R3 out, under node with the
// page's own module: sweeps ngspice makes of builds whose parts are off by
// known amounts, clean and with noise, and the turns the panel gives
// applied to those very parts in ngspice, which must then null at Fo;
// and the texts a sweep field refuses, each naming its first bad line.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import * as design from '../../web/page/design/module.js';
import { root } from '../../tools/web/control-ids.mjs';
import { designText } from '../../web/page/design/design-text.js';
import { tuneWords } from '../../web/page/design/tune.js';
import { core, designFor } from './module-state.mjs';
import { LAYOUTS, LAYOUT_BUILD, LAYOUT_FOLDER } from './sweep-layouts.mjs';
import { FO, MEASURED, METER_OFF, NOISY, OFF, SURROUNDINGS, builtNetlist, depthAfter, notchDepth, sweepText }
  from './sweeps.mjs';

function tune(choices, fields, text) {
  const read = design.readSweep(core, text);
  const { state } = designFor(undefined, choices, fields);
  return { read, state };
}

const CASES = [
  { name: 'passive, 600 Ω source, 10 kΩ load', choices: {}, fields: SURROUNDINGS },
  { name: 'active, Q = 2', choices: { network: '2' }, fields: SURROUNDINGS },
  { name: 'active, Q = 10, TL072s, measured parts', choices: { network: '10', opamp: 'tl072', 'tune-built': 'measured' },
    fields: { ...SURROUNDINGS, ...MEASURED }, off: METER_OFF },
];

for (const c of CASES) {
  test(`the turns from a sweep null the build at Fo: ${c.name}`, (t) => {
    const netlist = builtNetlist(c.choices, c.fields, c.off ?? OFF);
    const before = depthAfter(netlist, 0, 0);
    for (const [kind, noise, least] of [['clean', null, 80], ['noisy', NOISY, 45]]) {
      const { read, state } = tune(c.choices, c.fields, sweepText(netlist, { noise }));
      assert.equal(read.problem, 0, read.message);
      assert.ok(state.sections.has('tuned'), `${kind}: ${[...state.sections].filter((s) => s.startsWith('tune'))}`);
      const after = depthAfter(netlist, state.figures.get('tune-r1-change'), state.figures.get('tune-r3-change'));
      const said = `${kind}: ${before.toFixed(1)} dB before, ${after.toFixed(1)} dB after the turns`;
      t.diagnostic(said);
      assert.ok(after >= least, said);
      assert.match(tuneWords(state).trim,
        /^Turn R1 (up|down) by \d+\.\d\d\u00a0±\u00a0\d+\.\d\d\u00a0% \(to about .*\) and R3 (up|down) by/);
    }
  });
}

test('the next round: a sweep after the turns says how much nearer Fo the null has come', () => {
  const c = CASES[0];
  const netlist = builtNetlist(c.choices, c.fields, OFF);
  const first = tune(c.choices, c.fields, sweepText(netlist)).state;
  const trimmed = netlist.replace(/^(R1|R3A|R3B) (\S+) (\S+) (\S+)$/gm, (line, name, a, b, value) =>
    `${name} ${a} ${b} ${Number(value) * (1 + first.figures.get(`tune-${name.slice(0, 2).toLowerCase()}-change`) / 100)}`);
  // An edit of a line is no new round, nor the same sweep pasted again.
  const edited = (text) => text.replace(/^(5\.\d+), (\S+),/m, (line, hertz, db) => `${hertz}, ${Number(db) + 0.5},`);
  const once = sweepText(netlist);
  for (const text of [edited(once), once]) {
    assert.equal(tune(c.choices, c.fields, text).state.figures.get('tune-notch-before'),
      first.figures.get('tune-notch-before'));
  }
  const trimmedText = sweepText(trimmed, { noise: NOISY });
  for (const text of [trimmedText, edited(trimmedText)]) {
    const { state } = tune(c.choices, c.fields, text);
    assert.equal(state.figures.get('tune-notch-before'), first.figures.get('tune-notch'));
  }
  const { state } = tune(c.choices, c.fields, trimmedText);
  assert.ok(state.sections.has('tune-round'));
  assert.equal(state.figures.get('tune-notch-before'), first.figures.get('tune-notch'));
  assert.ok(state.figures.get('tune-nearer') > 99, `${state.figures.get('tune-nearer')}`);
  assert.match(tuneWords(state).round, /^Since the sweep before, the null has come \d+\.\d\u00a0% nearer 50\.00\u00a0Hz/);
  assert.match(designText(state), /Measured sweep of the nearest build: 401 points \(not in the link\)\n.*\n  (Turn|Leave) R1/);
});

test('a sweep of the level alone: the turns for either side of the jω axis where both fit', (t) => {
  const c = CASES[0];
  const netlist = builtNetlist(c.choices, c.fields, OFF);
  for (const [kind, noise, least] of [['clean', null, 80], ['noisy', NOISY, 40]]) {
    const { read, state } = tune(c.choices, c.fields, sweepText(netlist, { noise, phase: false }));
    assert.equal(read.problem, 0, read.message);
    assert.ok(state.sections.has('tuned'));
    const depths = [''].concat(state.sections.has('tune-alt') ? ['-alt'] : []).map((alt) =>
      depthAfter(netlist, state.figures.get(`tune-r1-change${alt}`), state.figures.get(`tune-r3-change${alt}`)));
    t.diagnostic(`${kind}, level alone: ${depths.map((d) => d.toFixed(1)).join(' dB, or ')} dB after the turns`);
    assert.ok(Math.max(...depths) >= least, `${kind}: ${depths}`);
    assert.equal(tuneWords(state).alternative !== '', depths.length === 2);
  }
});

// Every figure of a state finite, and none of the trims where there are none.
function assertFinite(state) {
  for (const [name, value] of state.figures) assert.ok(Number.isFinite(value), `${name} = ${value}`);
}

const point = (f) => `${f}, ${-Math.abs(Math.log(f / FO)) * 10}`;
const points = (count, from = 40) => Array.from({ length: count }, (_, i) => point(from + i));
const BAD = [
  ['', 0, ''],
  ['frequency, level\nno numbers here\n', 1, /^No points/],
  [points(7).join('\n'), 2, /^Fewer than 8/],
  [['# a note', ...points(3), '43, -3, x', ...points(8, 50)].join('\n'), 3, /^Line 5: something in it is not a number/],
  [[...points(3), '50'].join('\n'), 4, /^Line 4: one number alone/],
  [[...points(3), '50, 1, 2, 3'].join('\n'), 5, /^Line 4: more than three/],
  [['40, -1, 10', '41, -2'].join('\r\n'), 6, /^Line 2: no phase/],
  [['40, -1', '41, -2, 10'].join('\r\n'), 7, /^Line 2: a phase/],
  [[...points(2), '43; inf'].join('\n'), 8, /^Line 3: a number that is not finite/],
  [[...points(2), '1e999\t-3'].join('\n'), 8, /^Line 3: a number that is not finite/],
  [['0, -3', ...points(9)].join('\n'), 9, /^Line 1: the frequency is not above 0 Hz/],
  [[...points(5), '44, -3'].join('\n'), 10, /^Line 6: the frequency does not rise/],
  [Array.from({ length: 20001 }, (_, i) => point(1 + i / 100)).join('\n'), 11, /^Line 20001: more than 20,000/],
];

test('a sweep field refuses a bad text, naming its first bad line, and shows no trims', () => {
  for (const [text, problem, message] of BAD) {
    const { read, state } = tune({}, SURROUNDINGS, text);
    assert.equal(read.problem, problem, `${text.slice(0, 40)}: ${read.message}`);
    if (problem) assert.match(read.message, message);
    assert.ok(!state.sections.has('tune-sweep') && !state.figures.has('tune-points'), text.slice(0, 40));
    assertFinite(state);
  }
  // A header, notes, blanks, Windows line ends and every separator.
  const { read, state } = tune({}, SURROUNDINGS, `Freq (Hz)\tLevel (dB)\r\n* a note\r\n; another\r\n\r\n` +
    `${points(12).map((line, i) => line.replace(', ', [',', ';', '\t', '  '][i % 4])).join('\r\n')}`);
  assert.equal(read.problem, 0, read.message);
  assert.equal(state.figures.get('tune-points'), 12);
  // A UTF-8 mark before a sweep with no header, numbers in a spreadsheet's
  // quotes: every point read.
  const marked = tune({}, SURROUNDINGS, `\ufeff${points(12).map((line) => line.replace(/([^, ]+)/g, '"$1"')).join('\n')}`);
  assert.equal(marked.read.problem, 0, marked.read.message);
  assert.equal(marked.state.figures.get('tune-points'), 12);
  // Measured on parts not all given: nothing to fit them to, the points
  // still counted.
  const unbuilt = designFor(undefined, { 'tune-built': 'measured' }, SURROUNDINGS).state;
  assert.ok(unbuilt.sections.has('tune-no-build'));
  assert.equal(unbuilt.figures.get('tune-points'), 12);
});

test('a sweep that does not span the notch, or that the network does not fit, is refused plainly', () => {
  const netlist = builtNetlist({}, SURROUNDINGS, OFF);
  const narrow = sweepText(netlist).split('\r\n').filter((line) => !/^\d/.test(line) || Number(line.split(',')[0]) > 45)
    .join('\r\n');
  const lowPass = Array.from({ length: 101 }, (_, i) => 5 * 10 ** (i / 50))
    .map((f) => `${f}, ${-10 * Math.log10(1 + (f / FO) ** 2)}, ${(-Math.atan(f / FO) * 180) / Math.PI}`).join('\n');
  const wrongSource = sweepText(builtNetlist({}, SURROUNDINGS, OFF).replace(/^RS vs in 600$/m, 'RS vs in 22000'));
  for (const [text, section] of [[narrow, 'tune-not-spanning'], [lowPass, 'tune-no-fit'],
    [wrongSource, 'tune-no-fit']]) {
    const { read, state } = tune({}, SURROUNDINGS, text);
    assert.equal(read.problem, 0, read.message);
    assert.deepEqual([...state.sections].filter((name) => name.startsWith('tune')), ['tune-sweep', section]);
    assert.ok(!state.curves.fitted);
    assertFinite(state);
  }
});

test('the worked example of the README: its sweep under docs/, its turns, the depth ngspice finds after them', () => {
  const example = fs.readFileSync(path.join(root, 'docs/example-sweep.csv'), 'utf8');
  assert.equal(example, sweepText(builtNetlist({}, SURROUNDINGS, OFF), { noise: NOISY }).replace(/\r/g, ''));
  const { state } = tune({}, SURROUNDINGS, example);
  const readme = fs.readFileSync(path.join(root, 'README.md'), 'utf8').replace(/\s+/g, ' ');
  const trim = tuneWords(state).trim.replace(/\u00a0/g, ' ');
  assert.ok(readme.includes(`"${trim}"`), trim);
  const netlist = builtNetlist({}, SURROUNDINGS, OFF);
  const after = depthAfter(netlist, state.figures.get('tune-r1-change'), state.figures.get('tune-r3-change'));
  assert.ok(readme.includes(`put the build ${after.toFixed(1)} dB below its level`), `${after}`);
});

// Builds with parts well off: two to four times outside the panel's
// default tolerances (1 % and 5 %), and 5 to 10 % off.
const OUTSIDE = [
  { R1: 1.034, R2: 0.991, R3: 0.987, C1: 1.03, C2: 0.97, C3: 1.02 }, // a 5 % resistor among 1 % ones
  { R1: 0.97, R2: 1.025, R3: 1.038, C1: 0.99, C2: 1.01, C3: 1.0 },
  { R1: 1.005, R2: 0.995, R3: 1.002, C1: 1.12, C2: 0.87, C3: 1.16 },
  { R1: 1.022, R2: 0.975, R3: 0.966, C1: 0.86, C2: 1.15, C3: 0.89 },
];
const FAR_OFF = [
  { R1: 1.062, R2: 0.931, R3: 1.085, C1: 0.94, C2: 1.072, C3: 0.91 },
  { R1: 0.925, R2: 1.058, R3: 0.94, C1: 1.095, C2: 0.93, C3: 1.066 },
  { R1: 1.09, R2: 1.05, R3: 0.92, C1: 0.935, C2: 0.95, C3: 1.08 },
  { R1: 0.95, R2: 0.93, R3: 1.07, C1: 1.06, C2: 1.09, C3: 0.94 },
];

test('a clean sweep with its phase decides the turns, whatever the tolerances say', (t) => {
  for (const off of OUTSIDE) {
    const netlist = builtNetlist({}, SURROUNDINGS, off);
    const { state } = tune({}, SURROUNDINGS, sweepText(netlist));
    const after = depthAfter(netlist, state.figures.get('tune-r1-change'), state.figures.get('tune-r3-change'));
    t.diagnostic(`${JSON.stringify(off)}: ${after.toFixed(1)} dB after the turns`);
    assert.ok(after >= 90, `${after}`);
  }
});

// The level alone, as measured: dense and coarse, clean and noisy, and an
// oscilloscope's Bode plot (15 points a decade, 0.1 dB of noise, a floor
// 70 dB down).
const LEVEL_ONLY = [
  { perDecade: 30 },
  { perDecade: 100, from: 12.5, to: 200, noise: NOISY },
  { perDecade: 200, noise: NOISY },
  { perDecade: 15, from: 12.5, to: 200, noise: { db: 0.1, degrees: 0, floorDb: -70 } },
];

test('the level alone: a depth it cannot show is a bound, and turns only where it decides them', (t) => {
  const seen = new Set();
  for (const off of [...FAR_OFF, OUTSIDE[0], OFF]) {
    const netlist = builtNetlist({}, SURROUNDINGS, off);
    const [truth, before] = [notchDepth(netlist), depthAfter(netlist, 0, 0)];
    for (const sweep of LEVEL_ONLY) {
      const { state } = tune({}, SURROUNDINGS, sweepText(netlist, { ...sweep, phase: false }));
      const is = (section) => state.sections.has(section);
      const shown = state.figures.get('tune-depth');
      assert.ok(shown <= truth + 2, `${shown} dB shown, ${truth} dB deep`);
      const pairs = !is('tune-turns') ? [] : [''].concat(is('tune-alt') ? ['-alt'] : []).map((alt) =>
        depthAfter(netlist, state.figures.get(`tune-r1-change${alt}`), state.figures.get(`tune-r3-change${alt}`)));
      t.diagnostic(`${truth.toFixed(1)} dB deep, ${is('tune-depth-bound') ? 'at least ' : ''}${shown.toFixed(1)} dB` +
        ` shown; at Fo ${before.toFixed(1)} dB, after the turns ${pairs.map((d) => d.toFixed(1)).join(' or ') || 'none'}`);
      for (const after of pairs) assert.ok(after > before, `${after} dB after, ${before} dB before`);
      assert.equal(is('tune-undecided'), !is('tune-turns'));
      if (is('tune-undecided')) assert.match(designText(state), /the level alone does not decide the turns/);
      ['tune-depth-bound', 'tune-turns', 'tune-undecided'].filter(is).forEach((section) => seen.add(section));
    }
  }
  assert.deepEqual([...seen].sort(), ['tune-depth-bound', 'tune-turns', 'tune-undecided']);
});

test('a build that already nulls on Fo is told to leave R1 and R3 as they are', (t) => {
  const netlist = builtNetlist({}, SURROUNDINGS, OFF);
  const first = tune({}, SURROUNDINGS, sweepText(netlist)).state;
  const change = (name) => first.figures.get(`tune-${name.slice(0, 2).toLowerCase()}-change`);
  const nulled = netlist.replace(/^(R1|R3A|R3B) (\S+) (\S+) (\S+)$/gm, (line, name, a, b, value) =>
    `${name} ${a} ${b} ${Number(value) * (1 + change(name) / 100)}`);
  t.diagnostic(`nulled to ${depthAfter(nulled, 0, 0).toFixed(1)} dB`);
  for (const phase of [true, false]) {
    const { state } = tune({}, SURROUNDINGS, sweepText(nulled, { noise: NOISY, phase }));
    const said = state.sections.has('tune-turns') ? tuneWords(state).trim : designText(state);
    assert.match(said, phase ? /^Leave R1 and R3 as they are/ : /Leave R1 and R3 as they are|does not decide the turns/);
  }
});

test('a glitch of the measurement is named and left out of the fit; a sweep that does not fit names its worst line', () => {
  const lines = fs.readFileSync(path.join(root, 'docs/example-sweep.csv'), 'utf8').split('\n');
  const glitch = (index, level) => `${lines[index].split(',')[0]}, ${level}, 0`;
  for (const [changed, named] of [[{ 60: -300 }, [61]], [{ 200: -999 }, [201]], [{ 60: -300, 250: 40 }, [61, 251]]]) {
    const text = lines.map((line, i) => (i in changed ? glitch(i, changed[i]) : line)).join('\n');
    const { state } = tune({}, SURROUNDINGS, text);
    assert.ok(state.sections.has('tune-turns'), [...state.sections].join());
    assert.deepEqual([...state.tuneLines.leftOut].sort((a, b) => a - b), named);
    assert.match(tuneWords(state).leftOut, new RegExp(`^Fitted without lines? ${named.join(' and ')}: no network`));
  }
  const lowPass = Array.from({ length: 101 }, (_, i) => 5 * 10 ** (i / 50))
    .map((f) => `${f}, ${-10 * Math.log10(1 + (f / FO) ** 2)}, ${(-Math.atan(f / FO) * 180) / Math.PI}`).join('\n');
  const { state } = tune({}, SURROUNDINGS, lowPass);
  assert.ok(state.sections.has('tune-no-fit'));
  assert.match(tuneWords(state).worst, /^It explains line \d+ least\.$/);
});

// What each sample's text is read as: the level column taken (where its
// header names several) and the phase read with it.
const READ_AS = {
  'usb-analyser.csv': ['Channel 2 Magnitude (dB)', 'Channel 2 Phase (deg)'],
  'oscilloscope-bode.csv': ['CH2 Amplitude(dB)', 'CH2 Phase(Deg)'],
};

test('sweeps as instruments and programs export them are read as they come and tune the build', (t) => {
  const before = depthAfter(LAYOUT_BUILD, 0, 0);
  for (const name of Object.keys(LAYOUTS)) {
    const text = fs.readFileSync(path.join(LAYOUT_FOLDER, name), 'utf8');
    const { read, state } = tune({}, SURROUNDINGS, text);
    assert.equal(read.problem, 0, `${name}: ${read.message}`);
    assert.ok(state.sections.has('tune-turns'), `${name}: ${[...state.sections].join()}`);
    const columns = design.sweepColumns(core);
    if (READ_AS[name]) assert.deepEqual([columns.levels[columns.level], columns.phase], READ_AS[name], name);
    // Levels of another reference: the offset found and taken off.
    const offset = state.figures.get('tune-offset');
    if (name === 'measuring-program.txt') assert.ok(Math.abs(offset + 6.02) < 0.05, `${offset}`);
    else assert.equal(offset, undefined, name);
    const pairs = [''].concat(state.sections.has('tune-alt') ? ['-alt'] : []).map((alt) =>
      depthAfter(LAYOUT_BUILD, state.figures.get(`tune-r1-change${alt}`), state.figures.get(`tune-r3-change${alt}`)));
    t.diagnostic(`${name}: ${before.toFixed(1)} dB before, ${pairs.map((d) => d.toFixed(1)).join(' or ')} dB after`);
    assert.ok(Math.max(...pairs) >= 80, `${name}: ${pairs}`);
  }
});
