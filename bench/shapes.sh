#!/usr/bin/env bash
# How the time and memory of tabledoc and tablegraph grow with the input, on
# the shapes of bench/gen_shapes.py (one table of N columns, N ALTER TABLE
# statements, N schemas on the search path, ...) at N, 2N and 4N, for each
# dialect with -d and without (the loose grammar), beside wc -w on the same
# file in the same round.
#
#   bench/shapes.sh
#   BENCH_SHAPES="wide schemas" BENCH_SCALE=0.5 bench/shapes.sh
#
# Environment (all optional):
#   BENCH_SHAPES     shapes to run               (default: every shape of gen_shapes.py --list)
#   BENCH_DIALECTS   dialects to run             (default "postgres mysql sqlite")
#   BENCH_SCALE      factor on every shape's N   (default 1)
#   BENCH_DOUBLINGS  sizes after N: 2N, 4N, ...  (default 2)
#   BENCH_REPEAT     timed rounds, best kept     (default 3; 1 for a run of 5 s or more)
#   BENCH_MAX_S      a command's next size is left out when this size took more
#                    than BENCH_MAX_S / 8 seconds (it could take 8 times as long)
#                    (default 60)
#
# A measurement, not a test: the exit status is 0 unless a program fails (a
# status other than 0, or anything on standard error; the loose grammar may
# say "ignoring non-table creation" for CREATE SCHEMA and warn of the
# foreign keys that only search_path leads to).
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
gen=$root/bench/gen_shapes.py
build=$root/build/shapes
data=$build/data
scale=${BENCH_SCALE:-1}
doublings=${BENCH_DOUBLINGS:-2}
repeat=${BENCH_REPEAT:-3}
max_s=${BENCH_MAX_S:-60}
read -r -a want_dialects <<<"${BENCH_DIALECTS:-postgres mysql sqlite}"
grow_limit=2.5  # time per doubling of the input (and output) above which a shape is NONLINEAR
mem_limit=1.5   # peak RSS of -d over the loose grammar's on the same file
floor_ms=50     # growth is judged only up to a time of at least this
low_ms=20       # and from a time of at least this (below, the process start dominates)

# N per shape: the slowest reading at 4N takes about a second at commit 21ad97c.
declare -A base=([wide]=4000 [add-column]=4000 [comment-column]=2500 [drop-column]=1000
                 [column-fkeys]=4000 [composite-key]=2500 [schemas]=500 [like-chain]=8000
                 [like-grow]=250 [many-tables]=50000)
# What one unit of N brings into the model, for the memory per unit.
declare -A unit=([wide]=col [add-column]=col [comment-column]=col [drop-column]=col
                 [column-fkeys]=col [composite-key]=col [schemas]=table [like-chain]=table
                 [like-grow]=col [many-tables]=table)
# Files that the loose grammar cannot read (composite FOREIGN KEY (a, b),
# MySQL's CREATE TABLE ... LIKE): only -d runs on them.
no_loose() {
  case $1:$2 in composite-key:* | like-chain:mysql | like-grow:mysql) return 0 ;; esac
  return 1
}
# Shapes whose -d reading holds other tables or columns than the loose
# grammar's (ALTER TABLE changes them; LIKE copies them): the memory of the
# two is shown but not compared.
other_model() {
  case $1 in add-column | drop-column | like-chain | like-grow) return 0 ;; esac
  return 1
}
# units SHAPE N: the units of the model (columns or tables) the file holds.
units() {
  case $1 in
    add-column) echo $(($2 + 1)) ;;
    composite-key) echo $((2 * $2)) ;;
    like-chain) echo $(($2 + 1)) ;;
    like-grow) echo $((10 * ($2 + 1) + $2 * ($2 + 1) / 2)) ;;
    *) echo "$2" ;;
  esac
}

if [ ! -x /usr/bin/time ]; then
  echo "shapes.sh: /usr/bin/time is missing (Debian package \"time\")" >&2
  exit 1
fi
mapfile -t listed < <(python3 "$gen" --list)
declare -A applies
all_shapes=()
for line in "${listed[@]}"; do
  read -r -a fields <<<"$line"
  all_shapes+=("${fields[0]}")
  applies[${fields[0]}]="${fields[*]:1}"
done
read -r -a shapes <<<"${BENCH_SHAPES:-${all_shapes[*]}}"
for s in "${shapes[@]}"; do
  if [ -z "${applies[$s]:-}" ] || [ -z "${base[$s]:-}" ]; then
    echo "shapes.sh: unknown shape \"$s\" (${all_shapes[*]})" >&2
    exit 1
  fi
done

for d in "${want_dialects[@]}"; do
  case $d in
    postgres | mysql | sqlite) ;;
    *) echo "shapes.sh: unknown dialect \"$d\" (postgres, mysql, sqlite)" >&2; exit 1 ;;
  esac
done

mkdir -p "$build" "$data"
# shellcheck source=bench/build.sh
. "$root/bench/build.sh"
bench_build shapes.sh

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

# check WHAT READING: status $rc and $tmp/err of the run just made; a failure
# is reported and counted.
check() {
  if [ "$2" = loose ] && [ -s "$tmp/err" ]; then
    grep -v -e ': ignoring non-table creation$' -e ': unknown foreign key table on ' \
      "$tmp/err" >"$tmp/err2" || true
    mv "$tmp/err2" "$tmp/err"
  fi
  if [ "$rc" != 0 ] || [ -s "$tmp/err" ]; then
    echo "shapes.sh: $1: exit status $rc" >&2
    head -3 "$tmp/err" >&2
    failed=1
    return 1
  fi
}

# argv PROGRAM READING DIALECT FILE: sets cmd.
argv() {
  local p=$tabledoc
  [ "$1" = tablegraph ] && p=$tablegraph
  case $2 in
    wc) cmd=(wc -w "$4") ;;
    loose) cmd=("$p" "$4") ;;
    *) cmd=("$p" -d "$3" "$4") ;;
  esac
}

# Results, keyed by "PROGRAM,READING,SIZE": best ms, peak RSS KiB, output bytes.
declare -A ms rss out skip bytes
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
rev=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?')
if [ -n "$(git -C "$root" status --porcelain -- reader tabledoc tablegraph 2>/dev/null)" ]; then
  rev="$rev + uncommitted changes to the programs"
fi
sizes_head=""
for i in $(seq 0 "$doublings"); do
  sizes_head+=$(printf ' %9s' "ms@$((1 << i))N")
done
echo "shape growth benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $rev"
echo "$(nproc) CPUs, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo); load average before: $load_before"
echo "wall ms: best of $repeat rounds, process start included; x wc: time over wc -w's at the largest size"
echo "doublings: time growth per doubling of input + output bytes, from each size to the next (in parentheses,"
echo "  not judged: the smaller time under ${low_ms} ms or the larger under ${floor_ms}); all: the same from the first size"
echo "  of ${low_ms} ms or more to the largest;"
echo "  NONLINEAR: all above ${grow_limit}"
echo "MiB: peak RSS at the largest size; B/unit: RSS added per column or table from N to the largest size;"
echo "  /loose: RSS over the loose grammar's on the same file (in parentheses: it holds other columns, not judged);"
echo "  MEMORY: above ${mem_limit}"
printf '%-15s %-8s %-5s %-10s %6s%s %7s %11s %5s %7s %10s %7s %s\n' shape dialect -d program N "$sizes_head" \
  "x wc" doublings all MiB B/unit /loose flags

for s in "${shapes[@]}"; do
  for d in ${applies[$s]}; do
    [[ " ${want_dialects[*]} " == *" $d "* ]] || continue
    n0=$(awk -v b="${base[$s]}" -v k="$scale" 'BEGIN { n = int(b * k + 0.5); print n < 1 ? 1 : n }')
    readings=("$d")
    no_loose "$s" "$d" || readings+=(loose)
    runs=()
    for r in "${readings[@]}"; do
      runs+=("tabledoc,$r" "tablegraph,$r")
    done
    ms=() rss=() out=() skip=()
    for i in $(seq 0 "$doublings"); do
      n=$((n0 << i))
      f=$data/$s-$d-$n.sql
      if [ ! -s "$f" ] || [ "$gen" -nt "$f" ]; then
        python3 "$gen" "$s" "$n" --dialect "$d" -o "$f"
      fi
      bytes[$i]=$(stat -c %s "$f")
      cat "$f" >/dev/null  # into the page cache
      # Once under /usr/bin/time for the peak RSS and the output's size.
      rounds=$repeat
      for run in "${runs[@]}"; do
        [ -z "${skip[$run]:-}" ] || continue
        argv "${run%,*}" "${run#*,}" "$d" "$f"
        t0=$EPOCHREALTIME
        set +e
        /usr/bin/time -f %M -o "$tmp/rss" "${cmd[@]}" 2>"$tmp/err" </dev/null | wc -c >"$tmp/out"
        rc=${PIPESTATUS[0]}
        set -e
        t1=$EPOCHREALTIME
        if ! check "${cmd[*]}" "${run#*,}"; then
          skip[$run]=failed
          continue
        fi
        rss[$run,$i]=$(tail -1 "$tmp/rss")
        out[$run,$i]=$(cat "$tmp/out")
        took=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
        ms[$run,$i]=$took
        if awk -v t="$took" 'BEGIN { exit !(t >= 5000) }'; then
          rounds=1
        fi
      done
      # Timed rounds: each runs every command once, wc -w included, so that a
      # change in the load falls on all of them alike.
      for _ in $(seq "$rounds"); do
        for run in "${runs[@]}" "wc,wc"; do
          [ -z "${skip[$run]:-}" ] || continue
          argv "${run%,*}" "${run#*,}" "$d" "$f"
          rc=0
          t0=$EPOCHREALTIME
          "${cmd[@]}" </dev/null >/dev/null 2>"$tmp/err" || rc=$?
          t1=$EPOCHREALTIME
          if ! check "${cmd[*]}" "${run#*,}"; then
            skip[$run]=failed
            continue
          fi
          took=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
          b=${ms[$run,$i]:-}
          if [ -z "$b" ] || awk -v x="$took" -v y="$b" 'BEGIN { exit !(x < y) }'; then
            ms[$run,$i]=$took
          fi
        done
      done
      for run in "${runs[@]}"; do
        if [ -z "${skip[$run]:-}" ] && awk -v t="${ms[$run,$i]}" -v m="$max_s" 'BEGIN { exit !(t > m * 1000 / 8) }'; then
          skip[$run]=slow
        fi
      done
    done
    # One line per program and reading.
    for run in "${runs[@]}"; do
      r=${run#*,}
      p=${run%,*}
      list=""
      for i in $(seq 0 "$doublings"); do
        list+="${ms[$run,$i]:--}:${ms[wc,wc,$i]:--}:${bytes[$i]}:${out[$run,$i]:--}:${rss[$run,$i]:--}:$(units "$s" $((n0 << i)));"
      done
      loose_rss=-
      same=1
      other_model "$s" && same=0
      if [ "$r" != loose ] && ! no_loose "$s" "$d"; then
        loose_rss=$(for i in $(seq "$doublings" -1 0); do
                      [ -n "${rss[$p,loose,$i]:-}" ] && [ -n "${rss[$run,$i]:-}" ] &&
                        { echo "$i:${rss[$p,loose,$i]}"; break; }
                    done || true)
      fi
      awk -v s="$s" -v d="$d" -v r="$r" -v p="$p" -v n="$n0" -v list="$list" -v lr="${loose_rss:--}" \
          -v unit="${unit[$s]}" -v gl="$grow_limit" -v ml="$mem_limit" -v floor="$floor_ms" \
          -v failed="${skip[$run]:-}" -v low="$low_ms" -v same="$same" '
      # Time growth from size a to size b, per doubling of input + output bytes.
      function per_doubling(a, b) { return exp(log(t[b] / t[a]) * log(2) / log(size[b] / size[a])) }
      BEGIN {
        k = split(list, row, ";") - 1
        line = ""; first = 0; last = 0; growth = ""
        for (i = 1; i <= k; i++) {
          split(row[i], v, ":")
          t[i] = v[1]; wc[i] = v[2]; size[i] = v[3] + (v[4] == "-" ? 0 : v[4]); mem[i] = v[5]; u[i] = v[6]
          line = line sprintf(" %9s", t[i] == "-" ? "-" : sprintf("%.1f", t[i]))
          if (t[i] == "-")
            continue
          last = i
          if (!first && t[i] >= low)
            first = i
        }
        for (i = 2; i <= last; i++) {
          g = per_doubling(i - 1, i)
          growth = growth (i > 2 ? " " : "") sprintf(t[i - 1] >= low && t[i] >= floor ? "%.1f" : "(%.1f)", g)
        }
        flags = ""; overall = "-"
        if (first && last > first && t[last] >= floor) {
          g = per_doubling(first, last)
          overall = sprintf("%.1f", g)
          if (g > gl)
            flags = " NONLINEAR"
        }
        xwc = last && wc[last] != "-" ? sprintf("%.1f", t[last] / wc[last]) : "-"
        mib = last ? sprintf("%.1f", mem[last] / 1024) : "-"
        per = last > 1 ? sprintf("%.0f/%s", (mem[last] - mem[1]) * 1024 / (u[last] - u[1]), unit) : "-"
        ratio = "-"
        if (lr != "-") {
          split(lr, w, ":")
          q = mem[w[1] + 1] / w[2]
          ratio = sprintf(same ? "%.2f" : "(%.2f)", q)
          if (same && q > ml)
            flags = flags " MEMORY"
        }
        if (failed == "failed")
          flags = flags " FAILED"
        if (failed == "slow" && last < k)
          flags = flags " (larger sizes left out: too slow)"
        printf "%-15s %-8s %-5s %-10s %6d%s %7s %11s %5s %7s %10s %7s%s\n", s, d, r == "loose" ? "no" : "yes", p, n,
          line, xwc, growth == "" ? "-" : growth, overall, mib, per, ratio, flags
      }'
    done
  done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$failed"
