// The design panel of the released page, in both browsers: worked designs
// end to end, every figure held to what the native build of the design
// code gives for the same texts (design-driver.mjs), the panel's choices
// and fields, bad text, the Copy text, small screens and print.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { describe, test } from 'node:test';
import { at, controlIds as ids, root } from '../../tools/web/control-ids.mjs';
import { axeViolations, browserNames, browserSession, focused, pageUrl, screenshot, shots, until, valueOf }
  from './browser-driver.mjs';
import { format } from '../../web/page/design/format.js';
import { choiceNames, design, expectNativeFigures, expectOnePrintedPage, fieldState, figuresOf, hum, measuredHum,
  measuredNames, panelText, paste, setChoice, solveC } from './design-driver.mjs';

// The worked example of the README: a sweep of the 50 Hz nearest build.
const exampleSweep = path.join(root, 'docs/example-sweep.csv');

for (const name of browserNames) {
  describe(name, () => {
    const { withPage, desktop } = browserSession(name);
    test('design: a 50 Hz hum filter from 100 nf, from the parts list to the curve', () =>
      desktop(async (page) => {
        assert.match(await panelText(page), /Press OK with two of R, C and Fo/);
        const lists = await page.$$eval('#design select', (selects) =>
          selects.map((s) => [s.dataset.design, s.value, Array.from(s.options, (o) => o.value)]));
        assert.deepEqual(lists, [
          ['network', 'passive', ['passive', '0.5', '1', '2', '5', '10']],
          ['opamp', 'ideal', ['ideal', 'lm358', 'tl072', 'ne5532', 'fast', 'custom']],
          ['resistor-series', 'E24', ['E12', 'E24', 'E48', 'E96']],
          ['capacitor-series', 'E12', ['E6', 'E12', 'E24']],
          ['plot-view', 'level', ['level', 'phase', 'delay', 'step', 'burst', 'noise']],
          ['resistor-tolerance', '1', ['0.1', '0.5', '1', '2', '5']],
          ['capacitor-tolerance', '5', ['1', '2', '5', '10']],
          ['resistor-tempco', '50', ['15', '25', '50', '100', '250']],
          ['capacitor-tempco', '200', ['30', '100', '200', '500']],
          ['temperature-range', '0,70', ['15,35', '0,70', '-40,85', '-55,125']],
          ['reject-band', '0.5', ['0.1', '0.2', '0.5', '1', '2', '5']],
          ['tune-built', 'nearest', ['nearest', 'measured']],
          ['tune-column', '', []],
          ['noise-band', '20-20k', ['20-20k', '22-22k', '20-80k', '10-500k']],
        ]);
        await design(page, hum);
        assert.equal(await valueOf(page, ids.IDC_RESISTANCE), '31.830988');
        assert.equal(await focused(page), ids.IDC_RESISTANCE);
        const f = await expectNativeFigures(page);
        const texts = Object.fromEntries(Object.entries(f).map(([n, { text }]) => [n, text.replace(/\u00a0/g, ' ')]));
        assert.deepEqual([texts.r, texts.r3, texts.c, texts.c3], ['31.83 kΩ', '15.92 kΩ', '100.0 nF', '200.0 nF']);
        assert.deepEqual([texts['build-r'], texts['build-c'], texts['best-r'], texts['best-c']],
          ['33 kΩ', '100 nF', '47 kΩ', '68 nF']);
        assert.ok(Math.abs(f['build-fo'].value * 2 * Math.PI * 33e3 * 100e-9 - 1) < 1e-7, 'a balanced build notches at 1/(2 pi R C)');
        assert.ok(Math.abs(f['build-error'].value - (f['build-fo'].value / 50 - 1) * 100) < 1e-4);
        assert.ok(f['fo-low'].value < f['build-fo'].value && f['build-fo'].value < f['fo-high'].value);
        assert.ok(f['depth-90'].value > 30 && f['depth-90'].value < 60, `depth-90 ${f['depth-90'].value}`);
        assert.equal(texts['band-low'], '11.80 Hz'); // 0.2361 Fo
        assert.equal(texts['band-high'], '211.8 Hz'); // 4.236 Fo
        assert.equal(texts.load, 'none');
        for (const figure of ['r', 'c', 'fo', 'build-fo', 'best-fo', 'fo-low', 'fo-high', 'notch', 'q']) {
          assert.ok(Number.isFinite(f[figure].value), figure);
        }
        assert.doesNotMatch(await panelText(page), /NaN|Infinity|undefined/);
        // Both curves, and a reading where the pointer is and by keys.
        const paths = await page.$$eval('#plot [clip-path] path', (p) =>
          p.map((e) => [e.classList[0], e.getAttribute('d').split('L').length]));
        // The 401 points and the curve's own notch; the band at every other point, both edges.
        assert.deepEqual(paths, [['band', 402], ['build', 402], ['measured', 1], ['opamp', 1], ['ideal', 402],
          ['sweep', 1], ['fitted', 1], ['noise-total', 1], ['noise-resistors', 1], ['noise-opamp-voltage', 1],
          ['noise-opamp-current', 1]]);
        const readout = () => page.$eval('#readout', (e) => e.textContent);
        await page.$eval('#plot', (plot) => plot.focus());
        await page.keyboard.press('ArrowRight');
        assert.match(await readout(), /^At 50\.\d\d\u00a0Hz: /);
        await page.keyboard.press('Home');
        assert.match(await readout(), /^At 0\.5000\u00a0Hz: /); // Fo/100, and never milli
        await page.hover('#plot');
        const read = await readout();
        assert.match(read, /^At [\d.]+\u00a0Hz: ideal network −?[\d.]+\u00a0dB, nearest build −?[\d.]+\u00a0dB\.$/);
        await page.$eval('#plot', (plot) => plot.focus());
        await page.keyboard.press('ArrowRight');
        assert.notEqual(await readout(), read);
      }));

    test('design: solving for C, and the choices of series and tolerance', () =>
      desktop(async (page) => {
        await design(page, solveC);
        assert.equal(await valueOf(page, ids.IDC_CAPACITANCE), '15.915494');
        let f = await expectNativeFigures(page);
        assert.equal(f['build-c'].value, 15e-9);
        const before = f['depth-90'].value;
        for (const [choice, value] of [['resistor-series', 'E96'], ['capacitor-series', 'E6'],
          ['resistor-tolerance', '0.1'], ['capacitor-tolerance', '1']]) {
          await setChoice(page, choice, value);
          f = await expectNativeFigures(page);
        }
        assert.equal(f['build-r'].value, 10e3);
        assert.equal(f['build-c'].value, 15e-9);
        assert.ok(f['depth-90'].value > before + 10, 'tighter parts, deeper notch');
      }));

    test('design: a 600 Ω source and a 10 kΩ load, and bad text in their fields', () =>
      desktop(async (page) => {
        await design(page, hum);
        const alone = await expectNativeFigures(page);
        await page.type('[data-design="source"]', '600');
        await page.type('[data-design="load"]', '10k');
        const loaded = await expectNativeFigures(page);
        const shownLoaded = await figuresOf(page);
        assert.equal(loaded.source.value, 600);
        assert.equal(loaded.load.value, 10e3);
        assert.ok(loaded['band-low'].value > alone['band-low'].value * 1.5, 'the source and load move the band');

        const dialog = () => page.$$eval('main input.value', (inputs) => inputs.map((i) => i.value));
        const form = await dialog();
        for (const [field, text, message] of [
          ['source', 'abc', /^Enter a resistance in ohms/],
          ['source', '-5', /cannot be negative/],
          ['load', '0', /would short the output/],
          ['load', '1m', /Write M for megohms/],
        ]) {
          await paste(page, field, text);
          const state = await fieldState(page, field);
          assert.equal(state.invalid, 'true', text);
          assert.match(state.message, message);
          assert.ok(state.tied, 'the message is tied to its field');
          assert.deepEqual(await figuresOf(page), shownLoaded, 'the last good figures stay');
          assert.deepEqual(await dialog(), form);
          await page.$eval(`[data-design="${field}"]`, (e) => (e.value = ''));
          await page.type(`[data-design="${field}"]`, field === 'source' ? '600' : '10k');
          assert.deepEqual(await fieldState(page, field), { invalid: null, message: '', tied: false });
        }
        await page.$eval('[data-design="load"]', (e) => (e.value = ''));
        await page.type('[data-design="load"]', '4k7');
        assert.equal((await expectNativeFigures(page)).load.value, 4700);
        assert.deepEqual(await axeViolations(page), []);
      }));

    test('design: an active network of Q = 2 for 50 Hz, its divider and schematic, and the load it ignores', () =>
      desktop(async (page) => {
        const names = await page.$$eval('[data-design="network"] option', (o) => o.map((e) => e.textContent));
        assert.deepEqual(names, ['Passive (Q = 0.25)', 'Active, Q = 0.5', 'Active, Q = 1', 'Active, Q = 2',
          'Active, Q = 5', 'Active, Q = 10']);
        await setChoice(page, 'network', '2');
        assert.equal(await page.$eval('#load-note', (e) => e.hidden), false, 'the load field says it has no effect');
        await design(page, hum);
        const f = await expectNativeFigures(page);
        assert.equal(f.k.value, 0.875);
        assert.deepEqual([f['divider-top'].value, f['divider-bottom'].value, f['k-build'].value], [1300, 9100, 0.875]);
        assert.ok(Math.abs(f.q.value - 2) < 1e-6 && Math.abs(f['q-build'].value - 2) < 1e-9);
        assert.ok(f['depth-90'].value < f['depth-90-passive'].value - 10, 'the sharper notch is shallower');
        const labels = await page.$$eval('.circuit text', (t) => t.map((e) => e.textContent.replace(/\u00a0/g, ' ')));
        for (const label of ['R1 33 kΩ', 'C3 2 × 100 nF', 'R3 33 kΩ ∥ 33 kΩ', '1.3 kΩ', '9.1 kΩ']) {
          assert.ok(labels.includes(label), label);
        }
        assert.ok(await page.$eval('.circuit', (e) => e.getBoundingClientRect().height > 100), 'the schematic shows');
        await (await page.$('#design')).screenshot({ path: path.join(shots, `design-${name}-active.png`) });
        if (name === 'chromium') await expectOnePrintedPage(page);
        await paste(page, 'load', '47');
        const loaded = await expectNativeFigures(page);
        for (const figure of Object.keys(f)) if (figure !== 'load') assert.equal(loaded[figure].value, f[figure].value, figure);

        // Q = 10 for 10 kOhm and 10 nf: five corner builds rise instead.
        await setChoice(page, 'network', '10');
        await design(page, { solve: 'Fo', texts: ['10', '10', ''], units: ['kOhm', 'nf', 'Hz'] });
        const sharp = await expectNativeFigures(page);
        assert.equal(sharp['no-notch-corners'].value, 5);
        assert.match(await panelText(page), /No notch at all in 5 of the 256 builds/);
        await setChoice(page, 'network', 'passive');
        assert.equal(await page.$eval('#load-note', (e) => e.hidden), true);
        assert.equal(await page.$eval('.circuit', (e) => e.getBoundingClientRect().height), 0);
      }));

    test('design: a 20 kHz notch at Q = 10 with real op-amps: what they do, what it needs, your own op-amp', () =>
      desktop(async (page) => {
        const shown = (selector) => page.$eval(selector, (e) => e.getClientRects().length > 0);
        assert.equal(await shown('[data-design="opamp"]'), false, 'no op-amps in a passive network');
        await setChoice(page, 'network', '10');
        await design(page, { solve: 'R', texts: ['', '1', '20'], units: ['kOhm', 'nf', 'kHz'] });
        const ideal = await expectNativeFigures(page);
        assert.equal(ideal['opamp-q'].text, '–');
        assert.match(await panelText(page), /The op-amps are taken as ideal/);
        const options = await page.$$eval('[data-design="opamp"] option', (o) => o.map((e) => e.textContent.replace(/\u00a0/g, ' ')));
        assert.deepEqual(options, ['Ideal', 'LM358, LM324: 1 MHz, 100 dB, 0.3 V/µs', 'TL072, TL082: 3 MHz, 106 dB, 13 V/µs',
          'NE5532: 10 MHz, 100 dB, 9 V/µs', 'a fast audio op-amp: 50 MHz, 120 dB, 20 V/µs', 'Custom: your own figures']);
        await setChoice(page, 'opamp', 'tl072');
        const f = await expectNativeFigures(page);
        const text = (name) => f[name].text.replace(/\u00a0/g, ' ');
        assert.deepEqual(['opamp-band-low', 'opamp-band-high', 'opamp-q', 'opamp-peak', 'opamp-gbw-needed', 'opamp-slew-limit']
          .map(text), ['19.28 kHz', '21.95 kHz', '7.51', '0.82 dB', '8.7 MHz', '20.7 V']);
        assert.equal(text('q'), '10.00', 'Q with the same digits everywhere');
        assert.equal(f.q.value, ideal.q.value, 'the ideal network stays the reference');
        assert.equal(f['build-fo'].value, ideal['build-fo'].value, 'the null stays');
        assert.notEqual(f['build-reject'].value, ideal['build-reject'].value);
        const words = (await panelText(page)).replace(/\u00a0/g, ' ');
        assert.match(words, /need at least 8\.7 MHz of gain-bandwidth; 3 MHz gives Q = 7\.51 and a 0\.82 dB peak\./);
        assert.match(words, /The op-amps move none of this/);
        const paths = await page.$$eval('#plot path.opamp:not(.clipped)', (p) => p.map((e) => e.getAttribute('d').split('L').length));
        assert.deepEqual(paths, [402]);
        await (await page.$('#design')).screenshot({ path: path.join(shots, `design-${name}-opamp.png`) });
        // Copy carries them (shown to copy by hand, as where a browser refuses the clipboard).
        await page.evaluate(() => (navigator.clipboard.writeText = () => Promise.reject(new Error('refused'))));
        await page.click('[data-design="copy"]');
        await until(page, () => !document.getElementById('copy-text').hidden);
        const copied = await page.$eval('#copy-text', (e) => e.value.split('\n'));
        for (const line of ['  op-amps: TL072, TL082: 3 MHz, 106 dB, 13 V/µs; every build below is worked out with them',
          '  with them the ideal parts: half power at 19.28 kHz below the notch and at 21.95 kHz above it, Q = 7.51, peak 0.82 dB',
          '  for Q within 5 % of ideal op-amps\' and a peak under 0.5 dB: at least 8.7 MHz of gain-bandwidth']) {
          assert.ok(copied.includes(line), line);
        }

        // Your own op-amp starts from the TL072's figures; bad text keeps the last figures.
        await setChoice(page, 'opamp', 'custom');
        const fields = ['opamp-gbw', 'opamp-gain', 'opamp-slew', 'opamp-en', 'opamp-in'];
        assert.deepEqual(await Promise.all(fields.map((n) => page.$eval(`[data-design="${n}"]`, (e) => e.value))),
          ['3 MHz', '106', '13', '18', '0.01']);
        assert.deepEqual(await expectNativeFigures(page), f);
        const before = await figuresOf(page);
        // The gain-bandwidth is the ninth field: its problem is its own, never "no network".
        for (const [field, bad, message] of [['opamp-gbw', '3m', /Write M for megahertz/],
          ...['abc', '', ' ', '999', '1e11', '3,5M', 'NaN'].map((text) => ['opamp-gbw', text, /./]),
          ['opamp-gain', '200', /from 40 dB to 160 dB/], ['opamp-slew', '', /Enter a slew rate/],
          ['opamp-en', '5 pA', /Enter the voltage noise in nV\/√Hz/], ['opamp-in', '-1', /from 0 to 1000 pA\/√Hz/]]) {
          const good = await page.$eval(`[data-design="${field}"]`, (e) => e.value);
          await paste(page, field, bad);
          const state = await fieldState(page, field);
          assert.equal(state.invalid, 'true', bad);
          assert.match(state.message, message);
          assert.deepEqual(await figuresOf(page), before, 'the last good figures stay');
          assert.doesNotMatch(await panelText(page), /make no network/, bad);
          await paste(page, field, good);
        }
        // A bad gain while the gain-bandwidth is empty: both marked, the figures stay.
        await paste(page, 'opamp-gbw', '');
        await paste(page, 'opamp-gain', '200');
        assert.deepEqual([(await fieldState(page, 'opamp-gbw')).invalid, (await fieldState(page, 'opamp-gain')).invalid],
          ['true', 'true']);
        assert.deepEqual(await figuresOf(page), before);
        await paste(page, 'opamp-gain', '106');
        await paste(page, 'opamp-gbw', '3 MHz');
        await paste(page, 'opamp-gbw', '1G');
        assert.ok((await expectNativeFigures(page))['opamp-peak'].value < 0.01);
        assert.deepEqual(await axeViolations(page), []);
        // Back to a passive network: the fields no longer count, and say nothing.
        await paste(page, 'opamp-gain', 'x');
        await setChoice(page, 'network', 'passive');
        assert.deepEqual(await fieldState(page, 'opamp-gain'), { invalid: null, message: '', tied: false });
        assert.equal(await shown('[data-design="opamp-gain"]'), false);
      }));

    // A 1 GHz notch at Q = 10 with op-amps of 1 kHz and 40 dB: they pass
    // almost nothing there, and the panel says so; the plot reaches down
    // to every curve it draws.
    const weakOpAmps = '#v=1&solve=r&r=&r-unit=kOhm&c=1&c-unit=pf&fo=1000&fo-unit=mHz&resistor-series=E24' +
      '&capacitor-series=E12&resistor-tolerance=1&capacitor-tolerance=5&network=10&resistor-tempco=50' +
      '&capacitor-tempco=200&temperature-range=0%2C70&opamp=custom&opamp-gbw=1k&opamp-gain=40&opamp-slew=0.01';
    test('design: op-amps that pass almost nothing at Fo, said plainly, and every curve on the plot', () =>
      withPage(800, 700, async (page) => {
        const f = await expectNativeFigures(page);
        assert.ok(f['opamp-follower-gain'].value < -100, `${f['opamp-follower-gain'].value} dB`);
        const words = (await panelText(page)).replace(/\u00a0/g, ' ');
        assert.match(words, /At Fo each follower's own gain is −1\d\d\.\d dB, more than 3 dB down: with these op-amps the circuit is no notch filter at Fo/);
        assert.match(words, /at half power \(3\.01 dB below their level far below the notch\) nowhere below the notch and nowhere above it/);
        assert.doesNotMatch(words, /at – and –/);
        const plot = await page.$eval('#plot', (svg) => {
          const ys = (path) => (path.getAttribute('d').match(/[\d.]+,[\d.]+/g) ?? []).map((p) => Number(p.split(',')[1]));
          // The level axis's labels stand 4 pixels below their lines.
          const labels = Array.from(svg.querySelectorAll('.grid [visibility="visible"] text[text-anchor="end"]'), (t) => Number(t.getAttribute('y')));
          return { floor: Math.max(...labels) - 4,
            curves: ['ideal', 'build', 'opamp'].map((c) => ys(svg.querySelector(`path.${c}`))) };
        });
        plot.curves.forEach((ys, i) => {
          assert.ok(ys.filter((y) => y < plot.floor - 1).length > ys.length / 2, `curve ${i} above the floor`);
        });
      }, { hash: weakOpAmps }));

    test('design: at 50 Hz itself, passive and at Q = 10: rejection, two parts a position, trimmers, harmonics', () =>
      desktop(async (page) => {
        await design(page, hum);
        const f = await expectNativeFigures(page);
        const text = (name) => f[name].text.replace(/\u00a0/g, ' ');
        assert.deepEqual(['build-reject', 'reject-90', 'exact-fo', 'exact-reject'].map(text),
          ['34.9 dB', '30.8 dB', '49.984 Hz', '75.2 dB']);
        assert.deepEqual(['exact-r', 'exact-r3', 'exact-c', 'exact-c3'].map((n) => f[n].parts),
          ['parallel:33000,910000', 'parallel:16000,3000000', '1e-07', 'parallel:1e-07,1e-07']);
        assert.deepEqual(['trim-r1-fixed', 'trim-r1-pot', 'trim-r3-fixed', 'trim-r3-pot'].map(text),
          ['27 kΩ', '10 kΩ', '13 kΩ', '10 kΩ']);
        assert.ok(f['trim-r1-low'].value < 33e3 && f['trim-r1-high'].value > 33e3);
        assert.deepEqual(['h2', 'h3'].map(text), ['−9.09 dB', '−5.12 dB']);
        const words = (await panelText(page)).replace(/\u00a0/g, ' ');
        for (const phrase of ['Takes off 50.00 Hz itself\t34.9 dB', '33 kΩ and 910 kΩ in parallel',
          'at 50.00 Hz itself 90 % take at least 30.8 dB off', '(add 9.09 dB)', 'set R1 and R3 in turn']) {
          assert.ok(words.includes(phrase), phrase);
        }
        assert.equal(await page.$eval('#trim-none', (e) => e.hidden), true);

        // At Q = 10 the nearest build misses 50 Hz: it takes 4.7 dB off.
        await setChoice(page, 'network', '10');
        const sharp = await expectNativeFigures(page);
        assert.equal(sharp['build-reject'].text.replace(/\u00a0/g, ' '), '4.7 dB');
        await setChoice(page, 'temperature-range', '-55,125');
        assert.ok((await expectNativeFigures(page))['drift-reject'].value < sharp['drift-reject'].value);
      }));

    test('design: the 50 Hz filter in time and phase: every view with its read-out, keys and words; the reject band', () =>
      withPage(1280, 860, async (page) => {
        for (const [network, settle] of [['passive', ['39.9 ms', '56.4 ms', '0.126']], ['2', ['58.1 ms', '48.3 ms', '0.644']],
          ['10', ['287 ms', '146 ms', '0.907']]]) {
          await setChoice(page, 'network', network);
          await design(page, hum);
          const f = await expectNativeFigures(page);
          const text = (n) => f[n].text.replace(/\u00a0/g, ' ');
          assert.deepEqual(['burst-settle', 'step-settle', 'step-low'].map(text), settle, network);
          assert.ok(f['band-reject-90'].value <= f['band-reject'].value && f['band-reject'].value < f['build-reject'].value);
        }
        const words = (await panelText(page)).replace(/\u00a0/g, ' ');
        assert.match(words, /From 49\.75 Hz to 50\.25 Hz the ideal network takes at least 20\.0 dB off, the nearest build 3\.9 dB/);
        assert.match(words, /the nearest build's switch-on transient is below 1 % after 288 ms; it then keeps 4\.7 dB off/);
        const half = await figuresOf(page);
        await setChoice(page, 'reject-band', '1');
        const wider = await expectNativeFigures(page);
        assert.ok(wider['band-reject-ideal'].value < half['band-reject-ideal'].value);
        assert.match((await panelText(page)).replace(/\u00a0/g, ' '), /From 49\.50 Hz to 50\.50 Hz/);

        // Each view: its heading, its curves' points, a reading from the
        // keys, and words for those who do not see it.
        const views = { level: [/Response/, 402, /At 50\.00 Hz: ideal network −\d+\.\d dB, nearest build −4\.7 dB/],
          phase: [/Phase/, 401, /At 50\.00 Hz: ideal network −?\d+\.\d°, nearest build 54\.2°/],
          delay: [/Group delay/, 401, /At 50\.00 Hz: ideal network 63\.\d ms, nearest build \d+\.\d ms/],
          step: [/unit step/, 801, /At 0 s: ideal network 1\.000, nearest build 1\.000/],
          burst: [/switched on/, 801, /At 0 s: ideal network 0\.000, nearest build 0\.000/] };
        for (const [view, [heading, points, reading]] of Object.entries(views)) {
          await setChoice(page, 'plot-view', view);
          assert.match(await page.$eval('#response-heading', (e) => e.textContent), heading);
          const paths = await page.$$eval('#plot path.ideal:not(.clipped), #plot path.build:not(.clipped)', (p) => p.map((e) => e.getAttribute('d').split('L').length));
          assert.deepEqual(paths, [points, points], view);
          await page.$eval('#plot', (e) => e.focus());
          await page.keyboard.press('ArrowUp');
          assert.match((await page.$eval('#readout', (e) => e.textContent)).replace(/\u00a0/g, ' '), reading);
          const said = await page.$eval('#response-text', (e) => e.innerText);
          assert.match(said, view === 'level' ? /logarithmic axis, in dB/ : /ideal network/, view);
          assert.equal(await page.$eval('#view-text', (e) => e.hidden), view === 'level');
          await (await page.$('#response')).screenshot({ path: path.join(shots, `design-${name}-view-${view}.png`) });
        }
        // The time view reaches a little past the slowest settling time.
        await page.keyboard.press('End');
        const end = Number((await page.$eval('#readout', (e) => e.textContent)).match(/At ([\d.]+)\s+ms/)[1]);
        assert.ok(end > 288 && end < 400, `${end} ms`);
        // Copy carries the band, the times and the view; the link the choices.
        await page.evaluate(() => (navigator.clipboard.writeText = () => Promise.reject(new Error('refused'))));
        await page.click('[data-design="copy"]');
        await until(page, () => !document.getElementById('copy-text').hidden);
        const copied = await page.$eval('#copy-text', (e) => e.value.split('\n'));
        for (const line of [/^Reject band ±1 %: from 49\.50 Hz to 50\.50 Hz at least [\d.]+ dB off \(ideal network\)/,
          /^Sine at Fo switched on: ideal network within 1 % after 287 ms; nearest build within 1 % after 288 ms, then 4\.7 dB off$/,
          /^Unit step: ideal network within 1 % after 146 ms, lowest 0\.907; nearest build within 1 % after 151 ms/,
          /^Plot: Sine at Fo switched on$/]) {
          assert.ok(copied.some((l) => line.test(l)), String(line));
        }
        await new Promise((resolve) => setTimeout(resolve, 400));
        const link = new URLSearchParams((await page.evaluate(() => location.hash)).slice(1));
        assert.deepEqual([link.get('reject-band'), link.get('plot-view')], ['1', 'burst']);
      }));

    test('design: the views at a phone\'s width', () =>
      withPage(375, 800, async (page) => {
        await setChoice(page, 'network', '10');
        await design(page, hum);
        for (const view of ['level', 'phase', 'delay', 'step', 'burst', 'noise']) {
          await setChoice(page, 'plot-view', view);
          await (await page.$('#response')).screenshot({ path: path.join(shots, `design-${name}-phone-${view}.png`) });
        }
        const width = await page.$eval('#response', (e) => e.scrollWidth <= e.clientWidth + 1);
        assert.ok(width, 'nothing wider than the phone');
        assert.deepEqual(await axeViolations(page), []);
      }));

    test('design: measured parts, where they notch and how to trim them; bad text keeps the figures', () =>
      desktop(async (page) => {
        await design(page, hum);
        assert.match(await panelText(page), /Fill in all six/);
        for (const [i, name] of measuredNames.entries()) await page.type(`[data-design="${name}"]`, measuredHum[i]);
        const f = await expectNativeFigures(page);
        const text = (name) => f[name].text.replace(/\u00a0/g, ' ');
        assert.deepEqual(['measured-fo', 'measured-trim-r1', 'measured-trim-r1-change', 'measured-trim-r3-change']
          .map(text), ['47.883 Hz', '30.05 kΩ', '−9.48 %', '−2.42 %']);
        assert.doesNotMatch(await panelText(page), /Fill in all six/);
        const legend = await page.$eval('.legend', (e) => e.innerText);
        assert.match(legend, /your measured parts/);
        assert.equal(await page.$eval('#plot path.measured', (e) => e.getAttribute('d').split('L').length), 402);
        await page.$eval('#plot', (plot) => plot.focus());
        await page.keyboard.press('ArrowRight');
        assert.match(await page.$eval('#readout', (e) => e.textContent), /, measured parts −?[\d.]+\u00a0dB\.$/);

        const shown = await figuresOf(page);
        for (const [name, bad, message] of [['measured-c1', '1m', /small m/], ['measured-r2', '4.7n', /resistance in ohms/],
          ['measured-c3', '-2n', /cannot be negative/], ['measured-r1', '0', /from 0.001 Ω/]]) {
          await paste(page, name, bad);
          const state = await fieldState(page, name);
          assert.equal(state.invalid, 'true', bad);
          assert.match(state.message, message);
          assert.ok(state.tied);
          assert.deepEqual(await figuresOf(page), shown, 'the last good figures stay');
          await paste(page, name, measuredHum[measuredNames.indexOf(name)]);
        }
        assert.deepEqual(await figuresOf(page), shown);
        await paste(page, 'measured-r3', '');
        assert.match(await panelText(page), /Fill in all six/);
        assert.equal((await figuresOf(page))['measured-fo'].value, undefined);
        assert.deepEqual(await axeViolations(page), []);
      }));

    test('tune: a measured sweep from a file or pasted: the turns of R1 and R3, the points and the fitted build', () =>
      desktop(async (page) => {
        await design(page, hum);
        await paste(page, 'source', '600');
        await paste(page, 'load', '10k');
        // Bad text: marked, its first bad line named, no trims.
        await paste(page, 'tune-sweep', 'Hz, dB\n40, -3\n39, -4\n');
        await until(page, () => document.querySelector('[data-design="tune-sweep"]').hasAttribute('aria-invalid'));
        const bad = await fieldState(page, 'tune-sweep');
        assert.deepEqual([bad.invalid, bad.message, bad.tied],
          ['true', "Line 3: the frequency does not rise above the line before's.", true]);
        assert.equal((await figuresOf(page))['tune-r1-change'].value, undefined);
        // The worked example of the README, loaded from its file.
        await (await page.$('[data-design="tune-file"]')).uploadFile(exampleSweep);
        await until(page, () => document.querySelector('[data-figure="tune-r1-change"]').dataset.value !== undefined);
        assert.equal((await fieldState(page, 'tune-sweep')).invalid, null);
        const f = await figuresOf(page);
        const text = (name) => f[name].text.replace(/\u00a0/g, ' ');
        assert.deepEqual(['tune-points', 'tune-notch', 'tune-r1-change', 'tune-r3-change', 'tune-r1'].map(text),
          ['401', '48.561 Hz', '−4.51 %', '−4.66 %', '31.57 kΩ']);
        for (const [name, { value }] of Object.entries(f)) assert.ok(value === undefined || Number.isFinite(Number(value)), name);
        const trim = await page.$eval('#tune-trim', (e) => e.textContent.replace(/\u00a0/g, ' '));
        assert.equal(trim, 'Turn R1 down by 4.51 ± 0.15 % (to about 31.57 kΩ) and R3 down by 4.66 ± 0.17 % (to about' +
          ' 15.76 kΩ): the null then lies on 50.00 Hz.');
        // The points as dots and the fitted build's curve, in the legend, the read-out and the words.
        const legend = await page.$eval('.legend', (e) => e.innerText);
        assert.match(legend, /measured sweep[\s\S]*fitted build/);
        const drawn = () => page.$$eval('#plot [clip-path] path.sweep, #plot [clip-path] path.fitted', (paths) =>
          paths.map((e) => e.getAttribute('d').split(/[ML]/).length - 1));
        assert.deepEqual(await drawn(), [401, 402]); // every point of the sweep; the fitted curve with its notch
        assert.match(await page.$eval('#clipped-text', (e) => e.textContent), /fitted to your sweep notches at 48\.561[\s\S]*401 points run from 5\.000/);
        await page.$eval('#plot', (plot) => plot.focus());
        await page.keyboard.press('ArrowRight');
        assert.match(await page.$eval('#readout', (e) => e.textContent), /fitted build −[\d.]+\u00a0dB, measured sweep −[\d.]+\u00a0dB at 50\.\d\d\u00a0Hz\.$/);
        await screenshot(page, `design-${name}-tune.png`);
        await setChoice(page, 'plot-view', 'phase');
        assert.deepEqual(await drawn(), [401, 401]);
        await setChoice(page, 'plot-view', 'delay');
        assert.deepEqual((await drawn())[0], 0, 'no measured points where no phase or level is drawn');
        await setChoice(page, 'plot-view', 'level');
        // The link keeps which build was measured, not the sweep.
        const link = new URLSearchParams((await page.evaluate(() => location.hash)).slice(1));
        assert.equal(link.get('tune-built'), 'nearest');
        assert.ok(![...link.keys()].some((key) => key.includes('sweep')));
        // The measured parts are offered once all six are given.
        const offered = () => page.$eval('[data-design="tune-built"] option[value="measured"]', (o) => !o.disabled);
        assert.equal(await offered(), false);
        for (const [i, part] of measuredNames.entries()) await paste(page, part, measuredHum[i]);
        assert.equal(await offered(), true);
        assert.deepEqual(await axeViolations(page), []);
      }));

    test('tune: a sweep file read each time it is chosen, as programs write it; one far too large refused unread', () =>
      desktop(async (page) => {
        await design(page, hum);
        const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'notchwell-sweep-'));
        const file = path.join(folder, 'sweep.csv');
        const input = await page.$('[data-design="tune-file"]');
        const note = () => page.$eval('#tune-file-note', (e) => e.textContent);
        async function choose(bytes, points) {
          fs.writeFileSync(file, bytes);
          await input.uploadFile(file);
          await until(page, (n) => Number(document.querySelector('[data-figure="tune-points"]').dataset.value) === n, points);
        }
        const example = fs.readFileSync(exampleSweep, 'utf8');
        // UTF-16 with its mark, as Windows programs save text.
        await choose(Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(example, 'utf16le')]), 401);
        assert.match(await note(), /^Read sweep\.csv at \d\d:\d\d:\d\d\.$/);
        // The same name chosen again after a new measurement is read again;
        // a UTF-8 mark before a sweep with no header keeps its first point.
        const lines = example.split('\n').filter((line, i) => i % 2 === 1);
        await choose(`\ufeff${lines.join('\n')}`, lines.length);
        // An oscilloscope's Bode file: its output's columns read, another
        // column to be chosen from the list.
        await choose(fs.readFileSync(path.join(root, 'tests/web/sweep-layouts/oscilloscope-bode.csv')), 401);
        assert.equal(await page.$eval('#tune-columns', (e) => e.textContent),
          'Read “CH2 Amplitude(dB)” as the level and “CH2 Phase(Deg)” as its phase.');
        assert.ok(await page.$eval('[data-design="tune-column"]', (e) => e.offsetParent !== null), 'the list shows');
        await page.select('[data-design="tune-column"]', '0');
        await until(page, () => document.getElementById('tune-columns').textContent.includes('CH1 Amplitude'));
        // Fifty megabytes: refused at once, and the field keeps none of it.
        fs.truncateSync(file, 50e6);
        await input.uploadFile(file);
        await until(page, () => document.querySelector('[data-design="tune-sweep"]').hasAttribute('aria-invalid'));
        assert.match((await fieldState(page, 'tune-sweep')).message, /^More than 2 MB of text/);
        assert.equal(await page.$eval('[data-design="tune-sweep"]', (e) => e.value), '');
        assert.equal(await note(), 'sweep.csv (50.0 MB) was not read.');
        fs.rmSync(folder, { recursive: true });
      }));

    test('design: a band edge 4.5 decades below the notch, where a 100 kΩ source dwarfs 14.8 Ω', () =>
      desktop(async (page) => {
        await design(page, { solve: 'Fo', texts: ['14.8', '1.77e+07', ''], units: ['Ohm', 'pf', 'Hz'] });
        await page.type('[data-design="source"]', '100k');
        const f = await expectNativeFigures(page);
        assert.ok(Math.abs(f['band-low'].value / 0.02248 - 1) < 0.01, `band-low ${f['band-low'].value}`);
        assert.match(await page.$eval("#response-text", (e) => e.textContent), /at 0\.02248\u00a0Hz below the notch/);
      }));

    // A distortion analyser's floor behind a 1 kHz notch of 10 kΩ: the band
    // and signal it reads against, the op-amps' noise, the noise view and
    // the link that keeps them.
    test('noise: the floor behind a Q = 10 notch, its band and signal, the noise view and the link', async () => {
      let hash, floor;
      await withPage(1280, 860, async (page) => {
        await setChoice(page, 'network', '10');
        await setChoice(page, 'opamp', 'ne5532');
        await design(page, solveC);
        const f = await expectNativeFigures(page);
        assert.deepEqual(['opamp-en', 'opamp-in'].map((n) => f[n].text.replace(/\u00a0/g, ' ')), ['5 nV/√Hz', '0.7 pA/√Hz']);
        const squares = ['noise-resistors', 'noise-opamp-voltage', 'noise-opamp-current'].reduce((sum, n) => sum + f[n].value ** 2, 0);
        assert.ok(Math.abs(Math.sqrt(squares) / f['noise-total'].value - 1) < 1e-9, 'the parts add up to the total');
        assert.ok(f['noise-floor-tenth'].value > f['noise-floor'].value);
        const words = () => panelText(page).then((text) => text.replace(/\u00a0/g, ' '));
        assert.match(await words(), new RegExp(`Behind this notch an analyser reads noise ${f['noise-floor'].text.replace(/\u00a0/g, ' ')
        } below 1 V over 20 Hz–20 kHz; most of it is the (resistors'|op-amps') [a-z ']+\\. With a tenth of the impedance it would be [\\d.]+ dB\\.`));
        // Against 2 V rms over 22 Hz–22 kHz: the floor 6.02 dB further down, and a little more noise.
        await setChoice(page, 'noise-band', '22-22k');
        await paste(page, 'noise-signal', '2 V');
        const wider = await expectNativeFigures(page);
        assert.ok(Math.abs(wider['noise-floor'].value - f['noise-floor'].value - 20 * Math.log10(2 * f['noise-total'].value /
          wider['noise-total'].value)) < 1e-9);
        assert.match(await words(), /below 2 V over 22 Hz–22 kHz/);
        await paste(page, 'noise-signal', '2m');
        assert.match((await fieldState(page, 'noise-signal')).message, /a small m could mean milli or mega/);
        assert.deepEqual(await figuresOf(page).then((now) => now['noise-floor'].value), String(wider['noise-floor'].value.toPrecision(12)));
        await paste(page, 'noise-signal', '2');
        // The noise view: each source's density, read at Fo from the keys.
        await setChoice(page, 'plot-view', 'noise');
        assert.match(await page.$eval('#response-heading', (e) => e.textContent), /Output noise/);
        const paths = await page.$$eval('#plot path[class^="noise-"]', (p) => p.map((e) => e.getAttribute('d').split('L').length));
        assert.deepEqual(paths, [401, 401, 401, 401]);
        await page.$eval('#plot', (e) => e.focus());
        await page.keyboard.press('ArrowUp');
        const reading = (await page.$eval('#readout', (e) => e.textContent)).replace(/\u00a0/g, ' ');
        assert.ok(reading.startsWith(`At 1.000 kHz: total noise ${format(wider['noise-density'].value, 'volt-per-root-hertz', 3, false)
          .replace(/\u00a0/g, ' ')}, resistors `), reading);
        assert.match(await page.$eval('#view-text', (e) => e.textContent), /output noise density of the nearest build/);
        await (await page.$('#response')).screenshot({ path: path.join(shots, `design-${name}-view-noise.png`) });
        // The link brings the band, the signal and the view back.
        await new Promise((resolve) => setTimeout(resolve, 400));
        hash = await page.evaluate(() => location.hash);
        floor = (await figuresOf(page))['noise-floor'].value;
      });
      const link = new URLSearchParams(hash.slice(1));
      assert.deepEqual(['noise-band', 'noise-signal', 'plot-view'].map((n) => link.get(n)), ['22-22k', '2', 'noise']);
      await withPage(1280, 860, async (page) => {
        await until(page, () => document.querySelector('[data-figure="noise-floor"]').dataset.value !== undefined);
        assert.equal((await expectNativeFigures(page))['noise-floor'].value, Number(floor));
      }, { hash });
    });

    test('design: Copy puts the design on the clipboard, or shows it to copy by hand', () =>
      desktop(async (page) => {
        await design(page, hum);
        const f = await figuresOf(page);
        const plain = (figure) => f[figure].text.replace(/\u00a0/g, ' ');
        const expected = [
          'Notchwell: twin-T notch design',
          `  R1 = R2 = ${plain('r')}, R3 = R/2 = ${plain('r3')}`,
          `  Nearest build: R1 = R2 = 33 kΩ, R3 = two 33 kΩ in parallel; C1 = C2 = 100 nF, C3 = two 100 nF in parallel`,
          `  Best pair: R = 47 kΩ, C = 68 nF: notch at ${plain('best-fo')}, off Fo by ${plain('best-error')};` +
            ` takes ${plain('best-reject')} off 50.00 Hz itself`,
          '  R1, R2 each: 33 kΩ and 910 kΩ in parallel, making 31.845 kΩ',
          '  R1 from 27.57 kΩ to 34.36 kΩ: fixed 27 kΩ in series with a 10 kΩ trimmer',
          '  2 Fo: −9.09 dB, −8.64 dB',
          'Network: Passive (Q = 0.25)',
          `  90 % of 2,000 random builds notch at least ${plain('depth-90')} below the source's voltage;` +
            ` at 50.00 Hz itself 90 % take at least ${plain('reject-90')} off`,
          'Source resistance 0 Ω, load none',
        ];
        const status = () => page.$eval('#copy-status', (e) => e.textContent);
        if (name === 'chromium') {
          await page.browserContext().overridePermissions('file://', ['clipboard-read', 'clipboard-sanitized-write']);
        }
        await page.click('[data-design="copy"]');
        await until(page, () => document.getElementById('copy-status').textContent !== '');
        const copied = (await status()).startsWith('Copied');
        const text = copied
          ? await page.evaluate(() => navigator.clipboard.readText()).catch(() => null)
          : await page.$eval('#copy-text', (e) => e.value);
        if (text !== null) for (const line of expected) assert.ok(text.split('\n').includes(line), line);

        // A browser that refuses: the text, selected, to copy by hand.
        await page.evaluate(() => {
          navigator.clipboard.writeText = () => Promise.reject(new DOMException('refused', 'NotAllowedError'));
        });
        await page.click('[data-design="copy"]');
        await until(page, () => !document.getElementById('copy-text').hidden);
        assert.match(await status(), /select the text below/);
        const shown = await page.$eval('#copy-text', (e) => ({
          lines: e.value.split('\n'),
          selected: e.selectionEnd - e.selectionStart === e.value.length,
          focused: document.activeElement === e,
        }));
        for (const line of expected) assert.ok(shown.lines.includes(line), line);
        assert.ok(shown.selected && shown.focused);
      }));

    test('design: values beyond standard parts stay finite, and a form without a network says so', () =>
      desktop(async (page) => {
        await design(page, { solve: 'Fo', texts: ['1e30', '1e-30', ''], units: ['Ohm', 'pf', 'Hz'] });
        const f = await expectNativeFigures(page);
        assert.ok(Number.isFinite(f.notch.value) && Number.isFinite(f['band-high'].value));
        const notes = await page.$$eval('.range-note', (n) => n.filter((e) => !e.hidden).map((e) => e.textContent));
        assert.equal(notes.length, 2);
        for (const note of notes) assert.match(note, /out of range for standard parts/);
        assert.doesNotMatch(await panelText(page), /NaN|Infinity|undefined/);

        await design(page, { solve: 'Fo', texts: ['-10', '10', ''], units: ['kOhm', 'nf', 'Hz'] });
        assert.equal(await valueOf(page, ids.IDC_FREQUENCY), '-1591.549438');
        assert.match(await panelText(page), /make no network to build/);
        assert.equal(await page.$$eval('#design [data-when]', (e) => e.filter((x) => !x.hidden).length), 0);
      }));

    test('design: a written field that lost its digits, a form without a network, and why', () =>
      desktop(async (page) => {
        const note = () => page.$eval('#form-note', (e) => (e.hidden ? '' : e.textContent.replace(/\u00a0/g, ' ')));
        await design(page, hum);
        assert.equal(await note(), '');
        // 1.5 Hz written in mHz keeps one digit: the panel designs for 1 Hz, and says so.
        await design(page, { solve: 'Fo', texts: ['100', '1.061033', ''], units: ['kOhm', 'uf', 'mHz'] });
        assert.equal(await valueOf(page, ids.IDC_FREQUENCY), '0.000001');
        assert.ok(Math.abs((await expectNativeFigures(page)).fo.value - 1) < 1e-8);
        assert.match(await note(), /^The Fo field shows 0\.000001 \(mHz, that is mega\), which reads as 1\.000 Hz, but the calculation gave 1\.500 Hz: the panel designs for what the field shows\. A smaller unit for Fo shows more digits\.$/);
        // Already in hertz, only a larger Fo shows more digits.
        await design(page, { solve: 'Fo', texts: ['100', '1061033', ''], units: ['kOhm', 'uf', 'Hz'] });
        assert.match(await note(), /Fo is already in its smallest unit, Hz: a smaller R or C makes Fo larger, with more digits\.$/);
        // All of them lost: no network, and the reason.
        await design(page, { solve: 'Fo', texts: ['108.8219', '4083665', ''], units: ['kOhm', 'pf', 'mHz'] });
        assert.equal(await valueOf(page, ids.IDC_FREQUENCY), '0.000000');
        assert.match(await panelText(page), /make no network to build: Fo reads as zero\./);
        assert.match(await note(), /shows 0\.000000 \(mHz, that is mega\), which reads as zero, but the calculation gave 0\.3581 Hz\./);
        assert.equal(await page.$eval('#design-intro', (e) => e.hidden), false, 'never an empty panel');
        // A negative value: the reason, and a link that opens the same form.
        await design(page, { solve: 'Fo', texts: ['-10', '10', ''], units: ['kOhm', 'nf', 'Hz'] });
        assert.match(await panelText(page), /make no network to build: R is negative\./);
        await new Promise((resolve) => setTimeout(resolve, 400));
        const link = await page.evaluate(() => location.hash);
        await page.goto('about:blank');
        await page.goto(`${pageUrl}${link}`);
        await page.waitForSelector('html[data-ready]');
        assert.deepEqual(await page.$$eval('main input.value', (i) => i.map((e) => e.value)), ['-10', '10', '-1591.549438']);
        assert.match(await panelText(page), /R is negative/);
        assert.equal(await page.$eval('#link-note', (e) => e.hidden), true);
      }));

    test('design: control characters and values beyond any real part in the panel\'s fields', () =>
      desktop(async (page) => {
        await design(page, hum);
        await paste(page, 'source', '600');
        const shown = await figuresOf(page);
        for (const [field, text, message] of [
          ['source', '6\u00000', /^Enter a resistance in ohms/],
          ['load', '\u00006', /^Enter a resistance in ohms/],
          ['measured-r1', '33\u0000k', /^Enter a resistance in ohms/],
          ['measured-c2', '1\u0007n', /^Enter a capacitance/],
          ['source', '1e-150', /^Enter 0 Ω for none, or a resistance from 0\.001 Ω/],
          ['source', '1e-300', /^Enter 0 Ω for none/],
          ['source', '5e-324', /^Enter 0 Ω for none/],
          ['load', '1e-300', /^Leave the field empty for no load, or enter a resistance from 0\.001 Ω/],
        ]) {
          await paste(page, field, text);
          const state = await fieldState(page, field);
          assert.equal(state.invalid, 'true', JSON.stringify(text));
          assert.match(state.message.replace(/\u00a0/g, ' '), message, JSON.stringify(text));
          assert.deepEqual(await figuresOf(page), shown, 'the last good figures stay');
          await paste(page, field, field === 'source' ? '600' : '');
        }
        assert.doesNotMatch(await panelText(page), /NaN|Infinity|undefined/);
        assert.equal((await expectNativeFigures(page)).source.value, 600);
      }));

    test('design: Tab goes on from OK through the panel; it reads at 320 pixels and prints on one page', async () => {
      await withPage(800, 700, async (page) => {
        await design(page, hum);
        await page.focus(at(ids.IDOK));
        const order = [];
        for (let i = 0; i < 20; ++i) {
          await page.keyboard.press('Tab');
          order.push(await page.evaluate(() => document.activeElement.dataset.design ?? document.activeElement.id));
        }
        // Below 1000 pixels the curve follows the standard parts.
        assert.deepEqual(order, ['network', ...choiceNames.slice(0, 2), 'plot-view', 'plot', ...choiceNames.slice(2, 4),
          ...choiceNames.slice(5), 'reject-band', 'source', 'load', ...measuredNames, 'tune-built']);
        await screenshot(page, `design-${name}-desktop.png`);
        await (await page.$('#design')).screenshot({ path: path.join(shots, `design-${name}-panel.png`) });
        if (name === 'chromium') await expectOnePrintedPage(page);
      });
      // A long result on the form, and the design's figures, on a phone.
      await withPage(320, 640, async (page) => {
        await design(page, { solve: 'C', texts: ['1', '', '1e-20'], units: ['Ohm', 'pf', 'Hz'] });
        assert.ok((await valueOf(page, ids.IDC_CAPACITANCE)).length > 20);
        await screenshot(page, `design-${name}-phone-long.png`);
        await design(page, hum);
        await page.type('[data-design="source"]', '600');
        await page.type('[data-design="load"]', '10k');
        await screenshot(page, `design-${name}-phone.png`);
        assert.deepEqual(await axeViolations(page), []);
      });
    });
  });
}
