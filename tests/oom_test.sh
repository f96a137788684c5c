#!/usr/bin/env bash
# Running out of memory, wherever it happens: both programs under a sweep of
# address-space limits (ulimit -v) on a small and two large schemas. Every run
# ends with status 0 and the whole output, or with status 1, one message and
# nothing on standard output. Never a crash or an abort.
#
# usage: oom_test.sh TABLEDOC TABLEGRAPH SMALL_SCHEMA
set -u
export LC_ALL=C
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tabledoc=$1 tablegraph=$2 small=$3

# One table with an 8 MiB name: one large text block. 20,000 tables with
# comments and foreign keys: many blocks and growing lists.
awk 'BEGIN { printf "CREATE TABLE "; for (i = 0; i < 8 * 1024; i++) printf "%01024d", 0; print " (a int);" }' \
  >"$tmp/long-name.sql"
awk 'BEGIN { for (i = 0; i < 20000; i++)
  printf "-- table %d\nCREATE TABLE t%d (id int, -- the id\n name text, other int REFERENCES t%d (id));\n",
         i, i, int(i / 2) }' >"$tmp/many.sql"

failures=0 runs=0 outcomes=
# The lowest limit, in steps of 1000 KiB, at which the loader starts a
# program: it then reads the empty standard input and says so.
start=1000
while [ "$start" -lt 30000 ] &&
      ! (ulimit -v "$start" && exec "$tabledoc" </dev/null) 2>&1 | grep -q 'empty file'; do
  start=$((start + 1000))
done
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for prog in "$tabledoc" "$tablegraph"; do
  name=$(basename "$prog")
  for schema in "$small" "$tmp/long-name.sql" "$tmp/many.sql"; do
    what="$name $(basename "$schema")"
    "$prog" "$schema" >"$tmp/want" 2>"$tmp/want-err" || { fail "$what: status $? without a limit"; continue; }
    # From what the dynamic loader needs to map the program and its libraries
    # (below it the program never starts) to above what the run needs.
    for kib in $(seq "$start" 2000 90000); do
      runs=$((runs + 1))
      status=0
      (ulimit -v "$kib" && exec "$prog" "$schema") >"$tmp/out" 2>"$tmp/err" || status=$?
      outcomes="$outcomes $status"
      case $status in
        0)
          cmp -s "$tmp/out" "$tmp/want" || fail "$what at $kib KiB: status 0 with other output"
          cmp -s "$tmp/err" "$tmp/want-err" || fail "$what at $kib KiB: status 0 with other messages" ;;
        1)
          [ -s "$tmp/out" ] && fail "$what at $kib KiB: output after status 1"
          lines=$(wc -l <"$tmp/err")
          [ "$lines" = 1 ] || fail "$what at $kib KiB: $lines lines on standard error: $(head -c 300 "$tmp/err")"
          cat "$tmp/err" >>"$tmp/messages"
          grep -q -E ': Cannot allocate memory$' "$tmp/err" ||
            fail "$what at $kib KiB: not an out-of-memory message: $(head -c 200 "$tmp/err")" ;;
        *)
          fail "$what at $kib KiB: status $status: $(head -c 200 "$tmp/err")" ;;
      esac
    done
  done
done

[ -f "$tmp/messages" ] && sort "$tmp/messages" | uniq -c
echo "$runs runs from $start KiB: $(printf '%s\n' $outcomes | sort | uniq -c | awk 'NF { printf "%s with status %s; ", $1, $2 }')$failures failures"
[ "$failures" = 0 ]
