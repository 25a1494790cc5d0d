// A measured sweep's trims in words: which way and how far to turn R1 and
// R3, the other pair of turns where the level alone was measured, and how
// much nearer Fo the null has come since the sweep before. Pure: the
// panel and the Copy text both take them from a state.
import { format } from './format.js';
import { figureText, holds } from './state.js';

const way = (percent) => (percent < 0 ? 'down' : 'up');
const by = (percent) => format(Math.abs(percent), 'percent', 2, false).replace(/^\+/, '');

// The turns of the fit (`suffix` '') or of its mirror image ('-alt').
function turns(state, suffix) {
  const t = (name) => figureText(state, name);
  const r1 = state.figures.get(`tune-r1-change${suffix}`);
  const r3 = state.figures.get(`tune-r3-change${suffix}`);
  const to = (name) => (suffix ? '' : ` (to about ${t(name)})`);
  return `R1 ${way(r1)} by ${by(r1)}${to('tune-r1')} and R3 ${way(r3)} by ${by(r3)}${to('tune-r3')}`;
}

// { trim, alternative, round }: each '' where the state has none.
export function tuneWords(state) {
  const is = (section) => holds(state, section);
  const t = (name) => figureText(state, name);
  const words = { trim: '', alternative: '', round: '' };
  if (!is('tuned')) return words;
  words.trim = `Turn ${turns(state, '')}: the null then lies on ${t('fo')}.`;
  if (is('tune-alt')) {
    words.alternative = `The level alone cannot tell on which side of the jω axis the notch's zeros lie, and the` +
      ` mirror image fits it alike: there the turns are ${turns(state, '-alt')}. Try the first, and keep whichever` +
      ' is deeper.';
  }
  if (is('tune-round')) {
    const nearer = state.figures.get('tune-nearer');
    const moved = nearer >= 0 ? `come ${by(nearer)} nearer ${t('fo')}` : `moved ${by(-nearer)} further from ${t('fo')}`;
    words.round = `Since the sweep before, the null has ${moved} (from ${t('tune-notch-before')} to` +
      ` ${t('tune-notch')}), and the build takes ${t('tune-reject')} off ${t('fo')} instead of` +
      ` ${t('tune-reject-before')}.`;
  }
  return words;
}
