// The panel's figures and which of its parts show, from a state: a
// renderer made for the panel's element, found there once.
import { format, exactText } from './format.js';
import { CONNECTIONS, EXACT, chosen, figureText, figureValue, holds, partsWords } from './state.js';
import { tuneWords } from './tune.js';

// Only what changes is written: an update that leaves most figures as
// they were then costs the browser little laying the page out again.
export function setText(element, text) {
  if (element.textContent !== text) element.textContent = text;
}

export function setHidden(element, hidden) {
  if (element.hidden !== hidden) element.hidden = hidden;
}

// Returns { figureOrder, render(state), renderNoDesign(why) }.
export function createRenderer(panel) {
  // Every figure's element, in the order the panel shows them (the curve's
  // among them, wherever the page puts it).
  const figureElements = Array.from(panel.querySelectorAll('[data-figure]'));
  const figureOrder = Array.from(new Set(figureElements.map((element) => element.dataset.figure)));
  const byId = (id) => panel.ownerDocument.getElementById(id);
  const whenElements = Array.from(panel.querySelectorAll('[data-when]'));
  // What shows where a section does not hold.
  const unlessElements = Array.from(panel.querySelectorAll('[data-unless]'));
  const foTexts = Array.from(panel.querySelectorAll('.fo-text'));
  const harmonicAdds = Array.from(panel.querySelectorAll('.harmonics .add'), (span) =>
    [span, span.previousElementSibling.dataset.figure]);
  const circuitLabels = Array.from(panel.querySelectorAll('[data-label]'));
  const exactCells = EXACT.map((name) =>
    [panel.querySelector(`[data-figure="${name}"]`), panel.querySelector(`[data-parts-of="${name}"]`)]);
  const intro = byId('design-intro');
  const bandEdges = Array.from(panel.querySelectorAll('.reject-band-edge'));
  const noiseBands = Array.from(panel.querySelectorAll('.noise-band-text'));
  const tuneTexts = ['trim', 'alternative', 'round', 'left-out', 'worst'].map((name) =>
    [name.replace(/-(\w)/, (_, c) => c.toUpperCase()), byId(`tune-${name}`)]);
  const tuneBuilt = panel.querySelector('[data-design="tune-built"]');

  // The exact values' parts: data-parts as machines read them, and words.
  function renderExactParts(state) {
    EXACT.forEach((name, i) => {
      const [element, cell] = exactCells[i];
      if (!holds(state, 'build')) {
        delete element.dataset.parts;
        setText(cell, '–');
        return;
      }
      const [connection, a, b] = state.parts[i];
      const parts = connection ? `${CONNECTIONS[connection]}:${exactText(a)},${exactText(b)}` : exactText(a);
      if (element.dataset.parts !== parts) element.dataset.parts = parts;
      setText(cell, partsWords(state, i));
    });
  }

  function render(state) {
    const has = (name) => state.figures.has(name);
    const is = (section) => holds(state, section);
    const t = (name) => figureText(state, name);
    for (const element of figureElements) {
      const name = element.dataset.figure;
      if (has(name)) {
        setText(element, t(name));
        const value = figureValue(state, name);
        if (element.dataset.value !== value) element.dataset.value = value;
      } else {
        setText(element, name === 'load' ? 'none' : '–');
        delete element.dataset.value;
      }
    }
    renderExactParts(state);
    foTexts.forEach((span) => setText(span, t('fo')));
    noiseBands.forEach((span) => setText(span, chosen(state, 'noise-band').text));
    // What to add to a harmonic read through the filter.
    harmonicAdds.forEach(([span, name]) => {
      const level = state.figures.get(name);
      setText(span, level === undefined ? '' : `(add ${format(-level, 'dB', 2, false)})`);
    });
    const measured = is('measured');
    const shown = {
      design: true,
      'active-build': is('active') && is('build'),
      'measured-no-dip': measured && !is('measured-dip'),
    };
    for (const element of whenElements) {
      const when = element.dataset.when;
      setHidden(element, !(when in shown ? shown[when] : is(when)));
    }
    for (const element of unlessElements) setHidden(element, is(element.dataset.unless));
    setHidden(byId('measured-prompt'), measured);
    panel.classList.toggle('measured', measured);
    panel.classList.toggle('swept', is('tune-sweep'));
    setHidden(byId('divider-range'), !is('active') || is('divider'));
    setHidden(panel.querySelector('.builds'), !is('build') && !is('pair'));
    const untrimmable = ['r1', 'r3'].filter((r) => is('build') && !is(`trim-${r}`));
    setHidden(byId('trim-none'), untrimmable.length === 0);
    setText(byId('trim-none-which'), untrimmable
      .map((r) => `${r.toUpperCase()} from ${t(`trim-${r}-low`)} to ${t(`trim-${r}-high`)}`)
      .join(' or '));
    // The half-power points, or plainly where there is none.
    for (const edge of ['low', 'high']) {
      setHidden(byId(`band-${edge}-text`), !is(`band-${edge}`));
      setHidden(byId(`band-${edge}-none`), is(`band-${edge}`));
    }
    // The active network's schematic, labelled with the nearest build's
    // values (the ideal ones when it is out of range).
    const r = t(is('build') ? 'build-r' : 'r');
    const c = t(is('build') ? 'build-c' : 'c');
    const labels = { r, c, r3: `${r} ∥ ${r}`, c3: `2 × ${c}`,
      'divider-top': is('divider') ? t('divider-top') : '',
      'divider-bottom': is('divider') ? t('divider-bottom') : '' };
    circuitLabels.forEach((label) => setText(label, labels[label.dataset.label]));
    setHidden(byId('build-range'), is('build'));
    setHidden(byId('pair-range'), is('pair'));
    setText(byId('build-notch-text'), is('build-notch') ? `; the nearest build notches at ${t('build-fo')}` : '');
    setText(byId('measured-notch-text'), is('measured-dip') ? `, and your measured parts at ${t('measured-fo')}` : '');
    renderOpAmp(state);
    renderTime(state);
    const tune = tuneWords(state);
    tuneTexts.forEach(([name, element]) => setText(element, tune[name]));
    // The measured parts are offered once all six are filled in.
    const measuredOption = tuneBuilt.querySelector('option[value="measured"]');
    if (measuredOption) measuredOption.disabled = !measured;
    setHidden(intro, true);
  }

  // The band the frequency may wander over, and a build that does not
  // settle said plainly.
  function renderTime(state) {
    const fo = state.figures.get('fo');
    const band = Number(chosen(state, 'reject-band').value) / 100;
    bandEdges.forEach((span, i) => setText(span, format(fo * (i ? 1 + band : 1 - band), 'hertz', 4, false)));
    const build = holds(state, 'build');
    const none = !holds(state, 'build-notch') ? ' (it has no notch)' : ' (it does not settle within 10⁴ cycles of Fo)';
    for (const kind of ['burst', 'step']) {
      const settles = holds(state, `build-${kind}-settles`);
      setHidden(byId(`build-${kind}-text`), !build || !settles);
      setText(byId(`build-${kind}-none`), build && !settles ? `; the nearest build's transient is not given${none}` : '');
    }
  }

  // What the chosen op-amps give beside what the design needs of them.
  function renderOpAmp(state) {
    const is = (section) => holds(state, section);
    const t = (name) => figureText(state, name);
    setHidden(byId('opamp-ideal-text'), is('opamp'));
    if (!is('opamp')) return;
    setHidden(byId('opamp-needed-none'), is('opamp-needed'));
    panel.querySelectorAll('.opamp-gain-text').forEach((span) => setText(span, `${t('opamp-gain')} of open-loop gain`));
    const q = is('opamp-q') ? `Q = ${t('opamp-q')}` : 'no half-power point on both sides';
    setText(byId('opamp-gives'), `; ${t('opamp-gbw')} gives ${q} and a ${t('opamp-peak')} peak`);
  }

  // No design to show, and why.
  function renderNoDesign(why) {
    whenElements.forEach((element) => setHidden(element, true));
    panel.querySelectorAll('.export').forEach((section) => (section.hidden = true));
    panel.querySelectorAll('[aria-controls$="-export"]').forEach((button) => button.setAttribute('aria-expanded', 'false'));
    ['build-range', 'pair-range', 'trim-none'].forEach((id) => (byId(id).hidden = true));
    intro.hidden = false;
    intro.textContent = why;
  }

  return { figureOrder, render, renderNoDesign };
}
