// --- The panel: its lists from the design code's tables, worked out
// afresh after every OK press that writes a result and every change.
const LIST_NAMES = ['resistor-series', 'capacitor-series', 'resistor-tolerance', 'capacitor-tolerance', 'network',
  'resistor-tempco', 'capacitor-tempco', 'temperature-range'];
const lists = LIST_NAMES.map(control);
let designable = false; // the last OK left a form the design code could take

// The last OK's form, the choices and the fields, worked out afresh; a
// field with a problem keeps the last figures.
function update() {
  if (core === null || !designable) return;
  fields.forEach((field, index) => writeField(index));
  if (core.nw_design_update(...lists.map((list) => list.selectedIndex)) === 0) {
    render();
    drawPlot();
    refreshExports();
    writeLink();
  }
  copyStatus.textContent = '';
  copyText.hidden = true;
}

document.addEventListener('notchwell-result', (event) => {
  designable = event.detail.designable;
  linkNote.hidden = true;
  if (designable) {
    update();
  } else {
    renderNoNetwork();
    writeLink();
  }
});
window.addEventListener('hashchange', () => openLink(location.hash.slice(1)));
// With an active network the load field has no effect, and says so.
const loadNote = document.getElementById('load-note');
const noteLoad = () => (loadNote.hidden = control('network').value === 'passive');
lists.forEach((list) => list.addEventListener('change', update));
control('network').addEventListener('change', noteLoad);
fields.forEach((field, index) =>
  field.addEventListener('input', () => {
    checkField(index);
    update();
  }),
);

// An option's text and value, from the design code's tables.
function choiceOption(list, i) {
  const value = core.nw_design_choice_value(list, i);
  const label = () => readText(core.nw_design_choice_label(list, i));
  switch (LIST_NAMES[list]) {
    case 'resistor-series':
    case 'capacitor-series':
      return new Option(readText(core.nw_design_series_name(list, i)));
    case 'network':
      return value === 0 ? new Option('Passive (Q = 0.25)', 'passive') : new Option(`Active, Q = ${value}`, String(value));
    case 'resistor-tempco':
    case 'capacitor-tempco':
      return new Option(`±${value}${SPACE}ppm/K (${label()})`, String(value));
    case 'temperature-range': {
      const high = core.nw_design_choice_high(list, i);
      const celsius = (t) => `${t < 0 ? MINUS : ''}${Math.abs(t)}`;
      return new Option(`${celsius(value)} to ${celsius(high)}${SPACE}°C (${label()})`, `${value},${high}`);
    }
    default:
      return new Option(`±${value}${SPACE}%`, String(value));
  }
}

// --- Start: the lists and the figure table from the design code.
document.addEventListener('notchwell-core', (event) => {
  core = event.detail;
  for (let i = 0; i < core.nw_design_figure_count(); ++i) {
    figures.set(readText(core.nw_design_figure_name(i)), {
      index: i,
      unit: UNITS[core.nw_design_figure_unit(i)],
      digits: core.nw_design_figure_digits(i),
      trimmed: core.nw_design_figure_trimmed(i) === 1,
    });
  }
  lists.forEach((list, which) => {
    list.length = 0;
    for (let i = 0; i < core.nw_design_choice_count(which); ++i) list.add(choiceOption(which, i));
    list.selectedIndex = core.nw_design_choice_default(which);
  });
  const builds = core.nw_design_random_builds().toLocaleString('en');
  panel.querySelectorAll('.random-builds').forEach((span) => (span.textContent = builds));
  noteLoad();
  // Every start is fresh, whatever the browser kept of a visit; then the
  // design the page's address holds, if any.
  fields.forEach((field, index) => {
    field.value = '';
    checkField(index);
  });
  openLink(location.hash.slice(1));
});
