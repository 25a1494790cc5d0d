// --- The figures, and which parts of the panel show.
const intro = document.getElementById('design-intro');
const CONNECTIONS = ['', 'series', 'parallel'];
const EXACT = ['exact-r', 'exact-r3', 'exact-c', 'exact-c3'];

// Only what changes is written: an update that leaves most figures as
// they were then costs the browser little laying the page out again.
function setText(element, text) {
  if (element.textContent !== text) element.textContent = text;
}

function setHidden(element, hidden) {
  if (element.hidden !== hidden) element.hidden = hidden;
}

function show(selector, visible) {
  panel.querySelectorAll(selector).forEach((element) => setHidden(element, !visible));
}

// The exact values' parts: data-parts as machines read them, and words.
function renderExactParts() {
  const parts = new Float64Array(core.memory.buffer, core.nw_design_exact_parts(), 3 * EXACT.length);
  EXACT.forEach((name, i) => {
    const element = panel.querySelector(`[data-figure="${name}"]`);
    const cell = panel.querySelector(`[data-parts-of="${name}"]`);
    if (!latest.has(name)) {
      delete element.dataset.parts;
      setText(cell, '–');
      return;
    }
    const [connection, a, b] = parts.subarray(3 * i, 3 * i + 3);
    const unit = i < 2 ? 'ohm' : 'farad';
    const part = (value) => format(value, unit, 3, true);
    element.dataset.parts = connection ? `${CONNECTIONS[connection]}:${exactText(a)},${exactText(b)}` : exactText(a);
    setText(cell, connection ? `${part(a)} and ${part(b)} in ${CONNECTIONS[connection]}` : `${part(a)} alone`);
  });
}

function render() {
  readFigures();
  const has = (name) => latest.has(name);
  for (const element of panel.querySelectorAll('[data-figure]')) {
    const name = element.dataset.figure;
    if (has(name)) {
      setText(element, figureText(name));
      element.dataset.value = latest.get(name).toPrecision(12);
    } else {
      setText(element, name === 'load' ? 'none' : '–');
      delete element.dataset.value;
    }
  }
  renderExactParts();
  panel.querySelectorAll('.fo-text').forEach((span) => setText(span, figureText('fo')));
  // What to add to a harmonic read through the filter.
  panel.querySelectorAll('.harmonics .add').forEach((span) => {
    const level = latest.get(span.previousElementSibling.dataset.figure);
    setText(span, level === undefined ? '' : `(add ${format(-level, 'dB', 2, false)})`);
  });
  const counted = (name) => (has(name) ? latest.get(name) : 0);
  const measured = has('measured-reject');
  show('[data-when="design"]', true);
  show('[data-when="build"]', has('build-r'));
  show('[data-when="active"]', has('k'));
  show('[data-when="divider"]', has('divider-top'));
  show('[data-when="active-build"]', has('depth-90-passive'));
  show('[data-when="no-notch"]', counted('no-notch-corners') + counted('no-notch-random') > 0);
  show('[data-when="measured"]', measured);
  show('[data-when="measured-dip"]', has('measured-fo'));
  show('[data-when="measured-no-dip"]', measured && !has('measured-fo'));
  show('[data-when="measured-trim"]', has('measured-trim-r1'));
  setHidden(document.getElementById('measured-prompt'), measured);
  panel.classList.toggle('measured', measured);
  setHidden(document.getElementById('divider-range'), !has('k') || has('divider-top'));
  setHidden(panel.querySelector('.builds'), !has('build-r') && !has('best-r'));
  const untrimmable = ['r1', 'r3'].filter((r) => has(`trim-${r}-low`) && !has(`trim-${r}-fixed`));
  setHidden(document.getElementById('trim-none'), untrimmable.length === 0);
  setText(document.getElementById('trim-none-which'), untrimmable
    .map((r) => `${r.toUpperCase()} from ${figureText(`trim-${r}-low`)} to ${figureText(`trim-${r}-high`)}`)
    .join(' or '));
  // The half-power points, or plainly where there is none.
  for (const edge of ['low', 'high']) {
    setHidden(document.getElementById(`band-${edge}-text`), !has(`band-${edge}`));
    setHidden(document.getElementById(`band-${edge}-none`), has(`band-${edge}`));
  }
  setHidden(document.getElementById('q-text'), !has('q'));
  // The active network's schematic, labelled with the nearest build's
  // values (the ideal ones when it is out of range).
  const r = figureText(has('build-r') ? 'build-r' : 'r');
  const c = figureText(has('build-c') ? 'build-c' : 'c');
  const labels = { r, c, r3: `${r} ∥ ${r}`, c3: `2 × ${c}`,
    'divider-top': has('divider-top') ? figureText('divider-top') : '',
    'divider-bottom': has('divider-bottom') ? figureText('divider-bottom') : '' };
  panel.querySelectorAll('[data-label]').forEach((label) => setText(label, labels[label.dataset.label]));
  setHidden(document.getElementById('build-range'), has('build-r'));
  setHidden(document.getElementById('pair-range'), has('best-r'));
  setText(document.getElementById('build-notch-text'), has('build-fo')
    ? `; the nearest build notches at ${figureText('build-fo')}`
    : '');
  setText(document.getElementById('measured-notch-text'), has('measured-fo')
    ? `, and your measured parts at ${figureText('measured-fo')}`
    : '');
  setHidden(intro, true);
}

// After an OK press whose form makes no network.
function renderNoNetwork() {
  show('[data-when]', false);
  panel.querySelectorAll('.export').forEach((section) => (section.hidden = true));
  panel.querySelectorAll('[aria-controls$="-export"]').forEach((button) => button.setAttribute('aria-expanded', 'false'));
  ['build-range', 'pair-range', 'trim-none'].forEach((id) => (document.getElementById(id).hidden = true));
  intro.hidden = false;
  intro.textContent =
    'The values on the form at the last OK make no network to build: R, C and Fo must each be positive and finite.';
}
