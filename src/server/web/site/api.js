// The web edition's calls to its server: JSON in, JSON out. A refusal carries a short message
// ({"message": …}); a server that cannot be reached gives status 0 and no data.

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

export function postJson(path, body) {
  return call(path, {
    method: 'POST',
    headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify(body),
  });
}

export function getJson(path) {
  return call(path, { method: 'GET' });
}
