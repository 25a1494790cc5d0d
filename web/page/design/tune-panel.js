// The panel's "Tune what you built" input: the measured sweep's field,
// file control, level column list and the sentence naming the columns
// read. It reads the sweep into the module and hands the panel the
// points for the plot; the figures and words come with the report.
import * as design from './module.js';
import { setHidden, setText } from './render.js';
import { setUpSweepInput } from './sweep-input.js';

// elements: { field, file, note, columnList, columnWords }. core(): the
// module, null before it has started; marked(field, reading): marks the
// field's problem; read(): the panel updates for the sweep read.
export function setUpTuning(elements, { core, marked, read, timers }) {
  const { field, columnList, columnWords } = elements;
  let points = null; // the sweep's points as read
  // Of a header's level columns, the one read, or the one chosen from the
  // list; which columns were read said in a sentence.
  function readSweep(text, anew, column = -1) {
    if (core() === null) return;
    marked(field, design.readSweep(core(), text, anew, column));
    points = design.sweepPoints(core());
    const { levels, level, phase } = design.sweepColumns(core());
    columnList.replaceChildren(...levels.map((name, i) => new Option(name, String(i), false, i === level)));
    setHidden(columnList.closest('.choices'), levels.length < 2);
    setText(columnWords, level < 0 ? '' : `Read “${levels[level]}” as the level${phase ? ` and “${phase}” as its phase` : ''}.`);
    setHidden(columnWords, level < 0);
    read();
  }
  columnList.addEventListener('change', () => readSweep(field.value, false, columnList.selectedIndex));
  const input = setUpSweepInput(elements, {
    read: readSweep,
    textSize: () => core().nw_design_sweep_text_size(),
    timers,
  });
  return {
    // The points for the plot, levels of another reference than Vs (the
    // report's tune-offset, dB) drawn as the fit takes them.
    points(offset = 0) {
      return points && offset ? { ...points, level: points.level.map((db) => db - offset) } : points;
    },
    reset: input.reset,
  };
}
