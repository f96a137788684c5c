#!/usr/bin/env python3
"""The databases as the reference for the -d readings of tabledoc and tablegraph.

usage: db_test.py --tabledoc PATH --tablegraph PATH --work DIR
                  [--mode check|report] [--strict] [--verbose] [--only NAME] [--keep]
                  [--fixtures DIR] [--corpus DIR] [--expect FILE]

Starts private servers (PostgreSQL through initdb and pg_ctl, MariaDB through
mariadb-install-db and mariadbd, both on Unix sockets only, their data under
--work) and loads each input into a database of its own: the corpus files of
each dialect (the dialect column of the corpus README says which) and the
fixtures under --fixtures (postgres/, mysql/, sqlite/: NAME.sql with NAME.json).
A file that its database refuses is reported and left out. Then it writes the
database's dump (pg_dump --schema-only, mysqldump --no-data, sqlite3 .schema),
reads the catalog into a normal form

  {"tables": {NAME: {"columns": [...], "comment": TEXT|null,
                     "column_comments": {COL: TEXT}}},
   "foreign_keys": [[TABLE, COLUMN, TARGET_TABLE, TARGET_COLUMN], ...]}

(the default schema left off, other schemas as schema.table), runs both
programs with -d on the file and on the dump, and compares tables, columns,
foreign-key pairs and comments with what the document and the graph show.

A fixture's .json is the catalog it must give, checked in every mode; it may
also say {"refused": true} (the database must refuse the file) and give
"file_comments": {"t": TEXT, "t.c": TEXT}, the file's own comments that this
harness must find in it.

--mode check (the default): exit 1 on a fixture whose catalog is not its
.json; with --strict also on any difference between the programs and the
catalog, for the fixtures and for every corpus input that --expect does not
list as a known difference. --mode report prints, per kind of input, runs
that succeed, foreign keys linked, catalog comments shown and the file's own
comments shown. Exits 77 (skipped) when a database program is missing or a
server cannot start.
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
        self.create(db)
        stopping = ["-v", "ON_ERROR_STOP=1", "--single-transaction"] if stop else []
        r = run(self.psql_argv(db) + stopping + ["-f", path])
        return errors_at(r.stderr, r"^psql:.*?:(\d+): ERROR: ")

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
            WHERE k.contype = 'f' AND k.conrelid IN (%s)""" % tables)

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

    def load(self, db, path, stop=True):
        r = run(self.client_argv() + ["-e", "CREATE DATABASE `%s`" % db])
        if r.returncode != 0:
            raise RuntimeError(r.stderr.decode(errors="replace"))
        with open(path, "rb") as f:
            r = run(self.client_argv(db) + ([] if stop else ["--force"]), stdin=f)
        return errors_at(r.stderr, r"^ERROR \d+ \(\w+\) at line (\d+)") or \
            ([(0, first_error(r.stderr))] if r.returncode else [])

    def dump(self, db, out):
        with open(out, "wb") as f:
            r = run([self.mysqldump, "--no-defaults", "-S", self.sock, "-u", "root", "--no-data", db],
                    stdout=f, stderr=subprocess.PIPE, capture_output=False)
        if r.returncode != 0:
            raise RuntimeError("mysqldump: " + r.stderr.decode(errors="replace"))

    def rows(self, db, query):
        r = run(self.client_argv(db) + ["-N", "-B", "-r", "-e", query])
        if r.returncode != 0:
            raise RuntimeError(r.stderr.decode(errors="replace"))
        return [json.loads(line) for line in r.stdout.decode().splitlines() if line]

    def catalog(self, db):
        cols = self.rows(db, """
            SELECT JSON_ARRAY(t.TABLE_NAME, t.TABLE_COMMENT, c.COLUMN_NAME, c.COLUMN_COMMENT)
            FROM information_schema.TABLES t LEFT JOIN information_schema.COLUMNS c
              ON c.TABLE_SCHEMA = t.TABLE_SCHEMA AND c.TABLE_NAME = t.TABLE_NAME
            WHERE t.TABLE_SCHEMA = DATABASE() AND t.TABLE_TYPE = 'BASE TABLE'
            ORDER BY t.TABLE_NAME, c.ORDINAL_POSITION""")
        fks = self.rows(db, """
            SELECT JSON_ARRAY(TABLE_NAME, COLUMN_NAME, REFERENCED_TABLE_SCHEMA, REFERENCED_TABLE_NAME,
                              REFERENCED_COLUMN_NAME)
            FROM information_schema.KEY_COLUMN_USAGE
            WHERE TABLE_SCHEMA = DATABASE() AND REFERENCED_TABLE_NAME IS NOT NULL""")
        out = {"tables": {}, "foreign_keys": []}
        for table, comment, col, col_comment in cols:
            t = out["tables"].setdefault(table, new_table(comment))
            if col is not None:
                add_column(t, col, col_comment)
        for table, col, tschema, ttable, tcol in fks:
            target = ttable if tschema == db else tschema + "." + ttable
            out["foreign_keys"].append([table, col, target, tcol])
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
        return errors_at(r.stderr, r"^(?:Parse error|Runtime error|Error)(?: near line (\d+))?:") or \
            ([(0, first_error(r.stderr or r.stdout))] if r.returncode else [])

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


def errors_at(err, pattern):
    """[(line, message)] of the errors in a client's messages, line counted
    from 1 (0 when the message gives none)."""
    out = []
    for ln in err.decode(errors="replace").splitlines():
        m = re.match(pattern, ln)
        if m:
            out.append((int(m.group(1) or 0), ln.strip()))
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
# The file's own comments: a small tokenizer per dialect that finds the
# comments in front of each CREATE TABLE and each column definition, and the
# one at the end of a column's own line.

BOILERPLATE = re.compile(r"""^(?:\ -{20,}\s*   # mysqldump's rule under its header
    | \s*(?:
      Name:\ .*;\ Type:\ .*;\ Schema:\ .*   # pg_dump's header of each object
    | (?:PostgreSQL\ database\ dump(?:\ complete)?|TOC\ entry\ .*|Dumped\ (?:from|by)\ .*)
    | (?:MySQL|MariaDB)\ dump\ .*
    | Host:\ .*Database:\ .* | Server\ version\b.*
    | Table\ structure\ for\ table\ .* | (?:Temporary|Final)\ (?:table\ )?(?:view\ )?structure\ for\ view\ .*
    | Dumping\ (?:data|routines|events)\ for\ .* | Dump\ completed.* | Current\ Database:\ .*
    | No\ STAT\ tables\ available
    )\s*)$""", re.X | re.S)

# The words that begin a table constraint rather than a column, unquoted.
# Some are names elsewhere: PostgreSQL's EXCLUDE is one only when USING or
# "(" follows (a column may be called exclude), KEY and INDEX are MySQL's.
CONSTRAINT_WORDS = {"constraint", "primary", "unique", "check", "foreign", "like"}
CONSTRAINT_WORDS_OF = {"postgres": set(), "sqlite": set(), "mysql": {"key", "index", "fulltext", "spatial"}}


def is_constraint(first, second, dialect):
    if first.kind != "word":
        return False
    word = first.text.lower()
    if word in CONSTRAINT_WORDS or word in CONSTRAINT_WORDS_OF[dialect]:
        return True
    follows = second.text.lower() if second is not None else ""
    return (dialect == "postgres" and word == "exclude" and follows in ("using", "(")) or \
        (dialect == "mysql" and word == "period" and follows == "for")


class Tok:
    __slots__ = ("kind", "text", "line", "end_line", "body", "quoted")

    def __init__(self, kind, text, line, end_line, body=None, quoted=False):
        self.kind, self.text, self.line, self.end_line = kind, text, line, end_line
        self.body, self.quoted = body, quoted


def tokens(text, dialect):
    """Tokens of `text`: word, name (quoted), string, punct, comment (body =
    its text, or None for MySQL's executable comments) and meta (a psql
    command line)."""
    i, n, line = 0, len(text), 0
    word = re.compile(r"[A-Za-z0-9_$\x80-\U0010ffff]+")
    at_line_start = True
    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
            at_line_start = True
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        start, start_line = i, line
        if c == "\\" and dialect == "postgres" and at_line_start:
            j = text.find("\n", i)
            j = n if j < 0 else j
            yield Tok("meta", text[i:j], line, line)
            i = j
            continue
        at_line_start = False
        line_comment = (text.startswith("--", i) and (dialect != "mysql" or i + 2 >= n or text[i + 2] in " \t\r\n\f\v")) \
            or (c == "#" and dialect == "mysql")
        if line_comment:
            j = text.find("\n", i)
            j = n if j < 0 else j
            body = text[i + (1 if c == "#" else 2):j]
            yield Tok("comment", text[i:j], line, line, body if body.strip() else body + "\n")
            i = j
            continue
        if text.startswith("/*", i):
            depth, j = 1, i + 2
            while j < n and depth:
                if text.startswith("*/", j):
                    depth -= 1
                    j += 2
                elif dialect == "postgres" and text.startswith("/*", j):
                    depth += 1
                    j += 2
                else:
                    j += 1
            raw = text[i:j]
            line += raw.count("\n")
            executable = dialect == "mysql" and (raw.startswith("/*!") or raw.startswith("/*M!"))
            yield Tok("comment", raw, start_line, line, None if executable else block_body(raw[2:-2]))
            i = j
            continue
        m = word.match(text, i)
        if m and not (c == "$" and dialect == "postgres"):
            w = m.group()
            j = m.end()
            if j < n and text[j] == "'" and w.lower() in ("e", "x", "b", "n", "u&", "_utf8mb4", "_binary"):
                pass  # a prefixed string: lexed as a string below
            else:
                yield Tok("word", w, line, line)
                i = j
                continue
            i = j
            c = "'"
        if c == "$" and dialect == "postgres":
            m = re.compile(r"\$([A-Za-z_][A-Za-z0-9_]*)?\$").match(text, i)
            if m:
                j = text.find(m.group(), m.end())
                j = n if j < 0 else j + len(m.group())
                line += text.count("\n", i, j)
                yield Tok("string", text[start:j], start_line, line)
                i = j
                continue
            m = word.match(text, i + 1)
            j = m.end() if m else i + 1
            yield Tok("word", text[i:j], line, line)
            i = j
            continue
        quotes = {"postgres": "'\"", "sqlite": "'\"`[", "mysql": "'\"`"}[dialect]
        if c in quotes:
            close = "]" if c == "[" else c
            backslash = dialect == "mysql" and c in "'\"" or (dialect == "postgres" and text[start] in "eE")
            j = i + 1
            while j < n:
                if backslash and text[j] == "\\":
                    j += 2
                    continue
                if text[j] == close:
                    if close != "]" and j + 1 < n and text[j + 1] == close:
                        j += 2
                        continue
                    break
                j += 1
            j = min(j + 1, n)
            line += text.count("\n", i, j)
            is_name = c in "`[" or (c == '"' and dialect != "mysql")
            body = text[i + 1:j - 1]
            if close != "]":
                body = body.replace(close * 2, close)
            yield Tok("name" if is_name else "string", body if is_name else text[start:j],
                      start_line, line, quoted=is_name)
            i = j
            continue
        yield Tok("punct", c, line, line)
        i += 1


def block_body(body):
    """A block comment's text as the reader's tokenizer rewrites it: line
    breaks become spaces, an empty line or a framed blank line a paragraph
    break, the margin and one frame '*' of each continuation line go."""
    lines = body.split("\n")
    out = [lines[0]]
    for ln in lines[1:]:
        stripped = ln.lstrip()
        if stripped.startswith("*") and not stripped.startswith("*/"):
            stripped = stripped[1:]
            out.append("\n" if not stripped.strip() else " " + stripped)
        elif ln == "" or ln == "\r":
            out.append("\n")
        else:
            out.append(" " + stripped)
    return "".join(out)


def name_of(tok, dialect):
    if tok.quoted:
        return tok.text
    return tok.text.lower() if dialect == "postgres" else tok.text


def docstring(comments):
    parts = [c.body for c in comments if c.body is not None and not BOILERPLATE.match(c.body)]
    text = "".join(parts)
    return text if text.strip() else None


def statements(toks):
    """Statements as lists of tokens (comments included), cut at ';' and at
    psql command lines."""
    cur = []
    for t in toks:
        if t.kind == "meta":
            if cur:
                yield cur
            cur = []
        elif t.kind == "punct" and t.text == ";":
            yield cur
            cur = []
        else:
            cur.append(t)
    if cur:
        yield cur


_TOKENS = {}


def file_tokens(path, dialect):
    """The tokens of a file, read once for every use."""
    key = (path, dialect)
    if key not in _TOKENS:
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            _TOKENS[key] = list(tokens(f.read(), dialect))
    return _TOKENS[key]


def statement_starts(toks):
    """[(line counted from 1, first words)] of each statement, in order."""
    out = []
    for st in statements(toks):
        code = [t for t in st if t.kind != "comment"]
        if code:
            out.append((code[0].line + 1, [t.text.lower() for t in code[:6] if t.kind == "word"]))
    return out


def statement_at(starts, line):
    """The first words of the statement that covers `line`."""
    words = []
    for start, w in starts:
        if start > line:
            break
        words = w
    return words


def shapes_tables(words):
    """Whether a statement beginning with `words` makes, changes or documents
    a table: an error there leaves the catalog short of what the file says."""
    head = words[:5]
    return (head[:1] in (["create"], ["alter"], ["drop"]) and ("table" in head or "schema" in head)) \
        or head[:2] == ["comment", "on"] or head[:2] == ["set", "search_path"]


def own_comments(toks, dialect):
    """{"t": docstring, "t.c": docstring} for the tables and columns that
    the file documents with comments of its own, by the names that the
    statements give them (a schema kept as written, see table_key)."""
    found = {}
    schema = None  # the first schema of PostgreSQL's search_path, when not public
    for st in statements(toks):
        lead = []
        k = 0
        while k < len(st) and st[k].kind == "comment":
            lead.append(st[k])
            k += 1
        code = [t for t in st[k:] if t.kind != "comment"]
        words = [t.text.lower() if t.kind == "word" else None for t in code]
        if dialect == "postgres" and words[:2] == ["set", "search_path"]:
            path = [name_of(t, dialect) for t in code[2:] if t.kind in ("word", "name")
                    and t.text.lower() != "to"]
            schema = path[0] if path and path[0] != "public" else None
            continue
        if dialect == "postgres" and "set_config" in words and any(
                t.kind == "string" and t.text == "'search_path'" for t in code):
            schema = None
            continue
        if not words or words[0] != "create":
            continue
        j = 1
        while j < len(words) and words[j] in ("or", "replace", "global", "local", "unlogged"):
            j += 1
        if j < len(words) and words[j] in ("temp", "temporary", "virtual", "foreign"):
            continue
        if j >= len(words) or words[j] != "table":
            continue
        j += 1
        if words[j:j + 3] == ["if", "not", "exists"]:
            j += 3
        parts = [name_of(code[j], dialect)]
        j += 1
        while j + 1 < len(code) and code[j].kind == "punct" and code[j].text == ".":
            parts.append(name_of(code[j + 1], dialect))
            j += 2
        if len(parts) == 1 and schema and dialect == "postgres":
            parts.insert(0, schema)
        if parts[0] in ("public", "main") and len(parts) == 2:
            parts = parts[1:]
        table = ".".join(parts)
        doc = docstring(lead)
        if doc is not None:
            found[table] = doc
        # The column list: the tokens from the '(' after the name, comments kept.
        pos = st.index(code[j]) if j < len(code) else len(st)
        if pos >= len(st) or st[pos].kind != "punct" or st[pos].text != "(":
            continue
        for col, doc in column_docs(st[pos + 1:], dialect):
            found[table + "." + col] = doc
    return found


def column_docs(toks, dialect):
    """(column, docstring) for the items of a column list: the comments in
    front of an item, and those on the line where it ends."""
    items = []  # [first token, last token, leading comments, trailing comments, second token]
    depth = 0
    pending = []
    cur = None
    last = None  # the item that ended last, open for comments on its line
    for t in toks:
        if t.kind == "comment":
            if depth:
                continue
            if last is not None and t.line == last[1].end_line:
                last[3].append(t)
            else:
                pending.append(t)
            continue
        if t.kind == "punct" and t.text == "(":
            depth += 1
        elif t.kind == "punct" and t.text == ")":
            if depth == 0:
                break
            depth -= 1
        elif depth == 0 and t.kind == "punct" and t.text == ",":
            if cur is not None:
                last, cur = cur, None
            continue
        if cur is None:
            if last is not None and t.line == last[1].end_line and last[3]:
                # What came after the last item on its line leads into this one.
                pending = last[3] + pending
                last[3] = []
            cur = [t, t, pending, [], None]
            pending = []
            items.append(cur)
            last = None
        if cur[4] is None and cur[0] is not t:
            cur[4] = t
        cur[1] = t
        if depth == 0:
            last = cur
    for first, _, lead, trail, second in items:
        if is_constraint(first, second, dialect):
            continue
        if first.kind not in ("word", "name"):
            continue
        doc = docstring(lead + trail)
        if doc is not None:
            yield name_of(first, dialect), doc


# ---------------------------------------------------------------------------
# What the programs show

ENTITIES = {"&quot;": '"', "&amp;": "&", "&lt;": "<", "&gt;": ">", "&#x201c;": "\u201c",
            "&#x201d;": "\u201d", "&#8211;": "\u2013", "&#8212;": "\u2014"}


def unescape(text):
    return re.sub(r"&(?:quot|amp|lt|gt|#x201c|#x201d|#8211|#8212);", lambda m: ENTITIES[m.group()], text)


def parse_document(html):
    """{table: {"comment": TEXT|None, "columns": {col: {"comment": .., "links": [text]}}}},
    comments as rendered HTML, names unescaped, in the order written."""
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
                text = "\n".join(lines[i + 1:j])
                owner["comment"] = text[len(indent) + 1:] if text.startswith(indent + "\t") else text
                i = j
                break
        i += 1
    return doc


def parse_graph(dot):
    """({table: [columns]}, [(table, column, target table, target column)])."""
    nodes = {}
    for m in re.finditer(r'^\ttable(\d+) \[shape=none; label=<<TABLE[^>]*>\n(.*?)\n\t\t</TABLE>>\];$',
                         dot, re.M | re.S):
        rows = re.findall(r'<TR><TD [^>]*?HREF="[^"]*"(?: PORT="f(\d+)")?>(.*?)</TD></TR>', m.group(2), re.S)
        if not rows:
            continue
        name = unescape(rows[0][1])
        nodes[m.group(1)] = (name, {port: unescape(text) for port, text in rows[1:]})
    tables = {}
    for name, ports in nodes.values():
        tables.setdefault(name, []).extend(ports.values())
    edges = []
    for m in re.finditer(r"^\ttable(\d+):f(\d+) -> table(\d+):f(\d+);$", dot, re.M):
        a, b = nodes.get(m.group(1)), nodes.get(m.group(3))
        if a and b and m.group(2) in a[1] and m.group(4) in b[1]:
            edges.append((a[0], a[1][m.group(2)], b[0], b[1][m.group(4)]))
    return tables, edges


def rendered_text(html):
    """A rendered docstring as text: links reduced to their text, paragraph
    breaks as newlines."""
    text = re.sub(r'<a href="[^"]*">', "", html).replace("</a>", "").replace("<p></p>", "\n")
    return squash(unescape(text))


def markup_text(s):
    """The text that the document's markup makes of docstring `s`: escapes,
    paragraph breaks, typographic quotes and dashes, references and links
    reduced to their text."""
    out = []
    i, n = 0, len(s)

    def escaped(k):
        return k > 0 and s[k - 1] == "\\"
    while i < n:
        c = s[i]
        if c == "\\":
            if escaped(i):
                out.append("\\")
            i += 1
        elif escaped(i):
            out.append(" " if c.isspace() else c)
            i += 1
        elif c == "\n":
            out.append("\n")
            i += 1
        elif s.startswith("``", i):
            out.append("\u201c")
            i += 2
        elif s.startswith("''", i):
            out.append("\u201d")
            i += 2
        elif s.startswith("---", i):
            out.append("\u2014")
            i += 3
        elif s.startswith("--", i):
            out.append("\u2013")
            i += 2
        elif c == "@":
            if i + 1 < n and s[i + 1] == '"':
                j = s.find('"', i + 2)
                name, i = (s[i + 2:], n) if j < 0 else (s[i + 2:j], j + 1)
            else:
                m = re.compile(r'[^\s(),;]*').match(s, i + 1)
                name, i = m.group(), m.end()
            out.append(name.replace("\n", " ") if name else "@")
        elif c == "[":
            j = s.find("]", i + 1)
            label = s[i + 1:] if j < 0 else s[i + 1:j]
            i = n if j < 0 else j + 1
            if j >= 0 and i < n and s[i] == "(":
                k = s.find(")", i + 1)
                i = n if k < 0 else k + 1
            out.append(label)
        else:
            out.append(" " if c.isspace() else c)
            i += 1
    return squash("".join(out))


def squash(text):
    """Runs of white space as one space, paragraph breaks (with the spaces
    around them, and runs of them) as one newline, none at either end."""
    text = re.sub(r"[ \t\r\f\v]+", " ", text)
    text = re.sub(r" ?\n[\n ]*", "\n", text)
    return text.strip(" \n")


# ---------------------------------------------------------------------------
# One input: load, dump, run, compare


class Input:
    def __init__(self, name, dialect, path, fixture=None):
        self.name, self.dialect, self.path, self.fixture = name, dialect, path, fixture
        self.db = "t_" + re.sub(r"[^a-z0-9]+", "_", name.lower()).strip("_")[:50]
        self.notes = []


KIND = {("postgres", "file"): "PostgreSQL schema files", ("postgres", "dump"): "pg_dump --schema-only",
        ("mysql", "file"): "MySQL schema files", ("mysql", "dump"): "mysqldump --no-data",
        ("sqlite", "file"): "SQLite schema files", ("sqlite", "dump"): "sqlite3 .schema"}


class Result:
    """What one program pair showed of one text (a file or its dump)."""

    def __init__(self, inp, form):
        self.inp, self.form = inp, form
        self.ok = False
        self.fk_total = self.fk_linked = 0
        self.cat_total = self.cat_shown = 0
        self.own_total = self.own_shown = 0
        self.extra = 0
        self.mismatches = []

    @property
    def label(self):
        return "%s (%s)" % (self.inp.name, self.form)


def run_program(prog, dialect, path):
    r = run([prog, "-d", dialect, path], stdin=subprocess.DEVNULL, timeout=120)
    return r.returncode, r.stdout.decode("utf-8", errors="surrogateescape"), \
        r.stderr.decode("utf-8", errors="replace")


def shown_name(name):
    """A name as the document's text writes it: every white-space byte a space."""
    return re.sub(r"[\t\n\v\f\r]", " ", name)


def compare(inp, form, text_path, catalog, own, tabledoc, tablegraph):
    res = Result(inp, form)
    miss = res.mismatches
    dialect = inp.dialect
    cat_tables = catalog["tables"]
    res.fk_total = len(catalog["foreign_keys"])
    for t, info in cat_tables.items():
        res.cat_total += (info["comment"] is not None) + len(info["column_comments"])
    own = {k: v for k, v in own.items() if squash(markup_text(v))}
    res.own_total = len(own)

    status_d, html, err_d = run_program(tabledoc, dialect, text_path)
    status_g, dot, err_g = run_program(tablegraph, dialect, text_path)
    for prog, status, out, err in (("tabledoc", status_d, html, err_d), ("tablegraph", status_g, dot, err_g)):
        if status != 0:
            miss.append("%s -d %s: status %d: %s" % (prog, dialect, status, (err.strip().splitlines() or [""])[0]))
        elif not out:
            miss.append("%s -d %s: status 0 without output" % (prog, dialect))
    res.ok = status_d == 0 and status_g == 0 and bool(html) and bool(dot)
    doc = parse_document(html) if status_d == 0 else {}
    graph_tables, edges = parse_graph(dot) if status_g == 0 else ({}, [])
    if not res.ok:
        return res

    # Tables and columns, in the document and in the graph.
    want = {shown_name(t): {shown_name(c) for c in info["columns"]} for t, info in cat_tables.items()}
    for t in sorted(set(want) - set(doc)):
        miss.append("table %s: in the catalog, not in the document" % t)
    for t in sorted(set(doc) - set(want)):
        miss.append("table %s: in the document, not in the catalog" % t)
        res.extra += 1 + len(doc[t]["columns"])
    for t in sorted(set(want) & set(doc)):
        for c in sorted(want[t] - set(doc[t]["columns"])):
            miss.append("column %s.%s: in the catalog, not in the document" % (t, c))
        for c in sorted(set(doc[t]["columns"]) - want[t]):
            miss.append("column %s.%s: in the document, not in the catalog" % (t, c))
            res.extra += 1
    graph_want = {t: sorted(info["columns"]) for t, info in cat_tables.items()}
    graph_have = {t: sorted(cols) for t, cols in graph_tables.items()}
    for t in sorted(set(graph_want) | set(graph_have)):
        if graph_want.get(t) != graph_have.get(t):
            miss.append("graph: table %s has columns %s, the catalog %s"
                        % (t, graph_have.get(t, "(none)"), graph_want.get(t, "(none)")))

    # Foreign keys: one link per column pair.
    fk_want = {tuple(k) for k in catalog["foreign_keys"]}
    fk_doc = set()
    for t, info in doc.items():
        for c, col in info["columns"].items():
            for link in col["links"]:
                fk_doc.add((t, c) + split_link(link, doc))
    fk_want_shown = {(shown_name(a), shown_name(b), shown_name(c), shown_name(d)) for a, b, c, d in fk_want}
    res.fk_linked = len(fk_want_shown & fk_doc)
    for k in sorted(fk_want_shown - fk_doc):
        miss.append("foreign key %s.%s -> %s.%s: in the catalog, not in the document" % k)
    for k in sorted(fk_doc - fk_want_shown):
        miss.append("foreign key %s.%s -> %s.%s: in the document, not in the catalog" % k)
    edge_set = set(edges)
    for k in sorted(fk_want - edge_set):
        miss.append("graph: no edge for the foreign key %s.%s -> %s.%s" % k)
    for k in sorted(edge_set - fk_want):
        miss.append("graph: edge %s.%s -> %s.%s that the catalog does not have" % k)

    # Comments: the file's own first, a paragraph break, then the catalog's.
    owners = []
    for t, info in cat_tables.items():
        owners.append((t, doc.get(shown_name(t), {}).get("comment"), info["comment"], own.get(t)))
        cols = doc.get(shown_name(t), {}).get("columns", {})
        for c in info["columns"]:
            owners.append(("%s.%s" % (t, c), cols.get(shown_name(c), {}).get("comment"),
                           info["column_comments"].get(c), own.get("%s.%s" % (t, c))))
    for key, shown, cat_text, own_text in owners:
        have = rendered_text(shown) if shown is not None else ""
        parts = [markup_text(p) for p in (own_text, cat_text) if p is not None]
        parts = [p for p in parts if p]
        expected = squash("\n".join(parts))
        if cat_text is not None and markup_text(cat_text) and contains(have, markup_text(cat_text)):
            res.cat_shown += 1
        if own_text is not None and contains(have, markup_text(own_text)):
            res.own_shown += 1
        if have != expected:
            miss.append("comment of %s: the document shows %s, expected %s"
                        % (key, json.dumps(have[:300]), json.dumps(expected[:300])))
    return res


def contains(have, part):
    return bool(part) and part in have


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


def check_fixture(inp, catalog, refused, own):
    """The fixture's catalog and comments as its .json says; a list of problems."""
    exp = inp.fixture
    if exp.get("refused"):
        return [] if refused else ["the database accepted it, the fixture says it refuses it"]
    if refused:
        return ["the database refused it: %s" % refused]
    problems = []
    got = {"tables": catalog["tables"], "foreign_keys": catalog["foreign_keys"]}
    want_tables = {t: {"columns": v.get("columns", []), "comment": v.get("comment"),
                       "column_comments": v.get("column_comments", {})}
                   for t, v in exp.get("tables", {}).items()}
    want_fks = sorted(map(list, {tuple(k) for k in exp.get("foreign_keys", [])}))
    if got["tables"] != want_tables:
        problems.append("catalog tables %s, the fixture says %s" % (json.dumps(got["tables"], sort_keys=True),
                                                                    json.dumps(want_tables, sort_keys=True)))
    if got["foreign_keys"] != want_fks:
        problems.append("catalog foreign keys %s, the fixture says %s" % (got["foreign_keys"], want_fks))
    if "file_comments" in exp:
        mine = {k: squash(markup_text(v)) for k, v in own.items()}
        want = {k: squash(markup_text(v)) for k, v in exp["file_comments"].items()}
        if mine != want:
            problems.append("the file's own comments found %s, the fixture says %s"
                            % (json.dumps(mine, sort_keys=True), json.dumps(want, sort_keys=True)))
    return problems


# ---------------------------------------------------------------------------


def load(server, inp):
    """Loads the input; returns None, or why the database refuses it. A file
    that fails only in statements that touch no table (a function that a
    newer server rejects, an INSERT into a table of another file) is loaded
    again past its errors and kept, with a note."""
    errors = server.load(inp.db, inp.path)
    if not errors or inp.fixture is not None:
        return "; ".join(e for _, e in errors) or None
    inp.db += "_c"
    errors = server.load(inp.db, inp.path, stop=False)
    starts = statement_starts(file_tokens(inp.path, inp.dialect))
    for line, message in errors:
        words = statement_at(starts, line) if line else []
        if not line or shapes_tables(words):
            return message
    inp.notes.append("loaded past %d errors in statements that touch no table, the first: %s"
                     % (len(errors), errors[0][1]))
    return None


def print_table(results, title):
    print(title)
    print()
    print("| input | runs that succeed | foreign keys linked | catalog comments shown | "
          "the file's own comments shown | entries the catalog does not have |")
    print("|---|---|---|---|---|---|")
    for (dialect, form), kind in KIND.items():
        rs = [r for r in results if r.inp.dialect == dialect and r.form == form]
        if not rs:
            continue
        cat = "—" if dialect == "sqlite" else "%d of %d" % (sum(r.cat_shown for r in rs), sum(r.cat_total for r in rs))
        own = "—" if form == "dump" and dialect != "sqlite" else \
            "%d of %d" % (sum(r.own_shown for r in rs), sum(r.own_total for r in rs))
        print("| %s | %d of %d | %d of %d | %s | %s | %d |" % (
            kind, sum(r.ok for r in rs), len(rs), sum(r.fk_linked for r in rs), sum(r.fk_total for r in rs),
            cat, own, sum(r.extra for r in rs)))
    print()


def process(inp, server, args, out_dir):
    """Loads, dumps and compares one input: (messages, results, failures)."""
    said, results, failures = [], [], []
    began = time.monotonic()
    refused = load(server, inp)
    own_file = own_comments(file_tokens(inp.path, inp.dialect), inp.dialect)
    if inp.fixture is not None:
        catalog = server.catalog(inp.db) if not refused else None
        failures += ["%s: %s" % (inp.name, p) for p in check_fixture(inp, catalog, refused, own_file)]
        if refused:
            if args.verbose:
                said.append("%s: refused, as the fixture says: %s" % (inp.name, refused))
            return said, results, failures
    elif refused:
        said.append("%s: refused by the database, left out: %s" % (inp.name, refused))
        return said, results, failures
    else:
        catalog = server.catalog(inp.db)
    said += ["%s: %s" % (inp.name, note) for note in inp.notes]
    dump = os.path.join(out_dir, inp.db + ".dump.sql")
    server.dump(inp.db, dump)
    for form, path in (("file", inp.path), ("dump", dump)):
        own = own_file
        if form == "dump":
            own = {}  # pg_dump and mysqldump keep none of the file's comments
            if inp.dialect == "sqlite":  # sqlite3 keeps those inside CREATE TABLE
                own = own_comments(file_tokens(path, inp.dialect), inp.dialect)
        res = compare(inp, form, path, catalog, own, args.tabledoc, args.tablegraph)
        results.append(res)
        if args.verbose:
            said.append("%s: %s" % (res.label, "ok" if not res.mismatches else
                                    "%d differences" % len(res.mismatches)))
            said += ["    " + m for m in res.mismatches]
    if args.verbose:
        said.append("%s: %.1f s" % (inp.name, time.monotonic() - began))
    if args.keep:
        with open(os.path.join(out_dir, inp.db + ".catalog.json"), "w", encoding="utf-8") as f:
            json.dump(catalog, f, indent=1, sort_keys=True, ensure_ascii=False)
    return said, results, failures


def run_dialect(dialect, kind, inputs, args, work, out_dir, servers):
    """Starts the dialect's server and goes through its inputs, in order:
    {input name: (messages, results, failures)}."""
    server = kind(os.path.join(work, dialect))
    servers[dialect] = server
    server.start()
    return {inp.name: process(inp, server, args, out_dir) for inp in inputs}


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
    ap.add_argument("--keep", action="store_true", help="keep the work folder (databases, dumps, outputs)")
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
        print_table(corpus, "The corpus (%d inputs):" % len({r.inp.name for r in corpus}))
        print_table(fixtures, "The fixtures (%d inputs):" % len({r.inp.name for r in fixtures}))
    print("%d runs of %d inputs compared with their catalogs in %.1f s: %d with differences"
          % (len(results), len({r.inp.name for r in results}), elapsed, len(differing)))
    unknown = [r for r in differing if r.inp.fixture is not None or (r.inp.name, r.form) not in known]
    if args.strict:
        failures += ["%s: %d differences, the first: %s" % (r.label, len(r.mismatches), r.mismatches[0])
                     for r in unknown]
    elif unknown and args.mode == "check":
        print("(not strict: the differences of %d runs do not fail the test; --verbose lists them)"
              % len(unknown))
    for f in failures:
        print("FAIL " + f)
    return 1 if failures and args.mode == "check" else 0


if __name__ == "__main__":
    sys.exit(main())
