/* Folivox player: opening the book. Reads files/book.bin by request or, where a
 * browser refuses that (file://), through files/book.bin.js, which carries the same
 * bytes as a script; decodes it (container.js) and reads book.xml into the model
 * (model.js). Failures carry a tag, and problem() names the text that explains them. */
(function (F) {
  'use strict';

  function missing(text) {
    var e = new Error(text);
    e.folivoxMissing = true;
    return e;
  }

  function loadByScript() {
    return new Promise(function (resolve, reject) {
      var s = document.createElement('script');
      s.src = 'files/book.bin.js';
      s.async = true;
      s.onload = function () {
        var data = window.folivoxBookBin;
        s.parentNode.removeChild(s);
        if (typeof data !== 'string' || !data) { reject(missing('files/book.bin.js holds no book')); return; }
        try { resolve(F.base64ToBytes(data)); } catch (e) { reject(e); }
      };
      s.onerror = function () {
        s.parentNode.removeChild(s);
        reject(missing('neither files/book.bin nor files/book.bin.js could be read'));
      };
      document.head.appendChild(s);
    });
  }

  // Resolves to the bytes, or to null when the request fails.
  function loadByXhr() {
    return new Promise(function (resolve) {
      var xhr = new XMLHttpRequest();
      try {
        xhr.open('GET', 'files/book.bin', true);
        xhr.responseType = 'arraybuffer';
      } catch (e) {
        resolve(null);
        return;
      }
      xhr.onload = function () {
        var ok = xhr.status === 200 || (xhr.status === 0 && xhr.response && xhr.response.byteLength > 0);
        resolve(ok && xhr.response ? new Uint8Array(xhr.response) : null);
      };
      xhr.onerror = function () { resolve(null); };
      xhr.onabort = function () { resolve(null); };
      try { xhr.send(); } catch (e2) { resolve(null); }
    });
  }

  // On file:// the script goes first, so browsers that refuse the request do not log
  // a failed one.
  function loadBookBytes() {
    if (location.protocol === 'file:') {
      return loadByScript().catch(function (err) {
        return loadByXhr().then(function (bytes) {
          if (!bytes) throw err;
          return bytes;
        });
      });
    }
    return loadByXhr().then(function (bytes) {
      return bytes || loadByScript();
    });
  }

  function readModel(xml) {
    var model;
    try {
      model = F.parseBookXml(xml);
    } catch (e) {
      e.folivoxDamaged = true;
      throw e;
    }
    if (!model.pages.length) {
      var err = new Error('the book has no pages');
      err.folivoxEmpty = true;
      throw err;
    }
    return model;
  }

  // Resolves to the book model.
  function openBook() {
    return loadBookBytes().then(F.decodeBookBin).then(readModel);
  }

  // The interface text (settings.js) that explains a failure to the reader.
  function problem(err) {
    if (err && err.folivoxMissing) return 'missing';
    if (err && err.folivoxUnsupported) return 'unsupported';
    if (err && err.folivoxEmpty) return 'empty';
    return 'damaged';
  }

  F.loader = { openBook: openBook, problem: problem };
})(window.Folivox);
