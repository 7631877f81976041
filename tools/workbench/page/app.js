// The workbench page: the scene, the object list, the Object menu, the
// plug-in's dialog, the last pick's report, undo and redo, the clipboard, and
// opening and saving scenes. All state lives in the workbench; the page shows
// the state it answers with and asks again now and then.
import {call, openFile, mesh, hasToken, ApiError} from './api.js';
import {View, VIEWS, MAX_DRAWN_EDGES} from './view.js';
import {drawDialog} from './dialog.js';

const $ = (id) => document.getElementById(id);
const view = new View($('view'));
let state = null;
let shownVersion = -1;
let sceneKey = '';
let busy = 0;
let applying = Promise.resolve();

// For people reading the console and for the browser test: the timings of
// the last open and the last action, and the version the view shows.
const bench = {view, timings: {}, shownVersion: -1, lastError: null, lastIgnored: null};
window.workbench = bench;

function message(text, kind) {
  const item = document.createElement('li');
  item.className = kind || 'info';
  item.textContent = `${new Date().toLocaleTimeString()}  ${text}`;
  $('messages').prepend(item);
  while ($('messages').children.length > 30) $('messages').lastChild.remove();
  $('status').textContent = text;
  $('status').className = kind || 'info';
}

function setBusy(delta) {
  busy += delta;
  document.body.classList.toggle('busy', busy > 0);
}

// Runs an API call; shows a refusal as a message and gives null.
async function act(op, args, send = call) {
  setBusy(1);
  try {
    const started = performance.now();
    const answer = await send(op, args);
    bench.timings.lastCall = performance.now() - started;  // the workbench's part
    bench.lastError = null;
    await show(answer);
    return answer;
  } catch (error) {
    if (!(error instanceof ApiError)) throw error;
    bench.lastError = error.message;
    message(error.message, 'error');
    return null;
  } finally {
    setBusy(-1);
  }
}

async function dialogAction(op, args) {
  const started = performance.now();
  const answer = await act(op, args);
  if (!answer) return;
  bench.timings.action = performance.now() - started;
  bench.timings.actionCall = bench.timings.lastCall;
  bench.lastIgnored = answer.ignored || null;
  if (answer.ignored) message(`The dialog ignored it: ${answer.ignored}`, 'warn');
}

// Shows a state, in order: a later answer is never overwritten by an
// earlier one.
function show(next) {
  applying = applying.then(() => apply(next)).catch((error) => message(String(error), 'error'));
  return applying;
}

async function apply(next) {
  if (!next || next.version < shownVersion) return;
  state = next;
  const key = `${next.scene}|${next.objects.map((o) => o.uniqueId).join(',')}`;
  const newScene = key !== sceneKey;
  if (newScene) {
    view.clear(next.objects.reduce((sum, o) => sum + o.faces, 0));
    sceneKey = key;
  }
  const slots = new Set(next.objects.map((o) => o.index));
  view.removeMissing(slots);
  for (const object of next.objects) {
    if (view.revisionOf(object.index) !== object.revision) view.setObject(object.index, object.revision, await mesh(object.index));
  }
  view.setCurrent(next.current);
  const current = next.objects.find((o) => o.index === next.current);
  const ghost = next.ghosts.find((g) => g.object === next.current);
  view.setFrames(current ? current.frame : null, ghost ? ghost.frame : null);
  if (newScene) view.frameAll();
  view.render();
  showPanels(next);
  shownVersion = next.version;
  bench.shownVersion = next.version;
}

function showPanels(s) {
  $('scene-name').textContent = s.scene;
  $('undo').disabled = s.undo === 0 || s.dialog.open;
  $('redo').disabled = s.redo === 0 || s.dialog.open;
  $('undo').title = s.undo ? `Undo ${s.undoLabel}` : 'Nothing to undo';
  $('redo').title = s.redo ? `Redo ${s.redoLabel}` : 'Nothing to redo';
  $('save').disabled = s.dialog.open;
  $('object-menu').disabled = s.dialog.open;

  const list = $('objects');
  list.replaceChildren();
  for (const object of s.objects) {
    const item = document.createElement('li');
    item.className = object.index === s.current ? 'current' : '';
    const current = document.createElement('input');
    current.type = 'radio';
    current.name = 'current';
    current.checked = object.index === s.current;
    current.title = 'Make it the current object';
    current.addEventListener('change', () => act('current', {object: object.index}));
    const selected = document.createElement('input');
    selected.type = 'checkbox';
    selected.checked = object.selected;
    selected.title = 'Selected object';
    selected.addEventListener('change', () => {
      const chosen = s.objects.filter((o) => (o.index === object.index ? selected.checked : o.selected)).map((o) => o.index);
      act('select_objects', {objects: chosen});
    });
    const name = document.createElement('span');
    name.className = 'name';
    name.textContent = object.name;
    const counts = document.createElement('span');
    counts.className = 'counts';
    counts.textContent = `${object.vertices.toLocaleString()} v, ${object.faces.toLocaleString()} f`;
    item.append(current, selected, name, counts);
    item.dataset.object = object.index;
    list.append(item);
  }
  const current = s.objects.find((o) => o.index === s.current);
  $('selection-info').textContent = current
    ? `${current.name}: ${current.selectedVertices} vertices, ${current.selectedLines} lines, ${current.selectedFaces} faces selected`
    : 'No current object.';

  const menu = $('object-menu-items');
  menu.replaceChildren();
  for (const entry of s.plugin.menu) {
    const item = document.createElement('li');
    const button = document.createElement('button');
    button.textContent = entry;
    button.dataset.menu = entry;
    button.addEventListener('click', async () => {
      menu.hidden = true;
      await act('pick', {});
    });
    item.append(button);
    menu.append(item);
  }

  drawDialog($('dialog-layer'), s.dialog.open ? s.dialog.tree : null, dialogAction);
  document.body.classList.toggle('modal', s.dialog.open);
  showReport(s.report);

  const clip = $('clipboard');
  if (document.activeElement !== clip) clip.value = s.clipboard.text === null ? '' : s.clipboard.text;
  clip.placeholder = s.clipboard.text === null ? '(empty)' : '';
  $('clipboard-kind').textContent = `This is ${s.clipboard.kind}.${s.clipboard.note ? ' ' + s.clipboard.note : ''}`;
}

function showReport(report) {
  const summary = $('report-summary');
  summary.replaceChildren();
  if (!report) {
    $('report-text').textContent = 'No pick yet. Choose Object ▸ Tervolin.';
    return;
  }
  $('report-text').textContent = report.text;
  const r = report.json;
  const rows = [];
  rows.push(['operation', r.operation ? `${r.operation.code} ${r.operation.caption.replace(/&(.)/g, '$1')}` : 'none (cancelled)']);
  rows.push(['result', String(r.result)]);
  rows.push(['changed', r.changed.length === 0 ? 'nothing' : r.changed.map((c) => {
    const what = [];
    if (c.frameChanged) what.push('frame');
    if (c.verticesMoved) what.push(`${c.verticesMoved} vertices moved`);
    if (c.selectionChanged) what.push('selection');
    return `${c.name}: ${what.join(', ')}`;
  }).join('; ')]);
  for (const c of r.changed.filter((c) => c.frameChanged)) {
    const f = c.frameAfter;
    const row = (v) => v.slice(0, 3).map((x) => x.toFixed(5)).join('  ');
    rows.push([`${c.name} now`, `X ${row(f.X)}\nY ${row(f.Y)}\nZ ${row(f.Z)}\norigin ${row(f.origin)}`]);
  }
  if (r.clipboard && r.clipboard.written) rows.push(['clipboard', r.clipboard.text || '']);
  rows.push(['protocol', r.protocolErrors.length === 0 ? 'no errors' : r.protocolErrors.join('\n')]);
  for (const [term, detail] of rows) {
    const dt = document.createElement('dt');
    dt.textContent = term;
    const dd = document.createElement('dd');
    dd.textContent = detail;
    if (term === 'protocol' && r.protocolErrors.length) dd.className = 'error';
    summary.append(dt, dd);
  }
}

// --- the view: clicks select, drags orbit ------------------------------------
let down = null;
// What lies over the view is not the view: its presses and wheel turns do not
// orbit or zoom it.
for (const id of ['dialog-layer', 'view-buttons', 'legend']) {
  for (const type of ['mousedown', 'pointerdown', 'wheel', 'touchstart', 'contextmenu']) {
    $(id).addEventListener(type, (event) => event.stopPropagation());
  }
}

// On the pane: the view's canvas is replaced when a scene needs another kind.
$('view-pane').addEventListener('pointerdown', (event) => {
  if (event.target !== view.canvas) return;
  down = {x: event.clientX, y: event.clientY, button: event.button};
});
$('view-pane').addEventListener('pointerup', (event) => {
  if (event.target !== view.canvas) return;
  if (!down || down.button !== 0 || Math.hypot(event.clientX - down.x, event.clientY - down.y) > 4) return;
  down = null;
  if (!state || state.dialog.open || state.current < 0) return;
  const mode = document.querySelector('input[name=mode]:checked').value;
  const hit = view.pick(event.clientX, event.clientY, mode);
  const add = event.shiftKey;
  if (!hit) {
    if (!add) act('select', {object: state.current});
    return;
  }
  const args = {object: state.current, add};
  if (hit.vertex !== undefined) args.vertices = [hit.vertex];
  if (hit.line) args.lines = [hit.line];
  if (hit.face !== undefined) args.faces = [hit.face];
  act('select', args);
});

for (const name of Object.keys(VIEWS)) {
  const button = document.createElement('button');
  button.textContent = name;
  button.dataset.view = name;
  button.title = `Look at the scene from the ${name === '3/4' ? 'three-quarter view' : name.toLowerCase()}`;
  button.addEventListener('click', () => {
    view.lookAlong(VIEWS[name]);
    view.render();
  });
  $('view-buttons').append(button);
}

$('clear-selection').addEventListener('click', () => state && state.current >= 0 && act('select', {object: state.current}));

// --- the bar ------------------------------------------------------------------
$('object-menu').addEventListener('click', () => {
  $('object-menu-items').hidden = !$('object-menu-items').hidden;
});
document.addEventListener('click', (event) => {
  if (!event.target.closest('.menu')) $('object-menu-items').hidden = true;
});
$('undo').addEventListener('click', () => act('undo', {}));
$('redo').addEventListener('click', () => act('redo', {}));

$('open-file').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  event.target.value = '';
  if (!file) return;
  const started = performance.now();
  const answer = await act('open', file, (op, given) => openFile(given));
  if (answer) {
    bench.timings.open = performance.now() - started;
    bench.timings.openCall = bench.timings.lastCall;
    const many = answer.objects.some((o) => o.faces * 4 > MAX_DRAWN_EDGES);
    message(`Opened ${file.name} in ${(bench.timings.open / 1000).toFixed(2)} s` +
            (many ? '; the edges of its largest objects are not drawn' : ''));
  }
});

$('save').addEventListener('click', async () => {
  try {
    const answer = await call('save', {});
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([answer.text], {type: 'application/json'}));
    link.download = answer.name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    message(`Saved as ${answer.name} (your browser's downloads)`);
  } catch (error) {
    message(error.message, 'error');
  }
});

$('clipboard-set').addEventListener('click', () => act('clipboard', {text: $('clipboard').value}));
$('clipboard-read').addEventListener('click', () => act('state', {}));

// Keys go to the dialog while it is open, as they would in the host.
document.addEventListener('keydown', (event) => {
  if (!state || !state.dialog.open) return;
  if (event.target.closest && event.target.closest('textarea, input, select')) return;
  let key = null;
  if (event.key === 'Escape') key = 'escape';
  else if (event.key === 'Enter') key = 'enter';
  else if (/^[a-z0-9]$/i.test(event.key)) key = (event.ctrlKey ? 'ctrl+' : '') + event.key.toUpperCase();
  if (!key || event.altKey || event.metaKey) return;
  event.preventDefault();
  dialogAction('key', {key});
});

// --- start, then keep up with changes made elsewhere ----------------------------
async function poll() {
  if (busy === 0 && document.visibilityState === 'visible') {
    try {
      const next = await call('state', {});
      if (next.version !== shownVersion) await show(next);
    } catch (error) {
      $('status').textContent = `The workbench does not answer: ${error.message}`;
      $('status').className = 'error';
    }
  }
  setTimeout(poll, 1500);
}

if (!hasToken) {
  message('This address lacks the token: open the address the workbench printed.', 'error');
} else {
  act('state', {}).then(() => {
    bench.ready = true;
    setTimeout(poll, 1500);
  });
}
