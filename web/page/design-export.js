// --- Taking it away: the design as plain text.
const copyStatus = document.getElementById('copy-status');
const copyText = document.getElementById('copy-text');

function designText() {
  writeLinkNow();
  const t = figureText;
  const has = (name) => latest.has(name);
  const option = (name) => control(name).options[control(name).selectedIndex].text;
  const fo = t('fo');
  const lines = ['Notchwell: twin-T notch design', `For Fo = ${fo}`, `Link: ${location.href}`,
    `Network: ${option('network')}`];
  if (has('k')) {
    lines.push(
      `  k = ${t('k')}, driving the common end of R3 and C3 through a follower (ideal op-amps)`,
      has('divider-top')
        ? `  divider: top ${t('divider-top')}, bottom ${t('divider-bottom')}, giving k = ${t('k-build')}, Q = ${t('q-build')}`
        : '  divider: none from the resistor series comes within 10 % of this Q',
    );
  }
  const notch = (prefix) =>
    `${has(`${prefix}-fo`) ? `notch at ${t(`${prefix}-fo`)}, off Fo by ${t(`${prefix}-error`)}` : 'no notch'};` +
    ` takes ${t(`${prefix}-reject`)} off ${fo} itself`;
  lines.push(
    '',
    'Parts list of the ideal network',
    `  R1 = R2 = ${t('r')}, R3 = R/2 = ${t('r3')}`,
    `  C1 = C2 = ${t('c')}, C3 = 2C = ${t('c3')}`,
    '',
    `Standard parts: resistors ${option('resistor-series')}, capacitors ${option('capacitor-series')}`,
  );
  if (has('build-r')) {
    lines.push(
      `  Nearest build: R1 = R2 = ${t('build-r')}, R3 = two ${t('build-r')} in parallel;` +
        ` C1 = C2 = ${t('build-c')}, C3 = two ${t('build-c')} in parallel`,
      `    ${notch('build')}`,
    );
  } else {
    lines.push('  Nearest build: out of range for standard parts');
  }
  if (has('best-r')) {
    lines.push(`  Best pair: R = ${t('best-r')}, C = ${t('best-c')}: ${notch('best')}`);
  } else {
    lines.push('  Best pair: out of range for standard parts');
  }
  if (has('build-r')) {
    const position = (label, name) =>
      `  ${label}: ${panel.querySelector(`[data-parts-of="${name}"]`).textContent}, making ${t(name)}`;
    lines.push(
      '',
      'One or two parts a position',
      position('R1, R2 each', 'exact-r'),
      position('R3', 'exact-r3'),
      position('C1, C2 each', 'exact-c'),
      position('C3', 'exact-c3'),
      `  built so: ${notch('exact')}`,
      '',
      `Tolerance of the nearest build: resistors ${option('resistor-tolerance')}, capacitors ${option('capacitor-tolerance')}`,
      `  notch between ${t('fo-low')} and ${t('fo-high')} with every part at one end of its tolerance or the other`,
      `  90 % of ${panel.querySelector('.random-builds').textContent} random builds notch at least ${t('depth-90')}` +
        ` below the source's voltage; at ${fo} itself 90 % take at least ${t('reject-90')} off`,
    );
    if (has('depth-90-passive')) lines.push(`  as a passive network the same builds reach ${t('depth-90-passive')}`);
    if (t('no-notch-corners') !== '0' || t('no-notch-random') !== '0') {
      lines.push(`  no notch at all in ${t('no-notch-corners')} of the 256 corner builds and ${t('no-notch-random')}` +
        ' of the random ones');
    }
    const trim = (r) =>
      `  ${r.toUpperCase()} from ${t(`trim-${r}-low`)} to ${t(`trim-${r}-high`)}: ` +
      (has(`trim-${r}-fixed`)
        ? `fixed ${t(`trim-${r}-fixed`)} in series with a ${t(`trim-${r}-pot`)} trimmer`
        : 'no fixed resistor of the series with a trimmer covers it');
    lines.push(
      '',
      `Temperature: resistors ${option('resistor-tempco')}, capacitors ${option('capacitor-tempco')}, ` +
        option('temperature-range'),
      `  notch between ${has('drift-fo-low') ? `${t('drift-fo-low')} and ${t('drift-fo-high')}` : '– and –'};` +
        ` takes at least ${t('drift-reject')} off ${fo} itself`,
      '',
      `Trimming every build onto ${fo}`,
      trim('r1'),
      trim('r3'),
      '  set R1 and R3 in turn for the least output at Fo, until neither lowers it',
    );
  }
  lines.push('', `Source resistance ${t('source')}, load ${has('load') ? t('load') : 'none'}`);
  if (has('measured-reject')) {
    lines.push(
      '',
      `Measured parts: ${MEASURED.map((field) => `${field.id.slice(9).toUpperCase()} ${field.value.trim()}`).join(', ')}`,
      `  ${has('measured-fo') ? `notch at ${t('measured-fo')}, ${t('measured-depth')} deep` : 'no notch'};` +
        ` takes ${t('measured-reject')} off ${fo} itself`,
    );
    if (has('measured-trim-r1')) {
      lines.push(`  nulls at ${fo} with R1 = ${t('measured-trim-r1')} (${t('measured-trim-r1-change')})` +
        ` and R3 = ${t('measured-trim-r3')} (${t('measured-trim-r3-change')})`);
    }
  }
  lines.push(
    '',
    `Ideal network: notch at ${t('notch')}, half power at ${has('band-low') ? t('band-low') : 'none'} and ` +
      `${has('band-high') ? t('band-high') : 'none'}, Q = ${has('q') ? t('q') : '–'}`,
    '',
    'Harmonics: level through the ideal network, and the nearest build',
  );
  for (let n = 2; n <= 5; ++n) {
    lines.push(`  ${n} Fo: ${t(`h${n}`)}${has(`build-h${n}`) ? `, ${t(`build-h${n}`)}` : ''}`);
  }
  return `${plain(lines.join('\n'))}\n`;
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

// --- Taking it elsewhere: the nearest build as a SPICE netlist, every
// figure as CSV, each shown and offered as a file (a Blob behind a
// download link: no request, from file:// too).
const plain = (text) => text.replace(/\u00a0/g, ' ');

function netlistText() {
  if (!latest.has('build-r')) return 'The nearest build is out of range for standard parts: there is nothing to simulate.\n';
  const value = (name) => exactText(latest.get(name));
  // Plain ASCII, which every SPICE reads, in the comments too.
  const ascii = (text) => plain(text).replace(/±/g, '+-').replace(/Ω/g, 'ohm').replace(/µ/g, 'u').replace(/\u2212/g, '-');
  const option = (name) => ascii(control(name).options[control(name).selectedIndex].text);
  const shown = (name) => ascii(figureText(name));
  const [r, c, fo, source] = [value('build-r'), value('build-c'), latest.get('fo'), latest.get('source')];
  const active = latest.has('k');
  // The network's own output is the output itself, or in the active form
  // the input of the follower that gives it; R3 and C3 meet at ground or
  // at the second follower's output.
  const [t, g] = active ? ['t', 'g'] : ['out', '0'];
  const lines = [
    '* Notchwell: the twin-T notch filter, nearest build of standard parts',
    `* Fo = ${shown('fo')}${latest.has('build-fo') ? `; this build notches at ${shown('build-fo')}` : ''}`,
    `* Resistors ${option('resistor-series')} ${option('resistor-tolerance')}, capacitors ${option('capacitor-series')}` +
      ` ${option('capacitor-tolerance')}; R3 is two R in parallel, C3 two C in parallel`,
    `* Network: ${option('network')}${active ? ', op-amps as ideal followers (E elements)' : ''}`,
    `* Source ${shown('source')}, load ${latest.has('load') ? shown('load') : 'none'};` +
      ' VS is the source\'s voltage: Vout/Vs is V(out)',
    ...(source > 0 ? ['VS vs 0 DC 0 AC 1', `RS vs in ${exactText(source)}`] : ['VS in 0 DC 0 AC 1']),
    `R1 in a ${r}`, `R2 a ${t} ${r}`, `C3A a ${g} ${c}`, `C3B a ${g} ${c}`,
    `C1 in b ${c}`, `C2 b ${t} ${c}`, `R3A b ${g} ${r}`, `R3B b ${g} ${r}`,
  ];
  if (active) {
    const k = latest.get('k');
    lines.push(
      '* The output follower; the divider across it feeds the follower that drives the common end of R3 and C3',
      'EOUT out 0 t 0 1',
      `RTOP out tap ${latest.has('divider-top') ? value('divider-top') : '10000'}`,
      `RBOTTOM tap 0 ${latest.has('divider-bottom') ? value('divider-bottom') : exactText((1e4 * k) / (1 - k))}`,
      'EG g 0 tap 0 1',
    );
  }
  if (latest.has('load')) lines.push(`RL out 0 ${value('load')}`);
  lines.push(`.ac dec 100 ${exactText(fo / 100)} ${exactText(fo * 100)}`, '.print ac vdb(out)', '.end');
  return `${lines.join('\n')}\n`;
}

const UNIT_SYMBOLS = { ohm: 'Ω', farad: 'F', hertz: 'Hz', dB: 'dB', percent: '%', number: '', count: '' };

// RFC 4180: a header, then a row a figure, quoted where a field needs it.
function csvText() {
  const quote = (field) => (/[",\r\n]/.test(field) ? `"${field.replace(/"/g, '""')}"` : field);
  const rows = [['figure', 'value', 'unit', 'text']];
  const seen = new Set();
  for (const element of panel.querySelectorAll('[data-figure][data-value]')) {
    const name = element.dataset.figure;
    if (seen.has(name)) continue;
    seen.add(name);
    rows.push([name, element.dataset.value, UNIT_SYMBOLS[figures.get(name).unit], plain(element.textContent)]);
  }
  return rows.map((row) => row.map(quote).join(',')).join('\r\n') + '\r\n';
}

// The file a spreadsheet opens as UTF-8 starts with a byte order mark.
const EXPORTS = {
  netlist: { text: netlistText, file: (text) => new Blob([text], { type: 'text/plain' }) },
  csv: { text: csvText, file: (text) => new Blob(['\ufeff', text], { type: 'text/csv' }) },
};

function refreshExport(name) {
  const section = document.getElementById(`${name}-export`);
  if (section.hidden) return;
  const text = EXPORTS[name].text();
  section.querySelector('[data-export]').textContent = text;
  const save = section.querySelector('a.save');
  if (save.href) URL.revokeObjectURL(save.href);
  save.href = URL.createObjectURL(EXPORTS[name].file(text));
}

function refreshExports() {
  Object.keys(EXPORTS).forEach(refreshExport);
}

for (const name of Object.keys(EXPORTS)) {
  control(name).addEventListener('click', () => {
    const section = document.getElementById(`${name}-export`);
    section.hidden = !section.hidden;
    control(name).setAttribute('aria-expanded', String(!section.hidden));
    refreshExport(name);
  });
}
