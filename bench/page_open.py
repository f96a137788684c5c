#!/usr/bin/env python3
"""Times how long pages take to open in headless Chromium.

usage: page_open.py PAGE...

For each PAGE, prints the seconds from the navigation to the load event and
to the first frame drawn after it, best of three loads in a fresh tab of one
browser. Uses the DevTools pipe driver of tests/browser_test.py.
"""
import os
import shutil
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from browser_test import Browser  # noqa: E402


def main():
    exe = shutil.which("chromium") or shutil.which("chromium-browser")
    if not exe or len(sys.argv) < 2:
        print("page_open.py: needs chromium and at least one page", file=sys.stderr)
        return 1
    with tempfile.TemporaryDirectory(prefix="page-open-") as profile:
        b = Browser(exe, profile)
        try:
            target = next(t["targetId"] for t in b.send("Target.getTargets")["targetInfos"] if t["type"] == "page")
            b.session = b.send("Target.attachToTarget", {"targetId": target, "flatten": True},
                               session=False)["sessionId"]
            b.send("Page.enable")
            for page in sys.argv[1:]:
                best = None
                for _ in range(3):
                    b.send("Page.navigate", {"url": "about:blank"})
                    b.wait_event("Page.loadEventFired")
                    t0 = time.monotonic()
                    b.send("Page.navigate", {"url": Path(page).resolve().as_uri()})
                    b.wait_event("Page.loadEventFired", timeout=120)
                    t1 = time.monotonic()
                    b.send("Runtime.evaluate", {"expression": "new Promise(r => requestAnimationFrame(() => setTimeout(r)))",
                                                "awaitPromise": True})
                    t2 = time.monotonic()
                    if best is None or t2 - t0 < best[1]:
                        best = (t1 - t0, t2 - t0)
                print("%s %.2f %.2f" % (page, best[0], best[1]))
        finally:
            b.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
