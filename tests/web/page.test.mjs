// The web edition, opened from the file users get (dist/notchwell.html)
// in Debian's Chromium and Firefox ESR and driven as a person would: the
// shared table of OK presses (tests/form_cases.tsv, which the Windows
// dialog tests read too), then the keyboard, the typing limit and the
// page's own promises (no request, no console error, axe-core clean).
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { describe, test } from 'node:test';
import { at, controlIds as ids, root } from '../../tools/web/control-ids.mjs';
import { axeViolations, browserNames, browserSession, fill, focused, ok, screenshot, shots, valueOf } from './browser-driver.mjs';

const rowIds = {
  R: { solve: ids.IDC_SOLVE_R, value: ids.IDC_RESISTANCE, unit: ids.IDC_RESISTANCE_UNITS },
  C: { solve: ids.IDC_SOLVE_C, value: ids.IDC_CAPACITANCE, unit: ids.IDC_CAPACITANCE_UNITS },
  Fo: { solve: ids.IDC_SOLVE_FO, value: ids.IDC_FREQUENCY, unit: ids.IDC_FREQUENCY_UNITS },
};

const tableRows = fs
  .readFileSync(path.join(root, 'tests/form_cases.tsv'), 'utf8')
  .split('\n')
  .filter((line) => line !== '' && !line.startsWith('#'))
  .map((line) => line.split('\t'));
const header = tableRows.shift();
const cases = tableRows.map((cells) => Object.fromEntries(header.map((name, i) => [name, cells[i] ?? ''])));

for (const name of browserNames) {
  describe(name, () => {
    const { withPage, desktop } = browserSession(name);
    const messageBox = (page) =>
      page.$eval('#message-box', (box) => ({
        open: box.open,
        modal: box.matches(':modal'),
        role: box.getAttribute('role'),
        caption: box.querySelector('h2').textContent,
        text: box.querySelector('#message-text').textContent,
        icon: box.querySelector('svg.error-icon') !== null,
        buttons: Array.from(box.querySelectorAll('button'), (b) => b.textContent),
      }));

    test('starts with R marked, kOhm, nf and Hz, empty fields and the focus in R', () =>
      desktop(async (page) => {
        const state = await page.evaluate(() => ({
          checked: Array.from(document.querySelectorAll('input[type="radio"]'), (r) => r.checked),
          lists: Array.from(document.querySelectorAll('main select'), (s) => [
            Array.from(s.options, (o) => o.text),
            s.value,
          ]),
          fields: Array.from(document.querySelectorAll('input.value'), (i) => i.value),
          caption: document.querySelector('h1').textContent,
        }));
        assert.deepEqual(state, {
          checked: [true, false, false],
          lists: [
            [['Ohm', 'kOhm', 'mOhm'], 'kOhm'],
            [['pf', 'nf', 'uf'], 'nf'],
            [['Hz', 'kHz', 'mHz'], 'Hz'],
          ],
          fields: ['', '', ''],
          caption: 'Notchwell Network Calculator',
        });
        assert.equal(await focused(page), ids.IDC_RESISTANCE);
      }));

    // Error boxes are closed in turn by their OK button, Enter and Escape.
    const closeBox = [(page) => page.click('#message-ok'), (page) => page.keyboard.press('Enter'),
      (page) => page.keyboard.press('Escape')];
    cases.forEach((k, index) =>
      test(`OK press: ${k.case}`, () =>
        desktop(async (page) => {
          await page.click(at(rowIds[k.solve].solve));
          for (const row of ['R', 'C', 'Fo']) {
            await fill(page, rowIds[row].value, k[row]);
            await page.select(at(rowIds[row].unit), k[`${row} unit`]);
          }
          await ok(page);
          const target = rowIds[k.field].value;
          if (k.outcome === 'result') {
            assert.equal((await messageBox(page)).open, false);
            assert.equal(await valueOf(page, target), k.text);
            assert.equal(await focused(page), ids.IDC_RESISTANCE);
            return;
          }
          assert.deepEqual(await messageBox(page), {
            open: true,
            modal: true,
            role: 'alertdialog',
            caption: 'Notchwell Calculator',
            text: k.text,
            icon: true,
            buttons: ['OK'],
          });
          await closeBox[index % closeBox.length](page);
          assert.equal((await messageBox(page)).open, false);
          assert.equal(await focused(page), target);
          for (const row of ['R', 'C', 'Fo']) assert.equal(await valueOf(page, rowIds[row].value), k[row]);
        })),
    );

    // Keys as fast as a person's key repeat and faster: a box that was just
    // closed must not take the next one with it, and Tab stays on its OK
    // button as in the Windows message box.
    test('the message box stays up for OK pressed back to back, and Tab keeps to its button', () =>
      desktop(async (page) => {
        await page.click(at(ids.IDC_SOLVE_FO));
        await fill(page, ids.IDC_RESISTANCE, '10');
        await page.focus(at(ids.IDC_RESISTANCE));
        const onOk = () => page.evaluate(() => document.activeElement?.id === 'message-ok');
        for (let round = 0; round < 20; ++round) {
          for (let i = 0; i < 3; ++i) await page.keyboard.press('Enter'); // box, closed, box again
          await new Promise((resolve) => setTimeout(resolve, 60)); // a late close event arrives
          assert.equal((await messageBox(page)).open, true, `round ${round}`);
          await page.keyboard.press('Tab');
          assert.ok(await onOk(), 'Tab');
          await page.keyboard.down('Shift');
          await page.keyboard.press('Tab');
          await page.keyboard.up('Shift');
          assert.ok(await onOk(), 'Shift+Tab');
          await page.keyboard.press('Enter');
          assert.equal((await messageBox(page)).open, false);
          assert.equal(await focused(page), ids.IDC_CAPACITANCE);
        }
      }));

    test('a unit list without a selection makes OK do nothing', () =>
      desktop(async (page) => {
        await page.click(at(ids.IDC_SOLVE_FO));
        await fill(page, ids.IDC_RESISTANCE, 'abc');
        await fill(page, ids.IDC_FREQUENCY, 'old');
        await page.$eval(at(ids.IDC_CAPACITANCE_UNITS), (s) => (s.selectedIndex = -1));
        await page.focus(at(ids.IDC_CAPACITANCE));
        await page.keyboard.press('Enter');
        await ok(page);
        assert.equal((await messageBox(page)).open, false);
        assert.equal(await valueOf(page, ids.IDC_RESISTANCE), 'abc');
        assert.equal(await valueOf(page, ids.IDC_FREQUENCY), 'old');
        assert.equal(await focused(page), ids.IDOK);
      }));

    test('typing stops at 8 characters, yet a longer result is written and read in full', () =>
      desktop(async (page) => {
        await page.type(at(ids.IDC_RESISTANCE), '123456789');
        assert.equal(await valueOf(page, ids.IDC_RESISTANCE), '12345678');
        await fill(page, ids.IDC_RESISTANCE, '');
        await page.click(at(ids.IDC_SOLVE_C));
        await page.type(at(ids.IDC_RESISTANCE), '10');
        await page.type(at(ids.IDC_FREQUENCY), '1');
        await page.select(at(ids.IDC_CAPACITANCE_UNITS), 'pf');
        await page.select(at(ids.IDC_FREQUENCY_UNITS), 'kHz');
        await ok(page);
        assert.equal(await valueOf(page, ids.IDC_CAPACITANCE), '15915.494141');
        await page.click(at(ids.IDC_SOLVE_FO));
        await page.select(at(ids.IDC_FREQUENCY_UNITS), 'Hz');
        await ok(page);
        // 8 characters (15915.49) would give 1000.000297 Hz.
        assert.equal(await valueOf(page, ids.IDC_FREQUENCY), '1000.000000');
      }));

    test('Enter in any control presses OK', () =>
      desktop(async (page) => {
        await page.click(at(ids.IDC_SOLVE_FO));
        await fill(page, ids.IDC_RESISTANCE, '10');
        await fill(page, ids.IDC_CAPACITANCE, '10');
        for (const id of [ids.IDC_CAPACITANCE, ids.IDC_FREQUENCY, ids.IDC_FREQUENCY_UNITS, ids.IDC_SOLVE_FO]) {
          await fill(page, ids.IDC_FREQUENCY, '');
          await page.focus(at(id));
          await page.keyboard.press('Enter');
          assert.equal(await valueOf(page, ids.IDC_FREQUENCY), '1591.549438', `Enter in ${id}`);
          assert.equal(await focused(page), ids.IDC_RESISTANCE);
        }
      }));

    test('the radio buttons are one group that the arrow keys move through', () =>
      desktop(async (page) => {
        await page.click(at(ids.IDC_SOLVE_C));
        const moves = [
          ['ArrowDown', ids.IDC_SOLVE_FO],
          ['ArrowUp', ids.IDC_SOLVE_C],
          ['ArrowUp', ids.IDC_SOLVE_R],
          ['ArrowDown', ids.IDC_SOLVE_C],
        ];
        for (const [key, landsOn] of moves) {
          await page.keyboard.press(key);
          assert.equal(await focused(page), landsOn, key);
          const checked = await page.$$eval('input[type="radio"]:checked', (r) => r.map((e) => e.dataset.controlId));
          assert.deepEqual(checked, [landsOn]);
        }
      }));

    test('Tab goes through the controls in the dialog order', () =>
      desktop(async (page) => {
        const order = [ids.IDC_RESISTANCE_UNITS, ids.IDC_CAPACITANCE, ids.IDC_CAPACITANCE_UNITS, ids.IDC_FREQUENCY,
          ids.IDC_FREQUENCY_UNITS, ids.IDOK];
        for (const expected of order) {
          await page.keyboard.press('Tab');
          assert.equal(await focused(page), expected);
        }
        // Back from the R field: the radio group (its checked button) comes first.
        await page.focus(at(ids.IDC_RESISTANCE));
        await page.keyboard.down('Shift');
        await page.keyboard.press('Tab');
        await page.keyboard.up('Shift');
        assert.equal(await focused(page), ids.IDC_SOLVE_R);
      }));

    test('the schematic is the program\'s bitmap, pixel for pixel', () =>
      desktop(async (page) => {
        const shown = await page.$eval(at(ids.IDC_SCHEMATIC), (img) => {
          const canvas = document.createElement('canvas');
          [canvas.width, canvas.height] = [img.naturalWidth, img.naturalHeight];
          const context = canvas.getContext('2d');
          context.drawImage(img, 0, 0);
          const rgba = context.getImageData(0, 0, canvas.width, canvas.height).data;
          return { width: canvas.width, height: canvas.height, rgba: Array.from(rgba) };
        });
        // The BMP: 4 bits a pixel, bottom-up, rows padded to 4 bytes, a
        // palette of blue, green, red, reserved.
        const bmp = fs.readFileSync(path.join(root, 'res/schematic.bmp'));
        const [width, height] = [bmp.readInt32LE(18), bmp.readInt32LE(22)];
        assert.deepEqual([shown.width, shown.height], [width, height]);
        const stride = Math.ceil(width / 8) * 4;
        let differences = 0;
        for (let y = 0; y < height; ++y) {
          for (let x = 0; x < width; ++x) {
            const byte = bmp[bmp.readUInt32LE(10) + (height - 1 - y) * stride + (x >> 1)];
            const palette = 14 + bmp.readUInt32LE(14) + 4 * (x & 1 ? byte & 15 : byte >> 4);
            const i = 4 * (y * width + x);
            const expected = [bmp[palette + 2], bmp[palette + 1], bmp[palette], 255];
            if (expected.some((v, c) => shown.rgba[i + c] !== v)) ++differences;
          }
        }
        assert.equal(differences, 0);
      }));

    test('axe-core finds no violation, with and without the message box', () =>
      desktop(async (page) => {
        assert.deepEqual(await axeViolations(page), []);
        await ok(page);
        assert.equal((await messageBox(page)).open, true);
        assert.deepEqual(await axeViolations(page), []);
      }));

    test('the worked example reads well on a desktop and on a phone 320 pixels wide', async () => {
      for (const [width, height, kind] of [[800, 640, 'desktop'], [320, 640, 'phone']]) {
        await withPage(width, height, async (page) => {
          await page.click(at(ids.IDC_SOLVE_FO));
          await page.type(at(ids.IDC_RESISTANCE), '10');
          await page.type(at(ids.IDC_CAPACITANCE), '10');
          await page.keyboard.press('Enter');
          assert.equal(await valueOf(page, ids.IDC_FREQUENCY), '1591.549438');
          const focusShows = await page.$eval(at(ids.IDC_RESISTANCE), (e) => getComputedStyle(e).outlineStyle);
          assert.notEqual(focusShows, 'none', 'the focus is visible');
          await screenshot(page, `web-${name}-${kind}.png`);
          if (kind === 'desktop') await (await page.$('main')).screenshot({ path: path.join(shots, `web-${name}-window.png`) });
        });
      }
    });
  });
}
