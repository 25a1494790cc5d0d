// The response plot on the page: writes what plot-model.js works out into
// the SVG and the words beside it, and reads at the pointer or the keys.
// Made for the elements handed in; only what changed is written again, and
// a view of a design already worked out at this size is not worked out
// again (a state's `generation` tells its design from another).
import {
  HEADINGS, bandPath, curvePoints, keyedPoint, levelGrid, levelMarks, levelPath, levelScale, levelY, notchesText,
  noiseView, otherView, plotSize, pointsOf, readoutText, sweepPath, viewWords, xAt,
} from './plot-model.js';

const SVG = 'http://www.w3.org/2000/svg';

const setText = (element, text) => {
  if (element.textContent !== text) element.textContent = text;
};

// Markup shown in `container`, each kept as a group of its own once made:
// showing one seen before (as switching views back and forth does) costs
// the page no parsing and almost no laying out, only the groups'
// visibility. The `kept` most recently shown are kept.
function groupShower(container, kept = 2) {
  const groups = new Map(); // markup -> its group, the most recently shown last
  let shown = null;
  return (markup) => {
    let group = groups.get(markup);
    if (group !== undefined && group === shown) return;
    if (group !== undefined) {
      groups.delete(markup);
    } else {
      group = container.ownerDocument.createElementNS(SVG, 'g');
      group.innerHTML = markup;
      container.append(group);
      if (groups.size >= kept) {
        const [oldest, old] = groups.entries().next().value;
        old.remove();
        groups.delete(oldest);
      }
    }
    groups.set(markup, group);
    shown?.setAttribute('visibility', 'hidden');
    group.setAttribute('visibility', 'visible');
    shown = group;
  };
}

// `elements`: { plot (the svg), readout, heading, levelText, viewText,
// clippedText }. Returns { draw(state), fit(limit) }.
export function createPlot({ plot, readout, heading, levelText, viewText, clippedText }) {
  let state = null; // drawn last; null before any
  let view = 'level';
  let cursor = -1;
  // The plot's width on the page, as the browser last laid it out: asking
  // for it while drawing would lay the page out once more.
  let plotWidth = 400;
  let heightLimit = Infinity;
  let size = plotSize(plotWidth, heightLimit);
  const showGrid = groupShower(plot.querySelector('.grid'));
  const showMarks = groupShower(plot.querySelector('.marks'));
  // Each view as last worked out (for a design, its `generation`, at a
  // size), and each path's d as on the page.
  const views = new Map();
  const drawnPaths = new Map();
  const curves = () => state.curves;
  const names = () => state.tables.curves;

  // Only a new size is written: any change to the SVG's frame has the
  // browser lay out all its lettering again.
  let sized = '';
  function sizePlot() {
    const { width, height, area } = (size = plotSize(plotWidth, heightLimit));
    if (sized === `${width} ${height}`) return;
    sized = `${width} ${height}`;
    plot.setAttribute('viewBox', `0 0 ${width} ${height}`);
    const clip = plot.querySelector('clipPath rect');
    clip.setAttribute('width', area.width);
    clip.setAttribute('height', area.height + area.top);
    plot.querySelector('.cursor').setAttribute('y2', area.top + area.height);
  }

  function showReadout(index) {
    const line = plot.querySelector('.cursor');
    cursor = index;
    if (index < 0 || state === null) {
      line.setAttribute('visibility', 'hidden');
      return;
    }
    const x = xAt(size.area, index, pointsOf(curves(), view).length).toFixed(1);
    line.setAttribute('x1', x);
    line.setAttribute('x2', x);
    line.setAttribute('visibility', 'visible');
    readout.textContent = readoutText(view, curves(), names(), index);
  }

  // The view chosen, worked out: grid, marks, every path (the band's
  // too) and the notches in words.
  function workOut() {
    const { area } = size;
    if (view === 'noise') return { ...noiseView(curves(), area), marks: '', clipped: '' };
    if (view !== 'level') return { ...otherView(view, curves(), names(), area), marks: '', clipped: '' };
    const scale = levelScale(curves(), names());
    const { hertz, band } = curves();
    const xs = Array.from(hertz, (f, i) => xAt(area, i, hertz.length).toFixed(1));
    const paths = {};
    for (const name of names()) {
      if (curves()[name]) paths[name] = levelPath(scale, area, curvePoints(curves(), name, area, xs));
    }
    if (band) paths.band = bandPath(scale, area, band, xs);
    paths.sweep = sweepPath(curves(), curves().sweep?.level, area, (db) => levelY(scale, area, db));
    return { grid: levelGrid(scale, hertz, area), marks: levelMarks(scale, curves(), names(), area), paths,
      clipped: notchesText(curves(), names()) };
  }

  function drawCurves() {
    sizePlot();
    setText(heading, HEADINGS[view]);
    levelText.hidden = view !== 'level';
    viewText.hidden = view === 'level';
    const key = `${state.generation} ${size.width} ${size.height}`;
    let drawn = views.get(view);
    if (state.generation === undefined || drawn?.key !== key) {
      drawn = { key, words: viewWords(view, state), ...workOut() };
      views.set(view, drawn);
    }
    setText(viewText, drawn.words);
    showGrid(drawn.grid);
    showMarks(drawn.marks);
    for (const name of [...names(), 'band', 'sweep', ...state.tables.noiseCurves.map((n) => `noise-${n}`)]) {
      const d = drawn.paths[name] ?? '';
      if (drawnPaths.get(name) === d) continue;
      plot.querySelector(`path.${name}`).setAttribute('d', d);
      drawnPaths.set(name, d);
    }
    setText(clippedText, drawn.clipped);
    showReadout(cursor < pointsOf(curves(), view).length ? cursor : -1);
  }

  function pointAt(event) {
    if (state === null) return;
    const box = plot.getBoundingClientRect();
    const x = ((event.clientX - box.left) / box.width) * plot.viewBox.baseVal.width;
    const last = pointsOf(curves(), view).length - 1;
    showReadout(Math.min(last, Math.max(0, Math.round(((x - size.area.left) / size.area.width) * last))));
  }
  new ResizeObserver(([entry]) => {
    plotWidth = Math.round(entry.borderBoxSize[0].inlineSize);
    if (state !== null && Math.max(400, plotWidth) !== size.width) drawCurves();
    // Once the page lays the plot out at its new size (a ResizeObserver
    // runs before the next frame is painted, so nothing flickers).
    plot.dispatchEvent(new Event('plot-resized'));
  }).observe(plot);
  plot.addEventListener('pointermove', pointAt);
  plot.addEventListener('pointerdown', pointAt);
  plot.addEventListener('keydown', (event) => {
    if (state === null) return;
    const index = keyedPoint(view, event.key, event.shiftKey, cursor, pointsOf(curves(), view).length - 1);
    if (index === null) return;
    event.preventDefault();
    showReadout(index);
  });

  return {
    // The state's curves in the view it chose.
    draw(shown) {
      const chosen = shown.lists.find((list) => list.name === 'plot-view').value;
      // Another view reads from its start again.
      if (chosen !== view) cursor = -1;
      view = chosen;
      plot.parentElement.classList.toggle('other-view', view !== 'level');
      plot.parentElement.classList.toggle('phase-view', view === 'phase');
      plot.parentElement.classList.toggle('noise-view', view === 'noise');
      state = shown;
      drawCurves();
    },
    // At most this many pixels high (but never below 200), so that the
    // curve and the dialog above it fit a window; Infinity for no limit.
    fit(limit) {
      if (limit === heightLimit) return;
      heightLimit = limit;
      if (state !== null) drawCurves();
    },
  };
}
