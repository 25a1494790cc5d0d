// Runs wasm_digests (a WASI program) against the web edition's core
// module, the very file the page inlines: each import of the program is
// one call of the module's exports, with the texts copied between the two
// memories.
//
//   node run-wasm-digests.mjs CORE.wasm WASM_DIGESTS.wasm [--texts N] [--forms N] [--every K]
import fs from 'node:fs';
import { WASI } from 'node:wasi';

const [corePath, digestsPath, ...args] = process.argv.slice(2);
const core = (await WebAssembly.instantiate(fs.readFileSync(corePath), {})).instance.exports;
let program = null;
let coreBytes = new Uint8Array(core.memory.buffer);
let bytes = null;
const programBytes = () => {
  if (bytes === null || bytes.buffer !== program.memory.buffer) bytes = new Uint8Array(program.memory.buffer);
  return bytes;
};
const view = () => new DataView(program.memory.buffer);
// A terminated text of the program's memory into a 64-byte buffer of the core.
const copyIn = (from, to, length) => {
  coreBytes.set(programBytes().subarray(from, from + length), to);
  coreBytes[to + length] = 0;
};
const terminatedLength = (at) => programBytes().subarray(at, at + 64).indexOf(0);

const imports = {
  notchwell: {
    format_result(bits, text) {
      const length = core.nw_format_result(bits);
      programBytes().set(coreBytes.subarray(core.nw_conversion_text(), core.nw_conversion_text() + length + 1), text);
      return length;
    },
    parse_number_text(text, length, bitsAt) {
      copyIn(text, core.nw_conversion_text(), length);
      const ok = core.nw_parse_number_text(length);
      view().setUint32(bitsAt, ok ? core.nw_parsed_bits() : 0, true);
      return ok;
    },
    evaluate_form(mode, rUnit, cUnit, fUnit, r, c, f, fieldAt, textAt) {
      [r, c, f].forEach((text, quantity) => copyIn(text, core.nw_field_text(quantity), terminatedLength(text)));
      const kind = core.nw_evaluate(mode, rUnit, cUnit, fUnit);
      view().setInt32(fieldAt, core.nw_outcome_field(), true);
      const out = core.nw_outcome_text();
      const length = coreBytes.subarray(out, out + 64).indexOf(0);
      programBytes().set(coreBytes.subarray(out, out + length + 1), textAt);
      return kind;
    },
  },
};
const wasi = new WASI({ version: 'preview1', args: ['wasm_digests', ...args] });
const instance = (
  await WebAssembly.instantiate(fs.readFileSync(digestsPath), {
    ...imports,
    wasi_snapshot_preview1: wasi.wasiImport,
  })
).instance;
program = instance.exports;
coreBytes = new Uint8Array(core.memory.buffer);
process.exitCode = wasi.start(instance);
