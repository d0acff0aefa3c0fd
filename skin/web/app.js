// The web skin: connects to the program, keeps its windows as the events describe them
// and shows them: the profile chooser, the main window, the message boxes, the live log
// view, the tray icon, and the program's questions (input, file, folder) and notices.

import { h, fill } from './dom.js';
import { t, setLanguage, languageOf } from './texts.js';
import * as S from './skin.js';
import { mainWindowElement, renderMainWindow, programSet, focusMainWindow } from './mainwindow.js';

const $ = (id) => document.getElementById(id);

// 'connecting' until the page is up to date, then 'open'; 'ended', 'lost' or 'elsewhere'
// once the program is no longer reachable from this page.
let connection = 'connecting';
let synced = false;
let socket = null;
let language = null;
let renderQueued = false;

const asks = [];      // questions waiting for an answer, innermost last
const notices = [];   // plain message boxes not yet acknowledged
let trayMenu = null;  // the items of the tray menu that is popped up
const wasShown = new Map();  // window name -> shown at the last render

// ---- connection ---------------------------------------------------------------------

function connect() {
  const url = new URL('ws', location.href);
  url.protocol = location.protocol === 'https:' ? 'wss:' : 'ws:';
  socket = new WebSocket(url);
  socket.addEventListener('message', (message) => {
    let ev = null;
    try { ev = JSON.parse(message.data); } catch { return; }
    handle(ev);
  });
  socket.addEventListener('close', () => {
    if (connection === 'connecting' || connection === 'open') connection = 'lost';
    queueRender();
  });
}

S.setSender((message) => {
  if (connection === 'open' && socket && socket.readyState === WebSocket.OPEN) socket.send(JSON.stringify(message));
});
S.setDirtyListener(queueRender);

function handle(ev) {
  if (ev.ev !== 'idle') delete document.body.dataset.idle;
  switch (ev.ev) {
    case 'sync':
      S.skin.replaying = ev.phase === 'begin';
      if (ev.phase === 'end') {
        synced = true;
        if (connection === 'connecting') connection = 'open';
      }
      break;
    case 'elsewhere':
      connection = 'elsewhere';
      break;
    case 'exit':
      connection = 'ended';
      break;
    case 'idle':
      // What tests and assistive tools can wait for: the program has done everything.
      document.body.dataset.idle = ev.waiting || 'ready';
      return;
    case 'ask':
      asks.push(ev);
      break;
    case 'notice':
      notices.push({ text: ev.text });
      break;
    case 'shell':
      if (!S.skin.replaying) openFromShell(ev);
      break;
    case 'menu':
      trayMenu = ev.items || [];
      break;
    default:
      S.apply(ev);
      if (ev.ev === 'set' && ev.win === 'mainfrm' && !S.skin.replaying) programSet(ev.name, String(ev.value));
  }
  queueRender();
}

// ---- rendering ----------------------------------------------------------------------

// The next frame shows what changed. A page that gets no frames for a while (a tab in
// the background, a busy browser) is still brought up to date soon after.
function queueRender() {
  if (renderQueued) return;
  renderQueued = true;
  requestAnimationFrame(renderOnce);
  setTimeout(renderOnce, 100);
}

function renderOnce() {
  if (renderQueued) render();
}

document.addEventListener('visibilitychange', () => { if (!document.hidden) queueRender(); });

function languageName() {
  for (const name of ['mainfrm', 'profiles', 'LogForm']) {
    const w = S.newest(name);
    if (w && w.get('_root.strCurrentLanguage')) return w.get('_root.strCurrentLanguage');
  }
  return 'English';
}

function render() {
  renderQueued = false;
  const lang = languageOf(languageName());
  const rebuild = lang !== language;
  if (rebuild) {
    language = lang;
    setLanguage(lang);
    document.documentElement.lang = lang;
  }
  document.body.classList.toggle('busy', S.skin.busy);
  renderProfiles(rebuild);
  renderMain(rebuild);
  renderTray(rebuild);
  renderLog(rebuild);
  renderStatus();
  renderMessageBoxes();
  renderAsk();
  renderNotice();
  renderToasts();
  focusNewlyShown();
  S.skin.dirty.clear();
}

function shown(name) { return !!S.newestShown(name); }

function renderStatus() {
  const status = $('status');
  const working = connection === 'open' && synced && !shown('profiles') && !shown('mainfrm') && !S.skin.tray.intray;
  const messages = {
    connecting: [t('connecting')],
    ended: [t('ended')],
    lost: [t('lost'), t('reconnect')],
    elsewhere: [t('elsewhere'), t('useHere')],
  };
  const gone = connection !== 'open';
  for (const id of ['profiles', 'main', 'tray', 'log', 'dialogs']) $(id).inert = gone;
  if (!gone && !working) {
    status.hidden = true;
    delete status.dataset.text;
    return;
  }
  const [text, action] = gone ? messages[connection] : [t('busy')];
  status.hidden = false;
  // A live region: refilled only when its text changes, so that it is read out once.
  if (status.dataset.text === text) return;
  status.dataset.text = text;
  fill(status, h('p', {}, text), action ? h('button', { type: 'button', onclick: () => location.reload() }, action) : null);
}

function focusNewlyShown() {
  for (const name of ['profiles', 'mainfrm']) {
    const w = S.newestShown(name);
    const now = !!w;
    if (now && !wasShown.get(name) && w.activate && !document.querySelector('dialog[open]')) {
      if (name === 'mainfrm') focusMainWindow();
      else $('profiles').querySelector('h1')?.focus();
    }
    wasShown.set(name, now);
  }
}

// ---- profile chooser ----------------------------------------------------------------

let profileChoice = null;

function renderProfiles(rebuild) {
  const view = $('profiles');
  const w = S.newestShown('profiles');
  view.hidden = !w;
  if (!w) return;
  if (rebuild || !view.firstChild) buildProfiles(view);
  const count = Number(w.get('_root.NumberOfTheListItems')) || 0;
  const names = [];
  for (let i = 0; i < count; i++) names.push(w.get(`_root.ItemNo${i}`));
  if (!names.includes(profileChoice)) profileChoice = names[0] ?? null;
  const list = view.querySelector('ul');
  const signature = JSON.stringify([names, profileChoice]);
  if (list.dataset.names === signature) return;
  list.dataset.names = signature;
  fill(list, names.length ? names.map((name, i) => {
    const id = `profile-${i}`;
    return h('li', {}, h('input', {
      type: 'radio', name: 'profile', id, value: name, checked: name === profileChoice,
      onchange: () => { profileChoice = name; },
    }), h('label', { for: id }, name));
  }) : h('li', { class: 'none' }, t('profilesNone')));
}

function buildProfiles(view) {
  const newName = h('input', { type: 'text', id: 'profile-new', autocomplete: 'off', maxlength: '255' });
  const chosen = () => newName.value.trim() || profileChoice || '';
  fill(view, h('form', {
    class: 'card', 'aria-labelledby': 'profiles-title',
    onsubmit: (e) => { e.preventDefault(); S.command('profiles', 'IDC_FS_PROFILE', chosen()); },
  },
  h('h1', { id: 'profiles-title', tabindex: '-1' }, t('profilesTitle')),
  h('p', { class: 'intro' }, t('profilesIntro')),
  h('fieldset', {}, h('legend', {}, t('profilesList')), h('ul', { class: 'ticklist' })),
  h('div', { class: 'field' }, h('label', { for: 'profile-new' }, t('profileNew')), newName),
  h('div', { class: 'actions' },
    h('button', { type: 'submit', class: 'primary' }, t('profileOpen')),
    h('button', { type: 'button', onclick: () => { if (profileChoice) S.command('profiles', 'IDC_FS_DELETE', profileChoice); } },
      t('profileDelete')),
    h('button', { type: 'button', onclick: () => S.command('profiles', 'EXIT') }, t('profileExit')))));
}

// ---- main window --------------------------------------------------------------------

function renderMain(rebuild) {
  const view = $('main');
  const w = S.newest('mainfrm');
  view.hidden = !(w && w.shown);
  if (!w) return;
  if (rebuild || !view.firstChild) {
    const focusedPage = view.contains(document.activeElement);
    fill(view, mainWindowElement(true));
    if (focusedPage) view.querySelector('main select, main h2')?.focus();
  }
  view.setAttribute('aria-busy', S.skin.busy ? 'true' : 'false');
  renderMainWindow();
}

// ---- tray ---------------------------------------------------------------------------

function sendTray(message) { S.send(message); }

function renderTray(rebuild) {
  const view = $('tray');
  const visible = S.skin.tray.intray && !shown('mainfrm');
  view.hidden = !visible;
  if (!visible) {
    trayMenu = null;
    return;
  }
  if (rebuild || !view.firstChild) {
    const openMenu = () => sendTray({ tray: 'click', button: 2 });
    const icon = h('button', {
      type: 'button', class: 'trayicon', 'aria-haspopup': 'menu',
      onclick: () => sendTray({ tray: 'restore' }),
      oncontextmenu: (e) => { e.preventDefault(); openMenu(); },
      onkeydown: (e) => {
        if (e.key === 'ContextMenu' || (e.key === 'F10' && e.shiftKey)) { e.preventDefault(); openMenu(); }
      },
    }, h('img', { src: 'icon.svg', alt: '' }), h('span', { class: 'tip' }));
    fill(view, h('div', { class: 'card' },
      h('h1', {}, t('trayTitle')), h('p', { class: 'intro' }, t('trayIntro')),
      h('div', { class: 'traybar' }, icon,
        h('button', { type: 'button', 'aria-haspopup': 'menu', onclick: openMenu }, t('trayMenu'))),
      h('ul', { class: 'traymenu', role: 'menu', hidden: true, 'aria-label': t('trayMenu') })));
  }
  const icon = view.querySelector('.trayicon');
  icon.setAttribute('aria-label', `${t('trayIcon')}: ${S.skin.tray.tip}`);
  icon.title = S.skin.tray.tip;
  view.querySelector('.tip').textContent = S.skin.tray.tip;
  const menu = view.querySelector('.traymenu');
  const items = trayMenu || [];
  const signature = JSON.stringify(items);
  menu.hidden = !trayMenu;
  if (menu.dataset.items !== signature) {
    menu.dataset.items = signature;
    fill(menu, items.map((item) => h('li', { role: 'none' }, h('button', {
      type: 'button', role: 'menuitem',
      onclick: () => { trayMenu = null; sendTray({ tray: 'menu', item: item.item }); queueRender(); },
      onkeydown: (e) => { if (e.key === 'Escape') { trayMenu = null; queueRender(); icon.focus(); } },
    }, item.caption))));
    if (trayMenu) menu.querySelector('button')?.focus();
  }
}

// ---- live log view ------------------------------------------------------------------

function renderLog(rebuild) {
  const view = $('log');
  const w = S.newest('LogForm');
  view.hidden = !(w && w.shown);
  if (!w) return;
  if (rebuild || !view.firstChild) {
    fill(view,
      h('div', { class: 'logbar' }, h('h2', {}, t('logTitle')),
        h('button', { type: 'button', class: 'close', 'aria-label': t('closeLog'), title: t('closeLog'),
          onclick: () => S.command('LogForm', 'IDC_FS_CLOSE') }, '×')),
      h('p', { class: 'logtext', role: 'status' }),
      h('button', { type: 'button', class: 'viewlog', onclick: () => S.command('LogForm', 'IDC_FS_VIEWLOG') }, t('viewLog')));
  }
  view.setAttribute('aria-label', t('logTitle'));
  const line = view.querySelector('.logtext');
  if (line.textContent !== w.get('_root.LogFile')) line.textContent = w.get('_root.LogFile');
  view.querySelector('.viewlog').disabled = w.get('_root.ViewLogBtn') !== '1';
}

// ---- message boxes ------------------------------------------------------------------

const boxes = new Map();  // message box window -> its dialog
let boxNumber = 0;
const ICONS = { 0: ['!', 'warning'], 2: ['i', 'info'], 3: ['?', 'question'] };

function boxButtons(w) {
  switch (w.frames.get('NumberOfButtons')) {
    case 0: return ['_root.Middle'];
    case 1: return ['_root.Left', '_root.Right'];
    case 2: return ['_root.Left', '_root.Middle', '_root.Right'];
    default: return [];
  }
}

function buildBox(w) {
  const dialog = h('dialog', { class: 'msgbox' });
  // A box is answered with one of its buttons only.
  dialog.addEventListener('cancel', (e) => e.preventDefault());
  dialog.skinWindow = w;
  return dialog;
}

function fillBox(dialog) {
  const w = dialog.skinWindow;
  const title = w.get('_root.title1');
  const labels = boxButtons(w).map((name) => w.get(name));
  const signature = JSON.stringify([title, w.get('_root.message'), labels, w.frames.get('sign')]);
  if (dialog.dataset.content === signature) return false;
  dialog.dataset.content = signature;
  const [symbol, kind] = ICONS[w.frames.get('sign')] || ['', 'none'];
  boxNumber += 1;
  const titleId = `box-title-${boxNumber}`;
  const textId = `box-text-${boxNumber}`;
  dialog.setAttribute('aria-labelledby', titleId);
  dialog.setAttribute('aria-describedby', textId);
  fill(dialog,
    h('div', { class: 'boxbody' },
      h('span', { class: `sign ${kind}`, 'aria-hidden': 'true' }, symbol),
      h('div', {}, h('h2', { id: titleId }, title), h('p', { id: textId }, w.get('_root.message')))),
    h('div', { class: 'actions' }, labels.map((label) =>
      h('button', { type: 'button', onclick: () => S.command('msgboxWindow', title, label) }, label))));
  return true;
}

function renderMessageBoxes() {
  const open = S.instancesOf('msgboxWindow').filter((w) => w.shown);
  for (const [w, dialog] of boxes) {
    if (!open.includes(w)) {
      dialog.close();
      dialog.remove();
      boxes.delete(w);
    }
  }
  for (const w of open) {
    let dialog = boxes.get(w);
    const fresh = !dialog;
    if (fresh) {
      dialog = buildBox(w);
      boxes.set(w, dialog);
      $('dialogs').append(dialog);
    }
    fillBox(dialog);
    if (fresh) {
      dialog.showModal();
      // The safe answer has the focus: the last button (no, cancel, or the only one).
      const buttons = dialog.querySelectorAll('.actions button');
      buttons[buttons.length - 1]?.focus();
    }
  }
}

// ---- questions and notices ----------------------------------------------------------

let askDialog = null;

function answer(text) {
  S.send({ answer: text });
  asks.pop();
  queueRender();
}

function renderAsk() {
  const top = asks[asks.length - 1] || null;
  if (askDialog && askDialog.ask !== top) {
    askDialog.close();
    askDialog.remove();
    askDialog = null;
  }
  if (!top || askDialog) return;
  const prompt = top.kind === 'input' ? (top.prompt || '') : t(top.kind === 'file' ? 'chooseFile' : 'chooseFolder');
  const input = h('input', { type: 'text', id: 'ask-input', autocomplete: 'off', spellcheck: 'false' });
  askDialog = h('dialog', { class: 'ask', 'aria-labelledby': 'ask-title' },
    h('form', { onsubmit: (e) => { e.preventDefault(); answer(input.value); } },
      h('h2', { id: 'ask-title' }, t('input')),
      h('label', { for: 'ask-input' }, prompt), input,
      h('div', { class: 'actions' },
        h('button', { type: 'submit', class: 'primary' }, t('ok')),
        h('button', { type: 'button', onclick: () => answer(null) }, t('cancel')))));
  askDialog.addEventListener('cancel', (e) => { e.preventDefault(); answer(null); });
  askDialog.ask = top;
  $('dialogs').append(askDialog);
  askDialog.showModal();
  input.focus();
}

let noticeDialog = null;

function renderNotice() {
  if (noticeDialog || !notices.length) return;
  const notice = notices[0];
  const done = () => {
    notices.shift();
    noticeDialog.close();
    noticeDialog.remove();
    noticeDialog = null;
    queueRender();
  };
  noticeDialog = h('dialog', { class: 'notice', 'aria-describedby': 'notice-text' },
    h('p', { id: 'notice-text' }, notice.text),
    h('div', { class: 'actions' }, h('button', { type: 'button', class: 'primary', onclick: done }, t('ok'))));
  noticeDialog.addEventListener('cancel', (e) => { e.preventDefault(); done(); });
  $('dialogs').append(noticeDialog);
  noticeDialog.showModal();
  noticeDialog.querySelector('button').focus();
}

// Short messages that need no answer: what the shell could not do here.
const toasts = [];

function toast(text, link = null) {
  toasts.push({ text, link, until: Date.now() + 8000 });
  setTimeout(queueRender, 8100);
}

function renderToasts() {
  const now = Date.now();
  while (toasts.length && toasts[0].until <= now) toasts.shift();
  const region = $('toasts');
  const signature = JSON.stringify(toasts.map((item) => item.text));
  if (region.dataset.shown === signature) return;
  region.dataset.shown = signature;
  fill(region, toasts.map((item) => h('p', {}, item.text, item.link ? ' ' : null,
    item.link ? h('a', { href: item.link, target: '_blank', rel: 'noopener' }, t('openDocument')) : null)));
}

// A shell request: documents and web addresses open in a new tab; the rest of what
// Windows would do (starting programs, control panels) can only be told.
function openFromShell(ev) {
  if (ev.url) {
    const url = new URL(ev.url, location.href).href;
    const tab = window.open(url, '_blank');
    if (tab) {
      try { tab.opener = null; } catch { /* another origin */ }
    } else {
      toast(t('logBlocked'), url);
    }
  } else if (ev.verb === 'run') {
    toast(`${t('runNotice')} ${ev.target}`);
  } else {
    toast(`${t('notFound')} ${ev.target}`);
  }
}

// ---- start --------------------------------------------------------------------------

setLanguage('en');
renderStatus();
connect();
