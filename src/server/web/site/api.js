// The web edition's calls to its server: JSON in, JSON out. A refusal carries a short message
// ({"message": …}); a server that cannot be reached gives status 0 and no data.

// Shown when no answer came at all (no network, server down).
export const unreachableMessage = '无法连接服务器，请稍后再试';

async function call(path, init) {
  try {
    const response = await fetch(path, { credentials: 'same-origin', cache: 'no-store', ...init });
    let data = null;
    try {
      data = await response.json();
    } catch {
      data = null;
    }
    return { ok: response.ok, status: response.status, data };
  } catch {
    return { ok: false, status: 0, data: null };
  }
}

function jsonPost(body) {
  return {
    method: 'POST',
    headers: { 'Content-Type': 'application/json' },
    body: typeof body === 'string' ? body : JSON.stringify(body),
  };
}

export function postJson(path, body) {
  return call(path, jsonPost(body));
}

export function getJson(path) {
  return call(path, { method: 'GET' });
}

// The deployment's values and the desktop's choices, asked for once while the page loads and
// shared by the page's modules.
let siteOnLoad = null;
export function siteAtLoad() {
  if (!siteOnLoad) siteOnLoad = getJson('/api/site');
  return siteOnLoad;
}

// The name a download offers, from Content-Disposition (the UTF-8 form first, as it carries
// the Chinese name); `fallback` when the header names none.
function fileNameOf(disposition, fallback) {
  const extended = /filename\*\s*=\s*UTF-8''([^;]+)/i.exec(disposition || '');
  if (extended) {
    try {
      return decodeURIComponent(extended[1].trim());
    } catch {
      // A malformed escape: fall through to the plain form.
    }
  }
  const plain = /filename\s*=\s*"([^"]*)"/i.exec(disposition || '');
  return plain && plain[1] ? plain[1] : fallback;
}

// A POST whose answer is a file: on success {ok, blob, fileName}; on a refusal {ok: false,
// status, data} with the JSON message, as call() gives it.
export async function postForFile(path, body, fallbackName) {
  let response;
  try {
    response = await fetch(path, { credentials: 'same-origin', cache: 'no-store', ...jsonPost(body) });
  } catch {
    return { ok: false, status: 0, data: null };
  }
  if (!response.ok) {
    let data = null;
    try {
      data = await response.json();
    } catch {
      data = null;
    }
    return { ok: false, status: response.status, data };
  }
  try {
    const blob = await response.blob();
    return { ok: true, status: response.status, blob, fileName: fileNameOf(response.headers.get('Content-Disposition'), fallbackName) };
  } catch {
    return { ok: false, status: 0, data: null };
  }
}

// Hands a file to the browser's downloads, as a link with `download` would.
export function saveFile(blob, fileName) {
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = fileName;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  // The download has taken the bytes by the next task; the address can go.
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}
