#!/usr/bin/env python3
"""The map contract for pages made by schemapage.

usage: page_contract.py SCHEMAPAGE PAGE...

Makes the page of a schema of awkward names (that of map_contract.py) with
each layout engine, and checks it and every PAGE given (pages that
schemapage made already): the inline <svg> element parses as XML, every link
of the map is "#sql-" + the id of an entry of the document in the same page,
and every entry is the target of some link. Besides, the page's Content
Security Policy must allow exactly its own scripts (by their SHA-256), or the
browser would run none of them.

Exits 77 (skipped) when Graphviz is not installed.
"""

import base64
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from map_contract import AWKWARD, ENV, document_ids, map_targets  # noqa: E402

SKIP = 77


def check_page(html):
    """Returns a list of problems, empty when the page keeps the contract."""
    text = html.decode("utf-8", "replace")
    problems = []
    svgs = re.findall(r"<svg\b.*?</svg>", text, re.S)
    if len(svgs) != 1:
        return ["%d <svg> elements in the page, not 1" % len(svgs)]
    try:
        targets = map_targets(svgs[0].encode("utf-8"))
    except ET.ParseError as e:
        return ["the map does not parse as XML: %s" % e]
    ids = document_ids(html)
    if not ids:
        problems.append("the page has no entries")
    linked = set()
    for t in targets:
        if not t.startswith("#sql-") or t[len("#sql-"):] not in ids:
            problems.append("link %r names no entry of the page" % t)
        linked.add(t[len("#sql-"):])
    for i in sorted(set(ids) - linked):
        problems.append("entry %r is the target of no link" % ("sql-" + i))

    csp = re.search(r'<meta http-equiv="Content-Security-Policy" content="([^"]*)"', text)
    scripts = re.findall(r"<script>(.*?)</script>", text, re.S)
    if not csp:
        problems.append("no Content-Security-Policy")
    else:
        allowed = set(re.findall(r"'sha256-([^']*)'", csp.group(1)))
        have = {base64.b64encode(hashlib.sha256(s.encode("utf-8")).digest()).decode() for s in scripts}
        if allowed != have:
            problems.append("the policy allows the scripts %s, the page has %s (update the "
                            "hashes in page/page.html.in)" % (sorted(allowed), sorted(have)))
        if "default-src 'none'" not in csp.group(1):
            problems.append("the policy lets the page fetch things")
    return problems


def main():
    if len(sys.argv) < 2:
        print(__doc__.splitlines()[2].strip(), file=sys.stderr)
        return 2
    schemapage, pages = sys.argv[1], sys.argv[2:]
    if not shutil.which("dot") or not shutil.which("sfdp"):
        print("page contract: skipped: Graphviz (dot, sfdp) is not installed (Debian package graphviz)")
        return SKIP
    runs = []
    with tempfile.TemporaryDirectory() as tmp:
        awkward = os.path.join(tmp, "awkward.sql")
        with open(awkward, "wb") as f:
            f.write(AWKWARD)
        for engine in ("dot", "sfdp"):
            r = subprocess.run([schemapage, "-e", engine, awkward], capture_output=True, env=ENV)
            label = "awkward names, -e %s" % engine
            if r.returncode != 0:
                runs.append((label, ["schemapage exits with %d: %s" % (r.returncode, r.stderr.decode(errors="replace"))]))
            else:
                runs.append((label, check_page(r.stdout)))
    for p in pages:
        with open(p, "rb") as f:
            runs.append((p, check_page(f.read())))
    failed = 0
    for label, problems in runs:
        if problems:
            failed += 1
            print("FAIL %s:" % label)
            for p in problems[:20]:
                print("  " + p)
        else:
            print("ok: %s" % label)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
