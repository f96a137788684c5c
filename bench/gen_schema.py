#!/usr/bin/env python3
"""Writes a large, realistic schema for benchmarking tabledoc and tablegraph.

    gen_schema.py TABLES [-o FILE] [--seed N] [--no-index-view] [--dense]

The output depends only on TABLES and the seed: the same arguments give the same
bytes on every run. It holds TABLES uniquely named CREATE TABLE statements of
3 to 20 uniquely named columns each, with

- comments (-- lines and /* */ blocks, some framed, some of several paragraphs,
  some with @table / @table.column references, [links](...), ``quotes'' and
  dashes) before most tables and many columns;
- types with arguments (VARCHAR(255), NUMERIC(12, 2)) and constraints: NOT NULL,
  DEFAULT 'x', PRIMARY KEY, UNIQUE, CHECK (x > 0), COLLATE;
- column-level REFERENCES to tables earlier and later in the file (and to the
  table itself), table-level FOREIGN KEY clauses, UNIQUE (a, b), a few
  table-level PRIMARY KEY (a, b) and CHECK (...) items, TEMP tables, IF NOT
  EXISTS and WITHOUT ROWID;
- INSERT, UPDATE, DROP, ALTER, PRAGMA, BEGIN and COMMIT statements between the
  tables, which the programs pass over without a word.

--dense gives every table 3 to 7 foreign keys (4.7 on average), each to any
table of the file: the shape that makes a layered layout slow.

CREATE INDEX and CREATE VIEW statements stand between the tables too, as in
real schemas; the programs pass over them with the note "ignoring non-table
creation" on standard error. --no-index-view leaves them out.

Both programs accept every file with exit status 0, and say nothing else on
standard error: every foreign key names an existing table and column, no
column has two foreign keys, and no name or value is taken for a keyword (a
name that is a prefix of UNIQUE, FOREIGN or REFERENCES, or a table called I or
IF).

Standard library only.
"""

import argparse
import os
import random
import sys

MODULES = [
    "auth", "billing", "crm", "hr", "inventory", "shipping", "catalog", "audit",
    "payments", "reporting", "support", "marketing", "analytics", "warehouse",
    "finance", "sales", "procurement", "fleet", "legal", "content", "booking",
    "loyalty", "pricing", "tax", "payroll", "training", "compliance", "media",
    "forum", "survey", "events", "clinic", "school", "library", "travel", "energy",
]

NOUNS = [
    "account", "invoice", "invoice_line", "customer", "order", "order_item",
    "product", "supplier", "employee", "department", "shipment", "carrier",
    "bin", "payment", "refund", "ticket", "comment", "campaign", "lead",
    "contact", "address", "region", "currency", "tax_rate", "price_list",
    "session", "role", "permission", "user", "event", "report", "document",
    "contract", "vehicle", "route", "asset", "category", "tag", "attachment",
    "note", "schedule", "shift", "timesheet", "budget", "ledger_entry",
    "journal", "voucher", "coupon", "subscription", "plan", "feature",
    "warehouse", "stock_level", "batch", "lot", "serial_number", "device",
    "location", "site", "team", "project", "task", "milestone", "approval",
    "audit_log", "message", "thread", "notification", "preference", "setting",
    "course", "lesson", "enrollment", "grade", "patient", "appointment",
    "prescription", "room", "reservation", "guest", "membership", "reward",
]

# Ordinary columns: (name, type, constraint choices). A constraint choice is a
# string or None; one is drawn per column.
PLAIN_COLUMNS = [
    ("name", "VARCHAR(255)", ["NOT NULL", "NOT NULL COLLATE NOCASE", None]),
    ("title", "TEXT", ["NOT NULL", None, "DEFAULT 'untitled'"]),
    ("description", "TEXT", [None, "DEFAULT ''"]),
    ("email", "VARCHAR(320)", ["NOT NULL UNIQUE", "UNIQUE", None]),
    ("phone", "VARCHAR(32)", [None, "DEFAULT 'unknown'"]),
    ("status", "VARCHAR(16)", ["NOT NULL DEFAULT 'active'",
                               "DEFAULT 'pending' CHECK (status IN ('pending', 'active', 'closed'))",
                               "NOT NULL CHECK (length(status) > 0)"]),
    ("created_at", "TIMESTAMP", ["NOT NULL DEFAULT CURRENT_TIMESTAMP", "NOT NULL"]),
    ("updated_at", "TIMESTAMP", [None, "DEFAULT CURRENT_TIMESTAMP"]),
    ("deleted_at", "TIMESTAMP", [None]),
    ("amount", "NUMERIC(12, 2)", ["NOT NULL CHECK (amount >= 0)", "DEFAULT 0", None]),
    ("quantity", "INTEGER", ["NOT NULL DEFAULT 1 CHECK (quantity > 0)", "CHECK (quantity >= 0)"]),
    ("unit_price", "NUMERIC(10, 4)", ["NOT NULL", "CHECK (unit_price > 0)"]),
    ("currency_code", "CHAR(3)", ["NOT NULL DEFAULT 'EUR'", "DEFAULT 'USD'"]),
    ("is_active", "BOOLEAN", ["NOT NULL DEFAULT TRUE", "DEFAULT FALSE"]),
    ("notes", "TEXT", [None]),
    ("sort_order", "SMALLINT", ["NOT NULL DEFAULT 0", None]),
    ("version", "INTEGER", ["NOT NULL DEFAULT 1 CHECK (version > 0)"]),
    ("code", "VARCHAR(40)", ["NOT NULL UNIQUE", "UNIQUE"]),
    ("slug", "VARCHAR(120)", ["NOT NULL", "UNIQUE"]),
    ("url", "TEXT", [None, "CHECK (url LIKE 'https://%')"]),
    ("started_on", "DATE", ["NOT NULL", None]),
    ("ended_on", "DATE", [None, "CHECK (ended_on IS NULL OR ended_on >= started_on)"]),
    ("weight_kg", "REAL", ["CHECK (weight_kg > 0)", None]),
    ("rating", "SMALLINT", ["CHECK (rating BETWEEN 1 AND 5)", None]),
    ("ip_address", "VARCHAR(45)", [None]),
    ("country_code", "CHAR(2)", ["NOT NULL DEFAULT 'DE'", None]),
    ("external_key", "UUID", ["UNIQUE", None]),
    ("payload", "JSON", ["NOT NULL DEFAULT '{}'", None]),
    ("checksum", "BLOB", [None]),
    ("priority", "SMALLINT", ["NOT NULL DEFAULT 3 CHECK (priority BETWEEN 1 AND 5)"]),
    ("due_date", "DATE", [None]),
    ("locale", "VARCHAR(10)", ["NOT NULL DEFAULT 'en_GB'"]),
    ("timezone", "VARCHAR(64)", ["DEFAULT 'UTC'"]),
    ("latitude", "DOUBLE PRECISION", ["CHECK (latitude BETWEEN -90 AND 90)"]),
    ("longitude", "DOUBLE PRECISION", ["CHECK (longitude BETWEEN -180 AND 180)"]),
    ("discount_pct", "NUMERIC(5, 2)", ["DEFAULT 0 CHECK (discount_pct >= 0 AND discount_pct <= 100)"]),
    ("color", "VARCHAR(7)", ["DEFAULT '#ffffff'"]),
    ("score", "INTEGER", ["NOT NULL DEFAULT 0"]),
    ("last_login_at", "TIMESTAMP", [None]),
    ("password_hash", "VARCHAR(128)", ["NOT NULL"]),
    ("size_bytes", "BIGINT", ["NOT NULL CHECK (size_bytes >= 0)"]),
    ("mime_type", "VARCHAR(100)", ["NOT NULL DEFAULT 'application/octet-stream'"]),
    # SQL keywords as names, quoted as they must be.
    ('"order"', "INTEGER", ["NOT NULL DEFAULT 0"]),
    ('"group"', "VARCHAR(50)", [None]),
    ('"key"', "VARCHAR(64)", ["NOT NULL"]),
    ('"value"', "TEXT", [None]),
    ('"type"', "VARCHAR(20)", ["NOT NULL DEFAULT 'standard'"]),
]

ON_DELETE = ["", "", " ON DELETE CASCADE", " ON DELETE SET NULL", " ON DELETE RESTRICT",
             " ON UPDATE CASCADE", " ON DELETE CASCADE DEFERRABLE INITIALLY DEFERRED"]
ROLES = ["parent", "owner", "billing", "shipping", "origin", "target", "primary", "backup"]

FILLER = [
    "Values are checked by the service before they are stored.",
    "The history is kept for seven years, as the auditors require.",
    "A row is archived when its owner closes it, never deleted, so that totals stay reproducible.",
    "Rounding happens only on display.",
    "Most reads go through the reporting replica, which lags by a few seconds.",
    "The nightly job recomputes the derived columns and logs every change it makes.",
    "Imports from the old system filled this in without validation, so expect odd values before 2019.",
    "Rows that fail validation are moved to the quarantine area instead of being rejected.",
]

SENTENCES = [
    "One row per {noun}, created when the first {other} arrives.",
    "Rows are never deleted; a closed {noun} keeps its history.",
    "Written by the import job and read by the nightly reports.",
    "See {ref} for the owning record.",
    "Kept in step with {ref} by the synchronisation service.",
    "The ``current'' value only -- earlier ones live in the audit trail.",
    "Amounts are stored in the smallest currency unit --- cents for EUR.",
    "Described in detail in [the design notes]({url}).",
    "Follows the rules of [{topic}]({url}); ask the {team} team before changing it.",
    "Replaces the old {other} table, which is kept read-only until the migration ends.",
    "Each {noun} belongs to exactly one {other}; see {ref} for the rules.",
    "Filled in lazily: NULL means ``not computed yet''.",
    "The service refuses updates after the period is closed.",
    "Indexed for lookups by {other}; keep it small.",
    "Mirrors {ref} and {ref2}, which must agree.",
    "Timestamps are UTC; the client converts them for display.",
    "Changing this requires a data migration, see [{topic}].",
    "Used by the {team} dashboards -- ask before renaming.",
]

COLUMN_SENTENCES = [
    "Primary key.",
    "Shown to the customer as is.",
    "NULL until the {noun} is confirmed.",
    "Refers to {ref}, the owning row.",
    "Must be unique within a {other}.",
    "Free text, at most a paragraph.",
    "In cents; see {ref} for the currency.",
    "Set by the database on insert.",
    "Soft delete marker -- rows with a value here are hidden.",
    "Lower case ASCII, used in URLs.",
    "ISO 3166 code, see [the list]({url}).",
    "Kept for the ``legacy'' export only.",
    "Optimistic locking counter; every update adds one.",
    "Defaults to the owner's setting in {ref} (when set).",
]

TOPICS = ["retention policy", "naming guide", "billing handbook", "privacy rules", "data model",
          "import format", "archive plan", "reporting glossary"]
TEAMS = ["platform", "finance", "data", "support", "growth", "operations", "security"]


def is_keyword_prefix(word, keyword):
    """True when `word` would be taken for `keyword` (any non-empty prefix, any case)."""
    return 0 < len(word) <= len(keyword) and keyword.startswith(word.lower())



def wrap(text, width):
    """`text` cut into lines of at most `width` characters, at spaces."""
    lines, line = [], ""
    for word in text.split(" "):
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}" if line else word
    if line:
        lines.append(line)
    return lines


class Table:
    __slots__ = ("name", "noun", "has_id", "columns", "sql_columns")

    def __init__(self, name, noun, has_id):
        self.name = name
        self.noun = noun
        self.has_id = has_id
        self.columns = []      # column names, for references in comments
        self.sql_columns = []  # the same as written in SQL (keywords quoted)


class Generator:
    def __init__(self, ntables, seed, index_view, dense=False):
        self.r = random.Random(f"tabledoc-bench:{seed}:{ntables}" + (":dense" if dense else ""))
        self.dense = dense
        self.ntables = ntables
        self.index_view = index_view
        self.tables = []
        self.make_tables()

    # -- names ------------------------------------------------------------------

    def make_tables(self):
        r = self.r
        used = {}
        for _ in range(self.ntables):
            module, noun = r.choice(MODULES), r.choice(NOUNS)
            base = f"{module}_{noun}"
            n = used.get(base, 0) + 1
            used[base] = n
            name = base if n == 1 else f"{base}_{n}"
            assert not is_keyword_prefix(name, "if")  # CREATE TABLE IF ...
            self.tables.append(Table(name, noun, r.random() < 0.92))
        self.with_id = [i for i, t in enumerate(self.tables) if t.has_id]

    def pick_target(self, i):
        """A table with an id column: mostly a near neighbour (before or after i), sometimes any."""
        r = self.r
        if r.random() < 0.04 and self.tables[i].has_id:
            return i  # self reference (a tree)
        if r.random() < 0.6:
            lo, hi = max(0, i - 60), min(self.ntables - 1, i + 60)
            for _ in range(8):
                j = r.randint(lo, hi)
                if self.tables[j].has_id:
                    return j
        return r.choice(self.with_id)

    # -- comments -----------------------------------------------------------------

    def ref(self, near):
        """A docstring reference to a real table or column near index `near`."""
        r = self.r
        j = min(self.ntables - 1, max(0, near + r.randint(-40, 40)))
        t = self.tables[j]
        if t.columns and r.random() < 0.5:
            return f"@{t.name}.{r.choice(t.columns)}"
        if r.random() < 0.1:
            return f'@"{t.name}"'
        return f"@{t.name}"

    def sentence(self, templates, i):
        r = self.r
        t = self.tables[i]
        return r.choice(templates).format(
            noun=t.noun.replace("_", " "),
            other=r.choice(NOUNS).replace("_", " "),
            ref=self.ref(i), ref2=self.ref(i),
            url=f"https://wiki.example.com/{r.choice(MODULES)}/{t.noun}#{r.randint(1, 99)}",
            topic=r.choice(TOPICS), team=r.choice(TEAMS))

    def paragraph(self, templates, i, lo, hi):
        r = self.r
        parts = [self.sentence(templates, i) for _ in range(r.randint(lo, hi))]
        if r.random() < 0.3:
            parts.append(r.choice(FILLER))
        return " ".join(parts)


    def comment(self, templates, i, indent, lo, hi, max_paragraphs):
        """A comment in one of four styles, ending with a newline."""
        r = self.r
        paras = [self.paragraph(templates, i, lo, hi) for _ in range(r.randint(1, max_paragraphs))]
        style = r.random()
        out = []
        if style < 0.55:  # -- lines, "--" alone between paragraphs
            for k, p in enumerate(paras):
                if k:
                    out.append(f"{indent}--\n")
                out.extend(f"{indent}-- {line}\n" for line in wrap(p, 72))
        elif style < 0.8:  # framed block
            out.append(f"{indent}/*\n")
            for k, p in enumerate(paras):
                if k:
                    out.append(f"{indent} *\n")
                out.extend(f"{indent} * {line}\n" for line in wrap(p, 72))
            out.append(f"{indent} */\n")
        elif style < 0.92:  # open block, empty line between paragraphs
            body = "\n\n".join("\n".join(f"{indent}   {line}" for line in wrap(p, 72)) for p in paras)
            out.append(f"{indent}/*{body[len(indent) + 2:]} */\n")
        else:  # one-line block
            out.append(f"{indent}/* {' '.join(paras)} */\n")
        return "".join(out)

    # -- statements ---------------------------------------------------------------

    def column_defs(self, i):
        """The items of table i: (docstring-able column lines, table-level items)."""
        r = self.r
        t = self.tables[i]
        names = set()
        items = []   # (name, text) for columns
        fk_cols = []  # names of foreign-key columns without a column-level clause

        if t.has_id:
            names.add("id")
            items.append(("id", r.choice(["id INTEGER PRIMARY KEY", "id BIGINT PRIMARY KEY",
                                          "id INTEGER PRIMARY KEY AUTOINCREMENT",
                                          "id UUID PRIMARY KEY DEFAULT gen_random_uuid()"])))
        ncols = r.randint(3, 20)
        if self.dense:
            nfk = r.randint(3, 6) + (r.random() < 0.2)
            ncols = max(ncols, nfk + 2)
        else:
            nfk = min(ncols - len(items), r.choices([0, 1, 2, 3, 4], [22, 35, 25, 12, 6])[0])
        if not self.with_id:
            nfk = 0  # no table to refer to
        for _ in range(nfk):
            j = r.choice(self.with_id) if self.dense else self.pick_target(i)
            target = self.tables[j]
            name = f"{target.noun}_id"
            if name in names:
                name = f"{r.choice(ROLES)}_{target.noun}_id"
            if name in names:
                continue
            names.add(name)
            ctype = r.choice(["INTEGER", "BIGINT", "INTEGER NOT NULL", "BIGINT NOT NULL"])
            clause = f"REFERENCES {target.name} (id){r.choice(ON_DELETE)}"
            if r.random() < 0.25:
                items.append((name, f"{name} {ctype}"))
                fk_cols.append((name, clause))
            else:
                items.append((name, f"{name} {ctype} {clause}"))
        pool = r.sample(PLAIN_COLUMNS, min(len(PLAIN_COLUMNS), max(0, ncols - len(items))))
        for name, ctype, constraints in pool:
            if name in names:
                continue
            names.add(name)
            c = r.choice(constraints)
            items.append((name, f"{name} {ctype}" + (f" {c}" if c else "")))
        start = 1 if t.has_id else 0  # id stays first
        rest = items[start:]
        r.shuffle(rest)
        items[start:] = rest

        extra = []
        bare = [n for n, _ in items]
        if not t.has_id and len(bare) >= 2:
            a, b = r.sample(bare[:4], 2)
            extra.append(f"PRIMARY KEY ({a}, {b})")
        for name, clause in fk_cols:
            # FOREIGN KEY (x) takes the first column, in name order, whose name
            # begins with x: make sure that is x itself.
            if any(o != name and o.startswith(name) for o in bare):
                extra.append(f"CONSTRAINT fk_{name} CHECK ({name} IS NOT NULL)")
                continue
            extra.append(f"FOREIGN KEY ({name}) {clause}")
        if len(bare) >= 4 and r.random() < 0.3:
            a, b = r.sample(bare[1:], 2)
            extra.append(f"UNIQUE ({a}, {b})")
        if "started_on" in names and "ended_on" in names and r.random() < 0.5:
            extra.append("CHECK (ended_on IS NULL OR ended_on >= started_on)")
        # PRIMARY, CHECK and CONSTRAINT items are read as columns of those names:
        # keep at most one of each.
        seen, unique_extra = set(), []
        for e in extra:
            word = e.split(" ", 1)[0]
            if word in ("PRIMARY", "CHECK", "CONSTRAINT"):
                if word in seen:
                    continue
                seen.add(word)
            unique_extra.append(e)
        for n in bare:  # an item that begins so is read as a constraint
            assert not (is_keyword_prefix(n.strip('"'), "unique") or is_keyword_prefix(n.strip('"'), "foreign"))
        t.columns = [n.strip('"') for n in bare]
        t.sql_columns = bare
        return items, unique_extra

    def table(self, i):
        r = self.r
        t = self.tables[i]
        items, extra = self.column_defs(i)
        out = []
        if r.random() < 0.85:
            out.append(self.comment(SENTENCES, i, "", 1, 3, r.choice([1, 1, 2, 3])))
        head = "CREATE TABLE"
        x = r.random()
        if x < 0.05:
            head = "CREATE TEMP TABLE"
        elif x < 0.15:
            head = "CREATE TABLE IF NOT EXISTS"
        elif x < 0.18:
            head = "create table"
        name = f'"{t.name}"' if r.random() < 0.05 else t.name
        out.append(f"{head} {name} (\n")
        lines = []
        for _, text in items:
            doc = ""
            if r.random() < 0.45:
                doc = self.comment(COLUMN_SENTENCES, i, "  ", 1, 2, r.choice([1, 1, 1, 2]))
            lines.append(doc + "  " + text)
        lines.extend("  " + e for e in extra)
        out.append(",\n".join(lines))
        tail = "\n) WITHOUT ROWID;\n" if (t.has_id and r.random() < 0.04) else "\n);\n"
        out.append(tail)
        return "".join(out)

    def values(self):
        r = self.r
        return "(" + ", ".join(r.choice([
            str(r.randint(1, 99999)), f"'{r.choice(NOUNS)}'", "NULL", "'O''Brien'",
            "'a; b'", "'(x, y)'", "CURRENT_TIMESTAMP", f"{r.randint(0, 999)}.{r.randint(0, 99):02d}",
        ]) for _ in range(r.randint(2, 5))) + ")"

    def between(self, i):
        """Statements other than CREATE TABLE after table i (often none)."""
        r = self.r
        t = self.tables[i]
        out = []
        for _ in range(r.choices([0, 1, 2], [60, 30, 10])[0]):
            cols = t.sql_columns[:3]
            kind = r.random()
            if self.index_view and kind < 0.25:
                c = r.choice(t.sql_columns)
                uniq = "UNIQUE " if r.random() < 0.3 else ""
                out.append(f"CREATE {uniq}INDEX idx_{t.name}_{c.strip(chr(34))} ON {t.name} ({c});\n")
            elif self.index_view and kind < 0.35:
                out.append(f"CREATE VIEW v_{t.name} AS\n  SELECT {', '.join(cols)}\n"
                           f"  FROM {t.name}\n  WHERE {cols[-1]} IS NOT NULL;\n")
            elif kind < 0.6:
                rows = ",\n  ".join(self.values() for _ in range(r.randint(1, 4)))
                out.append(f"INSERT INTO {t.name} ({', '.join(cols)}) VALUES\n  {rows};\n")
            elif kind < 0.7:
                out.append(f"UPDATE {t.name} SET {cols[-1]} = NULL WHERE {cols[0]} = {r.randint(1, 999)};\n")
            elif kind < 0.78:
                out.append(f"-- Left over from the previous release.\nDROP TABLE IF EXISTS {t.name}_old;\n")
            elif kind < 0.86:
                out.append(f"ALTER TABLE {t.name} ADD COLUMN extra_{r.randint(1, 9)} TEXT DEFAULT 'n/a';\n")
            elif kind < 0.93:
                out.append(r.choice(["PRAGMA foreign_keys = ON;\n", "BEGIN;\n", "COMMIT;\n",
                                     "GRANT SELECT ON ALL TABLES IN SCHEMA public TO reporting;\n"]))
            else:
                out.append(f"SELECT count(*) FROM {t.name}; -- sanity check\n")
        return "".join(out)

    def write(self, f):
        f.write("-- Generated schema for the tabledoc/tablegraph benchmark.\n"
                f"-- {self.ntables} tables.\n\nPRAGMA foreign_keys = ON;\n\n")
        for i in range(self.ntables):
            f.write(self.table(i))
            f.write(self.between(i))
            f.write("\n")


def main():
    ap = argparse.ArgumentParser(description="Write a large schema for the benchmark.")
    ap.add_argument("tables", type=int, help="number of CREATE TABLE statements")
    ap.add_argument("-o", "--output", help="output file (default: standard output)")
    ap.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    ap.add_argument("--no-index-view", action="store_true",
                    help="leave out the CREATE INDEX / CREATE VIEW statements")
    ap.add_argument("--dense", action="store_true",
                    help="3 to 7 foreign keys per table, each to any table")
    args = ap.parse_args()
    if args.tables < 1:
        ap.error("the number of tables must be at least 1")
    gen = Generator(args.tables, args.seed, not args.no_index_view, args.dense)
    if args.output:
        tmp = f"{args.output}.tmp{os.getpid()}"
        with open(tmp, "w", encoding="ascii", newline="\n") as f:
            gen.write(f)
        os.replace(tmp, args.output)
    else:
        gen.write(sys.stdout)


if __name__ == "__main__":
    main()
