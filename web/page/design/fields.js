// The panel's value fields, from the design code's table: each a label,
// the field, and where its problem is said, put in its group's place on
// the panel (data-fields="group") before the group's own notes. A field is
// described by its group's hint (id "group-hint"), its message, and any
// note for it (data-note-for="name").
export function addFields(document, panel, fields, length) {
  const firstNotes = new Map();
  for (const field of fields) {
    const place = panel.querySelector(`[data-fields="${field.group}"]`);
    if (!firstNotes.has(place)) firstNotes.set(place, place.firstElementChild);
    const label = document.createElement('label');
    label.htmlFor = field.name;
    label.textContent = field.label;
    const input = document.createElement('input');
    input.id = field.name;
    input.dataset.design = field.name;
    input.type = 'text';
    input.maxLength = length;
    input.setAttribute('spellcheck', 'false');
    input.setAttribute('autocomplete', 'off');
    if (field.emptyMeans) input.placeholder = field.emptyMeans;
    const notes = Array.from(place.querySelectorAll(`[data-note-for="${field.name}"]`), (note) => note.id);
    input.setAttribute('aria-describedby', [`${field.group}-hint`, `${field.name}-message`, ...notes].join(' '));
    const message = document.createElement('p');
    message.className = 'field-message';
    message.id = `${field.name}-message`;
    message.setAttribute('aria-live', 'assertive');
    for (const element of [label, input, message]) place.insertBefore(element, firstNotes.get(place));
  }
}
