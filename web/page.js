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
    if (Module.k1audio && Module.k1audio.state === 'suspended') Module.k1audio.resume();
  }
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
  var boxes = {carsel: {el: 9, rect: [8, 200, 81, 20]}, delay: {el: 6, rect: [0, 360, 57, 18]}};
  var scale = 1;
  window.k1place = function (s) { scale = s; place(); };
  function place() {
    for (var id in boxes) {
      var input = document.getElementById(id), r = boxes[id].rect;
      input.style.left = r[0] * scale + 'px';
      input.style.top = r[1] * scale + 'px';
      input.style.width = r[2] * scale + 'px';
      input.style.height = r[3] * scale + 'px';
      input.style.fontSize = 12 * scale + 'px';
    }
  }
  Object.keys(boxes).forEach(function (id) {
    document.getElementById(id).addEventListener('input', function (e) {
      Module.ccall('k1_box_typed', null, ['number', 'string'], [boxes[id].el, e.target.value]);
    });
    document.getElementById(id).addEventListener('change', function () { canvas.focus(); });
  });
  function showBox(id, shown, text) {
    var input = document.getElementById(id);
    input.style.display = shown ? 'block' : 'none';
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
