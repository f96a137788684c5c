#!/usr/bin/env bash
# Times the -d readings of tabledoc and tablegraph on dump-shaped schemas
# (bench/gen_dump.py), beside wc -w on the same file in the same run, and
# prints each program's time as a multiple of wc -w's with the target.
#
#   bench/dialects.sh
#
# Environment (all optional):
#   BENCH_DIALECTS  dialects to run                        (default "postgres mysql sqlite")
#   BENCH_TABLES    tables in each schema                  (default 100000)
#   BENCH_REPEAT    timed rounds, the best of each kept    (default 3)
#
# Builds a Release build in build/bench (the one bench/run.sh uses) and keeps
# the schemas in build/bench/data (made again when the generator changes).
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
data=$build/data
read -r -a dialects <<<"${BENCH_DIALECTS:-postgres mysql sqlite}"
tables=${BENCH_TABLES:-100000}
repeat=${BENCH_REPEAT:-3}
max_ratio=2  # wall time as a multiple of wc -w on the same file

for d in "${dialects[@]}"; do
  case $d in
    postgres | mysql | sqlite) ;;
    *) echo "dialects.sh: unknown dialect \"$d\" (postgres, mysql, sqlite)" >&2; exit 1 ;;
  esac
done

mkdir -p "$build" "$data"
# shellcheck source=bench/build.sh
. "$root/bench/build.sh"
bench_build dialects.sh

for d in "${dialects[@]}"; do
  f=$data/dump-$d-$tables.sql
  if [ ! -s "$f" ] || [ "$root/bench/gen_dump.py" -nt "$f" ]; then
    echo "generating $f" >&2
    python3 "$root/bench/gen_dump.py" "$tables" --dialect "$d" -o "$f"
  fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
labels=("tabledoc -d FILE" "tabledoc -d < FILE" "tablegraph -d FILE" "tablegraph -d < FILE" "wc -w FILE")

# timed LABEL DIALECT FILE: one run, timed by the shell around the fork; sets
# ms. A status other than 0 or any word on standard error stops the benchmark.
timed() {
  local rc=0 t0 t1 in=/dev/null
  local -a cmd
  case $1 in
    "tabledoc -d FILE")     cmd=("$tabledoc" -d "$2" "$3") ;;
    "tabledoc -d < FILE")   cmd=("$tabledoc" -d "$2"); in=$3 ;;
    "tablegraph -d FILE")   cmd=("$tablegraph" -d "$2" "$3") ;;
    "tablegraph -d < FILE") cmd=("$tablegraph" -d "$2"); in=$3 ;;
    "wc -w FILE")           cmd=(wc -w "$3") ;;
  esac
  t0=$EPOCHREALTIME
  "${cmd[@]}" <"$in" >/dev/null 2>"$tmp/err" || rc=$?
  t1=$EPOCHREALTIME
  if [ "$rc" != 0 ] || [ -s "$tmp/err" ]; then
    echo "dialects.sh: \"$1\" -d $2 on $3: exit status $rc" >&2
    head -5 "$tmp/err" >&2
    exit 1
  fi
  ms=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
declare -A best
for d in "${dialects[@]}"; do
  f=$data/dump-$d-$tables.sql
  cat "$f" >/dev/null  # into the page cache
  # Each round runs every command once, so that a change in the load from
  # other work falls on the programs and on wc -w alike.
  for _ in $(seq "$repeat"); do
    for label in "${labels[@]}"; do
      timed "$label" "$d" "$f"
      b=${best[$d,$label]:-}
      if [ -z "$b" ] || awk -v x="$ms" -v y="$b" 'BEGIN { exit !(x < y) }'; then
        best[$d,$label]=$ms
      fi
    done
  done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo "-d readings benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?')"
echo "$(nproc) CPUs, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)"
echo "load average (1, 5, 15 min): $load_before before, $load_after after"
echo "bench/gen_dump.py $tables --dialect D; wall time: best of $repeat rounds, process start included;" \
     "target: each program within ${max_ratio} x wc -w. OVER marks a miss."
printf '%-9s %8s  %-21s %9s %7s %6s %5s\n' dialect "in MiB" command "wall ms" "MB/s" "x wc" ratio
for d in "${dialects[@]}"; do
  f=$data/dump-$d-$tables.sql
  bytes=$(stat -c %s "$f")
  for label in "${labels[@]}"; do
    awk -v d="$d" -v bytes="$bytes" -v label="$label" -v ms="${best[$d,$label]}" \
        -v wc="${best[$d,wc -w FILE]}" -v mr="$max_ratio" 'BEGIN {
      prog = label ~ /^table/
      r = ms / wc
      printf "%-9s %8.1f  %-21s %9.1f %7.1f %6s %5s\n", d, bytes / 1048576, label, ms, bytes / 1000 / ms,
        prog ? sprintf("%.2f", r) : "-", prog ? (r <= mr ? "ok" : "OVER") : "-"
    }'
  done
done
