// The page around the wasm demo: loads it only where the browser has WebGL 2 (else
// says so and does nothing more), puts data/ in its file system, asks the question
// (whose click also lets the page play sound), decodes the music, and answers the
// hooks of the web platform layer (Module.glasswindPage). ?at=MS&size=WxH draws one
// still of the steady run at exactly that size and sets document.title to "ready".
'use strict';

const params = new URLSearchParams(window.location.search);
const stillAt = params.get('at');
const stillSize = params.get('size') || '800x450';
const canvas = document.getElementById('canvas');
const audioErrorFileOpen = 2;
const audioErrorFileFormat = 41;
const musicRateHz = 44100;
const errorTitle = 'Error';
const noWebGl2Text = 'This browser has no WebGL 2, which the demo needs to draw; another browser, '
  + 'or turning on hardware acceleration in this one, may help.';

const page = {
  audioContext: null,
  musicBuffer: null,
  musicError: audioErrorFileOpen,
  musicSource: null,
  musicPath: null,

  setCanvasSize(width, height) {
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = width / (window.devicePixelRatio || 1) + 'px';
    canvas.style.height = height / (window.devicePixelRatio || 1) + 'px';
  },
  askForFullScreen() {
    if (!document.fullscreenElement && canvas.requestFullscreen) {
      canvas.requestFullscreen().catch(() => {});
    }
  },
  showMessage(text, title) {
    document.getElementById('message-title').textContent = title;
    document.getElementById('message-text').textContent = text;
    document.getElementById('message').hidden = false;
  },
  // The message alone: no question, no canvas.
  showNoWebGl() {
    document.getElementById('question').hidden = true;
    canvas.hidden = true;
    page.showMessage(noWebGl2Text, errorTitle);
  },
  showEndState() {
    page.closeAudio();
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
    }
    canvas.style.opacity = '0.35';
    document.getElementById('end').hidden = false;
    window.glasswindEnded = true;
  },
  markFrameReady(atMs) {
    window.glasswindReady = atMs;
    document.title = 'ready';
  },

  openAudio() {
    return page.audioContext !== null;
  },
  closeAudio() {
    if (page.musicSource) {
      page.musicSource.stop();
      page.musicSource = null;
    }
  },
  // 0 once the music is decoded, else the audio layer's code for what went wrong.
  musicState(path) {
    return path === page.musicPath && page.musicBuffer ? 0 : page.musicError;
  },
  // Starts the music offsetSeconds in, looping, ahead by the output's latency so that
  // what is heard now is what the demo clock means now.
  playMusic(offsetSeconds) {
    page.closeAudio();
    const context = page.audioContext;
    const source = context.createBufferSource();
    source.buffer = page.musicBuffer;
    source.loop = true;
    source.connect(context.destination);
    const latency = (context.outputLatency || 0) + (context.baseLatency || 0);
    source.start(context.currentTime, (offsetSeconds + latency) % page.musicBuffer.duration);
    page.musicSource = source;
    window.glasswindMusic = { startedAtMs: performance.now(), contextTime: context.currentTime,
                              offsetFrames: Math.round(offsetSeconds * musicRateHz), latency };
  },
};

async function fetchBytes(path) {
  const response = await fetch(path);
  if (!response.ok) {
    throw new Error(path + ': ' + response.status);
  }
  return new Uint8Array(await response.arrayBuffer());
}

// Every image into the file system; one that cannot be fetched is left out, as a
// missing file is on the desktop (its texture slot stays 0).
async function loadImages() {
  const paths = [];
  for (let i = 0; ; ++i) {
    const path = Module.ccall('glasswindDataFile', 'string', ['number'], [i]);
    if (!path) {
      break;
    }
    paths.push(path);
  }
  page.musicPath = paths.pop();
  Module.FS.mkdirTree('data');
  await Promise.all(paths.map(async (path) => {
    try {
      Module.FS.writeFile(path, await fetchBytes(path));
    } catch (error) {
      console.log('glasswind: ' + error.message);
    }
  }));
}

async function loadMusic() {
  let bytes;
  try {
    bytes = await fetchBytes(page.musicPath);
  } catch (error) {
    page.musicError = audioErrorFileOpen;
    return;
  }
  try {
    page.musicBuffer = await page.audioContext.decodeAudioData(bytes.buffer);
  } catch (error) {
    page.musicError = audioErrorFileFormat;
  }
}

function ask() {
  return new Promise((resolve) => {
    const question = document.getElementById('question');
    question.hidden = false;
    const answer = (yes) => {
      question.hidden = true;
      window.glasswindClickedAt = performance.now();
      if (page.audioContext) {
        page.audioContext.resume();
      }
      if (yes && document.documentElement.requestFullscreen) {
        // Asked inside the click, which the browser requires; the canvas takes it over.
        canvas.requestFullscreen().catch(() => {});
      }
      resolve(yes);
    };
    document.getElementById('yes').onclick = () => answer(true);
    document.getElementById('no').onclick = () => answer(false);
  });
}

async function start() {
  await loadImages();
  canvas.hidden = false;
  if (stillAt !== null) {
    document.body.className = 'still';
    Module.callMain(['--at', String(parseInt(stillAt, 10)), '--size', stillSize]);
    return;
  }
  const AudioContextType = window.AudioContext || window.webkitAudioContext;
  page.audioContext = AudioContextType ? new AudioContextType() : null;
  canvas.hidden = true;
  const music = page.audioContext ? loadMusic() : Promise.resolve();
  const yes = await ask();
  await music;
  canvas.hidden = false;
  window.glasswindStartedAt = performance.now();
  requestAnimationFrame(() => requestAnimationFrame(() => { window.glasswindFirstFrameAt = performance.now(); }));
  Module.callMain(['--answer', yes ? 'yes' : 'no']);
}

// Whether this browser makes WebGL 2 contexts, asked of a canvas of its own that is
// let go at once.
function hasWebGl2() {
  let context = null;
  try {
    context = document.createElement('canvas').getContext('webgl2');
  } catch (error) {
    context = null;
  }
  if (!context) {
    return false;
  }
  const lose = context.getExtension('WEBGL_lose_context');
  if (lose) {
    lose.loseContext();
  }
  return true;
}

document.getElementById('again').onclick = () => window.location.reload();

var Module = {
  canvas,
  glasswindPage: page,
  print: (text) => console.log(text),
  printErr: (text) => console.log(text),
  onRuntimeInitialized: () => { start(); },
};

if (hasWebGl2()) {
  const program = document.createElement('script');
  program.src = 'glasswind.js';
  document.body.appendChild(program);
} else {
  page.showNoWebGl();
}
