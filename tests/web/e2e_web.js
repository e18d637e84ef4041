// The live page end to end in one headless browser: No, the music on the clock, Escape, the
// end of the timeline, Play again, Yes and each failure message, with no uncaught error.
//   node e2e_web.js BROWSER WEB_DIR
'use strict';

const path = require('path');
const { serveFolder, launchBrowser } = require('./browser');
const { check, checkNoErrors, textOf, shown, waitUntil, pause, openQuestion, finish } = require('./page_checks');
const { failureMessages } = require('./failures_web');

const musicStartMs = 5000;
// The music starts with the first frame past 5 s: in Firefox on llvmpipe frames take up
// to 200 ms, and now and then one stalls a little longer.
const musicSlackMs = { chromium: 250, firefox: 400 };
const firstFrameBudgetMs = 1000;
const transferBudgetBytes = 8 * 1000 * 1000;
// Past the end of the timeline, which is about 196 s long.
const pastTheEndMs = 200 * 1000;

// Injected before the page's own scripts: a clock the test can move ahead.
function movableClock() {
  const realNow = performance.now.bind(performance);
  let aheadMs = 0;
  performance.now = () => realNow() + aheadMs;
  window.moveClockAhead = (ms) => { aheadMs += ms; };
}

async function answerNo(browser, label, served) {
  served.bytesSent = 0;
  const { page, errors } = await openQuestion(browser, served.url, label);
  check(await textOf(page, '#question-title') === 'NQL-004 "Glasswind"', 'the question has the demo title');
  check((await textOf(page, '#question')).includes('Run in fullscreen mode?'), 'the question asks about full screen');
  // As a viewer reads the question, the page decodes the music.
  await waitUntil(page, () => Module.glasswindPage.musicBuffer !== null);
  await page.click('#no');
  await waitUntil(page, () => !document.getElementById('canvas').hidden);
  const box = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    const r = c.getBoundingClientRect();
    return { width: c.width, height: c.height, left: r.left, top: r.top, page: window.innerWidth };
  });
  check(box.width === 800 && box.height === 450, `No gives an 800x450 canvas (${box.width}x${box.height})`);
  check(Math.abs(box.left - (box.page - 800) / 2) <= 1, 'the canvas is centred');
  await waitUntil(page, () => window.glasswindMusic !== undefined);
  const times = await page.evaluate(() => ({ music: window.glasswindMusic.startedAtMs, click: window.glasswindClickedAt,
    started: window.glasswindStartedAt, firstFrame: window.glasswindFirstFrameAt }));
  const afterStart = times.music - times.started;
  console.log(`the demo started ${(times.started - times.click).toFixed(0)} ms after the click (the music's decoding)`);
  check(times.firstFrame - times.click < firstFrameBudgetMs,
    `the first frame ${(times.firstFrame - times.click).toFixed(0)} ms after the click`);
  check(afterStart >= musicStartMs && afterStart < musicStartMs + musicSlackMs[label],
    `the music starts ${afterStart.toFixed(0)} ms after the demo clock (${(times.music - times.click).toFixed(0)} ms after the click)`);
  const fps = await page.evaluate(() => new Promise((resolve) => {
    let frames = 0;
    const start = performance.now();
    const count = () => { frames += 1; if (performance.now() - start < 2000) requestAnimationFrame(count); else resolve(frames / ((performance.now() - start) / 1000)); };
    requestAnimationFrame(count);
  }));
  console.log(`frame rate in headless ${label} (software): ${fps.toFixed(1)} fps`);
  check(served.bytesSent <= transferBudgetBytes, `the page transferred ${served.bytesSent} bytes`);
  await page.keyboard.press('Escape');
  await waitUntil(page, () => window.glasswindEnded === true, 5000);
  check(await shown(page, '#again'), 'Escape leaves the end state with Play again');
  await pause(300);
  checkNoErrors(errors, 'start, No, playing, Escape');
  await page.close();
}

// The timeline's end, reached by moving the page's clock past it; then Play again.
async function playToTheEnd(browser, label, served) {
  const { page, errors } = await openQuestion(browser, served.url, label, movableClock);
  await page.click('#no');
  await waitUntil(page, () => window.glasswindFirstFrameAt !== undefined);
  check(await page.evaluate(() => window.glasswindEnded === undefined), 'the demo plays on before its end');
  await page.evaluate((ms) => window.moveClockAhead(ms), pastTheEndMs);
  await waitUntil(page, () => window.glasswindEnded === true, 5000);
  check(await shown(page, '#again'), 'the end of the timeline leaves the end state with Play again');
  await Promise.all([page.waitForNavigation(), page.click('#again')]);
  await page.waitForSelector('#question:not([hidden])');
  check(await shown(page, '#question'), 'Play again asks the question again');
  checkNoErrors(errors, 'the end of the timeline, Play again');
  await page.close();
}

async function answerYes(browser, label, served) {
  const { page, errors } = await openQuestion(browser, served.url, label);
  await page.evaluate(() => {
    window.fullScreenAsked = false;
    const ask = Element.prototype.requestFullscreen;
    Element.prototype.requestFullscreen = function () { window.fullScreenAsked = true; return ask.call(this); };
  });
  await page.click('#yes');
  await waitUntil(page, () => window.fullScreenAsked === true, 5000).catch(() => {});
  check(await page.evaluate(() => window.fullScreenAsked), 'Yes asks for full screen');
  await waitUntil(page, () => window.glasswindFirstFrameAt !== undefined).catch(() => {});
  checkNoErrors(errors, 'Yes');
  await page.close();
}

async function main() {
  const [label, webDir] = [process.argv[2], path.resolve(process.argv[3])];
  const served = await serveFolder(webDir);
  const browser = await launchBrowser(label);
  console.log(`${label}: ${await browser.version()}`);
  try {
    await answerNo(browser, label, served);
    await playToTheEnd(browser, label, served);
    await answerYes(browser, label, served);
    await failureMessages(browser, label, webDir);
  } finally {
    await browser.close();
    served.server.close();
  }
  finish();
}

main().catch((error) => { console.error(error); process.exit(1); });
