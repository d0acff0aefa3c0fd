// Small helpers for building the pages' elements.

let nextId = 0;

// A page-wide unique element id.
export function uid(prefix = 'e') {
  nextId += 1;
  return `${prefix}-${nextId}`;
}

// h('button', { class: 'primary', onclick: fn }, 'Text', child, ...)
// Properties: "class", "text", "on<event>" handlers, DOM properties given as non-strings
// (checked: true), everything else as attributes (false and null leave them out).
export function h(tag, props, ...children) {
  const el = document.createElement(tag);
  for (const [key, value] of Object.entries(props || {})) {
    if (value === null || value === undefined || value === false) continue;
    if (key === 'class') el.className = value;
    else if (key === 'text') el.textContent = value;
    else if (key.startsWith('on') && typeof value === 'function') el.addEventListener(key.slice(2), value);
    else if (typeof value !== 'string' && key in el) el[key] = value;
    else el.setAttribute(key, value === true ? '' : String(value));
  }
  append(el, children);
  return el;
}

function append(el, children) {
  for (const child of children) {
    if (child === null || child === undefined || child === false) continue;
    if (Array.isArray(child)) append(el, child);
    else el.append(child instanceof Node ? child : String(child));
  }
}

// Replaces an element's children.
export function fill(el, ...children) {
  el.replaceChildren();
  append(el, children);
  return el;
}
