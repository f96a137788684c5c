#!/usr/bin/env bash
# Times schemapage end to end (schema file in, page out) on generated
# schemas of two shapes: the plain one (gen_schema.py: 0 to 4 keys per table,
# mostly to near tables) at 100, 1,000 and 5,000 tables, and the dense one
# (--dense: 4.7 keys per table, to any table) at 120, 300 and 1,000 tables.
# For each it gives the engine that auto chose, the layout's own time (from
# schemapage -v), the whole page's time, both also as ratios to LC_ALL=C
# wc -w on the same file in the same run, the page's size; it checks that
# every link of the map lands on an entry and every entry is linked, and
# times how long pages open in headless Chromium.
#
#   bench/page.sh
#
# Targets: the layout of any schema of up to 1,000 tables at most 2 s, the
# page of 1,000 tables at most 10 s.
#
# Environment (all optional):
#   PAGE_SIZES    plain table counts                 (default "100 1000 5000")
#   PAGE_DENSE    dense table counts                 (default "120 300 1000")
#   PAGE_REPEAT   runs per size, best kept           (default 3; 1 from 5,000 tables)
#   PAGE_OPEN     plain table counts whose page is opened  (default "100 1000"; "" for none)
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
read -r -a sizes <<<"${PAGE_SIZES-100 1000 5000}"
read -r -a dense <<<"${PAGE_DENSE-120 300 1000}"
read -r -a open_sizes <<<"${PAGE_OPEN-100 1000}"

mkdir -p "$data"
if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF &&
       cmake --build "$build" -j2 --target schemapage; } >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  echo "page.sh: build failed" >&2
  exit 1
fi
page=$build/bin/schemapage

min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a ? b : a) }'; }
seconds() { # command...: the seconds it took, its output to /dev/null
  /usr/bin/time -f %e -o "$build/time" "$@" >/dev/null
  cat "$build/time"
}

echo "schemapage benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$root" rev-parse --short HEAD)"
echo "$(nproc) CPUs, load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-6s %6s %6s %-6s %9s %9s %7s %9s %9s %9s  %s\n' shape tables keys engine "layout s" "page s" "wc -w s" \
  "layout/wc" "page/wc" "page MiB" "links land"
run() { # shape tables gen-options...
  shape=$1 n=$2
  shift 2
  f=$data/$shape-$n.sql
  [ -s "$f" ] && [ "$f" -nt "$root/bench/gen_schema.py" ] || python3 "$root/bench/gen_schema.py" "$n" "$@" -o "$f"
  repeat=${PAGE_REPEAT:-$([ "$n" -ge 5000 ] && echo 1 || echo 3)}
  best= layout= wc=
  for _ in $(seq "$repeat"); do
    wc=$(min "$wc" "$(seconds wc -w "$f")")
    if ! /usr/bin/time -f %e -o "$build/time" "$page" -v "$f" >"$data/page-$shape-$n.html" 2>"$build/err"; then
      cat "$build/err" >&2
      echo "page.sh: schemapage failed on $f" >&2
      exit 1
    fi
    best=$(min "$best" "$(cat "$build/time")")
    layout=$(min "$layout" "$(sed -n 's/^schemapage: the layout took \([0-9.]*\) s.*/\1/p' "$build/err")")
  done
  keys=$(sed -n 's/^schemapage: the layout took .* \([0-9]*\) keys)$/\1/p' "$build/err")
  engine=$(sed -n 's/.*map laid out by \([a-z]*\)".*/\1/p' "$data/page-$shape-$n.html")
  mib=$(awk -v s="$(stat -c %s "$data/page-$shape-$n.html")" 'BEGIN { printf "%.1f", s / 1048576 }')
  # wc -w takes milliseconds, at the resolution of time's clock: 0.01 s at least.
  ratios=$(awk -v l="$layout" -v p="$best" -v w="$wc" 'BEGIN { if (w < 0.01) w = 0.01; printf "%9.0f %9.0f", l / w, p / w }')
  if check=$(python3 -c '
import sys; sys.path.insert(0, sys.argv[1])
from page_contract import check_page
p = check_page(open(sys.argv[2], "rb").read())
print("\n".join(p[:5])); sys.exit(1 if p else 0)' "$root/tests" "$data/page-$shape-$n.html"); then
    lands=yes
  else
    lands=NO
  fi
  printf '%-6s %6s %6s %-6s %9s %9s %7s %s %9s  %s\n' "$shape" "$n" "$keys" "$engine" "$layout" "$best" "$wc" \
    "$ratios" "$mib" "$lands"
  [ "$lands" = yes ] || { echo "$check" >&2; exit 1; }
}
for n in "${sizes[@]}"; do run plain "$n"; done
for n in "${dense[@]}"; do run dense "$n" --dense; done

if [ ${#open_sizes[@]} -gt 0 ]; then
  echo
  echo "opening in headless Chromium (best of 3): seconds to the load event, to the first frame after it"
  for n in "${open_sizes[@]}"; do
    python3 "$root/bench/page_open.py" "$data/page-plain-$n.html" | awk -v n="$n" '{ printf "%-7s %6s %6s\n", n, $2, $3 }'
  done
fi
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
