// The design panel below the dialog, in parts bundled in order into one
// script: design-core (this file: what every part shares), design-format
// (numbers as text), design-fields (the panel's value fields),
// design-figures (the figures and what shows), design-plot (the response
// curve), design-export (the design as text, a SPICE netlist and CSV),
// design-link (the design in the page's address), and design.js, which
// starts the panel and works it out afresh after every OK press and
// change.
//
// After every OK press that writes a result, the dialog's script hands
// the form's texts to the design code (in the same WebAssembly module as
// the calculator); the panel passes on its choices and fields, and draws
// what comes back: figures in SI units and the response curves.
const panel = document.getElementById('design');
const control = (name) => panel.querySelector(`[data-design="${name}"]`);
const FIELD_TEXT_SIZE = 64;
const UNITS = ['ohm', 'farad', 'hertz', 'dB', 'percent', 'number', 'count'];
const utf8 = new TextDecoder();
let core = null;
const figures = new Map(); // name -> { index, unit, digits, trimmed }
let latest = new Map(); // name -> value in SI units, of the figures the last update gave

function readText(address) {
  const memory = new Uint8Array(core.memory.buffer, address);
  return utf8.decode(memory.subarray(0, memory.indexOf(0)));
}

// The figures of the last update, as the design code left them.
function readFigures() {
  const values = new Float64Array(core.memory.buffer, core.nw_design_values(), figures.size);
  const available = new Uint8Array(core.memory.buffer, core.nw_design_available(), figures.size);
  latest = new Map();
  for (const [name, { index }] of figures) if (available[index]) latest.set(name, values[index]);
}
