#!/bin/bash
# schemapage as a command: what reaches standard output, the exit status, the
# messages and their summary, the operands it reads (pipes, /dev/stdin,
# <(...)), the choice of engine, the title, and no temporary files, also
# when the layout fails, hangs or the command is stopped.
#
# usage: page_test.sh SCHEMAPAGE SCHEMA
#   SCHEMAPAGE: the build tree's bin/schemapage, beside the two programs
#   SCHEMA: the bundled example
# Exits with 77 (skipped) where Graphviz is not installed.
set -u
export LC_ALL=C
page=$1 schema=$2
if ! command -v dot >/dev/null 2>&1 || ! command -v sfdp >/dev/null 2>&1; then
  echo "Graphviz (dot, sfdp) is not installed: skipped (Debian: apt-get install graphviz)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/tmp" "$work/fake"
TMPDIR=$work/tmp
export TMPDIR
fail=0
no() { echo "FAIL: $*"; fail=1; }
# Whether the process runs: one that has ended but that nobody has waited for
# yet (a zombie, until init takes it) does not.
running() {
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -c1)
  [ -n "$state" ] && [ "$state" != Z ]
}

# Runs schemapage with the arguments given; out, err and rc hold the result.
run() {
  "$page" "$@" >"$work/out" 2>"$work/err"
  rc=$?
}
# A failure: status 1, nothing on standard output, a message matching the
# pattern, and no temporary file left.
refused_with() { # what pattern args...
  what=$1 pattern=$2
  shift 2
  run "$@"
  [ $rc -eq 1 ] || no "$what: exit status $rc, not 1"
  [ ! -s "$work/out" ] || no "$what: wrote to standard output"
  grep -q -- "$pattern" "$work/err" || { no "$what: no message matching '$pattern'"; sed 's/^/  /' "$work/err"; }
  [ -z "$(ls -A "$work/tmp")" ] || no "$what: left $(ls "$work/tmp") in TMPDIR"
}

# -- pages made -----------------------------------------------------------------
# (arguments, engine that must have drawn the map)
while IFS='|' read -r args engine; do
  # shellcheck disable=SC2086 # the arguments are split on purpose
  run $args "$schema"
  what="schemapage $args"
  if [ $rc -ne 0 ]; then
    no "$what: exit status $rc"; sed 's/^/  /' "$work/err"; continue
  fi
  grep -q "map laid out by $engine\"" "$work/out" || no "$what: the map is not laid out by $engine"
  [ "$(grep -c '^<svg ' "$work/out")" -eq 1 ] || no "$what: not exactly one <svg> element"
  grep -q -e '<?xml' -e '<!DOCTYPE svg' -e '<!--' "$work/out" && no "$what: XML declaration, doctype or comment left in the page"
  grep -q '</html>' "$work/out" || no "$what: the page is cut short"
  # The example is SQLite's, by its PRAGMA and WITHOUT ROWID: read so, and said.
  printf '%s\n' "schemapage: $schema: holds SQLite's PRAGMA and WITHOUT ROWID: read as with -d sqlite" >"$work/want.err"
  cmp -s "$work/want.err" "$work/err" || { no "$what: messages differ"; diff "$work/want.err" "$work/err" | sed 's/^/  /'; }
  [ -z "$(ls -A "$work/tmp")" ] || no "$what: left $(ls "$work/tmp") in TMPDIR"
done <<'EOF'
|dot
-e sfdp|sfdp
-l 5|sfdp
-e dot -l 5|dot
EOF

# -d: the schema read as that database runs it, as tabledoc reads it.
printf 'CREATE TABLE a (id INT PRIMARY KEY);\nCREATE TABLE b (x INT, FOREIGN KEY (x) REFERENCES a);\n' >"$work/d.sql"
run -d sqlite "$work/d.sql"
[ $rc -eq 0 ] && grep -q 'Referenced by <a href="#sql-b">b</a>' "$work/out" ||
  { no "-d sqlite: the key to a's primary key is not read"; sed 's/^/  /' "$work/err"; }

# Without -d, a dump's heading chooses the dialect, and the user is told;
# -d still decides where it is given.
printf -- '--\n-- PostgreSQL database dump\n--\nCREATE TABLE public.a (id INT);\nCOMMENT ON TABLE public.a IS $$kept$$;\n\\unrestrict x\n' >"$work/dump.sql"
run "$work/dump.sql"
[ $rc -eq 0 ] && grep -qx '[[:space:]]*kept' "$work/out" ||
  { no "a pg_dump dump without -d: not read as PostgreSQL"; sed 's/^/  /' "$work/err"; }
grep -qx "schemapage: $work/dump.sql: a dump by pg_dump: read as with -d postgres" "$work/err" ||
  { no "a pg_dump dump without -d: no line that says so"; sed 's/^/  /' "$work/err"; }
run -d postgres "$work/dump.sql"
grep -q 'a dump by' "$work/err" && no "-d postgres: the dump's heading is reported though -d was given"

# -d loose: the loose grammar, whatever the file holds; its two notices,
# the first as it is, the second summed up.
run -d loose "$schema"
printf '%s\n' "$schema:101:13: ignoring non-table creation" \
  "$schema: ignoring non-table creation: 1 more time (-v shows each)" >"$work/want.err"
[ $rc -eq 0 ] && cmp -s "$work/want.err" "$work/err" ||
  { no "-d loose: messages differ"; diff "$work/want.err" "$work/err" | sed 's/^/  /'; }

# -v: every notice on its own line, as the reader wrote it.
run -v -d loose "$schema"
[ "$(grep -c ': ignoring non-table creation$' "$work/err")" -eq 2 ] && ! grep -q 'more time' "$work/err" ||
  { no "-v does not show every notice"; sed 's/^/  /' "$work/err"; }

# One reading of the schema: a pipe, /dev/stdin and <(...) give the page that
# the file gives, with the messages once.
run -t same "$schema"
cp "$work/out" "$work/file.html"
for how in fifo stdin process pipe; do
  case $how in
    fifo) mkfifo "$work/fifo"; cat "$schema" >"$work/fifo" & "$page" -t same "$work/fifo" >"$work/out" 2>"$work/err"; rc=$?; wait; rm -f "$work/fifo" ;;
    stdin) "$page" -t same /dev/stdin <"$schema" >"$work/out" 2>"$work/err"; rc=$? ;;
    process) "$page" -t same <(cat "$schema") >"$work/out" 2>"$work/err"; rc=$? ;;
    pipe) cat "$schema" | "$page" -t same /dev/stdin >"$work/out" 2>"$work/err"; rc=$? ;;
  esac
  [ $rc -eq 0 ] || { no "schema through $how: exit status $rc"; sed 's/^/  /' "$work/err"; continue; }
  cmp -s "$work/file.html" "$work/out" || no "schema through $how: another page than from the file"
  [ "$(grep -c 'read as with -d sqlite$' "$work/err")" -eq 1 ] || { no "schema through $how: messages"; sed 's/^/  /' "$work/err"; }
done

# The title is text: markup in it comes out escaped, in <title> and <h1>, and
# the template's markers in it stay as they are.
run -t '<script>alert(1)</script> & "quotes" @SCHEMA_DOC@ @PAGE_ENGINE@ @PAGE_TITLE@' "$schema"
[ $rc -eq 0 ] || no "odd title: exit status $rc"
grep -q '<script>alert' "$work/out" && no "the title's markup reached the page"
[ "$(grep -c '&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;quotes&quot; @SCHEMA_DOC@ @PAGE_ENGINE@ @PAGE_TITLE@' "$work/out")" -eq 2 ] ||
  no "the title is not in <title> and <h1>, escaped and as it was given"
[ "$(grep -c '<dl class="tabs">' "$work/out")" -eq 1 ] || no "the document is not in the page exactly once"
run "$schema"
grep -q '<title>schema.sql</title>' "$work/out" || no "without -t the title is not the file's name"

# -- failures ---------------------------------------------------------------------
printf 'CREATE TABLE t (a INT,' >"$work/bad.sql"
refused_with "no operand" "usage: schemapage"
refused_with "two operands" "usage: schemapage" "$schema" "$schema"
refused_with "unknown option" "usage: schemapage" -x "$schema"
refused_with "unknown engine" "schemapage: -e neato" -e neato "$schema"
refused_with "bad table limit" "schemapage: -l 3x" -l 3x "$schema"
refused_with "bad time limit" "schemapage: -w 0" -w 0 "$schema"
refused_with "unknown dialect" "schemapage: -d oracle: the dialect is postgres, mysql, sqlite, auto or loose" -d oracle "$schema"
refused_with "empty pipe" "empty" <(true)
refused_with "missing schema" "$work/none.sql" "$work/none.sql"
refused_with "unreadable schema" "bad.sql:1:" "$work/bad.sql"

# A layout engine that fails, and one that dies of a signal.
printf '#!/bin/sh\necho "dot: out of cheese" >&2\nexit 3\n' >"$work/fake/dot"
printf '#!/bin/sh\nkill -9 $$\n' >"$work/fake/sfdp"
chmod +x "$work/fake/dot" "$work/fake/sfdp"
PATH=$work/fake:$PATH refused_with "dot fails" "schemapage: dot failed (status 3)" "$schema"
grep -q "out of cheese" "$work/err" || no "dot's own message is not shown"
PATH=$work/fake:$PATH refused_with "sfdp killed" "schemapage: sfdp failed (killed by signal 9)" -e sfdp "$schema"
rm "$work/fake/sfdp"
PATH=/nowhere "$page" "$schema" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] && [ ! -s "$work/out" ] && grep -q '^schemapage: dot: not found (Graphviz' "$work/err" ||
  { no "no Graphviz on PATH: not refused with a message"; sed 's/^/  /' "$work/err"; }

# A layout engine that hangs: stopped when its time is up, and what it
# started with it. Under auto, dot has a second, and then sfdp draws the map.
printf '#!/bin/sh
sleep 60 &
echo $! >"%s/engine.pid"
wait
' "$work" >"$work/fake/dot"
chmod +x "$work/fake/dot"
PATH=$work/fake:$PATH refused_with "dot hangs" "schemapage: dot failed: no layout after 1.0 s" -e dot -w 1 "$schema"
sleep 0.2
running "$(cat "$work/engine.pid")" && { no "dot hangs: what it started still runs"; kill "$(cat "$work/engine.pid")"; }
PATH=$work/fake:$PATH run "$schema"
[ $rc -eq 0 ] || { no "dot hangs under auto: exit status $rc"; sed 's/^/  /' "$work/err"; }
grep -q 'map laid out by sfdp"' "$work/out" || no "dot hangs under auto: the map is not laid out by sfdp"
grep -q '^schemapage: dot took more than 1.0 s: the map is laid out by sfdp instead$' "$work/err" ||
  { no "dot hangs under auto: no word of it"; sed 's/^/  /' "$work/err"; }
rm -f "$work/engine.pid"

# Stopped while the layout runs: status 1, the layout ended too, nothing left.
printf '#!/bin/sh\necho $$ >"%s/engine.pid"\nexec sleep 60\n' "$work" >"$work/fake/dot"
PATH=$work/fake:$PATH "$page" "$schema" >"$work/out" 2>"$work/err" &
pid=$!
i=0
while [ ! -s "$work/engine.pid" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
kill -TERM $pid
wait $pid
rc=$?
[ $rc -eq 1 ] || no "stopped by SIGTERM: exit status $rc, not 1"
[ ! -s "$work/out" ] || no "stopped by SIGTERM: wrote to standard output"
# The engine ends soon after the signal; on a busy machine that may take a
# moment, so wait for it up to 5 s.
i=0
while [ -s "$work/engine.pid" ] && kill -0 "$(cat "$work/engine.pid")" 2>/dev/null && [ $i -lt 50 ]; do
  sleep 0.1
  i=$((i + 1))
done
if [ -s "$work/engine.pid" ] && kill -0 "$(cat "$work/engine.pid")" 2>/dev/null; then
  no "stopped by SIGTERM: the layout engine still runs"
  kill "$(cat "$work/engine.pid")"
fi
[ -z "$(ls -A "$work/tmp")" ] || no "stopped by SIGTERM: left $(ls "$work/tmp") in TMPDIR"

[ $fail -eq 0 ] && echo "ok: schemapage"
exit $fail
