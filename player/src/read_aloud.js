/* Folivox player: reading the page aloud with the browser's own voices. The button
 * shows only where the browser has a voice and the book has text; it reads the page
 * the address names, marks the word being read in the text layer, and stops when
 * the book turns or the button is pressed again. */
(function (F) {
  'use strict';

  var TD = F.textData;

  // ctx: { bus, reader, stage, toolbar, text }
  function createReadAloud(ctx) {
    var button = ctx.toolbar.buttons.speak;
    var hasText = false;
    var now = null;   // the utterance being read, with its page (p)
    var marked = null;

    // The browser's speech, when it has a voice to speak with.
    function speech() {
      var s = window.speechSynthesis;
      return s && s.getVoices && s.getVoices().length && window.SpeechSynthesisUtterance ? s : null;
    }

    function show() { button.hidden = !hasText || !speech(); }

    function mark(k) {
      if (marked) marked.classList.remove('fv-spoken');
      marked = now && ctx.stage.book.querySelectorAll('.fv-page[data-page="' + (now.p + 1) + '"] .fv-text span')[k];
      if (marked) marked.classList.add('fv-spoken');
    }

    function stop() {
      if (!now) return;
      mark(-1);
      now = null;
      button.setAttribute('aria-pressed', 'false');
      if (window.speechSynthesis) window.speechSynthesis.cancel();
    }

    function start() {
      var s = speech(), p = ctx.reader.anchor();
      if (s) ctx.text.words(p).then(function (words) {
        var said = TD.spoken(words || []);
        if (!said.text || now) return;
        var u = now = new SpeechSynthesisUtterance(said.text);
        u.p = p;
        u.lang = document.documentElement.lang;
        u.onboundary = function (ev) { if (now === u) mark(TD.wordAt(said, ev.charIndex)); };
        u.onend = u.onerror = function () { if (now === u) stop(); };
        button.setAttribute('aria-pressed', 'true');
        s.speak(u);
      });
    }

    ctx.bus.on('togglespeech', function () { if (now) stop(); else start(); });
    ctx.bus.on('turnstart', stop);
    ctx.bus.on('spreadchange', function () {
      if (now && ctx.reader.view().pages.indexOf(now.p) < 0) stop();
      show();
    });
    ctx.text.whenText(function () { hasText = true; show(); });
    if (window.speechSynthesis) window.speechSynthesis.onvoiceschanged = show;
    window.addEventListener('pagehide', stop);
  }

  F.createReadAloud = createReadAloud;
})(window.Folivox);
