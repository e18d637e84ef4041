// Draws every golden moment in headless Chromium from build/web (index.html?at=MS&size=WxH)
// and writes each canvas as a PNG, named as the references are:
//   node golden_web.js WEB_DIR MOMENTS_FILE SIZE OUT_DIR
'use strict';

const fs = require('fs');
const path = require('path');
const { serveFolder, launchChromium } = require('./browser');

const stillTimeoutMs = 60000;

function readMoments(file) {
  return fs.readFileSync(file, 'utf8').split('\n')
    .map((line) => line.replace(/#.*/, '').trim()).filter((line) => line !== '').map((line) => parseInt(line, 10));
}

async function main() {
  const [webDir, momentsFile, size, outDir] = process.argv.slice(2);
  const [width, height] = size.split('x').map((n) => parseInt(n, 10));
  fs.mkdirSync(outDir, { recursive: true });
  const served = await serveFolder(path.resolve(webDir));
  const browser = await launchChromium();
  const started = Date.now();
  try {
    const page = await browser.context.newPage();
    await page.setViewportSize({ width, height });
    page.on('console', (message) => console.log('page: ' + message.text()));
    for (const atMs of readMoments(momentsFile)) {
      await page.goto(`${served.url}index.html?at=${atMs}&size=${size}`);
      await page.waitForFunction(() => document.title === 'ready', null, { timeout: stillTimeoutMs });
      const png = await page.evaluate(() => document.getElementById('canvas').toDataURL('image/png'));
      const name = String(atMs).padStart(6, '0') + '.png';
      fs.writeFileSync(path.join(outDir, name), Buffer.from(png.split(',')[1], 'base64'));
    }
  } finally {
    await browser.close();
    served.server.close();
  }
  console.log(`drew ${readMoments(momentsFile).length} stills in ${((Date.now() - started) / 1000).toFixed(1)} s`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
