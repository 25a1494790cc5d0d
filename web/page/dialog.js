// The web edition of the Notchwell dialog. The calculation core runs as
// WebAssembly; this script only does what the Windows dialog procedure
// does: fill the unit lists from the core, hand it the form on OK, and
// write the result back or show the message box and move the focus. It
// puts in the design panel (design-panel.html and its modules, design/*.js)
// when it starts, and after a result hands the panel the form as the
// calculator read it.
import { unpack85 } from './pack85.js';

const NOTHING = 0;
const ERROR = 1;

// Code page 1252 as Windows converts a field's text, best fit included,
// from "XXXXYY" for each code unit from 0x80 that becomes a byte other
// than "?" (web/code_page_1252.txt): code unit -> byte.
export function codePageTable(packed) {
  const table = new Map();
  for (let i = 0; i < packed.length; i += 6) {
    table.set(parseInt(packed.slice(i, i + 4), 16), parseInt(packed.slice(i + 4, i + 6), 16));
  }
  return table;
}

// A field's text as the Windows program reads it into its buffer of
// `size` bytes: one byte of code page 1252 for each UTF-16 code unit, at
// most size - 1 of them, up to a NUL.
export function ansiBytes(text, table, size) {
  const bytes = [];
  for (let i = 0; i < text.length && bytes.length < size - 1; ++i) {
    const unit = text.charCodeAt(i);
    if (unit === 0) break;
    bytes.push(unit < 0x80 ? unit : table.get(unit) ?? 0x3f);
  }
  return bytes;
}

// The calculation's mode from the radio buttons marked (R, C, Fo): Fo,
// else R, else C.
export const modeOf = (marked) => (marked[2] ? 0 : marked[0] ? 1 : 2);

// `packed`: { core, panel, codePage }, each gzip-compressed and as text
// (pack85.js):
// the module, the design panel ({ style, markup, script }) and the code
// page as "XXXXYY" pairs.
export function startDialog(document, packed) {

  const form = document.getElementById('calculator');
  const values = Array.from(form.querySelectorAll('input.value')); // R, C, Fo
  const units = Array.from(form.querySelectorAll('select.unit')); // R, C, Fo
  const radios = Array.from(form.querySelectorAll('input[type="radio"]')); // R, C, Fo
  const box = document.getElementById('message-box');
  const boxText = document.getElementById('message-text');
  const boxOk = document.getElementById('message-ok');
  const control = (id) => form.querySelector(`[data-control-id="${id}"]`);
  let core = null;
  let focusAfterMessage = null;

  // Read in before the dialog takes input.
  let ansi = new Map();

  function readText(address) {
    const memory = new Uint8Array(core.memory.buffer, address);
    let text = '';
    for (let i = 0; memory[i] !== 0; ++i) text += String.fromCharCode(memory[i]);
    return text;
  }

  function writeText(address, text) {
    const bytes = ansiBytes(text, ansi, core.nw_field_text_size());
    const memory = new Uint8Array(core.memory.buffer, address, core.nw_field_text_size());
    memory.set(bytes);
    memory[bytes.length] = 0;
  }

  function showMessage(text, focusAfter) {
    boxText.textContent = text;
    focusAfterMessage = focusAfter;
    box.showModal();
    boxOk.focus();
  }

  // OK: the mode from the radio buttons (Fo, else R, else C), the lists'
  // selections and the three texts go to the core; its outcome is carried
  // out as the dialog does.
  // With `quiet`, an error is not shown: the caller is told instead.
  function calculate(quiet = false) {
    if (core === null || box.open) return 'nothing';
    const mode = modeOf(radios.map((radio) => radio.checked));
    values.forEach((input, quantity) => writeText(core.nw_field_text(quantity), input.value));
    const kind = core.nw_evaluate(mode, units[0].selectedIndex, units[1].selectedIndex, units[2].selectedIndex);
    if (kind === NOTHING) return 'nothing';
    const target = control(core.nw_outcome_field());
    const text = readText(core.nw_outcome_text());
    if (kind === ERROR) {
      if (!quiet) showMessage(text, target);
      return 'error';
    }
    target.value = text;
    values[0].focus();
    // The design panel follows every result, for the texts as they now
    // stand and as the calculator reads them.
    // (`values` and `solve` as the page's link writes them.)
    const result = { mode, units: units.map((select) => select.selectedIndex), texts: values.map((input) => ansiBytes(input.value, ansi, core.nw_field_text_size())),
      values: values.map((input) => input.value), solve: core.nw_solved_quantity(mode) };
    document.dispatchEvent(new CustomEvent('notchwell-result', { detail: result }));
    return 'result';
  }

  // The design panel reopening a link presses OK this way: what would
  // show a message box is handed back instead.
  document.addEventListener('notchwell-quiet-ok', (event) => (event.detail.outcome = calculate(true)));
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    calculate();
  });
  // Enter in any control presses OK, as the dialog's default button.
  form.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' || event.isComposing || event.target.tagName === 'BUTTON') return;
    event.preventDefault();
    calculate();
  });
  // The box closes by its OK button, Enter or Escape; the focus then goes
  // to the control that holds the problem.
  function closeMessage() {
    if (box.open) box.close();
    const target = focusAfterMessage;
    focusAfterMessage = null;
    if (target !== null) target.focus();
  }
  boxOk.addEventListener('click', closeMessage);
  box.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      event.preventDefault();
      closeMessage();
    } else if (event.key === 'Tab') {
      // The box's one button keeps the focus, as in the Windows message box.
      event.preventDefault();
      boxOk.focus();
    }
  });
  box.addEventListener('cancel', (event) => {
    event.preventDefault();
    closeMessage();
  });
  // Should the browser close the box by itself all the same. A close
  // event arrives a task after the box closed: by then OK may have opened
  // it again, and that box is not to be closed.
  box.addEventListener('close', () => {
    if (!box.open) closeMessage();
  });

  // The module and the design panel are inlined gzip-compressed, and
  // unpacked by the browser.
  const unpack = (packedText) => {
    const bytes = new Blob([unpack85(packedText)]);
    return new Response(bytes.stream().pipeThrough(new DecompressionStream('gzip')));
  };
  async function start() {
    // The module compiles while the panel goes in.
    const module = unpack(packed.core).arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, {}));
    const codePage = unpack(packed.codePage).text();
    const panel = await unpack(packed.panel).json();
    document.getElementById('panel-style').textContent = panel.style;
    document.getElementById('design-client').innerHTML = panel.markup;
    const panelScript = document.createElement('script');
    panelScript.textContent = panel.script;
    document.body.append(panelScript);
    ansi = codePageTable(await codePage);
    core = (await module).instance.exports;
    units.forEach((select, quantity) => {
      select.length = 0;
      for (let i = 0; i < core.nw_unit_count(); ++i) select.add(new Option(readText(core.nw_unit_label(quantity, i))));
      select.selectedIndex = core.nw_unit_default(quantity);
    });
    document.getElementById('message-caption').textContent = readText(core.nw_message_caption());
    // Every start is a fresh dialog, whatever the browser kept of a visit.
    values.forEach((input) => (input.value = ''));
    radios[0].checked = true;
    document.dispatchEvent(new CustomEvent('notchwell-core', { detail: core }));
    values[0].focus();
    document.documentElement.dataset.ready = 'true';
    performance.mark('ready');
  }
  start().catch((error) => {
    form.textContent = `This browser cannot run the calculator: ${error}`;
  });
}
