// The page's side of the browser edition: the canvas, WebAudio, the gamepad and the
// browser's storage, called from the C++ front end (src/web/).
mergeInto(LibraryManager.library, {
  // Puts the 0x00RRGGBB picture on the canvas, one canvas pixel a picture pixel.
  k1_present: function (pixels, width, height) {
    var canvas = Module['canvas'];
    if (!Module.k1image || canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
      Module.k1context = canvas.getContext('2d');
      Module.k1image = Module.k1context.createImageData(width, height);
      if (Module['onResize']) Module['onResize']();
    }
    var out = Module.k1image.data;
    var from = pixels >> 2;
    for (var i = 0, n = width * height; i < n; ++i) {
      var p = HEAPU32[from + i];
      out[4 * i] = (p >> 16) & 255;
      out[4 * i + 1] = (p >> 8) & 255;
      out[4 * i + 2] = p & 255;
      out[4 * i + 3] = 255;
    }
    Module.k1context.putImageData(Module.k1image, 0, 0);
    Module.k1frames = (Module.k1frames || 0) + 1;
  },

  k1_now_ms: function () { return performance.now(); },

  // The player's volumes (per cent, 0 when muted) and whether a race is paused: sound is
  // started only at a level above 0 and while nothing is paused.
  $k1Level: function (kind) {
    var levels = Module.k1levels || {music: 100, effects: 100};
    return Module.k1soundPaused ? 0 : levels[kind];
  },
  // The gain every sound of a kind goes through, at the player's volume.
  $k1Gain__deps: ['$k1Level'],
  $k1Gain: function (audio, kind) {
    Module.k1gains = Module.k1gains || {};
    var gain = Module.k1gains[kind];
    if (!gain || gain.context !== audio) {
      gain = Module.k1gains[kind] = audio.createGain();
      gain.connect(audio.destination);
    }
    gain.gain.value = k1Level(kind) / 100;
    return gain;
  },

  // Plays a decoded sound from offset seconds in (its start when none is given), cutting
  // the one it replaces; returns its source.
  $k1StartSound__deps: ['$k1Gain'],
  $k1StartSound: function (audio, kind, buffer, replaced, offset) {
    if (replaced) { try { replaced.stop(); } catch (e) {} }
    var source = audio.createBufferSource();
    source.buffer = buffer;
    source.connect(k1Gain(audio, kind));
    source.start(0, offset || 0);
    return source;
  },

  // One effect at a time: a new one cuts the one sounding. Each WAV image is decoded once.
  // A crash also gives a short shake where the device has one, and only with the sound.
  k1_play_effect__deps: ['$k1StartSound', '$k1Level'],
  k1_play_effect: function (bytes, length, crash) {
    var audio = Module.k1audio;
    if (!audio) return;  // no sound until the person's first key or click
    if (k1Level('effects') <= 0) return;
    if (crash && audio.state === 'running' && navigator.vibrate) navigator.vibrate(60);
    Module.k1effects = Module.k1effects || {};
    var wanted = Module.k1wantedEffect = {};
    var start = function (buffer) {
      if (Module.k1wantedEffect !== wanted) return;
      Module.k1effect = k1StartSound(audio, 'effects', buffer, Module.k1effect);
    };
    var known = Module.k1effects[bytes];
    if (known instanceof AudioBuffer) return start(known);
    var copy = HEAPU8.slice(bytes, bytes + length).buffer;
    audio.decodeAudioData(copy).then(function (buffer) {
      Module.k1effects[bytes] = buffer;
      start(buffer);
    }, function () {});
  },

  // The tune, rendered at build time: loaded once, played from the start once through.
  // Asked for before sound is allowed, before it has arrived, while silenced or paused, it
  // counts as playing for its length and joins in where it would be by then, once it can.
  $k1PlayTune__deps: ['$k1StartSound', '$k1Level'],
  $k1PlayTune: function (joining) {
    var audio = Module.k1audio;
    var go = function (buffer) {
      if (!Module.k1tuneWanted) return;
      var offset = joining ? (performance.now() - Module.k1tuneAskedAt) / 1000 : 0;
      Module.k1tuneEnds = Module.k1tuneAskedAt + buffer.duration * 1000;
      if (offset >= buffer.duration) return;
      if (k1Level('music') <= 0) { Module.k1tuneWaiting = true; return; }
      Module.k1tuneWaiting = false;
      Module.k1tune = k1StartSound(audio, 'music', buffer, Module.k1tune, offset);
    };
    if (Module.k1tuneBuffer) return go(Module.k1tuneBuffer);
    audio.decodeAudioData(Module.k1tuneData.slice(0)).then(function (buffer) {
      Module.k1tuneBuffer = buffer;
      go(buffer);
    }, function () {});
  },
  $k1JoinTune__deps: ['$k1PlayTune', '$k1Level'],
  $k1JoinTune: function () {
    if (Module.k1tuneWaiting && Module.k1tuneWanted && Module.k1audio && Module.k1audio.state === 'running' &&
        k1Level('music') > 0 && (Module.k1tuneData || Module.k1tuneBuffer)) k1PlayTune(true);
  },
  // The tune silenced (muted, at 0 % or paused): it stops, and comes back where it would be.
  $k1SilenceTune: function () {
    if (!Module.k1tune) return;
    try { Module.k1tune.stop(); } catch (e) {}
    Module.k1tune = null;
    Module.k1tuneWaiting = true;
  },
  k1_sound_levels__deps: ['$k1Gain', '$k1Level', '$k1SilenceTune', '$k1JoinTune'],
  k1_sound_levels: function (music, effects) {
    Module.k1levels = {music: music, effects: effects};
    var audio = Module.k1audio;
    if (audio) { k1Gain(audio, 'music'); k1Gain(audio, 'effects'); }
    if (k1Level('music') <= 0) k1SilenceTune();
    else k1JoinTune();
    if (k1Level('effects') <= 0 && Module.k1effect) { try { Module.k1effect.stop(); } catch (e) {} }
  },
  k1_sound_paused__deps: ['$k1Gain', '$k1SilenceTune', '$k1JoinTune'],
  k1_sound_paused: function (paused) {
    paused = !!paused;
    if (paused === !!Module.k1soundPaused) return;
    Module.k1soundPaused = paused;
    if (paused) {
      Module.k1pausedAt = performance.now();
      k1SilenceTune();
      if (Module.k1effect) { try { Module.k1effect.stop(); } catch (e) {} }
      return;
    }
    // The pause is left out of where the tune is and when it ends.
    var paused_for = performance.now() - Module.k1pausedAt;
    if (Module.k1tuneAskedAt !== undefined) Module.k1tuneAskedAt += paused_for;
    if (Module.k1tuneEnds !== undefined) Module.k1tuneEnds += paused_for;
    if (Module.k1audio) { k1Gain(Module.k1audio, 'music'); k1Gain(Module.k1audio, 'effects'); }
    k1JoinTune();
  },
  k1_tune_load__deps: ['$k1JoinTune'],
  k1_tune_load: function (url) {
    Module.k1tuneJoin = k1JoinTune;  // the page calls it once sound is allowed
    url = UTF8ToString(url);
    if (Module.k1tuneUrl === url) return;
    Module.k1tuneUrl = url;
    Module.k1tuneBuffer = null;
    fetch(url).then(function (r) { return r.arrayBuffer(); }).then(function (data) {
      Module.k1tuneData = data;
      k1JoinTune();
    }, function () {});
  },
  k1_tune_play__deps: ['$k1PlayTune'],
  k1_tune_play: function () {
    Module.k1tuneWanted = true;
    Module.k1tuneAskedAt = performance.now();
    Module.k1tuneEnds = performance.now() + 1e9;  // counts as playing until it is known
    if (!Module.k1audio || !Module.k1tuneData && !Module.k1tuneBuffer) {
      Module.k1tuneWaiting = true;
      Module.k1tuneEnds = performance.now() + 78000;  // the tune's length, near enough
      return;
    }
    k1PlayTune(false);
  },
  k1_tune_playing: function () {
    return Module.k1tuneWanted && performance.now() < Module.k1tuneEnds ? 1 : 0;
  },
  k1_tune_stop: function () {
    Module.k1tuneWanted = false;
    Module.k1tuneWaiting = false;
    if (Module.k1tune) { try { Module.k1tune.stop(); } catch (e) {} }
    Module.k1tune = null;
  },

  // The first gamepad: x axis (-32768..32767) and button bits; -1 when there is none.
  k1_gamepad: function (raw_x) {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    for (var i = 0; i < pads.length; ++i) {
      var pad = pads[i];
      if (!pad || !pad.connected) continue;
      var pressed = function (b) { return pad.buttons[b] && pad.buttons[b].pressed; };
      var x = pad.axes.length > 0 ? pad.axes[0] : 0;
      if (pad.mapping === 'standard') {
        // The d-pad, when held, before the stick, as on the desktop.
        if (pressed(14)) x = -1;
        else if (pressed(15)) x = 1;
      }
      HEAP32[raw_x >> 2] = Math.max(-32768, Math.min(32767, Math.round(x * 32767)));
      var mask = 0;
      var count = pad.mapping === 'standard' ? 2 : Math.min(pad.buttons.length, 32);
      for (var b = 0; b < count; ++b) if (pressed(b)) mask |= 1 << b;
      return mask;
    }
    return -1;
  },

  // The browser's storage for the game's files, each as text of two hex digits a byte.
  k1_store_get: function (name) {
    var text = null;
    try { text = localStorage.getItem('kelto1:' + UTF8ToString(name)); } catch (e) {}
    if (text === null) return 0;
    var size = lengthBytesUTF8(text) + 1;
    var out = _malloc(size);
    stringToUTF8(text, out, size);
    return out;
  },
  // A refused write (storage full, or none in a private window) is told to the page; a
  // refused replay takes the older one with it, which is no longer the last race.
  k1_store_set: function (name, text) {
    var key = 'kelto1:' + UTF8ToString(name);
    try { localStorage.setItem(key, UTF8ToString(text)); return 1; } catch (e) {
      if (/\.k1r$/.test(key)) { try { localStorage.removeItem(key); } catch (ignored) {} }
      if (Module['onStoreRefused']) Module['onStoreRefused'](UTF8ToString(name));
      return 0;
    }
  },
  k1_store_remove: function (name) {
    try { localStorage.removeItem('kelto1:' + UTF8ToString(name)); } catch (e) {}
  },
  k1_store_names: function () {
    var names = [];
    try {
      for (var i = 0; i < localStorage.length; ++i) {
        var k = localStorage.key(i);
        if (k.indexOf('kelto1:') === 0) names.push(k.substring(7));
      }
    } catch (e) {}
    var text = names.join('\n');
    var size = lengthBytesUTF8(text) + 1;
    var out = _malloc(size);
    stringToUTF8(text, out, size);
    return out;
  },

  // The selector and the delay box: the page's controls over them follow the game.
  k1_boxes: function (car_shown, car, delay_shown, delay) {
    if (Module['onBoxes']) Module['onBoxes'](!!car_shown, UTF8ToString(car), !!delay_shown, UTF8ToString(delay));
  },

  k1_note: function (line) { console.log(UTF8ToString(line)); },

  // What the page's test reads: the frames shown and the state of the game's readouts.
  k1_report: function (key, value) {
    Module.k1state = Module.k1state || {};
    key = UTF8ToString(key);
    value = UTF8ToString(value);
    if (Module.k1state[key] !== value && Module['onReport']) Module['onReport'](key, value);
    Module.k1state[key] = value;
  },
});
