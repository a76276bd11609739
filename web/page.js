// The page around the game: the canvas at the largest whole scale that fits, sound
// unlocked by the first key or click, and the fullscreen button.
(function () {
  var canvas = document.getElementById('screen');
  var help = document.getElementById('help');

  function fit() {
    var w = canvas.width, h = canvas.height;
    var room = help.offsetHeight + 8;
    var scale = Math.max(1, Math.floor(Math.min(window.innerWidth / w, (window.innerHeight - room) / h)));
    canvas.style.width = (w * scale) + 'px';
    canvas.style.height = (h * scale) + 'px';
    window.k1scale = scale;
    if (window.k1place) window.k1place(scale);
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);

  function unlockSound() {
    if (!Module.k1audio) {
      var Context = window.AudioContext || window.webkitAudioContext;
      if (Context) Module.k1audio = new Context();
    }
    if (Module.k1audio && Module.k1audio.state === 'suspended') Module.k1audio.resume().then(joinTune);
    else joinTune();
  }
  // A tune the game asked for while sound was not yet allowed joins in now.
  function joinTune() { if (Module.k1tuneJoin) Module.k1tuneJoin(); }
  window.addEventListener('keydown', unlockSound, true);
  window.addEventListener('pointerdown', unlockSound, true);

  document.getElementById('fullscreen').addEventListener('click', function (e) {
    e.target.blur();
    var stage = document.getElementById('stage');
    if (document.fullscreenElement) document.exitFullscreen();
    else if (stage.requestFullscreen) stage.requestFullscreen();
    canvas.focus();
  });

  // The selector and the delay box as the page's own controls, over the game's boxes.
  var boxes = {
    carsel: {el: 9, rect: [8, 200, 81, 20], holder: 'carsel-box', display: 'flex'},
    delay: {el: 6, rect: [0, 360, 57, 18], holder: 'delay', display: 'block'},
  };
  var scale = 1;
  var arrowWidth = 16;  // the selector's arrow button, as the desktop draws it
  var list = document.getElementById('carsel-list');
  var items = Array.prototype.slice.call(list.children);
  window.k1place = function (s) { scale = s; place(); };
  function place() {
    for (var id in boxes) {
      var holder = document.getElementById(boxes[id].holder), r = boxes[id].rect;
      holder.style.left = r[0] * scale + 'px';
      holder.style.top = r[1] * scale + 'px';
      holder.style.width = r[2] * scale + 'px';
      holder.style.height = r[3] * scale + 'px';
      document.getElementById(id).style.fontSize = 12 * scale + 'px';
    }
    var r = boxes.carsel.rect, button = document.getElementById('carsel-open');
    button.style.width = arrowWidth * scale + 'px';
    button.style.fontSize = 12 * scale + 'px';
    list.style.left = r[0] * scale + 'px';
    list.style.top = (r[1] + r[3]) * scale + 'px';
    list.style.width = r[2] * scale + 'px';
    list.style.fontSize = 12 * scale + 'px';
  }
  function typed(id, text) {
    Module.ccall('k1_box_typed', null, ['number', 'string'], [boxes[id].el, text]);
  }
  Object.keys(boxes).forEach(function (id) {
    document.getElementById(id).addEventListener('input', function (e) { typed(id, e.target.value); });
    document.getElementById(id).addEventListener('change', function () { canvas.focus(); });
  });

  // The selector's list: the arrow opens and closes it, a click on an item chooses it, and
  // Up and Down step through the items while the selector has the keyboard.
  var carsel = document.getElementById('carsel');
  function choose(text) {
    carsel.value = text;
    typed('carsel', text);
  }
  function openList(open) {
    list.style.display = open ? 'block' : 'none';
    items.forEach(function (li) { li.className = li.textContent === carsel.value ? 'lit' : ''; });
  }
  document.getElementById('carsel-open').addEventListener('mousedown', function (e) {
    e.preventDefault();  // the keyboard stays where it was
    openList(list.style.display !== 'block');
  });
  items.forEach(function (li) {
    li.addEventListener('mousedown', function (e) {
      e.preventDefault();
      choose(li.textContent);
      openList(false);
      canvas.focus();
    });
    li.addEventListener('mouseenter', function () {
      items.forEach(function (other) { other.className = other === li ? 'lit' : ''; });
    });
  });
  document.addEventListener('mousedown', function (e) {
    if (!list.contains(e.target) && e.target.id !== 'carsel-open') openList(false);
  });
  carsel.addEventListener('keydown', function (e) {
    if (e.key !== 'ArrowDown' && e.key !== 'ArrowUp') return;
    e.preventDefault();
    var names = items.map(function (li) { return li.textContent; });
    var at = names.indexOf(carsel.value);
    var next = at < 0 ? 0 : Math.max(0, Math.min(names.length - 1, at + (e.key === 'ArrowDown' ? 1 : -1)));
    choose(names[next]);
    if (list.style.display === 'block') openList(true);
  });

  function showBox(id, shown, text) {
    var input = document.getElementById(id), holder = document.getElementById(boxes[id].holder);
    holder.style.display = shown ? boxes[id].display : 'none';
    if (!shown && id === 'carsel') openList(false);
    if (!shown && document.activeElement === input) canvas.focus();
    if (document.activeElement !== input && input.value !== text) input.value = text;
  }

  window.Module = {
    canvas: canvas, print: console.log, printErr: console.error,
    onResize: function () { fit(); },
    onBoxes: function (carShown, car, delayShown, delay) { showBox('carsel', carShown, car); showBox('delay', delayShown, delay); },
  };
  fit();
  canvas.focus();
})();
