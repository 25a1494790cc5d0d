// The core's calls in the WebAssembly module under node, with the inputs
// of bench/core_bench.cpp, beside the native figures that it wrote
// (--figures). Goal: at most 1.5 times the native time per call.
//
//   node bench/web/core-bench.mjs CORE.wasm NATIVE_FIGURES.json
import fs from 'node:fs';
import { performance } from 'node:perf_hooks';

const [corePath, figuresPath] = process.argv.slice(2);
const core = (await WebAssembly.instantiate(fs.readFileSync(corePath), {})).instance.exports;
const native = JSON.parse(fs.readFileSync(figuresPath, 'utf8'));
// The module's memory never grows: it allocates nothing.
const bytes = new Uint8Array(core.memory.buffer);

const texts = ['10', '1591.549438', '0.1', '15915.494141', '4.7', '220', '1e3', '0.015915'].map((t) =>
  Buffer.from(t, 'latin1'),
);
const values = new Uint32Array(
  new Float32Array([1591.5494384765625, 0.1, 15915.494140625, 0.0159154939, 123.456, 1e20, 159154.9375, 10]).buffer,
);

// The median of several rounds of calls, in nanoseconds a call.
function perCall(call) {
  const calls = 200000;
  const rounds = [];
  for (let round = 0; round < 15; ++round) {
    const start = performance.now();
    for (let i = 0; i < calls; ++i) call(i);
    rounds.push(((performance.now() - start) * 1e6) / calls);
  }
  return rounds.sort((a, b) => a - b)[rounds.length >> 1];
}

const conversion = core.nw_conversion_text();
const parse = perCall((i) => {
  const text = texts[i % texts.length];
  bytes.set(text, conversion);
  core.nw_parse_number_text(text.length);
});
const format = perCall((i) => core.nw_format_result(values[i % values.length]));
bytes.set([0x31, 0x30, 0], core.nw_field_text(0));
bytes.set([0x31, 0x30, 0], core.nw_field_text(1));
const evaluate = perCall(() => core.nw_evaluate(0, 1, 1, 0));

console.log('per call (ns)        wasm under node   native   ratio   goal');
for (const [name, wasm] of [['ParseNumberText', parse], ['FormatResult', format], ['EvaluateForm', evaluate]]) {
  const ratio = wasm / native[name];
  console.log(
    `${name.padEnd(20)} ${wasm.toFixed(1).padStart(15)} ${native[name].toFixed(1).padStart(8)} ${ratio
      .toFixed(2)
      .padStart(7)}   <= 1.5: ${ratio <= 1.5 ? 'met' : 'NOT MET'}`,
  );
}
