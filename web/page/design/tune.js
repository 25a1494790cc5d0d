// A measured sweep's trims in words: which way and how far to turn R1 and
// R3, the other pair of turns where the level alone was measured, and how
// much nearer Fo the null has come since the sweep before. Pure: the
// panel and the Copy text both take them from a state.
import { format } from './format.js';
import { figureText, holds } from './state.js';

const by = (percent, digits = 2) => format(Math.abs(percent), 'percent', digits, false).replace(/^\+/, '');
// A change too small to show, or within what the sweep decides of it: the
// resistor stays as it is.
const still = (percent, spread = 0) =>
  Number(Math.abs(percent).toFixed(2)) === 0 || Math.abs(percent) <= spread;

// The turns of the fit (`suffix` '') or of its mirror image ('-alt'), with
// the resistances they come to for the fit's own and what the sweep
// decides of each.
function turns(state, suffix) {
  const t = (name) => figureText(state, name);
  const spread = (r) => (suffix ? 0 : state.figures.get(`tune-${r}-spread`) ?? 0);
  const turn = (r) => {
    const percent = state.figures.get(`tune-${r}-change${suffix}`);
    const amount = suffix ? by(percent) : by(percent).replace(/(\S+)(\s%)$/, `$1\u00a0±\u00a0${Math.max(spread(r), 0.01).toFixed(2)}$2`);
    return `${r.toUpperCase()} ${percent < 0 ? 'down' : 'up'} by ${amount}${suffix ? '' : ` (to about ${t(`tune-${r}`)})`}`;
  };
  const moved = ['r1', 'r3'].filter((r) => !still(state.figures.get(`tune-${r}-change${suffix}`), spread(r)));
  if (moved.length === 0) return 'Leave R1 and R3 as they are';
  if (moved.length === 1) return `Leave ${moved[0] === 'r1' ? 'R3' : 'R1'} as it is and turn ${turn(moved[0])}`;
  return `Turn ${turn('r1')} and ${turn('r3')}`;
}

// Lines of a sweep in words: "line 3", "lines 3 and 9", "lines 3, 5 and 9".
const linesText = (lines) =>
  lines.length === 1 ? `line ${lines[0]}` : `lines ${lines.slice(0, -1).join(', ')} and ${lines[lines.length - 1]}`;

// { trim, alternative, round, leftOut, worst }: each '' where the state
// has none.
export function tuneWords(state) {
  const is = (section) => holds(state, section);
  const t = (name) => figureText(state, name);
  const words = { trim: '', alternative: '', round: '', leftOut: '', worst: '' };
  const { leftOut = [], worst = 0 } = state.tuneLines ?? {};
  if (is('tune-left-out') && leftOut.length) {
    words.leftOut = `Fitted without ${linesText(leftOut)}: no network explains ${leftOut.length === 1 ? 'its level' :
      'their levels'}, a glitch of the measurement.`;
  }
  if (is('tune-no-fit') && worst > 0) words.worst = `It explains line ${worst} least.`;
  if (!is('tune-turns')) return words;
  words.trim = `${turns(state, '')}: the null then lies on ${t('fo')}.`;
  if (is('tune-alt')) {
    words.alternative = `The level alone cannot tell on which side of the jω axis the notch's zeros lie, and the` +
      ` mirror image fits it alike: for it, ${turns(state, '-alt').replace(/^[LT]/, (c) => c.toLowerCase())}. Try the` +
      ' first, and keep whichever is deeper.';
  }
  if (is('tune-round')) {
    const nearer = state.figures.get('tune-nearer');
    const moved = nearer >= 0 ? `come ${by(nearer, 1)} nearer ${t('fo')}` : `moved ${by(nearer, 1)} further from ${t('fo')}`;
    words.round = `Since the sweep before, the null has ${moved} (from ${t('tune-notch-before')} to` +
      ` ${t('tune-notch')}), and the build takes ${t('tune-reject')} off ${t('fo')} instead of` +
      ` ${t('tune-reject-before')}.`;
  }
  return words;
}
