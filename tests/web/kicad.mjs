// KiCad 9's command line on a schematic the page saved: its electrical
// rules check, its SPICE netlist and its picture (tools/install-kicad
// installs it).
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const run = (args) => execFileSync('kicad-cli', args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });

// Every violation the check finds, as "severity type: description".
export function ercViolations(file) {
  const report = `${file}.erc.json`;
  run(['sch', 'erc', '--format', 'json', '--severity-all', '-o', report, file]);
  const { sheets } = JSON.parse(fs.readFileSync(report, 'utf8'));
  return sheets.flatMap((sheet) => sheet.violations.map((v) => `${v.severity} ${v.type}: ${v.description}`));
}

// The netlist KiCad's simulator would run, its net names without the
// sheet's "/" (which ngspice's expressions would read as a division).
export function kicadNetlist(file) {
  const netlist = `${file}.cir`;
  run(['sch', 'export', 'netlist', '--format', 'spice', '-o', netlist, file]);
  return fs.readFileSync(netlist, 'utf8').replace(/\/(in|out|g|tap)\b/g, '$1');
}

// The sheet as SVG in `folder`.
export function kicadPicture(file, folder) {
  fs.mkdirSync(folder, { recursive: true });
  run(['sch', 'export', 'svg', '-o', folder, file]);
  return path.join(folder, `${path.basename(file, '.kicad_sch')}.svg`);
}
