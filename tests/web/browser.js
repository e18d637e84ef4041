// Debian's Chromium (over CDP) and Firefox ESR (over WebDriver BiDi) driven by puppeteer-core,
// which never fetches a browser of its own; a static server for build/web; a page's uncaught errors.
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

// WebGL 2 through SwiftShader; sound allowed before any click.
const chromiumFlags = ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
  '--disable-quic', '--autoplay-policy=no-user-gesture-required'];
// WebGL 2 through Mesa on the display the test gives it; sound allowed before any click;
// nothing fetched from outside (puppeteer's own profile already turns off updates and the like).
const firefoxPrefs = {
  'media.autoplay.default': 0,
  'media.autoplay.block-webaudio': false,
  'network.captive-portal-service.enabled': false,
  'network.connectivity-service.enabled': false,
  'browser.safebrowsing.downloads.remote.enabled': false,
};
const browsers = {
  chromium: { browser: 'chrome', executablePath: '/usr/bin/chromium' },
  firefox: { browser: 'firefox', executablePath: '/usr/bin/firefox-esr' },
};
const contentTypes = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.mp3': 'audio/mpeg' };

// The executable the tests drive as `name` (chromium or firefox).
function browserExecutable(name) {
  if (!browsers[name]) {
    throw new Error(`no browser called ${name}: chromium or firefox`);
  }
  return browsers[name].executablePath;
}

// Serves folder on 127.0.0.1; resolves to { server, url, bytesSent, requests }, where
// requests lists every path asked for.
function serveFolder(folder) {
  const served = { bytesSent: 0, requests: [] };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    served.requests.push(name);
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

// Starts browser `name` headless; extra.args are added to its command line (Chromium),
// extra.prefs to its preferences (Firefox), extra.viewport sizes its pages (800x600
// unless given: Firefox ESR 140 refuses the orientation call of a later setViewport).
// Resolves to puppeteer's Browser.
function launchBrowser(name, extra = {}) {
  const options = { browser: browsers[name].browser, executablePath: browserExecutable(name), headless: true,
    defaultViewport: extra.viewport || { width: 800, height: 600 } };
  if (name === 'chromium') {
    options.args = [...chromiumFlags, ...(extra.args || [])];
  } else {
    options.args = extra.args || [];
    options.extraPrefsFirefox = { ...firefoxPrefs, ...(extra.prefs || {}) };
  }
  return puppeteer.launch(options);
}

// Logs the page's console as it goes; returns the list its uncaught errors are added to.
function watchPage(page, label = 'page') {
  const errors = [];
  page.on('console', (message) => console.log(`${label} ${message.type()}: ${message.text()}`));
  page.on('pageerror', (error) => {
    const text = error && error.message !== undefined ? `${error.name || 'Error'}: ${error.message}` : String(error);
    console.log(`${label} UNCAUGHT: ${text}`);
    errors.push(text);
  });
  return errors;
}

module.exports = { serveFolder, launchBrowser, browserExecutable, watchPage };
