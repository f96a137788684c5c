#!/usr/bin/env python3
"""Opens pages made by schemapage in headless Chromium, in a window of
1400x1000, and uses them as a reader does: at least 8 names of the map must
be readable (7 px or more) when the page opens; clicks on cells of the map
must land on their entries of the document below it and mark the table's
neighbourhood (its edges and the tables at their other ends); the search box
must scroll to the entry found, mark its neighbourhood and centre its cell in
the map, and say how many more names match than it lists; an entry stands at
the same place however it was reached; opened at the anchor of a table, the
page marks its neighbourhood and every neighbour is one rendered link away
in its entry; zoom (button, wheel, key), drag and fit must change the map's
transform as they should; the map folds away and back; the dark scheme and
the print style apply; and no script fails on the way.

usage: browser_test.py [--screenshot PNG] EXAMPLE_PAGE [LARGE_PAGE [PAGE...]]

EXAMPLE_PAGE is the demo's index.html (examples/schema.sql); LARGE_PAGE a
page of a generated schema of a few hundred tables with tests/page_fixture.sql
at its end, whose comment holds a javascript: link that must not run. Each
further PAGE is checked as well; one named chado.html (of chado from
../shared/corpus) is opened at the anchors of its hubs feature and cvterm.
--screenshot writes what the example's page shows when it opens.

Chromium is driven over its DevTools pipe (--remote-debugging-pipe): commands
go in on descriptor 3, replies and events come out on descriptor 4, each
message a JSON text ended by a NUL byte. Clicks, keys and the wheel are real
input events. Exits with 77 (skipped) when Chromium is not installed.
"""
import base64
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SKIP = 77

# (text of the cell in the map, whether it is a table's header cell, the
# anchors that its cells must lead to). The anchors are worked out from the
# names in examples/schema.sql: "sql-", then the table's name, or table name,
# '.' and column name, with every byte other than a letter, digit, '-', '.'
# or '_' written as '_'. Two tables have a column named parent: each of the
# two cells must lead to its own table's entry.
CLICKS = [
    ("issue labels", True, ["sql-issue_labels"]),
    ("time & effort", False, ["sql-work_log.time___effort"]),
    ("parent", False, ["sql-issues.parent", "sql-teams.parent"]),
]


class Browser:
    def __init__(self, exe, profile):
        # The pipe ends that Chromium gets become its descriptors 3 and 4;
        # they are first moved above 9 so that dup2 never meets itself.
        to_r, to_w = os.pipe()
        from_r, from_w = os.pipe()
        child_in = os.dup2(to_r, 10, inheritable=False)
        child_out = os.dup2(from_w, 11, inheritable=False)
        for fd in (to_r, from_w):
            os.close(fd)

        def wire():
            os.dup2(child_in, 3)
            os.dup2(child_out, 4)

        args = [
            exe, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
            "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--disable-quic", "--disable-extensions",
            "--user-data-dir=" + profile, "--window-size=1400,1000",
            "--remote-debugging-pipe", "about:blank",
        ]
        with open(os.path.join(profile, "stderr.log"), "wb") as log:
            self.proc = subprocess.Popen(args, preexec_fn=wire, close_fds=False,
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=log)
        os.close(child_in)
        os.close(child_out)
        self.out = os.fdopen(to_w, "wb", buffering=0)
        self.inp = os.fdopen(from_r, "rb", buffering=0)
        self.buf = b""
        self.next_id = 0
        self.events = []
        self.session = None

    def _read_message(self):
        while b"\0" not in self.buf:
            chunk = self.inp.read(65536)
            if not chunk:
                raise RuntimeError("Chromium closed its DevTools pipe")
            self.buf += chunk
        raw, self.buf = self.buf.split(b"\0", 1)
        return json.loads(raw)

    def send(self, method, params=None, session=True):
        self.next_id += 1
        msg = {"id": self.next_id, "method": method, "params": params or {}}
        if session and self.session:
            msg["sessionId"] = self.session
        self.out.write(json.dumps(msg).encode() + b"\0")
        while True:
            reply = self._read_message()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})
            if "method" in reply:
                self.events.append(reply)

    def wait_event(self, method, timeout=20):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            for i, ev in enumerate(self.events):
                if ev["method"] == method:
                    return self.events.pop(i)
            self.events.append(self._read_message())
        raise RuntimeError(f"no {method} within {timeout} s")

    def evaluate(self, expr):
        result = self.send("Runtime.evaluate", {"expression": expr, "returnByValue": True})
        if "exceptionDetails" in result:
            raise RuntimeError(f"script failed: {result['exceptionDetails']}")
        return result["result"].get("value")

    def close(self):
        try:
            self.send("Browser.close", session=False)
        except Exception:
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


# The links of the map's cells that show a text: header cells (whose anchor
# holds no '.') or column cells.
LIST_CELLS = """
(() => {
  const [text, header] = %s;
  return [...document.querySelectorAll('.map svg a')]
      .filter(a => a.textContent.trim() === text &&
                   a.href.baseVal.includes('.') !== header)
      .map(a => a.href.baseVal);
})()
"""

# Column cells spread over a large map: the first, one in the middle, the last.
SOME_COLUMNS = """
(() => {
  const a = [...document.querySelectorAll('.map svg a')]
      .map(a => [a.href.baseVal, a.textContent.trim()]).filter(([h]) => h.includes('.'));
  return [a[0], a[a.length >> 1], a[a.length - 1]];
})()
"""

# Where the cell that links to href is, in the viewport, and whether a click
# near its right edge (away from its left-aligned text: the whole box of a
# cell is to take the click) reaches that very link.
AIM = """
(() => {
  const href = %s;
  const a = [...document.querySelectorAll('.map svg a')].find(a => a.href.baseVal === href);
  const r = a.getBoundingClientRect(), m = document.getElementById('map').getBoundingClientRect();
  const x = r.left + r.width * 0.9, y = r.top + r.height / 2;
  const hit = document.elementFromPoint(x, y);
  return {x: x, y: y, w: r.width, h: r.height, hits: !!hit && hit.closest('a') === a,
          hit: hit ? hit.tagName : null, inside: x > m.left && x < m.right && y > m.top && y < m.bottom,
          mx: (m.left + m.right) / 2, my: (m.top + m.bottom) / 2};
})()
"""

# The entry that is the page's :target, where it is, and the cell of the map
# that is marked.
TARGET_STATE = """
(() => {
  const t = document.querySelector(':target');
  const r = t ? t.getBoundingClientRect() : null;
  const here = document.querySelector('.map a.here');
  const m = document.getElementById('map').getBoundingClientRect();
  const c = here ? here.getBoundingClientRect() : null;
  return {hash: decodeURIComponent(location.hash), page: location.href.split('#')[0],
          tag: t && t.tagName, id: t && t.id, text: t && t.textContent,
          shown: !!t && t.checkVisibility() && r.height > 0,
          top: r && r.top, bottom: r && r.bottom, height: innerHeight,
          cover: document.getElementById('top').getBoundingClientRect().bottom,
          marked: here && here.href.baseVal,
          off: c && [c.left + c.width / 2 - (m.left + m.right) / 2, c.top + c.height / 2 - (m.top + m.bottom) / 2]};
})()
"""

# How many names of the map are in its box, shown, and at what size on
# screen (the names are 11 units high in the drawing).
READABLE_NAMES = """
(() => {
  const box = document.getElementById('map').getBoundingClientRect();
  const svg = document.querySelector('.map svg');
  const ratio = svg.getBoundingClientRect().width / svg.viewBox.baseVal.width;
  let shown = 0, size = 0;
  for (const t of svg.querySelectorAll('text')) {
    const r = t.getBoundingClientRect();
    if (!(r.width > 0 && r.left >= box.left && r.right <= box.right && r.top >= box.top &&
          r.bottom <= box.bottom && t.checkVisibility())) continue;
    size = parseFloat(getComputedStyle(t).fontSize) * ratio;
    shown++;
  }
  return {shown: shown, size: size, overview: !document.getElementById('overview').hidden};
})()
"""

# The neighbourhood that the map marks: the table in focus, the tables and
# edges marked near it, and what the drawn edges say its neighbours are.
HOOD = """
(() => {
  const num = g => +g.id.slice(1);
  const focus = [...document.querySelectorAll('.map g.node.focus')].map(num);
  const near = [...document.querySelectorAll('.map g.node.near')].map(num).sort((a, b) => a - b);
  const marked = document.querySelectorAll('.map g.edge.near').length;
  const want = new Set();
  let edges = 0;
  for (const g of document.querySelectorAll('.map g.edge')) {
    const [from, to] = [+g.dataset.from, +g.dataset.to];
    if (from !== focus[0] && to !== focus[0]) continue;
    edges++;
    if (from !== to) want.add(from === focus[0] ? to : from);
  }
  return {hood: document.getElementById('map').classList.contains('hood'), focus: focus, near: near,
          want: [...want].sort((a, b) => a - b), marked: marked, edges: edges};
})()
"""

# The neighbours of the table whose entry has the id given, by the drawn
# edges, and those of them that no rendered link in its entry leads to (to
# the table's entry or one of its columns').
NEIGHBOURS_LINKED = """
((id) => {
  const cell = [...document.querySelectorAll('.map svg a')].find(a => a.href.baseVal === '#' + id);
  const n = +cell.closest('g.node').id.slice(1);
  const others = new Set();
  for (const g of document.querySelectorAll('.map g.edge')) {
    const [from, to] = [+g.dataset.from, +g.dataset.to];
    if (from === n && to !== n) others.add(to);
    if (to === n && from !== n) others.add(from);
  }
  const anchors = [...others].map(m => document.getElementById('n' + m).querySelector('a').href.baseVal);
  const dd = document.getElementById(id).nextElementSibling;
  const links = [...dd.querySelectorAll('a')]
      .filter(a => a.checkVisibility() && a.getBoundingClientRect().height > 0)
      .map(a => a.getAttribute('href'));
  return {count: anchors.length,
          missing: anchors.filter(h => !links.some(l => l === h || l.startsWith(h + '.')))};
})(%s)
"""

SCALE = """
(() => {
  const m = new DOMMatrix(getComputedStyle(document.querySelector('.map svg')).transform);
  return [m.a, m.e, m.f];
})()
"""

CENTRE_OF = """
(() => {
  const r = document.querySelector(%s).getBoundingClientRect();
  return [r.left + r.width / 2, r.top + r.height / 2];
})()
"""


def click(browser, x, y):
    for kind in ("mousePressed", "mouseReleased"):
        browser.send("Input.dispatchMouseEvent",
                     {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})


def wheel(browser, x, y, dy, dx=0):
    browser.send("Input.dispatchMouseEvent",
                 {"type": "mouseWheel", "x": x, "y": y, "deltaX": dx, "deltaY": dy})


def key(browser, name, code, text=None):
    """Presses and releases a key: name as KeyboardEvent.key, code its key code."""
    down = {"type": "keyDown", "key": name, "windowsVirtualKeyCode": code}
    if text:
        down.update(type="keyDown", text=text)
    browser.send("Input.dispatchKeyEvent", down)
    browser.send("Input.dispatchKeyEvent", {"type": "keyUp", "key": name, "windowsVirtualKeyCode": code})


def settle(browser):
    """Waits for the page to draw a frame after the last input."""
    browser.send("Runtime.evaluate", {"expression": "new Promise(r => requestAnimationFrame(() => setTimeout(r)))",
                                      "awaitPromise": True})


def steady(browser):
    """The state once the entry has stopped moving (the page may bring it
    back into view after entries around it have been laid out)."""
    last = None
    for _ in range(40):
        settle(browser)
        state = browser.evaluate(TARGET_STATE)
        if last and state["top"] == last["top"] and state["off"] == last["off"]:
            break
        last = state
    return state


def wait_hash(browser, href):
    end = time.monotonic() + 10
    while True:
        state = browser.evaluate(TARGET_STATE)
        if state["hash"] == href or time.monotonic() > end:
            return state
        time.sleep(0.05)


def landed(state, href, text, marked_cell, centred):
    """What is wrong with the page after a click or search that was to lead
    to the entry href ("#" + id) reading text; None when nothing is."""
    want = href[1:]
    if state["hash"] != href:
        return f"location is {state['hash']!r}"
    if state["tag"] != "DT" or state["id"] != want:
        return f":target is {state['tag']} {state['id']!r}"
    if text is not None and state["text"] != text:
        return f"entry reads {state['text']!r}"
    if not state["shown"]:
        return "the entry is not rendered"
    if not (state["cover"] <= state["top"] and state["bottom"] <= state["height"]):
        return (f"the entry is not in view below the map ({state['top']:.0f}..{state['bottom']:.0f}, "
                f"map down to {state['cover']:.0f}, window {state['height']})")
    if marked_cell and state["marked"] != href:
        return f"the map marks {state['marked']!r}"
    if centred and (state["off"] is None or max(abs(v) for v in state["off"]) > 2):
        return f"the marked cell is off the map's centre by {state['off']}"
    return None


class Checks:
    def __init__(self, browser, page, label):
        self.b = browser
        self.page = page
        self.label = label
        self.failures = []

    def fail(self, msg):
        self.failures.append(f"{self.label}: {msg}")

    def ok(self, msg):
        print(f"ok: {self.label}: {msg}")

    def load(self):
        self.b.events.clear()
        self.b.send("Page.navigate", {"url": self.page.as_uri()})
        self.b.wait_event("Page.loadEventFired", timeout=60)
        settle(self.b)
        self.places = []
        live = self.b.evaluate("document.getElementById('map').classList.contains('live') && "
                               "!document.getElementById('bar').hidden")
        if not live:
            self.fail("the map is not made movable (did the script run?)")
        if self.b.evaluate("document.querySelector(':target')") is not None:
            self.fail("before any click, there is a :target")
        return live

    def errors(self, but=None):
        """Script errors, failed checks of the content policy and console errors so far."""
        found = []
        for ev in self.b.events:
            p = ev.get("params", {})
            if ev["method"] == "Runtime.exceptionThrown":
                found.append(p["exceptionDetails"].get("exception", {}).get("description")
                             or p["exceptionDetails"].get("text"))
            elif ev["method"] == "Log.entryAdded" and p["entry"]["level"] == "error":
                found.append(p["entry"]["text"])
            elif ev["method"] == "Runtime.consoleAPICalled" and p["type"] == "error":
                found.append(" ".join(str(a.get("value", a.get("description"))) for a in p["args"]))
        return [e for e in found if not (but and but in e)]

    def press(self, selector):
        x, y = self.b.evaluate(CENTRE_OF % json.dumps(selector))
        click(self.b, x, y)
        settle(self.b)

    def zoom_to(self, href):
        """From the whole map, zooms in with the wheel over the cell until it is
        big enough to aim at, as a reader would."""
        self.press("#fit")
        for _ in range(12):
            cell = self.b.evaluate(AIM % json.dumps(href))
            if cell["h"] >= 12 or not cell["inside"]:
                break
            wheel(self.b, cell["x"], cell["y"], -400)
            settle(self.b)
        return self.b.evaluate(AIM % json.dumps(href))

    def click_cell(self, href, text):
        where = f"click on {text!r} ({href[1:]})"
        cell = self.zoom_to(href)
        if cell["w"] <= 0 or cell["h"] <= 0:
            return self.fail(f"{where}: the cell has no size")
        if not cell["inside"]:
            return self.fail(f"{where}: zooming at the cell moved it out of the map")
        if not cell["hits"]:
            return self.fail(f"{where}: the cell's box is not all part of its link (a click there reaches {cell['hit']})")
        click(self.b, cell["x"], cell["y"])
        wait_hash(self.b, href)
        state = steady(self.b)
        if state["page"] != self.page.as_uri():
            return self.fail(f"{where}: left the page for {state['page']}")
        problem = landed(state, href, text, marked_cell=True, centred=False)
        if problem:
            return self.fail(f"{where}: {problem}")
        self.places.append((where, state["top"] - state["cover"]))
        self.ok(f"{where} shows the entry at y={state['top']:.0f} and marks the cell")
        self.hood(where)

    def search(self, typed, want_id, want_text):
        where = f"search for {typed!r}"
        self.press("#find")
        self.b.evaluate("document.getElementById('find').select()")
        self.b.send("Input.insertText", {"text": typed})
        settle(self.b)
        shown = self.b.evaluate("[...document.querySelectorAll('#found li')].map(li => li.textContent)")
        if not shown or shown[0] != want_text:
            return self.fail(f"{where}: the list offers {shown[:5]}, first not {want_text!r}")
        key(self.b, "Enter", 13, "\r")
        wait_hash(self.b, "#" + want_id)
        state = steady(self.b)
        problem = landed(state, "#" + want_id, None, marked_cell=True, centred=True)
        if problem:
            return self.fail(f"{where}: {problem}")
        self.places.append((where, state["top"] - state["cover"]))
        self.ok(f"{where} shows the entry at y={state['top']:.0f}, its cell marked in the middle of the map")
        self.hood(where)

    def drag(self, start, end):
        x0, y0 = start
        x1, y1 = end
        self.b.send("Input.dispatchMouseEvent", {"type": "mousePressed", "x": x0, "y": y0, "button": "left",
                                                 "clickCount": 1})
        for i in range(1, 6):
            self.b.send("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": x0 + (x1 - x0) * i / 5,
                                                     "y": y0 + (y1 - y0) * i / 5, "button": "left",
                                                     "buttons": 1})
        self.b.send("Input.dispatchMouseEvent", {"type": "mouseReleased", "x": x1, "y": y1, "button": "left",
                                                 "clickCount": 1})
        settle(self.b)

    def readable(self):
        """At least 8 names of the map on screen at 7 px or more, as the page opens."""
        r = self.b.evaluate(READABLE_NAMES)
        if r["shown"] < 8 or r["size"] < 7:
            return self.fail(f"at load {r['shown']} names are in the map's box at {r['size']:.1f} px")
        self.ok(f"at load {r['shown']} names are in the map's box at {r['size']:.1f} px"
                + (", with the overview" if r["overview"] else ""))

    def hood(self, where):
        """The neighbourhood marked is the table's, by the drawn edges."""
        h = self.b.evaluate(HOOD)
        if not h["hood"] or len(h["focus"]) != 1:
            return self.fail(f"{where}: no table's neighbourhood is marked ({h['focus']})")
        if h["near"] != h["want"] or h["marked"] != h["edges"]:
            return self.fail(f"{where}: marks the tables {h['near'][:10]} and {h['marked']} edges, "
                             f"not {h['want'][:10]} and {h['edges']}")
        self.ok(f"{where} marks the neighbourhood: {len(h['near'])} tables, {h['edges']} edges")

    def opened_at(self, id):
        """Opened at the entry's anchor: marked, at its place, every neighbour one link away."""
        # From another page: a new address that differs only in its anchor
        # would not load the page again.
        self.b.send("Page.navigate", {"url": "about:blank"})
        self.b.wait_event("Page.loadEventFired")
        self.b.events.clear()
        self.b.send("Page.navigate", {"url": self.page.as_uri() + "#" + id})
        self.b.wait_event("Page.loadEventFired", timeout=60)
        state = steady(self.b)
        problem = landed(state, "#" + id, None, marked_cell=True, centred=True)
        if problem:
            return self.fail(f"opened at #{id}: {problem}")
        self.places.append((f"opened at #{id}", state["top"] - state["cover"]))
        self.hood(f"opened at #{id}")
        linked = self.b.evaluate(NEIGHBOURS_LINKED % json.dumps(id))
        if linked["missing"]:
            return self.fail(f"opened at #{id}: {len(linked['missing'])} of {linked['count']} neighbours are "
                             f"no rendered link away: {linked['missing'][:8]}")
        self.ok(f"opened at #{id}: each of {linked['count']} neighbours is one rendered link away")

    def same_place(self):
        """Every entry, however it was reached, stands at the same height below the map."""
        tops = sorted(set(round(t) for _, t in self.places))
        if self.places and tops[-1] - tops[0] > 2:
            return self.fail("entries stand at different places below the map: "
                             + ", ".join(f"{w}: {t:.0f} px" for w, t in self.places))
        if self.places:
            self.ok(f"{len(self.places)} entries, reached by click, search and anchor, stand {tops[0]} px below the map")

    def search_counts(self, typed, at_least):
        """The list ends with how many more names match than it shows."""
        self.press("#find")
        self.b.evaluate("document.getElementById('find').select()")
        self.b.send("Input.insertText", {"text": typed})
        settle(self.b)
        shown = self.b.evaluate("[...document.querySelectorAll('#found li')].map(li => li.textContent)")
        key(self.b, "Escape", 27)
        last = shown[-1] if shown else ""
        m = re.match(r"and (\d+) more", last)
        if not m or int(m.group(1)) + len(shown) - 1 < at_least:
            return self.fail(f"search for {typed!r}: the list of {len(shown)} ends with {last!r}")
        self.ok(f"search for {typed!r}: {len(shown) - 1} names listed, then {last!r}")

    def fold(self):
        heights = []
        for _ in range(2):
            self.press("#fold")
            heights.append(self.b.evaluate("[document.getElementById('map').offsetHeight, "
                                           "document.getElementById('fold').textContent]"))
        if heights[0][0] != 0 or heights[1][0] == 0:
            return self.fail(f"folding the map: its heights {heights}")
        self.ok(f"the map folds away ({heights[0][1]!r}) and back ({heights[1][1]!r})")

    def schemes(self):
        """The dark scheme recolours the page and the map; on paper no controls, the map fitted."""
        self.b.send("Emulation.setEmulatedMedia", {"features": [{"name": "prefers-color-scheme", "value": "dark"}]})
        dark = self.b.evaluate("[getComputedStyle(document.body).backgroundColor, "
                               "getComputedStyle(document.querySelector('.map polygon[fill=\"#dde6f0\"]')).fill, "
                               "getComputedStyle(document.querySelector('.map text')).fill]")
        self.b.send("Emulation.setEmulatedMedia", {"media": "print", "features": []})
        paper = self.b.evaluate("""(() => {
            const svg = document.querySelector('.map svg'), r = svg.getBoundingClientRect();
            return {bar: getComputedStyle(document.getElementById('bar')).display,
                    transform: getComputedStyle(svg).transform, width: r.width, height: r.height,
                    page: document.documentElement.clientWidth};
        })()""")
        self.b.send("Emulation.setEmulatedMedia", {"media": "", "features": []})
        light = ["rgb(255, 255, 255)", "rgb(221, 230, 240)", "rgb(0, 0, 0)"]
        if any(d == l for d, l in zip(dark, light)):
            self.fail(f"dark scheme: body, header cell and name are {dark}")
        elif paper["bar"] != "none" or paper["transform"] != "none" or not 0 < paper["width"] <= paper["page"]:
            self.fail(f"print: {paper}")
        else:
            self.ok(f"dark scheme ({dark[0]}), and on paper no controls and the map {paper['width']:.0f} px wide")

    def zoom_and_fit(self):
        self.press("#fit")
        fitted = self.b.evaluate(SCALE)
        mx, my = self.b.evaluate(CENTRE_OF % json.dumps("#map"))
        scales = [fitted]
        # (what, how, factor of the scale: None for "larger")
        for name, act, factor in [
            ("the + button", lambda: self.press("#zoom-in"), 1.25),
            ("the wheel, up", lambda: wheel(self.b, mx, my, -200), None),
            ("the - key", lambda: (self.b.evaluate("document.getElementById('map').focus()"),
                                   key(self.b, "-", 189, "-")), 0.8),
        ]:
            act()
            settle(self.b)
            scales.append(self.b.evaluate(SCALE))
            grew = scales[-1][0] / scales[-2][0]
            if (not grew > 1.05) if factor is None else abs(grew - factor) > 0.01:
                self.fail(f"zoom: {name} scales the map by {grew:.3f}")
        before = scales[-1]
        # A drag that starts on a cell moves the map and does not follow the link.
        hash_before = self.b.evaluate("location.hash")
        cell = self.b.evaluate(CENTRE_OF % json.dumps(".map svg a"))
        self.drag(cell, (cell[0] + 60, cell[1] + 40))
        moved = self.b.evaluate(SCALE)
        if abs(moved[1] - before[1] - 60) > 1 or abs(moved[2] - before[2] - 40) > 1 or moved[0] != before[0]:
            self.fail(f"drag by (60, 40): the transform goes from {before} to {moved}")
        if self.b.evaluate("location.hash") != hash_before:
            self.fail("a drag that starts on a cell follows its link")
        key(self.b, "ArrowLeft", 37)
        settle(self.b)
        if abs(self.b.evaluate(SCALE)[1] - moved[1] - 60) > 1:
            self.fail("the left arrow key does not move the map")
        self.press("#fit")
        back = self.b.evaluate(SCALE)
        if any(abs(a - b) > 0.01 for a, b in zip(back, fitted)):
            self.fail(f"Fit gives the transform {back}, not the first one {fitted}")
        else:
            self.ok(f"zoom by button, wheel and key, drag and arrow key, and fit (scale {fitted[0]:.3f})")

    def no_script_link(self):
        """The javascript: link of a schema's comment reaches the page without its target."""
        found = self.b.evaluate(
            "[...document.querySelectorAll('main a')].filter(a => a.textContent == 'the runbook')"
            ".map(a => a.getAttribute('href'))")
        scripts = self.b.evaluate(
            "[...document.querySelectorAll('a')].map(a => a.getAttribute('href') || '')"
            ".filter(h => h.replace(/[\\x00-\\x20]/g, '').toLowerCase().startsWith('javascript:'))")
        if found != [""]:
            self.fail(f"the comment's link 'the runbook' from tests/page_fixture.sql has the targets {found}, not one empty")
        elif scripts:
            self.fail(f"the page has links that run script: {scripts}")
        else:
            self.ok("the javascript: link of a comment has an empty target, and no link runs script")


def run_example(browser, page, screenshot=None):
    c = Checks(browser, page, "example")
    if not c.load():
        return c.failures
    if screenshot:
        shot = browser.send("Page.captureScreenshot", {"format": "png"})
        Path(screenshot).write_bytes(base64.b64decode(shot["data"]))
    c.readable()
    c.zoom_and_fit()
    for text, header, wants in CLICKS:
        hrefs = browser.evaluate(LIST_CELLS % json.dumps([text, header]))
        if sorted(hrefs) != ["#" + w for w in wants]:
            c.fail(f"map: cells {text!r} link to {hrefs}, not {wants}")
            continue
        for href in hrefs:
            c.click_cell(href, text)
    c.search("mile", "sql-milestones", "milestones")
    c.search("time & e", "sql-work_log.time___effort", "work_log.time & effort")
    c.search_counts("i", 16)
    c.fold()
    c.schemes()
    c.opened_at("sql-issues")
    c.same_place()
    c.failures += [f"example: script error: {e}" for e in c.errors()]
    return c.failures


def run_large(browser, page):
    c = Checks(browser, page, "large")
    if not c.load():
        return c.failures
    c.readable()
    c.zoom_and_fit()
    for href, text in browser.evaluate(SOME_COLUMNS):
        c.click_cell(href, text)
    c.search("<b>bold", "sql-zz__b_bold__b____co", "zz <b>bold</b> & co")
    c.failures += [f"large: script error: {e}" for e in c.errors()]
    c.no_script_link()
    c.failures += [f"large: script error: {e}" for e in c.errors(but="Content Security Policy")
                   if f"large: script error: {e}" not in c.failures]
    return c.failures


# The tables of chado with the most neighbours, and a name that matches many.
HUBS = {"chado": ["sql-feature", "sql-cvterm"]}


def run_other(browser, page):
    """A page of a real or generated schema: readable at load, a click and a
    search mark the neighbourhood; chado's hubs opened at their anchors."""
    label = page.stem
    c = Checks(browser, page, label)
    if not c.load():
        return c.failures
    c.readable()
    # A table's header cell in the middle of the first view, clicked.
    header = browser.evaluate("""(() => {
        const m = document.getElementById('map').getBoundingClientRect();
        const mid = [(m.left + m.right) / 2, (m.top + m.bottom) / 2];
        let best = null, far = Infinity;
        for (const g of document.querySelectorAll('.map g.node')) {
          const a = g.querySelector('a'), r = a.getBoundingClientRect();
          const d = Math.hypot(r.left + r.width / 2 - mid[0], r.top + r.height / 2 - mid[1]);
          if (d < far) { far = d; best = [a.href.baseVal, a.textContent.trim()]; }
        }
        return best;
    })()""")
    c.click_cell(*header)
    text = browser.evaluate("document.getElementById(%s).textContent" % json.dumps(header[0][1:]))
    c.search(text, header[0][1:], text)
    for hub in HUBS.get(label, []):
        c.opened_at(hub)
    if label == "chado":
        c.search_counts("feature", 41)
    c.same_place()
    c.failures += [f"{label}: script error: {e}" for e in c.errors()]
    return c.failures


def main():
    args = sys.argv[1:]
    screenshot = None
    if args[:1] == ["--screenshot"] and len(args) > 1:
        screenshot, args = args[1], args[2:]
    if not args:
        print(__doc__, file=sys.stderr)
        return 2
    exe = shutil.which("chromium") or shutil.which("chromium-browser")
    if not exe:
        print("chromium is not installed: skipped (Debian: apt-get install chromium)")
        return SKIP
    pages = [Path(p).resolve() for p in args]
    for page in pages:
        if not page.is_file():
            print(f"{page}: no such page; build the demo target first")
            return 1

    def too_long(signum, frame):
        raise TimeoutError("Chromium did not answer within 200 s")

    # A hung browser fails the test instead of stalling it.
    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(200)
    failures = []
    with tempfile.TemporaryDirectory(prefix="browser-test-") as profile:
        browser = Browser(exe, profile)
        try:
            targets = browser.send("Target.getTargets")["targetInfos"]
            page_target = next(t["targetId"] for t in targets if t["type"] == "page")
            browser.session = browser.send(
                "Target.attachToTarget", {"targetId": page_target, "flatten": True},
                session=False)["sessionId"]
            for domain in ("Page", "Runtime", "Log"):
                browser.send(domain + ".enable")
            failures += run_example(browser, pages[0], screenshot)
            if len(pages) > 1:
                failures += run_large(browser, pages[1])
            for page in pages[2:]:
                failures += run_other(browser, page)
        except Exception as e:
            failures.append(f"{type(e).__name__}: {e}")
        finally:
            signal.alarm(0)
            browser.close()
            for f in failures:
                print("FAIL:", f)
            if failures:
                # Its complaints about the missing D-Bus are noise here.
                log = [line for line in Path(profile, "stderr.log").read_text(errors="replace")
                       .splitlines() if "dbus" not in line]
                print("Chromium's last messages:", *log[-15:], sep="\n  ")

    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
