// The workbench's API: every call a POST of JSON carrying this run's token,
// which came with the page's address; a scene file is opened by sending the
// file itself.
const token = new URLSearchParams(location.search).get('token') || '';

async function post(op, args) {
  const response = await fetch('/api/' + op, {
    method: 'POST',
    headers: {'Content-Type': 'application/json', 'X-Tervolin-Token': token},
    body: JSON.stringify(args || {}),
  });
  return response;
}

export class ApiError extends Error {}

// The call's JSON answer; throws ApiError with the workbench's reason.
export async function call(op, args) {
  return answerOf(op, await post(op, args));
}

// Opens a scene file: the file itself is the body, sent as it is.
export async function openFile(file) {
  const response = await fetch('/api/open?name=' + encodeURIComponent(file.name), {
    method: 'POST',
    headers: {'Content-Type': 'application/octet-stream', 'X-Tervolin-Token': token},
    body: file,
  });
  return answerOf('open', response);
}

async function answerOf(op, response) {
  let body = null;
  try {
    body = await response.json();
  } catch (e) {
    throw new ApiError(`${op}: HTTP ${response.status}`);
  }
  if (!response.ok) throw new ApiError(body && body.error ? body.error : `${op}: HTTP ${response.status}`);
  return body;
}

// One object's geometry and selection, from the binary arrays the workbench
// sends (counts, positions, face starts, corners, selections).
export async function mesh(object) {
  const response = await post('mesh', {object});
  if (!response.ok) throw new ApiError(`mesh ${object}: HTTP ${response.status}`);
  const buffer = await response.arrayBuffer();
  const counts = new Uint32Array(buffer, 0, 6);
  const [vertices, faces, corners, selVertices, selLines, selFaces] = counts;
  let at = 24;
  const take = (Type, n) => {
    const array = new Type(buffer, at, n);
    at += 4 * n;
    return array;
  };
  return {
    positions: take(Float32Array, 3 * vertices),
    faceStart: take(Uint32Array, faces + 1),
    corners: take(Uint32Array, corners),
    selectedVertices: take(Uint32Array, selVertices),
    selectedLines: take(Uint32Array, 2 * selLines),
    selectedFaces: take(Uint32Array, selFaces),
  };
}

export const hasToken = token !== '';
