// The panel's reading of the design module, and what it writes of a
// design in words, under node: the report's layout read from a stand-in
// module's memory; then the module itself (the page's own) for the
// update's outcomes, the Copy text and the exports' texts.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { choiceOption } from '../../web/page/design/choices.js';
import { curveCsv, figuresCsv } from '../../web/page/design/csv.js';
import { designText } from '../../web/page/design/design-text.js';
import { kicadTexts, netlistHeader } from '../../web/page/design/export-texts.js';
import { linkText, readLink } from '../../web/page/design/link.js';
import * as design from '../../web/page/design/module.js';
import { HUM, core, designFor, tables } from './module-state.mjs';

// A module's memory with each array the report is read from at its own
// address, every value telling where it came from.
function standIn({ drawn }) {
  const n = 2;
  const points = 3;
  const memory = { buffer: new ArrayBuffer(1 << 16) };
  let free = 8;
  const place = (Type, values) => {
    const address = free;
    new Type(memory.buffer, address, values.length).set(values);
    free += values.length * 8;
    return address;
  };
  const seq = (from, count) => Array.from({ length: count }, (_, i) => from + i);
  const addresses = {
    values: place(Float64Array, [50, 33000]),
    available: place(Uint8Array, [1, 0]),
    sections: place(Uint8Array, [0, 1]),
    exact: place(Float64Array, seq(100, 12)),
    notches: place(Float64Array, seq(200, 4 * n)),
    at: [0, 1, 2].map((which) => place(Float64Array, seq(300 + 10 * which, n * n))),
    views: [0, 1, 2].map((which) => [0, 1].map((curve) => place(Float64Array, seq(1000 * (which + 1) + 10 * curve, points)))),
    time: [-1, 0, 1].map((curve) => place(Float64Array, seq(5000 + 10 * curve, points))),
    drawn: place(Uint8Array, drawn),
    hertz: place(Float64Array, [10, 100, 1000]),
    band: [0, 1].map((edge) => place(Float64Array, seq(7000 + 10 * edge, 2))),
  };
  const fake = {
    memory,
    nw_design_values: () => addresses.values,
    nw_design_available: () => addresses.available,
    nw_design_sections: () => addresses.sections,
    nw_design_exact_parts: () => addresses.exact,
    nw_design_curve_notches: () => addresses.notches,
    nw_design_curves_at_notches: (which) => addresses.at[which],
    nw_design_curve_view: (which, curve) => (which === 3 ? addresses.time[curve + 1] : addresses.views[which][curve]),
    nw_design_curves_drawn: () => addresses.drawn,
    nw_design_curve_hertz: () => addresses.hertz,
    nw_design_band: (edge) => addresses.band[edge],
    nw_design_tune_left_out: (index) => [61, 251][index] ?? 0,
    nw_design_tune_worst_line: () => 7,
  };
  const tables = { figures: new Map([['fo', { index: 0 }], ['build-r', { index: 1 }]]), sections: ['build', 'active'],
    curves: ['ideal', 'build'], curvePoints: points, bandPoints: 2, timePoints: points };
  return { fake, tables };
}

test('report reading: figures, sections, parts, curves and notches where the module lays them out', () => {
  const { fake, tables } = standIn({ drawn: [1, 1] });
  const report = design.readReport(fake, tables, 'step');
  assert.deepEqual([...report.figures], [['fo', 50]]); // a figure not available is left out
  assert.deepEqual([...report.sections], ['active']);
  assert.deepEqual(report.parts[3], [109, 110, 111]);
  const { curves } = report;
  assert.deepEqual(Array.from(curves.build), [1010, 1011, 1012]);
  assert.deepEqual(Array.from(curves.phase.ideal), [2000, 2001, 2002]);
  assert.deepEqual(Array.from(curves.delay.build), [3010, 3011, 3012]);
  assert.deepEqual(Array.from(curves.time.seconds), [4990, 4991, 4992]);
  assert.deepEqual(Array.from(curves.time.build), [5010, 5011, 5012]);
  assert.deepEqual(Array.from(curves.band.high), [7010, 7011]);
  assert.deepEqual(report.tuneLines, { leftOut: [61, 251], worst: 7 });
  // Notches: hertz, dB, degrees, delay a row each; every curve at each
  // notch from [curve][notch].
  assert.deepEqual(curves.notches.build, { hertz: 201, db: 203, degrees: 205, delay: 207,
    at: { ideal: { db: 301, degrees: 311, delay: 321 }, build: { db: 303, degrees: 313, delay: 323 } } });

  // A curve not drawn has no views; without the build, no band; no time
  // outside the time views.
  const without = design.readReport(standIn({ drawn: [1, 0] }).fake, tables, 'phase');
  assert.equal(without.curves.build, null);
  assert.equal(without.curves.band, null);
  assert.equal(without.curves.time, null);
  assert.ok(!('build' in without.curves.phase));
});

test('update: designed; a bad field, with its own message; no network, and why', () => {
  assert.equal(designFor().outcome, design.UPDATE.designed);
  assert.equal(designFor(HUM, {}, { source: 'abc' }).outcome, design.UPDATE.badFields);
  const source = core.nw_design_field_problem(0);
  assert.ok(source > 0);
  assert.match(design.fieldProblem(core, 0, 'abc', []).message, /./);
  assert.equal(design.fieldProblem(core, 0, '600', []).problem, 0);
  assert.equal(designFor({ ...HUM, values: ['-1', '100', '50'] }).outcome, design.UPDATE.noNetwork);
  assert.deepEqual(design.formReading(core).problem, 2); // negative
});

// Each state the panel shows, in the words Copy gives: lines that must be
// there and lines that must not.
test('design text: each state in words', () => {
  const far = { mode: 2, units: [2, 2, 0], values: ['159154.943092', '1', '0.000001'], solve: 0 };
  const tl072 = { network: '10', opamp: 'tl072' };
  for (const [what, form, choices, fields, present, absent] of [
    ['passive', HUM, {}, {}, ['Network: Passive (Q = 0.25)', '  set R1 and R3 in turn for the least output at Fo, until' +
      ' neither lowers it', 'Source resistance 0 Ω, load none'], ['  k = ']],
    ['active, TL072s, source and load', HUM, tl072, { source: '600', load: '10k' }, [
      '  op-amps: TL072, TL082: 3 MHz, 106 dB, 13 V/µs; every build below is worked out with them',
      '  as a passive network the same builds reach 44.7 dB', 'Source resistance 600 Ω, load 10 kΩ',
      '  the op-amps move none of this: at a null the output is zero, whatever their gain'], []],
    ['out of range', far, {}, {}, ['  Nearest build: out of range for standard parts'],
      ['  (there, "KiCad schematic" gives the nearest build as notchwell.kicad_sch, for KiCad 9)']],
    // 1 GHz from 1 pF.
    ['weak op-amps', { mode: 1, units: [0, 0, 2], values: ['159.154943', '1', '1000'], solve: 0 },
      { network: '10', opamp: 'custom' }, { 'opamp-gbw': '1k', 'opamp-gain': '40', 'opamp-slew': '0.01' }, [
        '  op-amps: your own, 1 kHz, 40 dB, 0.01 V/µs; every build below is worked out with them',
        "  at Fo each follower's own gain is −120.0 dB, more than 3 dB down: with these op-amps the circuit is no notch" +
          ' filter at Fo'], []],
  ]) {
    const { state } = designFor(form, choices, fields);
    const lines = designText(state).split('\n');
    for (const line of present) assert.ok(lines.includes(line), `${what}: ${line}`);
    for (const line of absent) assert.ok(!lines.some((l) => l.startsWith(line)), `${what}: not ${line}`);
    assert.ok(!/NaN|Infinity|undefined/.test(lines.join('\n')), what);
  }
});

test('export texts: the design in plain ASCII before the netlist and on the schematic', () => {
  const { state } = designFor(HUM, { network: '10', opamp: 'tl072' }, { source: '600', load: '10k' });
  assert.equal(netlistHeader(state), [
    '* Notchwell: the twin-T notch filter, nearest build of standard parts',
    '* Fo = 50.00 Hz; this build notches at 48.229 Hz',
    '* Resistors E24 +-1 %, capacitors E12 +-5 %; R3 is two R in parallel, C3 two C in parallel',
    '* Network: Active, Q = 10, op-amps: TL072, TL082: 3 MHz, 106 dB, 13 V/us, each the subcircuit OPAMP',
    "* Source 600 ohm, load 10 kohm; VS is the source's voltage: Vout/Vs is V(out)", ''].join('\n'));
  const texts = kicadTexts(state);
  assert.equal(texts.title, 'Twin-T notch, Fo = 50.00 Hz');
  assert.match(texts.note, /^Resistors E24 \+-1 %, capacitors E12 \+-5 %; R\/2 = R3 \|\| R4 and 2C = C3 \|\| C4/m);
  for (const text of [netlistHeader(state), ...Object.values(texts)]) assert.match(text, /^[\x20-\x7e\n]*$/);
});

test('choices: the lists as a person reads them, from the design code\'s tables', () => {
  const plain = (text) => text.replace(/\u00a0/g, ' ');
  const options = Object.fromEntries(tables.lists.map((list) =>
    [list.name, list.options.map((option) => choiceOption(list, option).map(plain))]));
  for (const [list, index, option] of [
    ['resistor-series', 1, ['E24', 'E24']],
    ['resistor-tolerance', 2, ['±1 %', '1']],
    ['network', 0, ['Passive (Q = 0.25)', 'passive']],
    ['network', 5, ['Active, Q = 10', '10']],
    ['opamp', 0, ['Ideal', 'ideal']],
    ['opamp', 2, ['TL072, TL082: 3 MHz, 106 dB, 13 V/µs', 'tl072']],
    ['resistor-tempco', 2, ['±50 ppm/K (metal film)', '50']],
    ['temperature-range', 2, ['\u221240 to 85 °C (industrial)', '-40,85']],
    ['plot-view', 4, ['Sine at Fo switched on', 'burst']],
  ]) {
    assert.deepEqual(options[list][index], option, `${list} ${index}`);
  }
  assert.equal(options.opamp.at(-1)[0], 'Custom: your own figures');
});

// The page's address and CSV of a design the module made, with every list
// and field the design code's tables name.
test('link and CSV of a whole design: every list and field back as it was, every curve on every row', () => {
  const choices = { 'resistor-series': 'E96', network: '10', opamp: 'tl072', 'reject-band': '2', 'plot-view': 'phase' };
  const fields = { source: '600', load: '10k', 'measured-r1': '33.2k', 'measured-r2': '32.9k', 'measured-r3': '16.4k',
    'measured-c1': '98.7n', 'measured-c2': '101.9n', 'measured-c3': '204.4n' };
  const { state } = designFor(HUM, choices, fields);
  const page = {
    units: [['Ohm', 'kOhm', 'mOhm'], ['pf', 'nf', 'uf'], ['Hz', 'kHz', 'mHz']],
    lists: tables.lists.map((list) =>
      ({ name: list.name, options: list.options.map((option) => choiceOption(list, option)[1]), default: list.default })),
    fields: tables.fields.map((field) => ({ name: field.name, maxLength: tables.fieldLength })),
    textLength: core.nw_field_text_size() - 1,
  };
  const shown = { ...state, units: state.units.map((index, i) => page.units[i][index]) };
  const { wanted } = readLink(linkText(shown), page);
  assert.deepEqual(wanted.lists, state.lists.map((list) => list.index));
  assert.deepEqual(wanted.fields, state.fields.map((field) => field.text));
  assert.deepEqual([wanted.solve, wanted.values, wanted.units], [HUM.solve, HUM.values, HUM.units]);

  const figures = figuresCsv({ ...state, tables: { ...state.tables, figureOrder: [...tables.figures.keys()] } });
  assert.equal(figures.trim().split('\r\n').length, state.figures.size + 1);
  const rows = curveCsv(state).trim().split('\r\n').map((row) => row.split(','));
  const drawn = tables.curves.filter((name) => state.curves[name]);
  assert.deepEqual(drawn, ['ideal', 'build', 'measured', 'opamp']);
  assert.ok(rows.length > tables.curvePoints, `${rows.length} rows`);
  for (const row of rows.slice(1)) assert.ok(row.slice(0, 1 + 3 * drawn.length).every((cell) => cell !== ''), row.join());
});
