// --- The panel's value fields, in the design code's order: the source
// and load, then the six measured parts.
const FIELD_NAMES = ['source', 'load', 'measured-r1', 'measured-r2', 'measured-r3', 'measured-c1', 'measured-c2',
  'measured-c3'];
const fields = FIELD_NAMES.map(control);
const MEASURED = fields.slice(2);

function writeField(index) {
  const bytes = new TextEncoder().encode(fields[index].value).subarray(0, FIELD_TEXT_SIZE - 1);
  const memory = new Uint8Array(core.memory.buffer, core.nw_design_field_text(index), FIELD_TEXT_SIZE);
  memory.set(bytes);
  memory[bytes.length] = 0;
}

// A problem is marked on the field and said next to it (announced, and
// tied to the field for assistive technology); the figures stay.
function checkField(index) {
  writeField(index);
  const field = fields[index];
  const problem = core.nw_design_field_problem(index);
  const message = document.getElementById(`${field.id}-message`);
  message.textContent = problem ? readText(core.nw_design_field_message(index)) : '';
  if (problem) {
    field.setAttribute('aria-invalid', 'true');
    field.setAttribute('aria-errormessage', message.id);
  } else {
    field.removeAttribute('aria-invalid');
    field.removeAttribute('aria-errormessage');
  }
}
