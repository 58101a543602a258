// The itemised quotation: the room entry, the quotation with its commands, and keeping it.
// The server holds every rule: the page sends the whole quotation (rooms, grade, package,
// floor and the commands so far) and shows the rows, details and totals it gets back. It
// never computes a figure, so the web, the desktop and decor-cli cannot disagree.
import { postForFile, postJson, saveFile, siteAtLoad, unreachableMessage } from './api.js';

const $ = (id) => document.getElementById(id);
const storageKey = 'decor.quotation';
const roomInputIds = ['room-type', 'room-size', 'room-window', 'room-door', 'room-leaves', 'room-walls'];

// The room list as entered, the floor and grade chosen, and the quotation on show (the body
// that the server answered last; null before the first build).
const state = { rooms: [], floor: '', grade: '', quotation: null };
let selectedRoom = -1;
// The reply on show: caption, rows, details, totals.
let shown = null;
let selectedRow = -1;
let busy = false;
// The desktop's choices and initial texts, from /api/site.
let choices = {};

// The desktop's messages break lines with CR LF; a page breaks them at LF alone.
function setMessage(id, text) {
  $(id).textContent = (text || '').replace(/\r\n/g, '\n');
}

function refusalText(reply) {
  return (reply.data && reply.data.message) || unreachableMessage;
}

function keep() {
  try {
    localStorage.setItem(storageKey, JSON.stringify(state));
  } catch {
    // Storage full or switched off (a private window): the page still works, it only forgets.
  }
}

function restore() {
  let kept = null;
  try {
    kept = JSON.parse(localStorage.getItem(storageKey) || 'null');
  } catch {
    kept = null;
  }
  if (!kept || typeof kept !== 'object') return false;
  if (Array.isArray(kept.rooms)) state.rooms = kept.rooms.filter((r) => Array.isArray(r) && r.length === 6).map((r) => r.map(String));
  if (typeof kept.floor === 'string') state.floor = kept.floor;
  if (typeof kept.grade === 'string') state.grade = kept.grade;
  if (kept.quotation && typeof kept.quotation === 'object') state.quotation = kept.quotation;
  return true;
}

function fillList(id, items) {
  $(id).replaceChildren(...(items || []).map((item) => {
    const option = document.createElement('option');
    option.value = item;
    return option;
  }));
}

function roomInputs() {
  return roomInputIds.map((id) => $(id).value);
}

function setRoomInputs(room) {
  roomInputIds.forEach((id, column) => {
    $(id).value = room[column] ?? '';
  });
}

function grade() {
  return $('q-grade').value;
}

function floor() {
  return $('floor-tile').checked ? $('floor-tile').value : $('floor-wood').value;
}

function showRoomsHeading() {
  $('rooms-heading').textContent = grade() + '详细报价！';
}

function renderRooms() {
  const body = $('room-list');
  body.replaceChildren(...state.rooms.map((room, index) => {
    const tr = document.createElement('tr');
    tr.tabIndex = 0;
    tr.dataset.index = String(index);
    if (index === selectedRoom) tr.setAttribute('aria-current', 'true');
    for (const cell of room) {
      const td = document.createElement('td');
      td.textContent = cell;
      tr.append(td);
    }
    return tr;
  }));
  $('room-list-box').hidden = state.rooms.length === 0;
  $('room-modify').disabled = selectedRoom < 0;
  $('room-delete').disabled = selectedRoom < 0;
}

function selectRoom(index) {
  selectedRoom = index;
  const room = state.rooms[index];
  // A row without a room type is not loaded back, as in the desktop's room list.
  if (room && room[0] !== '') setRoomInputs(room);
  renderRooms();
  const row = $('room-list').querySelector(`tr[data-index="${index}"]`);
  if (row) row.focus();
}

function setBusy(value) {
  busy = value;
  for (const button of document.querySelectorAll('#rooms button, #quote button, dialog button')) {
    if (button.id === 'room-modify' || button.id === 'room-delete') continue;
    button.disabled = value;
  }
  if (!value) renderRooms();
}

// The room is checked by the server, with the room list's own rule and words: the list with
// this room at its end is refused when the room list would refuse the room, and the message
// names the room by its place in the list.
async function addRoom(event) {
  event.preventDefault();
  if (busy) return;
  setMessage('room-message', '');
  const room = roomInputs();
  setBusy(true);
  const reply = await postJson('/api/quotation', { rooms: [...state.rooms, room], grade: grade(), package: '半包', floor: floor(), edits: [] });
  setBusy(false);
  if (!reply.ok) {
    setMessage('room-message', refusalText(reply));
    $('room-size').focus();
    return;
  }
  state.rooms.push(room);
  selectedRoom = -1;
  keep();
  renderRooms();
}

function modifyRoom() {
  if (selectedRoom < 0 || selectedRoom >= state.rooms.length) return;
  setMessage('room-message', '');
  state.rooms[selectedRoom] = roomInputs();
  keep();
  selectRoom(selectedRoom);
}

function deleteRoom() {
  if (selectedRoom < 0 || selectedRoom >= state.rooms.length) return;
  setMessage('room-message', '');
  state.rooms.splice(selectedRoom, 1);
  selectedRoom = -1;
  keep();
  renderRooms();
  $('room-type').focus();
}

function isBlank(row) {
  return row.every((cell) => cell === '');
}

function isHeading(row) {
  return row[1] !== '' && row.every((cell, column) => column === 1 || cell === '');
}

const columnClasses = ['no', 'name', 'unit', 'quantity', 'price', 'total'];

function renderQuotation(reply) {
  shown = {
    caption: String(reply.caption || ''),
    rows: reply.rows.map((row) => row.map(String)),
    details: Array.isArray(reply.details) ? reply.details.map(String) : [],
    totals: Array.isArray(reply.totals) ? reply.totals : [],
  };
  selectedRow = -1;
  $('quote-caption').textContent = shown.caption;
  $('quote-date').textContent = new Date().toLocaleDateString('zh-CN', { year: 'numeric', month: 'long', day: 'numeric' });
  $('quote-rows').replaceChildren(...shown.rows.map((row, index) => {
    const tr = document.createElement('tr');
    tr.dataset.row = String(index + 1);
    if (isBlank(row)) {
      tr.className = 'blank';
    } else {
      tr.tabIndex = 0;
      tr.setAttribute('aria-haspopup', 'dialog');
      if (isHeading(row)) tr.className = 'heading';
    }
    row.forEach((cell, column) => {
      const td = document.createElement('td');
      td.className = columnClasses[column];
      td.textContent = cell;
      tr.append(td);
    });
    return tr;
  }));
  const totals = $('quote-totals');
  totals.replaceChildren(...shown.totals.map(([name, total]) => {
    const p = document.createElement('p');
    const label = document.createElement('span');
    label.textContent = String(name);
    const figure = document.createElement('strong');
    figure.textContent = String(total);
    p.append(label, figure);
    return p;
  }));
  $('quote').hidden = false;
}

// Sends the quotation and shows the answer. The body is kept only once the server took it: a
// refused command leaves the quotation on show as it was.
async function runQuotation(body, messageId) {
  setBusy(true);
  const reply = await postJson('/api/quotation', body);
  setBusy(false);
  if (!reply.ok || !reply.data || !Array.isArray(reply.data.rows)) {
    setMessage(messageId, refusalText(reply));
    return false;
  }
  state.quotation = body;
  keep();
  renderQuotation(reply.data);
  return true;
}

async function build(event) {
  if (busy) return;
  setMessage('build-message', '');
  setMessage('quote-message', '');
  const body = { rooms: state.rooms.map((room) => [...room]), grade: grade(), package: event.currentTarget.dataset.package, floor: floor(), edits: [] };
  if (await runQuotation(body, 'build-message')) {
    $('quote-caption').focus();
    $('quote').scrollIntoView({ block: 'start' });
  }
}

function withEdit(edit) {
  return { ...state.quotation, edits: [...(state.quotation.edits || []), edit] };
}

function openRow(index) {
  if (!shown || index < 0 || index >= shown.rows.length) return;
  selectedRow = index;
  const row = shown.rows[index];
  $('detail-name').value = row[1];
  $('detail-unit').value = row[2];
  $('detail-quantity').value = row[3];
  $('detail-price').value = row[4];
  $('detail-description').textContent = shown.details[index] || '';
  setMessage('detail-message', '');
  $('detail-dialog').showModal();
}

async function runEdit(edit, dialogId, messageId) {
  if (busy || !state.quotation) return;
  setMessage(messageId, '');
  const place = selectedRow;
  if (!(await runQuotation(withEdit(edit), messageId))) return;
  $(dialogId).close();
  // The rows were drawn anew: the keyboard goes on from the row that was worked on.
  const row = $('quote-rows').querySelector(`tr[data-row="${place + 1}"][tabindex]`);
  (row || $('quote-caption')).focus();
}

function modifyRow(event) {
  event.preventDefault();
  runEdit({ op: 'modify', row: selectedRow + 1, name: $('detail-name').value, unit: $('detail-unit').value,
    quantity: $('detail-quantity').value, price: $('detail-price').value }, 'detail-dialog', 'detail-message');
}

function deleteRow() {
  runEdit({ op: 'delete', row: selectedRow + 1 }, 'detail-dialog', 'detail-message');
}

function openAddItem() {
  if (!state.quotation) return;
  const initial = choices.addItemInitial || [];
  $('add-name').value = initial[0] ?? '';
  $('add-quantity').value = initial[1] ?? '';
  $('add-price').value = initial[2] ?? '';
  setMessage('add-message', '');
  $('add-dialog').showModal();
}

// An item picked from the list brings its usual unit price, as in the add-item window; a name
// typed by hand leaves the price as it is. The prices are the server's (addItemDefaults).
function pickAddItem(event) {
  if (event.inputType && event.inputType !== 'insertReplacementText') return;
  const known = (choices.addItemDefaults || []).find(([name]) => name === $('add-name').value);
  if (known) $('add-price').value = known[1];
}

function addItem(event) {
  event.preventDefault();
  runEdit({ op: 'add', name: $('add-name').value, quantity: $('add-quantity').value, price: $('add-price').value },
    'add-dialog', 'add-message');
}

async function download(path, fallbackName) {
  if (busy || !state.quotation) return;
  setMessage('quote-message', '');
  setBusy(true);
  const reply = await postForFile(path, state.quotation, fallbackName);
  setBusy(false);
  if (!reply.ok) {
    setMessage('quote-message', refusalText(reply));
    return;
  }
  saveFile(reply.blob, reply.fileName);
}

// A quotation file chosen on the device: the server reads it (and refuses a damaged or newer
// one) and answers the quotation it holds, rows included.
async function openFile() {
  const file = $('quote-file').files[0];
  $('quote-file').value = '';
  if (!file || busy) return;
  setMessage('build-message', '');
  let text;
  try {
    text = await file.text();
  } catch {
    text = '';
  }
  setBusy(true);
  const reply = await postJson('/api/quotation/open', text);
  setBusy(false);
  const data = reply.data;
  if (!reply.ok || !data || !data.quotation || !Array.isArray(data.rows)) {
    setMessage('build-message', refusalText(reply));
    return;
  }
  state.quotation = data.quotation;
  adoptInputs(data.quotation);
  keep();
  renderRooms();
  renderQuotation(data);
  $('quote-caption').focus();
}

// The room list, grade and floor of a quotation brought back, so that a new build starts from them.
function adoptInputs(quotation) {
  if (Array.isArray(quotation.rooms)) state.rooms = quotation.rooms.map((room) => room.map(String));
  selectedRoom = -1;
  if (typeof quotation.grade === 'string') setGrade(quotation.grade);
  if (typeof quotation.floor === 'string') setFloor(quotation.floor);
}

function setGrade(text) {
  if ([...$('q-grade').options].some((option) => option.value === text)) $('q-grade').value = text;
  state.grade = grade();
  showRoomsHeading();
}

function setFloor(text) {
  $('floor-tile').checked = text === $('floor-tile').value;
  $('floor-wood').checked = !$('floor-tile').checked;
  state.floor = floor();
}

function showRooms() {
  $('rooms').hidden = false;
  $('rooms-heading').focus();
  $('rooms').scrollIntoView({ block: 'start' });
}

function rowFromEvent(event, bodyId) {
  const tr = event.target.closest('tr');
  return tr && tr.parentElement === $(bodyId) ? tr : null;
}

function onKeyActivate(handler) {
  return (event) => {
    if (event.key === 'Enter' || event.key === ' ') {
      event.preventDefault();
      handler(event);
    }
  };
}

async function start() {
  // The grades are the estimate's; the quotation starts from the one chosen there.
  $('q-grade').replaceChildren(...[...$('grade').options].map((option) => option.cloneNode(true)));
  $('q-grade').value = $('grade').value;
  const reply = await siteAtLoad();
  choices = (reply.ok && reply.data && reply.data.quotation) || {};
  fillList('room-types', choices.roomTypes);
  fillList('window-sizes', choices.windowSizes);
  fillList('door-types', choices.doorTypes);
  fillList('wall-counts', choices.wallCounts);
  fillList('add-names', choices.addItemNames);
  fillList('add-quantities', choices.addItemQuantities);
  fillList('add-prices', choices.addItemPrices);
  if (choices.doorLeaves) {
    $('room-leaves').min = String(choices.doorLeaves.min);
    $('room-leaves').max = String(choices.doorLeaves.max);
  }
  setRoomInputs(choices.initialRoom || []);

  const kept = restore();
  if (state.grade) setGrade(state.grade);
  if (state.floor) setFloor(state.floor);
  showRoomsHeading();
  renderRooms();
  if (kept && (state.rooms.length > 0 || state.quotation)) $('rooms').hidden = false;
  if (state.quotation) {
    // Shown again from the kept body: the server computes it anew on its current prices.
    await runQuotation(state.quotation, 'build-message');
  }
  document.body.dataset.quotationReady = 'true';
}

$('quotation-button').addEventListener('click', showRooms);
$('grade').addEventListener('change', () => setGrade($('grade').value));
$('q-grade').addEventListener('change', () => {
  setGrade(grade());
  keep();
});
for (const radio of [$('floor-wood'), $('floor-tile')]) {
  radio.addEventListener('change', () => {
    state.floor = floor();
    keep();
  });
}
$('room-form').addEventListener('submit', addRoom);
$('room-modify').addEventListener('click', modifyRoom);
$('room-delete').addEventListener('click', deleteRoom);
const pickRoom = (event) => {
  const tr = rowFromEvent(event, 'room-list');
  if (tr) selectRoom(Number(tr.dataset.index));
};
$('room-list').addEventListener('click', pickRoom);
$('room-list').addEventListener('keydown', onKeyActivate(pickRoom));
$('build-half').addEventListener('click', build);
$('build-full').addEventListener('click', build);

const pickRow = (event) => {
  const tr = rowFromEvent(event, 'quote-rows');
  if (tr) openRow(Number(tr.dataset.row) - 1);
};
$('quote-rows').addEventListener('click', pickRow);
$('quote-rows').addEventListener('keydown', onKeyActivate(pickRow));
$('detail-form').addEventListener('submit', modifyRow);
$('detail-delete').addEventListener('click', deleteRow);
$('detail-close').addEventListener('click', () => $('detail-dialog').close());
$('item-add').addEventListener('click', openAddItem);
$('add-form').addEventListener('submit', addItem);
$('add-name').addEventListener('input', pickAddItem);
$('add-cancel').addEventListener('click', () => $('add-dialog').close());
$('quote-excel').addEventListener('click', () => download('/api/quotation.xlsx', '报价.xlsx'));
$('quote-save').addEventListener('click', () => download('/api/quotation/file', '报价.json'));
$('quote-print').addEventListener('click', () => window.print());
$('quote-open').addEventListener('click', () => $('quote-file').click());
$('quote-file').addEventListener('change', openFile);
start();
