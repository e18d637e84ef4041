// The live page's failure messages (the music missing or not music, no Web Audio, a canvas
// without WebGL 2), each in the page's message box and without an uncaught error.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const { serveFolder } = require('./browser');
const { check, checkNoErrors, textOf, shown, waitUntil, pause, openQuestion } = require('./page_checks');

const musicFile = path.join('data', 'glasswind.mp3');

// Run ahead of the page: the browser has no Web Audio.
function withoutWebAudio() {
  delete window.AudioContext;
  delete window.webkitAudioContext;
}

// Run ahead of the page: the demo's canvas gets no WebGL 2 context, any other canvas does.
function canvasWithoutWebGl2() {
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
    return this.id === 'canvas' && kind === 'webgl2' ? null : getContext.call(this, kind, ...rest);
  };
}

const saysNoWebGl2 = (text) => /WebGL 2/.test(text) && /another browser/.test(text) && /hardware acceleration/.test(text);

// change: alters a copy of the page's folder; beforeLoad: runs ahead of the page;
// says: what the message must say; ends: whether the end state (Play again) follows it.
const cases = [
  { what: 'a missing music file', change: (dir) => fs.rmSync(path.join(dir, musicFile)),
    says: (text) => text.startsWith("Can't play file") && /code: 2\b/.test(text), ends: true },
  { what: 'a music file that is no music', change: (dir) => fs.writeFileSync(path.join(dir, musicFile), 'no music\n'.repeat(512)),
    says: (text) => text.startsWith("Can't play file") && /code: 41\b/.test(text), ends: true },
  { what: 'no Web Audio', beforeLoad: withoutWebAudio,
    says: (text) => text.startsWith("Can't initialize device"), ends: true },
  { what: 'a canvas without WebGL 2', beforeLoad: canvasWithoutWebGl2, says: saysNoWebGl2, ends: false },
];

async function failureMessage(browser, label, webDir, failure) {
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'glasswind-web-'));
  fs.cpSync(webDir, copy, { recursive: true });
  if (failure.change) {
    failure.change(copy);
  }
  const served = await serveFolder(copy);
  try {
    const { page, errors } = await openQuestion(browser, served.url, label, failure.beforeLoad);
    await page.click('#no');
    await page.waitForSelector('#message:not([hidden])', { timeout: 10000 }).catch(() => {});
    const text = await textOf(page, '#message-text');
    check(failure.says(text), `${failure.what} shows "${text.replace('\n', ' ')}"`);
    if (failure.ends) {
      await waitUntil(page, () => window.glasswindEnded === true, 5000).catch(() => {});
      check(await shown(page, '#again'), `${failure.what}: and the demo ends with Play again`);
    } else {
      await pause(500);
      check(!(await shown(page, '#canvas')) && !(await shown(page, '#again')), `${failure.what}: the message alone, no canvas`);
    }
    checkNoErrors(errors, failure.what);
    await page.close();
  } finally {
    served.server.close();
    fs.rmSync(copy, { recursive: true, force: true });
  }
}

async function failureMessages(browser, label, webDir) {
  for (const failure of cases) {
    await failureMessage(browser, label, webDir, failure);
  }
}

module.exports = { failureMessages, saysNoWebGl2 };
