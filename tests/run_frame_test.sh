#!/usr/bin/env bash
# What both programs do around their output: a failed write is an error, any
# operand that opens is read, and a failure leaves standard output empty.
#
# usage: run_frame_test.sh TABLEDOC TABLEGRAPH
set -u
export LC_ALL=C
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
PATH=$(cd "$(dirname "$1")" && pwd):$(cd "$(dirname "$2")" && pwd):$PATH
cd "$tmp" || exit 2

# Whether SIGPIPE was ignored when the test began (a shell cannot take such
# a signal back): then its default cannot be tried.
sigpipe_ignored=$(trap -p PIPE)

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect NAME STATUS WANT_ERR: compares the last run's status, standard error
# ("" for none) and, after status 1, that standard output stayed empty.
expect() {
  local name=$1 want_status=$2 want_err=$3
  [ "$status" = "$want_status" ] || fail "$name: status $status, wanted $want_status"
  [ "$(cat err)" = "$want_err" ] || fail "$name: standard error: $(cat err) -- wanted: $want_err"
  if [ "$want_status" = 1 ] && [ -s out ]; then
    fail "$name: output after status 1"
  fi
}

printf 'CREATE TABLE a (x REFERENCES b (y));\nCREATE TABLE b (y);\n' >small.sql
# Enough output to fill any pipe several times over.
awk 'BEGIN { for (i = 0; i < 3000; i++) printf "CREATE TABLE t%d (id, name, other_id REFERENCES t0 (id));\n", i }' >big.sql
mkdir dir

for prog in tabledoc tablegraph; do
  "$prog" small.sql >want 2>/dev/null || fail "$prog small.sql"

  # Write errors: every kind ends with status 1 and the reason.
  "$prog" small.sql >/dev/full 2>err; status=$?
  expect "$prog >/dev/full" 1 "$prog: write error: No space left on device"
  "$prog" small.sql 2>err >&-; status=$?
  expect "$prog >&-" 1 "$prog: write error: Bad file descriptor"
  status=$( (trap '' PIPE; "$prog" big.sql 2>err; echo $? >status) | head -c 10 >/dev/null; cat status)
  expect "$prog | head, SIGPIPE ignored" 1 "$prog: write error: Broken pipe"
  # As in any pipeline, a reader that goes away ends the writer by SIGPIPE,
  # quietly.
  if [ -z "$sigpipe_ignored" ]; then
    status=$( ("$prog" big.sql 2>err; echo $? >status) | head -c 10 >/dev/null; cat status)
    expect "$prog | head" 141 ""
  fi

  # Operands that cannot be mapped are read like standard input, under their own name.
  "$prog" <(cat small.sql) >out 2>err; status=$?
  expect "$prog <(...)" 0 ""
  cmp -s want out || fail "$prog <(...): output differs from the file's"
  rm -f fifo && mkfifo fifo
  cat small.sql >fifo &
  "$prog" fifo >out 2>err; status=$?
  expect "$prog FIFO" 0 ""
  cmp -s want out || fail "$prog FIFO: output differs from the file's"
  printf 'CREATE' >fifo &
  "$prog" fifo >out 2>err; status=$?
  expect "$prog FIFO, syntax error" 1 "fifo:1:6: unexpected eof"
  : >fifo &
  "$prog" fifo >out 2>err; status=$?
  expect "$prog empty FIFO" 1 "$prog: fifo: empty file"
  "$prog" /dev/null >out 2>err; status=$?
  expect "$prog /dev/null" 1 "$prog: /dev/null: empty file"
  "$prog" dir >out 2>err; status=$?
  expect "$prog directory" 1 "$prog: dir: Is a directory"
  : >empty.sql
  "$prog" empty.sql >out 2>err; status=$?
  expect "$prog empty file" 1 "$prog: empty.sql: Invalid argument"
done

[ "$failures" = 0 ] && echo "all cases passed"
[ "$failures" = 0 ]
