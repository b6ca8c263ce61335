// The device in a browser: keeps one WebSocket to the shell, draws every frame it sends, plays
// the animations and sends back what the finger and keyboard do.

import { Animator } from './animate.js';
import { Input } from './input.js';
import { Renderer } from './render.js';

const device = document.getElementById('device');
const screen = document.getElementById('screen');
const statusBar = document.getElementById('statusBar');
const notice = document.getElementById('notice');

// What tests and the benchmark read: how many frames were drawn, the last one, and when the
// first and the last were drawn (performance.now()).
const state = { frames: 0, frame: null, connected: false, firstDrawnAt: null, drawnAt: null };
window.kinetra = state;

// The screen is 320 points wide and as tall as the window gives at that width (never below
// 480): on a phone it fills the page, on the desktop it is a phone-shaped frame that grows taller
// when the window is taller than 2:3. The height goes to the application, which lays its screens
// out for it.
let screenHeight = 480;
function fit() {
  const phone = window.matchMedia('(pointer: coarse)').matches && Math.min(innerWidth, innerHeight) < 600;
  document.body.classList.toggle('phone', phone);
  const margin = phone ? 0 : 24;
  const k = Math.max(0.1, Math.min((innerWidth - margin * 2) / 320, (innerHeight - margin * 2) / 480));
  const height = Math.max(480, Math.floor((innerHeight - margin * 2) / k));
  const left = (innerWidth - 320 * k) / 2;
  const top = phone ? 0 : (innerHeight - height * k) / 2;
  device.style.height = `${height}px`;
  screen.style.height = `${height}px`;
  device.style.transform = `translate(${left}px, ${top}px) scale(${k})`;
  if (height !== screenHeight) {
    screenHeight = height;
    sendHeight();
  }
}
addEventListener('resize', fit);

function tick() {
  const now = new Date();
  statusBar.querySelector('.clock').textContent =
    now.toLocaleTimeString([], { hour: 'numeric', minute: '2-digit' });
}
setInterval(tick, 10_000);
tick();

let socket = null;
let retryMs = 500;
const input = new Input(screen, (text) => {
  if (socket?.readyState === WebSocket.OPEN) socket.send(text);
});
const renderer = new Renderer(screen, input);
// The application's window follows the screen's height (sent again at every connection).
function sendHeight() {
  if (socket?.readyState === WebSocket.OPEN) input.send({ type: 'resize', height: screenHeight });
}
fit();
input.renderer = renderer;
const animator = new Animator(renderer, input);

function show(message) {
  notice.textContent = message;
  notice.hidden = !message;
}

function draw(frame) {
  input.acknowledge(frame.ack);
  const plan = state.frames > 0 ? animator.prepare(frame) : [];
  renderer.render(frame);
  statusBar.classList.toggle('hidden', !!frame.statusBarHidden);
  animator.play(plan);
  state.frames += 1;
  state.frame = frame;
  state.drawnAt = performance.now();
  state.firstDrawnAt ??= state.drawnAt;
}

// A file the application hands the user: the browser's own download saves it.
function saveFile({ url, name }) {
  if (typeof url !== 'string' || !url.startsWith('/downloads/')) return;
  const link = document.createElement('a');
  link.href = url;
  link.download = typeof name === 'string' ? name : '';
  link.style.display = 'none';
  document.body.appendChild(link);
  link.click();
  link.remove();
}

// The application asks the device to vibrate: milliseconds on, off, on, ... Browsers without
// the Vibration API, or that refuse it (no user gesture yet), simply stay still.
function vibrate({ pattern }) {
  if (!Array.isArray(pattern) || typeof navigator.vibrate !== 'function') return;
  const steps = pattern.filter((ms) => Number.isFinite(ms) && ms >= 0);
  if (steps.length === 0) return;
  try {
    navigator.vibrate(steps);
  } catch {
    // Nothing to do: vibration is a courtesy.
  }
}

function connect() {
  const scheme = location.protocol === 'https:' ? 'wss' : 'ws';
  socket = new WebSocket(`${scheme}://${location.host}/ws`);
  socket.addEventListener('open', () => {
    retryMs = 500;
    state.connected = true;
    show('');
    if (screenHeight !== 480) sendHeight();
  });
  socket.addEventListener('message', (event) => {
    let frame;
    try {
      frame = JSON.parse(event.data);
    } catch {
      return;
    }
    if (frame.type === 'frame') draw(frame);
    else if (frame.type === 'save') saveFile(frame);
    else if (frame.type === 'vibrate') vibrate(frame);
  });
  socket.addEventListener('close', () => {
    state.connected = false;
    show('Kinetra is not answering. Trying again\u2026');
    setTimeout(connect, retryMs);
    retryMs = Math.min(retryMs * 2, 5000);
  });
}

connect();
