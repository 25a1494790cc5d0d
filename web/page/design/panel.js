// The design panel beside the dialog. After every OK press that writes a
// result the dialog's script hands over the form as the calculator read
// it; this script fills in the design module's snapshot with it and the
// panel's lists and fields, and every update builds one state from the
// module's report, from which the figures, the curve, the exports and the
// link are drawn.
import { choiceOption } from './choices.js';
import { addFields } from './fields.js';
import { format } from './format.js';
import { linkText, readLink } from './link.js';
import * as design from './module.js';
import { KICAD_OUT_OF_RANGE, kicadTexts, netlistHeader, OUT_OF_RANGE } from './export-texts.js';
import { createPlot } from './plot.js';
import { inTime } from './plot-model.js';
import { createRenderer, setHidden, setText } from './render.js';
import { setUpExports } from './exports.js';
import { setUpTuning } from './tune-panel.js';

const QUANTITY_NAMES = ['R', 'C', 'Fo'];
const QUANTITY_UNITS = ['ohm', 'farad', 'hertz'];

// The panel in `document`, which the dialog's script has put in: it
// starts when the dialog hands over the module.
export function startPanel(document) {
  const window = document.defaultView;
  const panel = document.getElementById('design');
  const { figureOrder, render, renderNoDesign } = createRenderer(panel);
  // The panel's controls, the plot's view among them wherever the page puts the plot.
  const control = (name) => document.querySelector(`[data-design="${name}"]`);
  const dialog = document.getElementById('calculator');
  const form = {
    values: Array.from(dialog.querySelectorAll('input.value')), // R, C, Fo
    units: Array.from(dialog.querySelectorAll('select.unit')),
    radios: Array.from(dialog.querySelectorAll('input[type="radio"]')),
  };
  const linkNote = document.getElementById('link-note');
  const formNote = document.getElementById('form-note');
  const loadNote = document.getElementById('load-note');

  let core = null;
  let tables = null;
  let lists = [];
  let fields = [];
  let opAmpFieldIndices = [];
  let lastForm = null; // the form at the last OK that wrote a result, as the calculator read it
  let state = null; // the design the panel shows
  let generation = 0; // counts the designs shown: another view of one keeps its count

  const choicesNow = () => lists.map((list) => list.selectedIndex);

  // --- A field's problem is marked on it and said next to it (announced,
  // and tied to the field for assistive technology); the figures stay.
  function checkField(index) {
    const field = fields[index];
    markField(field, design.fieldProblem(core, index, field.value, choicesNow()));
  }
  function markField(field, { problem, message }) {
    const said = document.getElementById(`${field.id}-message`);
    setText(said, message);
    if (problem) {
      field.setAttribute('aria-invalid', 'true');
      field.setAttribute('aria-errormessage', said.id);
    } else {
      field.removeAttribute('aria-invalid');
      field.removeAttribute('aria-errormessage');
    }
  }

  // The design the page shows: the form's texts and units as the last OK
  // took them (not what has been typed since), the lists' choices and the
  // fields as they are now.
  const pageState = () => ({
    solve: lastForm.solve,
    values: lastForm.values,
    units: lastForm.units.map((index, i) => form.units[i].options[index]?.value ?? ''),
    lists: lists.map((list) => ({ name: list.dataset.design, index: list.selectedIndex, value: list.value,
      text: list.options[list.selectedIndex]?.text ?? '' })),
    fields: fields.map((field, i) => ({ name: field.dataset.design, group: tables.fields[i].group, text: field.value })),
  });

  // --- The link: rewritten a moment after the last change rather than at
  // every one (browsers refuse an address rewritten many times a second,
  // and each rewrite costs a little), without adding to the history.
  let linkTimer = 0;
  function writeLink() {
    clearTimeout(linkTimer);
    linkTimer = setTimeout(writeLinkNow, 250);
  }
  function writeLinkNow() {
    clearTimeout(linkTimer);
    linkTimer = 0;
    if (lastForm === null) return;
    window.history.replaceState(null, '', `#${linkText(pageState())}`);
  }
  // A change just made goes into the address before the page goes.
  window.addEventListener('pagehide', () => linkTimer && writeLinkNow());

  // What the form reads as where the written field lost its digits, and
  // why it makes no network where it does not.
  function formWords(reading) {
    const name = QUANTITY_NAMES[reading.field];
    const unit = QUANTITY_UNITS[reading.field];
    const reason = ['', `${name} is not a finite number`, `${name} is negative`, `${name} reads as zero`,
      `${name} is beyond any value the design can take`][reading.problem];
    if (!reading.imprecise) return { reason, note: '' };
    const written = String.fromCharCode(...lastForm.texts[reading.field]);
    const label = form.units[reading.field].options[lastForm.units[reading.field]]?.text ?? '';
    // On this page mOhm and mHz mean mega, and the note says so again.
    const unitWords = label.startsWith('m') ? `${label}, that is mega` : label;
    const computed = format(reading.computed, unit, 4, false);
    const reads = reading.problem === 0 ? `reads as ${format(reading.reads, unit, 4, false)}` : 'reads as zero';
    // The smallest unit shows the most digits; in it, only a larger value does.
    const others = QUANTITY_NAMES.filter((other) => other !== name).join(' or ');
    const helps = lastForm.units[reading.field] > 0 ? `A smaller unit for ${name} shows more digits.`
      : `${name} is already in its smallest unit, ${label}: a smaller ${others} makes ${name} larger, with more digits.`;
    const note = `The ${name} field shows ${written} (${unitWords}), which ${reads}, but the calculation gave ${computed}` +
      `${reading.problem === 0 ? ': the panel designs for what the field shows' : ''}. ${helps}`;
    return { reason, note };
  }

  // From 1000 pixels the curve stands under the dialog, in view as the
  // panel scrolls; below, it follows the standard parts.
  const wide = window.matchMedia('(min-width: 1000px)');
  const response = document.getElementById('response');
  const curveDock = document.getElementById('curve-dock');
  const curveHome = response.nextElementSibling;
  // The curve's words stay in the panel, where there is room for them.
  const responseText = document.getElementById('response-text');
  const responseWords = document.getElementById('response-words');
  const column = document.getElementById('dialog-column');
  const plotElement = document.getElementById('plot');
  const plot = createPlot({ plot: plotElement, readout: document.getElementById('readout'),
    heading: document.getElementById('response-heading'), levelText: document.getElementById('level-text'),
    viewText: document.getElementById('view-text'), clippedText: document.getElementById('clipped-text') });
  function placeCurve() {
    if (wide.matches && response.parentElement !== curveDock) {
      curveDock.append(response);
      responseWords.append(responseText);
    }
    if (!wide.matches && response.parentElement === curveDock) {
      curveHome.before(response);
      response.append(responseText);
    }
    setHidden(curveDock, !wide.matches || response.hidden);
    setHidden(responseWords, !wide.matches || response.hidden);
    fitColumn();
  }
  // The plot as high as the window leaves it beside the dialog; where even
  // that is too little, the column sticks by its end: the curve stays in
  // view and the dialog's top goes first.
  function fitColumn() {
    if (!wide.matches) {
      plot.fit(Infinity);
      column.style.top = '';
      return;
    }
    const margin = 24;
    const others = column.offsetHeight - plotElement.getBoundingClientRect().height;
    plot.fit(window.innerHeight - 2 * margin - others);
    column.style.top = `${Math.min(margin, window.innerHeight - margin - column.offsetHeight)}px`;
  }
  wide.addEventListener('change', placeCurve);
  window.addEventListener('resize', fitColumn);
  plotElement.addEventListener('plot-resized', () => {
    if (wide.matches) column.style.top = `${Math.min(24, window.innerHeight - 24 - column.offsetHeight)}px`;
  });

  let exportsView = null;

  // The last OK's form, the choices and the fields, worked out again (the
  // module redoing only what reads what changed); a field with a problem
  // keeps the last figures (and where there are none yet, the panel says
  // what it waits for). Another view of the plot changes the plot alone.
  function update(changed = '') {
    if (core === null || lastForm === null) return;
    const now = pageState();
    const viewOnly = changed === 'plot-view' && state !== null;
    // The module reads the plot's view for the time views alone.
    const asksModule = !viewOnly || inTime(chosenView(now)) || inTime(chosenView(state));
    const outcome = asksModule
      ? design.update(core, { form: lastForm, choices: now.lists.map((list) => list.index),
        fields: now.fields.map((field) => field.text) })
      : design.UPDATE.designed;
    if (viewOnly && outcome === design.UPDATE.designed) {
      state = { ...state, lists: now.lists, ...(asksModule ? report(now) : {}) };
      plot.draw(state);
      writeLink();
      exportsView.refresh(state);
      return;
    }
    if (outcome === design.UPDATE.badFields) {
      if (state === null) {
        renderNoDesign('A field of the panel holds a text it does not take (marked below, with why): the design' +
          ' appears once it is mended.');
        setHidden(formNote, true);
        placeCurve();
      }
    } else {
      const { reason, note } = formWords(design.formReading(core));
      if (outcome === design.UPDATE.designed) {
        generation += 1;
        state = { ...now, ...report(now), tables, href: '', generation };
        render(state);
        plot.draw(state);
      } else {
        state = null;
        renderNoDesign(`The values on the form at the last OK make no network to build: ${reason}.` +
          ' R, C and Fo must each be positive and finite.');
      }
      setText(formNote, note);
      setHidden(formNote, note === '');
      placeCurve();
    }
    writeLink();
    exportsView.refresh(outcome === design.UPDATE.designed ? state : null);
  }

  // The module's report, and the measured points beside its curves.
  function report(now) {
    const read = design.readReport(core, tables, chosenView(now));
    read.curves.sweep = tuning.points(read.figures.get('tune-offset'));
    return read;
  }

  // --- A measured sweep: read once its text settles or a file is chosen,
  // its problem marked on the field and said beside it as for the value
  // fields.
  const tuning = setUpTuning(
    { field: control('tune-sweep'), file: control('tune-file'), note: document.getElementById('tune-file-note'),
      columnList: control('tune-column'), columnWords: document.getElementById('tune-columns') },
    { core: () => core, marked: markField, read: () => update('tune-sweep'), timers: window },
  );

  function chosenView(now) {
    return now.lists.find((list) => list.name === 'plot-view').value;
  }

  // --- Opening the design a fragment holds, as if OK had been pressed on
  // its texts: or, when it cannot, leaving the page as it was and saying
  // why, quietly: never with a message box.
  function setPage(wanted) {
    if (wanted.solve >= 0) form.radios[wanted.solve].checked = true;
    wanted.values.forEach((text, i) => (form.values[i].value = text));
    wanted.units.forEach((index, i) => (form.units[i].selectedIndex = index));
    wanted.lists.forEach((index, i) => (lists[i].selectedIndex = index));
    wanted.fields.forEach((text, i) => {
      fields[i].value = text;
      checkField(i);
    });
    noteLoad();
  }

  function refuseLink(why) {
    linkNote.textContent = `The design in this page's address could not be opened: ${why}.`;
    linkNote.hidden = false;
  }

  // A link that arrives while the dialog's message box is open waits for it
  // to close.
  const messageBox = document.getElementById('message-box');
  let waitingLink = null;
  messageBox.addEventListener('close', () => {
    if (waitingLink === null || messageBox.open) return;
    const fragment = waitingLink;
    waitingLink = null;
    openLink(fragment);
  });

  function openLink(fragment) {
    linkNote.hidden = true;
    if (fragment === '') return;
    if (messageBox.open) {
      waitingLink = fragment;
      return;
    }
    const options = (select) => Array.from(select.options, (option) => option.value);
    const { wanted, problem } = readLink(fragment, {
      units: form.units.map(options),
      lists: lists.map((list, i) => ({ name: list.dataset.design, options: options(list), default: tables.lists[i].default })),
      fields: fields.map((field) => ({ name: field.dataset.design, maxLength: field.maxLength })),
      textLength: core.nw_field_text_size() - 1,
    });
    if (problem) return refuseLink(problem);
    const back = {
      solve: form.radios.findIndex((radio) => radio.checked),
      values: form.values.map((value) => value.value),
      units: form.units.map((unit) => unit.selectedIndex),
      lists: lists.map((list) => list.selectedIndex),
      fields: fields.map((field) => field.value),
    };
    setPage(wanted);
    // OK on the form's texts must write a result. A panel field with a
    // problem comes back marked, as it was when the link was written; the
    // figures of the page before are not this design's.
    const shown = state;
    state = null;
    const press = { outcome: null };
    document.dispatchEvent(new CustomEvent('notchwell-quiet-ok', { detail: press }));
    if (press.outcome === 'result') return;
    state = shown;
    setPage(back);
    refuseLink('its values give no design');
  }

  // With an active network the load field has no effect, and says so; the
  // op-amps are chosen for it, and the custom op-amp's fields show with it.
  const opAmpChoice = document.getElementById('opamp-choice');
  const opAmpFields = document.getElementById('opamp-fields');
  function noteLoad() {
    const active = control('network').value !== 'passive';
    setHidden(loadNote, !active);
    setHidden(opAmpChoice, !active);
    setHidden(opAmpFields, !active || control('opamp').value !== 'custom');
  }

  // The custom op-amp starts from the figures of the one chosen before it
  // (a TL072's after ideal ones), in the fields left empty.
  let lastOpAmp = 0;
  function chooseOpAmp() {
    const list = control('opamp');
    const options = tables.lists.find((l) => l.name === 'opamp').options;
    if (list.value === 'custom') {
      const from = options[lastOpAmp].figures.gbw > 0 ? options[lastOpAmp] : options.find((o) => o.name === 'tl072');
      const { gbw, gain, slew, en, in: noise } = from.figures;
      const texts = { 'opamp-gbw': format(gbw, 'hertz', 3, true).replace(/\u00a0/, ' '), 'opamp-gain': String(gain),
        'opamp-slew': String(slew), 'opamp-en': String(+(en * 1e9).toPrecision(6)),
        'opamp-in': String(+(noise * 1e12).toPrecision(6)) };
      fields.forEach((field) => {
        if (field.dataset.design in texts && field.value.trim() === '') field.value = texts[field.dataset.design];
      });
    } else {
      lastOpAmp = list.selectedIndex;
    }
  }

  document.addEventListener('notchwell-result', (event) => {
    lastForm = event.detail;
    linkNote.hidden = true;
    update();
  });
  window.addEventListener('hashchange', () => openLink(window.location.hash.slice(1)));

  // --- Start: the lists, fields and figures from the design code's tables.
  document.addEventListener('notchwell-core', (event) => {
    core = event.detail;
    tables = { ...design.readTables(core), figureOrder };
    lists = tables.lists.map((list) => {
      const select = control(list.name);
      select.length = 0;
      for (const option of list.options) select.add(new Option(...choiceOption(list, option)));
      select.selectedIndex = list.default;
      // The custom op-amp's fields show and count under some choices only.
      select.addEventListener('change', () => {
        if (list.name === 'opamp') chooseOpAmp();
        noteLoad();
        opAmpFieldIndices.forEach(checkField);
        update(list.name);
      });
      return select;
    });
    addFields(document, panel, tables.fields, tables.fieldLength);
    fields = tables.fields.map((field) => control(field.name));
    opAmpFieldIndices = tables.fields.flatMap((field, i) => (field.group === 'opamp' ? [i] : []));
    fields.forEach((field, index) =>
      field.addEventListener('input', () => {
        checkField(index);
        update();
      }),
    );
    exportsView = setUpExports(panel, {
      netlist: (shown) => (shown.sections.has('build') ? design.netlist(core, netlistHeader(shown)) : OUT_OF_RANGE),
      kicad: (shown) => (shown.sections.has('build') ? design.kicad(core, kicadTexts(shown)) : KICAD_OUT_OF_RANGE),
      state: () => {
        writeLinkNow();
        return { ...state, href: window.location.href };
      },
      clipboard: window.navigator.clipboard,
    });
    const builds = tables.randomBuilds.toLocaleString('en');
    panel.querySelectorAll('.random-builds').forEach((span) => (span.textContent = builds));
    noteLoad();
    // Every start is fresh, whatever the browser kept of a visit; then the
    // design the page's address holds, if any.
    fields.forEach((field, index) => {
      field.value = '';
      checkField(index);
    });
    tuning.reset();
    openLink(window.location.hash.slice(1));
  });
}
