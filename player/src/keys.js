/* Folivox player: the keyboard. actionFor() maps a key press to an action and is free
 * of the DOM; the search and select-all keys go to their parts through the bus. Panels that Escape should close register with a stack while they are
 * open (createPanels); Escape closes the one opened last, and with none open it
 * leaves zoom. listen() wires both to the document. */
(function (F) {
  'use strict';

  // What each action does to the reader.
  var ACTIONS = {
    next: function (r) { r.step(1); },
    previous: function (r) { r.step(-1); },
    first: function (r) { r.goTo(0); },
    last: function (r) { r.goTo(r.pageCount() - 1); },
    zoomIn: function (r) { r.zoomBy(1); },
    zoomOut: function (r) { r.zoomBy(-1); }
  };

  // The action for a keydown event, or null when the page should keep the key.
  // state: { rightToLeft, zoomed, zoomKeys (the book allows zoom), search (the book
  // has text to search), text (the pages in view show words) }.
  // 'next' and 'previous' go through the book in reading order, so the arrow keys
  // follow the direction the book opens.
  function actionFor(ev, state) {
    if (ev.defaultPrevented || ev.altKey) return null;
    var t = ev.target;
    var tag = t && t.tagName ? String(t.tagName).toLowerCase() : '';
    if (tag === 'input' || tag === 'textarea' || tag === 'select' || (t && t.isContentEditable)) return null;
    // Find and select all, with Ctrl or with the Mac's Command key.
    var key = String(ev.key).toLowerCase();
    if (ev.ctrlKey || ev.metaKey) {
      if (key === 'f') return state.search ? 'search' : null;
      if (key === 'a') return state.text ? 'selectText' : null;
      if (ev.metaKey) return null;
    }
    var onControl = tag === 'button' || tag === 'a';
    var rtl = state.rightToLeft;
    var zoomed = state.zoomed;
    switch (ev.key) {
      case 'ArrowRight': return ev.ctrlKey ? null : (rtl ? 'previous' : 'next');
      case 'ArrowLeft': return ev.ctrlKey ? null : (rtl ? 'next' : 'previous');
      case 'PageDown': return 'next';
      case 'PageUp': return 'previous';
      // Zoomed, these keys scroll the page instead.
      case 'ArrowDown': return zoomed ? null : 'next';
      case 'ArrowUp': return zoomed ? null : 'previous';
      case ' ': return onControl || zoomed ? null : (ev.shiftKey ? 'previous' : 'next');
      case 'Home': return 'first';
      case 'End': return 'last';
      case '+': case '=': return ev.ctrlKey || !state.zoomKeys ? null : 'zoomIn';
      case '-': return ev.ctrlKey || !state.zoomKeys ? null : 'zoomOut';
      case 'Escape': return 'escape';
      case '/': return state.search && !ev.ctrlKey ? 'search' : null;
      default: return null;
    }
  }

  // Open panels, the last opened on top. A panel is any object with close().
  function createPanels() {
    var stack = [];
    return {
      opened: function (panel) { if (stack.indexOf(panel) < 0) stack.push(panel); },
      closed: function (panel) {
        var at = stack.indexOf(panel);
        if (at >= 0) stack.splice(at, 1);
      },
      count: function () { return stack.length; },
      // Closes the panel opened last; false when none is open.
      closeTop: function () {
        var top = stack.pop();
        if (!top) return false;
        top.close();
        return true;
      }
    };
  }

  // ctx: { opts, bus, reader, panels, findBar, textLayer }
  function listen(ctx) {
    document.addEventListener('keydown', function (ev) {
      var r = ctx.reader;
      var action = actionFor(ev, {
        rightToLeft: ctx.opts.rightToLeft, zoomed: r.zoom() > 0, zoomKeys: ctx.opts.showZoom,
        search: !!(ctx.findBar && ctx.findBar.available()), text: !!(ctx.textLayer && ctx.textLayer.shown())
      });
      if (!action) return;
      var handled = true;
      if (action === 'escape') {
        if (ctx.panels.closeTop()) handled = true;
        else if (r.zoom() > 0) r.setZoom(0);
        else handled = false;
      } else if (action === 'search') {
        ctx.bus.emit('opensearch');
      } else if (action === 'selectText') {
        ctx.bus.emit('selecttext');
      } else {
        ACTIONS[action](r);
      }
      if (handled) ev.preventDefault();
    });
  }

  F.keys = { actionFor: actionFor, createPanels: createPanels, listen: listen };
})(typeof module === 'object' && module.exports ? module.exports : window.Folivox);
