// Numbers as the panel writes them: SI prefixes, never milli, since on
// this page "mOhm" and "mHz" mean mega; and values as machines read them.
export const MINUS = '\u2212';
export const SPACE = '\u00a0';
const PREFIXES = {
  ohm: [[1e9, 'G'], [1e6, 'M'], [1e3, 'k'], [1, '']],
  farad: [[1e-6, 'µ'], [1e-9, 'n'], [1e-12, 'p']],
  hertz: [[1e9, 'G'], [1e6, 'M'], [1e3, 'k'], [1, '']],
  volt: [[1e3, 'k'], [1, ''], [1e-6, 'µ'], [1e-9, 'n']],
  second: [[1, ''], [1e-3, 'm'], [1e-6, 'µ'], [1e-9, 'n']],
};
const SYMBOLS = { ohm: 'Ω', farad: 'F', hertz: 'Hz', volt: 'V', second: 's' };
const SUPERSCRIPTS = '⁰¹²³⁴⁵⁶⁷⁸⁹';

function significant(value, digits, trimmed) {
  let text = value >= 10 ** digits ? value.toFixed(0) : value.toPrecision(digits);
  if (trimmed && text.includes('.')) text = text.replace(/0+$/, '').replace(/\.$/, '');
  return text;
}

// A value in its unit ('ohm', 'farad', 'hertz', 'volt', 'second' (in ms,
// which nothing here could read as mega), 'dB', 'percent',
// 'number', 'count', or 'volt-per-second', shown in V/µs as datasheets
// give slew rates, and noise densities, 'volt-per-root-hertz' in nV/√Hz
// and 'amp-per-root-hertz' in pA/√Hz), with `digits` significant digits (or for dB, percent
// and numbers digits after the point), trailing zeros dropped where
// `trimmed`.
export function format(value, unit, digits, trimmed) {
  const size = Math.abs(value);
  if (unit === 'count') return String(Math.round(value));
  if (unit === 'volt-per-second') return `${significant(value / 1e6, digits, trimmed)}${SPACE}V/µs`;
  if (unit === 'volt-per-root-hertz') return `${significant(value * 1e9, digits, trimmed)}${SPACE}nV/√Hz`;
  if (unit === 'amp-per-root-hertz') return `${significant(value * 1e12, digits, trimmed)}${SPACE}pA/√Hz`;
  if (unit === 'number') return value.toFixed(digits);
  if (unit === 'dB' || unit === 'percent') {
    // No sign on what rounds to zero.
    const shown = size.toFixed(digits);
    const sign = Number(shown) === 0 ? '' : value < 0 ? MINUS : unit === 'percent' ? '+' : '';
    return `${sign}${shown}${SPACE}${unit === 'dB' ? 'dB' : '%'}`;
  }
  const sign = value < 0 ? MINUS : '';
  const steps = PREFIXES[unit];
  // Three decades or more beyond the prefixes: a power of ten.
  if (size !== 0 && (size >= steps[0][0] * 1e4 || size < steps[steps.length - 1][0] * 1e-3)) {
    const [mantissa, exponent] = size.toExponential(digits - 1).split('e');
    const power = Array.from(String(Math.abs(exponent)), (d) => SUPERSCRIPTS[d]).join('');
    const shown = significant(Number(mantissa), digits, trimmed);
    return `${sign}${shown}${SPACE}× 10${exponent < 0 ? '⁻' : ''}${power}${SPACE}${SYMBOLS[unit]}`;
  }
  let i = steps.findIndex(([step]) => size >= step);
  if (i < 0) i = steps.length - 1;
  let shown = significant(size / steps[i][0], digits, trimmed);
  // Rounding may carry into the next prefix: 999.96 Ω is 1.000 kΩ.
  if (i > 0 && Number(shown) >= 1000) shown = significant(size / steps[--i][0], digits, trimmed);
  return `${sign}${shown}${SPACE}${steps[i][1]}${SYMBOLS[unit]}`;
}

// A part's value as machines read it: as C's "%.12g" writes it (12
// significant digits, no trailing zeros, an exponent of two digits at
// least below 1e-4 and from 1e12).
export function exactText(value) {
  if (value === 0) return '0';
  const [mantissa, exponentText] = value.toExponential(11).split('e');
  const exponent = Number(exponentText);
  const trim = (text) => (text.includes('.') ? text.replace(/0+$/, '').replace(/\.$/, '') : text);
  if (exponent < -4 || exponent >= 12) {
    return `${trim(mantissa)}e${exponent < 0 ? '-' : '+'}${String(Math.abs(exponent)).padStart(2, '0')}`;
  }
  return trim(value.toFixed(11 - exponent));
}

// Plain text: no-break spaces as spaces.
export const plain = (text) => text.replace(/\u00a0/g, ' ');
