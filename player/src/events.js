/* Folivox player: the event bus the parts of the reader talk through, so a new panel
 * subscribes instead of being called from the parts it depends on. Handlers run in the
 * order they subscribed. Every event is listed here; an unknown name throws, so a
 * misspelt one fails at once instead of never firing.
 *
 *   spreadchange      reader   { spread, anchor, view }  what is shown may have changed:
 *                              a turn landed, the page mode or the anchored page changed,
 *                              or the stage was laid out anew. Parts redraw from the reader.
 *   zoomchange        reader   { zoom, factor }          the zoom level changed
 *   layout            stage    { pageW, pageH }          the book was sized anew (comes after
 *                              the spreadchange of the same layout)
 *   turnstart         reader, pointer  { plan }          a page starts turning
 *   turnend           leaf     { completed, cut }        the turning leaf is gone; cut when a
 *                              new request landed or dropped it early
 *   ready             stage    {}                        the first spread's pictures are painted
 *   togglecontents    toolbar  {}                        the contents button was pressed
 *   togglethumbnails  toolbar  {}                        the thumbnails button was pressed
 *   togglesound       toolbar  {}                        the sound button was pressed
 *   print             toolbar  {}                        the print button was pressed
 *   togglesearch      toolbar  {}                        the search button was pressed
 *   opensearch        keys     {}                        Ctrl+F or / asked for the search
 *   selecttext        keys     {}                        Ctrl+A asked for the words in view
 *   textlayer         text_layer  { page, layer, words } a page's words are in its text layer
 *   findresult        find     { query, result, current, status }  the search's hits
 *                              or the current hit changed (find.js)
 *   panelchange       contents, find_bar  {}            a side panel opened or closed; on a
 *                              wide window the stage makes room for it
 *   togglereading     toolbar  {}                        the reading view's button was pressed
 *   readingchange     reading  { open }                  the reading view opened or closed
 *   togglenight       toolbar  {}                        the night mode button was pressed
 *   togglespeech      toolbar  {}                        the read aloud button was pressed
 *   share             toolbar  {}                        the share button was pressed
 */
(function (F) {
  'use strict';

  var EVENTS = ['spreadchange', 'zoomchange', 'layout', 'turnstart', 'turnend', 'ready',
    'togglecontents', 'togglethumbnails', 'togglesound', 'print',
    'togglesearch', 'opensearch', 'selecttext', 'textlayer', 'findresult', 'panelchange',
    'togglereading', 'readingchange', 'togglenight', 'togglespeech', 'share'];

  function createBus() {
    var handlers = Object.create(null);
    for (var i = 0; i < EVENTS.length; i++) handlers[EVENTS[i]] = [];

    function list(name) {
      var l = handlers[name];
      if (!l) throw new Error('unknown event "' + name + '"');
      return l;
    }

    // Returns a function that unsubscribes.
    function on(name, fn) {
      list(name).push(fn);
      return function () { off(name, fn); };
    }

    function off(name, fn) {
      var l = list(name);
      var at = l.indexOf(fn);
      if (at >= 0) l.splice(at, 1);
    }

    // A handler that subscribes or unsubscribes while the event runs takes effect from
    // the next event on.
    function emit(name, data) {
      var l = list(name).slice();
      for (var k = 0; k < l.length; k++) l[k](data || {});
    }

    return { on: on, off: off, emit: emit };
  }

  F.createBus = createBus;
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
