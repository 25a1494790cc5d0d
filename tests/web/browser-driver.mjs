// How the web tests open the file users get (dist/notchwell.html, or
// NOTCHWELL_PAGE) in Debian's Chromium and Firefox ESR (NOTCHWELL_BROWSERS
// to choose), a fresh page for each test as a fresh start of the program,
// and what they check of every page: no console error, no page error and
// no request beyond the file itself.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { after, before } from 'node:test';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { browsers } from '../../tools/web/browsers.mjs';
import { at, controlIds as ids, root } from '../../tools/web/control-ids.mjs';

export const pageUrl = pathToFileURL(process.env.NOTCHWELL_PAGE ?? path.join(root, 'dist/notchwell.html')).href;
export const shots = process.env.NOTCHWELL_SCREENSHOTS ?? path.join(root, 'build/web');
export const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

export const browserNames = (process.env.NOTCHWELL_BROWSERS ?? 'chromium,firefox').split(',');

// Inside a describe for one browser: starts it before the tests and closes
// it after them; withPage(width, height, test, options) runs a test on a
// fresh page (options: `hash`, a fragment to open the page with; and
// `downloads`, a folder that saved files go to) and desktop(test) at
// 800 x 700.
export function browserSession(name) {
  let browser;
  before(async () => {
    browser = await puppeteer.launch({ ...browsers[name], headless: true, protocolTimeout: 120000 });
  });
  after(async () => browser?.close());

  async function withPage(width, height, test, { hash = '', downloads } = {}) {
    // Where the browser cannot be told where saved files go (Firefox ESR
    // 140), the tests read a download link's file from the page instead.
    const context = downloads
      ? await browser.createBrowserContext({ downloadBehavior: { policy: 'allow', downloadPath: downloads } })
        .catch(tolerated)
      : null;
    const page = await (context ?? browser).newPage();
    page.savesFiles = context !== null && context !== undefined;
    // There, every file the page offers is kept as the page makes it, by
    // its address.
    if (downloads && !page.savesFiles) {
      await page.evaluateOnNewDocument(() => {
        const create = URL.createObjectURL;
        window.offeredFiles = new Map();
        URL.createObjectURL = (blob) => {
          const address = create(blob);
          window.offeredFiles.set(address, blob);
          return address;
        };
      });
    }
    const problems = [];
    page.on('console', (m) => m.type() === 'error' && problems.push(`console: ${m.text()}`));
    page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
    page.on('request', (r) => {
      if (!r.url().startsWith('data:') && r.url().split('#')[0] !== pageUrl) problems.push(`request: ${r.url()}`);
    });
    try {
      await setViewport(page, width, height);
      await page.goto(`${pageUrl}${hash}`);
      await page.waitForSelector('html[data-ready]');
      await test(page);
      assert.deepEqual(problems, []);
    } finally {
      await page.close();
      await context?.close();
    }
  }
  return { withPage, desktop: (test) => withPage(800, 700, test) };
}

// A command this browser does not know (Firefox ESR 140 lacks some that
// newer ones have) is let pass; gives undefined.
function tolerated(error) {
  if (!/unknown command|unsupported operation/.test(error.message)) throw error;
}

// The viewport at width x height. Firefox ESR 140 knows the viewport's
// command but not the screen orientation's that puppeteer sends with it:
// the viewport is set all the same, a moment later.
async function setViewport(page, width, height) {
  await page.setViewport({ width, height }).catch(tolerated);
  await until(page, (w, h) => innerWidth === w && innerHeight === h, width, height);
  page.viewportSize = { width, height };
}

// A file a click on a download link saves, once it is whole; where the
// browser cannot be told where files go, the link's file as the page
// holds it, under the name the link gives it.
export async function saved(page, folder, link) {
  const name = await page.$eval(link, (a) => a.download);
  assert.ok(name !== '', 'the link names its file');
  if (!page.savesFiles) {
    return page.$eval(link, async (a) =>
      new TextDecoder('utf-8', { ignoreBOM: true }).decode(await window.offeredFiles.get(a.href).arrayBuffer()));
  }
  const file = path.join(folder, name);
  await page.click(link);
  let size = -1;
  for (let i = 0; i < 100 && !(fs.existsSync(file) && fs.statSync(file).size === size); ++i) {
    size = fs.existsSync(file) ? fs.statSync(file).size : -1;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return fs.readFileSync(file, 'utf8');
}

// Waits until `test` holds in the page, 10 s at most. (Firefox ESR 140
// refuses puppeteer's own wait under the page's content security policy.)
export async function until(page, test, ...args) {
  for (let tries = 0; tries < 200; ++tries) {
    if (await page.evaluate(test, ...args)) return;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`waited 10 s in vain for ${test}`);
}

// The control with a focus, by its control identifier; a field's value.
export const focused = (page) => page.evaluate(() => document.activeElement?.dataset.controlId ?? '');
export const valueOf = (page, id) => page.$eval(at(id), (e) => e.value);
export const fill = (page, id, text) => page.$eval(at(id), (e, t) => (e.value = t), text);
export const ok = (page) => page.click(at(ids.IDOK));

// axe-core's findings on the page as it stands.
export async function axeViolations(page) {
  if (!(await page.evaluate(() => 'axe' in window))) await page.evaluate(axeSource);
  return page.evaluate(async () =>
    (await window.axe.run()).violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`),
  );
}

// Sideways scrolling, and a screenshot of the whole page in build/web.
export async function screenshot(page, file) {
  fs.mkdirSync(shots, { recursive: true });
  assert.ok((await page.evaluate(() => document.documentElement.scrollWidth)) <= page.viewportSize.width,
    'no sideways scrolling');
  await page.screenshot({ path: path.join(shots, file), fullPage: true });
}
