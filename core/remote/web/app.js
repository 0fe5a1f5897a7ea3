// Vireo phone page: shows the machine's state live over the WebSocket and sends commands through it.
'use strict';

// Every text of the page, in both languages. Captions follow the application's own where it has them.
const TEXTS = {
  en: {
    levels: 'Volume', modes: 'Mode', inputs: 'Input Source', scenes: 'Scene', plugs: 'Smart plug',
    noPlugs: 'No plugs', mute: 'Mute', on: 'ON', off: 'OFF', knob: 'Knob plug', switchPlug: 'Switch plug',
    ab: 'A/B', connected: 'USB:Connected', disconnected: 'USB:Disconnected',
    connecting: 'Connecting…', offline: 'Not connected — reconnecting…', machineOff: 'Please connect device!',
    syncing: 'Reading the machine…',
    refused: 'Refused: ', sceneStarted: 'Loading scene...',
    limited: "Held at the machine's maximum volume", muted: 'This path is muted',
    level: {
      micVolume: 'Mic Vol', effectVolume: 'Effect Vol', reverbVolume: 'Reverb Vol', echoVolume: 'Echo Vol',
      musicVolume: 'Music Vol', musicNoiseGate: 'Noisegate', musicPitch: 'Music pitch',
    },
    modeNames: ['Movie', 'Karaoke', 'Game', 'AV'],
    inputNames: {
      hdmi1: 'HDMI1', hdmi2: 'HDMI2', hdmi3: 'HDMI3', hdmi4: 'HDMI4', spdif: 'SPDIF', bluetooth: 'Bluetooth', aux: 'AUX',
    },
    sceneNames: ['TV', 'Movie', 'Karaoke', 'Music', 'PowerON', 'PowerOFF'],
  },
  zh: {
    levels: '音量', modes: '模式', inputs: '输入源', scenes: '情景', plugs: '智能插座',
    noPlugs: '没有插座', mute: '静音', on: '开', off: '关', knob: '调压插座', switchPlug: '开关插座',
    ab: 'A/B', connected: 'USB：已连接', disconnected: 'USB：未连接',
    connecting: '正在连接……', offline: '未连接，正在重新连接……', machineOff: '请先连接设备!',
    syncing: '正在读取机器参数……',
    refused: '操作被拒绝：', sceneStarted: '载入情景中……',
    limited: '已限制在机器的最大音量', muted: '该通道已静音',
    level: {
      micVolume: '话筒音量', effectVolume: '效果总音量', reverbVolume: '混响音量', echoVolume: '回声音量',
      musicVolume: '音乐音量', musicNoiseGate: '音乐噪声门', musicPitch: '音乐变调',
    },
    modeNames: ['电影', 'K歌', '游戏', 'AV'],
    inputNames: {
      hdmi1: 'HDMI1', hdmi2: 'HDMI2', hdmi3: 'HDMI3', hdmi4: 'HDMI4', spdif: '光纤', bluetooth: '蓝牙', aux: 'AUX',
    },
    sceneNames: ['电视', '电影', 'K歌', '音乐', '开机', '关机'],
  },
};
const LANG = (navigator.language || '').toLowerCase().startsWith('zh') ? 'zh' : 'en';
const L = TEXTS[LANG];
const INPUTS = ['hdmi1', 'hdmi2', 'hdmi3', 'hdmi4', 'spdif', 'bluetooth', 'aux'];
const SEND_EVERY_MS = 50;   // at most one value a slider sends while it is dragged
const PLUG_GRACE_MS = 1200; // a dimmer's reply comes from the machine a little after the answer

let state = null;         // the last state the server sent, with its changes applied
let ws = null;            // the socket, or null while there is none
let socketOpen = false;
let retryMs = 500;
let retryTimer = 0;
let nextId = 1;
let renderQueued = false;
const waiting = new Map(); // command id -> {cmd, button, slider}

const $ = (id) => document.getElementById(id);
const has = (object, key) => object != null && Object.prototype.hasOwnProperty.call(object, key);

function el(tag, attrs = {}, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attrs)) {
    if (key === 'text') node.textContent = value;
    else if (key === 'class') node.className = value;
    else if (key.startsWith('on')) node.addEventListener(key.slice(2), value);
    else node.setAttribute(key, value);
  }
  node.append(...children);
  return node;
}

function setPressed(button, pressed) {
  button.setAttribute('aria-pressed', pressed ? 'true' : 'false');
}

// --- toast ---

let toastTimer = 0;
function toast(text, error = false) {
  const box = $('toast');
  box.textContent = text;
  box.classList.toggle('error', error);
  box.hidden = false;
  clearTimeout(toastTimer);
  toastTimer = setTimeout(() => { box.hidden = true; }, error ? 4000 : 2500);
}

// --- commands ---

// Sends a command; `button` shows as busy until the answer, `slider` hears of the answer. Returns the id.
function send(cmd, { button = null, slider = null } = {}) {
  if (!socketOpen) {
    toast(L.offline, true);
    return 0;
  }
  const id = nextId++;
  ws.send(JSON.stringify({ ...cmd, id }));
  waiting.set(id, { cmd, button, slider });
  if (button) button.setAttribute('aria-busy', 'true');
  return id;
}

function onAnswer(msg) {
  const w = waiting.get(msg.id);
  waiting.delete(msg.id);
  if (w && w.button && ![...waiting.values()].some((o) => o.button === w.button)) w.button.removeAttribute('aria-busy');
  if (msg.type === 'error') {
    toast(L.refused + (msg.error || msg.status), true);
  } else if (w && state) {
    const result = msg.result || {};
    if (w.cmd.type === 'set' && typeof result.name === 'string' && has(result, 'value')) {
      // The value as stored (a volume may be held at the machine's maximum), and what changed with it.
      state.fields[result.name] = result.value;
      if (result.also && typeof result.also === 'object') Object.assign(state.fields, result.also);
    }
    if (result.notice && has(L, result.notice)) toast(L[result.notice]);
    if (w.cmd.type === 'scene') toast(L.sceneStarted);
  }
  if (w && w.slider) w.slider.settled(msg.id, msg.type === 'error');
  queueRender();
}

// --- sliders: throttled while dragged, and deaf to incoming values while held ---

function makeSlider(input, out, format, sendValue, graceMs = 0) {
  let down = false;
  let timer = 0;
  let lastSentAt = 0;
  let sentValue = null;
  let graceUntil = 0;
  const pending = new Set();
  const paint = () => {
    const min = Number(input.min), max = Number(input.max), v = Number(input.value);
    input.style.setProperty('--p', (max > min ? ((v - min) / (max - min)) * 100 : 0) + '%');
    out.textContent = format(v);
  };
  const flush = () => {
    timer = 0;
    const v = Number(input.value);
    if (v === sentValue) return;
    sentValue = v;
    lastSentAt = Date.now();
    const id = sendValue(v);
    if (id) pending.add(id);
  };
  const release = () => {
    if (!down) return;
    down = false;
    queueRender();
  };
  input.addEventListener('pointerdown', () => { down = true; });
  for (const type of ['pointerup', 'pointercancel', 'lostpointercapture', 'blur']) input.addEventListener(type, release);
  input.addEventListener('input', () => {
    paint();
    const wait = SEND_EVERY_MS - (Date.now() - lastSentAt);
    if (wait <= 0) flush();
    else if (!timer) timer = setTimeout(flush, wait);
  });
  input.addEventListener('change', () => { // the final value, always
    clearTimeout(timer);
    flush();
  });
  const ctl = {
    held: () => down || timer !== 0 || pending.size > 0 || Date.now() < graceUntil,
    show(min, max, value) {
      if (ctl.held()) return;
      input.min = min;
      input.max = max;
      input.value = value;
      sentValue = null;
      paint();
    },
    settled(id, failed) {
      pending.delete(id);
      if (graceMs && !failed) {
        graceUntil = Date.now() + graceMs;
        setTimeout(queueRender, graceMs + 20);
      }
      if (failed) graceUntil = 0;
    },
    drop() {
      clearTimeout(timer);
      timer = 0;
      pending.clear();
      graceUntil = 0;
    },
  };
  input.slider = ctl;
  return ctl;
}

// Keeps container's children in the order of items, one per key: made when new, updated every time.
function sync(container, items, keyOf, make, update) {
  const old = new Map([...container.children].map((c) => [c.dataset.key, c]));
  items.forEach((item, i) => {
    const key = String(keyOf(item));
    let node = old.get(key);
    old.delete(key);
    if (!node) {
      node = make(item);
      node.dataset.key = key;
    }
    if (container.children[i] !== node) container.insertBefore(node, container.children[i] || null);
    update(node, item);
  });
  for (const node of old.values()) node.remove();
}

// --- building the controls ---

function makeLevel(m) {
  const caption = L.level[m.name] || m.name;
  const range = el('input', { type: 'range', id: 'lvl-' + m.name, 'data-field': m.name, step: 1 });
  const out = el('output', { for: range.id, 'data-out': m.name });
  const body = el('div', { class: 'row-body' }, range);
  const row = el('div', { class: 'row level' },
    el('div', { class: 'row-head' }, el('label', { for: range.id, text: caption }), out), body);
  const signed = m.min < 0;
  row.slider = makeSlider(range, out, (v) => (signed && v > 0 ? '+' : '') + v,
    (v) => send({ type: 'set', name: m.name, value: v }, { slider: row.slider }));
  if (m.mute) {
    const mute = el('button', {
      type: 'button', class: 'btn mute', 'data-field': m.mute, 'aria-pressed': 'false',
      'aria-label': caption + ' ' + L.mute, text: L.mute,
      onclick: () => {
        const muted = Number(state.fields[m.mute]) === 1;
        send({ type: 'set', name: m.mute, value: muted ? 0 : 1 }, { button: mute });
      },
    });
    body.append(mute);
    row.mute = mute;
  }
  return row;
}

function updateLevel(row, m) {
  const value = state.fields[m.name];
  if (typeof value === 'number') row.slider.show(m.min, m.max, value);
  if (row.mute) setPressed(row.mute, Number(state.fields[m.mute]) === 1);
}

function makePlug(p) {
  const name = el('span', { class: 'name' });
  if (p.type !== 2) {
    const toggle = el('button', {
      type: 'button', class: 'btn switch', 'data-plug': p.node, 'aria-pressed': 'false',
      onclick: () => send({ type: 'plug', node: p.node, value: toggle.getAttribute('aria-pressed') === 'true' ? 0 : 99 },
        { button: toggle }),
    });
    const row = el('div', { class: 'row plug plug-switch' }, name, toggle);
    Object.assign(row, { nameEl: name, toggle });
    return row;
  }
  const range = el('input', { type: 'range', id: 'plug-' + p.node, 'data-plug': p.node, min: 0, max: 99, step: 1 });
  const label = el('label', { for: range.id }, name);
  const out = el('output', { for: range.id });
  const row = el('div', { class: 'row plug' },
    el('div', { class: 'row-head' }, label, el('span', { class: 'kind', text: L.knob }), out),
    el('div', { class: 'row-body' }, range));
  row.slider = makeSlider(range, out, String,
    (v) => send({ type: 'plug', node: p.node, value: v }, { slider: row.slider }), PLUG_GRACE_MS);
  row.nameEl = name;
  return row;
}

function updatePlug(row, p) {
  row.nameEl.textContent = p.name || '#' + p.node;
  const value = Number(p.value) || 0;
  if (row.toggle) {
    const on = value > 0;
    setPressed(row.toggle, on);
    row.toggle.textContent = on ? L.on : L.off;
    row.toggle.setAttribute('aria-label', row.nameEl.textContent + ' ' + L.switchPlug);
  } else {
    row.slider.show(0, 99, Math.min(value, 99));
  }
}

function buildFixed() {
  document.documentElement.lang = LANG === 'zh' ? 'zh-CN' : 'en';
  for (const node of document.querySelectorAll('[data-t]')) node.textContent = L[node.dataset.t];
  $('ab').addEventListener('click', () => send({ type: 'ab' }, { button: $('ab') }));
  for (let slot = 1; slot <= 4; slot++) {
    const button = el('button', { type: 'button', class: 'btn', 'data-mode': slot, 'aria-pressed': 'false' },
      el('span', { class: 'n', text: String(slot) }), el('span', { class: 'name', text: L.modeNames[slot - 1] }));
    button.addEventListener('click', () => send({ type: 'mode', slot }, { button }));
    $('modes').append(button);
  }
  for (const input of INPUTS) {
    const button = el('button', {
      type: 'button', class: 'btn', 'data-input': input, 'aria-pressed': 'false', text: L.inputNames[input],
    });
    button.addEventListener('click', () => send({ type: 'input', input }, { button }));
    $('inputs').append(button);
  }
}

// The machine's name for a slot; the application's own name when the machine still has the default one.
function modeName(slot) {
  const name = (state.modeNames || [])[slot - 1] || '';
  const i = TEXTS.zh.modeNames.indexOf(name);
  if (!name || i === slot - 1) return L.modeNames[slot - 1];
  return name;
}

// --- rendering ---

function queueRender() {
  if (renderQueued) return;
  renderQueued = true;
  requestAnimationFrame(() => {
    renderQueued = false;
    render();
  });
}

function render() {
  // While the machine is being read its values are not yet the machine's: nothing may be sent.
  const live = socketOpen && !!state && state.connected === true && state.syncing !== true;
  const body = document.body;
  body.dataset.connected = live ? '1' : '0';
  body.dataset.socket = socketOpen ? '1' : '0';
  const dot = $('dot');
  dot.setAttribute('aria-label', live ? L.connected : L.disconnected);
  dot.title = dot.getAttribute('aria-label');
  let banner = '';
  if (!socketOpen) banner = state || retryMs > 500 ? L.offline : L.connecting;
  else if (state && !state.connected) banner = L.machineOff;
  else if (state && state.syncing) banner = L.syncing;
  $('banner').textContent = banner;
  if (state) renderState();
  // A scene without steps has nothing to run.
  for (const control of document.querySelectorAll('main button, main input, #ab'))
    control.disabled = !live || control.dataset.steps === '0';
  if (state) body.dataset.ready = '1';
}

function renderState() {
  const model = (state.identity && state.identity.model) || 'Vireo';
  $('model').textContent = model;
  document.title = model === 'Vireo' ? 'Vireo' : model + ' · Vireo';
  $('ab-live').textContent = state.ab || '–';
  $('ab').dataset.ab = state.ab || '';
  $('ab').setAttribute('aria-label', L.ab + ': ' + (state.ab || '–'));

  sync($('levels'), state.master || [], (m) => m.name + '|' + (m.mute || ''), makeLevel, updateLevel);

  for (const button of $('modes').children) {
    const slot = Number(button.dataset.mode);
    button.querySelector('.name').textContent = modeName(slot);
    setPressed(button, state.mode === slot);
  }
  for (const button of $('inputs').children) setPressed(button, state.input === button.dataset.input);

  const scenes = Array.isArray(state.scenes) ? state.scenes : [];
  sync($('scenes'), scenes, (s) => s.scene,
    (s) => el('button', {
      type: 'button', class: 'btn', 'data-scene': s.scene,
      onclick: (e) => send({ type: 'scene', scene: s.scene }, { button: e.currentTarget }),
    }),
    (button, s) => {
      button.textContent = L.sceneNames[s.scene - 1] || L.scenes + ' ' + s.scene;
      button.dataset.steps = s.steps > 0 ? String(s.steps) : '0';
    });

  const plugs = Array.isArray(state.plugs) ? state.plugs : [];
  sync($('plugs'), plugs, (p) => p.node + '|' + (p.type === 2 ? 2 : 1), makePlug, updatePlug);
  $('no-plugs').hidden = plugs.length > 0;
}

// --- the socket ---

function receive(text) {
  let msg;
  try {
    msg = JSON.parse(text);
  } catch {
    return;
  }
  if (msg.type === 'state' && msg.state) {
    state = msg.state;
    if (!state.fields) state.fields = {};
    retryMs = 500;
  } else if (msg.type === 'change' && state) {
    const name = msg.name;
    if (has(state.fields, name) || !(has(state, name) && name !== 'fields')) state.fields[name] = msg.value;
    else state[name] = msg.value;
  } else if (msg.type === 'result' || msg.type === 'error') {
    onAnswer(msg);
    return;
  } else {
    return;
  }
  queueRender();
}

function connect() {
  clearTimeout(retryTimer);
  retryTimer = 0;
  if (ws) return;
  const sock = new WebSocket(location.origin.replace(/^http/, 'ws') + '/api/v1/ws');
  ws = sock;
  sock.onopen = () => {
    if (ws !== sock) return;
    socketOpen = true;
    queueRender();
  };
  sock.onmessage = (e) => { if (ws === sock) receive(e.data); };
  sock.onclose = () => {
    if (ws !== sock) return;
    ws = null;
    socketOpen = false;
    for (const w of waiting.values()) if (w.button) w.button.removeAttribute('aria-busy');
    waiting.clear();
    for (const input of document.querySelectorAll('input[type="range"]')) if (input.slider) input.slider.drop();
    // Back off up to 15 s, with a little jitter so that several phones do not knock at once.
    retryTimer = setTimeout(connect, retryMs * (0.8 + Math.random() * 0.4));
    retryMs = Math.min(retryMs * 2, 15000);
    queueRender();
  };
}

// A phone wakes a sleeping page without telling its timers; try again at once when it is shown.
function connectNow() {
  if (ws || document.hidden) return;
  retryMs = 500;
  connect();
}

buildFixed();
render();
connect();
document.addEventListener('visibilitychange', connectNow);
window.addEventListener('online', connectNow);
