// The design panel's script as the page runs it: the one module that
// touches the document when it is loaded.
import { startPanel } from './panel.js';

startPanel(document);
