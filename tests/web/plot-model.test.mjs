// The response plot's model under node: scales, ticks, the notch among a
// curve's points, the marks and words of a notch below the floor, the
// frequency labels, the read-out and its keys, the other views' axes.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import {
  curvePoints, frequencyGrid, keyedPoint, levelMarks, levelScale, levelY, noiseView, notchesText, otherView, plotSize,
  readoutText,
  sweepPath, ticks,
} from '../../web/page/design/plot-model.js';
import { designFor } from './module-state.mjs';

const NAMES = ['ideal', 'build', 'measured', 'opamp'];
const plain = (text) => text.replace(/\u00a0/g, ' ').replace(/\u2212/g, '-');
const { area } = plotSize(400, Infinity);

// Three points a decade apart, Fo in the middle; curves as given, every
// other one not drawn.
function curvesOf(levels, notches = {}) {
  const curves = { hertz: [10, 100, 1000], band: null, notches: {} };
  for (const name of NAMES) {
    curves[name] = levels[name] ?? null;
    curves.notches[name] = notches[name] ?? { hertz: 0, db: 0 };
  }
  return curves;
}

test('ticks: five to ten steps of 1, 2 or 5 times a power of ten', () => {
  for (const [low, high, expected] of [
    [0, 1, { low: 0, high: 1, step: 0.2 }],
    [-180, 180, { low: -200, high: 200, step: 50 }],
    [0, 0.0037, { low: 0, high: 0.004, step: 0.0005 }],
    [0, 0, { low: 0, high: 0.2, step: 0.2 }], // a flat curve still gets an axis
  ]) {
    assert.deepEqual(ticks(low, high), expected, `${low} to ${high}`);
  }
});

test('level scale: 80 dB under a top line over the highest point; a sunk curve still shown', () => {
  for (const [what, levels, expected] of [
    ['a passive notch', { ideal: [-3, -300, -3] }, { top: 0, floor: -80, step: 10, span: 80 }],
    ['a peak of 1.5 dB', { ideal: [1.5, -60, 0] }, { top: 10, floor: -70, step: 10, span: 80 }],
    // Op-amps that pass nothing at Fo: their whole curve near -120 dB.
    ['a sunk curve', { ideal: [-1, -200, -1], opamp: [-121, -300, -120] }, { top: 0, floor: -180, step: 20, span: 180 }],
  ]) {
    assert.deepEqual(levelScale(curvesOf(levels), NAMES), expected, what);
  }
});

test('a measured point far outside the plot is drawn at its edge, as a curve is', () => {
  const scale = { top: 0, floor: -80, step: 10, span: 80 };
  const curves = { hertz: [10, 100, 1000], sweep: { hertz: [20, 50, 500], level: [1e308, -1e308, -40] } };
  const d = sweepPath(curves, curves.sweep.level, area, (db) => levelY(scale, area, db));
  const ys = Array.from(d.matchAll(/M[\d.]+,([-\d.]+)h0/g), ([, y]) => Number(y));
  assert.equal(ys.length, 3, d);
  const [high, low] = [levelY(scale, area, scale.top + 5), levelY(scale, area, scale.floor - 5)];
  for (const y of ys) assert.ok(y >= high - 0.1 && y <= low + 0.1, d);
});

test('notch: among its curve\'s points where it lies on the plot; marked and said where below the floor', () => {
  const curves = curvesOf({ ideal: [-3, -20, -3], build: [-3, -10, -3] },
    { ideal: { hertz: 100, db: -300 }, build: { hertz: 300, db: -50 } });
  const xs = ['44.0', '218.0', '392.0'];
  const build = curvePoints(curves, 'build', area, xs);
  assert.deepEqual(build.levels, [-3, -10, -50, -3]);
  assert.ok(Number(build.xs[2]) > 218 && Number(build.xs[2]) < 392, build.xs[2]);
  const scale = levelScale(curves, NAMES);
  const marks = levelMarks(scale, curves, NAMES, area);
  assert.equal((marks.match(/class="clipped /g) ?? []).length, 1);
  assert.match(marks, /class="clipped ideal"/);
  assert.equal(plain(notchesText(curves, NAMES)), ' In the plot, the ideal network notches at 100.00 Hz, a null; the nearest' +
    ' build notches at 300.00 Hz, 50.0 dB deep; a notch deeper than the floor is cut there and marked ▼.');
});

test('frequency labels: each decade labelled, the one at the right edge moved in to be read whole', () => {
  const wide = plotSize(1200, Infinity).area;
  for (const plotArea of [area, wide]) {
    const lines = { add() {} };
    const labels = [...frequencyGrid(lines, [0.5, 50, 5000], plotArea).matchAll(/<text x="([\d.]+)"[^>]*>([^<]+)<\/text>/g)];
    const decades = labels.filter(([, , label]) => /Hz$/.test(label)).map(([, x, label]) => [Number(x), plain(label)]);
    assert.deepEqual(decades.map(([, label]) => label), ['1 Hz', '10 Hz', '100 Hz', '1 kHz']);
    for (const [x, label] of decades) assert.ok(x + 3.5 * label.length <= plotArea.left + plotArea.width + 6.01, label);
  }
});

test('read-out: every curve drawn at the point; keys move it, the first one to Fo', () => {
  const curves = curvesOf({ ideal: [-3.01, -40, -3.02], opamp: [-3.2, -20.04, -3] });
  assert.equal(plain(readoutText('level', curves, NAMES, 1)),
    'At 100.0 Hz: ideal network -40.0 dB, ideal parts with your op-amps -20.0 dB.');
  for (const [view, key, shift, cursor, expected] of [
    ['level', 'ArrowRight', false, -1, 200],
    ['step', 'ArrowRight', false, -1, 0],
    ['level', 'ArrowLeft', true, 100, 90],
    ['level', 'PageUp', false, 390, 400],
    ['level', 'Home', false, 200, 0],
    ['level', 'End', false, 3, 400],
    ['level', 'a', false, 3, null],
  ]) {
    assert.equal(keyedPoint(view, key, shift, cursor, 400), expected, `${view} ${key}`);
  }
});

test('other views: each curve drawn on its own axes, phase over ±180°, time from the step', () => {
  const { state } = designFor(undefined, { 'plot-view': 'step' });
  const { curves } = state;
  const bottom = area.top + area.height;
  for (const view of ['phase', 'delay', 'step']) {
    const { grid, paths } = otherView(view, curves, NAMES, area);
    assert.deepEqual(Object.keys(paths), ['ideal', 'build'], view);
    for (const d of Object.values(paths)) {
      const ys = [...d.matchAll(/,([-\d.]+)/g)].map(([, y]) => Number(y));
      assert.equal(ys.length, view === 'step' ? curves.time.seconds.length : curves.hertz.length, view);
      // Beyond the axis by at most a step, where the curve is cut.
      assert.ok(ys.every((y) => y >= 0 && y <= bottom + area.height), view);
    }
    if (view === 'phase') assert.match(plain(grid), />-180°</);
    if (view === 'step') assert.match(grid, /time after the step/);
  }
});

test('noise view: three decades of density on a log axis, a source of none left out, read out by source', () => {
  const curves = { ...curvesOf({ ideal: [0, -40, 0] }), noise: { total: [2e-8, 3e-7, 1e-8], resistors: [2e-8, 2e-7, 1e-8],
    'opamp-voltage': [0, 0, 0], 'opamp-current': [1e-12, 2e-7, 1e-13] } };
  const { grid, paths } = noiseView(curves, area);
  // From 1 µV (the power of ten over the total) down to 1 nV.
  assert.deepEqual(Array.from(plain(grid).matchAll(/>(\d+ [nµ]V)</g), ([, label]) => label), ['1 µV', '100 nV', '10 nV', '1 nV']);
  assert.deepEqual(Object.keys(paths), ['noise-total', 'noise-resistors', 'noise-opamp-current']);
  // A density far below the axis lies at its bottom, not beyond.
  const lowest = Math.max(...paths['noise-opamp-current'].slice(1).split('L').map((point) => Number(point.split(',')[1])));
  assert.ok(lowest <= area.top + area.height * 1.02, `${lowest}`);
  assert.equal(plain(readoutText('noise', curves, NAMES, 1)),
    "At 100.0 Hz: total noise 300 nV/√Hz, resistors 200 nV/√Hz, op-amps' current noise 200 nV/√Hz.");
  assert.deepEqual(noiseView({ ...curves, noise: null }, area).paths, {});
});
