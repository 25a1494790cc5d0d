// The response plot: 401 points evenly on a log scale, in dB, each curve
// with its own notch among them, over the band where 90 % of the random
// builds lie; or in another view, the phase or group delay at the same
// points, or the output in time after a step or a sine at Fo switched on.
// Drawn from a state's curves; the reading at the pointer or the keys is
// the plot's own.
import { MINUS, SPACE, format } from './format.js';
import { setText } from './render.js';

const plot = document.getElementById('plot');
const readout = document.getElementById('readout');
// In the plot's own pixels (at least 400 wide, scaled down below that),
// so that its lettering keeps its size on a wide screen.
const AREA = { left: 44, top: 8, width: 348, height: 202 };
const SPAN_DB = 80;
const LOWEST_SHOWN = 60;
let curveNames = []; // the design code's curves, in their order
const NOTCHING = { ideal: 'the ideal network notches', build: 'the nearest build notches', measured: 'your measured parts notch',
  opamp: 'the ideal parts with your op-amps notch' };
let curves = null; // { hertz, ideal, build, measured, opamp, band, notches, phase, delay, time } drawn last; null before any
let view = 'level';
let report = null; // the figures and sections of the state drawn last
let cursor = -1;
const heading = document.getElementById('response-heading');
const levelText = document.getElementById('level-text');
const viewText = document.getElementById('view-text');
const HEADINGS = { level: 'Response, |Vout/Vs|', phase: 'Phase of Vout/Vs', delay: 'Group delay of Vout/Vs',
  step: 'Output after a unit step', burst: 'Output after a sine at Fo is switched on' };
const CURVE_WORDS = { ideal: 'ideal network', build: 'nearest build', measured: 'measured parts',
  opamp: 'ideal parts with your op-amps' };
const inTime = () => view === 'step' || view === 'burst';
// The points along the x axis of the view: frequencies, or times.
const points = () => (inTime() ? curves.time.seconds : curves.hertz);

const svgLine = (x1, y1, x2, y2, kind) =>
  `<line x1="${x1.toFixed(1)}" y1="${y1.toFixed(1)}" x2="${x2.toFixed(1)}" y2="${y2.toFixed(1)}" class="${kind}"/>`;
const svgText = (x, y, anchor, text) => `<text x="${x.toFixed(1)}" y="${y}" text-anchor="${anchor}">${text}</text>`;
const xAt = (index) => AREA.left + (AREA.width * index) / (points().length - 1);
// A frequency's place, on the same log scale as the points.
const xOf = (hertz) => {
  const low = Math.log10(curves.hertz[0]);
  return AREA.left + (AREA.width * (Math.log10(hertz) - low)) / (Math.log10(curves.hertz[curves.hertz.length - 1]) - low);
};

// The points' places as the paths write them, the same for every curve
// until the plot's width changes.
let xTexts = [];
let xTextsWidth = -1;
function pointTexts() {
  if (xTextsWidth !== AREA.width || xTexts.length !== curves.hertz.length) {
    xTexts = Array.from(curves.hertz, (hertz, i) => xAt(i).toFixed(1));
    xTextsWidth = AREA.width;
  }
  return xTexts;
}

// A curve's points (their places as text, and their levels), its own
// notch among them where it lies on the plot.
function curvePoints(name) {
  const { hertz } = curves;
  const xs = pointTexts().slice();
  const levels = Array.from(curves[name]);
  const notch = curves.notches[name];
  if (notch.hertz >= hertz[0] && notch.hertz <= hertz[hertz.length - 1]) {
    const at = hertz.findIndex((f) => f > notch.hertz);
    xs.splice(at < 0 ? xs.length : at, 0, xOf(notch.hertz).toFixed(1));
    levels.splice(at < 0 ? levels.length : at, 0, notch.db);
  }
  return { xs, levels };
}

// The plot's width on the page, as the browser last laid it out: asking
// for it while drawing would lay the page out once more.
let plotWidth = 400;
let heightLimit = Infinity;
let drawnGrid = '';
let drawnMarks = '';
let drawnFrame = '';
const drawnPaths = {}; // name -> { levels, notch } as last drawn

// Whether two curves' levels are the same, point for point (or both none).
function sameLevels(a, b) {
  if (a === null || b === null) return a === b;
  if (a.length !== b.length) return false;
  for (let i = 0; i < a.length; ++i) if (!Object.is(a[i], b[i])) return false;
  return true;
}

// Fits the plot to its width on the page, and to the height it may take.
function sizePlot() {
  const width = Math.max(400, plotWidth);
  const height = Math.round(Math.min(250 + (width - 400) / 4, Math.max(200, heightLimit)));
  AREA.width = width - 52;
  AREA.height = height - 48;
  plot.setAttribute('viewBox', `0 0 ${width} ${height}`);
  const area = plot.querySelector('clipPath rect');
  area.setAttribute('width', AREA.width);
  area.setAttribute('height', AREA.height + AREA.top);
  plot.querySelector('.cursor').setAttribute('y2', AREA.top + AREA.height);
}

// At most this many pixels high (but never below 200), so that the curve
// and the dialog above it fit a window; Infinity for no limit.
export function fitPlot(limit) {
  if (limit === heightLimit) return;
  heightLimit = limit;
  if (curves !== null) drawCurves();
}

export function drawPlot(state) {
  curves = state.curves;
  curveNames = state.tables.curves;
  const shown = state.lists.find((list) => list.name === 'plot-view').value;
  // Another view reads from its start again.
  if (shown !== view) cursor = -1;
  view = shown;
  plot.parentElement.classList.toggle('other-view', view !== 'level');
  report = state;
  drawCurves();
}

// Gridlines at 1, 2 ... 9 times each power of ten in reach, labelled at
// the powers; the notch's Fo in the middle, dashed.
function frequencyGrid(bottom) {
  const { hertz } = curves;
  let grid = '';
  const low = Math.log10(hertz[0]);
  const decades = Math.log10(hertz[hertz.length - 1]) - low;
  for (let power = Math.floor(low); power <= low + decades; ++power) {
    for (let step = 1; step < 10; ++step) {
      const x = AREA.left + (AREA.width * (power + Math.log10(step) - low)) / decades;
      if (x < AREA.left - 0.01 || x > AREA.left + AREA.width + 0.01) continue;
      grid += svgLine(x, AREA.top, x, bottom, step === 1 ? 'decade' : '');
      if (step === 1) {
        // A label at the right edge is moved in far enough to be read whole.
        const label = format(10 ** power, 'hertz', 1, true).replace(/^1\u00a0× /, '');
        grid += svgText(Math.min(x, AREA.left + AREA.width + 6 - 3.5 * label.length), bottom + 15, 'middle', label);
      }
    }
  }
  const middle = xAt((hertz.length - 1) / 2);
  grid += svgLine(middle, AREA.top, middle, bottom, 'fo');
  return grid + svgText(AREA.left + AREA.width / 2, bottom + 34, 'middle', 'frequency, logarithmic');
}

// Steps of 1, 2 or 5 times a power of ten, some five to ten of them
// from low to high.
function ticks(low, high) {
  const span = high - low || Math.abs(high) || 1;
  const power = 10 ** Math.floor(Math.log10(span / 5));
  const step = [1, 2, 5, 10].map((m) => m * power).find((s) => span / s <= 8);
  return { low: Math.floor(low / step) * step, high: Math.ceil(high / step) * step || step, step };
}

// A value of the view as its axis and read-out write it.
const signed = (value, digits) => {
  const text = Math.abs(value).toFixed(digits);
  return Number(text) === 0 ? text : `${value < 0 ? MINUS : ''}${text}`;
};
const secondsText = (value, digits) => (value === 0 ? `0${SPACE}s` : format(value, 'second', digits, true));
function viewValue(value, digits) {
  if (view === 'phase') return `${signed(value, digits)}°`;
  if (view === 'delay') return secondsText(value, digits + 2);
  return signed(value, digits + 2);
}

// The phase, delay and time views: their own axes, no band.
function drawView() {
  const bottom = AREA.top + AREA.height;
  const drawn = curveNames.filter((name) => curves[name]);
  const series = inTime() ? curves.time : curves[view];
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
  const yAt = (value) => AREA.top + (AREA.height * (range.high - Math.min(range.high + range.step, Math.max(value,
    range.low - range.step)))) / (range.high - range.low);
  let grid = svgLine(AREA.left, AREA.top, AREA.left, bottom, 'decade');
  for (let value = range.high; value >= range.low - range.step / 2; value -= range.step) {
    grid += svgLine(AREA.left, yAt(value), AREA.left + AREA.width, yAt(value), Math.abs(value) < range.step / 2 ? 'decade' : '');
    grid += svgText(AREA.left - 4, yAt(value) + 4, 'end', viewValue(Math.abs(value) < range.step / 2 ? 0 : value, 0));
  }
  if (inTime()) {
    const { seconds } = curves.time;
    const last = seconds[seconds.length - 1];
    const time = ticks(0, last);
    for (let t = 0; t <= last * 1.0001; t += time.step) {
      const x = AREA.left + (AREA.width * t) / last;
      grid += svgLine(x, AREA.top, x, bottom, t === 0 ? 'decade' : '') + svgText(x, bottom + 15, 'middle',
        secondsText(t, 3));
    }
    grid += svgText(AREA.left + AREA.width / 2, bottom + 34, 'middle', view === 'step' ? 'time after the step'
      : 'time after switching on');
  } else {
    grid += frequencyGrid(bottom);
  }
  plot.querySelector('.grid').innerHTML = grid;
  plot.querySelector('.marks').innerHTML = '';
  drawnGrid = drawnMarks = drawnFrame = '';
  for (const name of [...curveNames, 'band']) {
    delete drawnPaths[name];
    let d = '';
    if (name !== 'band' && curves[name]) {
      const xs = inTime() ? Array.from(series[name], (v, i) => xAt(i).toFixed(1)) : pointTexts();
      d = 'M' + xs.map((x, i) => `${x},${yAt(series[name][i]).toFixed(1)}`).join('L');
    }
    plot.querySelector(`path.${name}`).setAttribute('d', d);
  }
  setText(document.getElementById('clipped-text'), '');
  showReadout(cursor < points().length ? cursor : -1);
}

function drawCurves() {
  sizePlot();
  heading.textContent = HEADINGS[view];
  levelText.hidden = view !== 'level';
  viewText.hidden = view === 'level';
  viewText.textContent = viewWords();
  if (view !== 'level') return drawView();
  const { hertz, band } = curves;
  let highest = -Infinity;
  for (const name of curveNames) if (curves[name]) for (const level of curves[name]) highest = Math.max(highest, level);
  if (band) for (const level of band.high) highest = Math.max(highest, level);
  // A rise of a dB or so over the top line (a sharp network beside a
  // source) shows in the margin above it.
  const top = Math.max(0, Math.ceil((highest - 1) / 10) * 10);
  // Every curve drawn shows: the floor lies at least LOWEST_SHOWN below
  // the highest point of the lowest curve (op-amps that pass little at Fo
  // sink a whole curve), the lines then 20 dB apart where 80 dB is far
  // too little.
  let lowestTop = Infinity;
  for (const name of curveNames) if (curves[name]) lowestTop = Math.min(lowestTop, Math.max(...curves[name]));
  const wanted = Math.max(SPAN_DB, top - (lowestTop - LOWEST_SHOWN));
  const step = wanted > SPAN_DB ? 20 : 10;
  const span = Math.ceil(wanted / step) * step;
  const floor = top - span;
  const yAt = (db) => AREA.top + (AREA.height * (top - Math.max(db, floor - 5))) / span;
  const path = ({ xs, levels }) => {
    let d = 'M';
    for (let i = 0; i < xs.length; ++i) d += `${i ? 'L' : ''}${xs[i]},${yAt(levels[i]).toFixed(1)}`;
    return d;
  };
  const bottom = AREA.top + AREA.height;
  // What every path's points depend on besides their levels: the same as
  // last time, and a path whose levels are the same is left as it is.
  const frame = `${top} ${floor} ${AREA.width} ${AREA.height} ${hertz[0]} ${hertz[hertz.length - 1]}`;
  const sameFrame = frame === drawnFrame;
  drawnFrame = frame;
  const setPath = (name, levels, notch, d) => {
    const last = drawnPaths[name];
    if (sameFrame && last && sameLevels(last.levels, levels) && last.notch === notch) return;
    drawnPaths[name] = { levels, notch };
    plot.querySelector(`path.${name}`).setAttribute('d', d());
  };
  const middle = xAt((hertz.length - 1) / 2);
  if (!sameFrame) {
    let grid = svgLine(AREA.left, AREA.top, AREA.left, bottom, 'decade');
    for (let db = top; db >= floor; db -= step) {
      grid += svgLine(AREA.left, yAt(db), AREA.left + AREA.width, yAt(db), db === top ? 'decade' : '');
      grid += svgText(AREA.left - 4, yAt(db) + 4, 'end', db === top ? `${db}${SPACE}dB` : `${db < 0 ? MINUS : ''}${Math.abs(db)}`);
    }
    grid += frequencyGrid(bottom);
    // The same grid as last time is left as it is.
    if (grid !== drawnGrid) plot.querySelector('.grid').innerHTML = drawnGrid = grid;
  }
  // Over the curves, with its halo, so a sharp notch does not hide it; a
  // notch deeper than the plot's floor is cut there and marked.
  let marks = svgText(middle + 3, AREA.top + 12, 'start', 'Fo');
  for (const name of curveNames) {
    const notch = curves.notches[name];
    setPath(name, curves[name], `${notch.hertz} ${notch.db}`, () => (curves[name] ? path(curvePoints(name)) : ''));
    if (curves[name] && notch.hertz > 0 && notch.db < floor) {
      const x = xOf(notch.hertz).toFixed(1);
      marks += `<path class="clipped ${name}" d="M${x},${bottom - 1}l-4,-7h8Z"><title>${notchWords(name)}</title></path>`;
    }
  }
  if (marks !== drawnMarks) plot.querySelector('.marks').innerHTML = drawnMarks = marks;
  const notched = curveNames.filter((name) => curves[name] && curves.notches[name].hertz > 0);
  const clipped = document.getElementById('clipped-text');
  const words = notched.length
    ? ` In the plot, ${notched.map(notchWords).join('; ')}; a notch deeper than the floor is cut there and marked ▼.`
    : '';
  if (clipped.textContent !== words) clipped.textContent = words;
  // The band: along its high edge, and back along its low edge.
  const bandLevels = band ? [...band.high, ...Array.from(band.low).reverse()] : null;
  setPath('band', bandLevels, '', () => {
    if (!band) return '';
    const xs = pointTexts().filter((x, i) => i % 2 === 0);
    return `${path({ xs: [...xs, ...xs.slice().reverse()], levels: bandLevels })}Z`;
  });
  showReadout(cursor);
}

// A curve's notch in words: where it lies, and how deep below the source's voltage.
function notchWords(name) {
  const { hertz, db } = curves.notches[name];
  const depth = db < -200 ? 'a null' : `${format(-db, 'dB', 1, false)} deep`;
  return `${NOTCHING[name]} at ${format(hertz, 'hertz', 5, false)}, ${depth}`;
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
  const series = view === 'level' ? curves : inTime() ? curves.time : curves[view];
  const value = view === 'level' ? level : (v) => viewValue(v, 1);
  const at = inTime() ? secondsText(points()[index], 4) : format(curves.hertz[index], 'hertz', 4, false);
  const readings = curveNames.filter((name) => curves[name]).map((name) => `${CURVE_WORDS[name]} ${value(series[name][index])}`);
  readout.textContent = `At ${at}: ${readings.join(', ')}.`;
}

// The view shown in words, for those who do not see the plot.
function viewWords() {
  if (view === 'level') return '';
  const drawn = curveNames.filter((name) => curves[name]);
  const figure = (name, unit, digits) => (!report.sections.has(`${name}s`) ? 'not at all within 10⁴ cycles of Fo'
    : `after ${format(report.figures.get(name), unit, digits, false)}`);
  if (inTime()) {
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
    return viewValue(view === 'phase' ? values[(values.length - 1) / 2] : Math.max(...values), 1);
  };
  const words = drawn.map((name) => `${CURVE_WORDS[name]} ${extreme(name)}`).join(', ');
  return view === 'phase'
    ? `The phase of Vout/Vs from Fo/100 to 100 Fo on a logarithmic axis, from ${MINUS}180° to 180°; it turns through` +
      ` 180° at once at a null. At Fo: ${words}.`
    : `The group delay of Vout/Vs, how long a signal's envelope at each frequency takes through the filter, from` +
      ` Fo/100 to 100 Fo on a logarithmic axis; it is longest beside the notch, at most: ${words}.`;
}

function pointAt(event) {
  if (curves === null) return;
  const box = plot.getBoundingClientRect();
  const x = ((event.clientX - box.left) / box.width) * plot.viewBox.baseVal.width;
  const last = points().length - 1;
  showReadout(Math.min(last, Math.max(0, Math.round(((x - AREA.left) / AREA.width) * last))));
}
new ResizeObserver(([entry]) => {
  plotWidth = Math.round(entry.borderBoxSize[0].inlineSize);
  if (curves !== null && Math.max(400, plotWidth) !== AREA.width + 52) drawCurves();
  // Once the page lays the plot out at its new size (a ResizeObserver
  // runs before the next frame is painted, so nothing flickers).
  plot.dispatchEvent(new Event('plot-resized'));
}).observe(plot);
plot.addEventListener('pointermove', pointAt);
plot.addEventListener('pointerdown', pointAt);
plot.addEventListener('keydown', (event) => {
  if (curves === null) return;
  const last = points().length - 1;
  const moves = { ArrowLeft: -1, ArrowRight: 1, ArrowDown: -1, ArrowUp: 1, PageDown: -40, PageUp: 40 };
  // The first key on a curve not yet pointed at reads Fo itself (or t = 0).
  let index = cursor;
  if (event.key in moves) index = cursor < 0 ? (inTime() ? 0 : last / 2) : cursor + moves[event.key] * (event.shiftKey ? 10 : 1);
  else if (event.key === 'Home') index = 0;
  else if (event.key === 'End') index = last;
  else return;
  event.preventDefault();
  showReadout(Math.min(last, Math.max(0, index)));
});
