/* Folivox player: template settings (extConfig items) and interface texts.
 * Values arrive as text: switches "YES"/"NO", colours "0xrrggbb", files as relative
 * URLs below the book folder. An empty file choice is published as a URL ending in a
 * bare dot and means "no file". Unknown keys (group headings and the like) are ignored. */
(function (F) {
  'use strict';

  // In node the model helpers live in their own module; in the page they share F.
  var M = typeof module === 'object' && module.exports ? require('./model.js') : F;

  var TEXTS = {
    en: {
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
      allWords: 'Pages with all the words'
    },
    de: {
      loading: 'Das Buch wird geladen\u2026',
      failed: 'Dieses Buch konnte nicht ge\u00f6ffnet werden.',
      missing: 'Die Datei files/book.bin fehlt oder kann nicht gelesen werden.',
      damaged: 'Die Datei files/book.bin ist besch\u00e4digt.',
      unsupported: 'Dieser Browser ist zu alt f\u00fcr das Buch. Bitte einen aktuellen Browser verwenden.',
      empty: 'Dieses Buch hat keine Seiten.',
      first: 'Erste Seite', prev: 'Vorige Seite', next: 'N\u00e4chste Seite', last: 'Letzte Seite',
      contents: 'Inhalt', thumbnails: 'Seiten', zoomIn: 'Vergr\u00f6\u00dfern', zoomOut: 'Verkleinern',
      fullscreen: 'Vollbild', sound: 'Bl\u00e4tterger\u00e4usch', close: 'Schlie\u00dfen',
      page: 'Seite', of: 'von', goTo: 'Gehe zu Seite', link: 'Link \u00f6ffnen', toPage: 'Gehe zu Seite',
      skipToBook: 'Zum Buch springen', print: 'Drucken', printWhich: 'Welche Seiten drucken?',
      printShown: 'Die angezeigten Seiten', printPages: 'Seiten', printTo: 'bis', cancel: 'Abbrechen',
      printing: 'Die Seiten werden vorbereitet\u2026', printBad: 'Bitte Seiten dieses Buchs angeben.',
      search: 'Suchen', searchBook: 'Im Buch suchen', nextResult: 'N\u00e4chster Treffer', previousResult: 'Voriger Treffer',
      searching: 'Suche l\u00e4uft\u2026', noResults: 'Keine Treffer', result: 'Treffer', results: 'Treffer',
      noText: 'Dieses Buch hat keinen Text zum Durchsuchen.', pageOne: 'Seite', pages: 'Seiten',
      allWords: 'Seiten mit allen W\u00f6rtern'
    },
    fr: {
      loading: 'Chargement du livre\u2026',
      failed: 'Ce livre n\u2019a pas pu \u00eatre ouvert.',
      missing: 'Le fichier files/book.bin est absent ou illisible.',
      damaged: 'Le fichier files/book.bin est endommag\u00e9.',
      unsupported: 'Ce navigateur est trop ancien pour ouvrir le livre. Utilisez un navigateur r\u00e9cent.',
      empty: 'Ce livre n\u2019a aucune page.',
      first: 'Premi\u00e8re page', prev: 'Page pr\u00e9c\u00e9dente', next: 'Page suivante', last: 'Derni\u00e8re page',
      contents: 'Sommaire', thumbnails: 'Pages', zoomIn: 'Agrandir', zoomOut: 'R\u00e9duire',
      fullscreen: 'Plein \u00e9cran', sound: 'Son des pages', close: 'Fermer',
      page: 'Page', of: 'sur', goTo: 'Aller \u00e0 la page', link: 'Ouvrir le lien', toPage: 'Aller \u00e0 la page',
      skipToBook: 'Aller au livre', print: 'Imprimer', printWhich: 'Quelles pages imprimer\u00a0?',
      printShown: 'Les pages affich\u00e9es', printPages: 'Pages', printTo: '\u00e0', cancel: 'Annuler',
      printing: 'Pr\u00e9paration des pages\u2026', printBad: 'Indiquez des pages de ce livre.',
      search: 'Rechercher', searchBook: 'Rechercher dans le livre', nextResult: 'R\u00e9sultat suivant', previousResult: 'R\u00e9sultat pr\u00e9c\u00e9dent',
      searching: 'Recherche\u2026', noResults: 'Aucun r\u00e9sultat', result: 'r\u00e9sultat', results: 'r\u00e9sultats',
      noText: 'Ce livre n\u2019a pas de texte \u00e0 rechercher.', pageOne: 'page', pages: 'pages',
      allWords: 'Pages avec tous les mots'
    },
    es: {
      loading: 'Cargando el libro\u2026',
      failed: 'No se pudo abrir este libro.',
      missing: 'El archivo files/book.bin falta o no se puede leer.',
      damaged: 'El archivo files/book.bin est\u00e1 da\u00f1ado.',
      unsupported: 'Este navegador es demasiado antiguo para abrir el libro. Use un navegador actual.',
      empty: 'Este libro no tiene p\u00e1ginas.',
      first: 'Primera p\u00e1gina', prev: 'P\u00e1gina anterior', next: 'P\u00e1gina siguiente', last: '\u00daltima p\u00e1gina',
      contents: '\u00cdndice', thumbnails: 'P\u00e1ginas', zoomIn: 'Ampliar', zoomOut: 'Reducir',
      fullscreen: 'Pantalla completa', sound: 'Sonido de p\u00e1gina', close: 'Cerrar',
      page: 'P\u00e1gina', of: 'de', goTo: 'Ir a la p\u00e1gina', link: 'Abrir enlace', toPage: 'Ir a la p\u00e1gina',
      skipToBook: 'Ir al libro', print: 'Imprimir', printWhich: '\u00bfQu\u00e9 p\u00e1ginas imprimir?',
      printShown: 'Las p\u00e1ginas mostradas', printPages: 'P\u00e1ginas', printTo: 'a', cancel: 'Cancelar',
      printing: 'Preparando las p\u00e1ginas\u2026', printBad: 'Indique p\u00e1ginas de este libro.',
      search: 'Buscar', searchBook: 'Buscar en el libro', nextResult: 'Resultado siguiente', previousResult: 'Resultado anterior',
      searching: 'Buscando\u2026', noResults: 'Sin resultados', result: 'resultado', results: 'resultados',
      noText: 'Este libro no tiene texto en el que buscar.', pageOne: 'p\u00e1gina', pages: 'p\u00e1ginas',
      allWords: 'P\u00e1ginas con todas las palabras'
    }
  };

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
  F.readOptions = readOptions;
  F.skinTraits = skinTraits;
})(typeof module === 'object' && module.exports ? module.exports : (window.Folivox = window.Folivox || {}));
