#!/bin/sh
# Installs the build into a fresh prefix and runs the installed programs on
# the example schema: they must work from there, give what the built
# programs give, and have their manual pages beside them.
#
# usage: install_test.sh CMAKE BUILD_DIR PREFIX TABLEDOC TABLEGRAPH SCHEMA
#   TABLEDOC, TABLEGRAPH: the programs in the build tree, for comparison
set -u
export LC_ALL=C
cmake=$1 build=$2 prefix=$3 built_tabledoc=$4 built_tablegraph=$5 schema=$6
fail=0
no() { echo "FAIL: $*"; fail=1; }

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" || { echo "FAIL: cmake --install"; exit 1; }

for page in tabledoc.1 tablegraph.1 schemapage.1; do
  f=$prefix/share/man/man1/$page
  [ -f "$f" ] || { no "$f is not installed"; continue; }
  [ -s "$f" ] || no "$f is empty"
done

out=$prefix/out
mkdir -p "$out"
for prog in tabledoc tablegraph; do
  exe=$prefix/bin/$prog
  [ -x "$exe" ] || { no "$exe is not installed"; continue; }
  [ "$prog" = tabledoc ] && built=$built_tabledoc || built=$built_tablegraph
  # By name through PATH, as a user runs it.
  PATH=$prefix/bin:$PATH "$prog" "$schema" >"$out/$prog.out" 2>"$out/$prog.err"
  rc=$?
  [ $rc -eq 0 ] || no "installed $prog exits with $rc"
  [ -s "$out/$prog.out" ] || no "installed $prog writes nothing"
  "$built" "$schema" >"$out/$prog.want" 2>"$out/$prog.want.err"
  cmp -s "$out/$prog.want" "$out/$prog.out" || no "installed $prog writes other output than the built one"
  cmp -s "$out/$prog.want.err" "$out/$prog.err" || no "installed $prog writes other messages than the built one"
done

# schemapage runs from the prefix with nothing of the build on PATH: its
# template is compiled in, and nothing is installed beside it in share/.
if command -v dot >/dev/null 2>&1; then
  PATH=/usr/bin:/bin "$prefix/bin/schemapage" "$schema" >"$out/page.html" 2>"$out/page.err"
  rc=$?
  [ $rc -eq 0 ] || { no "installed schemapage exits with $rc"; cat "$out/page.err"; }
  grep -q '^<svg ' "$out/page.html" && grep -q '<dt id="sql-' "$out/page.html" ||
    no "the installed schemapage's page lacks the map or the document"
else
  [ -x "$prefix/bin/schemapage" ] || no "$prefix/bin/schemapage is not installed"
fi
[ ! -e "$prefix/share/tabledoc" ] || no "$prefix/share/tabledoc is installed, which nothing reads"

[ $fail -eq 0 ] && rm -rf "$prefix" && echo "ok: installed into $prefix and ran"
exit $fail
