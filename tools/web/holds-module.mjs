// Whether the page holds the very core module: one of its packed,
// gzip-compressed texts unpacks to the module's bytes. Exits 1 where none
// does.
//
//   node tools/web/holds-module.mjs PAGE.html CORE.wasm
import fs from 'node:fs';
import zlib from 'node:zlib';
import { ALPHABET, unpack85 } from '../../web/page/pack85.js';

const [pagePath, corePath] = process.argv.slice(2);
const page = fs.readFileSync(pagePath, 'utf8');
const core = fs.readFileSync(corePath);
const escaped = ALPHABET.replace(/[\]\\^-]/g, '\\$&');
const holds = Array.from(page.matchAll(new RegExp(`["']([${escaped}]{1000,})["']`, 'g')), ([, text]) => {
  try {
    return zlib.gunzipSync(unpack85(text)).equals(core);
  } catch {
    return false;
  }
}).some(Boolean);
if (!holds) console.error(`${pagePath} does not hold ${corePath}`);
process.exit(holds ? 0 : 1);
