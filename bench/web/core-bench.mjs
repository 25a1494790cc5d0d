// The core's calls as WebAssembly under node, with the inputs of
// bench/core_bench.cpp, beside the native figures that it wrote
// (--figures). Goal: at most 1.5 times the native time a call.
//
// "in wasm" loops inside core-loops.wasm, the same core objects as the
// page's module, so that it times the core's own code; "from JS" calls
// the page's module once per call, as the page does, text copy included.
//
//   node bench/web/core-bench.mjs CORE.wasm CORE_LOOPS.wasm NATIVE_FIGURES.json
import fs from 'node:fs';
import { performance } from 'node:perf_hooks';

const [corePath, loopsPath, figuresPath] = process.argv.slice(2);
const load = async (file) => (await WebAssembly.instantiate(fs.readFileSync(file), {})).instance.exports;
const core = await load(corePath);
const loops = await load(loopsPath);
const native = JSON.parse(fs.readFileSync(figuresPath, 'utf8'));
// The module's memory never grows: it allocates nothing.
const bytes = new Uint8Array(core.memory.buffer);

const texts = ['10', '1591.549438', '0.1', '15915.494141', '4.7', '220', '1e3', '0.015915'].map((t) =>
  Buffer.from(t, 'latin1'),
);
const values = new Uint32Array(
  new Float32Array([1591.5494384765625, 0.1, 15915.494140625, 0.0159154939, 123.456, 1e20, 159154.9375, 10]).buffer,
);

// The median of 15 rounds, in nanoseconds a call.
function perCall(round, calls) {
  const times = [];
  for (let i = 0; i < 15; ++i) {
    const start = performance.now();
    round(calls);
    times.push(((performance.now() - start) * 1e6) / calls);
  }
  return times.sort((a, b) => a - b)[7];
}
const fromJs = (call) => (calls) => {
  for (let i = 0; i < calls; ++i) call(i);
};

const conversion = core.nw_conversion_text();
bytes.set([0x31, 0x30, 0], core.nw_field_text(0));
bytes.set([0x31, 0x30, 0], core.nw_field_text(1));
const rows = [
  ['ParseNumberText', loops.bench_parse_number_text, (i) => {
    const text = texts[i % texts.length];
    bytes.set(text, conversion);
    core.nw_parse_number_text(text.length);
  }],
  ['FormatResult', loops.bench_format_result, (i) => core.nw_format_result(values[i % values.length])],
  ['EvaluateForm', loops.bench_evaluate_form, () => core.nw_evaluate(0, 1, 1, 0)],
];
console.log('per call (ns)       in wasm    native   ratio   goal              from JS');
for (const [name, loop, call] of rows) {
  const wasm = perCall(loop, 200000);
  const js = perCall(fromJs(call), 200000);
  const ratio = wasm / native[name];
  console.log(
    `${name.padEnd(16)} ${wasm.toFixed(1).padStart(10)} ${native[name].toFixed(1).padStart(9)} ` +
      `${ratio.toFixed(2).padStart(7)}   <= 1.5: ${(ratio <= 1.5 ? 'met' : 'NOT MET').padEnd(8)} ${js.toFixed(1).padStart(8)}`,
  );
}
