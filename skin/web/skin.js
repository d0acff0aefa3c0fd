// The skin's side of the wire protocol: the program's windows as it describes them, their
// variables, and the messages the pages send back.
//
// A "load" starts a new window of its name (a message box opened inside another is a
// second window of the same name); "set", "goto", "move" and "show" go to the newest
// window of a name, "hide" to the newest one that is shown.

export const skin = {
  windows: new Map(),   // name -> [window, ...] in creation order
  tray: { intray: false, tip: '' },
  busy: false,
  replaying: false,     // the host is bringing this page up to date
  dirty: new Set(),     // names of windows whose view needs an update
};

let sender = () => {};
let onDirty = () => {};

export function setSender(fn) { sender = fn; }
export function setDirtyListener(fn) { onDirty = fn; }

export function markDirty(name) {
  skin.dirty.add(name);
  onDirty();
}

export class SkinWindow {
  constructor(name, movie) {
    this.name = name;
    this.movie = movie;
    this.vars = new Map();
    this.frames = new Map();
    this.shown = false;
    this.modal = false;
    this.activate = false;
    this.view = null;  // what the page built for it
  }
  get(name) { return this.vars.get(name) ?? ''; }
}

export function instancesOf(name) { return skin.windows.get(name) || []; }

export function newest(name) {
  const list = instancesOf(name);
  return list.length ? list[list.length - 1] : null;
}

export function newestShown(name) {
  const list = instancesOf(name);
  for (let i = list.length - 1; i >= 0; i--) if (list[i].shown) return list[i];
  return null;
}

// The variable as the skin holds it; "" when never set.
export function get(win, name) {
  const w = newestShown(win) || newest(win);
  return w ? w.get(name) : '';
}

export function send(message) { sender(message); }

export function command(win, cmd, args = '') { send({ win, cmd, args: String(args) }); }

// The skin changes one of its own variables; the program learns it at once, so that
// a command sent afterwards finds the value in place.
export function set(win, name, value) {
  const w = newestShown(win) || newest(win);
  if (!w) return;
  value = String(value);
  if (w.vars.get(name) === value) return;
  w.vars.set(name, value);
  send({ win, var: name, value });
  markDirty(win);
}

// Flags as the skin reads them: "1" and "true" are on, anything else off.
export function isOn(value) { return value === '1' || value === 'true'; }

// "|"-joined lists: one leading and one trailing bar removed, empty items dropped.
export function splitList(text) {
  let s = String(text || '');
  if (s.startsWith('|')) s = s.slice(1);
  if (s.endsWith('|')) s = s.slice(0, -1);
  return s === '' ? [] : s.split('|').filter((item) => item !== '');
}

// Applies one event of the program; returns the window it touched (or null).
export function apply(ev) {
  switch (ev.ev) {
    case 'load': {
      const list = instancesOf(ev.win).filter((w) => w.shown);
      const w = new SkinWindow(ev.win, ev.movie);
      list.push(w);
      skin.windows.set(ev.win, list);
      return w;
    }
    case 'set': {
      const w = newest(ev.win);
      if (w) w.vars.set(ev.name, String(ev.value));
      return w;
    }
    case 'goto': {
      const w = newest(ev.win);
      if (w) w.frames.set(ev.target, Number(ev.frame));
      return w;
    }
    case 'show': {
      const w = newest(ev.win);
      if (w) { w.shown = true; w.modal = !!ev.modal; w.activate = !!ev.activate; }
      return w;
    }
    case 'hide': {
      const w = newestShown(ev.win);
      if (w) w.shown = false;
      return w;
    }
    case 'tray':
      skin.tray = { intray: !!ev.intray, tip: ev.tip || '' };
      return null;
    case 'cursor':
      skin.busy = ev.value === 'busy';
      return null;
    default:
      return null;
  }
}
