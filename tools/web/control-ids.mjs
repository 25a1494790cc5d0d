// The dialog's control identifiers, read from the core's own table
// (core/control_ids.h), for the page and for what drives it.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

// { IDOK: '1', IDC_RESISTANCE: '1000', ... }
export const controlIds = Object.fromEntries(
  Array.from(
    fs.readFileSync(path.join(root, 'core/control_ids.h'), 'utf8').matchAll(/^#define (ID\w+) (\d+)$/gm),
    ([, name, value]) => [name, value],
  ),
);

// The CSS selector of a control on the page.
export const at = (id) => `[data-control-id="${id}"]`;
