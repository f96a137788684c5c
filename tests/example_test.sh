#!/bin/sh
# Runs both programs on examples/schema.sql and checks that the example reads
# cleanly and still shows what it is there to show: foreign keys backward,
# forward, to the same table and declared at table level, a name that needs
# escaping, and the documentation markup.
#
# usage: example_test.sh TABLEDOC TABLEGRAPH SCHEMA
set -u
export LC_ALL=C
abs() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
tabledoc=$(abs "$1") tablegraph=$(abs "$2") schema=$(abs "$3")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
no() { echo "FAIL: $*"; fail=1; }

# The operand is given as "schema.sql", so that the messages name it so.
cd "$(dirname "$schema")" || exit 2
name=$(basename "$schema")

# The only messages: the index and the view, each passed over with a notice
# that stands just behind its second word (columns counted from 1, the line's
# newline being column 1 of the next line).
awk -v f="$name" '
  /^CREATE INDEX/ { printf "%s:%d:13: ignoring non-table creation\n", f, NR }
  /^CREATE VIEW/  { printf "%s:%d:12: ignoring non-table creation\n", f, NR }
' "$name" >"$tmp/want.err"
[ "$(wc -l <"$tmp/want.err")" -eq 2 ] || no "expected one CREATE INDEX and one CREATE VIEW in $name"

for prog in "$tabledoc" "$tablegraph"; do
  p=$(basename "$prog")
  "$prog" "$name" >"$tmp/$p.out" 2>"$tmp/$p.err"
  rc=$?
  [ $rc -eq 0 ] || no "$p exits with $rc"
  cmp -s "$tmp/want.err" "$tmp/$p.err" || { no "$p's messages:"; diff "$tmp/want.err" "$tmp/$p.err"; }
done

# The entry of one column in the document: from its <dt> to its </dd>.
entry() { awk -v id="<dt id=\"$1\">" 'index($0, id) { on = 1 } on { print } on && /<\/dd>/ { exit }' "$tmp/tabledoc.out"; }
has() { # has WHAT TEXT: the fixed TEXT occurs in WHAT (a file).
  grep -qF -- "$2" "$1" || no "$(basename "$1") lacks: $2"
}
link() { # link COLUMN-ANCHOR TARGET: the column's entry links to TARGET.
  entry "$1" >"$tmp/entry"
  has "$tmp/entry" "<div class=\"foreign\"><a href=\"#$2\">${2#sql-}</a></div>"
}
TAB=$(printf '\t')

link sql-issues.milestone sql-milestones.id        # backward
link sql-projects.owner sql-users.id               # forward
link sql-issues.parent sql-issues.id               # the same table
link sql-issue_labels.label sql-labels.id          # FOREIGN KEY (label) ...
has "$tmp/tabledoc.out" "$TAB<dt id=\"sql-issue_labels\">issue labels</dt>"
has "$tmp/tabledoc.out" "$TAB$TAB$TAB<dt id=\"sql-work_log.time___effort\">time &amp; effort</dt>"
has "$tmp/tabledoc.out" "$TAB$TAB$TAB<dt id=\"sql-milestones.due_date\">due date</dt>"
# Markup: a paragraph break, quotes, both dashes, references, a link, escapes.
has "$tmp/tabledoc.out" " The heart of the tracker: a bug report, a feature request or a task.<p></p>"
has "$tmp/tabledoc.out" "The &#x201c;key&#x201d; of a project &#8211; two to six capital letters &#8211; prefixes"
has "$tmp/tabledoc.out" "The day the work is meant to be done by &#8212; a plain date"
has "$tmp/tabledoc.out" "(<a href=\"#sql-issues.project\">issues.project</a>)"
has "$tmp/tabledoc.out" "<a href=\"https://tracker.example.org/help/workflow\">the workflow guide</a>"
has "$tmp/tabledoc.out" "such as ada@example.org; never"
has "$tmp/tabledoc.out" "escaped [brackets] and @sign here"
# Every reference in the document lands on an entry of the document.
grep -o 'href="#[^"]*"' "$tmp/tabledoc.out" | sed 's/^href="#//; s/"$//' | sort -u >"$tmp/targets"
while read -r t; do
  grep -qF "id=\"$t\"" "$tmp/tabledoc.out" || no "the link #$t leads to no entry"
done <"$tmp/targets"

# Nodes are numbered by order of definition (projects 0, users 1, ... issues
# 5, labels 8, "issue labels" 9), ports by column declaration.
has "$tmp/tablegraph.out" "${TAB}table5:f9 -> table4:f0;"     # issues.milestone
has "$tmp/tablegraph.out" "${TAB}table0:f3 -> table1:f0;"     # projects.owner
has "$tmp/tablegraph.out" "${TAB}table5:f10 -> table5:f0;"    # issues.parent
has "$tmp/tablegraph.out" "${TAB}table9:f1 -> table8:f0;"     # "issue labels".label
has "$tmp/tablegraph.out" "$TAB$TAB$TAB<TR><TD HREF=\"#sql-work_log.time___effort\" PORT=\"f4\">time &amp; effort</TD></TR>"
[ "$(grep -c "^${TAB}table[0-9]* \[" "$tmp/tablegraph.out")" -eq 14 ] || no "tablegraph does not draw 14 tables"

[ $fail -eq 0 ] && echo "ok: $name"
exit $fail
