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

  window.Module = { canvas: canvas, onResize: fit, print: console.log, printErr: console.error };
  fit();
  canvas.focus();
})();
