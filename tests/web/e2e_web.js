// The live page end to end in headless Chromium: the question, No for an 800x450
// canvas, the frames it draws, the music about 5 s after the click, Escape and the end
// state; then Yes asking for full screen, and a missing music file.
//   node e2e_web.js WEB_DIR
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const { serveFolder, launchChromium } = require('./browser');

const musicStartMs = 5000;
const musicSlackMs = 250;
const firstFrameBudgetMs = 1000;
const transferBudgetBytes = 8 * 1000 * 1000;
const failures = [];
const check = (ok, what) => {
  console.log(`${ok ? 'ok' : 'FAIL'}: ${what}`);
  if (!ok) failures.push(what);
};

async function openQuestion(context, url) {
  const page = await context.newPage();
  page.on('console', (message) => console.log('page: ' + message.text()));
  await page.goto(url);
  await page.waitForSelector('#question:not([hidden])');
  return page;
}

async function answerNo(context, served) {
  served.bytesSent = 0;
  const page = await openQuestion(context, served.url);
  check(await page.textContent('#question-title') === 'NQL-004 "Glasswind"', 'the question has the demo title');
  check((await page.textContent('#question')).includes('Run in fullscreen mode?'), 'the question asks about full screen');
  await page.click('#no');
  await page.waitForFunction(() => !document.getElementById('canvas').hidden);
  const box = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    const r = c.getBoundingClientRect();
    return { width: c.width, height: c.height, left: r.left, top: r.top, page: window.innerWidth };
  });
  check(box.width === 800 && box.height === 450, `No gives an 800x450 canvas (${box.width}x${box.height})`);
  check(Math.abs(box.left - (box.page - 800) / 2) <= 1, 'the canvas is centred');
  await page.waitForFunction(() => window.glasswindMusic !== undefined, null, { timeout: 15000 });
  const times = await page.evaluate(() => ({ music: window.glasswindMusic.startedAtMs, click: window.glasswindClickedAt,
    started: window.glasswindStartedAt, firstFrame: window.glasswindFirstFrameAt }));
  const afterStart = times.music - times.started;
  console.log(`the demo started ${(times.started - times.click).toFixed(0)} ms after the click (the music's decoding)`);
  check(times.firstFrame - times.click < firstFrameBudgetMs,
    `the first frame ${(times.firstFrame - times.click).toFixed(0)} ms after the click`);
  check(afterStart >= musicStartMs && afterStart < musicStartMs + musicSlackMs,
    `the music starts ${afterStart.toFixed(0)} ms after the demo clock (${(times.music - times.click).toFixed(0)} ms after the click)`);
  const fps = await page.evaluate(() => new Promise((resolve) => {
    let frames = 0;
    const start = performance.now();
    const count = () => { frames += 1; if (performance.now() - start < 2000) requestAnimationFrame(count); else resolve(frames / ((performance.now() - start) / 1000)); };
    requestAnimationFrame(count);
  }));
  console.log(`frame rate in headless Chromium (software): ${fps.toFixed(1)} fps`);
  check(served.bytesSent <= transferBudgetBytes, `the page transferred ${served.bytesSent} bytes`);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.glasswindEnded === true, null, { timeout: 5000 });
  check(await page.isVisible('#again'), 'Escape leaves the end state with Play again');
  await page.close();
}

async function answerYes(context, served) {
  const page = await openQuestion(context, served.url);
  await page.evaluate(() => {
    window.fullScreenAsked = false;
    const ask = Element.prototype.requestFullscreen;
    Element.prototype.requestFullscreen = function () { window.fullScreenAsked = true; return ask.call(this); };
  });
  await page.click('#yes');
  await page.waitForFunction(() => window.fullScreenAsked === true, null, { timeout: 5000 }).catch(() => {});
  check(await page.evaluate(() => window.fullScreenAsked), 'Yes asks for full screen');
  await page.close();
}

async function missingMusic(context, webDir) {
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'glasswind-web-'));
  fs.cpSync(webDir, copy, { recursive: true });
  fs.rmSync(path.join(copy, 'data', 'glasswind.mp3'));
  const served = await serveFolder(copy);
  const page = await openQuestion(context, served.url);
  await page.click('#no');
  await page.waitForSelector('#message:not([hidden])', { timeout: 10000 });
  const text = await page.textContent('#message-text');
  check(text.startsWith("Can't play file"), `a missing music file shows "${text.replace('\n', ' ')}"`);
  check(await page.evaluate(() => window.glasswindEnded === true), 'and the demo ends');
  await page.close();
  served.server.close();
  fs.rmSync(copy, { recursive: true, force: true });
}

async function main() {
  const webDir = path.resolve(process.argv[2]);
  const served = await serveFolder(webDir);
  const browser = await launchChromium();
  try {
    await answerNo(browser.context, served);
    await answerYes(browser.context, served);
    await missingMusic(browser.context, webDir);
  } finally {
    await browser.close();
    served.server.close();
  }
  console.log(`${failures.length === 0 ? 'all passed' : failures.length + ' failed'}`);
  process.exit(failures.length === 0 ? 0 : 1);
}

main().catch((error) => { console.error(error); process.exit(1); });
