(function () {
  'use strict';
  var map = document.getElementById('map');
  var svg = map.querySelector('svg');
  var top = document.getElementById('top');
  var bar = document.getElementById('bar');
  var find = document.getElementById('find');
  var found = document.getElementById('found');
  if (!svg) return;

  // The cells of the map by the id of the entry they link to.
  var cells = new Map();
  svg.querySelectorAll('a').forEach(function (a) {
    var href = a.href && a.href.baseVal;
    if (href && href.charAt(0) === '#') cells.set(href.slice(1), a);
  });

  // -- pan and zoom: the map is moved by a CSS transform of its <svg> ---------
  var width = svg.width.baseVal.value, height = svg.height.baseVal.value;
  var s = 1, tx = 0, ty = 0, fitted = true;
  map.classList.add('live');
  map.tabIndex = 0;
  map.style.height = Math.round(Math.min(height + 16, innerHeight * 0.5)) + 'px';
  bar.hidden = false;

  function apply() {
    svg.style.transform = 'translate(' + tx + 'px,' + ty + 'px) scale(' + s + ')';
  }
  function fitScale() {
    return Math.min(map.clientWidth / width, map.clientHeight / height, 1);
  }
  function fit() {
    s = fitScale();
    tx = (map.clientWidth - width * s) / 2;
    ty = (map.clientHeight - height * s) / 2;
    fitted = true;
    apply();
  }
  // Scales by factor around the point (x, y) of the map's box.
  function zoomAt(factor, x, y) {
    var k = Math.min(Math.max(s * factor, fitScale() / 2), 4);
    tx = x - (x - tx) * k / s;
    ty = y - (y - ty) * k / s;
    s = k;
    fitted = false;
    apply();
  }
  function zoomCentre(factor) {
    zoomAt(factor, map.clientWidth / 2, map.clientHeight / 2);
  }
  function pan(dx, dy) {
    tx += dx;
    ty += dy;
    fitted = false;
    apply();
  }
  // Moves the cell a into the middle of the map, at a scale of at least least.
  function centre(a, least) {
    var r = a.getBoundingClientRect(), m = map.getBoundingClientRect();
    var x = (r.left + r.width / 2 - m.left - map.clientLeft - tx) / s;
    var y = (r.top + r.height / 2 - m.top - map.clientTop - ty) / s;
    s = Math.max(s, least);
    tx = map.clientWidth / 2 - x * s;
    ty = map.clientHeight / 2 - y * s;
    fitted = false;
    apply();
  }
  function local(e) {
    var m = map.getBoundingClientRect();
    return {x: e.clientX - m.left - map.clientLeft, y: e.clientY - m.top - map.clientTop};
  }

  map.addEventListener('wheel', function (e) {
    var unit = e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? map.clientHeight : 1;
    e.preventDefault();
    if (Math.abs(e.deltaX) > Math.abs(e.deltaY) && !e.ctrlKey) {
      pan(-e.deltaX * unit, 0);
    } else {
      var p = local(e);
      zoomAt(Math.exp(-e.deltaY * unit * 0.002), p.x, p.y);
    }
  }, {passive: false});

  // A press that moves less than a few pixels is a click on a cell; more is a drag.
  var drag = null, dragged = false, fromMap = false;
  map.addEventListener('pointerdown', function (e) {
    dragged = false;
    if (e.button !== 0) return;
    drag = {id: e.pointerId, x: e.clientX, y: e.clientY, tx: tx, ty: ty, moving: false};
  });
  map.addEventListener('pointermove', function (e) {
    if (!drag || e.pointerId !== drag.id) return;
    var dx = e.clientX - drag.x, dy = e.clientY - drag.y;
    if (!drag.moving) {
      if (dx * dx + dy * dy < 16) return;
      drag.moving = true;
      map.setPointerCapture(e.pointerId);
      map.classList.add('dragging');
    }
    tx = drag.tx + dx;
    ty = drag.ty + dy;
    fitted = false;
    apply();
  });
  function endDrag(e) {
    if (!drag || e.pointerId !== drag.id) return;
    dragged = drag.moving;
    drag = null;
    map.classList.remove('dragging');
  }
  map.addEventListener('pointerup', endDrag);
  map.addEventListener('pointercancel', endDrag);
  map.addEventListener('dragstart', function (e) { e.preventDefault(); });
  map.addEventListener('click', function (e) {
    if (dragged) {
      dragged = false;
      e.preventDefault();
      e.stopPropagation();
    } else if (e.target.closest && e.target.closest('a')) {
      fromMap = true;
    }
  }, true);
  // Scrolling the box (as scrollIntoView does) becomes a move of the map.
  map.addEventListener('scroll', function () {
    if (map.scrollLeft || map.scrollTop) {
      tx -= map.scrollLeft;
      ty -= map.scrollTop;
      map.scrollLeft = 0;
      map.scrollTop = 0;
      apply();
    }
  });

  map.addEventListener('keydown', function (e) {
    var step = e.shiftKey ? 240 : 60;
    if (e.ctrlKey || e.altKey || e.metaKey) return;
    switch (e.key) {
      case 'ArrowLeft': pan(step, 0); break;
      case 'ArrowRight': pan(-step, 0); break;
      case 'ArrowUp': pan(0, step); break;
      case 'ArrowDown': pan(0, -step); break;
      case '+': case '=': zoomCentre(1.25); break;
      case '-': case '_': zoomCentre(0.8); break;
      case '0': fit(); break;
      default: return;
    }
    e.preventDefault();
  });
  document.getElementById('zoom-in').addEventListener('click', function () { zoomCentre(1.25); });
  document.getElementById('zoom-out').addEventListener('click', function () { zoomCentre(0.8); });
  document.getElementById('fit').addEventListener('click', fit);
  addEventListener('resize', function () { if (fitted) fit(); });

  // The entries below the sticky map keep clear of it when scrolled to.
  function measure() {
    document.documentElement.style.setProperty('--top', top.offsetHeight + 'px');
  }
  if (window.ResizeObserver) new ResizeObserver(measure).observe(top);
  measure();

  // -- the entry that the address names, marked in the map ----------------------
  var marked = null;
  // The entries laid out as they come into view may move the one scrolled to
  // out of it: for a few frames it is brought back.
  function keep(el) {
    var frames = 0, still = 0, last = null;
    requestAnimationFrame(function again() {
      var r = el.getBoundingClientRect();
      if (r.top < top.getBoundingClientRect().bottom || r.bottom > innerHeight) el.scrollIntoView();
      still = r.top === last ? still + 1 : 0;
      last = r.top;
      if (still < 3 && ++frames < 60) requestAnimationFrame(again);
    });
  }
  function show(id, move) {
    var el = document.getElementById(id);
    if (el) keep(el);
    if (marked) marked.classList.remove('here');
    marked = cells.get(id) || null;
    if (!marked) return;
    marked.classList.add('here');
    if (marked.closest('g.node')) name(marked.closest('g.node'));
    if (move) centre(marked, 1);
  }
  function current() {
    try {
      return decodeURIComponent(location.hash.slice(1));
    } catch (err) {
      return location.hash.slice(1);
    }
  }
  addEventListener('hashchange', function () {
    show(current(), !fromMap);
    fromMap = false;
  });
  function go(id) {
    var el = document.getElementById(id);
    closeList();
    if (!el) return;
    fromMap = false;
    if (current() === id) {
      el.scrollIntoView();
      show(id, true);
    } else {
      location.hash = id;
    }
  }

  // -- search: tables and columns by a part of their names ----------------------
  var entries = [];
  document.querySelectorAll('dl.tabs > dt[id]').forEach(function (dt) {
    var table = dt.textContent;
    entries.push({id: dt.id, name: table, key: table.toLowerCase(), last: table.toLowerCase(), table: true});
    var dd = dt.nextElementSibling;
    if (!dd) return;
    dd.querySelectorAll('dl.cols > dt[id]').forEach(function (c) {
      var name = table + '.' + c.textContent;
      entries.push({id: c.id, name: name, key: name.toLowerCase(), last: c.textContent.toLowerCase(), table: false});
    });
  });
  // Tables before columns; whole names before beginnings before any part.
  function rank(e, q) {
    var r = e.table ? 0 : 3;
    if (e.last === q || e.key === q) return r;
    if (e.last.lastIndexOf(q, 0) === 0 || e.key.lastIndexOf(q, 0) === 0) return r + 1;
    if (e.key.indexOf(q) >= 0) return r + 2;
    return -1;
  }
  var SHOWN = 15, picks = [], chosen = -1;
  function search(text) {
    var q = text.trim().toLowerCase(), groups = [[], [], [], [], [], []];
    if (!q) return [];
    for (var i = 0; i < entries.length; i++) {
      var r = rank(entries[i], q);
      if (r >= 0 && groups[r].length < SHOWN) groups[r].push(entries[i]);
    }
    return [].concat.apply([], groups).slice(0, SHOWN);
  }
  function closeList() {
    found.hidden = true;
    find.setAttribute('aria-expanded', 'false');
    find.removeAttribute('aria-activedescendant');
  }
  function choose(i) {
    var items = found.children;
    if (chosen >= 0 && items[chosen]) items[chosen].setAttribute('aria-selected', 'false');
    chosen = i;
    if (chosen >= 0 && items[chosen]) {
      items[chosen].setAttribute('aria-selected', 'true');
      items[chosen].scrollIntoView({block: 'nearest'});
      find.setAttribute('aria-activedescendant', items[chosen].id);
    }
  }
  find.addEventListener('input', function () {
    picks = search(find.value);
    found.textContent = '';
    picks.forEach(function (e, i) {
      var li = document.createElement('li');
      li.id = 'found-' + i;
      li.setAttribute('role', 'option');
      li.textContent = e.name;
      li.addEventListener('mousedown', function (ev) {
        ev.preventDefault();
        go(e.id);
      });
      found.appendChild(li);
    });
    found.hidden = picks.length === 0;
    find.setAttribute('aria-expanded', String(picks.length > 0));
    chosen = -1;
    choose(picks.length ? 0 : -1);
  });
  find.addEventListener('keydown', function (e) {
    if (e.key === 'ArrowDown' && picks.length) choose((chosen + 1) % picks.length);
    else if (e.key === 'ArrowUp' && picks.length) choose((chosen + picks.length - 1) % picks.length);
    else if (e.key === 'Enter' && picks[chosen]) go(picks[chosen].id);
    else if (e.key === 'Escape') closeList();
    else return;
    e.preventDefault();
  });
  find.addEventListener('blur', closeList);
  document.addEventListener('keydown', function (e) {
    var t = e.target.tagName;
    if (e.key === '/' && t !== 'INPUT' && t !== 'TEXTAREA' && !e.ctrlKey && !e.metaKey && !e.altKey) {
      e.preventDefault();
      find.focus();
      find.select();
    }
  });

  // -- names: laying out the text of a large map takes seconds, so it is
  // done in steps of a few tables per frame, after the page has opened ------
  var nodes = svg.querySelectorAll('g.node');
  function name(node) {
    node.classList.add('named');
  }
  if (svg.getElementsByTagName('text').length <= 3000) {
    map.classList.add('all');
  } else {
    var next = 0;
    var step = function () {
      for (var end = Math.min(next + 40, nodes.length); next < end; next++) name(nodes[next]);
      if (next < nodes.length) requestAnimationFrame(step);
      else map.classList.add('all');
    };
    requestAnimationFrame(step);
  }

  fit();
  if (location.hash) show(current(), true);
})();
