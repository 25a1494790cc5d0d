// The design panel below the dialog. After every OK press that writes a
// result, the dialog's script hands the form's texts to the design code
// (in the same WebAssembly module as the calculator); this script passes
// on the panel's choices and its source and load fields, and draws what
// comes back: figures in SI units, two response curves.
'use strict';
(() => {
  const panel = document.getElementById('design');
  const control = (name) => panel.querySelector(`[data-design="${name}"]`);
  const lists = ['resistor-series', 'capacitor-series', 'resistor-tolerance', 'capacitor-tolerance', 'network'].map(
    control,
  );
  const fields = ['source', 'load'].map(control);
  const intro = document.getElementById('design-intro');
  const plot = document.getElementById('plot');
  const readout = document.getElementById('readout');
  const copyStatus = document.getElementById('copy-status');
  const copyText = document.getElementById('copy-text');
  const FIELD_TEXT_SIZE = 64;
  const UNITS = ['ohm', 'farad', 'hertz', 'dB', 'percent', 'number', 'count'];
  const utf8 = new TextDecoder();
  let core = null;
  const figures = new Map(); // name -> { index, unit, digits, trimmed }
  let designable = false; // the last OK left a form the design code could take
  let curves = null; // { hertz, ideal, build } of the last figures
  let cursor = -1;

  const readText = (address) => {
    const memory = new Uint8Array(core.memory.buffer, address);
    return utf8.decode(memory.subarray(0, memory.indexOf(0)));
  };

  // --- Numbers as text: SI prefixes, never milli, since on this page
  // "mOhm" and "mHz" mean mega.
  const MINUS = '\u2212';
  const SPACE = '\u00a0';
  const PREFIXES = {
    ohm: [[1e9, 'G'], [1e6, 'M'], [1e3, 'k'], [1, '']],
    farad: [[1e-6, 'µ'], [1e-9, 'n'], [1e-12, 'p']],
    hertz: [[1e9, 'G'], [1e6, 'M'], [1e3, 'k'], [1, '']],
  };
  const SYMBOLS = { ohm: 'Ω', farad: 'F', hertz: 'Hz' };
  const SUPERSCRIPTS = '⁰¹²³⁴⁵⁶⁷⁸⁹';

  function significant(value, digits, trimmed) {
    let text = value >= 10 ** digits ? value.toFixed(0) : value.toPrecision(digits);
    if (trimmed && text.includes('.')) text = text.replace(/0+$/, '').replace(/\.$/, '');
    return text;
  }

  function format(value, unit, digits, trimmed) {
    const size = Math.abs(value);
    if (unit === 'count') return String(Math.round(value));
    if (unit === 'number') return value.toFixed(digits);
    if (unit === 'dB' || unit === 'percent') {
      // No sign on what rounds to zero.
      const shown = size.toFixed(digits);
      const sign = Number(shown) === 0 ? '' : value < 0 ? MINUS : unit === 'percent' ? '+' : '';
      return `${sign}${shown}${SPACE}${unit === 'dB' ? 'dB' : '%'}`;
    }
    const sign = value < 0 ? MINUS : '';
    const steps = PREFIXES[unit];
    // Three decades or more beyond the prefixes: a power of ten.
    if (size !== 0 && (size >= steps[0][0] * 1e4 || size < steps[steps.length - 1][0] * 1e-3)) {
      const [mantissa, exponent] = size.toExponential(digits - 1).split('e');
      const power = Array.from(String(Math.abs(exponent)), (d) => SUPERSCRIPTS[d]).join('');
      const shown = significant(Number(mantissa), digits, trimmed);
      return `${sign}${shown}${SPACE}× 10${exponent < 0 ? '⁻' : ''}${power}${SPACE}${SYMBOLS[unit]}`;
    }
    let i = steps.findIndex(([step]) => size >= step);
    if (i < 0) i = steps.length - 1;
    let shown = significant(size / steps[i][0], digits, trimmed);
    // Rounding may carry into the next prefix: 999.96 Ω is 1.000 kΩ.
    if (i > 0 && Number(shown) >= 1000) shown = significant(size / steps[--i][0], digits, trimmed);
    return `${sign}${shown}${SPACE}${steps[i][1]}${SYMBOLS[unit]}`;
  }

  // --- The source and load fields.
  function writeField(index) {
    const bytes = new TextEncoder().encode(fields[index].value).subarray(0, FIELD_TEXT_SIZE - 1);
    const memory = new Uint8Array(core.memory.buffer, core.nw_design_field_text(index), FIELD_TEXT_SIZE);
    memory.set(bytes);
    memory[bytes.length] = 0;
  }

  // A problem is marked on the field and said next to it (announced, and
  // tied to the field for assistive technology); the figures stay.
  function checkField(index) {
    writeField(index);
    const field = fields[index];
    const problem = core.nw_design_field_problem(index);
    const message = document.getElementById(`${field.dataset.design}-message`);
    message.textContent = problem ? readText(core.nw_design_problem_message(problem)) : '';
    if (problem) {
      field.setAttribute('aria-invalid', 'true');
      field.setAttribute('aria-errormessage', message.id);
    } else {
      field.removeAttribute('aria-invalid');
      field.removeAttribute('aria-errormessage');
    }
  }

  // --- The response plot: 400 points evenly on a log scale, in dB.
  const AREA = { left: 44, top: 8, width: 348, height: 202 };
  const SPAN_DB = 80;
  const svgLine = (x1, y1, x2, y2, kind) =>
    `<line x1="${x1.toFixed(1)}" y1="${y1.toFixed(1)}" x2="${x2.toFixed(1)}" y2="${y2.toFixed(1)}" class="${kind}"/>`;
  const svgText = (x, y, anchor, text) => `<text x="${x.toFixed(1)}" y="${y}" text-anchor="${anchor}">${text}</text>`;
  const xAt = (index) => AREA.left + (AREA.width * index) / (curves.hertz.length - 1);

  function drawPlot() {
    const { hertz, ideal, build } = curves;
    let highest = -Infinity;
    for (const level of ideal) highest = Math.max(highest, level);
    if (build) for (const level of build) highest = Math.max(highest, level);
    // A rise of a dB or so over the top line (a sharp network beside a
    // source) shows in the margin above it.
    const top = Math.max(0, Math.ceil((highest - 1) / 10) * 10);
    const yAt = (db) => AREA.top + (AREA.height * (top - Math.max(db, top - SPAN_DB - 5))) / SPAN_DB;
    const path = (levels) => `M${Array.from(levels, (db, i) => `${xAt(i).toFixed(1)},${yAt(db).toFixed(1)}`).join('L')}`;
    const bottom = AREA.top + AREA.height;
    let grid = svgLine(AREA.left, AREA.top, AREA.left, bottom, 'decade');
    for (let db = top; db >= top - SPAN_DB; db -= 10) {
      grid += svgLine(AREA.left, yAt(db), AREA.left + AREA.width, yAt(db), db === top ? 'decade' : '');
      grid += svgText(AREA.left - 4, yAt(db) + 4, 'end', db === top ? `${db}${SPACE}dB` : `${db < 0 ? MINUS : ''}${Math.abs(db)}`);
    }
    // Gridlines at 1, 2 ... 9 times each power of ten in reach, labelled
    // at the powers; the notch's Fo in the middle, dashed.
    const low = Math.log10(hertz[0]);
    const decades = Math.log10(hertz[hertz.length - 1]) - low;
    for (let power = Math.floor(low); power <= low + decades; ++power) {
      for (let step = 1; step < 10; ++step) {
        const x = AREA.left + (AREA.width * (power + Math.log10(step) - low)) / decades;
        if (x < AREA.left - 0.01 || x > AREA.left + AREA.width + 0.01) continue;
        grid += svgLine(x, AREA.top, x, bottom, step === 1 ? 'decade' : '');
        if (step === 1) grid += svgText(x, bottom + 15, 'middle', format(10 ** power, 'hertz', 1, true).replace(/^1\u00a0× /, ''));
      }
    }
    grid += svgLine(xAt((hertz.length - 1) / 2), AREA.top, xAt((hertz.length - 1) / 2), bottom, 'fo');
    grid += svgText(AREA.left + AREA.width / 2, bottom + 34, 'middle', 'frequency, logarithmic');
    plot.querySelector('.grid').innerHTML = grid;
    // Over the curves, with its halo, so a sharp notch does not hide it.
    plot.querySelector('.marks').innerHTML = svgText(xAt((hertz.length - 1) / 2) + 3, AREA.top + 12, 'start', 'Fo');
    plot.querySelector('path.ideal').setAttribute('d', path(ideal));
    plot.querySelector('path.build').setAttribute('d', build ? path(build) : '');
    showReadout(cursor);
  }

  const level = (db) => format(db, 'dB', 1, false);
  function showReadout(index) {
    const line = plot.querySelector('.cursor');
    cursor = index;
    if (index < 0 || curves === null) {
      line.setAttribute('visibility', 'hidden');
      return;
    }
    line.setAttribute('x1', xAt(index).toFixed(1));
    line.setAttribute('x2', xAt(index).toFixed(1));
    line.setAttribute('visibility', 'visible');
    const build = curves.build ? `, nearest build ${level(curves.build[index])}` : '';
    readout.textContent = `At ${format(curves.hertz[index], 'hertz', 4, false)}: ideal network ${level(curves.ideal[index])}${build}.`;
  }

  function pointAt(event) {
    if (curves === null) return;
    const box = plot.getBoundingClientRect();
    const x = ((event.clientX - box.left) / box.width) * plot.viewBox.baseVal.width;
    const last = curves.hertz.length - 1;
    showReadout(Math.min(last, Math.max(0, Math.round(((x - AREA.left) / AREA.width) * last))));
  }
  plot.addEventListener('pointermove', pointAt);
  plot.addEventListener('pointerdown', pointAt);
  plot.addEventListener('keydown', (event) => {
    if (curves === null) return;
    const last = curves.hertz.length - 1;
    const moves = { ArrowLeft: -1, ArrowRight: 1, ArrowDown: -1, ArrowUp: 1, PageDown: -40, PageUp: 40 };
    let index = cursor < 0 ? Math.floor(last / 2) : cursor;
    if (event.key in moves) index += moves[event.key] * (event.shiftKey ? 10 : 1);
    else if (event.key === 'Home') index = 0;
    else if (event.key === 'End') index = last;
    else return;
    event.preventDefault();
    showReadout(Math.min(last, Math.max(0, index)));
  });

  // --- The figures.
  function show(selector, visible) {
    panel.querySelectorAll(selector).forEach((element) => (element.hidden = !visible));
  }

  function render() {
    const count = figures.size;
    const values = new Float64Array(core.memory.buffer, core.nw_design_values(), count);
    const available = new Uint8Array(core.memory.buffer, core.nw_design_available(), count);
    const has = (name) => available[figures.get(name).index] === 1;
    for (const element of panel.querySelectorAll('[data-figure]')) {
      const figure = figures.get(element.dataset.figure);
      if (available[figure.index]) {
        const value = values[figure.index];
        element.textContent = format(value, figure.unit, figure.digits, figure.trimmed);
        element.dataset.value = value.toPrecision(12);
      } else {
        element.textContent = element.dataset.figure === 'load' ? 'none' : '–';
        delete element.dataset.value;
      }
    }
    const points = core.nw_design_curve_points();
    const curve = (which) => new Float64Array(core.memory.buffer, core.nw_design_curve(which), points).slice();
    curves = { hertz: curve(0), ideal: curve(1), build: has('build-r') ? curve(2) : null };
    const counted = (name) => (has(name) ? values[figures.get(name).index] : 0);
    show('[data-when="design"]', true);
    show('[data-when="build"]', has('build-r'));
    show('[data-when="active"]', has('k'));
    show('[data-when="divider"]', has('divider-top'));
    show('[data-when="active-build"]', has('depth-90-passive'));
    show('[data-when="no-notch"]', counted('no-notch-corners') + counted('no-notch-random') > 0);
    document.getElementById('divider-range').hidden = !has('k') || has('divider-top');
    panel.querySelector('.builds').hidden = !has('build-r') && !has('best-r');
    // The active network's schematic, labelled with the nearest build's
    // values (the ideal ones when it is out of range).
    const shown = (name) => panel.querySelector(`[data-figure="${name}"]`).textContent;
    const r = shown(has('build-r') ? 'build-r' : 'r');
    const c = shown(has('build-c') ? 'build-c' : 'c');
    const labels = { r, c, r3: `${r} ∥ ${r}`, c3: `2 × ${c}`,
      'divider-top': has('divider-top') ? shown('divider-top') : '',
      'divider-bottom': has('divider-bottom') ? shown('divider-bottom') : '' };
    panel.querySelectorAll('[data-label]').forEach((label) => (label.textContent = labels[label.dataset.label]));
    document.getElementById('build-range').hidden = has('build-r');
    document.getElementById('pair-range').hidden = has('best-r');
    document.getElementById('build-notch-text').textContent = has('build-r')
      ? `; the nearest build notches at ${panel.querySelector('[data-figure="build-fo"]').textContent}`
      : '';
    intro.hidden = true;
    drawPlot();
  }

  // The last OK's form, the choices and the fields, worked out afresh; a
  // field with a problem keeps the last figures.
  function update() {
    if (core === null || !designable) return;
    fields.forEach((field, index) => writeField(index));
    if (core.nw_design_update(...lists.map((list) => list.selectedIndex)) === 0) render();
    copyStatus.textContent = '';
    copyText.hidden = true;
  }

  document.addEventListener('notchwell-result', (event) => {
    designable = event.detail.designable;
    if (designable) {
      update();
      return;
    }
    show('[data-when]', false);
    ['build-range', 'pair-range'].forEach((id) => (document.getElementById(id).hidden = true));
    intro.hidden = false;
    intro.textContent =
      'The values on the form at the last OK make no network to build: R, C and Fo must each be positive and finite.';
  });
  // With an active network the load field has no effect, and says so.
  const loadNote = document.getElementById('load-note');
  const noteLoad = () => (loadNote.hidden = lists[4].value === 'passive');
  lists.forEach((list) => list.addEventListener('change', update));
  lists[4].addEventListener('change', noteLoad);
  fields.forEach((field, index) =>
    field.addEventListener('input', () => {
      checkField(index);
      update();
    }),
  );

  // --- Taking it away: the design as plain text.
  function designText() {
    const t = (name) => panel.querySelector(`[data-figure="${name}"]`).textContent;
    const option = (list) => list.options[list.selectedIndex].text;
    const lines = ['Notchwell: twin-T notch design', `For Fo = ${t('fo')}`, `Network: ${option(lists[4])}`];
    if (panel.querySelector('[data-figure="k"]').dataset.value) {
      lines.push(
        `  k = ${t('k')}, driving the common end of R3 and C3 through a follower (ideal op-amps)`,
        panel.querySelector('[data-figure="divider-top"]').dataset.value
          ? `  divider: top ${t('divider-top')}, bottom ${t('divider-bottom')}, giving k = ${t('k-build')}, Q = ${t('q-build')}`
          : '  divider: none from the resistor series comes within 10 % of this Q',
      );
    }
    lines.push(
      '',
      'Parts list of the ideal network',
      `  R1 = R2 = ${t('r')}, R3 = R/2 = ${t('r3')}`,
      `  C1 = C2 = ${t('c')}, C3 = 2C = ${t('c3')}`,
      '',
      `Standard parts: resistors ${option(lists[0])}, capacitors ${option(lists[1])}`,
    );
    if (panel.querySelector('[data-figure="build-r"]').dataset.value) {
      lines.push(
        `  Nearest build: R1 = R2 = ${t('build-r')}, R3 = two ${t('build-r')} in parallel;` +
          ` C1 = C2 = ${t('build-c')}, C3 = two ${t('build-c')} in parallel`,
        `    notch at ${t('build-fo')}, off Fo by ${t('build-error')}`,
      );
    } else {
      lines.push('  Nearest build: out of range for standard parts');
    }
    if (panel.querySelector('[data-figure="best-r"]').dataset.value) {
      lines.push(`  Best pair: R = ${t('best-r')}, C = ${t('best-c')}: notch at ${t('best-fo')}, off Fo by ${t('best-error')}`);
    } else {
      lines.push('  Best pair: out of range for standard parts');
    }
    if (panel.querySelector('[data-figure="depth-90"]').dataset.value) {
      lines.push(
        '',
        `Tolerance of the nearest build: resistors ${option(lists[2])}, capacitors ${option(lists[3])}`,
        `  notch between ${t('fo-low')} and ${t('fo-high')} with every part at one end of its tolerance or the other`,
        `  90 % of ${document.getElementById('random-builds').textContent} random builds notch at least ${t('depth-90')}` +
          " below the source's voltage",
      );
      if (panel.querySelector('[data-figure="depth-90-passive"]').dataset.value) {
        lines.push(`  as a passive network the same builds reach ${t('depth-90-passive')}`);
      }
      if (t('no-notch-corners') !== '0' || t('no-notch-random') !== '0') {
        lines.push(`  no notch at all in ${t('no-notch-corners')} of the 256 corner builds and ${t('no-notch-random')}` +
          ' of the random ones');
      }
    }
    lines.push(
      '',
      `Source resistance ${t('source')}, load ${t('load')}`,
      `Ideal network: notch at ${t('notch')}, half power at ${t('band-low')} and ${t('band-high')}, Q = ${t('q')}`,
    );
    return `${lines.join('\n').replace(/\u00a0/g, ' ')}\n`;
  }

  control('copy').addEventListener('click', async () => {
    const text = designText();
    try {
      await navigator.clipboard.writeText(text);
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
      for (let i = 0; i < core.nw_design_choice_count(which); ++i) {
        const value = core.nw_design_choice_value(which, i);
        if (which < 2) list.add(new Option(readText(core.nw_design_series_name(which, i))));
        else if (which < 4) list.add(new Option(`±${value}${SPACE}%`, String(value)));
        else list.add(value === 0 ? new Option('Passive (Q = 0.25)', 'passive') : new Option(`Active, Q = ${value}`, String(value)));
      }
      list.selectedIndex = core.nw_design_choice_default(which);
    });
    document.getElementById('random-builds').textContent = core.nw_design_random_builds().toLocaleString('en');
    noteLoad();
    // Every start is fresh, whatever the browser kept of a visit.
    fields.forEach((field, index) => {
      field.value = '';
      checkField(index);
    });
  });
})();
