// How the design panel's tests drive it: a form typed into the dialog,
// the panel's choices and fields, and every figure on it held to what the
// native build of the design code gives for the same texts
// (tests/design/print_design_report).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { at, controlIds as ids, root } from '../../tools/web/control-ids.mjs';
import { fill } from './browser-driver.mjs';

const reporter = process.env.NOTCHWELL_DESIGN_REPORT ?? path.join(root, 'build/native/tests/print_design_report');
const unitIndex = { Ohm: 0, kOhm: 1, mOhm: 2, pf: 0, nf: 1, uf: 2, Hz: 0, kHz: 1, mHz: 2 };
const solveIds = { R: ids.IDC_SOLVE_R, C: ids.IDC_SOLVE_C, Fo: ids.IDC_SOLVE_FO };
const rows = [
  [ids.IDC_RESISTANCE, ids.IDC_RESISTANCE_UNITS],
  [ids.IDC_CAPACITANCE, ids.IDC_CAPACITANCE_UNITS],
  [ids.IDC_FREQUENCY, ids.IDC_FREQUENCY_UNITS],
];
// The panel's lists, in the order the native report takes them.
const formNames = ['r', 'c', 'fo'];
export const choiceNames = ['resistor-series', 'capacitor-series', 'resistor-tolerance', 'capacitor-tolerance', 'network',
  'resistor-tempco', 'capacitor-tempco', 'temperature-range'];
export const measuredNames = ['measured-r1', 'measured-r2', 'measured-r3', 'measured-c1', 'measured-c2', 'measured-c3'];
// R1 33.2k, R2 32.9k, R3 16.4k, C1 98.7n, C2 101.9n, C3 204.4n: a 50 Hz build as a meter reads it.
export const measuredHum = ['33.2k', '32.9k', '16.4k', '98.7n', '101.9n', '204.4n'];

export const hum = { solve: 'R', texts: ['', '100', '50'], units: ['kOhm', 'nf', 'Hz'] };
export const solveC = { solve: 'C', texts: ['10', '', '1'], units: ['kOhm', 'nf', 'kHz'] };

// Types a form into the dialog and presses Enter. (The radio button is
// clicked from the page: on a wide screen the dialog stays in view as
// the page scrolls, where a pointer's click may not find it.)
export async function design(page, form) {
  await page.$eval(at(solveIds[form.solve]), (radio) => radio.click());
  for (const [i, [value, unit]] of rows.entries()) {
    await fill(page, value, form.texts[i]);
    await page.select(at(unit), form.units[i]);
  }
  await page.focus(at(ids.IDC_RESISTANCE));
  await page.keyboard.press('Enter');
}

// The panel's figures, the curve's among them wherever the page puts it.
export const figuresOf = (page) =>
  page.$$eval('#design [data-figure], #curve-dock [data-figure]', (elements) =>
    Object.fromEntries(elements.map((e) => [e.dataset.figure,
      { text: e.textContent, value: e.dataset.value, parts: e.dataset.parts }])));

// What the native build gives for the texts now on the form and the
// panel's choices and fields: every available figure the same to 12
// digits, and the exact values' parts as written.
export async function expectNativeFigures(page) {
  // Each of the panel's lists and fields by its name, as the design code's table names them.
  const state = await page.evaluate(() => ({
    fields: Array.from(document.querySelectorAll('main input.value'), (i) => i.value),
    units: Array.from(document.querySelectorAll('main select'), (s) => s.value),
    // The sweep's level column is the sweep's, not the design's.
    panel: Array.from(document.querySelectorAll('#design select:not([data-design="tune-column"]), #design input:not([type="file"])'),
      (e) => `${e.dataset.design}=${e.tagName === 'SELECT' ? e.selectedIndex : e.value}`),
  }));
  const args = state.fields.flatMap((text, i) => [`${formNames[i]}=${text}`, `${formNames[i]}-unit=${unitIndex[state.units[i]]}`]);
  const native = JSON.parse(execFileSync(reporter, [...args, ...state.panel], { encoding: 'utf8' }));
  const shown = await figuresOf(page);
  for (const [name, { value }] of Object.entries(shown)) {
    assert.equal(value, name in native ? native[name].toPrecision(12) : undefined, name);
  }
  const parts = ['exact-r', 'exact-r3', 'exact-c', 'exact-c3'].map((name) => shown[name].parts);
  assert.deepEqual(parts, native.parts.length ? native.parts : [undefined, undefined, undefined, undefined]);
  return Object.fromEntries(
    Object.entries(shown).map(([name, { text, value, parts }]) => [name, { text, value: value && Number(value), parts }]),
  );
}

// Printed on A4 (Chromium's print to PDF): one page.
export async function expectOnePrintedPage(page) {
  const pdf = Buffer.from(await page.pdf({ format: 'A4' })).toString('latin1');
  assert.equal(pdf.match(/\/Type\s*\/Page\b/g).length, 1, 'one printed page');
}

export const setChoice = (page, name, value) => page.select(`[data-design="${name}"]`, value);
// A field's whole text at once, as pasting gives it.
export const paste = (page, name, text) =>
  page.$eval(`[data-design="${name}"]`, (field, t) => {
    field.value = t;
    field.dispatchEvent(new Event('input', { bubbles: true }));
  }, text);
export const panelText = (page) => page.$eval('#design', (panel) => panel.innerText);
export const fieldState = (page, name) =>
  page.$eval(`[data-design="${name}"]`, (field) => {
    const messageId = field.getAttribute('aria-errormessage');
    return {
      invalid: field.getAttribute('aria-invalid'),
      message: document.getElementById(`${field.id}-message`).textContent,
      tied: messageId !== null && field.getAttribute('aria-describedby').split(' ').includes(messageId),
    };
  });
