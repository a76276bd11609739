// The page around the game: the picture fitted to the screen, sound unlocked by the first
// key or touch, the fullscreen button, the selector and delay boxes over the game's own,
// the one-line notices, and the service worker that keeps the page for offline play.
(function () {
  var canvas = document.getElementById('screen');
  var stage = document.getElementById('stage');
  var help = document.getElementById('help');
  var menu = document.getElementById('menu');
  var steer = document.getElementById('steer');
  var noticeLine = document.getElementById('notice');
  var gap = 6;  // the stage's gap between its parts

  // The scale the picture is shown at, in CSS pixels per picture pixel: a whole number of
  // screen pixels per picture pixel where that fills at least three quarters of the room,
  // else the largest size that fits, keeping the picture's shape.
  function pictureScale(width, height, roomWidth, roomHeight, devicePixels) {
    var fit = Math.min(roomWidth / width, roomHeight / height) * devicePixels;
    var whole = Math.floor(fit);
    return (whole >= 1 && whole >= 0.75 * fit ? whole : fit) / devicePixels;
  }

  // The game is told of a touch screen (its title names no keys then), now or once it runs.
  function tellTouch() {
    if (Module.calledRun || Module.k1ready) Module.ccall('k1_touch', null, [], []);
  }

  // Touch controls once the screen is known to be touched: a coarse pointer, or a touch.
  var touch = false;
  function useTouch() {
    if (touch) return;
    touch = true;
    document.body.classList.add('touch');
    tellTouch();
    fit();
  }
  window.addEventListener('pointerdown', function (e) { if (e.pointerType === 'touch') useTouch(); }, true);
  window.addEventListener('touchstart', useTouch, {capture: true, passive: true});

  // The room left to the picture by the controls and lines beside or below it.
  function room() {
    var s = getComputedStyle(stage);
    var w = stage.clientWidth - parseFloat(s.paddingLeft) - parseFloat(s.paddingRight);
    var h = stage.clientHeight - parseFloat(s.paddingTop) - parseFloat(s.paddingBottom);
    if (!touch) return {w: w, h: h - menu.offsetHeight - help.offsetHeight - 2 * gap};
    if (h >= w) return {w: w, h: h - steer.offsetHeight - menu.offsetHeight - 2 * gap - 32};
    var side = steer.offsetWidth + 24;  // the menu's buttons wrap to the same width
    return {w: w - 2 * side - 2 * gap, h: h};
  }

  var scale = 1;
  function fit() {
    var portrait = window.innerHeight >= window.innerWidth;
    document.body.classList.toggle('portrait', portrait);
    document.body.classList.toggle('landscape', !portrait);
    var r = room();
    var w = canvas.width, h = canvas.height;
    scale = pictureScale(w, h, Math.max(r.w, 1), Math.max(r.h, 1), window.devicePixelRatio || 1);
    canvas.style.width = (w * scale) + 'px';
    canvas.style.height = (h * scale) + 'px';
    window.k1scale = scale;
    place();
  }
  window.addEventListener('resize', fit);
  window.addEventListener('orientationchange', fit);
  document.addEventListener('fullscreenchange', fit);
  if (window.visualViewport) window.visualViewport.addEventListener('resize', fit);

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
  window.addEventListener('keydown', function (e) { if (e.isTrusted) unlockSound(); }, true);
  window.addEventListener('pointerdown', unlockSound, true);

  // Full screen, on its side where the browser lets the page turn it.
  var whole = document.documentElement;
  var fullscreen = document.getElementById('fullscreen');
  if (!whole.requestFullscreen) fullscreen.style.display = 'none';
  fullscreen.addEventListener('click', function (e) {
    e.target.blur();
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (whole.requestFullscreen) {
      whole.requestFullscreen({navigationUI: 'hide'}).then(function () {
        if (screen.orientation && screen.orientation.lock) return screen.orientation.lock('landscape');
      }).catch(function () {});
    }
    canvas.focus();
  });

  // One line at the top of the page for what the game could not do, each thing told once.
  var told = [];
  function notice(line) {
    if (told.indexOf(line) >= 0) return;
    told.push(line);
    noticeLine.textContent = told.join(' ');
    noticeLine.style.display = 'block';
  }
  noticeLine.addEventListener('click', function () { noticeLine.style.display = 'none'; });
  window.k1notice = notice;

  // The selector and the delay box as the page's own controls, over the game's boxes. On a
  // touch screen each has a clear margin around it that a finger can hit too, so that the
  // boxes stay the game's size and cover nothing beside them.
  var boxes = {
    carsel: {el: 9, rect: [8, 200, 81, 20], holder: 'carsel-box', display: 'flex'},
    delay: {el: 6, rect: [0, 360, 57, 18], holder: 'delay', display: 'block'},
  };
  var arrowWidth = 16;  // the selector's arrow button, as the desktop draws it
  var margin = 12;      // CSS pixels of the touch margin
  var list = document.getElementById('carsel-list');
  var items = Array.prototype.slice.call(list.children);
  function place() {
    var m = touch ? margin : 0;
    for (var id in boxes) {
      var holder = document.getElementById(boxes[id].holder), r = boxes[id].rect;
      // No margin past the picture's left edge, which may be the screen's.
      var left = Math.min(m, r[0] * scale);
      holder.style.left = r[0] * scale - left + 'px';
      holder.style.top = r[1] * scale - m + 'px';
      holder.style.width = r[2] * scale + left + m + 'px';
      holder.style.height = r[3] * scale + 2 * m + 'px';
      holder.style.borderWidth = m ? m + 'px ' + m + 'px ' + m + 'px ' + left + 'px' : '';
      document.getElementById(id).style.fontSize = 12 * scale + 'px';
    }
    var r = boxes.carsel.rect, button = document.getElementById('carsel-open');
    button.style.width = arrowWidth * scale + 'px';
    button.style.fontSize = 12 * scale + 'px';
    list.style.left = r[0] * scale + 'px';
    list.style.top = (r[1] + r[3]) * scale + 'px';
    list.style.minWidth = r[2] * scale + 'px';
    list.style.width = touch ? 'auto' : r[2] * scale + 'px';
    list.style.fontSize = (touch ? Math.max(16, 12 * scale) : 12 * scale) + 'px';
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
  // A finger on the selector's margin opens its list too.
  document.getElementById('carsel-box').addEventListener('mousedown', function (e) {
    if (e.target.id !== 'carsel-box') return;
    e.preventDefault();
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
    if (!list.contains(e.target) && e.target.id !== 'carsel-open' && e.target.id !== 'carsel-box') openList(false);
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

  // The game stopped where it must not go on: the page starts it again at the title, with
  // the reason on the notice line; a game that stops again at once is left stopped.
  var restartKey = 'kelto1:restarted', lineKey = 'kelto1:stopped';
  function stopped(what) {
    var reason = String(what || 'an error');
    try {
      var last = Number(sessionStorage.getItem(restartKey) || 0);
      if (Date.now() - last > 20000) {
        sessionStorage.setItem(restartKey, String(Date.now()));
        sessionStorage.setItem(lineKey, 'The game stopped (' + reason + ') and started again at the title.');
        location.reload();
        return;
      }
    } catch (e) {}
    notice('The game stopped (' + reason + '). Reload the page to play again.');
  }
  try {
    var line = sessionStorage.getItem(lineKey);
    if (line) { sessionStorage.removeItem(lineKey); notice(line); }
  } catch (e) {}

  // The page's own keys and controls: P (or Pause) pauses a race, M switches the sound
  // off and on, G the ghost; a letter typed into a box is only typed. A page hidden or
  // gone to the background pauses its race.
  function act(name) {
    if (Module.calledRun) Module.ccall('k1_action', null, ['string'], [name]);
  }
  var actions = {KeyP: 'pause', Pause: 'pause', KeyM: 'mute', KeyG: 'ghost'};
  window.addEventListener('keydown', function (e) {
    var name = actions[e.code];
    if (!name || e.metaKey || (e.target && e.target.tagName === 'INPUT')) return;
    e.preventDefault();
    if (!e.repeat) act(name);
  }, true);
  function pageLeft() { if (Module.calledRun) Module.ccall('k1_page_left', null, [], []); }
  // A phone has no P: a touch on the picture resumes a paused race (as a click does). The
  // game is told where the picture was touched, in its own pixels: a tap on the records
  // table picks a race, a second tap watches it.
  canvas.addEventListener('pointerdown', function (e) {
    if (Module.k1state && Module.k1state.paused === '1') act('pause');
    var r = canvas.getBoundingClientRect();
    if (!Module.calledRun || r.width <= 0 || r.height <= 0) return;
    var x = Math.floor((e.clientX - r.left) * canvas.width / r.width);
    var y = Math.floor((e.clientY - r.top) * canvas.height / r.height);
    Module.ccall('k1_tap', null, ['number', 'number'], [x, y]);
  });
  document.addEventListener('visibilitychange', function () { if (document.hidden) pageLeft(); });
  window.addEventListener('blur', pageLeft);

  // The sound's controls: on and off (by touch too), and the two volumes.
  var mute = document.getElementById('mute');
  var music = document.getElementById('music'), effects = document.getElementById('effects');
  mute.addEventListener('click', function () { act('mute'); canvas.focus(); });
  function volumes() {
    if (Module.calledRun) Module.ccall('k1_volumes', null, ['number', 'number'], [Number(music.value), Number(effects.value)]);
  }
  music.addEventListener('input', volumes);
  effects.addEventListener('input', volumes);
  [music, effects].forEach(function (v) { v.addEventListener('change', function () { canvas.focus(); }); });
  function reported(key, value) {
    if (key === 'muted') {
      mute.setAttribute('aria-pressed', value === '1' ? 'true' : 'false');
      mute.textContent = value === '1' ? 'Sound off' : 'Sound on';
    } else if (key === 'volumes') {
      var v = value.split(' ');
      music.value = v[0];
      effects.value = v[1];
    }
  }

  // What the browser's storage would not keep, in the player's words.
  var refused = {};
  function storeRefused(name) {
    refused[/car\.dat$/.test(name) ? 'the settings' : /last\.k1r$/.test(name) ? 'the replay of the last race' : /\.k1r$/.test(name) ? 'a replay of the records table' :
            /^choice:/.test(name) ? 'your choices' : /records\.txt$/.test(name) ? 'the records table' : name] = true;
    var what = Object.keys(refused);
    var line = 'The browser\'s storage is full or closed: ' + what.join(' and ') + (what.length > 1 || what[0] === 'the settings' ? ' were' : ' was') + ' not kept.';
    told = told.filter(function (l) { return l.indexOf('The browser\'s storage') !== 0; });
    notice(line);
  }

  window.Module = {
    canvas: canvas, print: console.log, printErr: console.error,
    onResize: function () { fit(); },
    onBoxes: function (carShown, car, delayShown, delay) { showBox('carsel', carShown, car); showBox('delay', delayShown, delay); },
    onStoreRefused: storeRefused,
    onReport: reported,
    onRuntimeInitialized: function () { Module.k1ready = true; if (touch) tellTouch(); },
    onAbort: stopped,
  };
  if (window.matchMedia && window.matchMedia('(pointer: coarse)').matches) useTouch();
  fit();
  canvas.focus();

  // Every file of the page kept for offline play, from the second visit on; a page opened
  // from a file has no worker (nor a game: WebAssembly needs a web server).
  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    window.addEventListener('load', function () {
      navigator.serviceWorker.register('sw.js').catch(function (e) { console.log('kelto1: no offline copy: ' + e.message); });
    });
  }
})();
