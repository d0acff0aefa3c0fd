// The main window: a page per area, each control bound to the skin variable and the
// command that the program knows it by.

import { h, uid, fill } from './dom.js';
import { t, languageOf } from './texts.js';
import * as S from './skin.js';

const W = 'mainfrm';
const root = (name) => `_root.${name}`;
const v = (name) => S.get(W, root(name));
const setv = (name, value) => S.set(W, root(name), value);
const cmd = (command, args = '') => S.command(W, command, args);
const flag = (name) => (S.isOn(v(name)) ? 'true' : 'false');

// Check boxes of the cleaning runs, in the order of each run's flag list.
const RUNS = {
  windows: ['WIN_TF', 'WIN_CBTF', 'WIN_TEM', 'WIN_RB', 'WIN_DRA', 'WIN_DIRA', 'WIN_DDRA', 'WIN_CBD', 'WIN_UAH',
    'WIN_CDH', 'WIN_MSPRF', 'WIN_WRF', 'WIN_MPRF', 'WIN_RH', 'WIN_FH', 'WIN_RD', 'WIN_CREH', 'WIN_RPC', 'WIN_RRC',
    'WIN_RNC', 'WIN_CWLF'],
  ie: ['IE_TU', 'IE_AC', 'IE_DF', 'IE_CA', 'IE_HI', 'IE_CO'],
  netscape: ['NS_MT', 'NS_HI', 'NS_CA', 'NS_AC', 'NS_CO'],
  firefox: ['FF_CHATU', 'FF_CCA', 'FF_CCO', 'FF_CB'],
  opera: ['OP_HI', 'OP_CO', 'OP_CA'],
  aol: ['AOL_ICF', 'AOL_DF'],
  msn: ['MSN_RFF', 'MSN_AS'],
  icq: ['ICQ_B', 'ICQ_BC', 'ICQ_RF', 'ICQ_RCH'],
  yahoo: ['Yahoo_CPS', 'Yahoo_RYP'],
  office: ['MO_AM', 'MO_WM', 'MO_EM', 'MO_PM', 'MO_OM', 'MO_PEM'],
};
// The options command's six flags, in its order.
const OPTIONS = ['AS3_Ena', 'WIN_BF', 'WIN_EAS', 'WIN_EB', 'WIN_CWTF', 'WIN_OHWI'];
const MODES = [['ISB_WM_AA', 'AUTOMATIC-A', 'modeA'], ['ISB_WM_AB', 'AUTOMATIC-B', 'modeB'],
  ['ISB_WM_AC', 'AUTOMATIC-C', 'modeC'], ['ISB_WM_AD', 'AUTOMATIC-D', 'modeD'], ['ISB_WM_AE', 'AUTOMATIC-E', 'modeE'],
  ['ISB_WM_AF', 'AUTOMATIC-F', 'modeF'], ['ISB_WM_AG', 'AUTOMATIC-G', 'modeG'],
  ['ISB_WM_WD', 'WINDOWS DEFAULT', 'modeDefault']];
const CONNECTIONS = ['Dial', 'Cable', 'DSL', 'LAN'];
const WEEKDAYS = ['Sunday', 'Monday', 'Tuesday', 'Wednesday', 'Thursday', 'Friday', 'Saturday'];
const SCHEDULES = ['NONE', 'Daily', 'Weekly', 'Monthly', 'Custom'];

// ---- building blocks ----------------------------------------------------------------

let binders = null;  // the update functions of what is being built
const bind = (fn) => binders.push(fn);

// Tick marks of lists whose program sends no tick variables: per list, the ticked items.
const ticks = new Map();
const tickSet = (list) => {
  if (!ticks.has(list)) ticks.set(list, new Set());
  return ticks.get(list);
};

// Which view a page with two views shows ("registry" -> "restore").
const views = new Map();

const button = (key, onclick, props = {}) => h('button', { type: 'button', onclick, ...props }, t(key));

function checkbox(name, key = name, after = null) {
  const id = uid('cb');
  const input = h('input', {
    type: 'checkbox', id,
    onchange: () => { setv(name, input.checked ? 'true' : 'false'); if (after) after(input.checked); },
  });
  bind(() => { input.checked = S.isOn(v(name)); });
  return h('div', { class: 'check' }, input, h('label', { for: id }, t(key)));
}

function field(name, key, props = {}) {
  const id = uid('f');
  const input = h('input', { type: 'text', id, autocomplete: 'off', ...props, oninput: () => setv(name, input.value) });
  bind(() => { if (document.activeElement !== input) input.value = v(name); });
  return h('div', { class: 'field' }, h('label', { for: id }, t(key)), input);
}

// A text area showing a "|"-joined list variable one item per line.
function linesField(name, key) {
  const id = uid('ta');
  const area = h('textarea', {
    id, rows: '3', spellcheck: 'false',
    oninput: () => setv(name, area.value.split('\n').map((s) => s.trim()).filter(Boolean).join('|')),
  });
  bind(() => { if (document.activeElement !== area) area.value = S.splitList(v(name)).join('\n'); });
  return h('div', { class: 'field' }, h('label', { for: id }, t(key)), area);
}

function select(key, options, value, onchange) {
  const id = uid('s');
  const el = h('select', { id, onchange: () => onchange(el.value) });
  bind(() => {
    const list = options();
    const signature = JSON.stringify(list);
    if (el.dataset.options !== signature) {
      el.dataset.options = signature;
      fill(el, list.map(([optionValue, label]) => h('option', { value: optionValue }, label)));
    }
    el.value = value();
  });
  return h('div', { class: 'field' }, h('label', { for: id }, t(key)), el);
}

// quiet: the legend is for screen readers only (the group around says the same).
function radios(key, options, value, onchange, quiet = false) {
  const name = uid('r');
  const inputs = options.map(([optionValue, labelKey]) => {
    const id = uid('rb');
    const input = h('input', { type: 'radio', name, id, value: optionValue, onchange: () => onchange(optionValue) });
    return [input, h('div', { class: 'check' }, input, h('label', { for: id }, t(labelKey)))];
  });
  bind(() => {
    const chosen = value();
    for (const [input] of inputs) input.checked = input.value === chosen;
  });
  return h('fieldset', { class: 'radios' }, h('legend', { class: quiet ? 'sr-only' : null }, t(key)),
    inputs.map(([, row]) => row));
}

function group(key, ...children) {
  return h('fieldset', { class: 'group' }, h('legend', {}, t(key)), children);
}

const actions = (...buttons) => h('div', { class: 'actions' }, buttons);

// A list with a tick box per item. items() gives [{ value, label }]; the tick of item i
// is the variable tickVar + i where the program keeps one, else the page's own.
function tickList(list, items, tickVar = null) {
  const isTicked = (item, i) => (tickVar ? S.isOn(v(`${tickVar}${i}`)) : tickSet(list).has(item.value));
  const setTick = (item, i, on) => {
    if (tickVar) { setv(`${tickVar}${i}`, on ? 'true' : 'false'); return; }
    if (on) tickSet(list).add(item.value); else tickSet(list).delete(item.value);
    S.markDirty(W);
  };
  const ul = h('ul', { class: 'ticklist' });
  const count = h('p', { class: 'count', 'aria-live': 'polite' });
  let shown = null;
  bind(() => {
    const all = items();
    const state = all.map((item, i) => isTicked(item, i));
    const signature = JSON.stringify([all, state]);
    if (signature === shown) return;
    shown = signature;
    count.textContent = all.length ? t('listCount', { n: all.length }) : t('empty');
    fill(ul, all.map((item, i) => {
      const id = uid('li');
      const input = h('input', { type: 'checkbox', id, checked: state[i], onchange: () => setTick(item, i, input.checked) });
      return h('li', {}, input, h('label', { for: id }, item.label));
    }));
  });
  const control = {
    element: h('div', { class: 'listbox' }, ul, count),
    selected: () => items().filter((item, i) => isTicked(item, i)).map((item) => item.value),
    all: () => items().map((item) => item.value),
    tickAll: (on) => items().forEach((item, i) => setTick(item, i, on)),
  };
  control.selectButtons = () => [button('selectAll', () => control.tickAll(true)), button('selectNone', () => control.tickAll(false))];
  // A button that acts on the ticked items, usable only while some are ticked.
  control.actOnTicked = (key, act) => {
    const b = button(key, () => act(control.selected()), { class: 'primary' });
    bind(() => { b.disabled = control.selected().length === 0; });
    return b;
  };
  return control;
}

// A list from which one item is chosen.
function choiceList(list, items) {
  const ul = h('ul', { class: 'ticklist' });
  const name = uid('choice');
  let shown = null;
  bind(() => {
    const all = items();
    const chosen = tickSet(list).values().next().value;
    const signature = JSON.stringify([all, chosen]);
    if (signature === shown) return;
    shown = signature;
    fill(ul, all.length ? all.map((item) => {
      const id = uid('ch');
      const input = h('input', {
        type: 'radio', name, id, checked: item.value === chosen,
        onchange: () => { tickSet(list).clear(); tickSet(list).add(item.value); S.markDirty(W); },
      });
      return h('li', {}, input, h('label', { for: id }, item.label));
    }) : h('li', { class: 'none' }, t('empty')));
  });
  return { element: ul, chosen: () => tickSet(list).values().next().value };
}

const plainItems = (namesVar) => () => S.splitList(v(namesVar)).map((item) => ({ value: item, label: item }));

// A group of cleaning options with its clean command. The page is switched off when the
// program found the application missing.
function cleanGroup(key, names, command, enabledVar = null, ...extra) {
  const note = h('p', { class: 'note', hidden: true }, t('notInstalled'));
  const set = h('fieldset', { class: 'group' }, h('legend', {}, t(key)), note,
    h('div', { class: 'checks' }, names.map((name) => checkbox(name))), extra,
    actions(
      button('selectAll', () => names.forEach((name) => setv(name, 'true'))),
      button('selectNone', () => names.forEach((name) => setv(name, 'false'))),
      button('clean', () => cmd(command, names.map(flag).join(',')), { class: 'primary' })));
  if (enabledVar) {
    bind(() => {
      const missing = v(enabledVar) === '0';
      note.hidden = !missing;
      set.disabled = missing;
    });
  }
  return set;
}

// ---- pages --------------------------------------------------------------------------

function windowsPage() {
  return [h('p', { class: 'intro' }, t('winIntro')), cleanGroup('pageWindows', RUNS.windows, 'IDC_FS_WIN')];
}

function privacySwitch(key, hideVar, showVar, hideCommand, showCommand) {
  let hide = null;
  let show = null;
  const update = () => { hide.disabled = !S.isOn(v(hideVar)); show.disabled = !S.isOn(v(showVar)); };
  // The pressed button becomes unusable and its partner usable; the focus moves along.
  const act = (on, off, command, next) => {
    setv(on, 'true');
    setv(off, 'false');
    update();
    next().focus();
    cmd(command);
  };
  hide = button('hide', () => act(showVar, hideVar, hideCommand, () => show));
  show = button('show', () => act(hideVar, showVar, showCommand, () => hide));
  bind(update);
  return h('div', { class: 'switch' }, h('span', {}, t(key)), hide, show);
}

function iePage() {
  return [
    h('p', { class: 'intro' }, t('ieIntro')),
    cleanGroup('pageIE', RUNS.ie, 'IDC_FS_IE', null, field('HomePage', 'homePage', { type: 'url' })),
    group('privacy', h('p', { class: 'intro' }, t('privacyIntro')),
      privacySwitch('typedUrls', 'TypedUrls_Hide', 'TypedUrls_Show', 'IDC_FS_HIDETYPEDURLS', 'IDC_FS_SHOWTYPEDURLS'),
      privacySwitch('passwords', 'Password_Hide', 'Password_Show', 'IDC_FS_HIDEPASSWORD', 'IDC_FS_SHOWPASSWORD'),
      privacySwitch('favorites', 'Favorites_Hide', 'Favorites_Show', 'IDC_FS_HIDEFAVORITES', 'IDC_FS_SHOWFAVORITES')),
  ];
}

const netscapePage = () => [cleanGroup('pageNetscape', RUNS.netscape, 'IDC_FS_NS', 'NS_Enabled')];
const firefoxPage = () => [cleanGroup('pageFirefox', RUNS.firefox, 'IDC_FS_FF', 'FF_Enabled')];
const operaPage = () => [
  cleanGroup('opera', RUNS.opera, 'IDC_FS_OP', 'OP_Enabled'),
  cleanGroup('aol', RUNS.aol, 'IDC_FS_AOL', 'AOL_Enabled'),
];
const messengersPage = () => [
  cleanGroup('msn', RUNS.msn, 'IDC_FS_MSN', 'MSN_Enabled'),
  cleanGroup('icq', RUNS.icq, 'IDC_FS_ICQ', 'ICQ_Enabled'),
  cleanGroup('yahoo', RUNS.yahoo, 'IDC_FS_YAHOO', 'YAHOO_Enabled'),
];
const officePage = () => [h('p', { class: 'intro' }, t('officeIntro')), cleanGroup('pageOffice', RUNS.office, 'IDC_FS_MO')];

function optionsPage() {
  const version = h('p', {});
  bind(() => { version.textContent = `${t('version')} ${v('Version')}`; });
  return [
    group('language', select('language', () => [['English', 'English'], ['Deutsch', 'Deutsch']],
      () => (languageOf(v('strCurrentLanguage')) === 'de' ? 'Deutsch' : 'English'),
      (name) => cmd('IDC_FS_LANGUAGE', name))),
    group('tweaks',
      h('div', { class: 'checks' }, OPTIONS.map((name) =>
        checkbox(name, name, name === 'AS3_Ena' ? (on) => setv('AS3_DIS', on ? 'false' : 'true') : null))),
      actions(button('apply', () => cmd('IDC_FS_OPT', OPTIONS.map(flag).join(',')), { class: 'primary' }))),
    group('about', version,
      actions(button('help', () => cmd('IDC_FS_HELP')), button('website', () => cmd('IDC_FS_WEBSITE')),
        button('checkUpdates', () => cmd('IDC_FS_CHECKUPDATES')))),
  ];
}

// The shredder's pending list of one kind, kept in a variable of the page's own.
function pendingList(kind, listVar, addKey, addCommand, dropCommand, shredKey, shredCommand) {
  const list = tickList(kind, plainItems(listVar));
  const shred = button(shredKey, () => cmd(shredCommand, S.splitList(v(listVar)).join('|')), { class: 'primary' });
  bind(() => { shred.disabled = S.splitList(v(listVar)).length === 0; });
  const drop = () => {
    const chosen = list.selected();
    for (const item of chosen) cmd(dropCommand, item);
    setv(listVar, S.splitList(v(listVar)).filter((item) => !chosen.includes(item)).join('|'));
    tickSet(kind).clear();
  };
  const dropButton = button('removeFromList', drop);
  bind(() => { dropButton.disabled = list.selected().length === 0; });
  return group(kind === 'files' ? 'shredFiles' : 'shredFolders', list.element,
    actions(button(addKey, () => cmd(addCommand)), dropButton, shred));
}

function driveOptions(namesVar) {
  return () => [['', t('chooseDrive')], ...S.splitList(v(namesVar)).map((drive) => [drive, drive])];
}

function shredderPage() {
  const deleteButton = button('deleteNow', () => {
    const type = v('FileTypeValue').replaceAll(',', '').trim();
    cmd('IDC_FS_DELETE', [type || 'undefined', v('PathValue') ? 'KB' : 'undefined',
      Number(v('DeleteMaxSize')) || 0, Number(v('DeleteMinSize')) || 0].join(','));
  }, { class: 'primary' });
  bind(() => { deleteButton.disabled = !v('PathValue') || !v('FileTypeValue'); });
  const shredDrive = button('shredDriveNow', () => {
    cmd('IDC_FS_SH_SFSO', flag('SH_SFSO'));
    if (v('ShredDrive')) cmd('IDC_FS_HD_SHRED', v('ShredDrive'));
    cmd('IDC_FS_SHREDDRIVE');
  }, { class: 'primary' });
  return [
    h('p', { class: 'intro' }, t('shredIntro')),
    pendingList('files', 'ShredFileList', 'addFile', 'IDC_FS_ADDFILETOSHRED', 'IDC_FS_SHREDFILESDEL',
      'shredFilesNow', 'IDC_FS_SHREDFILES'),
    pendingList('folders', 'ShredFolderList', 'addFolder', 'IDC_FS_ADDFOLDERSTOSHRED', 'IDC_FS_SHREDFOLDERSDEL',
      'shredFoldersNow', 'IDC_FS_SHREDFOLDERS'),
    group('shredDrive',
      select('drive', driveOptions('NamesOfDrives'), () => v('ShredDrive'), (drive) => {
        setv('ShredDrive', drive);
        if (drive) cmd('IDC_FS_HD_SHRED', drive);
      }),
      checkbox('SH_SFSO', 'SH_SFSO', (on) => cmd('IDC_FS_SH_SFSO', on ? 'true' : 'false')),
      actions(shredDrive)),
    group('deleteByType',
      h('div', { class: 'row' }, field('PathValue', 'folder'), button('browse', () => cmd('IDC_FS_HD_BROWSE'))),
      h('div', { class: 'row' }, field('FileTypeValue', 'fileType', { size: '8' }),
        field('DeleteMinSize', 'minSize', { type: 'number', min: '0', size: '8' }),
        field('DeleteMaxSize', 'maxSize', { type: 'number', min: '0', size: '8' })),
      actions(deleteButton)),
  ];
}

// A page with a second view (the restore views); the toggle goes through showView.
function twoViews(page, first, second) {
  const a = h('div', {}, first);
  const b = h('div', {}, second);
  bind(() => {
    const restore = views.get(page) === 'restore';
    a.hidden = restore;
    b.hidden = !restore;
  });
  return [a, b];
}

function showView(page, view) {
  views.set(page, view);
  S.markDirty(W);
}

function registryPage() {
  const findings = tickList('registry', () => (v('NumberOfRegItems') === '0' ? [] : plainItems('NamesOfRegItems')()));
  const noErrors = h('p', { class: 'note', hidden: true }, t('noErrors'));
  bind(() => { noErrors.hidden = !(v('NumberOfRegItems') === '0' && v('ShowRegItems') !== ''); });
  const backups = tickList('regRestore', plainItems('NamesOfRegItems_Restore'));
  return [
    h('p', { class: 'intro' }, t('regIntro')),
    twoViews('registry',
      group('findings', actions(button('scan', () => cmd('IDC_FS_SCAN_REG'), { class: 'primary' }),
        button('restoreView', () => { showView('registry', 'restore'); cmd('IDC_FS_RESTORREGLIST'); })),
      noErrors, findings.element,
      actions(...findings.selectButtons(),
        findings.actOnTicked('cleanSelected', (items) => cmd('IDC_FS_CLEAN_REG', items.join('|'))))),
      group('backups', backups.element,
        actions(...backups.selectButtons(),
          backups.actOnTicked('restore', (items) => cmd('IDC_FS_RESTOREREG', items.join('|'))),
          button('back', () => { showView('registry', 'scan'); cmd('IDC_FS_RESTOREBACK'); })))),
  ];
}

function dllPage() {
  const found = tickList('dll', plainItems('NamesOfDllItems'), 'valueOfDLLItems');
  const backups = tickList('dllRestore', plainItems('NamesOfRestoreItems'));
  const status = h('p', { class: 'status', role: 'status' });
  const scanSet = group('pageDll',
    select('drive', driveOptions('NamesOfDrives2'), () => v('DllDrive'), (drive) => {
      setv('DllDrive', drive);
      if (drive) cmd('IDC_FS_DLL_HD', drive);
    }),
    checkbox('DLL_BBD', 'dllBackup', (on) => cmd('IDC_FS_DLL_BBD', on ? 'true' : 'false')),
    actions(button('scan', () => {
      if (v('DllDrive')) cmd('IDC_FS_DLL_HD', v('DllDrive'));
      cmd('IDC_FS_DLLCLEANER');
    }, { class: 'primary' }), button('restoreView', () => { showView('dll', 'restore'); cmd('IDC_FS_RESTORENOW'); })),
    status, found.element,
    actions(...found.selectButtons(),
      found.actOnTicked('remove', (items) => cmd('IDC_FS_DLL', items.join('|')))));
  bind(() => {
    const scanning = v('MakeTheGUIDisable') === 'true';
    scanSet.disabled = scanning;
    status.textContent = scanning ? t('scanning') : '';
  });
  return [
    h('p', { class: 'intro' }, t('dllIntro')),
    twoViews('dll', scanSet,
      group('dllBackups', backups.element,
        actions(...backups.selectButtons(),
          backups.actOnTicked('restore', (items) => cmd('IDC_FS_RESTORE', items.join('|'))),
          button('refresh', () => cmd('IDC_FS_RESTORENOW')),
          button('back', () => showView('dll', 'scan'))))),
  ];
}

function pluginsPage() {
  const list = tickList('plugins', plainItems('NamesOfItems'), 'valueOfItems');
  const showList = (filter) => {
    setv('PluginFilter', filter);
    cmd(filter === 'all' ? 'IDC_FS_SPLUGINS' : 'IDC_FS_HPLUGINS');
  };
  return [
    h('p', { class: 'intro' }, t('pluginsIntro')),
    twoViews('plugins',
      group('pagePlugins',
        radios('pluginsShow', [['installed', 'pluginsInstalled'], ['all', 'pluginsAll']],
          () => v('PluginFilter') || 'installed', showList),
        list.element,
        actions(...list.selectButtons(),
          list.actOnTicked('cleanSelected', (names) => cmd('IDC_FS_CLEANPLUGIN', names.map((name) => `${name}|`).join(''))),
          button('pluginEditor', () => showView('plugins', 'restore')))),
      group('pluginEditor',
        field('PluginNameVlaue_Reg_New', 'pluginName'),
        field('PluginCategoryVlaue_Reg_New', 'pluginCategory'),
        field('ListOneValues2', 'pluginApp'),
        field('ListOneValues', 'pluginDetect'),
        linesField('ListOneValues3', 'pluginRegistry'),
        linesField('ListOneValues4', 'pluginFiles'),
        actions(button('addFile', () => cmd('IDC_FS_BROWSE_FF'))),
        linesField('ListOneValues5', 'pluginFolders'),
        actions(button('addFolder', () => cmd('IDC_FS_BROWSE_FOLDERS'))),
        actions(
          button('save', () => {
            cmd('IDC_FS_PLUGIN_NEW');
            showView('plugins', 'list');
            showList(v('PluginFilter') || 'installed');
          }, { class: 'primary' }),
          button('back', () => showView('plugins', 'list'))))),
  ];
}

const twoDigits = (text) => String(Math.max(0, Number(text) || 0)).padStart(2, '0');

function schedulerPage() {
  const type = () => SCHEDULES.find((s) => s.toUpperCase() === v('TypeOfSchedule').toUpperCase()) || 'NONE';
  const number = (name, key, min, max) => field(name, key, { type: 'number', min: String(min), max: String(max) });
  const day = select('weekday', () => WEEKDAYS.map((d) => [d, t(d)]),
    () => WEEKDAYS.find((d) => d.toUpperCase() === v('CurrentDayName').toUpperCase()) || 'Monday',
    (d) => setv('CurrentDayName', d));
  const date = number('CurrentDayNumber', 'dayOfMonth', 1, 31);
  const hour = number('CurrentHour', 'hour', 0, 23);
  const minute = number('CurrentMinute', 'minute', 0, 59);
  const interval = number('CurrentCustom', 'interval', 1, 23);
  bind(() => {
    const chosen = type();
    day.hidden = chosen !== 'Weekly';
    date.hidden = chosen !== 'Monthly';
    interval.hidden = chosen !== 'Custom';
    hour.hidden = minute.hidden = chosen === 'NONE' || chosen === 'Custom';
  });
  const save = () => {
    const hours = Number(v('CurrentHour')) || 0;
    const weekday = WEEKDAYS.find((d) => d.toUpperCase() === v('CurrentDayName').toUpperCase()) || 'Monday';
    cmd('IDC_FS_SAVESCHEDULEOPTIONS', [type(), weekday, Number(v('CurrentDayNumber')) || 1, twoDigits(hours),
      twoDigits(v('CurrentMinute')), hours < 12 ? 'true' : 'false', hours < 12 ? 'false' : 'true',
      Number(v('CurrentCustom')) || 1].join(','));
  };
  return [
    h('p', { class: 'intro' }, t('scheduleIntro')),
    group('pageScheduler',
      radios('scheduleType', SCHEDULES.map((s) => [s, s]), type, (s) => setv('TypeOfSchedule', s)),
      h('div', { class: 'row' }, day, date, hour, minute, interval),
      actions(button('save', save, { class: 'primary' }))),
  ];
}

function startupPage() {
  const entries = () => {
    const fields = S.splitList(v('NamesOfItems_SM'));
    const out = [];
    for (let i = 0; i + 1 < fields.length; i += 2) out.push({ value: fields[i], label: `${fields[i]} — ${fields[i + 1]}` });
    return out;
  };
  const list = tickList('startup', entries);
  return [
    h('p', { class: 'intro' }, t('startupIntro')),
    group('pageStartup', list.element,
      actions(list.actOnTicked('removeSelected', (names) => names.forEach((name) => cmd('IDC_FS_WHICHITEM', name))))),
  ];
}

function uninstallPage() {
  const list = choiceList('uninstall', plainItems('NamesOfItems_UP'));
  return [
    h('p', { class: 'intro' }, t('uninstallIntro')),
    group('pageUninstall', list.element,
      actions(button('uninstall', () => { if (list.chosen()) cmd('IDC_FS_UNISTALLPROGRAMS', list.chosen()); },
        { class: 'primary' }))),
  ];
}

function boosterPage() {
  const figures = h('dl', { class: 'figures' });
  bind(() => {
    fill(figures, [['MTU', 'mtu'], ['MSS', 'mss'], ['RWIN', 'rwin'], ['TTL', 'ttl'], ['NDL', 'ndl'], ['SYN', 'syn'],
      ['Keep-alive (ms)', 'MSecTime'], ['Keep-alive interval (ms)', 'MSecIntreval']]
      .map(([label, name]) => h('div', {}, h('dt', {}, label), h('dd', {}, v(name) || '–'))));
  });
  const connect = (type) => {
    setv('SelectedRadioBtn', type);
    cmd('IDC_FS_CONNECTION', CONNECTIONS.map((c) => (c === type ? 'true' : 'false')).join(','));
  };
  const chosenMode = () => (MODES.find(([name]) => S.isOn(v(name))) || [''])[0];
  const chooseMode = (name) => {
    for (const [other] of MODES) setv(other, other === name ? 'true' : 'false');
    setv('ISB_WizardMode', root(name));
  };
  const applyMode = () => {
    const mode = MODES.find(([name]) => name === chosenMode());
    if (mode) cmd(mode[1]);
    cmd('IDC_FS_ISB_WIZARDMODE');
  };
  const advanced = ['rwin', 'syn', 'ndl'].map((name) => {
    const id = uid('adv');
    const input = h('input', { type: 'number', id, min: '0' });
    bind(() => { if (document.activeElement !== input && !input.dataset.edited) input.value = v(name); });
    input.addEventListener('input', () => { input.dataset.edited = '1'; });
    return [input, h('div', { class: 'field' }, h('label', { for: id }, name.toUpperCase()), input)];
  });
  const stepperId = uid('step');
  const stepper = h('input', { type: 'number', id: stepperId, min: '0', onchange: () => {
    setv('minStepper', stepper.value);
    cmd('ID_FS_MINSTEPPER', stepper.value);
  } });
  bind(() => { if (document.activeElement !== stepper) stepper.value = v('minStepper'); });
  return [
    group('connectionType',
      radios('connectionType', CONNECTIONS.map((c) => [c, c]), () => v('SelectedRadioBtn'), connect, true),
      h('h3', {}, t('figures')), figures),
    group('modes', radios('modes', MODES.map(([name, , key]) => [name, key]), chosenMode, chooseMode, true),
      actions(button('apply', applyMode, { class: 'primary' }))),
    group('advanced', h('div', { class: 'row' }, advanced.map(([, row]) => row)),
      actions(button('apply', () => {
        cmd('IDC_FS_ADVANCEDMODEFINISHED', advanced.map(([input]) => input.value.trim()).join(','));
        advanced.forEach(([input]) => delete input.dataset.edited);
      }))),
    group('ping', field('PingInput', 'pingHost'), checkbox('EnablePingerCB_E', 'pingEnabled'),
      h('div', { class: 'field' }, h('label', { for: stepperId }, t('pingStep')), stepper),
      actions(button('save', () => cmd('IDC_FS_PINGSETTINGS'), { class: 'primary' }))),
    group('controlPanels', actions(
      button('internetSettings', () => cmd('IDC_FS_INTERNET SETTINGS')),
      button('systemProperties', () => cmd('IDC_FS_SYSTEM PROPERTIES')),
      button('modemSettings', () => cmd('IDC_FS_MODEM SETTINGS')),
      button('networkSettings', () => cmd('IDC_FS_NETWORK SETTINGS')))),
  ];
}

function memoryPage() {
  const meter = h('meter', { min: '0', max: '100', low: '60', high: '85', optimum: '20', id: uid('m') });
  const value = h('span', { class: 'big' });
  bind(() => {
    const load = Number(v('RamValue')) || 0;
    meter.value = load;
    value.textContent = v('RamValue') ? `${load} %` : '–';
  });
  const sliderId = uid('slider');
  const shown = h('output', { for: sliderId });
  const slider = h('input', { type: 'range', id: sliderId, min: '0', max: '90', step: '5',
    oninput: () => { shown.textContent = `${slider.value} %`; } });
  slider.value = '50';
  shown.textContent = '50 %';
  return [
    group('memoryLoad', h('label', { for: meter.id, class: 'sr-only' }, t('memoryLoad')),
      h('div', { class: 'row' }, meter, value)),
    group('freeMemory', h('label', { for: sliderId }, t('freeShare')), h('div', { class: 'row' }, slider, shown),
      actions(button('freeNow', () => cmd('IDC_FS_SCROLL', slider.value), { class: 'primary' }))),
  ];
}

export const PAGES = [
  ['windows', 'pageWindows', windowsPage],
  ['ie', 'pageIE', iePage],
  ['netscape', 'pageNetscape', netscapePage],
  ['firefox', 'pageFirefox', firefoxPage],
  ['opera', 'pageOpera', operaPage],
  ['messengers', 'pageMessengers', messengersPage],
  ['office', 'pageOffice', officePage],
  ['options', 'pageOptions', optionsPage],
  ['shredder', 'pageShredder', shredderPage],
  ['registry', 'pageRegistry', registryPage],
  ['dll', 'pageDll', dllPage],
  ['plugins', 'pagePlugins', pluginsPage],
  ['scheduler', 'pageScheduler', schedulerPage],
  ['startup', 'pageStartup', startupPage],
  ['uninstall', 'pageUninstall', uninstallPage],
  ['booster', 'pageBooster', boosterPage],
  ['memory', 'pageMemory', memoryPage],
];

// ---- the window ---------------------------------------------------------------------

let element = null;
let headerBinders = [];
const built = new Map();  // page id -> { section, binders }
let current = null;

function pageFromAddress() {
  const id = decodeURIComponent(location.hash.replace(/^#/, ''));
  return PAGES.some(([page]) => page === id) ? id : 'windows';
}

function progressPanel() {
  const title = h('strong', {});
  const text = h('span', {});
  const bar = h('progress', {});
  const panel = h('div', { class: 'progress', role: 'status', hidden: true }, title, text, bar,
    button('stop', () => cmd('ID_FS_CANCELSHREDDER')));
  bind(() => {
    panel.hidden = v('resultmsg') !== '1';
    title.textContent = v('shredTitle');
    text.textContent = v('shredder');
  });
  return panel;
}

function buildFrame() {
  binders = [];
  const version = h('span', { class: 'version' });
  bind(() => { version.textContent = v('Version') ? `${t('version')} ${v('Version')}` : ''; });
  const nav = h('nav', { 'aria-label': t('areas') }, h('ul', {}, PAGES.map(([id, key]) =>
    h('li', {}, h('a', { href: `#${id}`, 'data-page': id, onclick: (e) => { e.preventDefault(); goTo(id, true); } }, t(key))))));
  element = h('div', { class: 'mainwindow' },
    h('header', { class: 'titlebar' },
      h('h1', { tabindex: '-1' }, t('appName')), version,
      h('div', { class: 'windowbuttons' },
        button('help', () => cmd('IDC_FS_HELP')),
        button('minimize', () => cmd('IDC_FS_MINIMIZE')),
        button('close', () => cmd('IDC_FS_CLOSE')))),
    progressPanel(),
    h('div', { class: 'body' }, nav, h('main', { id: 'page', tabindex: '-1' })));
  headerBinders = binders;
  binders = null;
  built.clear();
  current = null;
  return element;
}

function goTo(id, focus) {
  if (location.hash !== `#${id}`) history.replaceState(null, '', `#${id}`);
  current = id;
  if (!built.has(id)) {
    const [, key, make] = PAGES.find(([page]) => page === id);
    binders = [];
    const section = h('section', { 'aria-labelledby': `title-${id}` }, h('h2', { id: `title-${id}` }, t(key)), make());
    built.set(id, { section, binders });
    binders = null;
  }
  const main = element.querySelector('#page');
  fill(main, built.get(id).section);
  for (const link of element.querySelectorAll('nav a')) {
    if (link.dataset.page === id) link.setAttribute('aria-current', 'page');
    else link.removeAttribute('aria-current');
  }
  sync();
  if (focus) main.querySelector('h2').focus();
}

function sync() {
  for (const fn of headerBinders) fn();
  if (current) for (const fn of built.get(current).binders) fn();
}

// The element of the main window, built anew (after a language switch) when asked.
export function mainWindowElement(rebuild) {
  if (!element || rebuild) {
    buildFrame();
    goTo(pageFromAddress(), false);
  }
  return element;
}

export function renderMainWindow() {
  if (element) sync();
}

export function focusMainWindow() {
  element?.querySelector('h1')?.focus();
}

// Reactions to what the program sets, beyond showing it: items it adds to the skin's own
// lists, lists it clears, and tick marks that a new list makes stale.
const TICKED_LISTS = {
  '_root.NamesOfRegItems': 'registry',
  '_root.NamesOfRegItems_Restore': 'regRestore',
  '_root.NamesOfRestoreItems': 'dllRestore',
  '_root.NamesOfItems_SM': 'startup',
  '_root.NamesOfItems_UP': 'uninstall',
};

function appendTo(listVar, item) {
  const items = S.splitList(v(listVar));
  if (item && !items.includes(item)) setv(listVar, [...items, item].join('|'));
}

export function programSet(name, value) {
  if (TICKED_LISTS[name]) tickSet(TICKED_LISTS[name]).clear();
  if (name === '_root.DoAdd_SFI' && value === 'true') appendTo('ShredFileList', v('CurrentItem_SFI'));
  if (name === '_root.DoAdd_SFO' && value === 'true') appendTo('ShredFolderList', v('CurrentItem_SFO'));
  if (name === 'shred_SFI_Now' && value === '1') setv('ShredFileList', '');
  if (name === 'shred_SFO_Now' && value === '1') setv('ShredFolderList', '');
  if (name === '_root.AddFFNow' && value === '1') appendTo('ListOneValues4', v('FileName_FF'));
  if (name === '_root.AddFFNow2' && value === '1') appendTo('ListOneValues5', v('FolderName_FF'));
}

window.addEventListener('hashchange', () => { if (element) goTo(pageFromAddress(), false); });
