// The quick estimate page: the main window's inputs, the result window's text and its send
// form. Every figure and every text of the estimate comes from the server; the page only lays
// the lines out.
import { getJson, postJson, siteAtLoad, unreachableMessage } from './api.js';

const $ = (id) => document.getElementById(id);

// The desktop's own messages, as the server hands them out (see /api/site).
let messages = {};
// The inputs of the estimate on show: sending posts them, and the server computes the text again.
let shownEstimate = null;
let sending = false;

function estimateInputs() {
  const count = (id) => Number.parseInt($(id).value, 10);
  return {
    bedrooms: count('bedrooms'),
    halls: count('halls'),
    kitchens: count('kitchens'),
    bathrooms: count('bathrooms'),
    balconies: count('balconies'),
    area: $('area').value,
    grade: $('grade').value,
  };
}

function setMessage(element, text, isError) {
  element.textContent = text;
  element.classList.toggle('error', Boolean(isError));
}

// One element per line of the text, so that the page shows every line as the result window
// does; the four price lines carry their amount large.
function showText(text, prices) {
  const box = $('result-text');
  box.replaceChildren();
  const priceAt = new Map(prices.map((p) => [p.line, p.amount]));
  text.split('\r\n').forEach((line, index) => {
    const p = document.createElement('p');
    p.className = 'line';
    const amount = priceAt.get(index);
    const end = amount === undefined ? -1 : line.lastIndexOf(amount + '元');
    if (end > 0) {
      p.classList.add('price');
      const label = document.createElement('span');
      label.className = 'label';
      label.textContent = line.slice(0, end);
      const figure = document.createElement('strong');
      figure.className = 'amount';
      figure.textContent = amount;
      p.append(label, figure, line.slice(end + amount.length));
    } else {
      if (line === '') p.classList.add('blank');
      if (index === 0) p.classList.add('headline');
      p.textContent = line;
    }
    box.append(p);
  });
}

async function runEstimate(event) {
  event.preventDefault();
  const button = $('estimate-button');
  if (button.disabled) return;
  button.disabled = true;
  setMessage($('estimate-error'), '');
  const inputs = estimateInputs();
  const reply = await postJson('/api/estimate', inputs);
  button.disabled = false;
  if (!reply.ok || !reply.data || typeof reply.data.text !== 'string') {
    setMessage($('estimate-error'), (reply.data && reply.data.message) || unreachableMessage, true);
    if (reply.data && reply.data.field === 'area') $('area').focus();
    return;
  }
  shownEstimate = inputs;
  showText(reply.data.text, reply.data.prices || []);
  setMessage($('send-message'), '');
  const result = $('result');
  result.hidden = false;
  $('result-heading').focus();
  result.scrollIntoView({ block: 'start' });
  refreshCounter();
}

// The address check of the result window: any text with "@" passes, and so does an empty box.
function checkEmail() {
  const box = $('email');
  if (box.value === '' || box.value.includes('@')) return true;
  box.value = '';
  setMessage($('send-message'), messages.noSuchEmail || '', true);
  box.focus();
  return false;
}

// The number lookup runs each time the box holds exactly seven digits.
let lastLookup = '';
async function lookUpPhone() {
  const box = $('tel');
  const digits = box.value.replace(/[^0-9]/g, '').slice(0, 11);
  if (digits !== box.value) box.value = digits;
  if (digits.length !== 7) {
    lastLookup = '';
    return;
  }
  if (digits === lastLookup) return;
  lastLookup = digits;
  const reply = await getJson('/api/number?m=' + digits);
  // Which block was answered last (for tests and assistive tools; nothing is shown).
  box.dataset.lookedUp = digits;
  if (reply.ok) return;
  // Typed on or moved on meanwhile: the answer concerns a number no longer there.
  if (document.activeElement !== box || !box.value.startsWith(digits)) return;
  setMessage($('send-message'), (reply.data && reply.data.message) || messages.unknownPhone || '', true);
  box.focus();
}

async function send(event) {
  event.preventDefault();
  if (sending || !shownEstimate) return;
  if (!checkEmail()) return;
  sending = true;
  const button = $('send-button');
  button.disabled = true;
  setMessage($('send-message'), messages.sending || '');
  const reply = await postJson('/api/send', { ...shownEstimate, email: $('email').value, tel: $('tel').value });
  sending = false;
  button.disabled = false;
  if (reply.ok) {
    setMessage($('send-message'), (reply.data && reply.data.message) || messages.sendSucceeded || '');
    return;
  }
  const refusal = reply.status >= 400 && reply.status < 500 && reply.data && reply.data.message;
  setMessage($('send-message'), refusal || messages.sendFailed || '', true);
  if (reply.data && (reply.data.field === 'email' || reply.data.field === 'tel')) $(reply.data.field).focus();
}

// On load the page's shared answer; after an estimate a fresh one, as the count has grown.
async function refreshCounter(atLoad = false) {
  const reply = await (atLoad ? siteAtLoad() : getJson('/api/site'));
  if (!reply.ok || !reply.data) return;
  const site = reply.data;
  if (site.messages) messages = site.messages;
  if (site.helped) $('helped').textContent = site.helped;
  const hotline = $('hotline');
  hotline.textContent = site.hotline || '';
  hotline.href = 'tel:' + (site.hotline || '').replace(/[^0-9+]/g, '');
  if (site.chatUrl) $('chat').href = site.chatUrl;
  if (site.website) $('website').href = site.website;
}

$('estimate-form').addEventListener('submit', runEstimate);
$('send-form').addEventListener('submit', send);
$('tel').addEventListener('input', lookUpPhone);
$('email').addEventListener('blur', (event) => {
  // Checked only when the focus went to another control of the page, as in the result window.
  if (event.relatedTarget) checkEmail();
});
refreshCounter(true);
