// The design as plain text, for the clipboard.
import { format, plain } from './format.js';
import { EXACT, chosen, figureText, holds, partsWords } from './state.js';
import { tuneWords } from './tune.js';

export function designText(state) {
  const t = (name) => figureText(state, name);
  const is = (section) => holds(state, section);
  const option = (name) => chosen(state, name).text;
  const fo = t('fo');
  const lines = ['Notchwell: twin-T notch design', `For Fo = ${fo}`, `Link: ${state.href}`,
    ...(is('build') ? ['  (there, "KiCad schematic" gives the nearest build as notchwell.kicad_sch, for KiCad 9)'] : []),
    `Network: ${option('network')}`];
  if (is('active')) {
    lines.push(
      `  k = ${t('k')}, driving the common end of R3 and C3 through a follower` +
        `${is('opamp') ? '' : ' (ideal op-amps)'}`,
      is('divider')
        ? `  divider: top ${t('divider-top')}, bottom ${t('divider-bottom')}, giving k = ${t('k-build')}, Q = ${t('q-build')}`
        : '  divider: none from the resistor series comes within 10 % of this Q',
    );
  }
  if (is('opamp')) {
    const amp = chosen(state, 'opamp');
    lines.push(
      `  op-amps: ${amp.value === 'custom' ? `your own, ${t('opamp-gbw')}, ${t('opamp-gain')}, ${t('opamp-slew')}` : amp.text};` +
        ' every build below is worked out with them',
      `  with them the ideal parts: half power ${is('opamp-band-low') ? `at ${t('opamp-band-low')}` : 'nowhere'} below` +
        ` the notch and ${is('opamp-band-high') ? `at ${t('opamp-band-high')}` : 'nowhere'} above it,` +
        ` Q = ${is('opamp-q') ? t('opamp-q') : '–'}, peak ${t('opamp-peak')}`,
      ...(is('opamp-weak') ? [`  at Fo each follower's own gain is ${t('opamp-follower-gain')}, more than 3 dB down:` +
        ' with these op-amps the circuit is no notch filter at Fo'] : []),
      is('opamp-needed')
        ? `  for Q within 5 % of ideal op-amps' and a peak under 0.5 dB: at least ${t('opamp-gbw-needed')} of gain-bandwidth`
        : `  no gain-bandwidth up to 10 GHz keeps Q within 5 % and the peak under 0.5 dB at ${t('opamp-gain')}`,
      `  at 5 Fo the output follows a sine of at most ${t('opamp-slew-limit')} peak`,
    );
  }
  const notch = (prefix) =>
    `${is(`${prefix}-notch`) ? `notch at ${t(`${prefix}-fo`)}, off Fo by ${t(`${prefix}-error`)}` : 'no notch'};` +
    ` takes ${t(`${prefix}-reject`)} off ${fo} itself`;
  lines.push(
    '',
    'Parts list of the ideal network',
    `  R1 = R2 = ${t('r')}, R3 = R/2 = ${t('r3')}`,
    `  C1 = C2 = ${t('c')}, C3 = 2C = ${t('c3')}`,
    '',
    `Standard parts: resistors ${option('resistor-series')}, capacitors ${option('capacitor-series')}`,
  );
  if (is('build')) {
    lines.push(
      `  Nearest build: R1 = R2 = ${t('build-r')}, R3 = two ${t('build-r')} in parallel;` +
        ` C1 = C2 = ${t('build-c')}, C3 = two ${t('build-c')} in parallel`,
      `    ${notch('build')}`,
    );
  } else {
    lines.push('  Nearest build: out of range for standard parts');
  }
  lines.push(is('pair') ? `  Best pair: R = ${t('best-r')}, C = ${t('best-c')}: ${notch('best')}`
    : '  Best pair: out of range for standard parts');
  if (is('build')) {
    const position = (label, i) => `  ${label}: ${partsWords(state, i)}, making ${t(EXACT[i])}`;
    lines.push(
      '',
      'One or two parts a position',
      position('R1, R2 each', 0),
      position('R3', 1),
      position('C1, C2 each', 2),
      position('C3', 3),
      `  built so: ${notch('exact')}`,
      '',
      `Tolerance of the nearest build: resistors ${option('resistor-tolerance')}, capacitors ${option('capacitor-tolerance')}`,
      `  notch between ${t('fo-low')} and ${t('fo-high')} with every part at one end of its tolerance or the other`,
      `  90 % of ${state.tables.randomBuilds.toLocaleString('en')} random builds notch at least ${t('depth-90')}` +
        ` below the source's voltage; at ${fo} itself 90 % take at least ${t('reject-90')} off`,
    );
    if (is('active')) lines.push(`  as a passive network the same builds reach ${t('depth-90-passive')}`);
    if (is('no-notch')) {
      lines.push(`  no notch at all in ${t('no-notch-corners')} of the 256 corner builds and ${t('no-notch-random')}` +
        ' of the random ones');
    }
    const trim = (r) =>
      `  ${r.toUpperCase()} from ${t(`trim-${r}-low`)} to ${t(`trim-${r}-high`)}: ` +
      (is(`trim-${r}`)
        ? `fixed ${t(`trim-${r}-fixed`)} in series with a ${t(`trim-${r}-pot`)} trimmer`
        : 'no fixed resistor of the series with a trimmer covers it');
    lines.push(
      '',
      `Temperature: resistors ${option('resistor-tempco')}, capacitors ${option('capacitor-tempco')}, ` +
        option('temperature-range'),
      `  notch between ${is('drift') ? `${t('drift-fo-low')} and ${t('drift-fo-high')}` : '– and –'};` +
        ` takes at least ${t('drift-reject')} off ${fo} itself`,
      '',
      `Trimming every build onto ${fo}`,
      trim('r1'),
      trim('r3'),
      '  set R1 and R3 in turn for the least output at Fo, until neither lowers it',
    );
    if (is('opamp')) lines.push('  the op-amps move none of this: at a null the output is zero, whatever their gain');
  }
  lines.push('', `Source resistance ${t('source')}, load ${is('load') ? t('load') : 'none'}`);
  if (is('measured')) {
    const measured = state.fields.filter((field) => field.group === 'measured');
    lines.push(
      '',
      `Measured parts: ${measured.map((field) => `${field.name.slice(9).toUpperCase()} ${field.text.trim()}`).join(', ')}`,
      `  ${is('measured-dip') ? `notch at ${t('measured-fo')}, ${t('measured-depth')} deep` : 'no notch'};` +
        ` takes ${t('measured-reject')} off ${fo} itself`,
    );
    if (is('measured-trim')) {
      lines.push(`  nulls at ${fo} with R1 = ${t('measured-trim-r1')} (${t('measured-trim-r1-change')})` +
        ` and R3 = ${t('measured-trim-r3')} (${t('measured-trim-r3-change')})`);
    }
  }
  if (is('tune-sweep')) lines.push('', ...tuneLines(state));
  lines.push(
    '',
    `Ideal network: notch at ${t('notch')}, half power at ${is('band-low') ? t('band-low') : 'none'} and ` +
      `${is('band-high') ? t('band-high') : 'none'}, Q = ${is('q') ? t('q') : '–'}`,
  );
  // In time, and over the band the frequency may wander in.
  const settle = (name) => (is(`${name}s`) ? `within 1 % after ${t(name)}` : 'not given (no notch, or no settling within 10⁴ cycles of Fo)');
  const band = Number(chosen(state, 'reject-band').value) / 100;
  const f = state.figures.get('fo');
  lines.push(
    '',
    `Reject band ${option('reject-band')}: from ${format(f * (1 - band), 'hertz', 4, false)} to ` +
      `${format(f * (1 + band), 'hertz', 4, false)} at least ${t('band-reject-ideal')} off (ideal network)` +
      (is('build') ? `, ${t('band-reject')} (nearest build), ${t('band-reject-exact')} (two-part build),` +
        ` ${t('band-reject-90')} (90 % of the random builds)` : ''),
    `Sine at Fo switched on: ideal network ${settle('burst-settle')}` +
      (is('build') ? `; nearest build ${settle('build-burst-settle')}, then ${t('build-reject')} off` : ''),
    `Unit step: ideal network ${settle('step-settle')}, lowest ${is('step-settles') ? t('step-low') : '–'}` +
      (is('build') ? `; nearest build ${settle('build-step-settle')}, lowest ${is('build-step-settles') ? t('build-step-low') : '–'}` : ''),
    `Plot: ${option('plot-view')}`,
    '',
    'Harmonics: level through the ideal network, and the nearest build',
  );
  for (let n = 2; n <= 5; ++n) {
    lines.push(`  ${n} Fo: ${t(`h${n}`)}${is('build') ? `, ${t(`build-h${n}`)}` : ''}`);
  }
  if (is('noise')) {
    lines.push('', `Noise of the nearest build over ${option('noise-band')}: ${t('noise-total')} rms, ${t('noise-floor')}` +
      ` below ${t('noise-signal')} (${t('noise-floor-tenth')} at a tenth of the impedance); ${t('noise-density')} at Fo`,
    `  resistors ${t('noise-resistors')}` + (is('active') ? `, op-amps' voltage noise ${t('noise-opamp-voltage')},` +
      ` current noise ${t('noise-opamp-current')}` : ''));
  }
  return `${plain(lines.join('\n'))}\n`;
}

// A measured sweep, and the trims it gives.
function tuneLines(state) {
  const t = (name) => figureText(state, name);
  const is = (section) => holds(state, section);
  const lines = [`Measured sweep of ${chosen(state, 'tune-built').text}: ${t('tune-points')} points` +
    ' (not in the link)'];
  if (is('tune-no-build')) lines.push('  no build to fit it to');
  if (is('tune-not-spanning')) lines.push('  it does not span the notch, from below Fo / 1.2 to above 1.2 Fo');
  const words = tuneWords(state);
  if (is('tune-no-fit')) lines.push(`  the network does not fit it within what its noise explains ${words.worst}`.trimEnd());
  if (words.leftOut) lines.push(`  ${words.leftOut}`);
  if (!is('tuned')) return lines;
  const atLeast = (section) => (is(section) ? 'at least ' : '');
  const notch = is('tune-notch')
    ? `notch at ${t('tune-notch')}, ${atLeast('tune-depth-bound')}${t('tune-depth')} below its level far below the notch; `
    : '';
  lines.push(`  ${notch}takes ${atLeast('tune-reject-bound')}${t('tune-reject')} off ${t('fo')}; the fit leaves` +
    ` ${t('tune-fit-rms')} rms`);
  if (is('tune-undecided')) {
    lines.push('  the level alone does not decide the turns: measure the phase as well, or the six parts');
    return lines;
  }
  lines.push(
    `  ${words.trim}`,
    `  changes R1 ${t('tune-r1-change')} ± ${t('tune-r1-spread')}, R3 ${t('tune-r3-change')} ±` +
      ` ${t('tune-r3-spread')}; with the fit's own parts R1 = ${t('tune-r1')}, R3 = ${t('tune-r3')}`,
    ...[words.alternative, words.round].filter((text) => text).map((text) => `  ${text}`),
  );
  return lines;
}
