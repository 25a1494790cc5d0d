// The response plot on the page: writes what plot-model.js works out into
// the SVG and the words beside it, and reads at the pointer or the keys.
// Made for the elements handed in; only what changed is written again.
import {
  HEADINGS, bandLevels, bandPath, curvePoints, keyedPoint, levelGrid, levelMarks, levelPath,
  levelScale, notchesText, otherView, plotSize, pointsOf, readoutText, viewWords, xAt,
} from './plot-model.js';

// Whether two curves' levels are the same, point for point (or both none).
function sameLevels(a, b) {
  if (a === null || b === null) return a === b;
  if (a.length !== b.length) return false;
  for (let i = 0; i < a.length; ++i) if (!Object.is(a[i], b[i])) return false;
  return true;
}

const setText = (element, text) => {
  if (element.textContent !== text) element.textContent = text;
};

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
  // What is on the page now, so that the same is not written again.
  let drawnGrid = '';
  let drawnMarks = '';
  let drawnFrame = '';
  const drawnPaths = {}; // name -> { levels, notch } as last drawn
  // The points' places as the paths write them, the same for every curve
  // until the plot's width changes.
  let xTexts = [];
  let xTextsWidth = -1;
  const path = (name) => plot.querySelector(`path.${name}`);
  const curves = () => state.curves;
  const names = () => state.tables.curves;

  function pointTexts() {
    const { hertz } = curves();
    if (xTextsWidth !== size.area.width || xTexts.length !== hertz.length) {
      xTexts = Array.from(hertz, (f, i) => xAt(size.area, i, hertz.length).toFixed(1));
      xTextsWidth = size.area.width;
    }
    return xTexts;
  }

  function sizePlot() {
    const { width, height, area } = (size = plotSize(plotWidth, heightLimit));
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

  // The phase, delay and time views: drawn whole each time.
  function drawOtherView() {
    const { grid, paths } = otherView(view, curves(), names(), size.area);
    plot.querySelector('.grid').innerHTML = grid;
    plot.querySelector('.marks').innerHTML = '';
    drawnGrid = drawnMarks = drawnFrame = '';
    for (const name of [...names(), 'band']) {
      delete drawnPaths[name];
      path(name).setAttribute('d', paths[name] ?? '');
    }
    setText(clippedText, '');
    showReadout(cursor < pointsOf(curves(), view).length ? cursor : -1);
  }

  function drawLevelView() {
    const { area } = size;
    const { hertz, band } = curves();
    const scale = levelScale(curves(), names());
    // What every path's points depend on besides their levels: the same as
    // last time, and a path whose levels are the same is left as it is.
    const frame = `${scale.top} ${scale.floor} ${area.width} ${area.height} ${hertz[0]} ${hertz[hertz.length - 1]}`;
    const sameFrame = frame === drawnFrame;
    drawnFrame = frame;
    const setPath = (name, levels, notch, d) => {
      const last = drawnPaths[name];
      if (sameFrame && last && sameLevels(last.levels, levels) && last.notch === notch) return;
      drawnPaths[name] = { levels, notch };
      path(name).setAttribute('d', d());
    };
    if (!sameFrame) {
      const grid = levelGrid(scale, hertz, area);
      if (grid !== drawnGrid) plot.querySelector('.grid').innerHTML = drawnGrid = grid;
    }
    for (const name of names()) {
      const notch = curves().notches[name];
      const levels = curves()[name];
      setPath(name, levels, `${notch.hertz} ${notch.db}`, () =>
        (levels ? levelPath(scale, area, curvePoints(curves(), name, area, pointTexts())) : ''));
    }
    const marks = levelMarks(scale, curves(), names(), area);
    if (marks !== drawnMarks) plot.querySelector('.marks').innerHTML = drawnMarks = marks;
    setText(clippedText, notchesText(curves(), names()));
    setPath('band', band ? bandLevels(band) : null, '', () => (band ? bandPath(scale, area, band, pointTexts()) : ''));
    showReadout(cursor);
  }

  function drawCurves() {
    sizePlot();
    heading.textContent = HEADINGS[view];
    levelText.hidden = view !== 'level';
    viewText.hidden = view === 'level';
    viewText.textContent = viewWords(view, state);
    if (view === 'level') drawLevelView();
    else drawOtherView();
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
