/* Folivox player: the page-turn sound. Plays the book's sound file, or without one a
 * short burst of filtered noise; on at start only when the book has a sound file. The
 * toolbar's sound button switches it. */
(function (F) {
  'use strict';

  // ctx: { opts, bus, toolbar }
  function createSound(ctx) {
    var opts = ctx.opts;
    var button = ctx.toolbar.buttons.sound;
    var on = !!opts.flipSound;
    var audio = null, audioCtx = null;
    if (opts.flipSound) {
      // Fetched once the first spread has painted: the pages come first.
      audio = new Audio();
      audio.preload = 'none';
      audio.src = opts.flipSound;
      ctx.bus.on('ready', function () {
        audio.preload = 'auto';
        audio.load();
      });
    }

    function play() {
      if (!on) return;
      if (audio) {
        try { audio.currentTime = 0; } catch (e) { /* not loaded yet */ }
        var p = audio.play();
        if (p && p.catch) p.catch(function () {});
        return;
      }
      synth();
    }

    // A short burst of filtered noise sounds like paper.
    function synth() {
      var AC = window.AudioContext || window.webkitAudioContext;
      if (!AC) return;
      try {
        if (!audioCtx) audioCtx = new AC();
        var ac = audioCtx;
        var len = Math.floor(ac.sampleRate * 0.32);
        var buf = ac.createBuffer(1, len, ac.sampleRate);
        var data = buf.getChannelData(0);
        for (var i = 0; i < len; i++) data[i] = (Math.random() * 2 - 1) * Math.pow(1 - i / len, 2);
        var src = ac.createBufferSource();
        src.buffer = buf;
        var filter = ac.createBiquadFilter();
        filter.type = 'bandpass';
        filter.frequency.value = 2200;
        filter.Q.value = 0.6;
        var gain = ac.createGain();
        gain.gain.setValueAtTime(0.0001, ac.currentTime);
        gain.gain.exponentialRampToValueAtTime(0.35, ac.currentTime + 0.03);
        gain.gain.exponentialRampToValueAtTime(0.0001, ac.currentTime + 0.3);
        src.connect(filter);
        filter.connect(gain);
        gain.connect(ac.destination);
        src.start();
      } catch (e) { /* sound is optional */ }
    }

    function showState() {
      if (!button) return;
      F.dom.setIcon(button, on ? 'soundOn' : 'soundOff');
      button.setAttribute('aria-pressed', on ? 'true' : 'false');
    }

    ctx.bus.on('togglesound', function () {
      on = !on;
      showState();
      if (on) play();
    });
    ctx.bus.on('turnstart', play);
    showState();
    return { isOn: function () { return on; } };
  }

  F.createSound = createSound;
})(window.Folivox);
