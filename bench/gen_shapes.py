#!/usr/bin/env python3
"""Writes one schema of a given shape and size, for timing how the -d readings
of tabledoc and tablegraph grow with it (bench/shapes.sh).

    gen_shapes.py SHAPE N --dialect postgres|mysql|sqlite [-o FILE]
    gen_shapes.py --list        # the shapes and the dialects each applies to

N is the size that doubles:

  wide            one table of N columns
  add-column      a table of one column, then N ALTER TABLE t ADD COLUMN cK int
  comment-column  a table of N columns, then N COMMENT ON COLUMN t.cK IS '...'
                  (postgres) or ALTER TABLE t MODIFY cK int COMMENT '...' (mysql)
  drop-column     a table of 2N columns, then N ALTER TABLE t DROP COLUMN cK
  column-fkeys    a table p (id), then a table of N columns, each REFERENCES p(id)
  composite-key   a table p of N columns and a table t of N columns that has
                  a primary key of them and a foreign key of them to p; where the
                  database caps the columns of a key (postgres 32, mysql 16) the
                  N columns make several keys of that many (the primary key, then
                  UNIQUE keys; one foreign key to each key of p)
  schemas         N schemas, SET search_path naming all of them, a table base
                  in the last one, then N tables created unqualified (in the
                  first), each referring unqualified to the one before and to base
                  (postgres)
  like-chain      a table of 10 columns with comments and keys, then N copies,
                  each of the one before: (LIKE tK INCLUDING ALL) in postgres,
                  CREATE TABLE ... LIKE in mysql (sqlite has no LIKE)
  like-grow       the same chain, where each copy also adds one column (in
                  mysql by ALTER TABLE ... ADD COLUMN): copy K has 10 + K
                  columns, so the tables hold about N * N / 2 columns
  many-tables     N tables of one column, each with a comment on the table and
                  on the column

Each file is what its database runs as it is, within the database's own limits
on columns per table (postgres 1600, InnoDB 1017, sqlite 2000), indexes per
table (MariaDB 64) and foreign keys: larger sizes keep the same statements.
The output depends only on the arguments. Standard library only.
"""

import argparse
import sys

DIALECTS = ("postgres", "mysql", "sqlite")
SHAPES = {
    "wide": DIALECTS,
    "add-column": DIALECTS,
    "comment-column": ("postgres", "mysql"),
    "drop-column": DIALECTS,
    "column-fkeys": DIALECTS,
    "composite-key": DIALECTS,
    "schemas": ("postgres",),
    "like-chain": ("postgres", "mysql"),
    "like-grow": ("postgres", "mysql"),
    "many-tables": DIALECTS,
}
KEY_CAP = {"postgres": 32, "mysql": 16, "sqlite": None}  # columns of one key


def columns(n, first=1, ctype="int"):
    return ["  c%d %s" % (k, ctype) for k in range(first, first + n)]


def table(name, items, tail=""):
    return "CREATE TABLE %s (\n%s\n)%s;\n" % (name, ",\n".join(items), tail)


def groups(n, cap):
    """1..n in runs of at most cap columns (one run when cap is None)."""
    cap = cap or n
    return [list(range(k, min(k + cap, n + 1))) for k in range(1, n + 1, cap)]


def cols(run):
    return ", ".join("c%d" % k for k in run)


def wide(d, n, out):
    out.write(table("t", columns(n)))


def add_column(d, n, out):
    out.write(table("t", columns(1, 0)))
    for k in range(1, n + 1):
        out.write("ALTER TABLE t ADD COLUMN c%d int;\n" % k)


def comment_column(d, n, out):
    out.write(table("t", columns(n)))
    for k in range(1, n + 1):
        if d == "postgres":
            out.write("COMMENT ON COLUMN t.c%d IS 'The column number %d.';\n" % (k, k))
        else:
            out.write("ALTER TABLE t MODIFY c%d int COMMENT 'The column number %d.';\n" % (k, k))


def drop_column(d, n, out):
    out.write(table("t", columns(2 * n)))
    for k in range(1, n + 1):
        out.write("ALTER TABLE t DROP COLUMN c%d;\n" % k)


def column_fkeys(d, n, out):
    out.write(table("p", ["  id int PRIMARY KEY"]))
    out.write(table("t", columns(n, 1, "int REFERENCES p(id)")))


def composite_key(d, n, out):
    runs = groups(n, KEY_CAP[d])
    keys = ["  %s (%s)" % ("PRIMARY KEY" if i == 0 else "UNIQUE", cols(r)) for i, r in enumerate(runs)]
    out.write(table("p", columns(n, 1, "int NOT NULL") + keys))
    fks = ["  FOREIGN KEY (%s) REFERENCES p (%s)" % (cols(r), cols(r)) for r in runs]
    out.write(table("t", columns(n, 1, "int NOT NULL") + keys + fks))


def schemas(d, n, out):
    for k in range(1, n + 1):
        out.write("CREATE SCHEMA s%d;\n" % k)
    out.write("SET search_path = %s;\n" % ", ".join("s%d" % k for k in range(1, n + 1)))
    out.write(table("s%d.base" % n, ["  id int PRIMARY KEY"]))
    for k in range(1, n + 1):
        items = ["  id int PRIMARY KEY", "  base int REFERENCES base(id)"]
        if k > 1:
            items.append("  prev int REFERENCES t%d(id)" % (k - 1))
        out.write(table("t%d" % k, items))


def like_chain(d, n, out, grow=False):
    names = ["id"] + ["c%d" % k for k in range(1, 10)]
    items = []
    for i, c in enumerate(names):
        extra = " NOT NULL" if i == 0 else (" DEFAULT %d" % i if i % 3 == 0 else "")
        note = " COMMENT 'What %s holds.'" % c if d == "mysql" else ""
        items.append("  -- The column %s.\n  %s int%s%s" % (c, c, extra, note))
    items += ["  PRIMARY KEY (id)", "  UNIQUE (c1, c2)", "  CHECK (c3 >= 0)"]
    out.write("-- The table that the others copy.\n")
    out.write(table("t0", items, " COMMENT='The first table.'" if d == "mysql" else ""))
    if d == "postgres":
        out.write("COMMENT ON TABLE t0 IS 'The first table.';\n")
        for c in names:
            out.write("COMMENT ON COLUMN t0.%s IS 'What %s holds.';\n" % (c, c))
    for k in range(1, n + 1):
        more = ", x%d int" % k if grow else ""
        if d == "postgres":
            out.write("CREATE TABLE t%d (LIKE t%d INCLUDING ALL%s);\n" % (k, k - 1, more))
        else:
            out.write("CREATE TABLE t%d LIKE t%d;\n" % (k, k - 1))
            if grow:
                out.write("ALTER TABLE t%d ADD COLUMN x%d int;\n" % (k, k))


def like_grow(d, n, out):
    like_chain(d, n, out, grow=True)


def many_tables(d, n, out):
    for k in range(1, n + 1):
        out.write("-- The table number %d.\n" % k)
        out.write(table("t%d" % k, ["  -- Its only column.\n  c int"]))


WRITERS = {"wide": wide, "add-column": add_column, "comment-column": comment_column,
           "drop-column": drop_column, "column-fkeys": column_fkeys, "composite-key": composite_key,
           "schemas": schemas, "like-chain": like_chain, "like-grow": like_grow, "many-tables": many_tables}


def main():
    ap = argparse.ArgumentParser(description="Writes a schema of one shape at size N.")
    ap.add_argument("shape", nargs="?", choices=sorted(SHAPES))
    ap.add_argument("n", nargs="?", type=int)
    ap.add_argument("--dialect", choices=DIALECTS)
    ap.add_argument("-o", "--output")
    ap.add_argument("--list", action="store_true", help="print each shape with its dialects")
    args = ap.parse_args()
    if args.list:
        for shape, ds in SHAPES.items():
            print(shape, *ds)
        return
    if args.shape is None or args.n is None or args.dialect is None or args.n < 1:
        ap.error("SHAPE, N (at least 1) and --dialect are needed")
    if args.dialect not in SHAPES[args.shape]:
        ap.error("%s has no %s shape (it applies to %s)" % (args.dialect, args.shape,
                                                          ", ".join(SHAPES[args.shape])))
    if args.output:
        with open(args.output, "w", encoding="utf-8", newline="\n") as f:
            WRITERS[args.shape](args.dialect, args.n, f)
    else:
        WRITERS[args.shape](args.dialect, args.n, sys.stdout)


if __name__ == "__main__":
    main()
