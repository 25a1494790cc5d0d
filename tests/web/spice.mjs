// Runs a netlist through Debian's ngspice, the simulator the design code
// is checked against: as it is, or with a control block of the test's.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

// What ngspice prints for the netlist as it is: the rows of its .print
// line, [hertz, dB], and the output's noise its control block prints (V).
export function printedLevels(netlist) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'notchwell-netlist-'));
  try {
    fs.writeFileSync(path.join(folder, 'design.cir'), netlist);
    const output = execFileSync('ngspice', ['-b', 'design.cir'], { cwd: folder, encoding: 'utf8' });
    const rows = Array.from(output.matchAll(/^\d+\t(\S+)\t(\S+)/gm), ([, hertz, db]) => [Number(hertz), Number(db)]);
    return { rows, noise: Number(output.match(/^onoise_total = (\S+)$/m)?.[1]) };
  } finally {
    fs.rmSync(folder, { recursive: true });
  }
}

// V(out) in dB over each `ac` sweep (such as "lin 2001 40 60"), the
// netlist's own analysis left out; or other `vectors` (such as
// "vdb(out) vp(out)"), a column each after the frequency.
export function sweptLevels(netlist, sweeps, vectors = 'vdb(out)') {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'notchwell-netlist-'));
  try {
    const control = ['.control', 'set wr_singlescale', 'option numdgt=15',
      ...sweeps.flatMap((sweep, i) => [`ac ${sweep}`, `wrdata sweep${i}.txt ${vectors}`]), '.endc'];
    fs.writeFileSync(path.join(folder, 'design.cir'), netlist.replace(/^\.end$/m, `${control.join('\n')}\n.end`));
    // ngspice exits with 1 in batch mode when the analyses come from a
    // control block; what it wrote tells whether it ran.
    try {
      execFileSync('ngspice', ['-b', 'design.cir'], { cwd: folder, stdio: 'ignore' });
    } catch {}
    return sweeps.map((sweep, i) =>
      fs.readFileSync(path.join(folder, `sweep${i}.txt`), 'utf8').trim().split('\n')
        .map((line) => line.trim().split(/\s+/).map(Number)));
  } finally {
    fs.rmSync(folder, { recursive: true });
  }
}

// Where a fine sweep's level is lowest, from the vertex of the parabola
// through the three lowest points' power: [[hertz, dB], ...].
export function vertexOf(fine) {
  let i = 1;
  for (let j = 1; j + 1 < fine.length; ++j) if (fine[j][1] < fine[i][1]) i = j;
  const power = [-1, 0, 1].map((d) => 10 ** (fine[i + d][1] / 10));
  return fine[i][0] + ((fine[i + 1][0] - fine[i][0]) * (power[0] - power[2])) / (2 * (power[0] - 2 * power[1] + power[2]));
}
