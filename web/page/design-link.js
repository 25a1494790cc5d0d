// --- The page's address carries the design in its fragment (#...), so
// that a bookmark or a link reopens it: the form's texts, units and
// marked radio button, and every choice and field of the panel. It is
// rewritten without adding to the history; it never leaves the browser.
const LINK_VERSION = '1';
const dialog = document.getElementById('calculator');
const form = {
  values: Array.from(dialog.querySelectorAll('input.value')), // R, C, Fo
  units: Array.from(dialog.querySelectorAll('select.unit')),
  radios: Array.from(dialog.querySelectorAll('input[type="radio"]')),
};
const ROWS = ['r', 'c', 'fo'];
const linkNote = document.getElementById('link-note');

// Rewritten a moment after the last change rather than at every one:
// browsers refuse an address rewritten many times a second (typing, or
// holding an arrow key on a list), and each rewrite costs a little.
let linkTimer = 0;
function writeLink() {
  clearTimeout(linkTimer);
  linkTimer = setTimeout(writeLinkNow, 250);
}

function writeLinkNow() {
  clearTimeout(linkTimer);
  linkTimer = 0;
  const link = new URLSearchParams({ v: LINK_VERSION, solve: ROWS[form.radios.findIndex((radio) => radio.checked)] });
  ROWS.forEach((row, i) => {
    link.set(row, form.values[i].value);
    link.set(`${row}-unit`, form.units[i].value);
  });
  lists.forEach((list) => link.set(list.dataset.design, list.value));
  fields.forEach((field) => field.value !== '' && link.set(field.dataset.design, field.value));
  history.replaceState(null, '', `#${link}`);
}

// A change just made goes into the address before the page goes.
window.addEventListener('pagehide', () => linkTimer && writeLinkNow());

// What a fragment asks for, or why it cannot be taken: every name known
// and given once, every choice one of the page's, every text no longer
// than its field takes.
function readLink(fragment) {
  const link = new URLSearchParams(fragment);
  const names = Array.from(link.keys());
  if (link.get('v') !== LINK_VERSION) {
    return { problem: link.has('v') ? 'it comes from another version of this page' : 'it is not a link to a design' };
  }
  const known = new Set(['v', 'solve', ...ROWS, ...ROWS.map((row) => `${row}-unit`), ...LIST_NAMES, ...FIELD_NAMES]);
  if (names.some((name) => !known.has(name)) || new Set(names).size !== names.length) {
    return { problem: 'it is not a link to a design' };
  }
  const options = (select) => Array.from(select.options, (option) => option.value);
  const fits = (text, length) => text.length <= length && !/[\u0000-\u001f]/.test(text);
  const wanted = { solve: ROWS.indexOf(link.get('solve')), values: [], units: [], lists: [], fields: [] };
  let ok = wanted.solve >= 0;
  ROWS.forEach((row, i) => {
    wanted.values.push(link.get(row) ?? '');
    wanted.units.push(options(form.units[i]).indexOf(link.get(`${row}-unit`)));
    ok = ok && fits(wanted.values[i], FIELD_TEXT_SIZE - 1) && wanted.units[i] >= 0;
  });
  lists.forEach((list) => {
    wanted.lists.push(options(list).indexOf(link.get(list.dataset.design)));
    ok = ok && wanted.lists[wanted.lists.length - 1] >= 0;
  });
  fields.forEach((field) => {
    wanted.fields.push(link.get(field.dataset.design) ?? '');
    ok = ok && fits(wanted.fields[wanted.fields.length - 1], field.maxLength);
  });
  return ok ? { wanted } : { problem: 'a value in it is out of range' };
}

// Opens the design a fragment holds, as if OK had been pressed on its
// texts: or, when it cannot, leaves the page as it was and says why,
// quietly: never with a message box.
function openLink(fragment) {
  linkNote.hidden = true;
  if (fragment === '') return;
  const { wanted, problem } = readLink(fragment);
  if (problem) return refuseLink(problem);
  const before = pageState();
  setState(wanted);
  // The panel's fields must hold good texts, and OK on the form's texts
  // must write a result.
  const press = { outcome: null };
  if (fields.every((field, i) => core.nw_design_field_problem(i) === 0)) {
    document.dispatchEvent(new CustomEvent('notchwell-quiet-ok', { detail: press }));
  }
  if (press.outcome === 'result') return;
  setState(before);
  refuseLink('its values give no design');
}

// What a link sets: the form and the panel's lists and fields.
function pageState() {
  return {
    solve: form.radios.findIndex((radio) => radio.checked),
    values: form.values.map((value) => value.value),
    units: form.units.map((unit) => unit.selectedIndex),
    lists: lists.map((list) => list.selectedIndex),
    fields: fields.map((field) => field.value),
  };
}

function setState(state) {
  if (state.solve >= 0) form.radios[state.solve].checked = true;
  state.values.forEach((text, i) => (form.values[i].value = text));
  state.units.forEach((index, i) => (form.units[i].selectedIndex = index));
  state.lists.forEach((index, i) => (lists[i].selectedIndex = index));
  state.fields.forEach((text, i) => {
    fields[i].value = text;
    checkField(i);
  });
  noteLoad();
}

function refuseLink(why) {
  linkNote.textContent = `The design in this page's address could not be opened: ${why}.`;
  linkNote.hidden = false;
}
