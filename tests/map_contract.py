#!/usr/bin/env python3
"""The graph as a clickable map over the HTML document.

usage: map_contract.py TABLEDOC TABLEGRAPH GOLDEN_DIR

For every golden input that both programs accept, for a schema of awkward
names and for that schema with tablegraph's -p, renders tablegraph's output
with Graphviz (dot -Tsvg), which must succeed without a word on standard
error, and checks that the links of the picture and the entries of tabledoc's
document match: every link is "#" + prefix + "-" + an id that the document
gives an entry (tabledoc's prefix is always "sql"), and every entry of the
document is the target of some link.

Exits 77 (reported as skipped) when Graphviz's dot is not installed.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SKIP = 77
XLINK_HREF = "{http://www.w3.org/1999/xlink}href"

# Names with spaces, markup bytes, quotes, UTF-8 (bytes from 0x80 up), a tab,
# an empty table name and ids that collide: table "a.b" column "c" and table
# "a" column "b.c" both give a.b.c; "a b" and "a_b" both give a_b.
AWKWARD = """\
-- Awkward names.
CREATE TABLE "order items" (
  "unit price" INT,
  'a<b' INT REFERENCES "order items" ('unit price'),
  'x&y>z' TEXT,
  'say "hi"' TEXT,
  "it's" TEXT,
  'tab\there' TEXT,
  "caf\u00e9" TEXT,
  "\u65e5\u672c" TEXT
);
CREATE TABLE 'Stra\u00dfe' (id INT, "\u2192" INT REFERENCES 'order items' ('a<b'));
CREATE TABLE "a.b" (c INT);
CREATE TABLE a ("b.c" INT REFERENCES "a.b" (c));
CREATE TABLE "a b" (x INT);
CREATE TABLE a_b (x INT);
CREATE TABLE '' ('' INT);
""".encode("utf-8")

ENV = dict(os.environ, LC_ALL="C")


def run(argv, stdin=None):
    return subprocess.run(argv, input=stdin, stdin=None if stdin is not None else subprocess.DEVNULL,
                          capture_output=True, env=ENV)


def document_ids(html):
    """The ids of tabledoc's table and column entries, without "sql-"."""
    text = html.decode("latin-1")
    ids = re.findall(r'<dt id="([^"]*)">', text)
    for i in ids:
        if not i.startswith("sql-"):
            raise ValueError("entry id without the sql- prefix: %r" % i)
    return [i[len("sql-"):] for i in ids]


def map_targets(svg):
    """Every link target of the rendered picture, XML-unescaped."""
    root = ET.fromstring(svg)
    return [v for el in root.iter() for k, v in el.attrib.items() if k in (XLINK_HREF, "href")]


def check(tabledoc, tablegraph, dot, path, prefix=None):
    """Returns a list of problems, empty when the map fits the document."""
    doc = run([tabledoc, path])
    graph_args = [tablegraph] + (["-p", prefix] if prefix is not None else []) + [path]
    graph = run(graph_args)
    if doc.returncode != 0 or graph.returncode != 0:
        return None  # not accepted by both: no map to check
    svg = run([dot, "-Tsvg"], stdin=graph.stdout)
    problems = []
    if svg.returncode != 0:
        problems.append("dot -Tsvg exited with %d" % svg.returncode)
    if svg.stderr:
        problems.append("dot -Tsvg wrote to standard error:\n" + svg.stderr.decode("utf-8", "replace"))
    if problems:
        return problems
    try:
        targets = map_targets(svg.stdout)
    except ET.ParseError as e:
        return ["the SVG does not parse: %s" % e]
    ids = document_ids(doc.stdout)
    lead = "#" + (prefix if prefix is not None else "sql") + "-"
    linked = set()
    for t in targets:
        if not t.startswith(lead):
            problems.append("link %r does not start with %r" % (t, lead))
            continue
        ident = t[len(lead):]
        if ident not in ids:
            problems.append("link %r names no entry of the document" % t)
        linked.add(ident)
    for i in sorted(set(ids)):
        if i not in linked:
            problems.append("entry %r is the target of no link" % ("sql-" + i))
    return problems


def main():
    if len(sys.argv) != 4:
        print(__doc__.splitlines()[2].strip(), file=sys.stderr)
        return 2
    tabledoc, tablegraph, golden = sys.argv[1:]
    dot = shutil.which("dot")
    if dot is None:
        print("map contract: skipped: Graphviz's dot is not installed (Debian package graphviz)")
        return SKIP

    runs = []
    for case in sorted(os.listdir(golden)):
        path = os.path.join(golden, case, "input.sql")
        if os.path.isfile(path):
            runs.append((case, path, None))
    tmp = tempfile.mkdtemp()
    try:
        awkward = os.path.join(tmp, "awkward.sql")
        with open(awkward, "wb") as f:
            f.write(AWKWARD)
        runs.append(("awkward names", awkward, None))
        runs.append(("awkward names, -p map", awkward, "map"))

        failed = checked = 0
        for label, path, prefix in runs:
            problems = check(tabledoc, tablegraph, dot, path, prefix)
            if problems is None:
                if path == awkward:
                    print("FAIL %s: a program refused the schema" % label)
                    failed += 1
                continue
            checked += 1
            if problems:
                failed += 1
                print("FAIL %s:" % label)
                for p in problems:
                    print("  " + p)
    finally:
        shutil.rmtree(tmp)
    print("map contract: %d maps checked, %d failed" % (checked, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
