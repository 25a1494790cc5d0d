// The design in the page's address, after '#': the form's texts, units and
// marked radio button, and every choice and field of the panel, as
// URLSearchParams writes them. Pure: the page hands in what it holds.
const LINK_VERSION = '1';
const ROWS = ['r', 'c', 'fo'];
// Lists the page gained after its first links were written: a link
// without one keeps its default. Any other list missing means a link cut
// short.
const LATER_LISTS = new Set(['opamp', 'reject-band', 'plot-view', 'tune-built', 'noise-band']);

// state: { solve (0 R, 1 C, 2 Fo), values: [3 texts], units: [3 option
// values], lists: [{ name, value }], fields: [{ name, text }] }.
export function linkText(state) {
  const link = new URLSearchParams({ v: LINK_VERSION, solve: ROWS[state.solve] });
  ROWS.forEach((row, i) => {
    link.set(row, state.values[i]);
    link.set(`${row}-unit`, state.units[i]);
  });
  for (const list of state.lists) link.set(list.name, list.value);
  for (const field of state.fields) if (field.text !== '') link.set(field.name, field.text);
  return link.toString();
}

const fits = (text, length) => text.length <= length && !/[\u0000-\u001f]/.test(text);

// What a fragment asks for, or why it cannot be taken: every name known
// and given once, every choice one of the page's, every text no longer
// than its field takes (the form's texts without control characters, as
// OK took them); a later list it does not name keeps its default.
// `page`: { units: [3 lists of option
// values], lists: [{ name, options, default }], fields: [{ name,
// maxLength }], textLength }.
// Gives { wanted: { solve, values, units, lists, fields } } with indices
// into the options, or { problem }.
export function readLink(fragment, page) {
  const link = new URLSearchParams(fragment);
  const names = Array.from(link.keys());
  if (link.get('v') !== LINK_VERSION) {
    return { problem: link.has('v') ? 'it comes from another version of this page' : 'it is not a link to a design' };
  }
  const known = new Set(['v', 'solve', ...ROWS, ...ROWS.map((row) => `${row}-unit`),
    ...page.lists.map((list) => list.name), ...page.fields.map((field) => field.name)]);
  if (names.some((name) => !known.has(name)) || new Set(names).size !== names.length) {
    return { problem: 'it is not a link to a design' };
  }
  const wanted = {
    solve: ROWS.indexOf(link.get('solve')),
    values: ROWS.map((row) => link.get(row) ?? ''),
    units: ROWS.map((row, i) => page.units[i].indexOf(link.get(`${row}-unit`))),
    lists: page.lists.map((list) => (!link.has(list.name) && LATER_LISTS.has(list.name) ? list.default
      : list.options.indexOf(link.get(list.name)))),
    fields: page.fields.map((field) => link.get(field.name) ?? ''),
  };
  const ok = wanted.solve >= 0 &&
    wanted.values.every((text) => fits(text, page.textLength)) &&
    wanted.units.every((index) => index >= 0) &&
    wanted.lists.every((index) => index >= 0) &&
    // A panel field's text comes back whatever it holds, its problem said
    // beside it as when the link was written.
    wanted.fields.every((text, i) => text.length <= page.fields[i].maxLength);
  return ok ? { wanted } : { problem: 'a value in it is out of range' };
}
