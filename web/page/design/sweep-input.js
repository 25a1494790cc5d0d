// The measured sweep's field and file control. Typed or pasted text is
// read once the typing settles (or the field is left), so that no
// keystroke waits for a fit; a
// file is read every time it is chosen (the same name again too), decoded
// as measuring programs write it, and is not read at all where it is
// larger than any sweep the panel takes. The note says which file was read
// and when.
import { decodeSweepFile, mostSweepFileBytes } from './sweep-file.js';

// How long the text must rest before it is read, in milliseconds.
export const SETTLE_MS = 300;

// elements: { field, file, note }. read(text, anew): reads a text into
// the module (null: a text too long to read), `anew` for a file chosen.
// textSize(): the most bytes of text the module takes.
export function setUpSweepInput({ field, file, note }, { read, textSize, timers = globalThis }) {
  let settling = 0;
  const say = (text) => {
    note.textContent = text;
    note.hidden = text === '';
  };
  function readNow() {
    timers.clearTimeout(settling);
    settling = 0;
    read(field.value, false);
  }
  field.addEventListener('input', () => {
    timers.clearTimeout(settling);
    settling = timers.setTimeout(readNow, SETTLE_MS);
  });
  // Leaving the field reads what it holds at once.
  field.addEventListener('change', () => settling && readNow());
  file.addEventListener('change', async () => {
    const [chosen] = file.files;
    // Emptied, so that the same file chosen again after a new measurement
    // is a change too.
    file.value = '';
    if (!chosen) return;
    timers.clearTimeout(settling);
    settling = 0;
    if (chosen.size > mostSweepFileBytes(textSize())) {
      field.value = '';
      read(null, true);
      say(`${chosen.name} (${(chosen.size / 1e6).toFixed(1)} MB) was not read.`);
      return;
    }
    field.value = decodeSweepFile(new Uint8Array(await chosen.arrayBuffer()));
    read(field.value, true);
    say(`Read ${chosen.name} at ${new Date().toLocaleTimeString('en-GB')}.`);
  });
  return {
    // A fresh start: no text, no note.
    reset() {
      timers.clearTimeout(settling);
      settling = 0;
      field.value = '';
      say('');
      read('', false);
    },
  };
}
