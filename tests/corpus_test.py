#!/usr/bin/env python3
"""Both programs on real schema files.

usage: corpus_test.py TABLEDOC TABLEGRAPH [PATH]

PATH is one schema file or a folder of *.sql files; by default the folder
../shared/corpus beside the repository. Each file goes to each program as the
file operand and on standard input, and every run must:
- end with status 0 or 1 (no crash) and without a sanitizer report;
- with 0, write output; with 1, write nothing to standard output;
- write standard error only in the message forms "NAME:LINE:COL: ...",
  "NAME: ..." (NAME the operand, or "<stdin>") and "PROGRAM: ...";
- give from standard input what it gives from the file, apart from the name.
Both programs read with the same reader, so they must agree on the status and
on the reader's messages. When both succeed, the graph must be a map over the
document: with Graphviz installed, the check of map_contract.py (dot -Tsvg
without a word on standard error, and every link of the picture landing on an
entry of the document); without it, the same check of the links on the DOT
text.

Exits 77 (reported as skipped) when PATH does not exist.
"""

import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import map_contract  # noqa: E402

SKIP = 77
ENV = dict(os.environ, LC_ALL="C")
SANITIZER = re.compile(rb"Sanitizer|runtime error:")
DOT_HREF = re.compile(rb'HREF="#sql-([^"]*)"')


def run(argv, stdin_path=None):
    if stdin_path is None:
        return subprocess.run(argv, stdin=subprocess.DEVNULL, capture_output=True, env=ENV)
    with open(stdin_path, "rb") as f:
        return subprocess.run(argv, stdin=f, capture_output=True, env=ENV)


def message_problems(err, name, prog):
    forms = re.compile(rb"(%s:\d+:\d+: |%s: |%s: )" % (re.escape(name), re.escape(name), re.escape(prog)))
    return ["message not in a known form: %r" % line
            for line in err.splitlines() if not forms.match(line)]


def check_run(prog, path, mode):
    """Runs one program in one mode; returns the result and its problems."""
    name = os.path.basename(prog)
    if mode == "file":
        r = run([prog, path])
        shown = path
    else:
        r = run([prog], stdin_path=path)
        shown = "<stdin>"
    problems = []
    if r.returncode not in (0, 1):
        problems.append("exit status %d" % r.returncode)
    if SANITIZER.search(r.stderr):
        problems.append("sanitizer report")
    if r.returncode == 0 and not r.stdout:
        problems.append("status 0 without output")
    if r.returncode == 1 and r.stdout:
        problems.append("status 1 with %d bytes on standard output" % len(r.stdout))
    problems += message_problems(r.stderr, shown.encode(), name.encode())
    return r, ["%s (%s): %s" % (name, mode, p) for p in problems]


def check_file(tabledoc, tablegraph, dot, path):
    """Returns (status, first message, problems) for one schema file."""
    problems = []
    results = {}
    for prog in (tabledoc, tablegraph):
        name = os.path.basename(prog)
        by_file, p1 = check_run(prog, path, "file")
        by_stdin, p2 = check_run(prog, path, "stdin")
        problems += p1 + p2
        if (by_stdin.returncode, by_stdin.stdout) != (by_file.returncode, by_file.stdout):
            problems.append("%s: standard input and file operand give different results" % name)
        if by_stdin.stderr != by_file.stderr.replace(path.encode(), b"<stdin>"):
            problems.append("%s: standard input and file operand give different messages" % name)
        results[name] = by_file
    doc, graph = results[os.path.basename(tabledoc)], results[os.path.basename(tablegraph)]
    if doc.returncode != graph.returncode:
        problems.append("tabledoc ends with %d, tablegraph with %d" % (doc.returncode, graph.returncode))
    if doc.stderr != graph.stderr:
        problems.append("the programs print different reader messages")
    if not problems and doc.returncode == 0:
        if dot:
            problems += map_contract.check(tabledoc, tablegraph, dot, path) or []
        else:
            ids = set(map_contract.document_ids(doc.stdout))
            problems += ["map link %r names no entry of the document" % ("#sql-" + i.decode("latin-1"))
                         for i in DOT_HREF.findall(graph.stdout) if i.decode("latin-1") not in ids]
    return doc.returncode, doc.stderr.decode("latin-1").splitlines(), problems


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__.splitlines()[2].strip(), file=sys.stderr)
        return 2
    tabledoc, tablegraph = (os.path.abspath(p) for p in sys.argv[1:3])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[3] if len(sys.argv) == 4 else os.path.join(root, "..", "shared", "corpus")
    target = os.path.abspath(target)
    if not os.path.exists(target):
        print("corpus: skipped: %s does not exist" % target)
        return SKIP
    if os.path.isdir(target):
        files = [os.path.join(target, f) for f in sorted(os.listdir(target)) if f.endswith(".sql")]
    else:
        files = [target]
    dot = shutil.which("dot")
    if not dot:
        print("corpus: Graphviz's dot is not installed: the graphs are not rendered")

    failed = 0
    for path in files:
        status, errors, problems = check_file(tabledoc, tablegraph, dot, path)
        name = os.path.basename(path)
        if problems:
            failed += 1
            print("FAIL %s:" % name)
            for p in problems:
                print("  " + p)
        elif status == 0:
            print("ok %s: accepted, %d messages" % (name, len(errors)))
        else:
            print("ok %s: refused: %s" % (name, errors[-1] if errors else "(no message)"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
