// What the web tests share once a page is open: the ok/FAIL lines and their tally, the
// page's question opened with its uncaught errors watched, and short looks at the page.
'use strict';

const { watchPage } = require('./browser');

const failures = [];

function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAIL'}: ${what}`);
  if (!ok) failures.push(what);
}

// errors: the list watchPage fills; where: the path the page went.
function checkNoErrors(errors, where) {
  check(errors.length === 0, `no uncaught error: ${where}${errors.length ? ' (' + errors.join('; ') + ')' : ''}`);
}

const textOf = (page, selector) => page.$eval(selector, (element) => element.textContent);
const shown = (page, selector) => page.$eval(selector, (element) => !element.hidden && element.getClientRects().length > 0);
const waitUntil = (page, test, timeout = 15000) => page.waitForFunction(test, { timeout, polling: 100 });
const pause = (ms) => new Promise((resolve) => { setTimeout(resolve, ms); });

// A new page at url, beforeLoad (if any) run ahead of the page's own scripts; resolves
// once it asks its question, to { page, errors }.
async function openQuestion(browser, url, label, beforeLoad) {
  const page = await browser.newPage();
  const errors = watchPage(page, label);
  if (beforeLoad) {
    await page.evaluateOnNewDocument(beforeLoad);
  }
  await page.goto(url);
  await page.waitForSelector('#question:not([hidden])');
  return { page, errors };
}

// Prints the tally and ends the process with its status.
function finish() {
  console.log(`${failures.length === 0 ? 'all passed' : failures.length + ' failed'}`);
  process.exit(failures.length === 0 ? 0 : 1);
}

module.exports = { check, checkNoErrors, textOf, shown, waitUntil, pause, openQuestion, finish };
