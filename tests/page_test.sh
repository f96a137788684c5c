#!/bin/sh
# schemapage as a command: what reaches standard output, the exit status, the
# messages, the choice of engine, the title's escaping and the temporary
# files, also when the layout fails or the command is stopped.
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
  grep -v 'ignoring non-table creation' "$work/err" | grep -q . && { no "$what: unexpected messages"; sed 's/^/  /' "$work/err"; }
  [ "$(grep -c 'ignoring non-table creation' "$work/err")" -eq 2 ] || no "$what: the notices on the schema are not shown once each"
  [ -z "$(ls -A "$work/tmp")" ] || no "$what: left $(ls "$work/tmp") in TMPDIR"
done <<'EOF'
|dot
-e sfdp|sfdp
-l 5|sfdp
-e dot -l 5|dot
EOF

# The title is text: markup in it comes out escaped, in <title> and <h1>.
run -t '<script>alert(1)</script> & "quotes" @SCHEMA_DOC@' "$schema"
[ $rc -eq 0 ] || no "odd title: exit status $rc"
grep -q '<script>alert' "$work/out" && no "the title's markup reached the page"
[ "$(grep -c '&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;quotes&quot; @SCHEMA_DOC@' "$work/out")" -eq 2 ] ||
  no "the title is not in <title> and <h1>, escaped"
[ "$(grep -c '<dl class="tabs">' "$work/out")" -eq 1 ] || no "the document is not in the page exactly once"

# -- failures ---------------------------------------------------------------------
printf 'CREATE TABLE t (a INT,' >"$work/bad.sql"
refused_with "no operand" "usage: schemapage"
refused_with "two operands" "usage: schemapage" "$schema" "$schema"
refused_with "unknown option" "usage: schemapage" -x "$schema"
refused_with "unknown engine" "schemapage: -e neato" -e neato "$schema"
refused_with "bad table limit" "schemapage: -l 3x" -l 3x "$schema"
refused_with "missing schema" "$work/none.sql" "$work/none.sql"
refused_with "unreadable schema" "bad.sql:1:" "$work/bad.sql"

# A layout engine that fails, and one that dies of a signal.
printf '#!/bin/sh\necho "dot: out of cheese" >&2\nexit 3\n' >"$work/fake/dot"
printf '#!/bin/sh\nkill -9 $$\n' >"$work/fake/sfdp"
chmod +x "$work/fake/dot" "$work/fake/sfdp"
PATH=$work/fake:$PATH refused_with "dot fails" "schemapage: dot failed (status 3)" "$schema"
grep -q "out of cheese" "$work/err" || no "dot's own message is not shown"
PATH=$work/fake:$PATH refused_with "sfdp killed" "schemapage: sfdp failed" -e sfdp "$schema"

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
