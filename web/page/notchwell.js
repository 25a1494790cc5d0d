// The web edition of the Notchwell dialog. The calculation core runs as
// WebAssembly (inlined below); this script only does what the Windows
// dialog procedure does: fill the unit lists from the core, hand it the
// form on OK, and write the result back or show the message box and move
// the focus. It puts in the design panel (design-panel.html and its
// modules, design/*.js) when it starts, and after a result hands the
// panel the form as the calculator read it.
'use strict';
(() => {
  const CORE_WASM = '{{CORE_WASM_BASE64}}';
  // The design panel's markup and script, packed the same way.
  const DESIGN_PANEL = '{{DESIGN_PANEL_BASE64}}';
  const FIELD_TEXT_SIZE = 64;
  const NOTHING = 0;
  const ERROR = 1;

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

  // Code page 1252 as Windows converts a field's text, best fit included:
  // "XXXXYY" for each code unit from 0x80 that becomes a byte other than
  // "?" (web/code_page_1252.txt).
  // Packed as the module is, and read in before the dialog takes input.
  const CODE_PAGE_1252 = '{{CODE_PAGE_1252_BASE64}}';
  const ansi = new Map();

  // A field's text as the Windows program reads it: one byte of code page
  // 1252 for each UTF-16 code unit, at most 63 of them.
  function ansiBytes(text) {
    const bytes = [];
    for (let i = 0; i < text.length && bytes.length < FIELD_TEXT_SIZE - 1; ++i) {
      const unit = text.charCodeAt(i);
      if (unit === 0) break;
      bytes.push(unit < 0x80 ? unit : ansi.get(unit) ?? 0x3f);
    }
    return bytes;
  }

  function readText(address) {
    const memory = new Uint8Array(core.memory.buffer, address);
    let text = '';
    for (let i = 0; memory[i] !== 0; ++i) text += String.fromCharCode(memory[i]);
    return text;
  }

  function writeText(address, text) {
    const bytes = ansiBytes(text);
    const memory = new Uint8Array(core.memory.buffer, address, FIELD_TEXT_SIZE);
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
    const mode = radios[2].checked ? 0 : radios[0].checked ? 1 : 2;
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
    const result = { mode, units: units.map((select) => select.selectedIndex), texts: values.map((input) => ansiBytes(input.value)),
      values: values.map((input) => input.value), solve: [2, 0, 1][mode] };
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
  const unpack = (base64) => {
    const packed = new Blob([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))]);
    return new Response(packed.stream().pipeThrough(new DecompressionStream('gzip')));
  };
  async function start() {
    // The module compiles while the panel goes in.
    const module = unpack(CORE_WASM).arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, {}));
    const codePage = unpack(CODE_PAGE_1252).text();
    const panel = await unpack(DESIGN_PANEL).json();
    document.getElementById('panel-style').textContent = panel.style;
    document.getElementById('design-client').innerHTML = panel.markup;
    const panelScript = document.createElement('script');
    panelScript.textContent = panel.script;
    document.body.append(panelScript);
    const table = await codePage;
    for (let i = 0; i < table.length; i += 6) {
      ansi.set(parseInt(table.slice(i, i + 4), 16), parseInt(table.slice(i + 4, i + 6), 16));
    }
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
})();
