/* Folivox player: template settings (extConfig items) and interface texts.
 * Values arrive as text: switches "YES"/"NO", colours "0xrrggbb", files as relative
 * URLs below the book folder. An empty file choice is published as a URL ending in a
 * bare dot and means "no file". Unknown keys (group headings and the like) are ignored. */
(function (F) {
  'use strict';

  // In node the model helpers live in their own module; in the page they share F.
  var M = typeof module === 'object' && module.exports ? require('./model.js') : F;

  // The interface texts: English by name, the other languages in the same order
  // (each line names its key), which keeps the page small.
  var EN = {
    loading: 'Loading the book\u2026',
    failed: 'This book could not be opened.',
    missing: 'The file files/book.bin is missing or cannot be read.',
    damaged: 'The file files/book.bin is damaged.',
    unsupported: 'This browser is too old to open the book. Please use a current browser.',
    empty: 'This book has no pages.',
    first: 'First page', prev: 'Previous page', next: 'Next page', last: 'Last page',
    contents: 'Contents', thumbnails: 'Pages', zoomIn: 'Zoom in', zoomOut: 'Zoom out',
    fullscreen: 'Full screen', sound: 'Flip sound', close: 'Close',
    page: 'Page', of: 'of', goTo: 'Go to page', link: 'Open link', toPage: 'Go to page',
    skipToBook: 'Skip to the book', print: 'Print', printWhich: 'Print which pages?',
    printShown: 'The pages shown', printPages: 'Pages', printTo: 'to', cancel: 'Cancel',
    printing: 'Preparing the pages\u2026', printBad: 'Enter pages of this book.',
    search: 'Search', searchBook: 'Search the book', nextResult: 'Next result', previousResult: 'Previous result',
    searching: 'Searching\u2026', noResults: 'No results', result: 'result', results: 'results',
    noText: 'This book has no text to search.', pageOne: 'page', pages: 'pages',
    allWords: 'Pages with all the words',
    reading: 'Reading view', night: 'Night mode',
    readAloud: 'Read aloud', share: 'Share', copied: 'Link copied', download: 'Download the document'
  };

  var OTHERS = {
    de: [
      'Das Buch wird geladen\u2026', // loading
      'Dieses Buch konnte nicht ge\u00f6ffnet werden.', // failed
      'Die Datei files/book.bin fehlt oder kann nicht gelesen werden.', // missing
      'Die Datei files/book.bin ist besch\u00e4digt.', // damaged
      'Dieser Browser ist zu alt f\u00fcr das Buch. Bitte einen aktuellen Browser verwenden.', // unsupported
      'Dieses Buch hat keine Seiten.', // empty
      'Erste Seite', // first
      'Vorige Seite', // prev
      'N\u00e4chste Seite', // next
      'Letzte Seite', // last
      'Inhalt', // contents
      'Seiten', // thumbnails
      'Vergr\u00f6\u00dfern', // zoomIn
      'Verkleinern', // zoomOut
      'Vollbild', // fullscreen
      'Bl\u00e4tterger\u00e4usch', // sound
      'Schlie\u00dfen', // close
      'Seite', // page
      'von', // of
      'Gehe zu Seite', // goTo
      'Link \u00f6ffnen', // link
      'Gehe zu Seite', // toPage
      'Zum Buch springen', // skipToBook
      'Drucken', // print
      'Welche Seiten drucken?', // printWhich
      'Die angezeigten Seiten', // printShown
      'Seiten', // printPages
      'bis', // printTo
      'Abbrechen', // cancel
      'Die Seiten werden vorbereitet\u2026', // printing
      'Bitte Seiten dieses Buchs angeben.', // printBad
      'Suchen', // search
      'Im Buch suchen', // searchBook
      'N\u00e4chster Treffer', // nextResult
      'Voriger Treffer', // previousResult
      'Suche l\u00e4uft\u2026', // searching
      'Keine Treffer', // noResults
      'Treffer', // result
      'Treffer', // results
      'Dieses Buch hat keinen Text zum Durchsuchen.', // noText
      'Seite', // pageOne
      'Seiten', // pages
      'Seiten mit allen W\u00f6rtern', // allWords
      'Leseansicht', // reading
      'Nachtmodus', // night
      'Vorlesen', // readAloud
      'Teilen', // share
      'Link kopiert', // copied
      'Dokument herunterladen' // download
    ],
    fr: [
      'Chargement du livre\u2026', // loading
      'Ce livre n\u2019a pas pu \u00eatre ouvert.', // failed
      'Le fichier files/book.bin est absent ou illisible.', // missing
      'Le fichier files/book.bin est endommag\u00e9.', // damaged
      'Ce navigateur est trop ancien pour ouvrir le livre. Utilisez un navigateur r\u00e9cent.', // unsupported
      'Ce livre n\u2019a aucune page.', // empty
      'Premi\u00e8re page', // first
      'Page pr\u00e9c\u00e9dente', // prev
      'Page suivante', // next
      'Derni\u00e8re page', // last
      'Sommaire', // contents
      'Pages', // thumbnails
      'Agrandir', // zoomIn
      'R\u00e9duire', // zoomOut
      'Plein \u00e9cran', // fullscreen
      'Son des pages', // sound
      'Fermer', // close
      'Page', // page
      'sur', // of
      'Aller \u00e0 la page', // goTo
      'Ouvrir le lien', // link
      'Aller \u00e0 la page', // toPage
      'Aller au livre', // skipToBook
      'Imprimer', // print
      'Quelles pages imprimer\u00a0?', // printWhich
      'Les pages affich\u00e9es', // printShown
      'Pages', // printPages
      '\u00e0', // printTo
      'Annuler', // cancel
      'Pr\u00e9paration des pages\u2026', // printing
      'Indiquez des pages de ce livre.', // printBad
      'Rechercher', // search
      'Rechercher dans le livre', // searchBook
      'R\u00e9sultat suivant', // nextResult
      'R\u00e9sultat pr\u00e9c\u00e9dent', // previousResult
      'Recherche\u2026', // searching
      'Aucun r\u00e9sultat', // noResults
      'r\u00e9sultat', // result
      'r\u00e9sultats', // results
      'Ce livre n\u2019a pas de texte \u00e0 rechercher.', // noText
      'page', // pageOne
      'pages', // pages
      'Pages avec tous les mots', // allWords
      'Mode lecture', // reading
      'Mode nuit', // night
      'Lire \u00e0 voix haute', // readAloud
      'Partager', // share
      'Lien copi\u00e9', // copied
      'T\u00e9l\u00e9charger le document' // download
    ],
    es: [
      'Cargando el libro\u2026', // loading
      'No se pudo abrir este libro.', // failed
      'El archivo files/book.bin falta o no se puede leer.', // missing
      'El archivo files/book.bin est\u00e1 da\u00f1ado.', // damaged
      'Este navegador es demasiado antiguo para abrir el libro. Use un navegador actual.', // unsupported
      'Este libro no tiene p\u00e1ginas.', // empty
      'Primera p\u00e1gina', // first
      'P\u00e1gina anterior', // prev
      'P\u00e1gina siguiente', // next
      '\u00daltima p\u00e1gina', // last
      '\u00cdndice', // contents
      'P\u00e1ginas', // thumbnails
      'Ampliar', // zoomIn
      'Reducir', // zoomOut
      'Pantalla completa', // fullscreen
      'Sonido de p\u00e1gina', // sound
      'Cerrar', // close
      'P\u00e1gina', // page
      'de', // of
      'Ir a la p\u00e1gina', // goTo
      'Abrir enlace', // link
      'Ir a la p\u00e1gina', // toPage
      'Ir al libro', // skipToBook
      'Imprimir', // print
      '\u00bfQu\u00e9 p\u00e1ginas imprimir?', // printWhich
      'Las p\u00e1ginas mostradas', // printShown
      'P\u00e1ginas', // printPages
      'a', // printTo
      'Cancelar', // cancel
      'Preparando las p\u00e1ginas\u2026', // printing
      'Indique p\u00e1ginas de este libro.', // printBad
      'Buscar', // search
      'Buscar en el libro', // searchBook
      'Resultado siguiente', // nextResult
      'Resultado anterior', // previousResult
      'Buscando\u2026', // searching
      'Sin resultados', // noResults
      'resultado', // result
      'resultados', // results
      'Este libro no tiene texto en el que buscar.', // noText
      'p\u00e1gina', // pageOne
      'p\u00e1ginas', // pages
      'P\u00e1ginas con todas las palabras', // allWords
      'Vista de lectura', // reading
      'Modo nocturno', // night
      'Leer en voz alta', // readAloud
      'Compartir', // share
      'Enlace copiado', // copied
      'Descargar el documento' // download
    ]
  };

  var TEXTS = { en: EN };
  Object.keys(OTHERS).forEach(function (lang) {
    var t = TEXTS[lang] = {};
    Object.keys(EN).forEach(function (key, i) { t[key] = OTHERS[lang][i]; });
  });

  var LANGUAGE_NAMES = {
    'english': 'en', 'deutsch': 'de', 'german': 'de',
    'fran\u00e7ais': 'fr', 'francais': 'fr', 'french': 'fr',
    'espa\u00f1ol': 'es', 'espanol': 'es', 'spanish': 'es'
  };

  // Language code of a languageSetting value, or of a browser language tag as fallback.
  function languageCode(value, fallbackTag) {
    var v = String(value || '').trim().toLowerCase();
    if (LANGUAGE_NAMES[v]) return LANGUAGE_NAMES[v];
    var tag = String(fallbackTag || '').slice(0, 2).toLowerCase();
    return TEXTS[tag] ? tag : 'en';
  }

  function textsFor(code) { return TEXTS[code] || TEXTS.en; }

  function truthy(value, fallback) {
    if (value == null) return fallback;
    var v = String(value).trim().toUpperCase();
    if (v === '') return fallback;
    return v === 'YES' || v === 'SHOW' || v === 'ENABLE' || v === 'TRUE';
  }

  function colour(value) {
    var v = String(value == null ? '' : value).trim();
    var m = /^(?:0x|#)([0-9a-fA-F]{6})$/.exec(v);
    return m ? '#' + m[1].toLowerCase() : null;
  }

  // A file setting: a relative URL inside the book folder with a real file name, or null.
  function fileUrl(value) {
    var v = String(value == null ? '' : value).trim();
    if (!v || /[\u0000-\u001f\u007f"'()\\<>]/.test(v)) return null;
    if (/^[a-zA-Z][a-zA-Z0-9+.-]*:/.test(v) || v.charAt(0) === '/') return null;
    var path = v.split(/[?#]/)[0];
    if (/(^|\/)\.\.(\/|$)/.test(path)) return null;
    var last = path.slice(path.lastIndexOf('/') + 1);
    if (!/[^.]\.[A-Za-z0-9]+$/.test(last)) return null;
    return v;
  }

  function positive(value) {
    var n = parseFloat(String(value == null ? '' : value).trim());
    return isFinite(n) && n > 0 ? n : null;
  }

  // The origins a host page may be told about the reader's page (postMessage): each
  // a web origin as a browser writes it, "https://example.org" or with a port;
  // anything else, a wildcard above all, is left out, so nothing leaves the page
  // for an address the publisher did not write out.
  function origins(value) {
    var out = [];
    String(value == null ? '' : value).split(/[\s,]+/).forEach(function (v) {
      var m = /^(https?:\/\/[a-z0-9.-]+(?::\d{1,5})?)\/?$/i.exec(v);
      if (m && out.indexOf(m[1].toLowerCase()) < 0) out.push(m[1].toLowerCase());
    });
    return out;
  }

  var FLIP_MS = { slow: 1300, normal: 800, fast: 450 };

  // What a skin changes beyond its style sheet: where the toolbar sits (a skin with a
  // header puts the title and the toolbar in one bar across the top of the window) and
  // how much of the background shows beside the book, in pixels at each side.
  // Unknown skins lay out like "float" (the style sheet's defaults are float's too).
  var SKINS = {
    float: { header: false, margin: 16 },
    classic: { header: false, margin: 48 },
    slate: { header: true, margin: 32 }
  };

  function skinTraits(skin) {
    return Object.prototype.hasOwnProperty.call(SKINS, skin) ? SKINS[skin] : SKINS.float;
  }

  // settings: map of extConfig item name -> text. navigatorLanguage picks the
  // interface language when the book names none.
  function readOptions(settings, navigatorLanguage) {
    var s = settings || {};
    var w = positive(s.pageWidth), h = positive(s.pageHeight);
    var speed = String(s.flipSpeed || '').trim().toLowerCase();
    var skin = String(s.playerSkin || '').trim().toLowerCase();
    if (!/^[a-z0-9-]{1,32}$/.test(skin)) skin = 'float';
    var lang = languageCode(s.languageSetting, navigatorLanguage);
    return {
      aspect: w && h ? w / h : null,
      lang: lang,
      texts: textsFor(lang),
      hardCover: truthy(s.isHardCover, false),
      rightToLeft: truthy(s.rightToLeft, false),
      flipMs: FLIP_MS[speed] || FLIP_MS.normal,
      flipSound: fileUrl(s.flipSound),
      bgColor: colour(s.bgColor),
      bgImage: fileUrl(s.innerMainbgImgUrl),
      toolbarColor: colour(s.toolbarColor),
      toolbarTextColor: colour(s.toolbarTextColor),
      accentColor: colour(s.accentColor),
      showThumbnails: truthy(s.showThumbnails, true),
      showContents: truthy(s.showContents, true),
      showZoom: truthy(s.showZoom, true),
      showFullscreen: truthy(s.showFullscreen, true),
      showSoundButton: truthy(s.showSoundButton, true),
      showPageNumber: truthy(s.showPageNumber, true),
      showPrint: truthy(s.showPrint, true),
      title: String(s.bookTitle || '').replace(/\s+/g, ' ').trim(),
      logo: fileUrl(s.logoFile),
      logoLink: M.safeWebUrl(s.logoLink, false),
      // The publisher copies the document beside the book when this is on.
      download: truthy(s.downloadDocument, false) ? 'files/document.pdf' : null,
      hostOrigins: origins(s.hostOrigins),
      skin: skin,
      header: skinTraits(skin).header,
      margin: skinTraits(skin).margin
    };
  }

  F.TEXTS = TEXTS;
  F.languageCode = languageCode;
  F.textsFor = textsFor;
  F.truthy = truthy;
  F.colour = colour;
  F.fileUrl = fileUrl;
  F.origins = origins;
  F.readOptions = readOptions;
  F.skinTraits = skinTraits;
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
