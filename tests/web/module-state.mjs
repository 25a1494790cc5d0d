// The design module as the page loads it, under node: the very module the
// page inlines (NOTCHWELL_CORE, or the wasm build's), and a state made of
// a form, choices and fields as the panel makes it, for the page's logic
// to be tested on without a browser.
import fs from 'node:fs';
import path from 'node:path';
import { root } from '../../tools/web/control-ids.mjs';
import { choiceOption } from '../../web/page/design/choices.js';
import * as design from '../../web/page/design/module.js';

const wasm = process.env.NOTCHWELL_CORE ?? path.join(root, 'build/wasm/web/notchwell-core.wasm');
export const core = (await WebAssembly.instantiate(fs.readFileSync(wasm), {})).instance.exports;
export const tables = { ...design.readTables(core), figureOrder: [] };

// The 50 Hz filter from 100 nF, as the dialog writes it back: R solved.
export const HUM = { mode: 1, units: [1, 1, 0], values: ['31.830988', '100', '50'], solve: 0 };

// `choices`: { list name: option value }; `fields`: { field name: text }.
// Returns { outcome, state }: the state as the panel builds it where the
// update designed.
export function designFor(form = HUM, choices = {}, fields = {}) {
  const lists = tables.lists.map((list) => {
    const options = list.options.map((option) => choiceOption(list, option));
    const wanted = choices[list.name];
    const index = wanted === undefined ? list.default : options.findIndex(([, value]) => value === wanted);
    if (index < 0) throw new Error(`no option ${wanted} on ${list.name}`);
    return { name: list.name, index, value: options[index][1], text: options[index][0] };
  });
  const fieldTexts = tables.fields.map((field) => fields[field.name] ?? '');
  const texts = form.values.map((text) => Array.from(text, (c) => c.charCodeAt(0)));
  const outcome = design.update(core, { form: { ...form, texts }, choices: lists.map((list) => list.index),
    fields: fieldTexts });
  if (outcome !== design.UPDATE.designed) return { outcome, state: null };
  const view = lists.find((list) => list.name === 'plot-view').value;
  const state = { solve: form.solve, values: form.values, units: form.units, lists,
    fields: tables.fields.map(({ name, group }, i) => ({ name, group, text: fieldTexts[i] })),
    ...design.readReport(core, tables, view), tables, href: 'file:///notchwell.html#v=1' };
  return { outcome, state };
}
