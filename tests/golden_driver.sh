#!/usr/bin/env bash
# Runs one golden case against a built program and compares bytes.
#
# usage: golden_driver.sh PROGRAM CASEDIR MODE
#   PROGRAM  path of the built tabledoc or tablegraph; its base name picks the
#            expected files (P below)
#   MODE     "file": the input is given as the operand input.sql;
#            "stdin": the input is fed on standard input, with no operand
#
# A case folder holds input.sql and, for each program P that it covers, P.out
# (expected standard output). Optional: P.err (standard error; absent means
# empty), P.status (exit status; absent means 0), P.args (arguments before
# the operand, one per line; a line "{}" puts the operand there and makes the
# case file-only). In stdin mode every "input.sql" of the expected standard
# error reads "<stdin>", unless P.stdin.err, P.stdin.out or P.stdin.status
# give the stdin run's own expectations.
set -u
export LC_ALL=C

prog=$1 dir=$2 mode=$3
name=$(basename "$prog")
# Run the program by name, as users do, so that getopt's own messages show
# its name and not the build path.
PATH=$(cd "$(dirname "$prog")" && pwd):$PATH
cd "$dir" || exit 2

args=()
operand_placed=0
if [ -f "$name.args" ]; then
  while IFS= read -r a || [ -n "$a" ]; do
    if [ "$a" = "{}" ]; then
      operand_placed=1
      [ "$mode" = file ] && args+=(input.sql)
    else
      args+=("$a")
    fi
  done <"$name.args"
fi
if [ "$mode" = stdin ] && [ "$operand_placed" = 1 ]; then
  echo "file-only case: skipped on standard input"
  exit 0
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

want_out=$name.out want_err=$name.err want_status=0
[ -f "$name.status" ] && want_status=$(cat "$name.status")
if [ ! -f "$want_err" ]; then
  : >"$tmp/want.err"
  want_err=$tmp/want.err
fi

if [ "$mode" = file ]; then
  [ "$operand_placed" = 1 ] || args+=(input.sql)
  "$name" "${args[@]}" </dev/null >"$tmp/out" 2>"$tmp/err"
  status=$?
else
  "$name" "${args[@]}" <input.sql >"$tmp/out" 2>"$tmp/err"
  status=$?
  [ -f "$name.stdin.out" ] && want_out=$name.stdin.out
  [ -f "$name.stdin.status" ] && want_status=$(cat "$name.stdin.status")
  if [ -f "$name.stdin.err" ]; then
    want_err=$name.stdin.err
  else
    sed 's/input\.sql/<stdin>/g' "$want_err" >"$tmp/want.stdin.err"
    want_err=$tmp/want.stdin.err
  fi
fi

ok=1
if ! cmp -s "$want_out" "$tmp/out"; then
  echo "standard output differs ($mode):"
  diff -u "$want_out" "$tmp/out" | cat -A | head -n 60
  ok=0
fi
if ! cmp -s "$want_err" "$tmp/err"; then
  echo "standard error differs ($mode):"
  diff -u "$want_err" "$tmp/err" | cat -A | head -n 60
  ok=0
fi
if [ "$status" != "$want_status" ]; then
  echo "exit status $status, wanted $want_status ($mode)"
  ok=0
fi
[ "$ok" = 1 ]
