#!/usr/bin/env python3
"""Opens pages made by schemapage in headless Chromium and uses them as a
reader does: clicks on cells of the map, which must land on their entries
of the document below it; the search box, which must scroll to the entry
found and mark and centre its cell in the map; zoom (button, wheel, key),
drag and fit, which must change the map's transform as they should; and no
script error on the way.

usage: browser_test.py EXAMPLE_PAGE [LARGE_PAGE]

EXAMPLE_PAGE is the demo's index.html (examples/schema.sql); LARGE_PAGE a
page of a generated schema of a few hundred tables with tests/page_fixture.sql
at its end, whose comment holds a javascript: link that must not run.

Chromium is driven over its DevTools pipe (--remote-debugging-pipe): commands
go in on descriptor 3, replies and events come out on descriptor 4, each
message a JSON text ended by a NUL byte. Clicks, keys and the wheel are real
input events. Exits with 77 (skipped) when Chromium is not installed.
"""
import json
import os
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
        self.ok(f"{where} shows the entry at y={state['top']:.0f} and marks the cell")

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
        self.ok(f"{where} shows the entry at y={state['top']:.0f}, its cell marked in the middle of the map")

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

    def zoom_and_fit(self):
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


def run_example(browser, page):
    c = Checks(browser, page, "example")
    if not c.load():
        return c.failures
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
    c.failures += [f"example: script error: {e}" for e in c.errors()]
    return c.failures


def run_large(browser, page):
    c = Checks(browser, page, "large")
    if not c.load():
        return c.failures
    c.zoom_and_fit()
    for href, text in browser.evaluate(SOME_COLUMNS):
        c.click_cell(href, text)
    c.search("<b>bold", "sql-zz__b_bold__b____co", "zz <b>bold</b> & co")
    c.failures += [f"large: script error: {e}" for e in c.errors()]
    c.no_script_link()
    c.failures += [f"large: script error: {e}" for e in c.errors(but="Content Security Policy")
                   if f"large: script error: {e}" not in c.failures]
    return c.failures


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    exe = shutil.which("chromium") or shutil.which("chromium-browser")
    if not exe:
        print("chromium is not installed: skipped (Debian: apt-get install chromium)")
        return SKIP
    pages = [Path(p).resolve() for p in sys.argv[1:]]
    for page in pages:
        if not page.is_file():
            print(f"{page}: no such page; build the demo target first")
            return 1

    def too_long(signum, frame):
        raise TimeoutError("Chromium did not answer within 150 s")

    # A hung browser fails the test instead of stalling it.
    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(150)
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
            failures += run_example(browser, pages[0])
            if len(pages) > 1:
                failures += run_large(browser, pages[1])
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
