// Builds the web edition's one offline file: the page with its style
// sheet, scripts, core module, design panel and schematic inlined, and
// the control identifiers filled in from the core's own table.
//
//   node tools/web/bundle.mjs CORE.wasm SCHEMATIC.bmp OUT.html
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import * as esbuild from 'esbuild';
import { bmpToPng } from './bmp-to-png.mjs';
import { controlIds, root } from './control-ids.mjs';
import { pack85 } from '../../web/page/pack85.js';
const [corePath, schematicPath, outPath] = process.argv.slice(2);
if (!outPath) {
  console.error('usage: node tools/web/bundle.mjs CORE.wasm SCHEMATIC.bmp OUT.html');
  process.exit(2);
}
const read = (file) => fs.readFileSync(path.join(root, file), 'utf8');

// What only a reader of the sources needs is left out of the file users
// get: the scripts and style sheets minified by esbuild (the panel's ES
// modules bundled into one script), the markup without its indentation,
// blank lines and comments.
const TARGET = ['chrome91', 'edge91', 'firefox113', 'safari16.4'];
const MINIFY = { minify: true, charset: 'utf8', legalComments: 'none', target: TARGET };
const bundleScript = (entry) =>
  esbuild.buildSync({ ...MINIFY, entryPoints: [path.join(root, entry)], bundle: true, format: 'iife', write: false })
    .outputFiles[0].text;
const compactStyle = (text) => esbuild.transformSync(text, { ...MINIFY, loader: 'css' }).code;
const compactMarkup = (text) =>
  text.replace(/<!--[\s\S]*?-->/g, '').split('\n').map((line) => line.trim()).filter((line) => line !== '').join('\n');

const fill = (text, values) =>
  text.replace(/\{\{(\w+)\}\}/g, (token, name) => {
    if (!(name in values)) throw new Error(`nothing to fill in for ${token}`);
    return values[name];
  });

// "XXXXYY" for each code unit and its byte, packed as the module is.
const codePage = read('web/code_page_1252.txt')
  .split('\n')
  .filter((line) => /^[0-9A-F]{4}\t[0-9A-F]{2}$/.test(line))
  .map((line) => line.replace('\t', ''))
  .join('');

// The version's release date, from CHANGELOG.md as the release takes it,
// for the files the page makes to carry in place of today's.
const version = read('CMakeLists.txt').match(/^project\(notchwell VERSION ([0-9.]+)/m)[1];
const released = read('CHANGELOG.md').match(new RegExp(`^## ${version.replace(/\./g, '\\.')} \\((\\d{4}-\\d{2}-\\d{2})\\)$`, 'm'))[1];
const designPanel = JSON.stringify({
  style: compactStyle(read('web/page/design-panel.css')),
  markup: compactMarkup(read('web/page/design-panel.html')),
  script: fill(bundleScript('web/page/design/main.js'), { RELEASE_DATE: released }),
});
// Zopfli (Debian's zopfli) writes gzip that any inflater reads, some 5 %
// smaller than zlib's best.
function gzipPacked(bytes) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'notchwell-pack-'));
  try {
    fs.writeFileSync(path.join(folder, 'part'), bytes);
    return pack85(execFileSync('zopfli', ['--gzip', '-c', path.join(folder, 'part')], { maxBuffer: 1 << 26 }));
  } finally {
    fs.rmSync(folder, { recursive: true });
  }
}

// The module gzip-compressed (no name or time in its header, so the same
// module gives the same bytes) and written as text five characters for
// four bytes (pack85.js), for the page to unpack with the browser's
// DecompressionStream; the same for the design panel (its style, markup
// and script) and the code page.
const script = fill(bundleScript('web/page/notchwell.js'), {
  CORE_WASM_PACKED: gzipPacked(fs.readFileSync(corePath)),
  DESIGN_PANEL_PACKED: gzipPacked(Buffer.from(designPanel)),
  CODE_PAGE_1252_PACKED: gzipPacked(Buffer.from(codePage)),
});
const page = fill(compactMarkup(read('web/page/index.html')), {
  ...controlIds,
  STYLE: compactStyle(read('web/page/notchwell.css')),
  SCRIPT: script,
  SCHEMATIC_PNG: `data:image/png;base64,${bmpToPng(fs.readFileSync(schematicPath)).toString('base64')}`,
});
fs.writeFileSync(outPath, page);
console.log(`bundle: ${outPath} (${Buffer.byteLength(page)} bytes)`);
