/* Folivox player: night mode. Follows the system's dark scheme until the reader
 * presses the button, and remembers that choice. Pages of text and line art turn
 * light on dark; photographs (pictures.js photos) stay as they are; the toolbar,
 * the panels and the reading view turn dark (night.css). */
(function (F) {
  'use strict';

  var KEY = 'folivox-night';

  // ctx: { root, bus, toolbar }
  function createNight(ctx) {
    var button = ctx.toolbar.buttons.night;
    var scheme = window.matchMedia('(prefers-color-scheme: dark)');
    var chosen = null;
    try { chosen = localStorage.getItem(KEY); } catch (e) { /* no storage: the system decides */ }

    function apply() {
      var on = chosen ? chosen === 'on' : scheme.matches;
      ctx.root.classList.toggle('fv-night', on);
      button.setAttribute('aria-pressed', String(on));
    }

    scheme.onchange = apply;
    ctx.bus.on('togglenight', function () {
      chosen = ctx.root.classList.contains('fv-night') ? 'off' : 'on';
      try { localStorage.setItem(KEY, chosen); } catch (e) { /* kept for this visit only */ }
      apply();
    });
    apply();
  }

  F.createNight = createNight;
})(window.Folivox);
