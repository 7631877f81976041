// The 3D view: every object's faces and edges, the current object's selection
// and its frame (X red, Y green, Z blue; the frame before the last pick
// ghosted), orbit, pan and zoom, and picking of vertices, edges and faces.
import * as THREE from './three/build/three.module.js';
import {OrbitControls} from './three/examples/jsm/controls/OrbitControls.js';

const SELECTION = 0xff8a00;
const AXIS_COLOURS = [0xd62728, 0x2ca02c, 0x1f6fd6];
const PICK_PIXELS = 12;
export const MAX_DRAWN_EDGES = 200000;
const SMOOTH_EDGES_UP_TO = 100000;  // faces in the scene
const DEFAULT_DIRECTION = [0.55, 0.45, 0.75];
// The views the bar offers, as the direction towards the camera.
export const VIEWS = {'3/4': DEFAULT_DIRECTION, Front: [0, 0, 1], Back: [0, 0, -1], Top: [0, 1, 0.0001],
  Right: [1, 0, 0], Left: [-1, 0, 0]};

// Triangles of each face (a fan from its first corner) and, per triangle,
// the face it belongs to.
function triangulate(mesh) {
  const {faceStart, corners} = mesh;
  const faces = faceStart.length - 1;
  let triangles = 0;
  for (let f = 0; f < faces; ++f) triangles += Math.max(0, faceStart[f + 1] - faceStart[f] - 2);
  const index = new Uint32Array(3 * triangles);
  const faceOf = new Uint32Array(triangles);
  let t = 0;
  for (let f = 0; f < faces; ++f) {
    const first = faceStart[f];
    for (let k = first + 1; k + 1 < faceStart[f + 1]; ++k, ++t) {
      index[3 * t] = corners[first];
      index[3 * t + 1] = corners[k];
      index[3 * t + 2] = corners[k + 1];
      faceOf[t] = f;
    }
  }
  return {index, faceOf};
}

function edgeIndex(mesh) {
  const {faceStart, corners} = mesh;
  const out = new Uint32Array(2 * corners.length);
  let e = 0;
  for (let f = 0; f + 1 < faceStart.length; ++f) {
    const begin = faceStart[f];
    const end = faceStart[f + 1];
    for (let k = begin; k < end; ++k) {
      out[e++] = corners[k];
      out[e++] = corners[k + 1 < end ? k + 1 : begin];
    }
  }
  return out;
}

function segmentDistance(p, a, b) {
  const dx = b.x - a.x;
  const dy = b.y - a.y;
  const length2 = dx * dx + dy * dy;
  const t = length2 > 0 ? Math.max(0, Math.min(1, ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2)) : 0;
  return Math.hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

export class View {
  constructor(canvas) {
    this.canvas = canvas;
    this.makeRenderer(true);
    this.scene = new THREE.Scene();
    this.camera = new THREE.PerspectiveCamera(40, 1, 0.01, 1000);
    this.camera.position.set(3, 2.5, 4);
    // The controls listen on the pane, which keeps its place when the canvas
    // is replaced.
    this.controls = new OrbitControls(this.camera, canvas.parentElement);
    this.controls.addEventListener('change', () => this.render());
    this.scene.add(new THREE.HemisphereLight(0xffffff, 0x667788, 0.85));
    const sun = new THREE.DirectionalLight(0xffffff, 0.45);
    sun.position.set(2, 5, 3);
    this.scene.add(sun);
    this.grid = new THREE.GridHelper(10, 10, 0xc8ccd2, 0xdde0e4);
    this.scene.add(this.grid);
    this.objects = new Map();  // slot -> {revision, group, mesh, data, triangles}
    this.overlay = new THREE.Group();  // frames: drawn last, over the faces
    this.scene.add(this.overlay);
    this.current = -1;
    this.framed = false;
    new ResizeObserver(() => this.resize()).observe(canvas.parentElement);
    this.resize();
  }

  // Smoothed edges cost a software renderer (a machine without a GPU) several
  // times the drawing time, which a large scene cannot afford: they are
  // dropped for large scenes. A context keeps its smoothing for its life, so
  // the canvas is replaced to change it.
  makeRenderer(antialias) {
    if (this.renderer) {
      if (this.antialias === antialias) return;
      this.renderer.dispose();
      const fresh = this.canvas.cloneNode(false);
      this.canvas.replaceWith(fresh);
      this.canvas = fresh;
    }
    this.antialias = antialias;
    this.renderer = new THREE.WebGLRenderer({canvas: this.canvas, antialias, preserveDrawingBuffer: true});
    this.renderer.setPixelRatio(window.devicePixelRatio || 1);
    this.renderer.setClearColor(0xf4f5f7);
    if (this.camera) this.resize();
  }

  resize() {
    const box = this.canvas.parentElement.getBoundingClientRect();
    this.renderer.setSize(box.width, box.height, false);
    this.camera.aspect = box.width / Math.max(1, box.height);
    this.camera.updateProjectionMatrix();
    this.render();
  }

  render() {
    this.renderer.render(this.scene, this.camera);
  }

  // Drops every object, for a new scene of `faces` faces in all.
  clear(faces) {
    for (const entry of this.objects.values()) this.dispose(entry);
    this.objects.clear();
    this.framed = false;
    this.makeRenderer(faces <= SMOOTH_EDGES_UP_TO);
  }

  dispose(entry) {
    this.scene.remove(entry.group);
    entry.group.traverse((node) => {
      if (node.geometry) node.geometry.dispose();
      if (node.material) node.material.dispose();
    });
  }

  // Puts object `slot` in the view from its binary arrays.
  setObject(slot, revision, data) {
    const old = this.objects.get(slot);
    if (old) this.dispose(old);
    const group = new THREE.Group();
    const positions = new THREE.BufferAttribute(data.positions, 3);
    const triangles = triangulate(data);

    const faces = new THREE.BufferGeometry();
    faces.setAttribute('position', positions);
    faces.setIndex(new THREE.BufferAttribute(triangles.index, 1));
    faces.computeBoundingSphere();
    // Flat shading takes each face's normal from the screen: no normals to
    // compute or send for a large object.
    const surface = new THREE.Mesh(faces, new THREE.MeshPhongMaterial({
      color: 0xb9c3cf, side: THREE.DoubleSide, flatShading: true, shininess: 8,
      polygonOffset: true, polygonOffsetFactor: 1, polygonOffsetUnits: 1}));
    group.add(surface);

    // The edges, unless there are so many that they would fill the faces.
    const edges = new THREE.BufferGeometry();
    if (data.corners.length <= MAX_DRAWN_EDGES) {
      edges.setAttribute('position', positions);
      edges.setIndex(new THREE.BufferAttribute(edgeIndex(data), 1));
    }
    const wire = new THREE.LineSegments(edges, new THREE.LineBasicMaterial({color: 0x4a5563}));
    group.add(wire);

    // The selection, in orange: faces, lines and points.
    if (data.selectedFaces.length > 0) {
      const picked = [];
      const chosen = new Set(data.selectedFaces);
      for (let t = 0; t < triangles.faceOf.length; ++t) {
        if (chosen.has(triangles.faceOf[t])) picked.push(triangles.index[3 * t], triangles.index[3 * t + 1], triangles.index[3 * t + 2]);
      }
      const geometry = new THREE.BufferGeometry();
      geometry.setAttribute('position', positions);
      geometry.setIndex(picked);
      group.add(new THREE.Mesh(geometry, new THREE.MeshBasicMaterial({
        color: SELECTION, side: THREE.DoubleSide, transparent: true, opacity: 0.55,
        polygonOffset: true, polygonOffsetFactor: -1, polygonOffsetUnits: -1})));
    }
    if (data.selectedLines.length > 0) {
      const pairs = [];
      for (let i = 0; i < data.selectedLines.length; i += 2) {
        const f = data.selectedLines[i];
        const e = data.selectedLines[i + 1];
        const begin = data.faceStart[f];
        const size = data.faceStart[f + 1] - begin;
        pairs.push(data.corners[begin + e], data.corners[begin + ((e + 1) % size)]);
      }
      const geometry = new THREE.BufferGeometry();
      geometry.setAttribute('position', positions);
      geometry.setIndex(pairs);
      const lines = new THREE.LineSegments(geometry, new THREE.LineBasicMaterial({color: SELECTION, depthTest: false}));
      lines.renderOrder = 2;
      group.add(lines);
    }
    if (data.selectedVertices.length > 0) {
      const geometry = new THREE.BufferGeometry();
      geometry.setAttribute('position', positions);
      geometry.setIndex(Array.from(data.selectedVertices));
      const points = new THREE.Points(geometry, new THREE.PointsMaterial({color: SELECTION, size: 9, sizeAttenuation: false, depthTest: false}));
      points.renderOrder = 3;
      group.add(points);
    }
    this.scene.add(group);
    this.objects.set(slot, {revision, group, surface, wire, data, triangles});
  }

  revisionOf(slot) {
    const entry = this.objects.get(slot);
    return entry ? entry.revision : null;
  }

  removeMissing(slots) {
    for (const slot of [...this.objects.keys()]) {
      if (!slots.has(slot)) {
        this.dispose(this.objects.get(slot));
        this.objects.delete(slot);
      }
    }
  }

  // The current object drawn darker; the others lighter.
  setCurrent(slot) {
    this.current = slot;
    for (const [s, entry] of this.objects) {
      const mine = s === slot;
      entry.surface.material.color.setHex(mine ? 0x9fb4cc : 0xd5d9de);
      entry.wire.material.color.setHex(mine ? 0x26323f : 0x8a939e);
    }
  }

  // The current object's frame now (solid) and before the last pick (ghost).
  setFrames(frame, ghost) {
    for (const child of [...this.overlay.children]) {
      this.overlay.remove(child);
      child.traverse((node) => {
        if (node.geometry) node.geometry.dispose();
        if (node.material) node.material.dispose();
      });
    }
    const entry = this.objects.get(this.current);
    if (!frame || !entry) return;
    const radius = entry.surface.geometry.boundingSphere ? entry.surface.geometry.boundingSphere.radius : 1;
    const length = Math.max(0.3, 0.6 * radius);
    const draw = (m, ghostly) => {
      const origin = new THREE.Vector3(m[12], m[13], m[14]);
      for (let axis = 0; axis < 3; ++axis) {
        const direction = new THREE.Vector3(m[4 * axis], m[4 * axis + 1], m[4 * axis + 2]);
        if (direction.lengthSq() === 0) continue;
        direction.normalize();
        const arrow = new THREE.ArrowHelper(direction, origin, length, AXIS_COLOURS[axis], 0.14 * length, 0.07 * length);
        arrow.traverse((node) => {
          if (!node.material) return;
          node.material.depthTest = false;
          node.material.transparent = ghostly;
          node.material.opacity = ghostly ? 0.3 : 1;
        });
        arrow.renderOrder = ghostly ? 4 : 5;
        this.overlay.add(arrow);
      }
    };
    if (ghost) draw(ghost, true);
    draw(frame, false);
  }

  // Frames the camera on everything once, after a scene is opened.
  frameAll() {
    const box = new THREE.Box3();
    for (const entry of this.objects.values()) box.expandByObject(entry.surface);
    if (box.isEmpty()) return;
    this.bounds = box;
    this.lookAlong(DEFAULT_DIRECTION);
  }

  // Looks at everything from `direction` (towards the camera), far enough
  // that the whole scene fits.
  lookAlong(direction) {
    this.direction = direction;
    const box = this.bounds;
    if (!box || box.isEmpty()) return;
    const centre = box.getCenter(new THREE.Vector3());
    const size = Math.max(1e-3, box.getSize(new THREE.Vector3()).length());
    const halfAngle = (this.camera.fov / 2) * Math.PI / 180 * Math.min(1, this.camera.aspect);
    const distance = 1.1 * (size / 2) / Math.sin(halfAngle);
    this.controls.target.copy(centre);
    this.camera.position.copy(centre).add(new THREE.Vector3(...direction).normalize().multiplyScalar(distance));
    this.camera.near = size / 1000;
    this.camera.far = size * 100;
    this.camera.updateProjectionMatrix();
    this.grid.scale.setScalar(Math.max(0.2, size / 8));
    this.grid.position.y = box.min.y;
    this.controls.update();
    this.render();
  }

  // A point of object space in the canvas's pixels.
  toScreen(x, y, z) {
    const rect = this.canvas.getBoundingClientRect();
    const p = new THREE.Vector3(x, y, z).project(this.camera);
    return {x: rect.left + (p.x + 1) / 2 * rect.width, y: rect.top + (1 - p.y) / 2 * rect.height};
  }

  vertexScreen(data, v) {
    return this.toScreen(data.positions[3 * v], data.positions[3 * v + 1], data.positions[3 * v + 2]);
  }

  // What a click at (clientX, clientY) names in the current object: a vertex,
  // a (face, edge) line or a face, as `mode` says; null for nothing.
  pick(clientX, clientY, mode) {
    const entry = this.objects.get(this.current);
    if (!entry) return null;
    const rect = this.canvas.getBoundingClientRect();
    const ndc = new THREE.Vector2((clientX - rect.left) / rect.width * 2 - 1, -((clientY - rect.top) / rect.height) * 2 + 1);
    const ray = new THREE.Raycaster();
    ray.setFromCamera(ndc, this.camera);
    const hits = ray.intersectObject(entry.surface);
    const click = {x: clientX, y: clientY};
    const {data} = entry;
    // Faces to look at for the nearest corner or edge: the one hit, or, for
    // a click just beside the object, every face of a small object.
    let faces;
    if (hits.length > 0) {
      const face = entry.triangles.faceOf[hits[0].faceIndex];
      if (mode === 'face') return {face};
      faces = [face];
    } else {
      if (mode === 'face' || data.faceStart.length > 20001) return null;
      faces = Array.from({length: data.faceStart.length - 1}, (_, f) => f);
    }
    let best = null;
    for (const f of faces) {
      const begin = data.faceStart[f];
      const end = data.faceStart[f + 1];
      for (let k = begin; k < end; ++k) {
        const a = this.vertexScreen(data, data.corners[k]);
        const distance = mode === 'vertex'
          ? Math.hypot(a.x - click.x, a.y - click.y)
          : segmentDistance(click, a, this.vertexScreen(data, data.corners[k + 1 < end ? k + 1 : begin]));
        if (!best || distance < best.distance) best = {distance, face: f, edge: k - begin, vertex: data.corners[k]};
      }
    }
    if (!best || (hits.length === 0 && best.distance > PICK_PIXELS)) return null;
    return mode === 'vertex' ? {vertex: best.vertex} : {line: [best.face, best.edge]};
  }
}
