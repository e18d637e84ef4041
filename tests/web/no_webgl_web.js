// The live page and a still in browsers started without WebGL 2: the message saying so and
// nothing else (no question, no canvas, nothing fetched past the page, no uncaught error).
//   node no_webgl_web.js WEB_DIR [BROWSER]     (every case, or BROWSER's only)
'use strict';

const path = require('path');
const { serveFolder, launchBrowser, watchPage } = require('./browser');
const { check, checkNoErrors, textOf, shown, pause, finish } = require('./page_checks');
const { saysNoWebGl2 } = require('./failures_web');

// Long enough for a question or the program's download to have begun.
const settleMs = 500;
const cases = [
  { browser: 'chromium', how: '--disable-webgl2 (WebGL 1 left)', extra: { args: ['--disable-webgl2'] } },
  { browser: 'chromium', how: '--disable-webgl', extra: { args: ['--disable-webgl'] } },
  { browser: 'firefox', how: 'webgl.enable-webgl2 off (WebGL 1 left)', extra: { prefs: { 'webgl.enable-webgl2': false } } },
  { browser: 'firefox', how: 'webgl.disabled', extra: { prefs: { 'webgl.disabled': true } } },
];
const pageFiles = ['/', '/index.html', '/page.js'];
const pages = [{ name: 'the live page', query: '' }, { name: 'a still', query: 'index.html?at=61900&size=320x180' }];

async function openWithoutWebGl2(browser, served, label, shownPage) {
  const page = await browser.newPage();
  const errors = watchPage(page, label);
  served.requests.length = 0;
  await page.goto(served.url + shownPage.query);
  await page.waitForSelector('#message:not([hidden])', { timeout: 10000 }).catch(() => {});
  await pause(settleMs);
  const text = await textOf(page, '#message-text');
  const where = `${label}, ${shownPage.name}`;
  check(saysNoWebGl2(text), `${where}: "${text}"`);
  check(!(await shown(page, '#question')) && !(await shown(page, '#canvas')) && !(await shown(page, '#end')),
    `${where}: no question, no canvas, no end state`);
  const fetched = served.requests.filter((name) => !pageFiles.includes(name));
  check(fetched.length === 0, `${where}: nothing fetched past the page${fetched.length ? ' (' + fetched.join(', ') + ')' : ''}`);
  check(await page.evaluate(() => document.title !== 'ready'), `${where}: never ready`);
  checkNoErrors(errors, where);
  await page.close();
}

async function runCase(served, testCase) {
  const label = `${testCase.browser} with ${testCase.how}`;
  const browser = await launchBrowser(testCase.browser, testCase.extra);
  try {
    const blank = await browser.newPage();
    const contexts = await blank.evaluate(() => ({
      webgl2: document.createElement('canvas').getContext('webgl2') !== null,
      webgl: document.createElement('canvas').getContext('webgl') !== null,
    }));
    await blank.close();
    console.log(`${label}: WebGL 1 ${contexts.webgl ? 'there' : 'missing'}`);
    check(!contexts.webgl2, `${label} has no WebGL 2`);
    for (const shownPage of pages) {
      await openWithoutWebGl2(browser, served, label, shownPage);
    }
  } finally {
    await browser.close();
  }
}

async function main() {
  const [webDir, only] = [path.resolve(process.argv[2]), process.argv[3]];
  const served = await serveFolder(webDir);
  try {
    for (const testCase of cases.filter((c) => !only || c.browser === only)) {
      await runCase(served, testCase);
    }
  } finally {
    served.server.close();
  }
  finish();
}

main().catch((error) => { console.error(error); process.exit(1); });
