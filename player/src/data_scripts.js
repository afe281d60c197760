/* Folivox player: the book's optional data scripts (docs/book-files.md). Each is one
 * call folivoxData(kind, index, payload); a script works where a request does not
 * (a book opened from the disk). load() adds the script and resolves to its payload,
 * or to null when the file is missing, says nothing, or has a version this player
 * does not know: the book then goes without that feature. The payload is untrusted;
 * its reader checks what it takes. */
(function (F) {
  'use strict';

  var VERSION = 1;
  var waiting = Object.create(null);   // kind + ':' + index -> resolve functions

  function key(kind, index) { return String(kind) + ':' + String(index); }

  // The one entry point the scripts call.
  function receive(kind, index, payload) {
    var k = key(kind, index);
    var list = waiting[k];
    if (!list) return;
    delete waiting[k];
    var ok = payload && typeof payload === 'object' && payload.v === VERSION;
    for (var i = 0; i < list.length; i++) list[i](ok ? payload : null);
  }

  // src: a path inside the book folder; kind and index: what the script announces.
  function load(src, kind, index) {
    if (typeof window.folivoxData !== 'function') window.folivoxData = receive;
    return new Promise(function (resolve) {
      var k = key(kind, index);
      var settled = false;
      function done(value) {
        if (settled) return;
        settled = true;
        if (s.parentNode) s.parentNode.removeChild(s);
        resolve(value);
      }
      (waiting[k] = waiting[k] || []).push(done);
      var s = document.createElement('script');
      s.async = true;
      // A script that ran without calling, or that failed, brings nothing.
      s.onload = function () {
        var list = waiting[k];
        if (list && list.indexOf(done) >= 0) list.splice(list.indexOf(done), 1);
        done(null);
      };
      s.onerror = s.onload;
      s.src = src;
      document.head.appendChild(s);
    });
  }

  F.dataScripts = { load: load };
})(window.Folivox);
