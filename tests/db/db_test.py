#!/usr/bin/env python3
"""The databases as the reference for the -d readings of tabledoc and tablegraph.

usage: db_test.py --tabledoc PATH --tablegraph PATH --work DIR
                  [--mode check|report] [--strict] [--verbose] [--only NAME] [--keep]
                  [--fixtures DIR] [--corpus DIR] [--expect FILE]

Starts private servers (PostgreSQL through initdb and pg_ctl, MariaDB through
mariadb-install-db and mariadbd, both on Unix sockets only, their data under
--work) and loads each input into a database of its own, as psql -f, the
mariadb client and sqlite3's .read run it: the corpus files of each dialect
(the dialect column of the corpus README says which) and the fixtures under
--fixtures (postgres/, mysql/, sqlite/: NAME.sql with NAME.json). A corpus
file that its database refuses is reported and left out. Then it writes the
database's dump (pg_dump --schema-only, mysqldump --no-data, sqlite3 .schema),
reads the catalog into a normal form

  {"tables": {NAME: {"columns": [...in declaration order], "comment": TEXT|null,
                     "column_comments": {COL: TEXT}}},
   "foreign_keys": [[TABLE, COLUMN, TARGET_TABLE, TARGET_COLUMN], ...]}

(the default schema or database left off, others as schema.table), runs both
programs with -d on the file and on the dump, and compares what the document
and the graph show with it: the tables, their columns and the columns' order
(the graph's ports), the foreign keys (the document's links and the graph's
edges) and the text of each entry.

This test knows nothing of the programs' reading rules. What a file's own
comments document is written in the fixture's .json by hand ("docs", and
"dump_docs" for what sqlite3's .schema keeps of them); the test only turns the
document's HTML back into text. A catalog comment is shown as plain text: a
single line break in it is a space, a blank line a paragraph break, nothing
else changes. An entry's text is its documentation, then, after a paragraph
break, its catalog comment.

A fixture's .json is the catalog it must give, checked in every mode, with
"docs": {"TABLE": TEXT, "TABLE.COLUMN": TEXT}, or {"refused": true} (the
database must refuse the file). A corpus input has no docs: of its comments
the test checks that each catalog comment ends its entry's text, and that a
pg_dump or mysqldump dump shows the catalog comments alone.

--mode check (the default): exit 1 on a fixture whose catalog is not its
.json; with --strict also on any difference between the programs and the
catalog, for the fixtures and for every corpus input that --expect does not
list as a known difference. --mode report prints, for the fixtures and for
the corpus, the runs that show exactly what the database holds, per dialect,
of the file and of its dump, and what the others differ in. Exits 77
(skipped) when a database program is missing or a server cannot start.
"""

import argparse
import concurrent.futures
import json
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
SKIP = 77
ENV = dict(os.environ, LC_ALL="C")
DIALECTS = ("postgres", "mysql", "sqlite")


class Skip(Exception):
    """A database program is missing or a server does not start."""


def run(argv, **kw):
    kw.setdefault("capture_output", True)
    kw.setdefault("env", ENV)
    return subprocess.run(argv, **kw)


def need(program, where=None):
    path = shutil.which(program, path=where)
    if not path:
        raise Skip("%s was not found" % program)
    return path


def short_dir(path):
    """A directory for Unix sockets: `path` itself when its socket paths fit
    in sun_path (108 bytes), else a fresh one under /tmp."""
    if len(path) + len("/.s.PGSQL.5432") < 100:
        os.makedirs(path, exist_ok=True)
        return path
    return tempfile.mkdtemp(prefix="dbtest-")


# ---------------------------------------------------------------------------
# Private servers


class Postgres:
    """A PostgreSQL server of our own: data and socket under `root`, no TCP.
    initdb and the server refuse to run as root, so then they run as nobody."""

    def __init__(self, root):
        bins = sorted(d for d in (os.path.join("/usr/lib/postgresql", v, "bin")
                                  for v in (os.listdir("/usr/lib/postgresql")
                                            if os.path.isdir("/usr/lib/postgresql") else []))
                      if os.path.isdir(d))
        where = (bins[-1] + os.pathsep if bins else "") + os.environ.get("PATH", "")
        self.initdb = need("initdb", where)
        self.pg_ctl = need("pg_ctl", where)
        self.psql = need("psql")
        self.pg_dump = need("pg_dump")
        self.root = root
        self.data = os.path.join(root, "data")
        self.sock = None
        self.started = False
        self.as_user = []
        if os.geteuid() == 0:
            runuser = shutil.which("runuser") or shutil.which("setpriv")
            if not runuser:
                raise Skip("running as root, and neither runuser nor setpriv is there to drop it")
            if os.path.basename(runuser) == "runuser":
                self.as_user = [runuser, "-u", "nobody", "--"]
            else:
                self.as_user = [runuser, "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"]

    def _own(self, path):
        if self.as_user:
            nobody = pwd.getpwnam("nobody")
            os.chown(path, nobody.pw_uid, nobody.pw_gid)

    def start(self):
        self.stop_stale()
        shutil.rmtree(self.root, ignore_errors=True)
        os.makedirs(self.data)
        self.sock = short_dir(os.path.join(self.root, "sock"))
        self._own(self.data)
        self._own(self.sock)
        r = run(self.as_user + [self.initdb, "-D", self.data, "-A", "trust", "-U", "postgres",
                                "-E", "UTF8", "--locale=C", "--no-sync"])
        if r.returncode != 0:
            raise Skip("initdb failed: %s" % r.stderr.decode(errors="replace").strip()[-300:])
        options = "-c listen_addresses='' -c unix_socket_directories='%s' -c fsync=off " \
                  "-c synchronous_commit=off -c full_page_writes=off" % self.sock
        r = run(self.as_user + [self.pg_ctl, "-D", self.data, "-l", os.path.join(self.data, "log"),
                                "-w", "-t", "30", "-o", options, "start"])
        self.started = r.returncode == 0
        if not self.started:
            log = ""
            try:
                with open(os.path.join(self.data, "log"), errors="replace") as f:
                    log = f.read()[-300:]
            except OSError:
                pass
            raise Skip("the PostgreSQL server did not start: %s" % log.strip())

    def stop_stale(self):
        """A server left running by an earlier run that was killed."""
        if os.path.exists(os.path.join(self.data, "postmaster.pid")):
            run(self.as_user + [self.pg_ctl, "-D", self.data, "-m", "immediate", "-w", "stop"])

    def stop(self):
        if self.started:
            run(self.as_user + [self.pg_ctl, "-D", self.data, "-m", "immediate", "-w", "stop"])
            self.started = False
        if self.sock and not self.sock.startswith(self.root):
            shutil.rmtree(self.sock, ignore_errors=True)

    def psql_argv(self, db):
        return [self.psql, "-X", "-q", "-h", self.sock, "-U", "postgres", "-d", db]

    def create(self, db):
        r = run(self.psql_argv("postgres") + ["-c", 'CREATE DATABASE "%s"' % db])
        if r.returncode != 0:
            raise RuntimeError(r.stderr.decode(errors="replace"))

    def load(self, db, path, stop=True):
        """Runs the file as psql -f does (its own BEGIN, COMMIT, ROLLBACK and
        SET LOCAL as they are written): [(the failed statement, message)]."""
        self.create(db)
        stopping = ["-v", "ON_ERROR_STOP=1"] if stop else []
        r = run(self.psql_argv(db) + stopping + ["--echo-errors", "-f", path])
        errors = []
        statement = None
        for ln in r.stderr.decode(errors="replace").splitlines():
            m = re.match(r"^psql:.*?:\d+: (ERROR|error|STATEMENT|\w+):\s*(.*)$", ln)
            if m and m.group(1) in ("ERROR", "error"):
                errors.append([None, ln.strip()])
                statement = None
            elif m and m.group(1) == "STATEMENT" and errors and errors[-1][0] is None:
                statement = [m.group(2)]
                errors[-1][0] = statement
            elif m:
                statement = None
            elif statement is not None:
                statement.append(ln)
        out = [("\n".join(s) if s else None, message) for s, message in errors]
        return out or ([(None, first_error(r.stderr))] if r.returncode else [])

    def dump(self, db, out):
        r = run([self.pg_dump, "-h", self.sock, "-U", "postgres", "--schema-only", "-f", out, db])
        if r.returncode != 0:
            raise RuntimeError("pg_dump: " + r.stderr.decode(errors="replace"))

    def rows(self, db, query):
        r = run(self.psql_argv(db) + ["-A", "-t", "-c", query])
        if r.returncode != 0:
            raise RuntimeError(r.stderr.decode(errors="replace"))
        return [json.loads(line) for line in r.stdout.decode().splitlines() if line]

    def catalog(self, db):
        tables = """
            SELECT c.oid FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
            WHERE c.relkind IN ('r', 'p') AND n.nspname NOT IN ('pg_catalog', 'information_schema')
              AND n.nspname NOT LIKE 'pg\\_toast%' AND n.nspname NOT LIKE 'pg\\_temp%'
              AND NOT EXISTS (SELECT 1 FROM pg_depend d WHERE d.classid = 'pg_class'::regclass
                              AND d.objid = c.oid AND d.deptype = 'e')"""
        cols = self.rows(db, """
            SELECT json_build_array(n.nspname, c.relname, obj_description(c.oid, 'pg_class'),
                                    a.attname, col_description(c.oid, a.attnum))
            FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
            LEFT JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped
            WHERE c.oid IN (%s) ORDER BY c.oid, a.attnum""" % tables)
        fks = self.rows(db, """
            SELECT json_build_array(sn.nspname, sc.relname, sa.attname, tn.nspname, tc.relname, ta.attname)
            FROM pg_constraint k CROSS JOIN LATERAL unnest(k.conkey, k.confkey) AS u(s, d)
            JOIN pg_class sc ON sc.oid = k.conrelid JOIN pg_namespace sn ON sn.oid = sc.relnamespace
            JOIN pg_attribute sa ON sa.attrelid = k.conrelid AND sa.attnum = u.s
            JOIN pg_class tc ON tc.oid = k.confrelid JOIN pg_namespace tn ON tn.oid = tc.relnamespace
            JOIN pg_attribute ta ON ta.attrelid = k.confrelid AND ta.attnum = u.d
            WHERE k.contype = 'f' AND k.conrelid IN (%s)
              -- A key to a partitioned table is kept again for each of its
              -- partitions, under the key itself (the same table refers):
              -- those copies are the database's own bookkeeping.
              AND NOT EXISTS (SELECT 1 FROM pg_constraint up
                              WHERE up.oid = k.conparentid AND up.conrelid = k.conrelid)""" % tables)

        def qualified(schema, name):
            return name if schema == "public" else schema + "." + name
        out = {"tables": {}, "foreign_keys": []}
        for schema, table, comment, col, col_comment in cols:
            t = out["tables"].setdefault(qualified(schema, table), new_table(comment))
            if col is not None:
                add_column(t, col, col_comment)
        for ss, st, sc, ts, tt, tc in fks:
            out["foreign_keys"].append([qualified(ss, st), sc, qualified(ts, tt), tc])
        return normal(out)


class MariaDB:
    """A MariaDB server of our own: data and socket under `root`, no TCP."""

    def __init__(self, root):
        self.install_db = need("mariadb-install-db")
        self.server = need("mariadbd", os.environ.get("PATH", "") + os.pathsep + "/usr/sbin")
        self.client = need("mariadb")
        self.mysqldump = need("mysqldump")
        self.root = root
        self.data = os.path.join(root, "data")
        self.pidfile = os.path.join(root, "mariadbd.pid")
        self.sock = None
        self.proc = None
        self.created = {}  # db: the other databases that its file created

    def start(self):
        self.stop_stale()
        shutil.rmtree(self.root, ignore_errors=True)
        os.makedirs(self.data)
        self.sock = os.path.join(short_dir(os.path.join(self.root, "sock")), "mysqld.sock")
        user = ["--user=root"] if os.geteuid() == 0 else []
        r = run([self.install_db, "--no-defaults", "--datadir=" + self.data, "--skip-test-db",
                 "--auth-root-authentication-method=normal"] + user)
        if r.returncode != 0:
            raise Skip("mariadb-install-db failed: %s" % r.stderr.decode(errors="replace").strip()[-300:])
        log = os.path.join(self.root, "mariadbd.log")
        self.proc = subprocess.Popen(
            [self.server, "--no-defaults", "--datadir=" + self.data, "--socket=" + self.sock,
             "--skip-networking", "--pid-file=" + self.pidfile, "--log-error=" + log,
             "--innodb-buffer-pool-size=32M", "--innodb-log-file-size=16M", "--skip-log-bin",
             "--innodb-flush-log-at-trx-commit=0", "--character-set-server=utf8mb4",
             "--collation-server=utf8mb4_general_ci"] + user,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                break
            if os.path.exists(self.sock) and run(self.client_argv() + ["-e", "SELECT 1"]).returncode == 0:
                return
            time.sleep(0.1)
        text = ""
        try:
            with open(log, errors="replace") as f:
                text = f.read()[-300:]
        except OSError:
            pass
        self.stop()
        raise Skip("the MariaDB server did not start: %s" % text.strip())

    def stop_stale(self):
        try:
            with open(self.pidfile) as f:
                pid = int(f.read().strip())
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                if self.data.encode() in f.read():
                    os.kill(pid, signal.SIGKILL)
        except (OSError, ValueError):
            pass

    def stop(self):
        if self.proc is not None:
            if self.proc.poll() is None:
                self.proc.terminate()
                try:
                    self.proc.wait(timeout=15)
                except subprocess.TimeoutExpired:
                    self.proc.kill()
                    self.proc.wait()
            self.proc = None
        if self.sock and not self.sock.startswith(self.root):
            shutil.rmtree(os.path.dirname(self.sock), ignore_errors=True)

    def client_argv(self, db=None):
        return [self.client, "--no-defaults", "-S", self.sock, "-u", "root"] + ([db] if db else [])

    def databases(self):
        return {r for r in self.rows(None, "SELECT JSON_QUOTE(SCHEMA_NAME) FROM information_schema.SCHEMATA")}

    def load(self, db, path, stop=True):
        """Runs the file in the mariadb client: [(the failed statement, message)].
        The databases that the file creates (CREATE DATABASE, USE) are read
        and dumped with its own."""
        before = self.databases()
        r = run(self.client_argv() + ["-e", "CREATE DATABASE `%s`" % db])
        if r.returncode != 0:
            raise RuntimeError(r.stderr.decode(errors="replace"))
        with open(path, "rb") as f:
            r = run(self.client_argv(db) + ([] if stop else ["--force"]), stdin=f)
        self.created[db] = sorted(self.databases() - before - {db})
        return statements_at(path, r.stderr, r"^ERROR \d+ \(\w+\) at line (\d+)") or \
            ([(None, first_error(r.stderr))] if r.returncode else [])

    def dump(self, db, out):
        """mysqldump of the database, then of each database that its file
        created, with the CREATE DATABASE and USE that bring a reader there."""
        with open(out, "wb") as f:
            for i, name in enumerate([db] + self.created.get(db, [])):
                more = ["--databases"] if i else []
                f.flush()
                r = run([self.mysqldump, "--no-defaults", "-S", self.sock, "-u", "root", "--no-data"]
                        + more + [name], stdout=f, stderr=subprocess.PIPE, capture_output=False)
                if r.returncode != 0:
                    raise RuntimeError("mysqldump: " + r.stderr.decode(errors="replace"))

    def rows(self, db, query):
        r = run(self.client_argv(db) + ["-N", "-B", "-r", "-e", query])
        if r.returncode != 0:
            raise RuntimeError(r.stderr.decode(errors="replace"))
        return [json.loads(line) for line in r.stdout.decode().splitlines() if line]

    def catalog(self, db):
        """The tables of the database and of those that its file created, the
        others' as schema.table."""
        schemas = ", ".join("'%s'" % s.replace("'", "''") for s in [db] + self.created.get(db, []))
        cols = self.rows(db, """
            SELECT JSON_ARRAY(t.TABLE_SCHEMA, t.TABLE_NAME, t.TABLE_COMMENT, c.COLUMN_NAME, c.COLUMN_COMMENT)
            FROM information_schema.TABLES t LEFT JOIN information_schema.COLUMNS c
              ON c.TABLE_SCHEMA = t.TABLE_SCHEMA AND c.TABLE_NAME = t.TABLE_NAME
            WHERE t.TABLE_SCHEMA IN (%s) AND t.TABLE_TYPE = 'BASE TABLE'
            ORDER BY t.TABLE_SCHEMA, t.TABLE_NAME, c.ORDINAL_POSITION""" % schemas)
        fks = self.rows(db, """
            SELECT JSON_ARRAY(TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, REFERENCED_TABLE_SCHEMA,
                              REFERENCED_TABLE_NAME, REFERENCED_COLUMN_NAME)
            FROM information_schema.KEY_COLUMN_USAGE
            WHERE TABLE_SCHEMA IN (%s) AND REFERENCED_TABLE_NAME IS NOT NULL""" % schemas)

        def qualified(schema, name):
            return name if schema == db else schema + "." + name
        out = {"tables": {}, "foreign_keys": []}
        for schema, table, comment, col, col_comment in cols:
            t = out["tables"].setdefault(qualified(schema, table), new_table(comment))
            if col is not None:
                add_column(t, col, col_comment)
        for schema, table, col, tschema, ttable, tcol in fks:
            out["foreign_keys"].append([qualified(schema, table), col, qualified(tschema, ttable), tcol])
        return normal(resolve_names(out, fold=True))


class SQLite:
    """sqlite3 on a file: no server."""

    def __init__(self, root):
        self.sqlite3 = need("sqlite3")
        self.root = root

    def start(self):
        shutil.rmtree(self.root, ignore_errors=True)
        os.makedirs(self.root)

    def stop(self):
        pass

    def path(self, db):
        return os.path.join(self.root, db + ".db")

    def load(self, db, path, stop=True):
        r = run([self.sqlite3] + (["-bail"] if stop else []) +
                [self.path(db), ".read '%s'" % path.replace("'", "''")], stdin=subprocess.DEVNULL)
        return statements_at(path, r.stderr, r"^(?:Parse error|Runtime error|Error)(?: near line (\d+))?:") or \
            ([(None, first_error(r.stderr or r.stdout))] if r.returncode else [])

    def dump(self, db, out):
        with open(out, "wb") as f:
            r = run([self.sqlite3, self.path(db), ".schema"], stdout=f, stderr=subprocess.PIPE,
                    capture_output=False)
        if r.returncode != 0:
            raise RuntimeError("sqlite3 .schema: " + r.stderr.decode(errors="replace"))

    def rows(self, db, query):
        r = run([self.sqlite3, "-json", self.path(db), query], stdin=subprocess.DEVNULL)
        if r.returncode != 0:
            raise RuntimeError(r.stderr.decode(errors="replace"))
        return json.loads(r.stdout) if r.stdout.strip() else []

    def catalog(self, db):
        # Ordinary tables of main only: not sqlite_*, not virtual tables nor
        # their shadow tables (pragma table_list tells them), no temp tables.
        tables = """SELECT name FROM pragma_table_list WHERE schema = 'main' AND type = 'table'
                    AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"""
        cols = self.rows(db, """
            SELECT t.name AS t, c.name AS c, c.pk AS pk FROM (%s) t, pragma_table_xinfo(t.name) c
            WHERE c.hidden <> 1 ORDER BY t.name, c.cid""" % tables)
        fks = self.rows(db, """
            SELECT t.name AS t, f.id AS id, f.seq AS seq, f."table" AS target, f."from" AS c, f."to" AS tc
            FROM (%s) t, pragma_foreign_key_list(t.name) f ORDER BY t.name, f.id, f.seq""" % tables)
        out = {"tables": {}, "foreign_keys": []}
        pk = {}
        for r in self.rows(db, tables):
            out["tables"][r["name"]] = new_table(None)
        for r in cols:
            add_column(out["tables"][r["t"]], r["c"], None)
            if r["pk"]:
                pk.setdefault(r["t"].lower(), []).append((r["pk"], r["c"]))
        # "REFERENCES t" without columns: t's primary key, pair by pair.
        by_key = {}
        for r in fks:
            by_key.setdefault((r["t"], r["id"]), []).append(r)
        for (table, _), pairs in by_key.items():
            if any(p["tc"] is None for p in pairs):
                keys = [c for _, c in sorted(pk.get(pairs[0]["target"].lower(), []))]
                if len(keys) != len(pairs):
                    continue  # the target has no such key: the rowid, or a mistake
                for p, k in zip(pairs, keys):
                    p["tc"] = k
            for p in pairs:
                out["foreign_keys"].append([table, p["c"], p["target"], p["tc"]])
        return normal(resolve_names(out, fold=True, tables_fold=True))


def statements_at(path, err, pattern):
    """[(statement, message)] of the errors in a client's messages, where the
    client gives the line that the failed statement begins on (mariadb and
    sqlite3 do): the statement is the file's text from there (None when the
    message gives no line)."""
    out = []
    lines = None
    for ln in err.decode(errors="replace").splitlines():
        m = re.match(pattern, ln)
        if m:
            statement = None
            if m.group(1):
                if lines is None:
                    with open(path, encoding="utf-8", errors="replace") as f:
                        lines = f.read().split("\n")
                statement = "\n".join(lines[int(m.group(1)) - 1:int(m.group(1)) + 4])
            out.append((statement, ln.strip()))
    return out


def first_error(err):
    lines = err.decode(errors="replace").strip().splitlines()
    errors = [ln for ln in lines if re.search(r"\bERROR\b|\berror\b|Error", ln)]
    return (errors or lines or ["refused"])[0]


def new_table(comment):
    return {"columns": [], "comment": comment or None, "column_comments": {}}


def add_column(table, name, comment):
    table["columns"].append(name)
    if comment:
        table["column_comments"][name] = comment


def resolve_names(cat, fold, tables_fold=False):
    """Foreign keys named as the database shows the tables and columns: MySQL
    and SQLite keep a reference as written, in whatever letter case, and a
    reference to a table that does not exist is no link at all."""
    tables = cat["tables"]
    by_lower = {t.lower(): t for t in tables}
    kept = []
    for t, c, tt, tc in cat["foreign_keys"]:
        if tables_fold:
            t, tt = by_lower.get(t.lower(), t), by_lower.get(tt.lower(), tt)
        if t not in tables or tt not in tables:
            continue
        if fold:
            c = next((x for x in tables[t]["columns"] if x.lower() == c.lower()), c)
            tc = next((x for x in tables[tt]["columns"] if x.lower() == (tc or "").lower()), tc)
        if tc in tables[tt]["columns"]:
            kept.append([t, c, tt, tc])
    cat["foreign_keys"] = kept
    return cat


def normal(cat):
    cat["foreign_keys"] = sorted(map(list, {tuple(k) for k in cat["foreign_keys"]}))
    return cat




# ---------------------------------------------------------------------------
# What the programs show: the document's and the graph's text, read back.

ENTITIES = {"&quot;": '"', "&amp;": "&", "&lt;": "<", "&gt;": ">", "&#x201c;": "\u201c",
            "&#x201d;": "\u201d", "&#8211;": "\u2013", "&#8212;": "\u2014"}


def unescape(text):
    return re.sub(r"&(?:quot|amp|lt|gt|#x201c|#x201d|#8211|#8212);", lambda m: ENTITIES[m.group()], text)


def parse_document(html):
    """{table: {"comment": HTML|None, "columns": {col: {"comment": .., "links": [text]}}}},
    names unescaped."""
    doc = {}
    lines = html.split("\n")
    i = 0
    table = col = None
    while i < len(lines):
        ln = lines[i]
        m = re.match(r'^\t<dt id="[^"]*">(.*)</dt>$', ln)
        if m:
            table = doc.setdefault(unescape(m.group(1)), {"comment": None, "columns": {}})
            col = None
        m = re.match(r'^\t\t\t<dt id="[^"]*">(.*)</dt>$', ln)
        if m and table is not None:
            col = table["columns"].setdefault(unescape(m.group(1)), {"comment": None, "links": []})
        m = re.match(r'^\t\t\t\t<div class="foreign"><a href="[^"]*">(.*)</a></div>$', ln)
        if m and col is not None:
            col["links"].append(unescape(m.group(1)))
        for indent, owner in (("\t\t", table), ("\t\t\t\t", col)):
            if ln == indent + '<div class="comment">' and owner is not None:
                j = i + 1
                while j < len(lines) and lines[j] != indent + "</div>":
                    j += 1
                owner["comment"] = "\n".join(lines[i + 1:j])
                i = j
                break
        i += 1
    return doc


def parse_graph(dot):
    """({table: [columns in the order of their ports]},
    [(table, column, target table, target column)])."""
    nodes = {}
    for m in re.finditer(r'^\ttable(\d+) \[shape=none; label=<<TABLE[^>]*>\n(.*?)\n\t\t</TABLE>>\];$',
                         dot, re.M | re.S):
        rows = re.findall(r'<TR><TD [^>]*?HREF="[^"]*"(?: PORT="f(\d+)")?>(.*?)</TD></TR>', m.group(2), re.S)
        if not rows:
            continue
        nodes[m.group(1)] = (unescape(rows[0][1]), {port: unescape(text) for port, text in rows[1:]})
    tables = {}
    for name, ports in nodes.values():
        tables.setdefault(name, []).extend(ports[p] for p in sorted(ports, key=int))
    edges = []
    for m in re.finditer(r"^\ttable(\d+):f(\d+) -> table(\d+):f(\d+);$", dot, re.M):
        a, b = nodes.get(m.group(1)), nodes.get(m.group(3))
        if a and b and m.group(2) in a[1] and m.group(4) in b[1]:
            edges.append((a[0], a[1][m.group(2)], b[0], b[1][m.group(4)]))
    return tables, edges


def norm(text):
    """The whitespace normal form that texts are compared in: runs of white
    space one space, each paragraph break one "\\n" with no space beside it,
    spaces trimmed. An empty paragraph stays visible (two breaks in a row, or
    one at either end)."""
    text = re.sub(r"[^\S\n]+", " ", text)
    return re.sub(r" ?\n ?", "\n", text).strip(" ")


def shown_text(html):
    """The text of a comment's HTML as a reader sees it: links as their text,
    <p></p> a paragraph break, the line breaks of the HTML white space."""
    if html is None:
        return ""
    text = re.sub(r'<a href="[^"]*">', "", html).replace("</a>", "")
    text = re.sub(r"\s+", " ", text).replace("<p></p>", "\n")
    return norm(unescape(text))


def catalog_text(comment):
    """A catalog comment as it is to be shown: the author's line breaks, a
    single one a wrap (a space), a blank line (or several) a paragraph break;
    every other character as it is."""
    if comment is None:
        return ""
    paragraphs = re.split(r"\n[^\S\n]*\n\s*", comment.strip())
    return norm("\n".join(re.sub(r"\s+", " ", p) for p in paragraphs))


def shown_name(name):
    """A name as the document's text writes it: every white-space byte a space."""
    return re.sub(r"[\t\n\v\f\r]", " ", name)


# ---------------------------------------------------------------------------
# One input: load, dump, run, compare


class Input:
    def __init__(self, name, dialect, path, fixture=None):
        self.name, self.dialect, self.path, self.fixture = name, dialect, path, fixture
        self.db = "t_" + re.sub(r"[^a-z0-9]+", "_", name.lower()).strip("_")[:50]
        self.notes = []


DIALECT_NAMES = {"postgres": "PostgreSQL", "mysql": "MySQL/MariaDB", "sqlite": "SQLite"}
FORMS = (("file", "the hand-written file"), ("dump", "the database's dump of it"))
# What a run may differ in, in the order the report lists them.
KINDS = (("run", "the run (status, output)"), ("tables", "tables and columns"),
         ("order", "the columns' order"), ("keys", "foreign keys"),
         ("catalog", "catalog comments"), ("docs", "documentation from the file's comments"))


class Result:
    """What the two programs showed of one text (a file or its dump)."""

    def __init__(self, inp, form):
        self.inp, self.form = inp, form
        self.mismatches = []  # (kind, text)

    def differ(self, kind, text):
        self.mismatches.append((kind, text))

    @property
    def label(self):
        return "%s (%s)" % (self.inp.name, self.form)


def run_program(prog, dialect, path):
    r = run([prog, "-d", dialect, path], stdin=subprocess.DEVNULL, timeout=120)
    return r.returncode, r.stdout.decode("utf-8", errors="surrogateescape"), \
        r.stderr.decode("utf-8", errors="replace")


def entries(catalog):
    """(key, table, column or None, catalog comment) of every table and column."""
    for t, info in catalog["tables"].items():
        yield t, t, None, info["comment"]
        for c in info["columns"]:
            yield "%s.%s" % (t, c), t, c, info["column_comments"].get(c)


def compare(inp, form, text_path, catalog, docs, tabledoc, tablegraph, keep_dir=None):
    """Runs both programs on one text and compares with the catalog. `docs`:
    {"t": TEXT, "t.c": TEXT}, the documentation that the text must show
    before the catalog comments; None for a corpus input, whose own
    documentation is not known."""
    res = Result(inp, form)
    dialect = inp.dialect
    cat_tables = catalog["tables"]

    status_d, html, err_d = run_program(tabledoc, dialect, text_path)
    status_g, dot, err_g = run_program(tablegraph, dialect, text_path)
    if keep_dir:
        base = os.path.join(keep_dir, "%s.%s" % (inp.db, form))
        for ext, out in (("html", html), ("dot", dot)):
            with open(base + "." + ext, "w", encoding="utf-8", errors="surrogateescape") as f:
                f.write(out)
    for prog, status, out, err in (("tabledoc", status_d, html, err_d), ("tablegraph", status_g, dot, err_g)):
        if status != 0:
            res.differ("run", "%s -d %s: status %d: %s"
                       % (prog, dialect, status, (err.strip().splitlines() or [""])[0]))
        elif not out:
            res.differ("run", "%s -d %s: status 0 without output" % (prog, dialect))
    if res.mismatches:
        return res
    doc = parse_document(html)
    graph_tables, edges = parse_graph(dot)

    # Tables and columns, in the document and in the graph; the columns'
    # order in the graph, whose ports number them in declaration order.
    want = {shown_name(t): {shown_name(c) for c in info["columns"]} for t, info in cat_tables.items()}
    for t in sorted(set(want) - set(doc)):
        res.differ("tables", "table %s: in the catalog, not in the document" % t)
    for t in sorted(set(doc) - set(want)):
        res.differ("tables", "table %s: in the document, not in the catalog" % t)
    for t in sorted(set(want) & set(doc)):
        for c in sorted(want[t] - set(doc[t]["columns"])):
            res.differ("tables", "column %s.%s: in the catalog, not in the document" % (t, c))
        for c in sorted(set(doc[t]["columns"]) - want[t]):
            res.differ("tables", "column %s.%s: in the document, not in the catalog" % (t, c))
    for t in sorted(set(cat_tables) | set(graph_tables)):
        have, cat = graph_tables.get(t), cat_tables.get(t, {}).get("columns")
        if have is None or cat is None or sorted(have) != sorted(cat):
            res.differ("tables", "graph: table %s has columns %s, the catalog %s"
                       % (t, have if have is not None else "(none)", cat if cat is not None else "(none)"))
        elif have != cat:
            res.differ("order", "graph: the columns of %s in the order %s, the catalog's order is %s"
                       % (t, have, cat))

    # Foreign keys: one link and one edge per column pair.
    fk_want = {tuple(k) for k in catalog["foreign_keys"]}
    fk_doc = set()
    for t, info in doc.items():
        for c, col in info["columns"].items():
            for link in col["links"]:
                fk_doc.add((t, c) + split_link(link, doc))
    fk_shown = {tuple(shown_name(x) for x in k) for k in fk_want}
    for k in sorted(fk_shown - fk_doc):
        res.differ("keys", "foreign key %s.%s -> %s.%s: in the catalog, not in the document" % k)
    for k in sorted(fk_doc - fk_shown):
        res.differ("keys", "foreign key %s.%s -> %s.%s: in the document, not in the catalog" % k)
    edge_set = set(edges)
    for k in sorted(fk_want - edge_set):
        res.differ("keys", "graph: no edge for the foreign key %s.%s -> %s.%s" % k)
    for k in sorted(edge_set - fk_want):
        res.differ("keys", "graph: edge %s.%s -> %s.%s that the catalog does not have" % k)

    # Each entry's text: its documentation, then the catalog comment.
    only_catalog = form == "dump" and dialect != "sqlite"  # pg_dump and mysqldump keep no comments
    for key, t, c, comment in entries(catalog):
        entry = doc.get(shown_name(t))
        if entry is not None and c is not None:
            entry = entry["columns"].get(shown_name(c))
        if entry is None:
            continue  # missing, said above
        have = shown_text(entry["comment"])
        cat = catalog_text(comment)
        ends = have == cat or (bool(cat) and have.endswith("\n" + cat))
        if docs is None and not only_catalog:
            if cat and not ends:
                res.differ("catalog", "text of %s: %s, which does not end with the catalog comment %s"
                           % (key, json.dumps(have[:300]), json.dumps(cat[:300])))
            continue
        doc_text = norm((docs or {}).get(key, "")).strip("\n")
        expected = "\n".join(p for p in (doc_text, cat) if p)
        if have != expected:
            res.differ("catalog" if cat and not ends else "docs",
                       "text of %s: %s, expected %s" % (key, json.dumps(have[:300]), json.dumps(expected[:300])))
    return res


def split_link(text, doc):
    """A link's text "table.column" as (table, column), where the table's
    name may hold dots itself (schema.table)."""
    for k in range(len(text)):
        if text[k] == "." and text[:k] in doc and text[k + 1:] in doc[text[:k]]["columns"]:
            return (text[:k], text[k + 1:])
    k = text.rfind(".")
    return (text[:k], text[k + 1:]) if k >= 0 else (text, "")


# ---------------------------------------------------------------------------
# Inputs


def corpus_inputs(corpus):
    """The corpus files with their dialect, from the table of the folder's README."""
    out = []
    readme = os.path.join(corpus, "README.md")
    if not os.path.exists(readme):
        return out
    with open(readme, encoding="utf-8") as f:
        for line in f:
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            if len(cells) >= 2 and cells[0].endswith(".sql") and cells[-1] in DIALECTS:
                path = os.path.join(corpus, cells[0])
                if os.path.exists(path):
                    out.append(Input(cells[0], cells[-1], path))
    return sorted(out, key=lambda i: (DIALECTS.index(i.dialect), i.name))


def fixture_inputs(fixtures):
    out = []
    for dialect in DIALECTS:
        folder = os.path.join(fixtures, dialect)
        if not os.path.isdir(folder):
            continue
        for name in sorted(os.listdir(folder)):
            if name.endswith(".sql"):
                path = os.path.join(folder, name)
                with open(path[:-4] + ".json", encoding="utf-8") as f:
                    expected = json.load(f)
                out.append(Input("%s/%s" % (dialect, name[:-4]), dialect, path, expected))
    return out


def read_expectations(path):
    """Corpus inputs with known differences, "NAME FORM reason" per line."""
    known = {}
    if path and os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                line = line.split("#", 1)[0].strip()
                if line:
                    name, form, *why = line.split(None, 2)
                    known[(name, form)] = why[0] if why else ""
    return known


FIXTURE_KEYS = {"tables", "foreign_keys", "docs", "dump_docs", "refused", "known"}


def check_fixture(inp, catalog, refused):
    """The fixture's catalog as its .json says, and docs that name its
    entries; a list of problems."""
    exp = inp.fixture
    problems = ["unknown key %s in the .json" % k for k in sorted(set(exp) - FIXTURE_KEYS)]
    if exp.get("refused"):
        return problems + ([] if refused else ["the database accepted it, the fixture says it refuses it"])
    if refused:
        return problems + ["the database refused it: %s" % refused]
    want_tables = {t: {"columns": v.get("columns", []), "comment": v.get("comment"),
                       "column_comments": v.get("column_comments", {})}
                   for t, v in exp.get("tables", {}).items()}
    want_fks = sorted(map(list, {tuple(k) for k in exp.get("foreign_keys", [])}))
    if catalog["tables"] != want_tables:
        problems.append("catalog tables %s, the fixture says %s"
                        % (json.dumps(catalog["tables"], sort_keys=True, ensure_ascii=False),
                           json.dumps(want_tables, sort_keys=True, ensure_ascii=False)))
    if catalog["foreign_keys"] != want_fks:
        problems.append("catalog foreign keys %s, the fixture says %s" % (catalog["foreign_keys"], want_fks))
    keys = {key for key, _, _, _ in entries(catalog)}
    for field in ("docs", "dump_docs"):
        for key in sorted(set(exp.get(field, {})) - keys):
            problems.append("%s names %s, which the catalog does not have" % (field, json.dumps(key)))
    return problems


# ---------------------------------------------------------------------------


def shapes_tables(statement):
    """Whether a statement makes, changes or documents a table: an error there
    leaves the catalog short of what the file says."""
    text = re.sub(r"^(?:\s+|--[^\n]*\n?|#[^\n]*\n?|/\*.*?\*/)*", "", statement, flags=re.S)
    head = re.findall(r"[a-z_]+", text[:300].lower())[:5]
    return (head[:1] in (["create"], ["alter"], ["drop"]) and ("table" in head or "schema" in head)) \
        or head[:2] == ["comment", "on"] or head[:2] == ["set", "search_path"]


def load(server, inp):
    """Loads the input; returns None, or why the database refuses it. A corpus
    file that fails only in statements that touch no table (a function that a
    newer server rejects, an INSERT into a table of another file) is loaded
    again past its errors and kept, with a note."""
    errors = server.load(inp.db, inp.path)
    if not errors or inp.fixture is not None:
        return "; ".join(e for _, e in errors) or None
    inp.db += "_c"
    errors = server.load(inp.db, inp.path, stop=False)
    for statement, message in errors:
        if statement is None or shapes_tables(statement):
            return message
    inp.notes.append("loaded past %d errors in statements that touch no table, the first: %s"
                     % (len(errors), errors[0][1]))
    return None


def print_tables(results, title):
    """The runs that show exactly what the database holds, per dialect and
    form; then, where some do not, what the others differ in."""
    dialects = [d for d in DIALECTS if any(r.inp.dialect == d for r in results)]
    if not dialects:
        return
    print(title)
    print()
    print("Runs that show exactly what the database holds:")
    print()
    print("| input | %s |" % " | ".join(DIALECT_NAMES[d] for d in dialects))
    print("|---|" + "---|" * len(dialects))
    for form, label in FORMS:
        cells = []
        for d in dialects:
            rs = [r for r in results if r.inp.dialect == d and r.form == form]
            cells.append("%d of %d" % (sum(not r.mismatches for r in rs), len(rs)))
        print("| %s | %s |" % (label, " | ".join(cells)))
    print()
    if all(not r.mismatches for r in results):
        return
    columns = [(d, form) for d in dialects for form, _ in FORMS]
    print("Runs that differ, by what they differ in:")
    print()
    print("| differs in | %s |" % " | ".join("%s %s" % (DIALECT_NAMES[d], form) for d, form in columns))
    print("|---|" + "---|" * len(columns))
    for kind, label in KINDS:
        cells = [str(sum(any(k == kind for k, _ in r.mismatches) for r in results
                         if r.inp.dialect == d and r.form == form)) for d, form in columns]
        print("| %s | %s |" % (label, " | ".join(cells)))
    print()


def process(inp, server, args, out_dir):
    """Loads, dumps and compares one input: (messages, results, failures)."""
    said, results, failures = [], [], []
    began = time.monotonic()
    refused = load(server, inp)
    catalog = server.catalog(inp.db) if not refused else None
    if inp.fixture is not None:
        failures += ["%s: %s" % (inp.name, p) for p in check_fixture(inp, catalog, refused)]
        if refused:
            if args.verbose:
                said.append("%s: refused, as the fixture says: %s" % (inp.name, refused))
            return said, results, failures
    elif refused:
        said.append("%s: refused by the database, left out: %s" % (inp.name, refused))
        return said, results, failures
    said += ["%s: %s" % (inp.name, note) for note in inp.notes]
    dump = os.path.join(out_dir, inp.db + ".dump.sql")
    server.dump(inp.db, dump)
    # What the dump says is what the database holds after running the dump,
    # which may differ from the original (pg_dump cannot write an inherited
    # table's column order). A MySQL file's other databases would collide
    # with themselves, so their dump is held to the original.
    dump_catalog = catalog
    if not getattr(server, "created", {}).get(inp.db):
        again = dump
        if inp.dialect == "sqlite":
            # .schema writes sqlite_sequence, which SQLite makes itself and
            # refuses to be made.
            again = dump + ".again"
            with open(dump, "rb") as f, open(again, "wb") as g:
                g.write(re.sub(rb"(?m)^CREATE TABLE sqlite_sequence\(name,seq\);\n", b"", f.read()))
        errors = server.load(inp.db + "_d", again)
        if errors:
            said.append("%s: its dump does not load again, held to the original catalog: %s"
                        % (inp.name, errors[0][1]))
        else:
            dump_catalog = server.catalog(inp.db + "_d")
    for form, path, cat in (("file", inp.path, catalog), ("dump", dump, dump_catalog)):
        docs = None
        if inp.fixture is not None:
            docs = inp.fixture.get("docs", {}) if form == "file" else \
                inp.fixture.get("dump_docs", {}) if inp.dialect == "sqlite" else {}
        res = compare(inp, form, path, cat, docs, args.tabledoc, args.tablegraph,
                      out_dir if args.keep else None)
        results.append(res)
        if args.verbose:
            said.append("%s: %s" % (res.label, "ok" if not res.mismatches else
                                    "%d differences" % len(res.mismatches)))
            said += ["    " + m for _, m in res.mismatches]
    if args.verbose:
        said.append("%s: %.1f s" % (inp.name, time.monotonic() - began))
    if args.keep:
        with open(os.path.join(out_dir, inp.db + ".catalog.json"), "w", encoding="utf-8") as f:
            json.dump(catalog, f, indent=1, sort_keys=True, ensure_ascii=False)
    return said, results, failures


STOPPING = threading.Event()


def run_dialect(dialect, kind, inputs, args, work, out_dir, servers):
    """Starts the dialect's server and goes through its inputs, in order:
    {input name: (messages, results, failures)}."""
    server = kind(os.path.join(work, dialect))
    servers[dialect] = server
    server.start()
    done = {}
    for inp in inputs:
        if STOPPING.is_set():
            break
        done[inp.name] = process(inp, server, args, out_dir)
    return done


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--tabledoc", required=True)
    ap.add_argument("--tablegraph", required=True)
    ap.add_argument("--work", required=True, help="folder for the servers' data, the dumps and the outputs")
    ap.add_argument("--mode", choices=("check", "report"), default="check")
    ap.add_argument("--strict", action="store_true",
                    help="fail on differences between the programs and the catalog")
    ap.add_argument("--verbose", action="store_true")
    ap.add_argument("--only", help="only the inputs whose name holds this text")
    ap.add_argument("--keep", action="store_true",
                    help="keep the work folder (databases, dumps, catalogs, outputs)")
    ap.add_argument("--fixtures", default=os.path.join(SOURCE, "tests", "dialect"))
    ap.add_argument("--corpus", default=os.path.join(os.path.dirname(SOURCE), "shared", "corpus"))
    ap.add_argument("--expect", default=os.path.join(SOURCE, "tests", "dialect", "known-differences"))
    args = ap.parse_args()

    inputs = fixture_inputs(args.fixtures) + corpus_inputs(os.path.abspath(args.corpus))
    if args.only:
        inputs = [i for i in inputs if args.only in i.name]
    known = read_expectations(args.expect)
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    out_dir = os.path.join(work, "out")
    shutil.rmtree(out_dir, ignore_errors=True)
    os.makedirs(out_dir)

    def on_signal(signum, _frame):
        STOPPING.set()  # the threads stop after the input they are on
        raise SystemExit(128 + signum)
    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, on_signal)

    # The three databases work side by side, one thread each: nearly all of
    # the time is spent waiting for their programs.
    started = time.monotonic()
    servers = {}
    done = {}
    try:
        pool = concurrent.futures.ThreadPoolExecutor(max_workers=3)
        jobs = [pool.submit(run_dialect, dialect, kind, [i for i in inputs if i.dialect == dialect],
                            args, work, out_dir, servers)
                for dialect, kind in (("postgres", Postgres), ("mysql", MariaDB), ("sqlite", SQLite))
                if any(i.dialect == dialect for i in inputs)]
        try:
            for job in jobs:
                done.update(job.result())
        except Skip as e:
            print("skipped: %s" % e)
            return SKIP
        finally:
            pool.shutdown(wait=True, cancel_futures=True)
    finally:
        for server in list(servers.values()):
            server.stop()
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)

    failures, results = [], []
    for inp in inputs:
        said, res, fail = done[inp.name]
        for line in said:
            print(line)
        results += res
        failures += fail
    elapsed = time.monotonic() - started
    corpus = [r for r in results if r.inp.fixture is None]
    fixtures = [r for r in results if r.inp.fixture is not None]
    differing = [r for r in results if r.mismatches]
    if args.mode == "report":
        print()
        print_tables(fixtures, "The fixtures (%d inputs):" % len({r.inp.name for r in fixtures}))
        print_tables(corpus, "The corpus (%d inputs):" % len({r.inp.name for r in corpus}))
    print("%d runs of %d inputs compared with their catalogs in %.1f s: %d with differences"
          % (len(results), len({r.inp.name for r in results}), elapsed, len(differing)))
    # A fixture may say what the programs are known not to do ("known":
    # why); its differences are counted, and listed, but fail nothing.
    def expected(r):
        if r.inp.fixture is not None:
            return bool(r.inp.fixture.get("known"))
        return (r.inp.name, r.form) in known
    unknown = [r for r in differing if not expected(r)]
    for r in differing:
        if r.inp.fixture is not None and r.inp.fixture.get("known"):
            print("known: %s: %s (%d differences)" % (r.label, r.inp.fixture["known"], len(r.mismatches)))
    if args.strict:
        failures += ["%s: %d differences, the first: %s" % (r.label, len(r.mismatches), r.mismatches[0][1])
                     for r in unknown]
    elif unknown and args.mode == "check":
        print("(not strict: the differences of %d runs do not fail the test; --verbose lists them)"
              % len(unknown))
    for f in failures:
        print("FAIL " + f)
    return 1 if failures and args.mode == "check" else 0


if __name__ == "__main__":
    sys.exit(main())
