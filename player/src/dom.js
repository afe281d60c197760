/* Folivox player: small DOM helpers and the toolbar's icons, shared by every part. */
(function (F) {
  'use strict';

  var SVG_NS = 'http://www.w3.org/2000/svg';
  var ICONS = {
    first: 'M6 6h2v12H6zM18 6l-8.5 6L18 18z',
    prev: 'M15.5 6l-7 6 7 6z',
    next: 'M8.5 6l7 6-7 6z',
    last: 'M16 6h2v12h-2zM6 6l8.5 6L6 18z',
    contents: 'M4 6h2v2H4zM8 6h12v2H8zM4 11h2v2H4zM8 11h12v2H8zM4 16h2v2H4zM8 16h12v2H8z',
    thumbnails: 'M4 5h7v6H4zM13 5h7v6h-7zM4 13h7v6H4zM13 13h7v6h-7z',
    zoomIn: 'M10 3a7 7 0 1 0 4.2 12.6l4.6 4.6 1.4-1.4-4.6-4.6A7 7 0 0 0 10 3zm0 2a5 5 0 1 1 0 10 5 5 0 0 1 0-10zM9 7v2H7v2h2v2h2v-2h2V9h-2V7z',
    zoomOut: 'M10 3a7 7 0 1 0 4.2 12.6l4.6 4.6 1.4-1.4-4.6-4.6A7 7 0 0 0 10 3zm0 2a5 5 0 1 1 0 10 5 5 0 0 1 0-10zM7 9h6v2H7z',
    fullscreen: 'M4 4h6v2H6v4H4zM14 4h6v6h-2V6h-4zM4 14h2v4h4v2H4zM18 14h2v6h-6v-2h4z',
    soundOn: 'M3 9h4l5-4v14l-5-4H3zM15.5 8.2a5.2 5.2 0 0 1 0 7.6l-1.4-1.4a3.2 3.2 0 0 0 0-4.8zM18 5.7a8.8 8.8 0 0 1 0 12.6l-1.4-1.4a6.8 6.8 0 0 0 0-9.8z',
    soundOff: 'M3 9h4l5-4v14l-5-4H3zM14.6 9.4L16 8l2.1 2.1L20.2 8l1.4 1.4-2.1 2.1 2.1 2.1-1.4 1.4-2.1-2.1-2.1 2.1-1.4-1.4 2.1-2.1z',
    print: 'M7 3h10v4H7zM5 8h14a2 2 0 0 1 2 2v6h-4v4H7v-4H3v-6a2 2 0 0 1 2-2zm4 7v3h6v-3zm8-5v2h2v-2z',
    close: 'M6.4 5L5 6.4 10.6 12 5 17.6 6.4 19 12 13.4 17.6 19 19 17.6 13.4 12 19 6.4 17.6 5 12 10.6z',
    search: 'M10 3a7 7 0 1 0 4.2 12.6l4.6 4.6 1.4-1.4-4.6-4.6A7 7 0 0 0 10 3zm0 2a5 5 0 1 1 0 10 5 5 0 0 1 0-10z',
    up: 'M12 8l-6 6 1.4 1.4 4.6-4.6 4.6 4.6L18 14z',
    down: 'M12 16l6-6-1.4-1.4-4.6 4.6-4.6-4.6L6 10z',
    read: 'M5 5h14v2H5zm0 4h14v2H5zm0 4h14v2H5zm0 4h9v2H5z',
    night: 'M14 3a9 9 0 1 0 7 14.5A8 8 0 0 1 14 3z',
    speak: 'M3 5h11v2H3zM3 9h11v2H3zM3 13h7v2H3zM13 14h3l4-3v10l-4-3h-3z',
    share: 'M14 4l7 7-7 7v-4c-5 0-8 2-11 6 1-6 4-11 11-12z',
    download: 'M11 3h2v10l3.5-3.5 1.4 1.4L12 16.8l-5.9-5.9 1.4-1.4L11 13zM5 18h14v2H5z'
  };

  function make(tag, cls, attrs) {
    var e = document.createElement(tag);
    if (cls) e.className = cls;
    if (attrs) for (var k in attrs) if (Object.prototype.hasOwnProperty.call(attrs, k)) e.setAttribute(k, attrs[k]);
    return e;
  }

  function icon(name) {
    var svg = document.createElementNS(SVG_NS, 'svg');
    svg.setAttribute('viewBox', '0 0 24 24');
    svg.setAttribute('aria-hidden', 'true');
    svg.setAttribute('focusable', 'false');
    var path = document.createElementNS(SVG_NS, 'path');
    path.setAttribute('d', ICONS[name]);
    path.setAttribute('fill-rule', 'evenodd');
    svg.appendChild(path);
    return svg;
  }

  function button(cls, iconName, label, onClick) {
    var b = make('button', 'fv-button ' + cls, { type: 'button', title: label, 'aria-label': label });
    b.appendChild(icon(iconName));
    b.addEventListener('click', onClick);
    return b;
  }

  function setIcon(b, iconName) {
    b.replaceChild(icon(iconName), b.firstChild);
  }

  function cssUrl(url) { return 'url("' + url + '")'; }

  F.dom = { ICONS: ICONS, make: make, icon: icon, button: button, setIcon: setIcon, cssUrl: cssUrl };
})(window.Folivox);
