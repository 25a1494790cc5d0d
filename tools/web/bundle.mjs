// Builds the web edition's one offline file: the page with its style
// sheet, scripts, core module, design panel and schematic inlined, and
// the control identifiers filled in from the core's own table.
//
//   node tools/web/bundle.mjs CORE.wasm SCHEMATIC.bmp OUT.html
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { bmpToPng } from './bmp-to-png.mjs';
import { controlIds, root } from './control-ids.mjs';
const [corePath, schematicPath, outPath] = process.argv.slice(2);
if (!outPath) {
  console.error('usage: node tools/web/bundle.mjs CORE.wasm SCHEMATIC.bmp OUT.html');
  process.exit(2);
}
const read = (file) => fs.readFileSync(path.join(root, file), 'utf8');

// What only a reader of the sources needs, left out of the file users
// get: whole-line comments and indentation (and blank lines). A template
// literal across lines would lose its indentation, so there must be none.
const lines = (text) => text.split('\n').map((line) => line.trim()).filter((line) => line !== '');
const compactScript = (text, file) =>
  lines(text)
    .filter((line) => {
      if ((line.match(/`/g) ?? []).length % 2 !== 0) throw new Error(`${file}: a template literal across lines`);
      return !line.startsWith('//');
    })
    .join('\n');
const compactStyle = (text) => lines(text.replace(/\/\*[\s\S]*?\*\//g, '')).join('\n');
const compactMarkup = (text) => lines(text).join('\n');

const fill = (text, values) =>
  text.replace(/\{\{(\w+)\}\}/g, (token, name) => {
    if (!(name in values)) throw new Error(`nothing to fill in for ${token}`);
    return values[name];
  });

// "XXXXYY" for each code unit and its byte.
const codePage = read('web/code_page_1252.txt')
  .split('\n')
  .filter((line) => /^[0-9A-F]{4}\t[0-9A-F]{2}$/.test(line))
  .map((line) => line.replace('\t', ''))
  .join('');

// The design panel: its markup and its script's parts (in this order, in
// one scope of their own), packed together and gzip-compressed like the
// module. The page puts them in when it starts; unpacked, they would
// take twice the room the budget leaves.
const designParts = ['design-core.js', 'design-format.js', 'design-fields.js', 'design-figures.js', 'design-plot.js',
  'design-export.js', 'design-link.js', 'design.js'];
const designScript = designParts.map((file) => compactScript(read(`web/page/${file}`), file)).join('\n');
const designPanel = JSON.stringify({
  markup: compactMarkup(read('web/page/design-panel.html').replace(/<!--[\s\S]*?-->/g, '')),
  script: `(() => {\n'use strict';\n${designScript}\n})();`,
});
const gzipBase64 = (bytes) => zlib.gzipSync(bytes, { level: 9 }).toString('base64');

// The module gzip-compressed (no name or time in its header, so the same
// module gives the same bytes), for the page to unpack with the browser's
// DecompressionStream; the same for the design panel.
const script = fill(compactScript(read('web/page/notchwell.js'), 'notchwell.js'), {
  CORE_WASM_BASE64: gzipBase64(fs.readFileSync(corePath)),
  DESIGN_PANEL_BASE64: gzipBase64(Buffer.from(designPanel)),
  CODE_PAGE_1252: codePage,
});
const page = fill(compactMarkup(read('web/page/index.html')), {
  ...controlIds,
  STYLE: compactStyle(read('web/page/notchwell.css')),
  SCRIPT: script,
  SCHEMATIC_PNG: `data:image/png;base64,${bmpToPng(fs.readFileSync(schematicPath)).toString('base64')}`,
});
fs.writeFileSync(outPath, page);
console.log(`bundle: ${outPath} (${Buffer.byteLength(page)} bytes)`);
