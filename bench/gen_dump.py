#!/usr/bin/env python3
"""Writes a large schema shaped as a database's dump tool writes it, for
benchmarking the -d readings of tabledoc and tablegraph.

    gen_dump.py TABLES --dialect postgres|mysql|sqlite [-o FILE] [--seed N]

The output depends only on the arguments. Its shape is that of the dump of a
database holding TABLES tables of 3 to 14 columns:

- postgres, as pg_dump --schema-only writes it: the psql \\restrict and
  \\unrestrict lines, the SET lines, a function with a dollar-quoted body, per
  table its "-- Name: ...; Type: TABLE; ..." header, CREATE TABLE public.t,
  ALTER TABLE ... OWNER TO, COMMENT ON TABLE and COMMENT ON COLUMN (some over
  several lines, some with doubled quotes), then the sequences, the column
  defaults, the primary keys (ALTER TABLE ONLY ... ADD CONSTRAINT ... PRIMARY
  KEY), the indexes and last the foreign keys (ALTER TABLE ONLY ... ADD
  CONSTRAINT ... FOREIGN KEY (c) REFERENCES public.u(id));
- mysql, as mysqldump --no-data writes it: the header, the /*!40101 ... */
  lines, per table its "Table structure" comment, DROP TABLE IF EXISTS, the
  character set lines around CREATE TABLE `t` with COMMENT '...' attributes
  (newlines written as \\n), PRIMARY KEY, UNIQUE KEY, KEY and CONSTRAINT ...
  FOREIGN KEY lines and the table options ENGINE=InnoDB ... COMMENT='...';
- sqlite, as sqlite3 .schema writes it: each CREATE TABLE as it was written,
  with a comment at the end of some column lines, sqlite_sequence, and the
  CREATE INDEX statements.

Every foreign key names a table and column of the dump. Standard library only.
"""

import argparse
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_schema import COLUMN_SENTENCES, MODULES, NOUNS, SENTENCES, TEAMS, TOPICS  # noqa: E402

TYPES = {
    "postgres": {"int": "integer", "big": "bigint", "text": "text", "name": "character varying(255)",
                 "time": "timestamp with time zone", "money": "numeric(12,2)", "flag": "boolean"},
    "mysql": {"int": "int(11)", "big": "bigint(20)", "text": "text", "name": "varchar(255)",
              "time": "datetime", "money": "decimal(12,2)", "flag": "tinyint(1)"},
    "sqlite": {"int": "INTEGER", "big": "INTEGER", "text": "TEXT", "name": "VARCHAR(255)",
               "time": "TIMESTAMP", "money": "NUMERIC(12, 2)", "flag": "BOOLEAN"},
}

PLAIN = [("name", "name"), ("title", "text"), ("email", "name"), ("status", "name"), ("created_at", "time"),
         ("updated_at", "time"), ("amount", "money"), ("quantity", "int"), ("active", "flag"),
         ("notes", "text"), ("code", "name"), ("position", "int"), ("weight", "money")]


class Table:
    def __init__(self, name, columns, fks, comment, column_comments):
        self.name, self.columns, self.fks = name, columns, fks
        self.comment, self.column_comments = comment, column_comments


def make_tables(n, seed):
    r = random.Random(seed)
    tables = []
    for i in range(n):
        noun = NOUNS[i % len(NOUNS)]
        name = "%s_%s_%d" % (MODULES[(i // len(NOUNS)) % len(MODULES)], noun, i)
        columns = [("id", "big")]
        for col, kind in r.sample(PLAIN, r.randint(1, 8)):
            columns.append((col, kind))
        fks = []
        for k in range(r.choice((0, 0, 1, 1, 2, 3)) if i else 0):
            target = r.randrange(i)
            col = "%s_%d_id" % (NOUNS[target % len(NOUNS)], k)
            columns.append((col, "big"))
            fks.append((col, target))

        def sentence(templates):
            return r.choice(templates).format(
                noun=noun.replace("_", " "), other=r.choice(NOUNS).replace("_", " "),
                ref="@" + tables[r.randrange(i)].name if i else "@" + name, ref2="@" + name,
                url="https://wiki.example.com/%s/%s" % (r.choice(MODULES), noun),
                topic=r.choice(TOPICS), team=r.choice(TEAMS))
        comment = None
        if r.random() < 0.7:
            comment = " ".join(sentence(SENTENCES) for _ in range(r.randint(1, 3)))
            if r.random() < 0.2:
                comment += "\n" + sentence(SENTENCES)
        column_comments = {c: sentence(COLUMN_SENTENCES) for c, _ in columns if r.random() < 0.35}
        tables.append(Table(name, columns, fks, comment, column_comments))
    return tables


def pg_string(text):
    return "'" + text.replace("'", "''") + "'"


def my_string(text):
    return "'" + text.replace("\\", "\\\\").replace("'", "\\'").replace("\n", "\\n") + "'"


def write_postgres(tables, out):
    w = out.write
    types = TYPES["postgres"]
    w("--\n-- PostgreSQL database dump\n--\n\n\\restrict Zq3dGkT0vAE6bB9Y\n\n"
      "-- Dumped from database version 15.18 (Debian 15.18-0+deb12u1)\n"
      "-- Dumped by pg_dump version 15.18 (Debian 15.18-0+deb12u1)\n\n"
      "SET statement_timeout = 0;\nSET lock_timeout = 0;\nSET idle_in_transaction_session_timeout = 0;\n"
      "SET client_encoding = 'UTF8';\nSET standard_conforming_strings = on;\n"
      "SELECT pg_catalog.set_config('search_path', '', false);\nSET check_function_bodies = false;\n"
      "SET xmloption = content;\nSET client_min_messages = warning;\nSET row_security = off;\n\n"
      "--\n-- Name: touch(); Type: FUNCTION; Schema: public; Owner: postgres\n--\n\n"
      "CREATE FUNCTION public.touch() RETURNS trigger\n    LANGUAGE plpgsql\n    AS $$\nBEGIN\n"
      "    NEW.updated_at := now();\n    RETURN NEW;\nEND;\n$$;\n\n\n"
      "ALTER FUNCTION public.touch() OWNER TO postgres;\n\n"
      "SET default_tablespace = '';\n\nSET default_table_access_method = heap;\n\n")
    for t in tables:
        w("--\n-- Name: %s; Type: TABLE; Schema: public; Owner: postgres\n--\n\n" % t.name)
        w("CREATE TABLE public.%s (\n" % t.name)
        w(",\n".join("    %s %s%s" % (c, types[k], " NOT NULL" if c == "id" else "") for c, k in t.columns))
        w("\n);\n\n\nALTER TABLE public.%s OWNER TO postgres;\n\n" % t.name)
        if t.comment is not None:
            w("--\n-- Name: TABLE %s; Type: COMMENT; Schema: public; Owner: postgres\n--\n\n" % t.name)
            w("COMMENT ON TABLE public.%s IS %s;\n\n\n" % (t.name, pg_string(t.comment)))
        for c, text in t.column_comments.items():
            w("--\n-- Name: COLUMN %s.%s; Type: COMMENT; Schema: public; Owner: postgres\n--\n\n" % (t.name, c))
            w("COMMENT ON COLUMN public.%s.%s IS %s;\n\n\n" % (t.name, c, pg_string(text)))
    for t in tables:
        seq = t.name + "_id_seq"
        w("--\n-- Name: %s; Type: SEQUENCE; Schema: public; Owner: postgres\n--\n\n" % seq)
        w("CREATE SEQUENCE public.%s\n    START WITH 1\n    INCREMENT BY 1\n    NO MINVALUE\n"
          "    NO MAXVALUE\n    CACHE 1;\n\n\nALTER TABLE public.%s OWNER TO postgres;\n\n" % (seq, seq))
        w("--\n-- Name: %s; Type: SEQUENCE OWNED BY; Schema: public; Owner: postgres\n--\n\n" % seq)
        w("ALTER SEQUENCE public.%s OWNED BY public.%s.id;\n\n\n" % (seq, t.name))
    for t in tables:
        w("--\n-- Name: %s id; Type: DEFAULT; Schema: public; Owner: postgres\n--\n\n" % t.name)
        w("ALTER TABLE ONLY public.%s ALTER COLUMN id SET DEFAULT nextval('public.%s_id_seq'::regclass);\n\n\n"
          % (t.name, t.name))
    for t in tables:
        w("--\n-- Name: %s %s_pkey; Type: CONSTRAINT; Schema: public; Owner: postgres\n--\n\n" % (t.name, t.name))
        w("ALTER TABLE ONLY public.%s\n    ADD CONSTRAINT %s_pkey PRIMARY KEY (id);\n\n\n" % (t.name, t.name))
    for t in tables:
        for c, _ in t.fks:
            w("--\n-- Name: %s_%s_idx; Type: INDEX; Schema: public; Owner: postgres\n--\n\n" % (t.name, c))
            w("CREATE INDEX %s_%s_idx ON public.%s USING btree (%s);\n\n\n" % (t.name, c, t.name, c))
    for t in tables:
        for c, target in t.fks:
            fk = "%s_%s_fkey" % (t.name, c)
            w("--\n-- Name: %s %s; Type: FK CONSTRAINT; Schema: public; Owner: postgres\n--\n\n" % (t.name, fk))
            w("ALTER TABLE ONLY public.%s\n    ADD CONSTRAINT %s FOREIGN KEY (%s) REFERENCES public.%s(id);\n\n\n"
              % (t.name, fk, c, tables[target].name))
    w("--\n-- PostgreSQL database dump complete\n--\n\n\\unrestrict Zq3dGkT0vAE6bB9Y\n\n")


def write_mysql(tables, out):
    w = out.write
    types = TYPES["mysql"]
    w("/*M!999999\\- enable the sandbox mode */ \n"
      "-- MariaDB dump 10.19  Distrib 10.11.19-MariaDB, for debian-linux-gnu (x86_64)\n--\n"
      "-- Host: localhost    Database: app\n"
      "-- ------------------------------------------------------\n"
      "-- Server version\t10.11.19-MariaDB-0+deb12u1\n\n"
      "/*!40101 SET @OLD_CHARACTER_SET_CLIENT=@@CHARACTER_SET_CLIENT */;\n"
      "/*!40101 SET @OLD_CHARACTER_SET_RESULTS=@@CHARACTER_SET_RESULTS */;\n"
      "/*!40101 SET @OLD_COLLATION_CONNECTION=@@COLLATION_CONNECTION */;\n"
      "/*!40101 SET NAMES utf8mb4 */;\n/*!40103 SET @OLD_TIME_ZONE=@@TIME_ZONE */;\n"
      "/*!40103 SET TIME_ZONE='+00:00' */;\n"
      "/*!40014 SET @OLD_UNIQUE_CHECKS=@@UNIQUE_CHECKS, UNIQUE_CHECKS=0 */;\n"
      "/*!40014 SET @OLD_FOREIGN_KEY_CHECKS=@@FOREIGN_KEY_CHECKS, FOREIGN_KEY_CHECKS=0 */;\n"
      "/*!40101 SET @OLD_SQL_MODE=@@SQL_MODE, SQL_MODE='NO_AUTO_VALUE_ON_ZERO' */;\n"
      "/*!40111 SET @OLD_SQL_NOTES=@@SQL_NOTES, SQL_NOTES=0 */;\n\n")
    for t in tables:
        w("--\n-- Table structure for table `%s`\n--\n\n" % t.name)
        w("DROP TABLE IF EXISTS `%s`;\n" % t.name)
        w("/*!40101 SET @saved_cs_client     = @@character_set_client */;\n"
          "/*!40101 SET character_set_client = utf8mb4 */;\n")
        w("CREATE TABLE `%s` (\n" % t.name)
        lines = []
        for c, k in t.columns:
            attrs = " NOT NULL AUTO_INCREMENT" if c == "id" else " DEFAULT NULL"
            if c in t.column_comments:
                attrs += " COMMENT " + my_string(t.column_comments[c])
            lines.append("  `%s` %s%s" % (c, types[k], attrs))
        lines.append("  PRIMARY KEY (`id`)")
        if any(c == "code" for c, _ in t.columns):
            lines.append("  UNIQUE KEY `%s_code` (`code`)" % t.name[:50])
        for c, _ in t.fks:
            lines.append("  KEY `%s` (`%s`)" % (c, c))
        for n, (c, target) in enumerate(t.fks, 1):
            lines.append("  CONSTRAINT `%s_ibfk_%d` FOREIGN KEY (`%s`) REFERENCES `%s` (`id`)"
                         % (t.name[:50], n, c, tables[target].name))
        w(",\n".join(lines))
        options = ") ENGINE=InnoDB AUTO_INCREMENT=1 DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci"
        if t.comment is not None:
            options += " COMMENT=" + my_string(t.comment)
        w("\n%s;\n/*!40101 SET character_set_client = @saved_cs_client */;\n\n" % options)
    w("/*!40103 SET TIME_ZONE=@OLD_TIME_ZONE */;\n\n/*!40101 SET SQL_MODE=@OLD_SQL_MODE */;\n"
      "/*!40014 SET FOREIGN_KEY_CHECKS=@OLD_FOREIGN_KEY_CHECKS */;\n"
      "/*!40014 SET UNIQUE_CHECKS=@OLD_UNIQUE_CHECKS */;\n"
      "/*!40101 SET CHARACTER_SET_CLIENT=@OLD_CHARACTER_SET_CLIENT */;\n"
      "/*!40101 SET CHARACTER_SET_RESULTS=@OLD_CHARACTER_SET_RESULTS */;\n"
      "/*!40101 SET COLLATION_CONNECTION=@OLD_COLLATION_CONNECTION */;\n"
      "/*!40111 SET SQL_NOTES=@OLD_SQL_NOTES */;\n\n-- Dump completed on 2026-01-01 12:00:00\n")


def write_sqlite(tables, out):
    w = out.write
    types = TYPES["sqlite"]
    for i, t in enumerate(tables):
        lines = []
        for c, k in t.columns:
            line = "  %s %s%s" % (c, types[k], " PRIMARY KEY AUTOINCREMENT" if c == "id" else "")
            target = next((tables[x].name for fc, x in t.fks if fc == c), None)
            if target:
                line += " REFERENCES %s(id)" % target
            lines.append(line)
        body = ""
        for n, line in enumerate(lines):
            body += line + ("," if n + 1 < len(lines) else "")
            if t.columns[n][0] in t.column_comments:
                body += " -- " + t.column_comments[t.columns[n][0]].replace("\n", " ")
            body += "\n"
        w("CREATE TABLE %s (\n%s);\n" % (t.name, body))
        if i == 0:
            w("CREATE TABLE sqlite_sequence(name,seq);\n")
        for c, _ in t.fks:
            w("CREATE INDEX %s_%s_idx ON %s(%s);\n" % (t.name, c, t.name, c))


def main():
    ap = argparse.ArgumentParser(description="Writes a dump-shaped schema of TABLES tables.")
    ap.add_argument("tables", type=int)
    ap.add_argument("--dialect", required=True, choices=("postgres", "mysql", "sqlite"))
    ap.add_argument("-o", "--output")
    ap.add_argument("--seed", type=int, default=1)
    args = ap.parse_args()
    tables = make_tables(args.tables, args.seed)
    write = {"postgres": write_postgres, "mysql": write_mysql, "sqlite": write_sqlite}[args.dialect]
    if args.output:
        with open(args.output, "w", encoding="utf-8", newline="\n") as f:
            write(tables, f)
    else:
        write(tables, sys.stdout)


if __name__ == "__main__":
    main()
