// Headless Chromium for the web tests: Debian's /usr/bin/chromium driven by
// playwright-core, WebGL through SwiftShader, kept off the network, in a fresh
// profile; and a static server for build/web on a free localhost port.
'use strict';

const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');

const chromiumFlags = ['--headless', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
  '--disable-quic', '--autoplay-policy=no-user-gesture-required'];
const contentTypes = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.mp3': 'audio/mpeg' };

// Serves folder on 127.0.0.1; resolves to { server, url, bytesSent }.
function serveFolder(folder) {
  const served = { bytesSent: 0 };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = path.join(folder, name === '/' ? 'index.html' : name);
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    const body = fs.readFileSync(file);
    served.bytesSent += body.length;
    response.writeHead(200, { 'Content-Type': contentTypes[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-store' });
    response.end(body);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      served.server = server;
      served.url = `http://127.0.0.1:${server.address().port}/`;
      resolve(served);
    });
  });
}

async function launchChromium() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'glasswind-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium', headless: true, args: chromiumFlags, viewport: { width: 800, height: 600 },
  });
  const close = async () => {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { context, close };
}

module.exports = { serveFolder, launchChromium };
