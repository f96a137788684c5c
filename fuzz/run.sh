#!/usr/bin/env bash
# Runs the fuzz targets one after the other, with the same libFuzzer
# options for each, and fails on the first finding.
#
# usage: fuzz/run.sh BUILD_DIR WORK_DIR [libFuzzer option...]
#   BUILD_DIR  build tree of the fuzz preset, e.g. build/fuzz
#   WORK_DIR   keeps, per target T, the inputs that found new coverage (WORK_DIR/T/),
#              the log (WORK_DIR/T.log) and any reproducer (WORK_DIR/T-crash-..., -leak-, ...)
# e.g. fuzz/run.sh build/fuzz "$(mktemp -d)" -seed=1 -runs=100000
#
# Seeds: fuzz/corpus/T/; the reader also starts from every golden case input
# and the example schemas, the dialect target from the database test's fixtures. FUZZ_MESSAGES=1 lets the reader's messages through.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd) || exit 2
mkdir -p "$2" && work=$(cd "$2" && pwd) || exit 2
shift 2

seeds=$work/golden-inputs
rm -rf "$seeds" && mkdir -p "$seeds"
for f in "$root"/tests/golden/*/input.sql; do
  cp "$f" "$seeds/$(basename "$(dirname "$f")").sql"
done
cp "$root"/examples/*.sql "$seeds/"

# The dialect target starts from the database test's fixtures too, each
# under a first byte that picks its dialect ("-" PostgreSQL, "C" MySQL,
# "/" SQLite).
dialect_seeds=$work/dialect-inputs
rm -rf "$dialect_seeds" && mkdir -p "$dialect_seeds"
for f in "$root"/tests/dialect/*/*.sql; do
  [ -e "$f" ] || continue
  d=$(basename "$(dirname "$f")")
  case $d in postgres) first='-- ';; mysql) first='CREATE TABLE seed (a int);';; *) first='/* */';; esac
  { printf '%s\n' "$first"; cat "$f"; } >"$dialect_seeds/$d-$(basename "$f")"
done

status=0
for target in reader_fuzz dialect_fuzz markup_fuzz; do
  name=${target%_fuzz}
  extra=()
  [ "$name" = reader ] && extra=("$seeds")
  [ "$name" = dialect ] && extra=("$dialect_seeds")
  mkdir -p "$work/$name"
  echo "== $target $*"
  "$build/fuzz/$target" -artifact_prefix="$work/$name-" -print_final_stats=1 "$@" \
    "$work/$name" "$root/fuzz/corpus/$name" "${extra[@]}" >"$work/$name.log" 2>&1
  rc=$?
  # The last lines hold the final statistics, or the report of a finding.
  if [ $rc -ne 0 ]; then
    tail -n 60 "$work/$name.log"
    echo "$target: finding (status $rc); reproducer and full log in $work"
    status=1
  else
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/$name.log" | tr '\n' ' '
    echo
  fi
done
exit $status
