// The design code in the WebAssembly module (web/design_interface.h): its
// tables, the snapshot the page fills in before each update, and the
// report read back. No page here: only the module's memory.
import { UNITS } from './state.js';

// What an update came to: the report worked out afresh; or, the last
// report left as it was, a field with a problem (each field's own through
// fieldProblem) or a form that makes no network (formReading says why).
export const UPDATE = { designed: 0, badFields: 1, noNetwork: 2 };
const utf8 = new TextDecoder();

export function readText(core, address) {
  const memory = new Uint8Array(core.memory.buffer, address);
  return utf8.decode(memory.subarray(0, memory.indexOf(0)));
}

// What does not change: figures, lists with their options' numbers and
// labels, fields, sections, curves.
export function readTables(core) {
  const text = (address) => readText(core, address);
  const figures = new Map();
  for (let i = 0; i < core.nw_design_figure_count(); ++i) {
    figures.set(text(core.nw_design_figure_name(i)), {
      index: i,
      unit: UNITS[core.nw_design_figure_unit(i)],
      digits: core.nw_design_figure_digits(i),
      trimmed: core.nw_design_figure_trimmed(i) === 1,
    });
  }
  const lists = [];
  for (let list = 0; list < core.nw_design_list_count(); ++list) {
    const options = [];
    for (let i = 0; i < core.nw_design_choice_count(list); ++i) {
      const name = core.nw_design_option_name(list, i);
      const label = core.nw_design_choice_label(list, i);
      options.push({ name: name ? text(name) : null, value: core.nw_design_choice_value(list, i),
        high: core.nw_design_choice_high(list, i), label: label ? text(label) : null });
    }
    lists.push({ name: text(core.nw_design_list_name(list)), options, default: core.nw_design_choice_default(list) });
  }
  // An op-amp's datasheet figures: gain-bandwidth in Hz, gain in dB, slew
  // rate in V/µs, voltage and current noise in V/√Hz and A/√Hz.
  const opamp = lists.find((list) => list.name === 'opamp');
  opamp.options.forEach((option, i) => {
    const [gbw, gain, slew, en, noise] = new Float64Array(core.memory.buffer, core.nw_design_opamp(i), 5);
    option.figures = { gbw, gain, slew, en, in: noise };
  });
  // The value fields: name, group, label and what an empty one means.
  const fields = [];
  for (let i = 0; i < core.nw_design_field_count(); ++i) {
    const empty = core.nw_design_field_empty_means(i);
    fields.push({ name: text(core.nw_design_field_name(i)), group: text(core.nw_design_field_group(i)),
      label: text(core.nw_design_field_label(i)), emptyMeans: empty ? text(empty) : '' });
  }
  const sections = [];
  for (let i = 0; i < core.nw_design_section_count(); ++i) sections.push(text(core.nw_design_section_name(i)));
  const curves = [];
  for (let i = 0; i < core.nw_design_curve_count(); ++i) curves.push(text(core.nw_design_curve_name(i)));
  const noiseCurves = [];
  for (let i = 0; i < core.nw_design_noise_curve_count(); ++i) noiseCurves.push(text(core.nw_design_noise_curve_name(i)));
  return { figures, lists, fields, fieldLength: core.nw_design_field_length(), sections, curves, noiseCurves,
    randomBuilds: core.nw_design_random_builds(),
    curvePoints: core.nw_design_curve_points(), bandPoints: core.nw_design_band_points(),
    timePoints: core.nw_design_time_points() };
}

// A field's whole text, NULs and all, up to the 63 bytes a buffer holds.
function writeField(core, index, text) {
  const size = core.nw_field_text_size();
  const bytes = new TextEncoder().encode(text).subarray(0, size - 1);
  new Uint8Array(core.memory.buffer, core.nw_design_snapshot_field(index), size).set(bytes);
  new Int32Array(core.memory.buffer, core.nw_design_snapshot_field_lengths(), index + 1)[index] = bytes.length;
}

function writeChoices(core, choices) {
  new Int32Array(core.memory.buffer, core.nw_design_snapshot_choices(), choices.length).set(choices);
}

// The problem with a field's text (0 none) and its message, under the
// lists' `choices` (some fields count only under some choices).
export function fieldProblem(core, index, text, choices) {
  writeChoices(core, choices);
  writeField(core, index, text);
  const problem = core.nw_design_field_problem(index);
  return { problem, message: problem ? readText(core, core.nw_design_field_message(index)) : '' };
}

// A measured sweep's text read into the module, once for each change of
// the text: { problem (0 none), message }. A text longer than the module
// takes (or null, for one not even read) is refused whole. `anew`: the
// sweep was measured anew (a file chosen), a round of its own whatever
// its points. `column`: which of the header's level columns to read (-1:
// the output's, or the one with the notch).
export function readSweep(core, text, anew = false, column = -1) {
  const size = core.nw_design_sweep_text_size();
  const memory = new Uint8Array(core.memory.buffer, core.nw_design_sweep_text(), size);
  const { read, written } = text === null ? { read: 0, written: 0 } : new TextEncoder().encodeInto(text, memory);
  const whole = text !== null && read === text.length;
  const problem = core.nw_design_sweep_read(whole ? written : size + 1, anew ? 1 : 0, column);
  return { problem, message: problem ? readText(core, core.nw_design_sweep_message()) : '' };
}

// The columns of the sweep read, where its text named them: { levels (the
// level columns' names), level (the one read, -1 for none), phase (the
// phase column's name read with it, '' for none) }.
export function sweepColumns(core) {
  const levels = [];
  for (let name; (name = core.nw_design_sweep_level_name(levels.length)) !== 0;) levels.push(readText(core, name));
  return { levels, level: core.nw_design_sweep_level_column(), phase: readText(core, core.nw_design_sweep_phase_name()) };
}

// The points of the sweep read, for the plot: at most `most` of them,
// evenly among all (null for none); phases where it has them.
export function sweepPoints(core, most = 1000) {
  const count = core.nw_design_sweep_points();
  if (count === 0) return null;
  const every = Math.ceil(count / most);
  const column = (which) => new Float64Array(core.memory.buffer, core.nw_design_sweep(which), count)
    .filter((value, i) => i % every === 0);
  return { count, hertz: column(0), level: column(1), degrees: core.nw_design_sweep_phase() ? column(2) : null };
}

// snapshot: { form: { mode, units, texts (code page 1252 bytes) }, choices
// (indices), fields (texts) }. Returns one of UPDATE.
export function update(core, snapshot) {
  const { form } = snapshot;
  new Int32Array(core.memory.buffer, core.nw_design_snapshot_form_numbers(), 4).set([form.mode, ...form.units]);
  form.texts.forEach((bytes, quantity) => {
    const size = core.nw_field_text_size();
    const memory = new Uint8Array(core.memory.buffer, core.nw_design_snapshot_form_text(quantity), size);
    memory.fill(0);
    memory.set(bytes.slice(0, size - 1));
  });
  writeChoices(core, snapshot.choices);
  snapshot.fields.forEach((text, index) => writeField(core, index, text));
  return core.nw_design_update();
}

// How the last update read the form.
export const formReading = (core) => ({
  problem: core.nw_design_form_problem(),
  field: core.nw_design_form_field(),
  imprecise: core.nw_design_form_imprecise() === 1,
  reads: core.nw_design_form_reads(),
  computed: core.nw_design_form_computed(),
});

// The last report: its figures, sections, exact values' parts, curves
// (in time too, where the update's `plotView` is 'step' or 'burst').
export function readReport(core, tables, plotView) {
  const memory = core.memory.buffer;
  const count = tables.figures.size;
  const values = new Float64Array(memory, core.nw_design_values(), count);
  const available = new Uint8Array(memory, core.nw_design_available(), count);
  const figures = new Map();
  for (const [name, { index }] of tables.figures) if (available[index]) figures.set(name, values[index]);
  const held = new Uint8Array(memory, core.nw_design_sections(), tables.sections.length);
  const sections = new Set(tables.sections.filter((name, i) => held[i]));
  const exact = new Float64Array(memory, core.nw_design_exact_parts(), 12);
  const parts = [0, 1, 2, 3].map((i) => Array.from(exact.subarray(3 * i, 3 * i + 3)));
  const read = (address, points) => new Float64Array(memory, address, points).slice();
  const { curvePoints, bandPoints } = tables;
  const names = tables.curves;
  const n = names.length;
  const notches = new Float64Array(memory, core.nw_design_curve_notches(), 4 * n);
  const [atDb, atDegrees, atDelay] = [0, 1, 2].map((which) =>
    new Float64Array(memory, core.nw_design_curves_at_notches(which), n * n).slice());
  const view = (which, curve, points) => new Float64Array(memory, core.nw_design_curve_view(which, curve), points).slice();
  const drawn = new Uint8Array(memory, core.nw_design_curves_drawn(), n);
  const curves = {
    hertz: read(core.nw_design_curve_hertz(), curvePoints),
    ...Object.fromEntries(names.map((name, i) => [name, drawn[i] ? view(0, i, curvePoints) : null])),
    // The random builds' band, with the nearest build.
    band: drawn[names.indexOf('build')]
      ? { low: read(core.nw_design_band(0), bandPoints), high: read(core.nw_design_band(1), bandPoints) } : null,
    // Each curve's notch, and every curve drawn there (its `at`).
    notches: Object.fromEntries(names.map((name, i) =>
      [name, { hertz: notches[i], db: notches[n + i], degrees: notches[2 * n + i], delay: notches[3 * n + i],
        at: Object.fromEntries(names.map((curve, c) =>
          [curve, { db: atDb[n * c + i], degrees: atDegrees[n * c + i], delay: atDelay[n * c + i] }])) }])),
  };
  // The other views of the curves drawn: phase and delay at the same
  // frequencies; the step or burst chosen in time.
  curves.phase = {};
  curves.delay = {};
  curves.time = plotView === 'step' || plotView === 'burst' ? { seconds: view(3, -1, tables.timePoints) } : null;
  names.forEach((name, i) => {
    if (!curves[name]) return;
    curves.phase[name] = view(1, i, curvePoints);
    curves.delay[name] = view(2, i, curvePoints);
    if (curves.time) curves.time[name] = view(3, i, tables.timePoints);
  });
  // The nearest build's noise density, total and by source.
  curves.noise = sections.has('noise')
    ? Object.fromEntries(tables.noiseCurves.map((name, i) => [name, view(4, i, curvePoints)])) : null;
  // The measured sweep's lines its fit left out, and the one it explained least.
  const leftOut = [];
  for (let line; (line = core.nw_design_tune_left_out(leftOut.length)) > 0;) leftOut.push(line);
  const tuneLines = { leftOut, worst: core.nw_design_tune_worst_line() };
  return { figures, sections, parts, curves, tuneLines };
}

// The nearest build of the last report as a KiCad schematic with
// `texts` ({ title, date, comment, note }), or '' when it is out of range.
export function kicad(core, texts) {
  const input = `${texts.title}\n${texts.date}\n${texts.comment}\n${texts.note}\n`;
  const bytes = new TextEncoder().encode(input).subarray(0, 4095);
  const memory = new Uint8Array(core.memory.buffer, core.nw_design_kicad_input(), bytes.length + 1);
  memory.set(bytes);
  memory[bytes.length] = 0;
  const length = core.nw_design_kicad();
  return utf8.decode(new Uint8Array(core.memory.buffer, core.nw_design_kicad_text(), length));
}

// The nearest build of the last report as a netlist after `header`, or ''
// when it is out of range.
export function netlist(core, header) {
  const bytes = new TextEncoder().encode(header);
  new Uint8Array(core.memory.buffer, core.nw_design_netlist_text(), bytes.length).set(bytes);
  const length = core.nw_design_netlist(bytes.length);
  return utf8.decode(new Uint8Array(core.memory.buffer, core.nw_design_netlist_text(), length));
}
