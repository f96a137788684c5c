#!/bin/sh
# Checks the manual pages with groff's warnings all on: a page passes when
# groff reports nothing at all about it.
#
# usage: man_test.sh PAGE...
# Exits with 77 (skipped) where groff is not installed.
if ! command -v groff >/dev/null 2>&1; then
  echo "groff is not installed: skipped (Debian: apt-get install groff-base)"
  exit 77
fi
status=0
for page in "$@"; do
  out=$(LC_ALL=C groff -man -ww -z "$page" 2>&1)
  rc=$?
  if [ $rc -ne 0 ] || [ -n "$out" ]; then
    echo "$page: groff -man -ww -z exits with $rc and says:"
    printf '%s\n' "$out"
    status=1
  else
    echo "ok: $page"
  fi
done
exit $status
