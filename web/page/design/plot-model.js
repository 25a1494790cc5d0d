// The response plot as data: its size, scales, ticks, gridlines, paths,
// marks and words, from a state's curves and the view chosen. No page
// here: plot.js writes what this works out into the SVG.
//
// The curves: 401 points evenly on a log scale, in dB, each curve with its
// own notch among them, over the band where 90 % of the random builds
// lie; or in another view, the phase or group delay at the same points,
// or the output in time after a step or a sine at Fo switched on, or the
// nearest build's output noise density by source.
import { MINUS, SPACE, format } from './format.js';

const SPAN_DB = 80;
const LOWEST_SHOWN = 60;
export const HEADINGS = { level: 'Response, |Vout/Vs|', phase: 'Phase of Vout/Vs', delay: 'Group delay of Vout/Vs',
  step: 'Output after a unit step', burst: 'Output after a sine at Fo is switched on',
  noise: 'Output noise of the nearest build' };
const NOISE_WORDS = { total: 'total noise', resistors: 'resistors', 'opamp-voltage': "op-amps' voltage noise",
  'opamp-current': "op-amps' current noise" };
const NOISE_DECADES = 3;
const CURVE_WORDS = { ideal: 'ideal network', build: 'nearest build', measured: 'measured parts',
  opamp: 'ideal parts with your op-amps', fitted: 'fitted build' };
const NOTCHING = { ideal: 'the ideal network notches', build: 'the nearest build notches', measured: 'your measured parts notch',
  opamp: 'the ideal parts with your op-amps notch', fitted: 'the build fitted to your sweep notches' };

export const inTime = (view) => view === 'step' || view === 'burst';
// The points along the x axis of a view: frequencies, or times.
export const pointsOf = (curves, view) => (inTime(view) ? curves.time.seconds : curves.hertz);
// The curves drawn, in the design code's order.
export const drawnCurves = (curves, names) => names.filter((name) => curves[name]);

// In the plot's own pixels (at least 400 wide, scaled down below that, so
// that its lettering keeps its size on a wide screen), at most
// `heightLimit` high but never below 200.
export function plotSize(plotWidth, heightLimit) {
  const width = Math.max(400, plotWidth);
  const height = Math.round(Math.min(250 + (width - 400) / 4, Math.max(200, heightLimit)));
  return { width, height, area: { left: 44, top: 8, width: width - 52, height: height - 48 } };
}

// Gridlines, each kind ('minor', 'decade' for the axes and the powers of
// ten, 'fo') drawn as one path: a page styles and lays out three elements
// in place of dozens.
function gridLines() {
  const kinds = { minor: '', decade: '', fo: '' };
  return {
    add(x1, y1, x2, y2, kind) {
      kinds[kind] += `M${x1.toFixed(1)},${y1.toFixed(1)}L${x2.toFixed(1)},${y2.toFixed(1)}`;
    },
    markup: () => Object.entries(kinds).map(([kind, d]) => (d ? `<path class="${kind}" d="${d}"/>` : '')).join(''),
  };
}
const text = (x, y, anchor, words) => `<text x="${x.toFixed(1)}" y="${y}" text-anchor="${anchor}">${words}</text>`;
// Point `index` of `count` evenly across the area.
export const xAt = (area, index, count) => area.left + (area.width * index) / (count - 1);
// A frequency's place, on the same log scale as the points.
export function xOf(area, hertz, frequencies) {
  const low = Math.log10(frequencies[0]);
  return area.left + (area.width * (Math.log10(hertz) - low)) / (Math.log10(frequencies[frequencies.length - 1]) - low);
}

// A curve's points (their places as text, and their levels), its own
// notch among them where it lies on the plot; `xs` the points' places.
export function curvePoints(curves, name, area, xs) {
  const { hertz } = curves;
  const places = xs.slice();
  const levels = Array.from(curves[name]);
  const notch = curves.notches[name];
  if (notch.hertz >= hertz[0] && notch.hertz <= hertz[hertz.length - 1]) {
    const at = hertz.findIndex((f) => f > notch.hertz);
    places.splice(at < 0 ? places.length : at, 0, xOf(area, notch.hertz, hertz).toFixed(1));
    levels.splice(at < 0 ? levels.length : at, 0, notch.db);
  }
  return { xs: places, levels };
}

// Gridlines at 1, 2 ... 9 times each power of ten in reach, labelled at
// the powers; the notch's Fo in the middle, dashed. Adds the lines to
// `lines`, and returns the labels.
export function frequencyGrid(lines, hertz, area) {
  const bottom = area.top + area.height;
  let grid = '';
  const low = Math.log10(hertz[0]);
  const decades = Math.log10(hertz[hertz.length - 1]) - low;
  for (let power = Math.floor(low); power <= low + decades; ++power) {
    for (let step = 1; step < 10; ++step) {
      const x = area.left + (area.width * (power + Math.log10(step) - low)) / decades;
      if (x < area.left - 0.01 || x > area.left + area.width + 0.01) continue;
      lines.add(x, area.top, x, bottom, step === 1 ? 'decade' : 'minor');
      if (step === 1) {
        // A label at the right edge is moved in far enough to be read whole.
        const label = format(10 ** power, 'hertz', 1, true).replace(/^1\u00a0× /, '');
        grid += text(Math.min(x, area.left + area.width + 6 - 3.5 * label.length), bottom + 15, 'middle', label);
      }
    }
  }
  const middle = xAt(area, (hertz.length - 1) / 2, hertz.length);
  lines.add(middle, area.top, middle, bottom, 'fo');
  return grid + text(area.left + area.width / 2, bottom + 34, 'middle', 'frequency, logarithmic');
}

// Steps of 1, 2 or 5 times a power of ten, some five to ten of them
// from low to high.
export function ticks(low, high) {
  const span = high - low || Math.abs(high) || 1;
  const power = 10 ** Math.floor(Math.log10(span / 5));
  const step = [1, 2, 5, 10].map((m) => m * power).find((s) => span / s <= 8);
  return { low: Math.floor(low / step) * step, high: Math.ceil(high / step) * step || step, step };
}

// A value of a view as its axis and read-out write it.
const signed = (value, digits) => {
  const written = Math.abs(value).toFixed(digits);
  return Number(written) === 0 ? written : `${value < 0 ? MINUS : ''}${written}`;
};
const secondsText = (value, digits) => (value === 0 ? `0${SPACE}s` : format(value, 'second', digits, true));
function viewValue(view, value, digits) {
  if (view === 'phase') return `${signed(value, digits)}°`;
  if (view === 'delay') return secondsText(value, digits + 2);
  return signed(value, digits + 2);
}

// The level view's scale: the top line a little over the highest point
// (a rise of a dB or so over it, of a sharp network beside a source, shows
// in the margin above), and every curve drawn shows: the floor lies at
// least LOWEST_SHOWN below the highest point of the lowest curve (op-amps
// that pass little at Fo sink a whole curve), the lines then 20 dB apart
// where 80 dB is far too little.
export function levelScale(curves, names) {
  let highest = -Infinity;
  for (const name of drawnCurves(curves, names)) for (const level of curves[name]) highest = Math.max(highest, level);
  if (curves.band) for (const level of curves.band.high) highest = Math.max(highest, level);
  const top = Math.max(0, Math.ceil((highest - 1) / 10) * 10);
  let lowestTop = Infinity;
  for (const name of drawnCurves(curves, names)) lowestTop = Math.min(lowestTop, Math.max(...curves[name]));
  const wanted = Math.max(SPAN_DB, top - (lowestTop - LOWEST_SHOWN));
  const step = wanted > SPAN_DB ? 20 : 10;
  const span = Math.ceil(wanted / step) * step;
  return { top, floor: top - span, step, span };
}

// A level's height on the scale; a notch deeper than the floor is cut
// just below it, and a measured point above the top just above it.
export const levelY = (scale, area, db) =>
  area.top + (area.height * (scale.top - Math.min(Math.max(db, scale.floor - 5), scale.top + 5))) / scale.span;

// The level view's grid: dB lines, labelled, and the frequency grid.
export function levelGrid(scale, hertz, area) {
  const { top, floor, step } = scale;
  const lines = gridLines();
  lines.add(area.left, area.top, area.left, area.top + area.height, 'decade');
  let labels = '';
  for (let db = top; db >= floor; db -= step) {
    const y = levelY(scale, area, db);
    lines.add(area.left, y, area.left + area.width, y, db === top ? 'decade' : 'minor');
    labels += text(area.left - 4, y + 4, 'end', db === top ? `${db}${SPACE}dB` : `${db < 0 ? MINUS : ''}${Math.abs(db)}`);
  }
  labels += frequencyGrid(lines, hertz, area);
  return lines.markup() + labels;
}

// A path through points placed at `xs` (as text) at `levels`.
export function levelPath(scale, area, { xs, levels }) {
  let d = 'M';
  for (let i = 0; i < xs.length; ++i) d += `${i ? 'L' : ''}${xs[i]},${levelY(scale, area, levels[i]).toFixed(1)}`;
  return d;
}

// The band: along its high edge, and back along its low edge, at every
// other point.
const bandLevels = (band) => [...band.high, ...Array.from(band.low).reverse()];
export function bandPath(scale, area, band, xs) {
  const every = xs.filter((x, i) => i % 2 === 0);
  return `${levelPath(scale, area, { xs: [...every, ...every.slice().reverse()], levels: bandLevels(band) })}Z`;
}

// A curve's notch in words: where it lies, and how deep below the source's voltage.
export function notchWords(curves, name) {
  const { hertz, db } = curves.notches[name];
  const depth = db < -200 ? 'a null' : `${format(-db, 'dB', 1, false)} deep`;
  return `${NOTCHING[name]} at ${format(hertz, 'hertz', 5, false)}, ${depth}`;
}

// Over the curves, with its halo, so a sharp notch does not hide it: Fo;
// a notch deeper than the plot's floor is cut there and marked.
export function levelMarks(scale, curves, names, area) {
  const bottom = area.top + area.height;
  let marks = text(xAt(area, (curves.hertz.length - 1) / 2, curves.hertz.length) + 3, area.top + 12, 'start', 'Fo');
  for (const name of drawnCurves(curves, names)) {
    const notch = curves.notches[name];
    if (notch.hertz > 0 && notch.db < scale.floor) {
      const x = xOf(area, notch.hertz, curves.hertz).toFixed(1);
      marks += `<path class="clipped ${name}" d="M${x},${bottom - 1}l-4,-7h8Z"><title>${notchWords(curves, name)}</title></path>`;
    }
  }
  return marks;
}

// The notches in words, after the level view's text alternative, and
// the measured sweep's points.
export function notchesText(curves, names) {
  const notched = drawnCurves(curves, names).filter((name) => curves.notches[name].hertz > 0);
  const notches = notched.length
    ? ` In the plot, ${notched.map((name) => notchWords(curves, name)).join('; ')}; a notch deeper than the floor` +
      ' is cut there and marked ▼.'
    : '';
  return notches + sweepWords(curves);
}

// The measured sweep in words: its span, and its lowest point.
export function sweepWords(curves) {
  const { sweep } = curves;
  if (!sweep) return '';
  const hertz = (value) => format(value, 'hertz', 4, false);
  let lowest = 0;
  sweep.level.forEach((level, i) => (lowest = level < sweep.level[lowest] ? i : lowest));
  return ` The measured sweep's ${sweep.count.toLocaleString('en')} points run from ${hertz(sweep.hertz[0])} to` +
    ` ${hertz(sweep.hertz[sweep.hertz.length - 1])}, lowest at ${hertz(sweep.hertz[lowest])},` +
    ` ${format(-sweep.level[lowest], 'dB', 1, false)} down; they are drawn as dots.`;
}

// The measured sweep's points within the plot's frequencies as dots at
// `yAt` of each value: '' where there are none to draw in the view.
export function sweepPath(curves, values, area, yAt) {
  const { sweep, hertz } = curves;
  if (!sweep || !values) return '';
  let d = '';
  sweep.hertz.forEach((f, i) => {
    if (f < hertz[0] || f > hertz[hertz.length - 1]) return;
    d += `M${xOf(area, f, hertz).toFixed(1)},${yAt(values[i]).toFixed(1)}h0`;
  });
  return d;
}

// The sweep's point nearest `frequency`, within a percent of it, or -1.
function sweepPointAt(sweep, frequency) {
  let nearest = -1;
  let ratio = 1.01;
  sweep.hertz.forEach((f, i) => {
    const r = f > frequency ? f / frequency : frequency / f;
    if (r <= ratio) [nearest, ratio] = [i, r];
  });
  return nearest;
}

// The phase, delay and time views: their own axes, no band; the grid and
// each curve's path.
export function otherView(view, curves, names, area) {
  const bottom = area.top + area.height;
  const drawn = drawnCurves(curves, names);
  const series = inTime(view) ? curves.time : curves[view];
  let range;
  if (view === 'phase') {
    range = { low: -180, high: 180, step: 45 };
  } else {
    // Beside a build's notch its delay rises far above the ideal
    // network's: the axis holds four times the ideal network's at most.
    const values = drawn.flatMap((name) => Array.from(series[name]));
    let high = Math.max(...values);
    if (view === 'delay') high = Math.min(high, 4 * Math.max(...series.ideal, 0) || high);
    range = ticks(Math.min(0, ...values), high);
  }
  const yAt = (value) => area.top + (area.height * (range.high - Math.min(range.high + range.step, Math.max(value,
    range.low - range.step)))) / (range.high - range.low);
  const lines = gridLines();
  lines.add(area.left, area.top, area.left, bottom, 'decade');
  let grid = '';
  for (let value = range.high; value >= range.low - range.step / 2; value -= range.step) {
    lines.add(area.left, yAt(value), area.left + area.width, yAt(value), Math.abs(value) < range.step / 2 ? 'decade' : 'minor');
    grid += text(area.left - 4, yAt(value) + 4, 'end', viewValue(view, Math.abs(value) < range.step / 2 ? 0 : value, 0));
  }
  if (inTime(view)) {
    const { seconds } = curves.time;
    const last = seconds[seconds.length - 1];
    const time = ticks(0, last);
    for (let t = 0; t <= last * 1.0001; t += time.step) {
      const x = area.left + (area.width * t) / last;
      lines.add(x, area.top, x, bottom, t === 0 ? 'decade' : 'minor');
      grid += text(x, bottom + 15, 'middle', secondsText(t, 3));
    }
    grid += text(area.left + area.width / 2, bottom + 34, 'middle', view === 'step' ? 'time after the step'
      : 'time after switching on');
  } else {
    grid += frequencyGrid(lines, curves.hertz, area);
  }
  grid = lines.markup() + grid;
  const paths = {};
  for (const name of drawn) {
    const count = series[name].length;
    paths[name] = 'M' + Array.from(series[name], (value, i) => `${xAt(area, i, count).toFixed(1)},${yAt(value).toFixed(1)}`)
      .join('L');
  }
  const dots = view === 'phase' ? sweepPath(curves, curves.sweep?.degrees, area, yAt) : '';
  if (dots) paths.sweep = dots;
  return { grid, paths };
}

// The noise curves with any noise in them: a passive network's op-amps have none.
const noiseSources = (curves) => Object.entries(curves.noise ?? {}).filter(([, d]) => d.some((v) => v > 0));

// The noise view: the output's noise density by source on a log axis of
// NOISE_DECADES decades under the highest power of ten over the total;
// each path named "noise-" and its source.
export function noiseView(curves, area) {
  const bottom = area.top + area.height;
  const lines = gridLines();
  lines.add(area.left, area.top, area.left, bottom, 'decade');
  let grid = frequencyGrid(lines, curves.hertz, area);
  const paths = {};
  if (!curves.noise) return { grid: lines.markup() + grid, paths };
  const top = Math.ceil(Math.log10(Math.max(...curves.noise.total)));
  const yAt = (density) => area.top + (area.height * (top - Math.max(Math.log10(density), top - NOISE_DECADES - 0.05)))
    / NOISE_DECADES;
  for (let power = top; power >= top - NOISE_DECADES; --power) {
    lines.add(area.left, yAt(10 ** power), area.left + area.width, yAt(10 ** power), power === top ? 'decade' : 'minor');
    grid += text(area.left - 4, yAt(10 ** power) + 4, 'end', format(10 ** power, 'volt', 1, true));
  }
  grid += text(area.left - 4, area.top + 18, 'end', '/√Hz');
  for (const [name, densities] of noiseSources(curves)) {
    paths[`noise-${name}`] = 'M' + Array.from(densities, (d, i) =>
      `${xAt(area, i, densities.length).toFixed(1)},${yAt(d).toFixed(1)}`).join('L');
  }
  return { grid: lines.markup() + grid, paths };
}

const noiseReadings = (curves, i) => noiseSources(curves)
  .map(([name, d]) => `${NOISE_WORDS[name]} ${format(d[i], 'volt-per-root-hertz', 3, false)}`).join(', ');

// What the read-out says at point `index` of the view.
export function readoutText(view, curves, names, index) {
  if (view === 'noise') {
    return `At ${format(curves.hertz[index], 'hertz', 4, false)}: ${noiseReadings(curves, index) || 'no noise figures'}.`;
  }
  const series = view === 'level' ? curves : inTime(view) ? curves.time : curves[view];
  const value = view === 'level' ? (db) => format(db, 'dB', 1, false) : (v) => viewValue(view, v, 1);
  const at = inTime(view) ? secondsText(curves.time.seconds[index], 4) : format(curves.hertz[index], 'hertz', 4, false);
  const readings = drawnCurves(curves, names).map((name) => `${CURVE_WORDS[name]} ${value(series[name][index])}`);
  const measured = view === 'level' ? curves.sweep?.level : view === 'phase' ? curves.sweep?.degrees : null;
  const point = measured ? sweepPointAt(curves.sweep, curves.hertz[index]) : -1;
  if (point >= 0) {
    readings.push(`measured sweep ${value(measured[point])} at ${format(curves.sweep.hertz[point], 'hertz', 4, false)}`);
  }
  return `At ${at}: ${readings.join(', ')}.`;
}

// Where a key moves the read-out from point `cursor` (-1: none yet) of
// `last + 1`, or null for a key that does not: the first key on a curve
// not yet pointed at reads Fo itself (or t = 0).
export function keyedPoint(view, key, shift, cursor, last) {
  const moves = { ArrowLeft: -1, ArrowRight: 1, ArrowDown: -1, ArrowUp: 1, PageDown: -40, PageUp: 40 };
  let index;
  if (key in moves) index = cursor < 0 ? (inTime(view) ? 0 : last / 2) : cursor + moves[key] * (shift ? 10 : 1);
  else if (key === 'Home') index = 0;
  else if (key === 'End') index = last;
  else return null;
  return Math.min(last, Math.max(0, index));
}

// The view shown in words, for those who do not see the plot; `state`
// for its settling times.
export function viewWords(view, state) {
  if (view === 'level') return '';
  const { curves } = state;
  if (view === 'noise') {
    return curves.noise
      ? 'The output noise density of the nearest build with no signal, total and by source, from Fo/100 to 100 Fo' +
        ` on logarithmic axes. At Fo: ${noiseReadings(curves, (curves.hertz.length - 1) / 2)}.`
      : 'No noise figures: the nearest build is out of range.';
  }
  const drawn = drawnCurves(curves, state.tables.curves);
  const figure = (name, unit, digits) => (!state.sections.has(`${name}s`) ? 'not at all within 10⁴ cycles of Fo'
    : `after ${format(state.figures.get(name), unit, digits, false)}`);
  if (inTime(view)) {
    const { seconds } = curves.time;
    const what = view === 'step' ? 'a unit step' : 'a sine of amplitude 1 at Fo switched on';
    const settle = view === 'step' ? 'step-settle' : 'burst-settle';
    const build = curves.build ? `, the nearest build ${figure(`build-${settle}`, 'second', 3)}` : '';
    return `The output after ${what} at t = 0, from 0 to ${format(seconds[seconds.length - 1], 'second', 3, false)}` +
      ` on a linear axis: the ideal network's transient stays within 1 % ${figure(settle, 'second', 3)}${build}.` +
      ` Point at the plot, or use the arrow keys on it, to read each curve in time.`;
  }
  const extreme = (name) => {
    const values = curves[view][name];
    return viewValue(view, view === 'phase' ? values[(values.length - 1) / 2] : Math.max(...values), 1);
  };
  const words = drawn.map((name) => `${CURVE_WORDS[name]} ${extreme(name)}`).join(', ');
  return view === 'phase'
    ? `The phase of Vout/Vs from Fo/100 to 100 Fo on a logarithmic axis, from ${MINUS}180° to 180°; it turns through` +
      ` 180° at once at a null. At Fo: ${words}.`
    : `The group delay of Vout/Vs, how long a signal's envelope at each frequency takes through the filter, from` +
      ` Fo/100 to 100 Fo on a logarithmic axis; it is longest beside the notch, at most: ${words}.`;
}
