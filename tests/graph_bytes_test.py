#!/usr/bin/env python3
"""Graphviz accepts tablegraph's output whatever bytes the names hold.

usage: graph_bytes_test.py TABLEGRAPH

One table per byte from 0x01 to 0xFF, with the byte in the table's name and
in a column's name, and tables whose names hold sequences that are not
UTF-8 or not XML characters (overlong forms, surrogates, U+FFFE, U+FFFF,
bytes above U+10FFFF, truncated sequences), are drawn by `dot -Tsvg`, which
must succeed and keep every table. Exits with 77 (skipped) without Graphviz.
"""
import shutil
import subprocess
import sys

SKIP = 77


def quoted(name: bytes) -> bytes:
    # A quoted name ends at its quote unless a backslash stands before it;
    # the "x" at each end keeps a backslash away from the closing quote.
    q = b"'" if b'"' in name else b'"'
    return q + b"x" + name + b"x" + q


def main():
    tablegraph = sys.argv[1]
    dot = shutil.which("dot")
    if not dot:
        print("Graphviz dot is not installed: skipped")
        return SKIP
    names = [bytes([b]) for b in range(1, 256)]
    names += [b"\xc0\xaf", b"\xe0\x80\xaf", b"\xed\xa0\x80", b"\xef\xbf\xbe", b"\xef\xbf\xbf",
              b"\xf4\x90\x80\x80", b"\xe2\x82", b"\xf0\x9f\x98", b"caf\xe9", b"\xc3\xa9\xf0\x9f\x98\x80"]
    schema = b"".join(b"CREATE TABLE %s (%s INT, id INT REFERENCES %s (id));\n"
                      % (quoted(n), quoted(n), quoted(n)) for n in names)
    graph = subprocess.run([tablegraph], input=schema, capture_output=True)
    if graph.returncode != 0:
        print("tablegraph failed:", graph.stderr.decode(errors="replace"))
        return 1
    svg = subprocess.run([dot, "-Tsvg"], input=graph.stdout, capture_output=True)
    if svg.returncode != 0 or svg.stderr:
        print("dot refused the graph:", svg.stderr.decode(errors="replace")[:2000])
        return 1
    drawn = svg.stdout.count(b'class="node"')
    if drawn != len(names):
        print(f"dot drew {drawn} tables of {len(names)}")
        return 1
    print(f"dot drew all {drawn} tables")
    return 0


if __name__ == "__main__":
    sys.exit(main())
