// The touch controls: each button stands for one of the game's keys (its data-key) and
// presses it as the keyboard would, so a race by touch is the same race as by keys. Every
// finger counts on its own (steer and accelerate together), and a thumb slid from one
// pad button to the next lets go of the first and presses the next.
(function () {
  var keys = {
    left: {code: 'ArrowLeft', key: 'ArrowLeft', keyCode: 37},
    right: {code: 'ArrowRight', key: 'ArrowRight', keyCode: 39},
    alt: {code: 'AltLeft', key: 'Alt', keyCode: 18},
    ctrl: {code: 'ControlLeft', key: 'Control', keyCode: 17},
    escape: {code: 'Escape', key: 'Escape', keyCode: 27},
    f2: {code: 'F2', key: 'F2', keyCode: 113},
    f3: {code: 'F3', key: 'F3', keyCode: 114},
  };
  var fingers = {};  // pointerId -> the button under it, or null
  var held = {};     // data-key -> its button, while some finger holds it

  function send(name, down) {
    var k = keys[name];
    window.dispatchEvent(new KeyboardEvent(down ? 'keydown' : 'keyup',
      {code: k.code, key: k.key, keyCode: k.keyCode, which: k.keyCode, bubbles: true, cancelable: true}));
  }

  function update() {
    var now = {};
    for (var id in fingers) if (fingers[id]) now[fingers[id].dataset.key] = fingers[id];
    for (var name in held) {
      if (now[name]) continue;
      held[name].classList.remove('held');
      send(name, false);
    }
    for (name in now) {
      if (held[name]) continue;
      now[name].classList.add('held');
      send(name, true);
    }
    held = now;
  }

  function buttonOf(el) {
    var b = el && el.closest ? el.closest('[data-key]') : null;
    return b && keys[b.dataset.key] ? b : null;
  }

  document.addEventListener('pointerdown', function (e) {
    var b = buttonOf(e.target);
    if (!b) return;
    e.preventDefault();  // no focus change, no emulated mouse, no long-press menu
    fingers[e.pointerId] = b;
    update();
  }, {passive: false});

  // Only the pads' buttons take over a sliding thumb: sliding onto "Title" mid-race must
  // not end it.
  document.addEventListener('pointermove', function (e) {
    if (!(e.pointerId in fingers)) return;
    var from = fingers[e.pointerId];
    if (from && !from.closest('.pad')) return;
    var b = buttonOf(document.elementFromPoint(e.clientX, e.clientY));
    fingers[e.pointerId] = b && b.closest('.pad') ? b : null;
    update();
  });

  function lift(e) {
    if (!(e.pointerId in fingers)) return;
    delete fingers[e.pointerId];
    update();
  }
  document.addEventListener('pointerup', lift);
  document.addEventListener('pointercancel', lift);

  // A page put away lets go of everything, as the keyboard's keys are let go on a blur.
  function letGo() { fingers = {}; update(); }
  window.addEventListener('blur', letGo);
  document.addEventListener('visibilitychange', function () { if (document.hidden) letGo(); });
  document.addEventListener('contextmenu', function (e) { if (buttonOf(e.target)) e.preventDefault(); });
})();
