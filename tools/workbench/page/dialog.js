// The plug-in's dialog, drawn from the replacement host's widget tree as it is
// now: buttons, check boxes, radio buttons, the reference list and labels, in
// their frames and group boxes, enabled or not, each accelerator letter
// underlined. Clicks are passed on whatever the control's state: the host
// decides, as it does for the scripted user, and ignores a disabled control.

// "Center of the O(&b)ject" -> text with <u>b</u>; "&&" is a plain "&".
export function captionNodes(caption) {
  const out = document.createDocumentFragment();
  let text = '';
  for (let i = 0; i < caption.length; ++i) {
    if (caption[i] === '&' && i + 1 < caption.length) {
      if (caption[i + 1] === '&') {
        text += '&';
      } else {
        out.append(text);
        text = '';
        const u = document.createElement('u');
        u.textContent = caption[i + 1];
        out.append(u);
      }
      ++i;
    } else {
      text += caption[i];
    }
  }
  out.append(text);
  return out;
}

function plain(caption) {
  return caption.replace(/&(.)/g, '$1');
}

function build(node, act) {
  let element;
  switch (node.class) {
    case 'dialog':
    case 'frame':
      element = document.createElement('div');
      element.className = node.row ? 'frame row' : 'frame column';
      break;
    case 'groupbox': {
      element = document.createElement('fieldset');
      element.className = node.row ? 'group row' : 'group column';
      const legend = document.createElement('legend');
      legend.append(captionNodes(node.caption));
      element.append(legend);
      break;
    }
    case 'button':
      element = document.createElement('button');
      element.type = 'button';
      element.className = 'control';
      element.append(captionNodes(node.caption));
      element.addEventListener('click', () => act('click', {caption: node.caption}));
      break;
    case 'checkbox':
    case 'radiobutton': {
      element = document.createElement('label');
      element.className = 'choice';
      const box = document.createElement('span');
      box.className = node.class === 'checkbox' ? 'box' : 'dot';
      box.setAttribute('role', node.class === 'checkbox' ? 'checkbox' : 'radio');
      box.setAttribute('aria-checked', String(node.checked));
      const text = document.createElement('span');
      text.append(captionNodes(node.caption));
      element.append(box, text);
      element.addEventListener('click', (event) => {
        event.preventDefault();
        act('click', {caption: node.caption});
      });
      break;
    }
    case 'combobox': {
      element = document.createElement('select');
      element.className = 'control';
      (node.items || []).forEach((item, i) => {
        const option = document.createElement('option');
        option.textContent = item;
        option.selected = i === node.current;
        element.append(option);
      });
      element.addEventListener('change', () => act('pick_item', {text: element.value}));
      break;
    }
    default:
      element = document.createElement('span');
      element.className = 'label';
      element.append(captionNodes(node.caption || ''));
  }
  if (node.fill) element.classList.add('fill');
  if (!node.enabled) {
    element.classList.add('disabled');
    element.setAttribute('aria-disabled', 'true');
    if (node.class === 'combobox') element.disabled = true;
  }
  element.dataset.caption = node.caption || '';
  element.dataset.widget = node.id;
  if (node.caption) element.title = plain(node.caption) + (node.enabled ? '' : ' (disabled)');
  for (const child of node.children || []) {
    if (node.class !== 'groupbox' || child) element.append(build(child, act));
  }
  return element;
}

// Draws the dialog window into `layer`: a title bar with a close box and the
// tree below it. `act(op, args)` sends an action to the plug-in.
export function drawDialog(layer, tree, act) {
  layer.replaceChildren();
  if (!tree) return;
  const win = document.createElement('div');
  win.className = 'dialog-window';
  win.setAttribute('role', 'dialog');
  const title = document.createElement('div');
  title.className = 'title';
  title.append(tree.caption || 'Tervolin');
  const close = document.createElement('button');
  close.className = 'close';
  close.title = 'Close the window (cancel)';
  close.textContent = '×';
  close.addEventListener('click', () => act('close', {}));
  title.append(close);
  win.append(title, build(tree, act));
  layer.append(win);
  // The window can be dragged by its title, to see the object behind it; it
  // keeps its place while the dialog runs.
  layer.style.transform = `translate(${offset.x}px, ${offset.y}px)`;
  title.addEventListener('pointerdown', (event) => {
    if (event.target === close) return;
    const start = {x: event.clientX - offset.x, y: event.clientY - offset.y};
    const move = (e) => {
      offset.x = e.clientX - start.x;
      offset.y = e.clientY - start.y;
      layer.style.transform = `translate(${offset.x}px, ${offset.y}px)`;
    };
    const up = () => {
      window.removeEventListener('pointermove', move);
      window.removeEventListener('pointerup', up);
    };
    window.addEventListener('pointermove', move);
    window.addEventListener('pointerup', up);
  });
}

const offset = {x: 0, y: 0};
