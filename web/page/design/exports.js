// Taking the design away: Copy puts it on the clipboard as plain text;
// the nearest build as a SPICE netlist and as a KiCad schematic, every
// figure and the curve as CSV are each shown and offered as a file (a
// Blob behind a download link: no request, from file:// too), the
// netlist and the schematic only where there is a build (elsewhere the
// box says why there is none). Each is written from
// the state it is handed.
import { curveCsv, figuresCsv } from './csv.js';
import { designText } from './design-text.js';

// Made for the panel's element; `sources`: { netlist(state), kicad(state),
// state(), clipboard } — the netlist and the schematic of a state, the
// state now, with the page's address written to its latest, and the
// browser's clipboard.
export function setUpExports(panel, sources) {
  const control = (name) => panel.querySelector(`[data-design="${name}"]`);
  const byId = (id) => panel.ownerDocument.getElementById(id);
  const copyStatus = byId('copy-status');
  const copyText = byId('copy-text');
  const withBuild = (state) => state.sections.has('build');
  // The file a spreadsheet opens as UTF-8 starts with a byte order mark.
  const exports = {
    netlist: { text: sources.netlist, file: (text) => new Blob([text], { type: 'text/plain' }),
      offered: withBuild },
    csv: { text: figuresCsv, file: (text) => new Blob(['\ufeff', text], { type: 'text/csv' }) },
    'curve-csv': { text: curveCsv, file: (text) => new Blob(['\ufeff', text], { type: 'text/csv' }) },
    kicad: { text: sources.kicad, file: (text) => new Blob([text], { type: 'text/plain' }),
      offered: withBuild },
  };
  function refresh(name, state) {
    const section = byId(`${name}-export`);
    if (section.hidden || state === null) return;
    const text = exports[name].text(state);
    section.querySelector('[data-export]').textContent = text;
    const save = section.querySelector('a.save');
    if (save.href) URL.revokeObjectURL(save.href);
    const offered = exports[name].offered?.(state) ?? true;
    save.hidden = !offered;
    if (offered) save.href = URL.createObjectURL(exports[name].file(text));
    else save.removeAttribute('href');
  }
  for (const name of Object.keys(exports)) {
    control(name).addEventListener('click', () => {
      const section = byId(`${name}-export`);
      section.hidden = !section.hidden;
      control(name).setAttribute('aria-expanded', String(!section.hidden));
      refresh(name, sources.state());
    });
  }
  control('copy').addEventListener('click', async () => {
    const text = designText(sources.state());
    try {
      await sources.clipboard.writeText(text);
      copyText.hidden = true;
      copyStatus.textContent = 'Copied: the design is on the clipboard as plain text.';
    } catch {
      copyText.value = text;
      copyText.hidden = false;
      copyText.focus();
      copyText.select();
      copyStatus.textContent = 'This browser did not let the page copy: select the text below and copy it.';
    }
  });
  return {
    // After every update: the sections open show the new design, and any
    // copy status is gone.
    refresh(state) {
      Object.keys(exports).forEach((name) => refresh(name, state));
      copyStatus.textContent = '';
      copyText.hidden = true;
    },
  };
}
