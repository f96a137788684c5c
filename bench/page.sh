#!/usr/bin/env bash
# Times schemapage end to end (schema file in, page out) on generated schemas
# of 100, 1,000 and 5,000 tables, checks that every link of each page's map
# lands on an entry and every entry is linked, and times how long the pages
# open in headless Chromium.
#
#   bench/page.sh
#
# Environment (all optional):
#   PAGE_SIZES    table counts to run               (default "100 1000 5000")
#   PAGE_REPEAT   runs per size, best kept           (default 3; 1 from 5,000 tables)
#   PAGE_OPEN     table counts whose page is opened  (default "100 1000"; "" for none)
#
# Builds a Release build in build/bench-page; the schemas and pages stay in
# build/bench-page/data. Needs cmake, a C++20 compiler, python3, Graphviz,
# GNU time and, for the opening times, chromium. A benchmark, not a test: the
# exit status is 1 only when a step fails or a map link does not land.
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench-page
data=$build/data
read -r -a sizes <<<"${PAGE_SIZES:-100 1000 5000}"
read -r -a open_sizes <<<"${PAGE_OPEN-100 1000}"

mkdir -p "$data"
if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF &&
       cmake --build "$build" -j2 --target schemapage; } >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  echo "page.sh: build failed" >&2
  exit 1
fi
page=$build/bin/schemapage

echo "schemapage benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$root" rev-parse --short HEAD)"
echo "$(nproc) CPUs, load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-7s %-7s %9s %9s %10s  %s\n' tables engine "best s" "page MiB" "map links" "links land"
for n in "${sizes[@]}"; do
  f=$data/schema-$n.sql
  [ -s "$f" ] && [ "$f" -nt "$root/bench/gen_schema.py" ] || python3 "$root/bench/gen_schema.py" "$n" -o "$f"
  repeat=${PAGE_REPEAT:-$([ "$n" -ge 5000 ] && echo 1 || echo 3)}
  best=
  for _ in $(seq "$repeat"); do
    if ! /usr/bin/time -f %e -o "$build/time" "$page" "$f" >"$data/page-$n.html" 2>"$build/err"; then
      cat "$build/err" >&2
      echo "page.sh: schemapage failed on $f" >&2
      exit 1
    fi
    t=$(cat "$build/time")
    best=$(awk -v a="${best:-$t}" -v b="$t" 'BEGIN { print (b < a ? b : a) }')
  done
  engine=$(sed -n 's/.*map laid out by \([a-z]*\)".*/\1/p' "$data/page-$n.html")
  links=$(grep -c '<a xlink:href="#sql-' "$data/page-$n.html")
  mib=$(awk -v s="$(stat -c %s "$data/page-$n.html")" 'BEGIN { printf "%.1f", s / 1048576 }')
  if check=$(python3 -c '
import sys; sys.path.insert(0, sys.argv[1])
from page_contract import check_page
p = check_page(open(sys.argv[2], "rb").read())
print("\n".join(p[:5])); sys.exit(1 if p else 0)' "$root/tests" "$data/page-$n.html"); then
    lands=yes
  else
    lands=NO
  fi
  printf '%-7s %-7s %9s %9s %10s  %s\n' "$n" "$engine" "$best" "$mib" "$links" "$lands"
  [ "$lands" = yes ] || { echo "$check" >&2; exit 1; }
done

if [ ${#open_sizes[@]} -gt 0 ]; then
  echo
  echo "opening in headless Chromium (best of 3): seconds to the load event, to the first frame after it"
  for n in "${open_sizes[@]}"; do
    python3 "$root/bench/page_open.py" "$data/page-$n.html" | awk -v n="$n" '{ printf "%-7s %6s %6s\n", n, $2, $3 }'
  done
fi
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
