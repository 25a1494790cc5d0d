// The panel's lists as a person reads them: each option's text and value,
// from the design code's tables.
import { MINUS, SPACE, format } from './format.js';

const VIEW_NAMES = { level: 'Level', phase: 'Phase', delay: 'Group delay', step: 'Step response',
  burst: 'Sine at Fo switched on', noise: 'Noise at the output' };

// [text, value] of `option` on `list` (as readTables gives them).
export function choiceOption(list, option) {
  const { value, high, label, name } = option;
  switch (list.name) {
    case 'resistor-series':
    case 'capacitor-series':
      return [name, name];
    case 'opamp': {
      if (!label) return [name === 'ideal' ? 'Ideal' : 'Custom: your own figures', name];
      const { gbw, gain, slew } = option.figures;
      return [`${label}: ${format(gbw, 'hertz', 3, true)}, ${gain}${SPACE}dB, ${slew}${SPACE}V/µs`, name];
    }
    case 'plot-view':
      return [VIEW_NAMES[name], name];
    case 'tune-built':
      return [name === 'nearest' ? 'the nearest build' : 'your measured parts', name];
    case 'noise-band':
      return [`${format(value, 'hertz', 3, true)}–${format(high, 'hertz', 3, true)}`, name];
    case 'network':
      return value === 0 ? ['Passive (Q = 0.25)', 'passive'] : [`Active, Q = ${value}`, String(value)];
    case 'resistor-tempco':
    case 'capacitor-tempco':
      return [`±${value}${SPACE}ppm/K (${label})`, String(value)];
    case 'temperature-range': {
      const celsius = (t) => `${t < 0 ? MINUS : ''}${Math.abs(t)}`;
      return [`${celsius(value)} to ${celsius(high)}${SPACE}°C (${label})`, `${value},${high}`];
    }
    default:
      return [`±${value}${SPACE}%`, String(value)];
  }
}
