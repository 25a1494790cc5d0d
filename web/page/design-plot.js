// --- The response plot: 400 points evenly on a log scale, in dB.
const plot = document.getElementById('plot');
const readout = document.getElementById('readout');
const AREA = { left: 44, top: 8, width: 348, height: 202 };
const SPAN_DB = 80;
const CURVES = ['ideal', 'build', 'measured'];
let curves = null; // { hertz, ideal, build, measured } of the last figures; a curve not worked out is null
let cursor = -1;

const svgLine = (x1, y1, x2, y2, kind) =>
  `<line x1="${x1.toFixed(1)}" y1="${y1.toFixed(1)}" x2="${x2.toFixed(1)}" y2="${y2.toFixed(1)}" class="${kind}"/>`;
const svgText = (x, y, anchor, text) => `<text x="${x.toFixed(1)}" y="${y}" text-anchor="${anchor}">${text}</text>`;
const xAt = (index) => AREA.left + (AREA.width * index) / (curves.hertz.length - 1);

// The curves of the last update: the frequencies, the ideal network's,
// and the nearest build's and the measured build's where there are such.
function readCurves() {
  const points = core.nw_design_curve_points();
  const curve = (which) => new Float64Array(core.memory.buffer, core.nw_design_curve(which), points).slice();
  curves = {
    hertz: curve(0),
    ideal: curve(1),
    build: latest.has('build-r') ? curve(2) : null,
    measured: latest.has('measured-reject') ? curve(3) : null,
  };
}

function drawPlot() {
  readCurves();
  const { hertz } = curves;
  let highest = -Infinity;
  for (const name of CURVES) if (curves[name]) for (const level of curves[name]) highest = Math.max(highest, level);
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
  for (const name of CURVES) plot.querySelector(`path.${name}`).setAttribute('d', curves[name] ? path(curves[name]) : '');
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
  const measured = curves.measured ? `, measured parts ${level(curves.measured[index])}` : '';
  readout.textContent = `At ${format(curves.hertz[index], 'hertz', 4, false)}: ideal network ${level(curves.ideal[index])}${build}${measured}.`;
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
