// The page of `karvel1 serve`: shows the numbers of the input files of one
// production system, checks every changed value with the server at once, runs
// the computation, draws the relative emphasis and a scenario line, and saves
// the changes into the input files. It talks only to the server that sent it,
// with the token of the page's own address.
'use strict';

// Where a weight column is in the ids and the API: `w-TRAIT-COLUMN`, "8-1".
const COLUMN_INDEX = { 'combined': 0, 'pure-bred': 1, 'cross-bred': 2 };
// Display order of the weight columns and their headings.
const COLUMN_ORDER = ['pure-bred', 'cross-bred', 'combined'];
const COLUMN_TITLE = { 'pure-bred': 'Pure-bred', 'cross-bred': 'Cross-bred', 'combined': 'Combined' };
// Line colours of the scenario charts, distinguishable in grey print too.
const SERIES_COLOURS = ['#1f5f99', '#b4561b', '#2e7d4f', '#7a3f8f', '#8a6d0a', '#a12b4a', '#3b6e6e', '#555555'];

const state = {
  token: new URLSearchParams(location.search).get('token') || '',
  doc: null,            // the last answer of /api/inputs
  fields: new Map(),    // name -> {name, original, label, unit, min, max, file, input, msg, cell}
  records: [],          // {el, text, cells: [{name, el}], section, file} for the filter
  fileParts: [],        // {file, details, badge, sections: [element]}
  changes: new Map(),   // name -> new value (text), in the order the user made them
  checkSeq: 0,          // number of the latest check; older answers are dropped
  lastRun: null,        // the last successful run answer
  lastRunInputs: null,  // the changes and standard deviations it ran with, as JSON
  prevRun: null,        // the successful run before it
  sdLoaded: false,      // the standard deviations of the files were put in once
  sweepTraitsTouched: false,
  sweepNameTouched: false,  // the user chose the input of the scenario line
  lastSweep: null,
};

// ---------------------------------------------------------------- helpers

// Shorthand for document.getElementById.
function $(id) { return document.getElementById(id); }

// Makes an element with a class and text (both optional).
function el(tag, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined && text !== null) e.textContent = String(text);
  return e;
}

// Escapes text for use inside SVG or HTML markup built as a string.
function esc(text) {
  return String(text).replace(/[&<>"]/g, c => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c]);
}

// Calls the server. Always resolves to an object with "ok": HTTP errors and a
// server that does not answer become {ok: false, message}.
async function api(method, path, body) {
  const options = { method, headers: { 'X-Token': state.token } };
  if (body !== undefined) {
    options.headers['Content-Type'] = 'application/json';
    options.body = JSON.stringify(body);
  }
  let response;
  try {
    response = await fetch(path, options);
  } catch (err) {
    return { ok: false, message: 'The server does not answer (' + err.message + '). Is "karvel1 serve" still running?' };
  }
  let data = null;
  try { data = await response.json(); } catch (err) { data = null; }
  if (data && typeof data === 'object') return data;
  return { ok: false, message: 'The server answered ' + response.status + ' ' + response.statusText + ' without a readable body.' };
}

// Adds the page's token to a download address of the server.
function withToken(url) {
  return url + (url.includes('?') ? '&' : '?') + 'token=' + encodeURIComponent(state.token);
}

// A weight as the tests and the results file expect it: six significant digits.
function fmtWeight(x) {
  return x === null || x === undefined ? 'NA' : Number(x).toPrecision(6);
}

// A money total per ewe and year.
function fmtMoney(x) {
  return x === null || x === undefined ? 'NA' : Number(x).toFixed(2);
}

// A figure of moderate size (flock figures, table cells): readable, not exact.
function fmtFigure(x) {
  if (x === null || x === undefined) return 'NA';
  if (Number.isInteger(x)) return String(x);
  const a = Math.abs(x);
  if (a >= 1000) return x.toFixed(0);
  if (a >= 100) return x.toFixed(1);
  if (a >= 1) return x.toFixed(3);
  if (a >= 0.001 || a === 0) return x.toFixed(4);
  return x.toExponential(2);
}

// A small relative number (evdiff in per cent, changes in per cent).
function fmtSmall(x) {
  if (x === null || x === undefined) return 'NA';
  if (x === 0) return '0';
  if (Math.abs(x) < 0.001) return x.toExponential(1);
  return String(Number(x.toPrecision(3)));
}

// A bound of a range; very large bounds in exponent form.
function fmtBound(x) {
  if (Math.abs(x) >= 1e6) return x.toExponential().replace('e+', 'e');
  return String(x);
}

// The allowed range of a number as text ("" when it has no bounds).
function rangeText(min, max) {
  if (min === null && max === null) return '';
  if (max === null) return '≥ ' + fmtBound(min);
  if (min === null) return '≤ ' + fmtBound(max);
  return fmtBound(min) + ' to ' + fmtBound(max);
}

// True when two texts of a value mean the same number (or are the same text).
function sameValue(a, b) {
  const ta = String(a).trim(), tb = String(b).trim();
  if (ta === tb) return true;
  if (ta === '' || tb === '') return false;
  const na = Number(ta), nb = Number(tb);
  return Number.isFinite(na) && Number.isFinite(nb) && na === nb;
}

// The changes as the API takes them: {name: "value"}.
function changesObject() {
  const out = {};
  for (const [name, value] of state.changes) out[name] = value;
  return out;
}

// Sets a button's busy state while a request runs.
function setBusy(button, busy, busyText) {
  if (busy) {
    button.dataset.idleText = button.textContent;
    button.textContent = busyText;
    button.disabled = true;
    button.classList.add('busy');
    button.setAttribute('aria-busy', 'true');
  } else {
    button.textContent = button.dataset.idleText || button.textContent;
    button.disabled = false;
    button.classList.remove('busy');
    button.removeAttribute('aria-busy');
  }
}

// Shows a message in a status element; kind is "", "ok" or "error".
function showStatus(element, text, kind) {
  element.textContent = text || '';
  element.classList.toggle('error', kind === 'error');
  element.classList.toggle('ok', kind === 'ok');
}

// ---------------------------------------------------------------- inputs

// Reads the inputs from the server and builds the page from them.
async function loadInputs() {
  const doc = await api('GET', '/api/inputs');
  const box = $('load-message');
  if (!doc.ok) {
    box.textContent = 'The input files cannot be read as they stand.\n\n' + (doc.message || '') +
      '\n\nCorrect the file in an editor, then reload this page.';
    box.hidden = false;
    $('files').textContent = '';
    return false;
  }
  box.hidden = true;
  state.doc = doc;
  state.changes.clear();
  $('dir').textContent = doc.dir || '';
  if (doc.program) $('version').textContent = doc.program.name + ' ' + doc.program.version;
  showSystem(doc.system || {});
  buildInputs(doc.files || []);
  buildSweepNames();
  if (!state.sdLoaded) {
    buildSdTable(doc.traits || [], doc.sd || {}, doc.sdFile);
    buildSweepTraits(doc.traits || []);
    buildSweepColumns();
    state.sdLoaded = true;
  }
  renderChanges();
  applyFilter();
  return true;
}

// Shows the system variables of PARAS.TXT in the header.
function showSystem(system) {
  const parts = Object.keys(system).map(k => k + ' ' + system[k]);
  $('system').textContent = parts.join(' · ');
}

// Builds the file sections, each a <details> with its sections and records.
// Built in one go into a fragment: thousands of fields take a few milliseconds.
function buildInputs(files) {
  const openBefore = new Set(state.fileParts.filter(p => p.details.open).map(p => p.file));
  const firstBuild = state.fileParts.length === 0;
  state.fields.clear();
  state.records = [];
  state.fileParts = [];
  const fragment = document.createDocumentFragment();
  files.forEach((file, index) => {
    const details = el('details', 'file');
    details.open = firstBuild ? index === 0 : openBefore.has(file.file);
    const summary = el('summary');
    summary.append(el('span', 'file-name', file.file));
    const count = file.sections.reduce((n, s) => n + s.numbers.length, 0);
    summary.append(el('span', 'file-title', headerTitle(file.header, file.file)));
    summary.append(el('span', 'file-count', count + (count === 1 ? ' number' : ' numbers')));
    const badge = el('span', 'badge');
    badge.hidden = true;
    summary.append(badge);
    details.append(summary);
    if (file.header) details.append(el('p', 'file-header', file.header.trim()));
    const part = { file: file.file, details, badge, sections: [] };
    for (const section of file.sections) {
      const sectionEl = buildSection(section, file.file);
      part.sections.push(sectionEl);
      details.append(sectionEl);
    }
    state.fileParts.push(part);
    fragment.append(details);
  });
  const box = $('files');
  box.textContent = '';
  box.append(fragment);
}

// A file's header comment on one line, without the file name it usually
// starts with, for the summary line of its <details>.
function headerTitle(text, fileName) {
  if (!text) return '';
  let line = text.replace(/\s+/g, ' ').trim();
  if (line.toUpperCase().startsWith(fileName.toUpperCase())) line = line.slice(fileName.length).replace(/^[\s\-–:.]+/, '');
  return line;
}

// Builds one section of a file: its title and its records.
function buildSection(section, fileName) {
  const sectionEl = el('div', 'section');
  if (section.title) sectionEl.append(sectionHeading(section.title));
  // Numbers of one record (the elements of an array) stand together under one label.
  let group = [];
  const flush = () => {
    if (group.length) sectionEl.append(buildRecord(group, sectionEl, fileName));
    group = [];
  };
  for (const number of section.numbers) {
    if (group.length && group[0].record !== number.record) flush();
    group.push(number);
  }
  flush();
  return sectionEl;
}

// A section's heading: the comment's first sentence in bold, the rest of it
// (often a long explanation) in plain text.
function sectionHeading(title) {
  const h = el('h4', 'section-title');
  const cut = title.search(/[.:;]\s/);
  if (cut < 0 || cut > 120) { h.textContent = title; return h; }
  h.append(el('strong', '', title.slice(0, cut + 1)), el('span', 'section-more', ' ' + title.slice(cut + 2)));
  return h;
}

// Builds one record: its label, unit and range, then a field per number.
function buildRecord(numbers, sectionEl, fileName) {
  const first = numbers[0];
  const sameRange = numbers.every(n => n.min === first.min && n.max === first.max);
  const rec = el('div', numbers.length === 1 ? 'rec single' : 'rec');
  const head = el('div', 'rec-head');
  head.append(el('span', 'label', first.label));
  const meta = el('span', 'meta');
  meta.append(el('span', 'unit', first.unit || 'no unit'));
  if (sameRange && rangeText(first.min, first.max)) meta.append(el('span', 'range', rangeText(first.min, first.max)));
  head.append(meta);
  rec.append(head);
  const cellsEl = el('div', 'rec-fields');
  const msgs = el('div', 'rec-msgs');
  const entry = { el: rec, text: (first.label + ' ' + first.unit).toLowerCase(), cells: [], section: sectionEl, file: fileName };
  for (const number of numbers) {
    const cell = buildField(number, fileName, sameRange ? '' : rangeText(number.min, number.max));
    cellsEl.append(cell.cell);
    msgs.append(cell.msg);
    entry.cells.push({ name: number.name.toLowerCase(), el: cell.cell });
  }
  rec.append(cellsEl, msgs);
  state.records.push(entry);
  return rec;
}

// Builds the field of one number: its name above its <input>, and the empty
// element where the check's message for it goes.
function buildField(number, fileName, ownRange) {
  const cell = el('label', 'cell');
  cell.append(el('span', 'name', number.name));
  const input = el('input', 'val');
  input.type = 'text';
  input.inputMode = 'decimal';
  input.spellcheck = false;
  input.autocomplete = 'off';
  input.id = 'in-' + number.name;
  input.value = String(number.value);
  input.placeholder = String(number.value);
  input.title = number.label + (number.unit ? ' (' + number.unit + ')' : '') +
    (rangeText(number.min, number.max) ? '; allowed ' + rangeText(number.min, number.max) : '') +
    '; ' + fileName + ' line ' + number.line + ', record ' + number.record;
  cell.append(input);
  if (ownRange) cell.append(el('span', 'range', ownRange));
  const msg = el('div', 'fmsg');
  msg.id = 'msg-' + number.name;
  const field = {
    name: number.name, original: String(number.value), label: number.label, unit: number.unit,
    min: number.min, max: number.max, file: fileName, input, msg, cell,
  };
  state.fields.set(number.name, field);
  return field;
}

// Reacts to an edited field: notes or drops the change and checks the inputs.
function onFieldChange(event) {
  const input = event.target;
  if (!input.classList.contains('val')) return;
  const field = state.fields.get(input.id.slice(3));
  if (!field) return;
  // An emptied field means "as in the file" (its placeholder shows that value);
  // there is nothing new to check then unless other changes were waiting.
  const value = input.value.trim();
  const had = state.changes.has(field.name);
  setChange(field, value === '' ? field.original : value);
  renderChanges();
  if (value !== '' || had) checkChanges(field.name);
  // Until the user picks the scenario line's input, it follows the last change.
  if (!state.sweepNameTouched && state.changes.has(field.name)) {
    $('sweep-name').value = field.name;
    onSweepNameChange();
  }
}

// Records the field's value as a change, or drops the change when the value
// equals the file's.
function setChange(field, value) {
  if (sameValue(value, field.original)) {
    state.changes.delete(field.name);
    field.input.classList.remove('changed');
    field.cell.classList.remove('changed');
  } else {
    state.changes.delete(field.name);  // a change made again goes to the end of the list
    state.changes.set(field.name, value);
    field.input.classList.add('changed');
    field.cell.classList.add('changed');
  }
}

// Shows the list of changes, with an undo button each, and the counts per file.
function renderChanges() {
  const list = $('changes');
  list.textContent = '';
  const perFile = new Map();
  for (const [name, value] of state.changes) {
    const field = state.fields.get(name);
    perFile.set(field.file, (perFile.get(field.file) || 0) + 1);
    const item = el('li');
    const link = el('a', 'mono', name);
    link.href = '#';
    link.title = 'Show the field';
    link.addEventListener('click', e => { e.preventDefault(); revealField(name); });
    const what = el('span', 'what', field.label + (field.unit ? ' (' + field.unit + ')' : ''));
    const values = el('span', 'values');
    values.append(el('span', 'num old', field.original), el('span', 'arrow', ' → '), el('span', 'num new', value));
    const undo = el('button', 'small', 'Undo');
    undo.type = 'button';
    undo.id = 'undo-' + name;
    undo.title = 'Give ' + name + ' back its value ' + field.original;
    undo.addEventListener('click', () => undoChange(name));
    item.append(link, values, undo, what);
    list.append(item);
  }
  const n = state.changes.size;
  $('change-count').textContent = n ? String(n) : '';
  $('no-changes').hidden = n > 0;
  $('undo-all').hidden = n === 0;
  markStale();
  for (const part of state.fileParts) {
    const count = perFile.get(part.file) || 0;
    part.badge.hidden = count === 0;
    part.badge.textContent = count + ' changed';
  }
}

// Opens the file of a field, scrolls to it and focuses it.
function revealField(name) {
  const field = state.fields.get(name);
  if (!field) return;
  const details = field.cell.closest('details');
  if (details) details.open = true;
  field.cell.scrollIntoView({ block: 'center' });
  field.input.focus();
}

// Gives one field back the value of the file, then checks the remaining changes.
function undoChange(name) {
  const field = state.fields.get(name);
  if (!field) return;
  field.input.value = field.original;
  setChange(field, field.original);
  renderChanges();
  checkChanges(null);
  if ($('sweep-name').value === name) onSweepNameChange();
}

// Gives every field back the value of the file.
function undoAll() {
  for (const name of [...state.changes.keys()]) {
    const field = state.fields.get(name);
    field.input.value = field.original;
    setChange(field, field.original);
  }
  renderChanges();
  checkChanges(null);
}

// Checks all current changes with the server. The message of a stop goes
// beside the field just changed (`name`), and beside the number the server
// names when that is another field.
async function checkChanges(name) {
  const seq = ++state.checkSeq;
  showStatus($('check-status'), 'Checking the inputs …', '');
  const answer = await api('POST', '/api/check', { changes: changesObject() });
  if (seq !== state.checkSeq) return;  // a later check is under way
  clearFieldMessages();
  const warnBox = $('check-warnings');
  warnBox.hidden = true;
  if (answer.ok) {
    const n = state.changes.size;
    showStatus($('check-status'), n ? 'The inputs with ' + (n === 1 ? 'this change' : 'these changes') + ' pass the checks.' : '', 'ok');
    if (answer.warnings) {
      warnBox.textContent = answer.warnings;
      warnBox.hidden = false;
    }
    return;
  }
  const targets = [];
  if (name && state.fields.has(name)) targets.push(name);
  if (answer.name && answer.name !== name && state.fields.has(answer.name)) targets.push(answer.name);
  for (const target of targets) showFieldMessage(target, answer.message || 'The inputs stop the run.');
  const where = targets.length ? ' (see the message at ' + targets.join(' and ') + ')' : '';
  showStatus($('check-status'), targets.length ? 'The inputs with these changes stop the run' + where + '.'
    : (answer.message || 'The inputs stop the run.'), 'error');
}

// Shows a message beside a field and marks it.
function showFieldMessage(name, text) {
  const field = state.fields.get(name);
  if (!field) return;
  field.msg.textContent = text;
  field.cell.classList.add('bad');
}

// Clears the messages of all fields.
function clearFieldMessages() {
  for (const field of state.fields.values()) {
    if (field.msg.textContent) {
      field.msg.textContent = '';
      field.cell.classList.remove('bad');
    }
  }
}

// Shows only the records whose label, unit or name holds the filter text; a
// record found by name shows only the matching numbers. Files with hits open.
function applyFilter() {
  const q = $('filter').value.trim().toLowerCase();
  let shown = 0;
  const sectionHits = new Map();
  const fileHits = new Map();
  for (const rec of state.records) {
    const byLabel = q === '' || rec.text.includes(q);
    let visible = 0;
    for (const cell of rec.cells) {
      const hit = byLabel || cell.name.includes(q);
      cell.el.hidden = !hit;
      if (hit) visible++;
    }
    rec.el.hidden = visible === 0;
    shown += visible;
    sectionHits.set(rec.section, (sectionHits.get(rec.section) || 0) + visible);
    fileHits.set(rec.file, (fileHits.get(rec.file) || 0) + visible);
  }
  for (const part of state.fileParts) {
    for (const s of part.sections) s.hidden = !sectionHits.get(s);
    const hits = fileHits.get(part.file) || 0;
    part.details.hidden = hits === 0 && q !== '';
    if (q !== '' && hits > 0) part.details.open = true;
  }
  $('filter-count').textContent = q === '' ? state.fields.size + ' numbers' : shown + ' of ' + state.fields.size + ' numbers match';
}

// Opens or closes all file sections.
function openAllFiles(open) {
  for (const part of state.fileParts) part.details.open = open;
}

// ---------------------------------------------------------------- run

// Runs the whole computation with the changes and the standard deviations.
async function runModel() {
  const button = $('run');
  setBusy(button, true, 'Running …');
  showStatus($('run-message'), '', '');
  const started = performance.now();
  const changeCount = state.changes.size;
  const inputs = runInputsKey();
  const answer = await api('POST', '/api/run', { changes: changesObject(), sd: sdValues() });
  setBusy(button, false);
  if (!answer.ok) {
    showStatus($('run-message'), answer.message || 'The run failed.', 'error');
    if (answer.name) showFieldMessage(answer.name, answer.message || '');
    return;
  }
  state.prevRun = state.lastRun;
  state.lastRun = answer;
  state.lastRunInputs = inputs;
  const seconds = ((performance.now() - started) / 1000).toFixed(1);
  $('run-info').textContent = 'Run ' + answer.run + ' · ' + seconds + ' s · ' +
    (changeCount === 0 ? 'the files as they stand' : changeCount + (changeCount === 1 ? ' change' : ' changes'));
  showRun(answer);
  markStale();
}

// The changes and standard deviations of a run, to tell whether the shown
// results still belong to the inputs on the page.
function runInputsKey() {
  return JSON.stringify([changesObject(), sdValues()]);
}

// Says beside the totals when the inputs differ from those of the shown run.
function markStale() {
  const stale = state.lastRun !== null && runInputsKey() !== state.lastRunInputs;
  $('stale').hidden = !stale;
}

// Shows everything a successful run gives: totals, downloads, warnings,
// weights, flock figures and the emphasis chart.
function showRun(answer) {
  const result = answer.result || {};
  const prev = state.prevRun ? state.prevRun.result : null;
  showTotals(result.totals || {}, prev ? prev.totals : null);
  showDownloads(answer.downloads);
  const warnings = answer.warnings || '';
  $('warnings').textContent = warnings;
  $('warnings-box').hidden = warnings === '';
  $('results').hidden = false;
  $('results-hint').textContent = 'Run ' + answer.run + (prev ? ', compared with the run before' : '') + '.';
  buildWeightsTable(result.weights || [], prev ? prev.weights : null);
  showFlock(result.flock || {});
  showChart(answer.chart);
  buildSweepColumns();
  if (!state.sweepTraitsTouched) tickLargestWeights();
}

// Shows Trev, Tcosts, Tsub and Tprof, with the previous run's beside them.
function showTotals(totals, prevTotals) {
  for (const key of ['Trev', 'Tcosts', 'Tsub', 'Tprof']) {
    const value = totals[key];
    $(key).textContent = fmtMoney(value);
    const before = prevTotals ? prevTotals[key] : undefined;
    $(key + '-prev').textContent = before === undefined ? '' : 'before ' + fmtMoney(before);
  }
  $('Tsub-row').hidden = totals.Tsub === undefined;
  $('Tprof').classList.toggle('negative', typeof totals.Tprof === 'number' && totals.Tprof < 0);
}

// Points the download links at the files of this run.
function showDownloads(downloads) {
  if (!downloads) { $('downloads').hidden = true; return; }
  $('dl-results').href = withToken(downloads.results);
  $('dl-csv').href = withToken(downloads.csv);
  $('dl-json').href = withToken(downloads.json);
  $('downloads').hidden = false;
}

// The weight columns a run has, in display order.
function columnsOf(weights) {
  const present = new Set(weights.map(w => w.column));
  return COLUMN_ORDER.filter(c => present.has(c));
}

// Builds the table of the economic weights: one row per trait, per column the
// weight, evdiff, and after a second run the previous weight and the change.
function buildWeightsTable(weights, prevWeights) {
  const table = $('weights-table');
  table.textContent = '';
  const columns = columnsOf(weights);
  const byKey = new Map(weights.map(w => [w.trait + '-' + COLUMN_INDEX[w.column], w]));
  const prevByKey = new Map((prevWeights || []).map(w => [w.trait + '-' + COLUMN_INDEX[w.column], w]));
  const withPrev = prevWeights !== null;
  const sub = withPrev ? ['Weight', 'Diff. %', 'Before', 'Change %'] : ['Weight', 'Diff. %'];
  const thead = el('thead');
  const top = el('tr');
  top.append(el('th', 'trait-no', 'Trait'), el('th', 'trait-name', ''), el('th', 'trait-unit', 'Unit'));
  for (const c of columns) {
    const th = el('th', 'group', COLUMN_TITLE[c]);
    th.colSpan = sub.length;
    top.append(th);
  }
  const second = el('tr');
  second.append(el('th'), el('th'), el('th'));
  for (let i = 0; i < columns.length; i++) {
    sub.forEach((s, j) => second.append(el('th', 'num' + (j === 0 ? ' group-start' : ''), s)));
  }
  thead.append(top, second);
  const tbody = el('tbody');
  const traits = state.doc && state.doc.traits && state.doc.traits.length ? state.doc.traits
    : [...new Map(weights.map(w => [w.trait, { trait: w.trait, name: w.name, unit: w.unit }])).values()];
  for (const t of traits) {
    const row = el('tr');
    row.append(el('td', 'num trait-no', t.trait), el('td', 'trait-name', t.name), el('td', 'trait-unit', t.unit));
    for (const c of columns) {
      const key = t.trait + '-' + COLUMN_INDEX[c];
      appendWeightCells(row, key, byKey.get(key), withPrev ? prevByKey.get(key) : undefined, withPrev);
    }
    tbody.append(row);
  }
  table.append(thead, tbody);
}

// Appends the cells of one weight (and its comparison) to a table row.
function appendWeightCells(row, key, w, prev, withPrev) {
  const cell = el('td', 'num group-start');
  cell.id = 'w-' + key;
  const evaluated = w && w.status === 'evaluated';
  if (!w || w.status === 'not in this system') {
    cell.textContent = '—';
    cell.classList.add('muted');
    cell.title = 'Not in this system';
  } else if (w.status === 'skipped') {
    cell.textContent = 'skipped';
    cell.classList.add('muted');
    cell.title = 'Left out by the skip rules of the system';
  } else {
    cell.textContent = fmtWeight(w.weight);
    const notes = ['±1 % change: ' + fmtWeight(w.weight_1pct)];
    if (w.sd !== null && w.sd !== undefined) {
      notes.push('sd ' + w.sd, 'standardised ' + fmtWeight(w.std_weight), 'emphasis ' + fmtSmall(w.emphasis_pct) + ' %');
    }
    cell.title = notes.join('; ');
    if (typeof w.weight === 'number' && w.weight < 0) cell.classList.add('negative');
  }
  row.append(cell);
  row.append(el('td', 'num muted diff', evaluated && w.evdiff_pct !== null ? fmtSmall(w.evdiff_pct) : ''));
  if (!withPrev) return;
  const before = prev && prev.status === 'evaluated' ? prev.weight : null;
  row.append(el('td', 'num prev', before === null ? '' : fmtWeight(before)));
  let change = '';
  if (evaluated && before !== null && w.weight !== null && before !== 0) {
    const pct = (w.weight - before) / Math.abs(before) * 100;
    change = (pct > 0 ? '+' : '') + (Math.abs(pct) < 0.005 ? '0.00' : pct.toFixed(2));
  }
  const changeCell = el('td', 'num change', change);
  if (change) changeCell.classList.add(change === '0.00' ? 'same' : change.startsWith('-') ? 'down' : 'up');
  row.append(changeCell);
}

// Readable names of the flock figures of the JSON document; others get a
// name made from their key.
const FLOCK_NAMES = {
  iterations_stationary: ['Iterations to the stationary state', ''],
  ewe_states_fraction: ['Ewes by state of the Markov chain', 'fraction'],
  ewes_by_cycle_fraction: ['Ewes by reproductive cycle', 'fraction'],
  replacement_rate: ['Replacement rate', 'per ewe and year'],
  ewes_dying_pct_of_replacement: ['Ewes dying', '% of replacement'],
  ewes_culled_health_pct_of_replacement: ['Ewes culled for health, udder and other reasons', '% of replacement'],
  ewes_culled_milk_yield_pct_of_replacement: ['Ewes culled for low milk yield', '% of replacement'],
  ewes_culled_not_conceiving_pct_of_replacement: ['Ewes culled as not conceiving', '% of replacement'],
  ewes_leaving_after_last_cycle_pct_of_replacement: ['Ewes leaving after the last cycle', '% of replacement'],
  productive_life_cycles: ['Productive life', 'reproductive cycles'],
  productive_life_years: ['Productive life', 'years'],
  conception_rate_pct: ['Conception rate', '%'],
  litter_size_by_cycle: ['Litter size by reproductive cycle', 'lambs per lambing'],
  litter_size: ['Litter size', 'lambs per lambing'],
  lambs_born_per_lambing_by_litter_size: ['Lambs born per lambing, by litter size', 'lambs'],
  lambs_weaned_per_lambing: ['Lambs weaned per lambing', 'lambs'],
  lambs_weaned_per_lambing_by_litter_size: ['Lambs weaned per lambing, by litter size', 'lambs'],
  lambs_reared_artificially_per_lambing: ['Lambs reared artificially per lambing', 'lambs'],
  lambs_reared_artificially_per_lambing_by_litter_size: ['Lambs reared artificially per lambing, by litter size', 'lambs'],
  lamb_losses_24h_by_litter_size_fraction: ['Lamb losses in the first 24 hours, by litter size', 'fraction'],
};

// The readable name and unit of a flock figure.
function flockName(key) {
  if (FLOCK_NAMES[key]) return FLOCK_NAMES[key];
  let unit = '';
  let words = key;
  const suffixes = [['_pct_of_replacement', '% of replacement'], ['_pct', '%'], ['_fraction', 'fraction']];
  for (const [suffix, u] of suffixes) {
    if (words.endsWith(suffix)) { words = words.slice(0, -suffix.length); unit = u; break; }
  }
  words = words.replace(/_/g, ' ');
  return [words.charAt(0).toUpperCase() + words.slice(1), unit];
}

// Shows the flock figures: single values as a table, series compactly.
function showFlock(flock) {
  const scalars = $('flock-scalars');
  const arrays = $('flock-arrays');
  scalars.textContent = '';
  arrays.textContent = '';
  for (const key of Object.keys(flock)) {
    const value = flock[key];
    const [name, unit] = flockName(key);
    const row = el('tr');
    row.title = key;
    if (Array.isArray(value)) {
      const cell = el('td', 'series');
      value.forEach((v, i) => {
        const item = el('span', 'item');
        item.append(el('sub', '', i + 1), el('span', 'num', fmtFigure(v)));
        cell.append(item);
      });
      row.append(el('th', '', name), el('td', 'unit', unit), cell);
      arrays.append(row);
    } else {
      row.append(el('th', '', name), el('td', 'num', fmtFigure(value)), el('td', 'unit', unit));
      scalars.append(row);
    }
  }
}

// ---------------------------------------------------------------- relative emphasis

// Builds the table of standard deviations, one field per trait.
function buildSdTable(traits, sd, sdFile) {
  const list = $('sd-table');
  list.textContent = '';
  // Rows of a grid in two newspaper columns: the 35 traits fit beside each other.
  for (const t of traits) {
    const row = el('label', 'sd-row');
    const input = el('input', 'num sd-input');
    input.type = 'text';
    input.inputMode = 'decimal';
    input.id = 'sd-' + t.trait;
    input.autocomplete = 'off';
    const value = sd[String(t.trait)];
    input.value = value === undefined || value === null ? '' : String(value);
    row.append(el('span', 'num muted', t.trait), el('span', 'sd-name', t.name), input, el('span', 'unit', t.unit));
    list.append(row);
  }
  $('sd-source').textContent = (sdFile ? 'Read from ' + sdFile + '; changes here go with the runs, the file stays as it is.'
    : 'No table of standard deviations in the working directory: enter them here.') +
    ' An empty field leaves the trait out of the relative emphasis.';
}

// The standard deviations as the API takes them: {"trait": number}, empty fields left out.
function sdValues() {
  const out = {};
  for (const input of document.querySelectorAll('.sd-input')) {
    const text = input.value.trim();
    if (text === '') continue;
    const value = Number(text);
    if (Number.isFinite(value)) out[input.id.slice(3)] = value;
  }
  return out;
}

// Marks an invalid standard deviation and says the chart follows the next run.
function onSdChange(event) {
  const input = event.target;
  if (!input.classList.contains('sd-input')) return;
  const text = input.value.trim();
  input.classList.toggle('invalid', text !== '' && !(Number.isFinite(Number(text)) && Number(text) >= 0));
  $('sd-note').hidden = false;
  markStale();
}

// Puts the emphasis chart of the run into the page (the server's own SVG).
function showChart(svg) {
  const box = $('emphasis-chart');
  $('sd-note').hidden = true;
  if (!svg) {
    box.innerHTML = '<p class="hint">No chart: give standard deviations for the traits and run again.</p>';
    return;
  }
  box.innerHTML = svg.replace(/^\s*<\?xml[^>]*>\s*/, '');
}

// ---------------------------------------------------------------- scenario line

// Fills the list of inputs to sweep, grouped by file, keeping the choice.
function buildSweepNames() {
  const select = $('sweep-name');
  const before = select.value;
  select.textContent = '';
  const fragment = document.createDocumentFragment();
  for (const file of state.doc.files) {
    const group = el('optgroup');
    group.label = file.file;
    for (const section of file.sections) {
      for (const number of section.numbers) {
        const option = el('option', '', number.name + ' — ' + number.label);
        option.value = number.name;
        group.append(option);
      }
    }
    fragment.append(group);
  }
  select.append(fragment);
  if (before && state.fields.has(before)) select.value = before;
  else select.value = defaultSweepName();
  onSweepNameChange();
}

// The input a scenario line starts with: the base milk price where the system
// has one, else the first number after the system variables of PARAS.TXT.
function defaultSweepName() {
  if (state.fields.has('prmilkb')) return 'prmilkb';
  for (const field of state.fields.values()) {
    if (field.file !== 'PARAS.TXT') return field.name;
  }
  return state.fields.keys().next().value;
}

// Proposes a range around the current value of the chosen input (±20 %,
// within its allowed range) and shows its unit.
function onSweepNameChange() {
  const field = state.fields.get($('sweep-name').value);
  if (!field) return;
  let current = Number(state.changes.has(field.name) ? state.changes.get(field.name) : field.original);
  const inRange = x => Number.isFinite(x) && (field.min === null || x >= field.min) && (field.max === null || x <= field.max);
  if (!inRange(current)) current = Number(field.original);
  let from = current * 0.8, to = current * 1.2;
  if (current === 0) { from = 0; to = field.max !== null ? field.max : 1; }
  if (from > to) [from, to] = [to, from];
  if (field.min !== null) from = Math.max(from, field.min);
  if (field.max !== null) to = Math.min(to, field.max);
  if (!(from < to) && field.min !== null && field.max !== null) { from = field.min; to = field.max; }
  $('sweep-from').value = String(Number(from.toPrecision(4)));
  $('sweep-to').value = String(Number(to.toPrecision(4)));
  const range = rangeText(field.min, field.max);
  $('sweep-unit').textContent = field.label + ' · unit: ' + (field.unit || 'none') +
    (range ? ' · allowed ' + range : '') + ' · now ' + (state.changes.get(field.name) || field.original) + ' (' + field.file + ')';
}

// Fills the choice of weight column from the last run (or the system's ewopt).
function buildSweepColumns() {
  const select = $('sweep-column');
  const before = select.value;
  let columns;
  if (state.lastRun) columns = columnsOf(state.lastRun.result.weights || []);
  else {
    const ewopt = state.doc && state.doc.system ? state.doc.system.ewopt : 0;
    columns = ewopt === 2 ? ['pure-bred', 'cross-bred', 'combined'] : ewopt === 1 ? ['cross-bred'] : ['pure-bred'];
  }
  select.textContent = '';
  for (const c of columns) {
    const option = el('option', '', COLUMN_TITLE[c]);
    option.value = String(COLUMN_INDEX[c]);
    select.append(option);
  }
  if ([...select.options].some(o => o.value === before)) select.value = before;
}

// Builds the tick boxes of the traits whose weights the scenario line draws.
function buildSweepTraits(traits) {
  const box = $('sweep-traits');
  box.textContent = '';
  for (const t of traits) {
    const label = el('label', 'pick');
    const box1 = el('input');
    box1.type = 'checkbox';
    box1.id = 'sweep-trait-' + t.trait;
    box1.value = String(t.trait);
    box1.checked = t.trait === 1;
    label.append(box1, el('span', 'num', t.trait), el('span', '', ' ' + t.name));
    box.append(label);
  }
}

// Ticks the three traits with the largest absolute weights of the last run in
// the chosen column (the user's own choice stays once made).
function tickLargestWeights() {
  if (!state.lastRun) return;
  const column = Number($('sweep-column').value || 1);
  const ranked = (state.lastRun.result.weights || [])
    .filter(w => COLUMN_INDEX[w.column] === column && w.status === 'evaluated' && typeof w.weight === 'number')
    .sort((a, b) => Math.abs(b.weight) - Math.abs(a.weight))
    .slice(0, 3).map(w => w.trait);
  if (ranked.length === 0) return;
  for (const box of document.querySelectorAll('#sweep-traits input')) box.checked = ranked.includes(Number(box.value));
}

// The ticked traits, at most eight (more lines are not readable).
function chosenTraits() {
  return [...document.querySelectorAll('#sweep-traits input:checked')].map(b => Number(b.value)).slice(0, 8);
}

// A trait's unit after "per": "kg", "0.01 class", "1 per cent".
function perUnit(unit) {
  if (!unit) return 'unit';
  return unit.startsWith('per ') ? '1 ' + unit : unit;
}

// Runs the scenario line and draws it.
async function runSweep() {
  const message = $('sweep-message');
  const name = $('sweep-name').value;
  const from = $('sweep-from').value.trim();
  const to = $('sweep-to').value.trim();
  const steps = Number($('sweep-steps').value);
  if (!Number.isInteger(steps) || steps < 2 || steps > 50) {
    showStatus(message, 'Steps must be a whole number from 2 to 50.', 'error');
    return;
  }
  if (from === '' || to === '' || !Number.isFinite(Number(from)) || !Number.isFinite(Number(to))) {
    showStatus(message, 'From and To must be numbers.', 'error');
    return;
  }
  const button = $('sweep-run');
  setBusy(button, true, 'Running ' + steps + ' runs …');
  showStatus(message, '', '');
  // The swept input takes the sweep's values, so its own change stays out.
  const changes = changesObject();
  delete changes[name];
  const answer = await api('POST', '/api/sweep', {
    changes, sd: sdValues(), sweep: { name, from, to, steps },
  });
  setBusy(button, false);
  if (!answer.ok) {
    showStatus(message, answer.message || 'The scenario line failed.', 'error');
    return;
  }
  state.lastSweep = answer;
  drawSweep();
}

// Draws the last scenario line: the profit, then one small chart per chosen
// weight, then the failed runs and a table of the numbers.
function drawSweep() {
  const answer = state.lastSweep;
  if (!answer) return;
  const field = state.fields.get(answer.name);
  const unit = field && field.unit ? ' (' + field.unit + ')' : '';
  const xs = answer.rows.map(r => Number(r.value));
  const failed = answer.rows.filter(r => r.status !== 'ok');
  const marker = field ? Number(state.changes.get(field.name) || field.original) : null;
  const column = $('sweep-column').value || '1';
  const traits = chosenTraits();
  const traitInfo = new Map(((state.doc && state.doc.traits) || []).map(t => [t.trait, t]));
  let svg = '<div class="chart-main">' + lineChart({
    width: 1000, height: 300, xs, ys: answer.rows.map(r => r.profit), colour: SERIES_COLOURS[0],
    title: 'Profit per ewe and year', yLabel: 'EUR per ewe and year', xLabel: answer.name + unit,
    failed: failed.map(r => Number(r.value)), marker,
  }) + '</div><div class="chart-grid">';
  traits.forEach((trait, i) => {
    const info = traitInfo.get(trait) || { name: 'Trait ' + trait, unit: '' };
    const key = trait + '-' + column;
    svg += lineChart({
      width: 370, height: 240, xs, ys: answer.rows.map(r => r.weights ? r.weights[key] : null),
      colour: SERIES_COLOURS[(i + 1) % SERIES_COLOURS.length], small: true,
      title: trait + ' ' + info.name, subtitle: 'weight, EUR per ewe and year per ' + perUnit(info.unit),
      yLabel: 'Weight', xLabel: answer.name + unit,
      failed: failed.map(r => Number(r.value)), marker,
    });
  });
  svg += '</div>';
  $('sweep-chart').innerHTML = svg;
  const message = $('sweep-message');
  if (failed.length) {
    showStatus(message, failed.length + ' of ' + answer.rows.length + ' runs did not complete (marked × on the charts):\n' +
      failed.map(r => answer.name + ' = ' + shortValue(r.value) + ': ' + r.status + ' — ' + (r.message || '')).join('\n'), 'error');
  } else {
    showStatus(message, answer.rows.length + ' runs complete.', 'ok');
  }
  buildSweepTable(answer, traits, column);
}

// Builds the table of the scenario line's numbers below the charts.
function buildSweepTable(answer, traits, column) {
  const table = el('table', 'plain sweep-table');
  const head = el('tr');
  head.append(el('th', 'num', answer.name), el('th', '', 'Status'), el('th', 'num', 'Profit'));
  for (const t of traits) head.append(el('th', 'num', 'w' + t + '-' + column));
  head.append(el('th', '', 'Message'));
  const thead = el('thead');
  thead.append(head);
  const tbody = el('tbody');
  for (const r of answer.rows) {
    const row = el('tr', r.status === 'ok' ? '' : 'failed');
    row.append(el('td', 'num', shortValue(r.value)), el('td', '', r.status), el('td', 'num', fmtMoney(r.profit)));
    for (const t of traits) row.append(el('td', 'num', fmtWeight(r.weights ? r.weights[t + '-' + column] : null)));
    row.append(el('td', 'msg-cell', r.message || ''));
    tbody.append(row);
  }
  table.append(thead, tbody);
  const wrap = $('sweep-table-wrap');
  wrap.textContent = '';
  wrap.append(table);
}

// A swept value for display: at most eight significant digits.
function shortValue(text) {
  const x = Number(text);
  return Number.isFinite(x) ? String(Number(x.toPrecision(8))) : String(text);
}

// Round tick values covering [min, max], about `count` of them.
function niceTicks(min, max, count) {
  if (!(max > min)) {
    const pad = min === 0 ? 1 : Math.abs(min) * 0.1;
    min -= pad; max += pad;
  }
  const raw = (max - min) / count;
  const power = Math.pow(10, Math.floor(Math.log10(raw)));
  const step = [1, 2, 2.5, 5, 10].map(f => f * power).find(s => s >= raw) || 10 * power;
  const ticks = [];
  for (let v = Math.ceil(min / step - 1e-9) * step; v <= max + step * 1e-9; v += step) ticks.push(Math.abs(v) < step * 1e-9 ? 0 : v);
  return { ticks, step, min, max };
}

// A tick label with as many decimals as the step needs.
function tickText(v, step) {
  const decimals = Math.max(0, -Math.floor(Math.log10(step) + 1e-9) + (step / Math.pow(10, Math.floor(Math.log10(step))) === 2.5 ? 1 : 0));
  if (decimals > 6 || Math.abs(v) >= 1e7) return v.toExponential(1);
  return v.toFixed(decimals);
}

// Text shortened with an ellipsis to about `chars` characters (SVG text does not wrap).
function fitText(text, chars) {
  const n = Math.max(4, Math.floor(chars));
  return text.length <= n ? text : text.slice(0, n - 1).trimEnd() + '…';
}

// Draws one line chart as SVG markup: axes with ticks and labels, the line
// with points (gaps where a value is missing), × at failed runs, a dashed
// line at the input's current value and a legend line with the title.
function lineChart(o) {
  const W = o.width, H = o.height;
  const left = o.small ? 62 : 74, right = 16, top = o.subtitle ? 50 : 34, bottom = 46;
  const pw = W - left - right, ph = H - top - bottom;
  const ys = o.ys.map(y => (y === null || y === undefined ? null : Number(y)));
  const good = ys.filter(y => y !== null);
  const xr = niceTicks(Math.min(...o.xs), Math.max(...o.xs), o.small ? 4 : 7);
  const xmin = Math.min(...o.xs) === Math.max(...o.xs) ? xr.min : Math.min(...o.xs);
  const xmax = Math.min(...o.xs) === Math.max(...o.xs) ? xr.max : Math.max(...o.xs);
  const yr = good.length ? niceTicks(Math.min(...good), Math.max(...good), o.small ? 4 : 5) : niceTicks(0, 1, 4);
  // The value axis runs from the tick below the lowest value to the tick above the highest.
  const ymin = Math.floor(yr.min / yr.step + 1e-9) * yr.step;
  const ymax = Math.max(Math.ceil(yr.max / yr.step - 1e-9) * yr.step, ymin + yr.step);
  yr.ticks = [];
  for (let v = ymin; v <= ymax + yr.step * 1e-9; v += yr.step) yr.ticks.push(Math.abs(v) < yr.step * 1e-9 ? 0 : v);
  const sx = x => left + (x - xmin) / (xmax - xmin) * pw;
  const sy = y => top + ph - (y - ymin) / (ymax - ymin) * ph;
  const parts = [];
  parts.push('<svg xmlns="http://www.w3.org/2000/svg" class="line-chart" viewBox="0 0 ' + W + ' ' + H +
    '" width="' + W + '" height="' + H + '" role="img" aria-label="' + esc(o.title) + '">');
  parts.push('<rect x="0" y="0" width="' + W + '" height="' + H + '" fill="#fff"/>');
  // Legend: a short line in the series colour and the title.
  parts.push('<line x1="' + left + '" y1="16" x2="' + (left + 22) + '" y2="16" stroke="' + o.colour + '" stroke-width="2.5"/>');
  parts.push('<text x="' + (left + 28) + '" y="20" class="c-title">' + esc(fitText(o.title, (W - left - 36) / 7.2)) +
    '<title>' + esc(o.title) + '</title></text>');
  if (o.subtitle) parts.push('<text x="' + (left + 28) + '" y="36" class="c-sub">' + esc(fitText(o.subtitle, (W - left - 36) / 6.2)) + '</text>');
  for (const t of yr.ticks) {
    if (t < ymin - 1e-12 || t > ymax + 1e-12) continue;
    const y = sy(t).toFixed(1);
    parts.push('<line x1="' + left + '" x2="' + (left + pw) + '" y1="' + y + '" y2="' + y + '" class="' + (t === 0 ? 'c-zero' : 'c-grid') + '"/>');
    parts.push('<text x="' + (left - 6) + '" y="' + y + '" dy="0.32em" text-anchor="end" class="c-tick">' + esc(tickText(t, yr.step)) + '</text>');
  }
  for (const t of xr.ticks) {
    if (t < xmin - 1e-12 || t > xmax + 1e-12) continue;
    const x = sx(t).toFixed(1);
    parts.push('<line x1="' + x + '" x2="' + x + '" y1="' + (top + ph) + '" y2="' + (top + ph + 5) + '" class="c-axis"/>');
    parts.push('<text x="' + x + '" y="' + (top + ph + 18) + '" text-anchor="middle" class="c-tick">' + esc(tickText(t, xr.step)) + '</text>');
  }
  parts.push('<line x1="' + left + '" x2="' + (left + pw) + '" y1="' + (top + ph) + '" y2="' + (top + ph) + '" class="c-axis"/>');
  parts.push('<line x1="' + left + '" x2="' + left + '" y1="' + top + '" y2="' + (top + ph) + '" class="c-axis"/>');
  parts.push('<text x="' + (left + pw / 2) + '" y="' + (H - 8) + '" text-anchor="middle" class="c-label">' + esc(o.xLabel) + '</text>');
  parts.push('<text transform="translate(14 ' + (top + ph / 2) + ') rotate(-90)" text-anchor="middle" class="c-label">' +
    esc(fitText(o.yLabel, ph / 6.6)) + '<title>' + esc(o.yLabel) + '</title></text>');
  if (o.marker !== null && Number.isFinite(o.marker) && o.marker >= xmin && o.marker <= xmax) {
    const x = sx(o.marker).toFixed(1);
    parts.push('<line x1="' + x + '" x2="' + x + '" y1="' + top + '" y2="' + (top + ph) + '" class="c-marker"><title>current value ' + o.marker + '</title></line>');
    parts.push('<text x="' + (Number(x) + 3) + '" y="' + (top + 10) + '" class="c-tick">now</text>');
  }
  // The line, broken where a run gave no value.
  let d = '';
  let pen = false;
  o.xs.forEach((x, i) => {
    if (ys[i] === null) { pen = false; return; }
    d += (pen ? 'L' : 'M') + sx(x).toFixed(1) + ' ' + sy(ys[i]).toFixed(1);
    pen = true;
  });
  if (d) parts.push('<path d="' + d + '" fill="none" stroke="' + o.colour + '" stroke-width="2"/>');
  o.xs.forEach((x, i) => {
    if (ys[i] === null) return;
    parts.push('<circle cx="' + sx(x).toFixed(1) + '" cy="' + sy(ys[i]).toFixed(1) + '" r="3" fill="' + o.colour +
      '"><title>' + esc(x + ': ' + ys[i]) + '</title></circle>');
  });
  for (const x of o.failed) {
    const cx = sx(x), cy = top + ph - 8;
    parts.push('<path d="M' + (cx - 5) + ' ' + (cy - 5) + 'L' + (cx + 5) + ' ' + (cy + 5) + 'M' + (cx - 5) + ' ' + (cy + 5) +
      'L' + (cx + 5) + ' ' + (cy - 5) + '" class="c-failed"><title>' + esc('run at ' + x + ' did not complete') + '</title></path>');
  }
  parts.push('</svg>');
  return parts.join('');
}

// ---------------------------------------------------------------- save

// Writes the changes into the input files and reads the inputs again.
async function saveChanges() {
  const status = $('save-status');
  if (state.changes.size === 0) {
    showStatus(status, 'Nothing to save: no value differs from the input files.', '');
    return;
  }
  const versions = {};
  for (const file of state.doc.files) versions[file.file] = file.version;
  const button = $('save');
  setBusy(button, true, 'Saving …');
  const count = state.changes.size;
  const runMatched = state.lastRun !== null && runInputsKey() === state.lastRunInputs;
  const answer = await api('POST', '/api/save', { changes: changesObject(), versions });
  setBusy(button, false);
  if (!answer.ok) {
    // The server's refusals of a changed file say so themselves; a stop of the
    // run needs the word that nothing was written.
    const text = answer.message || 'The save failed.';
    showStatus(status, /\b(saved|written)\b/i.test(text) ? text : 'Nothing was written: the inputs with these changes stop the run.\n' + text, 'error');
    return;
  }
  const written = answer.written || [];
  await loadInputs();
  // The saved values are the files' now: a run made with them still matches.
  if (runMatched) { state.lastRunInputs = runInputsKey(); markStale(); }
  showStatus($('check-status'), '', '');
  $('check-warnings').hidden = true;
  showStatus(status, 'Saved ' + count + (count === 1 ? ' value' : ' values') + ' into ' +
    (written.length ? written.join(', ') : 'no file') + '. These values are now the base of the page.', 'ok');
}

// ---------------------------------------------------------------- start

// Connects the controls and reads the inputs.
function start() {
  if (!state.token) {
    const box = $('load-message');
    box.textContent = 'This address has no token. Open the address that "karvel1 serve" printed (it ends with ?token=...).';
    box.hidden = false;
  }
  $('files').addEventListener('change', onFieldChange);
  $('run').addEventListener('click', runModel);
  $('save').addEventListener('click', saveChanges);
  $('undo-all').addEventListener('click', undoAll);
  let filterTimer = 0;
  $('filter').addEventListener('input', () => { clearTimeout(filterTimer); filterTimer = setTimeout(applyFilter, 120); });
  $('open-all').addEventListener('click', () => openAllFiles(true));
  $('close-all').addEventListener('click', () => openAllFiles(false));
  $('sd-table').addEventListener('change', onSdChange);
  $('sweep-name').addEventListener('change', () => { state.sweepNameTouched = true; onSweepNameChange(); });
  $('sweep-run').addEventListener('click', runSweep);
  $('sweep-traits').addEventListener('change', () => { state.sweepTraitsTouched = true; drawSweep(); });
  $('sweep-column').addEventListener('change', () => { if (!state.sweepTraitsTouched) tickLargestWeights(); drawSweep(); });
  loadInputs();
}

start();
