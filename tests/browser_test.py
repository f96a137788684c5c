#!/usr/bin/env python3
"""Clicks cells of the demo page's map in headless Chromium and checks that
each click lands on the matching entry of the document below the map.

usage: browser_test.py PAGE

PAGE is the demo's index.html. Chromium is driven over its DevTools pipe
(--remote-debugging-pipe): commands go in on descriptor 3, replies and events
come out on descriptor 4, each message a JSON text ended by a NUL byte.
The clicks are real mouse events on each cell, so what is tested is what a
reader does: the SVG's link, the cell's hit area and the scroll to the
fragment; at the end the entry must be the page's :target and in view. Exits with 77 (skipped) when Chromium is not installed.
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
            "--user-data-dir=" + profile, "--window-size=1200,800",
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

# Scrolls the cell that links to a target into view and returns a point in
# its box, in the viewport, and whether a click there reaches that very link.
# The point is near the cell's right edge, away from its (left-aligned) text:
# the whole box of a cell is to take the click, not only the letters.
AIM = """
(() => {
  const href = %s;
  const a = [...document.querySelectorAll('.map svg a')].find(a => a.href.baseVal === href);
  a.scrollIntoView({block: 'center'});
  const r = a.getBoundingClientRect();
  const x = r.left + r.width * 0.9, y = r.top + r.height / 2;
  const hit = document.elementFromPoint(x, y);
  return {x: x, y: y, w: r.width, h: r.height, hits: !!hit && hit.closest('a') === a,
          hit: hit ? hit.tagName : null};
})()
"""

TARGET_STATE = """
(() => {
  const t = document.querySelector(':target');
  const r = t ? t.getBoundingClientRect() : null;
  return {hash: decodeURIComponent(location.hash), page: location.href.split('#')[0],
          tag: t && t.tagName, id: t && t.id, text: t && t.textContent,
          shown: !!t && t.checkVisibility() && r.height > 0,
          top: r && r.top, bottom: r && r.bottom, height: innerHeight};
})()
"""


def click(browser, x, y):
    for kind in ("mousePressed", "mouseReleased"):
        browser.send("Input.dispatchMouseEvent",
                     {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    exe = shutil.which("chromium") or shutil.which("chromium-browser")
    if not exe:
        print("chromium is not installed: skipped (Debian: apt-get install chromium)")
        return SKIP
    page = Path(sys.argv[1]).resolve()
    if not page.is_file():
        print(f"{page}: no such page; build the demo target first")
        return 1

    def too_long(signum, frame):
        raise TimeoutError("Chromium did not answer within 120 s")

    # A hung browser fails the test instead of stalling it.
    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(120)
    failures = []
    with tempfile.TemporaryDirectory(prefix="browser-test-") as profile:
        browser = Browser(exe, profile)
        try:
            targets = browser.send("Target.getTargets")["targetInfos"]
            page_target = next(t["targetId"] for t in targets if t["type"] == "page")
            browser.session = browser.send(
                "Target.attachToTarget", {"targetId": page_target, "flatten": True},
                session=False)["sessionId"]
            browser.send("Page.enable")
            browser.send("Page.navigate", {"url": page.as_uri()})
            browser.wait_event("Page.loadEventFired")

            state = browser.evaluate(TARGET_STATE)
            if state["tag"] is not None:
                failures.append(f"before any click, :target is already {state['id']}")

            for text, header, wants in CLICKS:
                hrefs = browser.evaluate(LIST_CELLS % json.dumps([text, header]))
                if sorted(hrefs) != ["#" + w for w in wants]:
                    failures.append(f"map: cells {text!r} link to {hrefs}, not {wants}")
                    continue
                for href in hrefs:
                    want = href[1:]
                    where = f"click on {text!r} ({want})"
                    cell = browser.evaluate(AIM % json.dumps(href))
                    if cell["w"] <= 0 or cell["h"] <= 0:
                        failures.append(f"{where}: the cell has no size")
                        continue
                    if not cell["hits"]:
                        failures.append(f"{where}: the cell's box is not all part of its link "
                                        f"(a click there reaches {cell['hit']})")
                        continue
                    click(browser, cell["x"], cell["y"])
                    end = time.monotonic() + 10
                    while True:
                        state = browser.evaluate(TARGET_STATE)
                        if state["hash"] == href or time.monotonic() > end:
                            break
                        time.sleep(0.05)
                    if state["page"] != page.as_uri():
                        failures.append(f"{where}: left the page for {state['page']}")
                    elif state["hash"] != href:
                        failures.append(f"{where}: location is {state['hash']!r}")
                    elif state["tag"] != "DT" or state["id"] != want:
                        failures.append(f"{where}: :target is {state['tag']} {state['id']!r}")
                    elif state["text"] != text:
                        failures.append(f"{where}: entry reads {state['text']!r}")
                    elif not state["shown"]:
                        failures.append(f"{where}: the entry is not rendered")
                    elif not (0 <= state["top"] and state["bottom"] <= state["height"]):
                        failures.append(f"{where}: entry is outside the viewport "
                                        f"({state['top']:.0f}..{state['bottom']:.0f} of {state['height']})")
                    else:
                        print(f"ok: {where} shows the entry at y={state['top']:.0f}")
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
