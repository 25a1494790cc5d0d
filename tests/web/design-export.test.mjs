// Taking the design away and seeing it whole, in both browsers: the
// nearest build as a SPICE netlist that ngspice runs as it is and that
// agrees with the panel, the figures as CSV, both saved as files from
// file://; the page's address that reopens the design, and fragments
// from outside; the spread of builds on the curve and the wide layout.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { describe, test } from 'node:test';
import { at, controlIds as ids, root } from '../../tools/web/control-ids.mjs';
import { browserNames, browserSession, fill, saved, screenshot, shots, until, valueOf } from './browser-driver.mjs';
import { design, expectNativeFigures, fieldState, figuresOf, hum, measuredHum, measuredNames, panelText, paste,
  setChoice } from './design-driver.mjs';
import { ercViolations, kicadNetlist, kicadPicture } from './kicad.mjs';
import { printedLevels, sweptLevels, vertexOf } from './spice.mjs';

// The curve CSV's rows at the simulator's points (each notch has a row
// of its own among them).
function rowsAt(rows, points) {
  return points.map(([f]) => {
    const row = rows.find((r) => Math.abs(Number(r[0]) / f - 1) < 1e-9);
    assert.ok(row, `a row at ${f} Hz`);
    return row;
  });
}

const exported = (page, name) => page.$eval(`[data-export="${name}"]`, (e) => e.textContent);
// The page's address once it holds the design now on the page (it is
// rewritten a moment after the last change).
const hash = async (page) => {
  await new Promise((resolve) => setTimeout(resolve, 400));
  return page.evaluate(() => location.hash);
};
const dialogState = (page) =>
  page.evaluate(() => ({
    values: Array.from(document.querySelectorAll('main input.value'), (i) => i.value),
    units: Array.from(document.querySelectorAll('main select'), (s) => s.value),
    solve: Array.from(document.querySelectorAll('main input[type="radio"]'), (r) => r.checked),
    panel: Array.from(document.querySelectorAll('#design select, #design input'), (e) => e.value),
    box: document.getElementById('message-box').open,
  }));

// RFC 4180 rows (no field here holds a line break): quoted fields with
// doubled quotes, CRLF after every row.
const parseCsv = (text) =>
  text.replace(/\r\n$/, '').split('\r\n').map((row) =>
    Array.from(row.matchAll(/(?:^|,)("(?:[^"]|"")*"|[^,]*)/g), ([, f]) =>
      (f.startsWith('"') ? f.slice(1, -1).replace(/""/g, '"') : f)));

for (const name of browserNames) {
  describe(name, () => {
    const { withPage } = browserSession(name);

    test('export: the nearest build as a SPICE netlist that ngspice runs and that agrees with the panel', () => {
      const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'notchwell-saved-'));
      return withPage(1000, 800, async (page) => {
        for (const [network, opamp] of [['passive', 'ideal'], ['2', 'ideal'], ['10', 'tl072']]) {
          await setChoice(page, 'network', network);
          await setChoice(page, 'opamp', opamp);
          await design(page, hum);
          await paste(page, 'source', '600');
          await paste(page, 'load', '10k');
          if (await page.$eval('#netlist-export', (e) => e.hidden)) await page.click('[data-design="netlist"]');
          const f = await expectNativeFigures(page);
          const netlist = await exported(page, 'netlist');
          for (const line of [/^VS vs 0 DC 0 AC 1$/m, /^RS vs in 600$/m, /^R3A b [0g] 33000$/m, /^R3B b [0g] 33000$/m,
            /^C3B a [0g] 1e-07$/m, /^\.ac dec 100 0\.5 5000$/m, /^\.end$/m, /^\* Fo = 50\.00 Hz/m]) {
            assert.match(netlist, line);
          }
          assert.doesNotMatch(netlist, /[^\x00-\x7f]/, 'plain ASCII');
          assert.match(netlist, /^\.control\nnoise v\(out\) VS dec 1000 20 20000\nprint onoise_total\n\.endc\n\.end\n$/m);
          if (network === '2') assert.match(netlist, /^EOUT out 0 t 0 1\nRTOP out tap 1300\nRBOTTOM tap 0 9100\nEG g 0 tap 0 1$/m);
          // A real op-amp: a subcircuit of one pole, A0 = 10^(106/20), wp = 2 pi 3 MHz / A0.
          if (opamp !== 'ideal') {
            assert.match(netlist, /^\.subckt OPAMP inp inn out\nEA x 0 inp inn 199526\.231497\nRP x y 1\nCP y 0 0\.0105851953397\n/m);
            // TL072s' 18 nV/√Hz and 0.01 pA/√Hz.
            assert.match(netlist, /^RENOUT t tn 19546\.2472697\nRINOUT t 0 1e\+12 temp=1810469\.47901\nXOUT tn out out OPAMP\n(.*\n){2}RENG tap tapn 19546\.2472697\nRING tap 0 1e\+12 temp=1810469\.47901\nXG tapn g g OPAMP$/m);
            assert.match(netlist, /op-amps: TL072, TL082: 3 MHz, 106 dB, 13 V\/us/);
          }
          // As it is: its own sweep, Fo/100 to 100 Fo, with Fo the middle row.
          const { rows, noise } = printedLevels(netlist);
          assert.equal(rows.length, 401);
          // Its noise over the band, as the panel gives it.
          const total = f['noise-total'].value;
          assert.ok(Math.abs(20 * Math.log10(total / noise)) < 0.1, `noise: ngspice ${noise} V, the panel ${total} V`);
          assert.ok(Math.abs(rows[200][0] / 50 - 1) < 1e-9);
          assert.ok(Math.abs(rows[200][1] + f['build-reject'].value) < 0.01, `${rows[200][1]} at Fo`);
          // The notch, from the vertex of the parabola through the
          // simulator's three lowest points, and the harmonics.
          const notch = f['build-fo'].value;
          const [fine, ...harmonics] = sweptLevels(netlist, [`lin 2001 ${notch * 0.98} ${notch * 1.0213}`,
            ...[2, 3, 4, 5].map((n) => `lin 1 ${50 * n} ${50 * n}`)]);
          const vertex = vertexOf(fine);
          assert.ok(Math.abs(vertex / notch - 1) < 1e-4, `ngspice ${vertex} Hz, the panel ${notch} Hz`);
          harmonics.forEach(([[, db]], n) => {
            const level = f[`build-h${n + 2}`].value;
            assert.ok(level < -80 || Math.abs(db - level) < 0.01, `${n + 2} Fo: ngspice ${db}, the panel ${level}`);
          });
          if (network === 'passive') assert.equal(await saved(page, folder, '#netlist-export a.save'), netlist);
          // The curve as CSV against the same netlist at every curve point:
          // the nearest build's level within 0.01 dB and phase within 0.01
          // degrees wherever it is above -80 dB; each notch a row of its own.
          if (await page.$eval('#curve-csv-export', (e) => e.hidden)) await page.click('[data-design="curve-csv"]');
          const csv = await exported(page, 'curve-csv');
          const [header, ...curveRows] = parseCsv(csv);
          const curves = ['ideal', 'build', ...(opamp === 'ideal' ? [] : ['opamp'])];
          assert.deepEqual(header, ['hertz', ...curves.flatMap((c) => [`${c}-db`, `${c}-degrees`, `${c}-delay-s`]),
            'band-low-db', 'band-high-db',
            ...['total', 'resistors', 'opamp-voltage', 'opamp-current'].map((n) => `noise-${n}-v-per-rt-hz`)]);
          const hertz = curveRows.map((row) => Number(row[0]));
          assert.ok(hertz.every((f, i) => i === 0 || f > hertz[i - 1]), 'a row a frequency, in order');
          const [points] = sweptLevels(netlist, ['dec 100 0.5 5000'], 'vdb(out) vp(out)');
          const grid = rowsAt(curveRows, points);
          // Each notch on a row of its own, or on a point of the curve.
          assert.ok(curveRows.length > 401 && curveRows.length <= 401 + curves.length, `${curveRows.length} rows`);
          let compared = 0;
          grid.forEach((row, i) => {
            const [f, db, radians] = points[i];
            assert.ok(Math.abs(f / Number(row[0]) - 1) < 1e-9);
            if (db < -80) return;
            ++compared;
            assert.ok(Math.abs(Number(row[4]) - db) < 0.01, `${f} Hz: ngspice ${db} dB, the page ${row[4]}`);
            let apart = Number(row[5]) - (radians * 180) / Math.PI;
            apart -= 360 * Math.round(apart / 360);
            assert.ok(Math.abs(apart) < 0.01, `${f} Hz: ngspice ${(radians * 180) / Math.PI}°, the page ${row[5]}`);
          });
          assert.ok(compared > 390);
          if (network === 'passive') assert.equal(await saved(page, folder, '#curve-csv-export a.save'), `\ufeff${csv}`);
        }
      }, { downloads: folder });
    });

    // The same build as a KiCad 9 schematic: KiCad's rules check finds
    // nothing but symbol libraries this machine does not configure, and
    // the netlist KiCad's simulator would run gives the panel's curve and
    // notch in ngspice. The pictures go beside the screenshots.
    test('export: the nearest build as a KiCad schematic that kicad-cli checks and simulates as the panel does', () => {
      const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'notchwell-kicad-'));
      return withPage(1000, 800, async (page) => {
        for (const [network, opamp, surroundings] of [['passive', 'ideal', false], ['passive', 'ideal', true],
          ['2', 'ideal', true], ['10', 'ideal', false], ['10', 'lm358', false], ['10', 'tl072', true],
          ['10', 'ne5532', false], ['10', 'fast', false]]) {
          const label = `${network}-${opamp}${surroundings ? '-source-load' : ''}`;
          await setChoice(page, 'network', network);
          await setChoice(page, 'opamp', opamp);
          await design(page, hum);
          await paste(page, 'source', surroundings ? '600' : '');
          await paste(page, 'load', surroundings ? '10k' : '');
          for (const name of ['kicad', 'curve-csv']) {
            if (await page.$eval(`#${name}-export`, (e) => e.hidden)) await page.click(`[data-design="${name}"]`);
          }
          const f = await expectNativeFigures(page);
          const schematic = await exported(page, 'kicad');
          assert.match(schematic, /^\(kicad_sch \(version 20250114\) \(generator "notchwell"\)/);
          assert.match(schematic, /\(title "Twin-T notch, Fo = 50\.00 Hz"\) \(date "\d{4}-\d{2}-\d{2}"\)/);
          for (const reference of ['R1', 'R2', 'R3', 'R4', 'C1', 'C2', 'C3', 'C4', 'V1']) {
            assert.match(schematic, new RegExp(`\\(reference "${reference}"\\)`), reference);
          }
          assert.match(schematic, /\(property "Value" "33k"/);
          assert.match(schematic, /\(property "Value" "100n"/);
          const file = path.join(folder, `${label}.kicad_sch`);
          fs.writeFileSync(file, schematic);
          if (label === 'passive-ideal') assert.equal(await saved(page, folder, '#kicad-export a.save'), schematic);
          const problems = ercViolations(file).filter((v) => !v.includes('lib_symbol_issues'));
          assert.deepEqual(problems, [], label);
          const netlist = kicadNetlist(file);
          assert.match(netlist, /^V1 in 0 DC 0 AC 1|^V1 \S+ GND DC 0 AC 1/m);
          // The panel's nearest build, point for point, and its notch.
          const [header, ...rows] = parseCsv(await exported(page, 'curve-csv'));
          const column = header.indexOf('build-db');
          const notch = f['build-fo'].value;
          const [levels, fine] = sweptLevels(netlist, ['dec 100 0.5 5000', `lin 2001 ${notch * 0.98} ${notch * 1.0213}`]);
          assert.equal(levels.length, 401);
          const grid = rowsAt(rows, levels);
          grid.forEach((row, i) => {
            const panel = Number(row[column]);
            assert.ok(panel < -80 || Math.abs(levels[i][1] - panel) < 0.01, `${label} ${row[0]} Hz: ${levels[i][1]}, ${panel}`);
          });
          const vertex = vertexOf(fine);
          assert.ok(Math.abs(vertex / notch - 1) < 1e-4, `${label}: KiCad's netlist notches at ${vertex} Hz, the panel ${notch} Hz`);
          kicadPicture(file, path.join(shots, `kicad-${name}-${label}`));
        }
        // The same design, the same bytes.
        const again = await exported(page, 'kicad');
        await setChoice(page, 'network', 'passive');
        await setChoice(page, 'network', '10');
        assert.equal(await exported(page, 'kicad'), again);
        // Out of range for standard parts: no file, and why; no netlist either.
        await page.click('[data-design="netlist"]');
        await design(page, { solve: 'R', texts: ['', '1', '0.000001'], units: ['Ohm', 'uf', 'Hz'] });
        assert.match(await exported(page, 'kicad'), /out of range for standard parts: there is no schematic to draw/);
        assert.match(await exported(page, 'netlist'), /out of range for standard parts: there is nothing to simulate/);
        for (const name of ['kicad', 'netlist']) {
          assert.equal(await page.$eval(`#${name}-export a.save`, (a) => a.hidden && !a.hasAttribute('href')), true, name);
        }
      }, { downloads: folder });
    });

    // The netlists the page gave before the design code wrote them: the
    // same bytes for the same designs.
    test('export: the netlist is the very text the page gave for these designs before', async () => {
      const folder = path.join(root, 'tests/web/netlists');
      for (const [design, link] of Object.entries(JSON.parse(fs.readFileSync(path.join(folder, 'designs.json'), 'utf8')))) {
        await withPage(800, 700, async (page) => {
          await page.click('[data-design="netlist"]');
          // Less the noise analysis the netlist gained since.
          const netlist = (await exported(page, 'netlist')).replace(/^\* The output's noise [^]*?\.endc\n/m, '');
          assert.equal(netlist, fs.readFileSync(path.join(folder, `${design}.cir`), 'utf8'), design);
        }, { hash: `#${link}` });
      }
    });

    // Every export open at once: each long text scrolls in its own box, the
    // page is never wider than the window and the dialog stays in reach;
    // the curve CSV has every curve on every row, one row a frequency.
    test('export: all open, at any width; the curve CSV whole on every row', async () => {
      for (const width of [320, 1000, 1100, 1280]) {
        await withPage(width, 900, async (page) => {
          await setChoice(page, 'network', '10');
          await setChoice(page, 'opamp', 'tl072');
          await design(page, hum);
          for (const [i, field] of measuredNames.entries()) await paste(page, field, measuredHum[i]);
          for (const name of ['netlist', 'csv', 'curve-csv', 'kicad']) await page.click(`[data-design="${name}"]`);
          const layout = await page.evaluate(() => ({ scroll: document.documentElement.scrollWidth,
            dialog: document.querySelector('main').getBoundingClientRect().left }));
          assert.ok(layout.scroll <= width && layout.dialog >= 0, `${width}: ${JSON.stringify(layout)}`);
          await page.click(at(ids.IDC_SOLVE_C));
          assert.equal(await page.$eval(at(ids.IDC_SOLVE_C), (radio) => radio.checked), true, `${width}: the dialog in reach`);
          const [header, ...rows] = parseCsv(await exported(page, 'curve-csv'));
          assert.equal(header.length, 3 * 4 + 3 + 4);
          const hertz = rows.map((row) => Number(row[0]));
          assert.ok(hertz.every((f, i) => i === 0 || f > hertz[i - 1]), 'a row a frequency');
          assert.ok(rows.every((row) => row.slice(1, 13).every((cell) => cell !== '' && Number.isFinite(Number(cell)))),
            'every curve on every row');
          assert.ok(rows.length > 401, 'the notches among the points');
          await screenshot(page, `design-${name}-exports-${width}.png`);
        });
      }
    });

    test('export: every figure as CSV, shown and saved', () => {
      const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'notchwell-saved-'));
      return withPage(800, 700, async (page) => {
        await design(page, hum);
        for (const [i, field] of measuredNames.entries()) await paste(page, field, measuredHum[i]);
        await page.click('[data-design="csv"]');
        const csv = await exported(page, 'csv');
        const [header, ...rows] = parseCsv(csv);
        assert.deepEqual(header, ['figure', 'value', 'unit', 'text']);
        const shown = await figuresOf(page);
        const available = Object.entries(shown).filter(([, { value }]) => value !== undefined);
        assert.deepEqual(rows.map(([figure]) => figure), available.map(([figure]) => figure));
        for (const [figure, value, , text] of rows) {
          assert.equal(value, shown[figure].value, figure);
          assert.equal(text, shown[figure].text.replace(/\u00a0/g, ' '), figure);
        }
        const units = Object.fromEntries(rows.map(([figure, , unit]) => [figure, unit]));
        assert.deepEqual([units['build-r'], units.c, units.fo, units['depth-90'], units['exact-error'], units.q],
          ['Ω', 'F', 'Hz', 'dB', '%', '']);
        assert.equal(await saved(page, folder, '#csv-export a.save'), `\ufeff${csv}`);
      }, { downloads: folder });
    });

    test('link: the address reopens the design, without history entries, and Copy carries it', async () => {
      let link, before;
      await withPage(800, 700, async (page) => {
        const length = await page.evaluate(() => history.length);
        await setChoice(page, 'network', '2');
        await setChoice(page, 'resistor-series', 'E96');
        await design(page, hum);
        await paste(page, 'source', '4k7');
        // Typed but never taken by OK: the link keeps the design shown.
        await fill(page, ids.IDC_RESISTANCE, '20');
        await page.$eval(at(ids.IDC_SOLVE_C), (radio) => radio.click());
        for (const [i, field] of measuredNames.entries()) await paste(page, field, measuredHum[i]);
        link = await hash(page);
        assert.match(link, /^#v=1&solve=r&r=31\.830988&/);
        await fill(page, ids.IDC_RESISTANCE, '31.830988');
        await page.$eval(at(ids.IDC_SOLVE_R), (radio) => radio.click());
        assert.equal(await page.evaluate(() => history.length), length, 'no history entries');
        before = { state: await dialogState(page), figures: await figuresOf(page) };
        await page.reload();
        await page.waitForSelector('html[data-ready]');
        assert.deepEqual({ state: await dialogState(page), figures: await figuresOf(page) }, before, 'reloaded');
      });
      await withPage(800, 700, async (page) => {
        assert.deepEqual({ state: await dialogState(page), figures: await figuresOf(page) }, before, 'opened');
        assert.equal(await page.$eval('#link-note', (e) => e.hidden), true);
        assert.equal(await valueOf(page, ids.IDC_RESISTANCE), '31.830988');
        if (name === 'chromium') {
          await page.browserContext().overridePermissions('file://', ['clipboard-read', 'clipboard-sanitized-write']);
          await page.click('[data-design="copy"]');
          await until(page, () => document.getElementById('copy-status').textContent !== '');
          const copied = await page.evaluate(() => navigator.clipboard.readText());
          assert.ok(copied.split('\n').includes(`Link: ${await page.evaluate(() => location.href)}`));
        }
      }, { hash: link });
    });

    // Each gives the design or the page as it starts with a quiet note;
    // never a message box, and OK afterwards computes what it always does.
    const good = '#v=1&solve=r&r=&r-unit=kOhm&c=100&c-unit=nf&fo=50&fo-unit=Hz&resistor-series=E24' +
      '&capacitor-series=E12&resistor-tolerance=1&capacitor-tolerance=5&network=passive&resistor-tempco=50' +
      '&capacitor-tempco=200&temperature-range=0%2C70';
    const fragments = [
      ['hand-edited', good.replace('c=100', 'c=220'), null],
      ['truncated', good.slice(0, 60), /not a link to a design|out of range/],
      ['another version', good.replace('v=1', 'v=7'), /another version/],
      ['not ours', '#section-2', /not a link to a design/],
      ['a name twice', `${good}&c=47`, /not a link to a design/],
      ['foreign characters', good.replace('fo=50', 'fo=%E2%98%83%F0%9F%8E%B5').replace('c=100', 'c=%EF%BC%91%EF%BC%90'), 'either'],
      ['broken escapes', good.replace('c=100', 'c=%E0%A4%A'), 'either'],
      ['a text over 63 characters', good.replace('fo=50', `fo=${'5'.repeat(64)}`), /out of range/],
      ['a choice the page has not', good.replace('network=passive', 'network=3'), /out of range/],
      ['values the dialog refuses', good.replace('c=100', 'c=abc'), /give no design/],
      ['a source field with bad text', `${good}&source=1m`, 'marked'],
      ['a control character in a measured part', `${good}&measured-r1=3%013k`, 'marked'],
      ['a negative Fo', good.replace('fo=50', 'fo=-50'), null],
    ];
    test('link: fragments from outside give the design or the empty page with a note, never a box', async () => {
      for (const [what, fragment, note] of fragments) {
        await withPage(800, 700, async (page) => {
          const state = await dialogState(page);
          const noted = !(await page.$eval('#link-note', (e) => e.hidden));
          const text = await page.$eval('#link-note', (e) => e.textContent);
          assert.equal(state.box, false, what);
          if (note === 'marked') {
            // The form and the panel as the link was written, the bad field
            // marked with its message, and no figures of another design.
            const field = fragment.includes('source=') ? 'source' : 'measured-r1';
            assert.equal(noted, false, `${what}: ${text}`);
            assert.deepEqual(state.values, ['31.830988', '100', '50'], what);
            const marked = await fieldState(page, field);
            assert.equal(marked.invalid, 'true', what);
            assert.notEqual(marked.message, '', what);
            assert.match(await panelText(page), /appears once it is mended/, what);
          } else if (note === null || (note === 'either' && !noted)) {
            assert.equal(noted, false, `${what}: ${text}`);
            assert.notEqual(state.values.join(''), '', what);
          } else {
            assert.ok(noted, what);
            if (note instanceof RegExp) assert.match(text, note, what);
            assert.deepEqual(state.values, ['', '', ''], what);
            assert.match(await panelText(page), /Press OK with two of R, C and Fo/, what);
          }
          assert.doesNotMatch(await panelText(page), /NaN|Infinity|undefined/, what);
          await design(page, hum);
          assert.equal(await valueOf(page, ids.IDC_RESISTANCE), '31.830988', what);
        }, { hash: fragment });
      }
    });

    test('link: one that arrives while the message box is open is taken once the box closes', () =>
      withPage(800, 700, async (page) => {
        await design(page, { solve: 'R', texts: ['', 'abc', '50'], units: ['kOhm', 'nf', 'Hz'] });
        assert.equal((await dialogState(page)).box, true);
        await page.evaluate((fragment) => (location.hash = fragment), good);
        await new Promise((resolve) => setTimeout(resolve, 200));
        await page.keyboard.press('Enter');
        await until(page, () => document.querySelector('main input.value').value !== '');
        const state = await dialogState(page);
        assert.deepEqual([state.box, state.values], [false, ['31.830988', '100', '50']]);
        assert.equal(await page.$eval('#link-note', (e) => e.hidden), true);
      }));

    test('curve: the spread of the builds, each curve down to its own notch, wide beside the dialog', async () => {
      await withPage(1000, 800, async (page) => {
        await design(page, hum);
        for (const [i, field] of measuredNames.entries()) await paste(page, field, measuredHum[i]);
        const f = await expectNativeFigures(page);
        assert.ok(f['spread-low'].value <= -f['reject-90'].value && -f['reject-90'].value <= f['spread-high'].value);
        const plot = await page.$eval('#plot', (svg) => {
          const points = (path) => (path.getAttribute('d').match(/[\d.]+,[\d.]+/g) ?? []).map((p) => p.split(',').map(Number));
          const labels = Object.fromEntries(Array.from(svg.querySelectorAll('.grid [visibility="visible"] text'), (t) => [t.textContent, Number(t.getAttribute('y'))]));
          const curves = Object.fromEntries(['band', 'build', 'measured', 'ideal'].map((c) => [c, points(svg.querySelector(`path.${c}`))]));
          return { labels, curves, clipped: Array.from(svg.querySelectorAll('.marks [visibility="visible"] path.clipped'), (p) => p.classList[1]),
            width: svg.getBoundingClientRect().width };
        });
        assert.deepEqual([plot.curves.band.length, plot.curves.build.length, plot.curves.ideal.length], [402, 402, 402]);
        // The measured build's drawn depth is its own: 49.8 dB.
        const dbAt = (y) => (-80 * (y - (plot.labels['0\u00a0dB'] - 4))) / (plot.labels['\u221280'] - plot.labels['0\u00a0dB']);
        const deepest = Math.max(...plot.curves.measured.map(([, y]) => y));
        assert.ok(Math.abs(dbAt(deepest) + f['measured-depth'].value) < 0.3, `drawn ${dbAt(deepest)} dB`);
        assert.deepEqual(plot.clipped, ['ideal', 'build'], 'the nulls are cut at the floor and marked');
        const words = (await page.$eval('#response-text', (e) => e.innerText)).replace(/\s+/g, ' ');
        assert.match(words, /Shaded: where 90 % of the 2,000 random builds .* between −44\.3 dB and −30\.0 dB\./);
        assert.match(words, /your measured parts notch at 47\.883 Hz, 49\.8 dB deep/);
        assert.match(await page.$eval('.legend', (e) => e.innerText), /90 % of its builds/);
        // Wide: beside the dialog, the curve at least 560 pixels.
        const boxes = await page.evaluate(() => ['main', '#design'].map((s) => document.querySelector(s).getBoundingClientRect().toJSON()));
        assert.ok(boxes[1].left >= boxes[0].right && boxes[1].top < boxes[0].bottom, 'the panel beside the dialog');
        assert.ok(plot.width >= 560, `the curve ${plot.width} pixels wide`);
        await page.evaluate(() => window.scrollTo(0, 0));
        await screenshot(page, `design-${name}-wide.png`);
      });
    });
  });
}
