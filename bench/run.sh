#!/usr/bin/env bash
# Times tabledoc and tablegraph on generated schemas of 1,000, 10,000 and
# 100,000 tables, against wc -w and cat on the same files, and prints one table.
#
#   bench/run.sh
#
# Environment (all optional):
#   BENCH_SIZES      table counts to run           (default "1000 10000 100000")
#   BENCH_REPEAT     runs per command, best kept   (default 5; 3 for 100,000 tables and more)
#   BENCH_WAIT_LOAD  wait up to 10 minutes for the 1-minute load average to fall
#                    to this value before timing   (default: do not wait)
#
# Builds a Release build in build/bench and keeps the schemas in
# build/bench/data (regenerated only when bench/gen_schema.py changes).
# Needs cmake, a C++20 compiler, python3 and GNU time (Debian package "time").
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
data=$build/data
gen=$root/bench/gen_schema.py
read -r -a sizes <<<"${BENCH_SIZES:-1000 10000 100000}"

if [ ! -x /usr/bin/time ]; then
  echo "run.sh: /usr/bin/time is missing (Debian package \"time\")" >&2
  exit 1
fi

# -- build ----------------------------------------------------------------------
mkdir -p "$build" "$data"
if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF &&
       cmake --build "$build" -j2 --target tabledoc tablegraph; } >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  echo "run.sh: build failed" >&2
  exit 1
fi
tabledoc=$build/tabledoc/tabledoc
tablegraph=$build/tablegraph/tablegraph

# -- data -----------------------------------------------------------------------
for n in "${sizes[@]}"; do
  f=$data/schema-$n.sql
  if [ ! -s "$f" ] || [ "$gen" -nt "$f" ]; then
    echo "generating $f" >&2
    python3 "$gen" "$n" -o "$f"
  fi
done

# -- load -----------------------------------------------------------------------
load1() { cut -d' ' -f1 /proc/loadavg; }
if [ -n "${BENCH_WAIT_LOAD:-}" ]; then
  for _ in $(seq 60); do
    awk -v l="$(load1)" -v m="$BENCH_WAIT_LOAD" 'BEGIN { exit !(l <= m) }' && break
    sleep 10
  done
fi
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# -- timing ---------------------------------------------------------------------
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

labels=("tabledoc FILE" "tabledoc < FILE" "tablegraph FILE" "tablegraph < FILE" "wc -w FILE" "cat FILE")

# run LABEL FILE: one run with standard output to /dev/null; sets ms and kib.
# The programs must exit with status 0, and write nothing to standard error but
# their notes on the indexes and views that they pass over.
run() {
  local label=$1 f=$2 t0 t1 rc=0
  local cmd
  case $label in
    "tabledoc FILE")     cmd=("$tabledoc" "$f") ;;
    "tabledoc < FILE")   cmd=("$tabledoc") ;;
    "tablegraph FILE")   cmd=("$tablegraph" "$f") ;;
    "tablegraph < FILE") cmd=("$tablegraph") ;;
    "wc -w FILE")        cmd=(wc -w "$f") ;;
    "cat FILE")          cmd=(cat "$f") ;;
  esac
  local in=/dev/null
  [[ $label == *"< FILE" ]] && in=$f
  t0=$EPOCHREALTIME
  /usr/bin/time -f '%e %M' -o "$tmp/time" "${cmd[@]}" <"$in" >/dev/null 2>"$tmp/err" || rc=$?
  t1=$EPOCHREALTIME
  if [ "$rc" != 0 ] || grep -q -v -E '^[^:]+:[0-9]+:[0-9]+: ignoring non-table creation$' "$tmp/err"; then
    echo "run.sh: \"$label\" on $f: exit status $rc" >&2
    head -5 "$tmp/err" >&2
    exit 1
  fi
  ms=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
  kib=$(tail -1 "$tmp/time" | cut -d' ' -f2)
}

declare -A best rss
for n in "${sizes[@]}"; do
  f=$data/schema-$n.sql
  repeat=${BENCH_REPEAT:-$([ "$n" -ge 100000 ] && echo 3 || echo 5)}
  cat "$f" >/dev/null  # into the page cache
  for label in "${labels[@]}"; do
    b="" m=0
    for _ in $(seq "$repeat"); do
      run "$label" "$f"
      if [ -z "$b" ] || awk -v x="$ms" -v y="$b" 'BEGIN { exit !(x < y) }'; then b=$ms; fi
      [ "$kib" -gt "$m" ] && m=$kib
    done
    best[$n,$label]=$b
    rss[$n,$label]=$m
  done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# -- report ---------------------------------------------------------------------
rev=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?')
if [ -n "$(git -C "$root" status --porcelain -- reader tabledoc tablegraph 2>/dev/null)" ]; then
  changes=$( (cd "$root" && git diff HEAD -- reader tabledoc tablegraph &&
              git ls-files --others --exclude-standard -z -- reader tabledoc tablegraph | xargs -0 -r cat) |
            sha1sum | cut -c1-8)
  rev="$rev + uncommitted changes to the programs (digest $changes)"
fi
echo "tabledoc/tablegraph benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $rev"
echo "$(nproc) CPUs, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)"
echo "load average (1, 5, 15 min): $load_before before, $load_after after"
echo "wall time: best of ${BENCH_REPEAT:-5 (3 at 100,000 tables)} runs, process start included; peak RSS: the largest seen"
echo "memory target: peak RSS <= 4 x input + 16 MiB (programs only)"
echo
printf '%-8s %9s  %-18s %10s %9s %9s %9s %5s %7s\n' \
  tables "input MiB" command "wall ms" "MB/s" "RSS MiB" "limit" mem "x wc"
for n in "${sizes[@]}"; do
  bytes=$(stat -c %s "$data/schema-$n.sql")
  wc_ms=${best[$n,wc -w FILE]}
  for label in "${labels[@]}"; do
    awk -v n="$n" -v bytes="$bytes" -v label="$label" -v ms="${best[$n,$label]}" \
        -v kib="${rss[$n,$label]}" -v wc="$wc_ms" 'BEGIN {
      mib = bytes / 1048576; limit = 4 * mib + 16; rss = kib / 1024
      prog = label ~ /^table/
      mem = prog ? (rss <= limit ? "ok" : "OVER") : "-"
      ratio = prog ? sprintf("%.2f", ms / wc) : "-"
      printf "%-8d %9.1f  %-18s %10.1f %9.1f %9.1f %9s %5s %7s\n", n, mib, label, ms,
             bytes / 1e6 / (ms / 1000), rss, prog ? sprintf("%.1f", limit) : "-", mem, ratio
    }'
  done
done

if [[ " ${sizes[*]} " == *" 10000 "* && " ${sizes[*]} " == *" 100000 "* ]]; then
  echo
  in_ratio=$(awk -v a="$(stat -c %s "$data/schema-10000.sql")" -v b="$(stat -c %s "$data/schema-100000.sql")" \
    'BEGIN { printf "%.2f", b / a }')
  echo "growth from 10,000 to 100,000 tables (input grows ${in_ratio}x; target: time and memory at most 12x)"
  printf '%-18s %8s %8s %6s\n' command time memory target
  for label in "${labels[@]}"; do
    awk -v label="$label" -v t1="${best[10000,$label]}" -v t2="${best[100000,$label]}" \
        -v m1="${rss[10000,$label]}" -v m2="${rss[100000,$label]}" 'BEGIN {
      t = t2 / t1; m = m2 / m1
      ok = label ~ /^table/ ? ((t <= 12 && m <= 12) ? "ok" : "OVER") : "-"
      printf "%-18s %7.2fx %7.2fx %6s\n", label, t, m, ok
    }'
  done
fi
exit 0
