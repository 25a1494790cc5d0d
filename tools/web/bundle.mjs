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

// "XXXXYY" for each code unit and its byte, packed as the module is.
const codePage = read('web/code_page_1252.txt')
  .split('\n')
  .filter((line) => /^[0-9A-F]{4}\t[0-9A-F]{2}$/.test(line))
  .map((line) => line.replace('\t', ''))
  .join('');

// The design panel's script: its ES modules (web/page/design/), each in
// a scope of its own in the order they import each other, an import
// becoming the names its module hands back. No cycles, and every name
// imported must be exported.
const IMPORT = /^import (?:\{([^}]*)\}|\* as (\w+)) from '\.\/([\w-]+)\.js';$/;
const EXPORTED = /^export (?:async )?(?:function|const|let) (\w+)/;
function bundleModules(entry) {
  const order = [];
  const state = new Map(); // file -> 'visiting' | exported names
  const scopeOf = (file) => `module_${file.replace(/-/g, '_')}`;
  function visit(file, from) {
    if (state.get(file) === 'visiting') throw new Error(`web/page/design: an import cycle through ${file}.js (from ${from})`);
    if (state.has(file)) return state.get(file);
    state.set(file, 'visiting');
    const source = read(`web/page/design/${file}.js`);
    const names = [];
    const body = source.split('\n').map((line) => {
      const imported = line.match(IMPORT);
      if (imported) {
        const [, list, star, dependency] = imported;
        const exported = visit(dependency, file);
        if (star) return `const ${star} = ${scopeOf(dependency)};`;
        const bindings = list.split(',').map((name) => name.trim()).filter(Boolean).map((name) => {
          const [original, local] = name.split(/\s+as\s+/);
          if (!exported.includes(original)) throw new Error(`${file}.js imports ${original}, which ${dependency}.js does not export`);
          return local ? `${original}: ${local}` : original;
        });
        return `const { ${bindings.join(', ')} } = ${scopeOf(dependency)};`;
      }
      if (line.startsWith('import ')) throw new Error(`${file}.js: an import the bundler does not take: ${line}`);
      const exported = line.match(EXPORTED);
      if (exported) {
        names.push(exported[1]);
        return line.slice('export '.length);
      }
      if (line.startsWith('export ')) throw new Error(`${file}.js: an export the bundler does not take: ${line}`);
      return line;
    });
    order.push(`const ${scopeOf(file)} = (() => {\n${compactScript(body.join('\n'), `${file}.js`)}\nreturn { ${names.join(', ')} };\n})();`);
    state.set(file, names);
    return names;
  }
  visit(entry, 'the page');
  return order.join('\n');
}
// The version's release date, from CHANGELOG.md as the release takes it,
// for the files the page makes to carry in place of today's.
const version = read('CMakeLists.txt').match(/^project\(notchwell VERSION ([0-9.]+)/m)[1];
const released = read('CHANGELOG.md').match(new RegExp(`^## ${version.replace(/\./g, '\\.')} \\((\\d{4}-\\d{2}-\\d{2})\\)$`, 'm'))[1];
const designPanel = JSON.stringify({
  style: compactStyle(read('web/page/design-panel.css')),
  markup: compactMarkup(read('web/page/design-panel.html').replace(/<!--[\s\S]*?-->/g, '')),
  script: fill(`(() => {\n'use strict';\n${bundleModules('panel')}\n})();`, { RELEASE_DATE: released }),
});
const gzipBase64 = (bytes) => zlib.gzipSync(bytes, { level: 9 }).toString('base64');

// The module gzip-compressed (no name or time in its header, so the same
// module gives the same bytes), for the page to unpack with the browser's
// DecompressionStream; the same for the design panel (its style, markup
// and script) and the code page.
const script = fill(compactScript(read('web/page/notchwell.js'), 'notchwell.js'), {
  CORE_WASM_BASE64: gzipBase64(fs.readFileSync(corePath)),
  DESIGN_PANEL_BASE64: gzipBase64(Buffer.from(designPanel)),
  CODE_PAGE_1252_BASE64: gzipBase64(Buffer.from(codePage)),
});
const page = fill(compactMarkup(read('web/page/index.html')), {
  ...controlIds,
  STYLE: compactStyle(read('web/page/notchwell.css')),
  SCRIPT: script,
  SCHEMATIC_PNG: `data:image/png;base64,${bmpToPng(fs.readFileSync(schematicPath)).toString('base64')}`,
});
fs.writeFileSync(outPath, page);
console.log(`bundle: ${outPath} (${Buffer.byteLength(page)} bytes)`);
