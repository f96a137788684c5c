#!/usr/bin/env python3
"""Writes a large schema in one of two shapes that real schemas take, for the benchmark.

    gen_realistic.py TABLES [--shape realistic|wide] [-o FILE] [--seed N]

gen_schema.py writes the "plain" shape: short, distinct names and short
comments. The shapes here differ from it where the programs' costs differ:

realistic
    TABLES tables of 5 to 40 columns (most of them narrow: 14 on average).
    About 1.8 MB per 1,000 tables. Table names are drawn from a vocabulary
    (qualifier_object_noun, sometimes under a module prefix or with a suffix),
    so that many share long prefixes: archived_phone_employee,
    archived_phone_event, ... Column names likewise (billing_address_city,
    billing_address_line_1, ...; foreign-key columns take the name of their
    target table). Some names are quoted, in double and in single quotes, a
    few of them with spaces and capitals. Comments of both kinds stand in
    front of most tables and columns: framed /* */ blocks with '*' margins,
    runs of -- lines, one-line blocks, several paragraphs, with @table and
    @table.column references, links, dashes, ``quotes'' and a backslash
    escape now and then. Foreign keys are inline REFERENCES clauses and
    table-level FOREIGN KEY clauses, to tables before and after (near and far)
    and to the table itself; about one in 400 names a table that the schema
    does not hold (an external one), as real dumps do, and draws a warning.
    Between the tables: CREATE INDEX, CREATE VIEW, CREATE TRIGGER, INSERT
    with long string literals, UPDATE, ALTER, COMMENT ON, GRANT, PRAGMA,
    BEGIN and COMMIT.

wide
    Wide tables: 40 to 300 columns each (110 on average), twice the foreign
    keys, and long comments (up to eight paragraphs on a table, up to three on
    a column); the same vocabulary, markup and statements. About 18.6 MB per
    1,000 tables: one wide table weighs about as much as ten realistic ones.

The output depends only on the arguments: the same arguments give the same
bytes. Both programs read every file with exit status 0. On standard error
they write the notes "ignoring non-table creation" (indexes, views, triggers)
and "unknown foreign key table" (the external targets), nothing else. The
names avoid the prefix rule of the grammar: no column name is a prefix of
UNIQUE or FOREIGN, no word or string inside a column definition is a prefix of
REFERENCES, no string in a statement is ";" alone, and a FOREIGN KEY (x)
clause names a column that no other column name of its table begins with.

Standard library only.
"""

import argparse
import os
import random
import sys

from gen_schema import TEAMS, TOPICS, is_keyword_prefix, wrap

MODULES = ["app", "core", "crm", "erp", "hr", "ops", "bi", "web", "sync", "legacy"]

QUALIFIERS = [
    "archived", "pending", "active", "staged", "draft", "approved", "external", "internal",
    "daily", "monthly", "yearly", "regional", "global", "customer", "supplier", "employee",
    "partner", "public", "private", "shared", "scheduled", "imported", "exported", "cached",
    "billing", "shipping", "account", "product", "order", "service",
]

OBJECTS = [
    "phone", "email", "address", "contact", "invoice", "payment", "price", "stock",
    "shipment", "document", "message", "ticket", "contract", "report", "session", "audit",
    "budget", "schedule", "review", "rating", "discount", "tax", "currency", "location",
    "device", "license", "subscription", "campaign", "delivery", "return", "warranty",
    "inspection", "import", "export", "sync", "queue", "batch", "balance", "transfer", "claim",
]

NOUNS = [
    "account", "activity", "address", "adjustment", "agent", "allocation", "alert", "approval",
    "assignment", "attachment", "attempt", "balance", "batch", "booking", "branch", "bucket",
    "category", "change", "channel", "charge", "check", "comment", "config", "count",
    "credit", "customer", "day", "debit", "default", "detail", "employee", "entry",
    "error", "event", "exception", "export", "field", "file", "flag", "group",
    "header", "history", "hold", "item", "job", "journal", "key", "label",
    "limit", "line", "link", "list", "lock", "log", "mapping", "member",
    "metric", "note", "notice", "owner", "period", "plan", "policy", "position",
    "preference", "profile", "queue", "range", "receipt", "record", "request", "response",
    "result", "role", "rule", "run", "score", "setting", "snapshot", "source",
    "state", "status", "step", "summary", "tag", "target", "task", "template",
    "threshold", "token", "total", "type", "unit", "usage", "user", "value",
    "version", "window",
]

SUFFIXES = ["history", "log", "archive", "snapshot", "staging", "backup", "v2", "v3", "tmp", "old"]

# Column vocabulary: role prefixes and fields (name, type, constraint choices).
COL_ROLES = [
    "billing", "shipping", "primary", "secondary", "home", "work", "mobile", "contact",
    "owner", "approver", "last", "first", "next", "previous", "default", "original",
    "current", "target", "source", "display", "legal", "internal", "external", "local",
]

FIELDS = [
    ("address_line_1", "VARCHAR(255)", ["NOT NULL", None]),
    ("address_line_2", "VARCHAR(255)", [None]),
    ("address_city", "VARCHAR(100)", [None, "NOT NULL"]),
    ("address_postal_code", "VARCHAR(20)", [None]),
    ("address_country_code", "CHAR(2)", ["NOT NULL DEFAULT 'DE'", None]),
    ("phone_number", "VARCHAR(32)", [None, "DEFAULT 'unknown'"]),
    ("phone_extension", "VARCHAR(8)", [None]),
    ("email_address", "VARCHAR(320)", ["UNIQUE", None, "CHECK (email_address LIKE '%@%')"]),
    ("email_verified_at", "TIMESTAMP", [None]),
    ("name", "VARCHAR(255)", ["NOT NULL", "COLLATE NOCASE"]),
    ("name_normalized", "VARCHAR(255)", [None]),
    ("amount", "NUMERIC(12, 2)", ["NOT NULL DEFAULT 0", "CHECK (amount >= 0)"]),
    ("amount_currency", "CHAR(3)", ["NOT NULL DEFAULT 'EUR'"]),
    ("date", "DATE", [None]),
    ("date_local", "TIMESTAMP WITH TIME ZONE", [None]),
    ("status", "VARCHAR(16)", ["NOT NULL DEFAULT 'new' CHECK (status IN ('new', 'open', 'closed'))", None]),
    ("status_changed_at", "TIMESTAMP", [None]),
    ("code", "VARCHAR(40)", ["UNIQUE", "NOT NULL"]),
    ("count", "INTEGER", ["NOT NULL DEFAULT 0 CHECK (count >= 0)"]),
    ("limit", "INTEGER", [None, "DEFAULT 100"]),
    ("note", "TEXT", [None]),
    ("flag", "BOOLEAN", ["NOT NULL DEFAULT FALSE"]),
    ("score", "DOUBLE PRECISION", [None, "DEFAULT 0.0"]),
    ("version", "INTEGER", ["NOT NULL DEFAULT 1"]),
    ("label", "VARCHAR(80)", [None, "DEFAULT ''"]),
    ("url", "TEXT", [None, "CHECK (url LIKE 'https://%')"]),
    ("timezone", "VARCHAR(64)", ["DEFAULT 'UTC'"]),
    ("locale", "VARCHAR(10)", ["NOT NULL DEFAULT 'en_GB'"]),
    ("position", "INTEGER", [None]),
    ("latitude", "NUMERIC(9, 6)", ["CHECK (latitude BETWEEN -90 AND 90)", None]),
    ("longitude", "NUMERIC(9, 6)", ["CHECK (longitude BETWEEN -180 AND 180)", None]),
]

COMMON = [
    ("created_at", "TIMESTAMP", ["NOT NULL DEFAULT CURRENT_TIMESTAMP"]),
    ("created_by", "VARCHAR(64)", [None]),
    ("updated_at", "TIMESTAMP", [None, "DEFAULT CURRENT_TIMESTAMP"]),
    ("updated_by", "VARCHAR(64)", [None]),
    ("deleted_at", "TIMESTAMP", [None]),
    ("is_active", "BOOLEAN", ["NOT NULL DEFAULT TRUE"]),
    ("description", "TEXT", [None, "DEFAULT ''"]),
    ("external_id", "UUID", ["UNIQUE", None]),
    ("payload", "JSONB", ["NOT NULL DEFAULT '{}'", None]),
    ("checksum", "BYTEA", [None]),
    ('"order"', "INTEGER", ["NOT NULL DEFAULT 0"]),
    ('"group"', "VARCHAR(50)", [None]),
    ('"Display Name"', "VARCHAR(120)", [None]),
    ("'sort key'", "VARCHAR(64)", [None]),
]

ON_ACTION = ["", "", "", " ON DELETE CASCADE", " ON DELETE SET NULL", " ON UPDATE CASCADE",
             " ON DELETE RESTRICT ON UPDATE CASCADE", " DEFERRABLE INITIALLY DEFERRED"]
EXTERNAL = ["ext_partner_directory", "ext_country", "ext_currency_rate", "ext_user_directory"]

# Comment sentences. {n}: a noun of the table; {o}: another noun; {r}, {r2}:
# references; {u}: a URL; {t}: a topic; {m}: a team.
TABLE_SENTENCES = [
    "One row per {n}, created when the first {o} arrives.",
    "Rows are never deleted; a closed {n} keeps its history.",
    "Written by the import job and read by the nightly reports.",
    "See {r} for the owning record.",
    "Kept in step with {r} by the synchronisation service -- never edit it by hand.",
    "The ``current'' value only --- earlier ones live in {r}.",
    "Amounts are stored in the smallest currency unit -- cents for EUR.",
    "Described in detail in [the design notes]({u}).",
    "Follows the rules of [{t}]({u}); ask the {m} team before changing it.",
    "Replaces the old {o} table, which stays read-only until the migration ends.",
    "Each {n} belongs to exactly one {o}; see {r} and {r2} for the rules.",
    "Filled in lazily: NULL means ``not computed yet''.",
    "Mirrors {r} and {r2}, which must agree.",
    "Timestamps are UTC; the client converts them for display.",
    "Changing this requires a data migration, see [{u}].",
    "Used by the {m} dashboards -- ask before renaming anything here.",
    "Partitioned by month; the partitions older than two years are moved to cold storage.",
    "The \\@owner tag in old rows is a leftover of the 2017 import; ignore it.",
    "Everything here is derived from {r}: drop and rebuild rather than patch.",
    "Sensitive: holds personal data covered by [{t}]({u}) --- access is logged.",
]

COLUMN_SENTENCES = [
    "Primary key.",
    "Shown to the customer as is.",
    "NULL until the {n} is confirmed.",
    "Refers to {r}, the owning row.",
    "Must be unique within a {o}.",
    "Free text, at most a paragraph.",
    "In cents; see {r} for the currency.",
    "Set by the database on insert.",
    "Soft delete marker -- rows with a value here are hidden.",
    "Lower case ASCII, used in URLs.",
    "ISO 3166 code, see [the list]({u}).",
    "Kept for the ``legacy'' export only.",
    "Optimistic locking counter; every update adds one.",
    "Defaults to the owner's setting in {r} (when set).",
    "Copied from {r} when the {n} is created --- not kept in step afterwards.",
    "Between 0 and 1; values outside come from the 2019 import.",
    "Same meaning as {r}.",
]

FILLER = [
    "Values are checked by the service before they are stored.",
    "The history is kept for seven years, as the auditors require.",
    "A row is archived when its owner closes it, never deleted, so that totals stay reproducible.",
    "Most reads go through the reporting replica, which lags by a few seconds.",
    "Imports from the old system filled this in without validation, so expect odd values before 2019.",
    "Rows that fail validation are moved to the quarantine area instead of being rejected.",
    "If in doubt, ask in the #data-model channel before adding an index.",
]


LOREM = ("the quick brown fox jumps over the lazy dog while the customer's order waits in the queue "
         "and nobody -- not even the night shift -- knows why /* this */ happened; see the ticket "
         "for the details of what the service logged at the time").split(" ")




def check_vocabulary():
    for name, _, cons in FIELDS + COMMON:
        bare = name.strip("\"'")
        assert not is_keyword_prefix(bare, "unique") and not is_keyword_prefix(bare, "foreign"), name
        for c in cons:
            for w in (c or "").replace("(", " ").replace(")", " ").replace(",", " ").split():
                assert not is_keyword_prefix(w.strip("'"), "references"), (name, c)
    for w in QUALIFIERS + OBJECTS + NOUNS + COL_ROLES + [f for f, _, _ in FIELDS]:
        assert not is_keyword_prefix(w, "references") and w not in ("i", "if"), w


class Table:
    __slots__ = ("name", "sql", "ref_sql", "noun", "has_id", "columns")

    def __init__(self, name, sql, ref_sql, noun, has_id):
        self.name = name        # as the programs see it
        self.sql = sql          # as written in CREATE TABLE
        self.ref_sql = ref_sql  # as written after REFERENCES
        self.noun = noun
        self.has_id = has_id
        self.columns = []       # bare column names, for references in comments


class Generator:
    def __init__(self, ntables, seed, wide):
        self.r = random.Random(f"tabledoc-bench-realistic:{seed}:{ntables}:{wide}")
        self.ntables = ntables
        self.wide = wide
        # Columns per table: lo + (hi - lo) * x ** skew for x uniform in [0, 1)
        # (most tables narrow, a few wide); comments: the share of tables or
        # columns with one, the chance of a single paragraph, else their most
        # paragraphs, most sentences per paragraph, and the chance of a filler
        # sentence at the end of a paragraph.
        if wide:
            self.ncols = (40, 300, 2.5)
            self.table_doc = (0.95, 0.2, 8, 4, 0.4)
            self.col_doc = (0.75, 0.7, 3, 2, 0.2)
        else:
            self.ncols = (5, 40, 3)
            self.table_doc = (0.85, 0.6, 3, 2, 0.2)
            self.col_doc = (0.55, 0.9, 2, 1, 0.05)
        self.tables = []
        self.make_tables()

    # -- names ------------------------------------------------------------------

    def make_tables(self):
        r = self.r
        used = set()
        for _ in range(self.ntables):
            q, o, n = r.choice(QUALIFIERS), r.choice(OBJECTS), r.choice(NOUNS)
            name = f"{q}_{o}_{n}"
            if r.random() < 0.2:
                name = f"{r.choice(MODULES)}_{name}"
            if name in used or r.random() < 0.1:
                name = f"{name}_{r.choice(SUFFIXES)}"
            k = 2
            base = name
            while name in used:
                name = f"{base}_{k}"
                k += 1
            x = r.random()
            if x < 0.02:
                # A display name: spaces and capitals, so always quoted.
                name = name.replace("_", " ").title()
                while name in used:
                    name += " X"
                q1 = '"' if r.random() < 0.6 else "'"
                q2 = '"' if r.random() < 0.6 else "'"
                sql, ref_sql = f"{q1}{name}{q1}", f"{q2}{name}{q2}"
            elif x < 0.05:
                sql, ref_sql = f'"{name}"', name
            elif x < 0.07:
                sql, ref_sql = f"'{name}'", f'"{name}"'
            else:
                sql = ref_sql = name
            used.add(name)
            self.tables.append(Table(name, sql, ref_sql, n, r.random() < 0.93))
        self.with_id = [i for i, t in enumerate(self.tables) if t.has_id]

    def pick_target(self, i):
        """A table with an id column: the table itself, a near neighbour before or after, or any."""
        r = self.r
        x = r.random()
        if x < 0.05 and self.tables[i].has_id:
            return i
        if x < 0.6:
            lo, hi = max(0, i - 80), min(self.ntables - 1, i + 80)
            for _ in range(8):
                j = r.randint(lo, hi)
                if self.tables[j].has_id:
                    return j
        return r.choice(self.with_id)

    # -- comments -----------------------------------------------------------------

    def ref(self, near):
        r = self.r
        j = min(self.ntables - 1, max(0, near + r.randint(-50, 50)))
        t = self.tables[j]
        x = r.random()
        quoted = " " in t.name or x < 0.08
        if t.columns and x < 0.5:
            c = r.choice(t.columns)
            return f'@"{t.name}.{c}"' if quoted or " " in c else f"@{t.name}.{c}"
        return f'@"{t.name}"' if quoted else f"@{t.name}"

    def sentence(self, templates, i):
        r = self.r
        t = self.tables[i]
        return r.choice(templates).format(
            n=t.noun, o=r.choice(NOUNS), r=self.ref(i), r2=self.ref(i),
            u=f"https://wiki.example.com/{r.choice(OBJECTS)}/{t.noun}#s{r.randint(1, 99)}",
            t=r.choice(TOPICS), m=r.choice(TEAMS))

    def paragraph(self, templates, i, max_sentences, filler):
        r = self.r
        parts = [self.sentence(templates, i) for _ in range(r.randint(1, max_sentences))]
        if r.random() < filler:
            parts.append(r.choice(FILLER))
        return " ".join(parts)


    def comment(self, templates, i, indent, doc):
        """A comment in one of five styles, ending with a newline; `doc` as
        self.table_doc."""
        r = self.r
        _, single, max_paragraphs, max_sentences, filler = doc
        n = 1 if r.random() < single else r.randint(1, max_paragraphs)
        paras = [self.paragraph(templates, i, max_sentences, filler) for _ in range(n)]
        style = r.random()
        out = []
        if style < 0.45:  # a run of -- lines, "--" alone between paragraphs
            for k, p in enumerate(paras):
                if k:
                    out.append(f"{indent}--\n")
                out.extend(f"{indent}-- {line}\n" for line in wrap(p, 76))
        elif style < 0.8:  # framed block, '*' margin
            out.append(f"{indent}/**\n" if style < 0.6 else f"{indent}/*\n")
            for k, p in enumerate(paras):
                if k:
                    out.append(f"{indent} *\n")
                out.extend(f"{indent} * {line}\n" for line in wrap(p, 76))
            out.append(f"{indent} */\n")
        elif style < 0.88:  # open block, empty line between paragraphs
            body = "\n\n".join("\n".join(f"{indent}   {line}" for line in wrap(p, 76)) for p in paras)
            out.append(f"{indent}/*{body[len(indent) + 2:]}\n{indent}*/\n")
        elif style < 0.95:  # one-line block
            out.append(f"{indent}/* {' '.join(paras)} */\n")
        else:  # two comments in a row: they join into one text
            out.append(f"{indent}-- {paras[0]}\n{indent}/* {' '.join(paras[1:]) or 'See above.'} */\n")
        return "".join(out)

    # -- statements ---------------------------------------------------------------

    def column_defs(self, i):
        """The items of table i: a list of (column name as written, definition) and
        a list of table-level items."""
        r = self.r
        t = self.tables[i]
        bare = set()
        items = []
        fk_clauses = []
        if t.has_id:
            bare.add("id")
            items.append(("id", r.choice(["id INTEGER PRIMARY KEY", "id BIGSERIAL PRIMARY KEY",
                                          "id INTEGER PRIMARY KEY AUTOINCREMENT",
                                          "id UUID PRIMARY KEY DEFAULT gen_random_uuid()"])))
        lo, hi, skew = self.ncols
        ncols = lo + int((hi - lo + 1) * r.random() ** skew)
        nfk = r.choices([0, 1, 2, 3, 4, 6], [15, 30, 25, 15, 10, 5])[0]
        if self.wide:
            nfk *= 2
        if not self.with_id:
            nfk = 0  # no table to refer to
        for _ in range(min(nfk, ncols - len(items))):
            if r.random() < 0.0025:
                tname = tref = r.choice(EXTERNAL)
            else:
                target = self.tables[self.pick_target(i)]
                tname, tref = target.name, target.ref_sql
            name = tname.lower().replace(" ", "_") + "_id"
            if name in bare:
                name = f"{r.choice(COL_ROLES)}_{name}"
            if name in bare:
                continue
            bare.add(name)
            ctype = r.choice(["INTEGER", "BIGINT", "INTEGER NOT NULL", "BIGINT NOT NULL"])
            clause = f"REFERENCES {tref} (id){r.choice(ON_ACTION)}"
            if r.random() < 0.35:
                items.append((name, f"{name} {ctype}"))
                fk_clauses.append((name, clause))
            else:
                items.append((name, f"{name} {ctype} {clause}"))
        # Plain columns: a few roles, each with several fields, and common columns.
        want = ncols - len(items)
        roles = r.sample(COL_ROLES, min(len(COL_ROLES), max(1, want // 4)))
        tries = 0
        while want > 0 and tries < 4 * ncols:
            tries += 1
            if r.random() < 0.25:
                name, ctype, cons = r.choice(COMMON)
                f = name
            else:
                f, ctype, cons = r.choice(FIELDS)
                name = f"{r.choice(roles)}_{f}"
            b = name.strip("\"'")
            if b in bare:
                continue
            bare.add(b)
            c = r.choice(cons)
            if c and b != f:
                c = c.replace(f"CHECK ({f} ", f"CHECK ({name} ")
            items.append((b, f"{name} {ctype}" + (f" {c}" if c else "")))
            want -= 1
        start = 1 if t.has_id else 0
        rest = items[start:]
        r.shuffle(rest)
        items[start:] = rest

        extra = []
        names = [b for b, _ in items]
        if not t.has_id and len(names) >= 2:
            a, b = r.sample(names[:4], 2)
            extra.append(f"PRIMARY KEY ({self.sql_name(a)}, {self.sql_name(b)})")
        for name, clause in fk_clauses:
            # FOREIGN KEY (x) takes the first column, in name order, whose name
            # begins with x: make sure that is x itself, else write it inline.
            if any(o != name and o.startswith(name) for o in names):
                idx = names.index(name)
                items[idx] = (name, f"{items[idx][1]} {clause}")
                continue
            extra.append(f"FOREIGN KEY ({name}) {clause}")
        if len(names) >= 4 and r.random() < 0.3:
            a, b = r.sample(names[1:], 2)
            extra.append(f"UNIQUE ({self.sql_name(a)}, {self.sql_name(b)})")
        if r.random() < 0.1:
            extra.append("CHECK (created_at IS NULL OR updated_at IS NULL OR updated_at >= created_at)")
        r.shuffle(extra)
        t.columns = names
        return items, extra

    @staticmethod
    def sql_name(bare):
        return f'"{bare}"' if bare in ("order", "group", "Display Name", "sort key") else bare

    def table(self, i):
        r = self.r
        t = self.tables[i]
        items, extra = self.column_defs(i)
        out = []
        if r.random() < self.table_doc[0]:
            out.append(self.comment(TABLE_SENTENCES, i, "", self.table_doc))
        x = r.random()
        head = ("CREATE TEMP TABLE" if x < 0.03 else "CREATE TABLE IF NOT EXISTS" if x < 0.15
                else "create table" if x < 0.2 else "CREATE TABLE")
        out.append(f"{head} {t.sql} (\n")
        sep = ""
        for _, text in items:
            out.append(sep)
            if r.random() < self.col_doc[0]:
                out.append(self.comment(COLUMN_SENTENCES, i, "    ", self.col_doc))
            out.append(f"    {text}")
            # A comment after the comma belongs to the next item.
            sep = ",  -- see below\n" if r.random() < 0.03 else ",\n"
        for e in extra:
            out.append(f"{sep}    {e}")
            sep = ",\n"
        out.append("\n) WITHOUT ROWID;\n" if (t.has_id and r.random() < 0.03) else "\n);\n")
        return "".join(out)

    def literal(self, lo, hi):
        """A string literal of lo to hi words, with '' escapes, and comment and
        statement punctuation inside."""
        r = self.r
        words = r.choices(LOREM, k=r.randint(lo, hi))
        return "'" + " ".join(words).replace("'", "''") + "'"

    def between(self, i):
        """Statements other than CREATE TABLE after table i (often none)."""
        r = self.r
        t = self.tables[i]
        cols = [self.sql_name(c) for c in t.columns[:4]]
        out = []
        for _ in range(r.choices([0, 1, 2, 3], [50, 30, 15, 5])[0]):
            kind = r.random()
            if kind < 0.25:
                c = r.sample(cols, min(len(cols), r.randint(1, 2)))
                uniq = "UNIQUE " if r.random() < 0.3 else ""
                where = f" WHERE {c[0]} IS NOT NULL" if r.random() < 0.2 else ""
                out.append(f"CREATE {uniq}INDEX IF NOT EXISTS idx_{t.name.replace(' ', '_')}_{len(out)} "
                           f"ON {t.ref_sql} ({', '.join(c)}){where};\n")
            elif kind < 0.33:
                o = self.tables[self.pick_target(i)]
                out.append(f"-- Joins the {t.noun} rows to their owners.\n"
                           f"CREATE VIEW v_{t.name.replace(' ', '_')} AS\n"
                           f"  SELECT a.{cols[0]}, a.{cols[-1]}, b.id AS owner_id\n"
                           f"  FROM {t.ref_sql} a\n  LEFT JOIN {o.ref_sql} b ON b.id = a.{cols[0]}\n"
                           f"  WHERE a.{cols[-1]} IS NOT NULL;\n")
            elif kind < 0.38:
                out.append(f"CREATE TRIGGER trg_{t.name.replace(' ', '_')}_touch AFTER UPDATE ON {t.ref_sql}\n"
                           f"BEGIN\n  UPDATE {t.ref_sql} SET {cols[-1]} = {cols[-1]} WHERE rowid = NEW.rowid;\n"
                           f"END;\n")
            elif kind < 0.6:
                rows = ",\n  ".join("(" + ", ".join(
                    self.literal(10, 200) if r.random() < 0.3 else r.choice(
                        [str(r.randint(1, 99999)), "NULL", "'O''Brien'", "'a; b'", "'(x, y)'",
                         "CURRENT_TIMESTAMP", "'-- not a comment'", "'/* nor this */'"])
                    for _ in cols) + ")" for _ in range(r.randint(1, 3)))
                out.append(f"INSERT INTO {t.ref_sql} ({', '.join(cols)}) VALUES\n  {rows};\n")
            elif kind < 0.68:
                out.append(f"UPDATE {t.ref_sql} SET {cols[-1]} = NULL WHERE {cols[0]} = {r.randint(1, 999)};\n")
            elif kind < 0.74:
                out.append(f"ALTER TABLE {t.ref_sql} ADD COLUMN extra_{r.randint(1, 9)} TEXT DEFAULT 'n/a';\n")
            elif kind < 0.82:
                out.append(f"COMMENT ON TABLE {t.ref_sql} IS {self.literal(5, 40)};\n")
            elif kind < 0.94:
                out.append(r.choice(["PRAGMA foreign_keys = ON;\n", "PRAGMA journal_mode = WAL;\n",
                                     "BEGIN TRANSACTION;\n", "COMMIT;\n", "ANALYZE;\n",
                                     "SET search_path TO public, audit;\n",
                                     "GRANT SELECT ON ALL TABLES IN SCHEMA public TO reporting;\n"]))
            else:
                out.append(f"DELETE FROM {t.ref_sql} WHERE {cols[0]} IS NULL; -- cleanup\n")
        return "".join(out)

    def write(self, f):
        shape = "wide" if self.wide else "realistic"
        f.write(f"-- Generated schema ({shape}) for the tabledoc/tablegraph benchmark.\n"
                f"-- {self.ntables} tables.\n\nPRAGMA foreign_keys = ON;\nBEGIN TRANSACTION;\n\n")
        for i in range(self.ntables):
            f.write(self.table(i))
            f.write(self.between(i))
            f.write("\n")
        f.write("COMMIT;\n")


def main():
    ap = argparse.ArgumentParser(description="Write a large schema of a realistic shape for the benchmark.")
    ap.add_argument("tables", type=int, help="number of CREATE TABLE statements")
    ap.add_argument("--shape", choices=["realistic", "wide"], default="realistic")
    ap.add_argument("-o", "--output", help="output file (default: standard output)")
    ap.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    args = ap.parse_args()
    if args.tables < 1:
        ap.error("the number of tables must be at least 1")
    check_vocabulary()
    gen = Generator(args.tables, args.seed, args.shape == "wide")
    if args.output:
        tmp = f"{args.output}.tmp{os.getpid()}"
        with open(tmp, "w", encoding="ascii", newline="\n") as f:
            gen.write(f)
        os.replace(tmp, args.output)
    else:
        gen.write(sys.stdout)


if __name__ == "__main__":
    main()
