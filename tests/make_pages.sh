#!/bin/sh
# Makes the pages that the browser test and the page contract check, with
# the schemapage under test:
#   large.html  a generated schema of 400 tables with page_fixture.sql at its end
#   dense.html  a generated schema of 300 tables with 4.7 foreign keys each, to any table
#   chado.html, zabbix.html  two real schemas of ../shared/corpus, where it is
#
# usage: make_pages.sh OUT_DIR SCHEMAPAGE PYTHON GEN_SCHEMA FIXTURE CORPUS_DIR
set -eu
out=$1 page=$2 python=$3 gen=$4 fixture=$5 corpus=$6
mkdir -p "$out"
"$python" "$gen" 400 -o "$out/large.sql"
cat "$fixture" >>"$out/large.sql"
"$page" -t '400 tables' "$out/large.sql" >"$out/large.html"
"$python" "$gen" 300 --dense -o "$out/dense.sql"
"$page" -t '300 dense tables' "$out/dense.sql" >"$out/dense.html"
for name in chado zabbix; do
  for f in "$corpus/$name"-*.sql; do
    [ -f "$f" ] && "$page" -d postgres "$f" >"$out/$name.html"
  done
done
echo "pages made in $out: $(cd "$out" && echo *.html)"
