// The dialog's script as the page runs it, with the module, the design
// panel and the code page packed into it when the page is built.
import { startDialog } from './dialog.js';

startDialog(document, {
  core: '{{CORE_WASM_PACKED}}',
  panel: '{{DESIGN_PANEL_PACKED}}',
  codePage: '{{CODE_PAGE_1252_PACKED}}',
});
