// Draws every golden moment in one headless browser (chromium or firefox) from build/web
// (index.html?at=MS&size=WxH) and writes each canvas as a PNG, named as the references are:
//   node golden_web.js BROWSER WEB_DIR MOMENTS_FILE SIZE OUT_DIR
'use strict';

const fs = require('fs');
const path = require('path');
const { serveFolder, launchBrowser, watchPage } = require('./browser');

const stillTimeoutMs = 60000;

function readMoments(file) {
  return fs.readFileSync(file, 'utf8').split('\n')
    .map((line) => line.replace(/#.*/, '').trim()).filter((line) => line !== '').map((line) => parseInt(line, 10));
}

async function drawStills(page, url, moments, size, outDir) {
  for (const atMs of moments) {
    await page.goto(`${url}index.html?at=${atMs}&size=${size}`);
    await page.waitForFunction(() => document.title === 'ready', { timeout: stillTimeoutMs, polling: 50 });
    const png = await page.evaluate(() => document.getElementById('canvas').toDataURL('image/png'));
    const name = String(atMs).padStart(6, '0') + '.png';
    fs.writeFileSync(path.join(outDir, name), Buffer.from(png.split(',')[1], 'base64'));
  }
}

async function main() {
  const [label, webDir, momentsFile, size, outDir] = process.argv.slice(2);
  const [width, height] = size.split('x').map((n) => parseInt(n, 10));
  const moments = readMoments(momentsFile);
  fs.mkdirSync(outDir, { recursive: true });
  const served = await serveFolder(path.resolve(webDir));
  const browser = await launchBrowser(label, { viewport: { width, height } });
  const started = Date.now();
  let errors = [];
  try {
    console.log(`${label}: ${await browser.version()}`);
    const page = await browser.newPage();
    errors = watchPage(page, label);
    await drawStills(page, served.url, moments, size, outDir);
  } finally {
    await browser.close();
    served.server.close();
  }
  console.log(`drew ${moments.length} stills in ${label} in ${((Date.now() - started) / 1000).toFixed(1)} s`);
  if (errors.length > 0) {
    console.error(`uncaught errors while drawing: ${errors.join('; ')}`);
    process.exit(1);
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
