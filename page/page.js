(function () {
  'use strict';
  var map = document.getElementById('map');
  var svg = map.querySelector('svg');
  var top = document.getElementById('top');
  var bar = document.getElementById('bar');
  var find = document.getElementById('find');
  var found = document.getElementById('found');
  var overview = document.getElementById('overview');
  var fold = document.getElementById('fold');
  if (!svg) return;
  var data = JSON.parse(document.getElementById('page-data').textContent);

  // A name is drawn 11 px high at scale 1; below this scale it is smaller
  // than 7 px, too small to read.
  var READABLE = 7 / 11;

  // The cells of the map by the id of the entry they link to; the tables'
  // groups by their numbers (the "n" ids of the map), and the edges that
  // meet each table.
  var cells = new Map();
  svg.querySelectorAll('a').forEach(function (a) {
    var href = a.href && a.href.baseVal;
    if (href && href.charAt(0) === '#') cells.set(href.slice(1), a);
  });
  var boxes = [], edgesOf = [];
  data.boxes.forEach(function (b) {
    boxes[b[0]] = {x: b[1], y: b[2], w: b[3], h: b[4]};
  });
  svg.querySelectorAll('g.edge').forEach(function (g) {
    [g.getAttribute('data-from'), g.getAttribute('data-to')].forEach(function (n) {
      (edgesOf[n] = edgesOf[n] || []).push(g);
    });
  });
  function nodeOf(n) {
    return document.getElementById('n' + n);
  }
  function tableOf(a) {
    var g = a && a.closest('g.node');
    return g ? +g.id.slice(1) : null;
  }

  // -- pan and zoom: the map is moved by a CSS transform of its <svg> ---------
  var width = svg.width.baseVal.value, height = svg.height.baseVal.value;
  var s = 1, tx = 0, ty = 0, fitted = true;
  map.classList.add('live');
  map.tabIndex = 0;
  map.style.height = Math.round(Math.min(height + 16, innerHeight * 0.45)) + 'px';
  bar.hidden = false;

  function apply() {
    svg.style.transform = 'translate(' + tx + 'px,' + ty + 'px) scale(' + s + ')';
    drawView();
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
  // Puts the point (x, y) of the drawing into the middle of the map's box at
  // scale k; with `fill`, moves the view no farther than the drawing's edges
  // where the drawing is larger than the box, so that no part of the box is
  // left empty.
  function look(x, y, k, fill) {
    s = k;
    tx = map.clientWidth / 2 - x * s;
    ty = map.clientHeight / 2 - y * s;
    if (fill) {
      if (width * s > map.clientWidth) tx = Math.min(0, Math.max(tx, map.clientWidth - width * s));
      if (height * s > map.clientHeight) ty = Math.min(0, Math.max(ty, map.clientHeight - height * s));
    }
    fitted = false;
    apply();
  }
  // Moves the cell a into the middle of the map, at a scale of at least least.
  function centre(a, least) {
    var r = a.getBoundingClientRect(), m = map.getBoundingClientRect();
    look((r.left + r.width / 2 - m.left - map.clientLeft - tx) / s,
         (r.top + r.height / 2 - m.top - map.clientTop - ty) / s, Math.max(s, least), false);
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
    var a = e.target.closest && e.target.closest('a');
    if (dragged) {
      dragged = false;
      e.preventDefault();
      e.stopPropagation();
    } else if (a) {
      fromMap = true;
      // A click on the cell of the entry already shown marks it again.
      if (a.href.baseVal === location.hash) hood(tableOf(a));
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

  function toggleFold() {
    var folded = top.classList.toggle('folded');
    fold.textContent = folded ? 'Show map' : 'Hide map';
    fold.setAttribute('aria-expanded', String(!folded));
    if (!folded && fitted) fit();
    drawView();
  }
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
  fold.addEventListener('click', toggleFold);
  addEventListener('resize', function () { if (fitted) fit(); else drawView(); });

  // The entries below the sticky map keep clear of it when scrolled to.
  function measure() {
    document.documentElement.style.setProperty('--top', top.offsetHeight + 'px');
  }
  if (window.ResizeObserver) new ResizeObserver(measure).observe(top);
  measure();

  // -- the overview: the whole drawing small, and where the view lies in it --
  var ov = overview.getContext && overview.getContext('2d');
  var ovScale = 1;
  function drawOverview() {
    if (!ov) return;
    ovScale = Math.min(200 / width, 120 / height);
    overview.width = Math.max(1, Math.round(width * ovScale));
    overview.height = Math.max(1, Math.round(height * ovScale));
    drawView();
  }
  function drawView() {
    if (!ov) return;
    var vw = map.clientWidth / s, vh = map.clientHeight / s, vx = -tx / s, vy = -ty / s;
    // Shown only while some of the drawing is out of view.
    var whole = vx <= 0 && vy <= 0 && vx + vw >= width && vy + vh >= height;
    overview.hidden = whole || top.classList.contains('folded');
    if (overview.hidden) return;
    var dark = matchMedia && matchMedia('(prefers-color-scheme: dark)').matches;
    ov.clearRect(0, 0, overview.width, overview.height);
    ov.fillStyle = dark ? '#8a929c' : '#9aa7b8';
    boxes.forEach(function (b) {
      ov.fillRect(b.x * ovScale, b.y * ovScale, Math.max(1, b.w * ovScale), Math.max(1, b.h * ovScale));
    });
    // The frame kept inside the overview, where the view reaches past the drawing.
    var x0 = Math.max(vx * ovScale, 1), y0 = Math.max(vy * ovScale, 1);
    var x1 = Math.min((vx + vw) * ovScale, overview.width - 1), y1 = Math.min((vy + vh) * ovScale, overview.height - 1);
    ov.strokeStyle = '#d04000';
    ov.lineWidth = 2;
    ov.strokeRect(x0, y0, Math.max(x1 - x0, 2), Math.max(y1 - y0, 2));
  }
  function fromOverview(e) {
    var r = overview.getBoundingClientRect();
    look((e.clientX - r.left) / ovScale, (e.clientY - r.top) / ovScale, s, false);
  }
  var ovDrag = false;
  overview.addEventListener('pointerdown', function (e) {
    e.stopPropagation();
    ovDrag = true;
    overview.setPointerCapture(e.pointerId);
    fromOverview(e);
  });
  overview.addEventListener('pointermove', function (e) { if (ovDrag) fromOverview(e); });
  overview.addEventListener('pointerup', function () { ovDrag = false; });
  overview.addEventListener('wheel', function (e) { e.stopPropagation(); }, {passive: true});

  // -- a table's neighbourhood: it, its edges and the tables at their other
  // ends stand out; from the page's data, so that it costs no layout ---------
  var marked = [];
  function hood(n) {
    marked.forEach(function (el) { el.classList.remove('focus', 'near'); });
    marked = [];
    map.classList.toggle('hood', n !== null);
    if (n === null) return;
    function mark(el, how) {
      if (!el) return;
      el.classList.add(how);
      marked.push(el);
      if (el.classList.contains('node')) name(el);
    }
    mark(nodeOf(n), 'focus');
    (data.near[n] || []).forEach(function (m) { mark(nodeOf(m), 'near'); });
    (edgesOf[n] || []).forEach(function (g) { mark(g, 'near'); });
  }
  // The scale at which the table n and all of its neighbours fit into the
  // map's box, if it is one at which names can still be read; else READABLE.
  function hoodScale(n) {
    var x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
    [n].concat(data.near[n] || []).forEach(function (m) {
      var b = boxes[m];
      if (!b) return;
      x0 = Math.min(x0, b.x); y0 = Math.min(y0, b.y);
      x1 = Math.max(x1, b.x + b.w); y1 = Math.max(y1, b.y + b.h);
    });
    if (x0 > x1) return 1;
    var k = Math.min(map.clientWidth / (x1 - x0 + 40), map.clientHeight / (y1 - y0 + 40), 1);
    return Math.max(k, READABLE);
  }

  // -- the entry that the address names, marked in the map ----------------------
  var here = null;
  // Every entry, however it was reached, ends up at the same place: its top
  // just below the map. The entries laid out as they come into view may move
  // it away from there: for a few frames it is brought back.
  function place(el) {
    var want = top.offsetHeight + 8, r = el.getBoundingClientRect();
    if (Math.abs(r.top - want) > 1) scrollBy(0, r.top - want);
  }
  function keep(el) {
    var frames = 0, still = 0, last = null;
    place(el);
    requestAnimationFrame(function again() {
      place(el);
      var t = el.getBoundingClientRect().top;
      still = t === last ? still + 1 : 0;
      last = t;
      if (still < 3 && ++frames < 60) requestAnimationFrame(again);
    });
  }
  function show(id, move) {
    var el = document.getElementById(id);
    if (el) keep(el);
    if (here) here.classList.remove('here');
    here = cells.get(id) || null;
    var n = tableOf(here);
    hood(n);
    if (!here) return;
    here.classList.add('here');
    if (move) centre(here, hoodScale(n));
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
    if (current() === id) show(id, true);
    else location.hash = id;
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
  var SHOWN = 15, picks = [], more = 0, chosen = -1;
  // The first SHOWN names that match, best first; `more` is how many others do.
  function search(text) {
    var q = text.trim().toLowerCase(), groups = [[], [], [], [], [], []], all = 0;
    more = 0;
    if (!q) return [];
    for (var i = 0; i < entries.length; i++) {
      var r = rank(entries[i], q);
      if (r < 0) continue;
      all++;
      if (groups[r].length < SHOWN) groups[r].push(entries[i]);
    }
    var list = [].concat.apply([], groups).slice(0, SHOWN);
    more = all - list.length;
    return list;
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
    if (more > 0) {
      var li = document.createElement('li');
      li.className = 'more';
      li.setAttribute('role', 'presentation');
      li.textContent = 'and ' + more + ' more: type more of the name';
      li.addEventListener('mousedown', function (ev) { ev.preventDefault(); });
      found.appendChild(li);
    }
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
    if (t === 'INPUT' || t === 'TEXTAREA' || e.ctrlKey || e.metaKey || e.altKey) return;
    if (e.key === '/') {
      e.preventDefault();
      find.focus();
      find.select();
    } else if (e.key === 'm') {
      e.preventDefault();
      toggleFold();
    }
  });

  // -- names: laying out the text of a large map takes seconds, so it is
  // done in steps of a few tables per frame after the page has opened, the
  // tables in view first ------------------------------------------------------
  function name(node) {
    node.classList.add('named');
  }
  function inView(n) {
    var b = boxes[n];
    if (!b) return false;
    var x = b.x * s + tx, y = b.y * s + ty;
    return x + b.w * s > 0 && y + b.h * s > 0 && x < map.clientWidth && y < map.clientHeight;
  }
  function nameAll() {
    var nodes = [].slice.call(svg.querySelectorAll('g.node'));
    var first = nodes.filter(function (g) { return inView(+g.id.slice(1)); });
    var rest = nodes.filter(function (g) { return !inView(+g.id.slice(1)); });
    first.forEach(name);
    var next = 0;
    var step = function () {
      for (var end = Math.min(next + 40, rest.length); next < end; next++) name(rest[next]);
      if (next < rest.length) requestAnimationFrame(step);
      else map.classList.add('all');
    };
    requestAnimationFrame(step);
  }

  // -- the first view: the whole map where its names can be read so, else a
  // part of it at a scale where they can, around the table with the most
  // neighbours ----------------------------------------------------------------
  function firstView() {
    if (fitScale() >= READABLE) return fit();
    var best = -1, most = -1;
    boxes.forEach(function (b, n) {
      var k = (data.near[n] || []).length;
      if (b && (k > most || (k === most && b.y + b.x < boxes[best].y + boxes[best].x))) {
        best = n;
        most = k;
      }
    });
    var b = boxes[best];
    if (!b) return fit();
    // Without keys no table stands out: the view starts at the drawing's
    // top left corner.
    if (most === 0) look(0, 0, 1, true);
    else look(b.x + b.w / 2, b.y + b.h / 2, 1, true);
  }

  drawOverview();
  if (location.hash && cells.get(current())) {
    fit();
    show(current(), true);
  } else {
    firstView();
    if (location.hash) show(current(), false);
  }
  if (svg.getElementsByTagName('text').length <= 3000) map.classList.add('all');
  else nameAll();
})();
