#!/usr/bin/env bash
# Times several builds of the programs against each other on one schema, in
# the same rounds as LC_ALL=C wc -w on the same file: each round runs every
# command once, so that the load from other work falls on all of them alike.
# For weighing a change, such as a speed trick turned off, against the code
# as it is.
#
#   bench/compare.sh [-r ROUNDS] FILE PROGRAM...
#
# Prints per command the best and the median wall time in ms, the best as a
# multiple of wc -w's best, and the peak RSS of one more run (GNU time).
# FILE is typically one of bench/run.sh's schemas in build/bench/data.
set -euo pipefail
export LC_ALL=C
rounds=9
if [ "${1:-}" = -r ]; then
  rounds=$2
  shift 2
fi
if [ $# -lt 2 ]; then
  echo "usage: bench/compare.sh [-r ROUNDS] FILE PROGRAM..." >&2
  exit 1
fi
file=$1
shift
commands=("$@" wc)
declare -A times
cat "$file" >/dev/null  # into the page cache
run() {
  if [ "$1" = wc ]; then wc -w "$file"; else "$1" "$file"; fi >/dev/null 2>&1
}
for _ in $(seq "$rounds"); do
  for i in "${!commands[@]}"; do
    t0=$EPOCHREALTIME
    run "${commands[$i]}" || { echo "compare.sh: ${commands[$i]} failed on $file" >&2; exit 1; }
    t1=$EPOCHREALTIME
    times[$i]+=" $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", (b - a) * 1000 }')"
  done
done
wc_best=$(printf '%s\n' ${times[$((${#commands[@]} - 1))]} | sort -n | head -1)
echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $rounds rounds on $file, load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-50s %9s %9s %7s %8s\n' command "best ms" "median" "x wc" "RSS MiB"
for i in "${!commands[@]}"; do
  c=${commands[$i]}
  kib=-
  if [ "$c" != wc ] && [ -x /usr/bin/time ]; then
    /usr/bin/time -f '%M' -o /tmp/compare.$$ "$c" "$file" >/dev/null 2>&1 || true
    kib=$(tail -1 /tmp/compare.$$)
    rm -f /tmp/compare.$$
  fi
  printf '%s\n' ${times[$i]} | sort -n | awk -v c="$c" -v w="$wc_best" -v k="$kib" '
    { t[NR] = $1 }
    END { printf "%-50s %9.1f %9.1f %7.2f %8s\n", c, t[1], t[int((NR + 1) / 2)], t[1] / w,
          k == "-" ? "-" : sprintf("%.0f", k / 1024) }'
done
