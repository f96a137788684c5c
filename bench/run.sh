#!/usr/bin/env bash
# Times tabledoc and tablegraph on generated schemas of three shapes and three
# sizes, beside wc -w and cat on the same files in the same run, and prints the
# figures with the targets.
#
#   bench/run.sh
#
# Environment (all optional):
#   BENCH_SHAPES     schema shapes to run          (default "plain realistic wide")
#   BENCH_SIZES      sizes in tables to run        (default "1000 10000 100000")
#   BENCH_REPEAT     timed runs per command, best kept (default 5; 3 from 100,000 tables)
#   BENCH_WAIT_LOAD  wait up to 10 minutes for the 1-minute load average to fall
#                    to this value before timing   (default: do not wait)
#
# Shapes: "plain" is bench/gen_schema.py; "realistic" and "wide" are
# bench/gen_realistic.py. A wide schema of size N holds N/10 tables, each about
# as large as ten realistic ones, so that the sizes of the three shapes weigh
# about the same.
#
# Builds a Release build in build/bench and keeps the schemas in
# build/bench/data (made again only when their generator changes).
# Needs cmake, a C++20 compiler, python3 and GNU time (Debian package "time").
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
data=$build/data
read -r -a shapes <<<"${BENCH_SHAPES:-plain realistic wide}"
read -r -a sizes <<<"${BENCH_SIZES:-1000 10000 100000}"

# Targets for the programs (see bench/README.md).
max_ratio=1.5    # wall time as a multiple of wc -w on the same file
max_small_ms=10  # wall time at 1,000 tables
max_growth=11    # time and peak RSS from 10,000 to 100,000 tables
mem_factor=2     # peak RSS at most mem_factor x input + mem_extra MiB
mem_extra=16

if [ ! -x /usr/bin/time ]; then
  echo "run.sh: /usr/bin/time is missing (Debian package \"time\")" >&2
  exit 1
fi
for shape in "${shapes[@]}"; do
  case $shape in
    plain | realistic | wide) ;;
    *) echo "run.sh: unknown shape \"$shape\" (plain, realistic, wide)" >&2; exit 1 ;;
  esac
done

# -- build ----------------------------------------------------------------------
mkdir -p "$build" "$data"
# shellcheck source=bench/build.sh
. "$root/bench/build.sh"
bench_build run.sh

# -- data -----------------------------------------------------------------------
# gen SHAPE SIZE: sets gen_cmd (the generator and its arguments) and ntables.
gen() {
  case $1 in
    plain) ntables=$2; gen_cmd=("$root/bench/gen_schema.py" "$ntables") ;;
    realistic) ntables=$2; gen_cmd=("$root/bench/gen_realistic.py" "$ntables") ;;
    wide)
      ntables=$(($2 / 10 > 0 ? $2 / 10 : 1))
      gen_cmd=("$root/bench/gen_realistic.py" "$ntables" --shape wide) ;;
  esac
}
for shape in "${shapes[@]}"; do
  for n in "${sizes[@]}"; do
    gen "$shape" "$n"
    f=$data/$shape-$n.sql
    if [ ! -s "$f" ] || [ "${gen_cmd[0]}" -nt "$f" ]; then
      echo "generating $f" >&2
      python3 "${gen_cmd[@]}" -o "$f"
    fi
  done
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
programs=("tabledoc FILE" "tabledoc < FILE" "tablegraph FILE" "tablegraph < FILE")

# command LABEL FILE: sets cmd and in.
command_for() {
  case $1 in
    "tabledoc FILE")     cmd=("$tabledoc" "$2") ;;
    "tabledoc < FILE")   cmd=("$tabledoc") ;;
    "tablegraph FILE")   cmd=("$tablegraph" "$2") ;;
    "tablegraph < FILE") cmd=("$tablegraph") ;;
    "wc -w FILE")        cmd=(wc -w "$2") ;;
    "cat FILE")          cmd=(cat "$2") ;;
  esac
  in=/dev/null
  [[ $1 == *"< FILE" ]] && in=$2
  return 0
}

# check LABEL FILE RC: stops the benchmark after a status other than 0, or a
# message on standard error ($tmp/err) other than the notes on statements
# passed over and the warnings on foreign keys to tables not in the file (the
# realistic shapes have a few).
check() {
  if [ "$3" != 0 ] || grep -q -v -E \
      -e '^[^:]+:[0-9]+:[0-9]+: ignoring non-table creation$' \
      -e '^[^:]+: unknown foreign key table on ' "$tmp/err"; then
    echo "run.sh: \"$1\" on $2: exit status $3" >&2
    grep -v -E -e 'ignoring non-table creation$' -e 'unknown foreign key table' "$tmp/err" | head -5 >&2
    exit 1
  fi
}

# profile LABEL FILE: one run under GNU time; sets kib (peak RSS) and the
# counts of notes and of foreign-key warnings on standard error.
profile() {
  local rc=0
  command_for "$1" "$2"
  /usr/bin/time -f '%M' -o "$tmp/time" "${cmd[@]}" <"$in" >/dev/null 2>"$tmp/err" || rc=$?
  check "$1" "$2" "$rc"
  kib=$(tail -1 "$tmp/time")
  notes=$(grep -c 'ignoring non-table creation$' "$tmp/err" || true)
  warns=$(grep -c 'unknown foreign key table' "$tmp/err" || true)
}

# timed LABEL FILE: one run without a wrapper, timed by the shell around the
# fork; sets ms.
timed() {
  local rc=0 t0 t1
  command_for "$1" "$2"
  t0=$EPOCHREALTIME
  "${cmd[@]}" <"$in" >/dev/null 2>"$tmp/err" || rc=$?
  t1=$EPOCHREALTIME
  check "$1" "$2" "$rc"
  ms=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
}

# Each round runs every command once, so that a change in the load from other
# work falls on the programs and on wc -w alike.
declare -A best rss msgs tables_in
for shape in "${shapes[@]}"; do
  for n in "${sizes[@]}"; do
    f=$data/$shape-$n.sql
    gen "$shape" "$n"
    tables_in[$shape,$n]=$ntables
    repeat=${BENCH_REPEAT:-$([ "$n" -ge 100000 ] && echo 3 || echo 5)}
    cat "$f" >/dev/null  # into the page cache
    for label in "${labels[@]}"; do
      profile "$label" "$f"
      rss[$shape,$n,$label]=$kib
      [ "$label" = "tabledoc FILE" ] && msgs[$shape,$n]="$notes $warns"
      best[$shape,$n,$label]=""
    done
    for _ in $(seq "$repeat"); do
      for label in "${labels[@]}"; do
        timed "$label" "$f"
        b=${best[$shape,$n,$label]}
        if [ -z "$b" ] || awk -v x="$ms" -v y="$b" 'BEGIN { exit !(x < y) }'; then
          best[$shape,$n,$label]=$ms
        fi
      done
    done
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
if awk -v a="${load_before%% *}" -v b="${load_after%% *}" -v c="$(nproc)" 'BEGIN { exit !(a > c / 2 || b > c / 2) }'; then
  echo "NOTE: other work was running (1-minute load above half the CPUs): times and ratios are not those of an idle machine"
fi
echo "wall time: best of ${BENCH_REPEAT:-5 (3 at 100,000 tables)} runs, process start included;" \
     "peak RSS and messages: one more run under GNU time"
echo "targets for the programs: wall time <= ${max_ratio} x wc -w; <= ${max_small_ms} ms at 1,000 tables;" \
     "peak RSS <= ${mem_factor} x input + ${mem_extra} MiB;"
echo "  time and peak RSS grow <= ${max_growth}x from 10,000 to 100,000 tables. OVER marks a miss."

mib() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1048576 }'; }

for shape in "${shapes[@]}"; do
  echo
  case $shape in
    plain) echo "== plain (bench/gen_schema.py SIZE): 3 to 20 columns, short distinct names, short comments" ;;
    realistic) echo "== realistic (bench/gen_realistic.py SIZE): 5 to 40 columns, names sharing long prefixes, comments on most" ;;
    wide) echo "== wide (bench/gen_realistic.py SIZE/10 --shape wide): 40 to 300 columns, long comments" ;;
  esac
  printf '%-7s %7s %8s  %-18s %9s %7s %8s %6s %5s %6s %5s %5s  %s\n' \
    size tables "in MiB" command "wall ms" "MB/s" "RSS MiB" limit mem "x wc" ratio 10ms "notes/fk warnings"
  for n in "${sizes[@]}"; do
    f=$data/$shape-$n.sql
    bytes=$(stat -c %s "$f")
    wc_ms=${best[$shape,$n,wc -w FILE]}
    read -r notes warns <<<"${msgs[$shape,$n]}"
    for label in "${labels[@]}"; do
      awk -v n="$n" -v nt="${tables_in[$shape,$n]}" -v bytes="$bytes" -v label="$label" \
          -v ms="${best[$shape,$n,$label]}" -v kib="${rss[$shape,$n,$label]}" -v wc="$wc_ms" \
          -v notes="$notes" -v warns="$warns" -v mr="$max_ratio" -v mf="$mem_factor" \
          -v me="$mem_extra" -v small="$max_small_ms" 'BEGIN {
        mib = bytes / 1048576; limit = mf * mib + me; rss = kib / 1024
        prog = label ~ /^table/
        mem = prog ? (rss <= limit ? "ok" : "OVER") : "-"
        r = ms / wc
        ratio = prog ? sprintf("%.2f", r) : "-"
        verdict = prog ? (r <= mr ? "ok" : "OVER") : "-"
        fast = prog && n == 1000 ? (ms <= small ? "ok" : "OVER") : "-"
        printf "%-7d %7d %8.1f  %-18s %9.1f %7.1f %8.1f %6s %5s %6s %5s %5s  %s\n", n, nt, mib, label, ms,
               bytes / 1e6 / (ms / 1000), rss, prog ? sprintf("%.0f", limit) : "-", mem, ratio,
               verdict, fast, label == "tabledoc FILE" ? notes "/" warns : ""
      }'
    done
  done
done

# -- summary --------------------------------------------------------------------
have() { [[ " ${sizes[*]} " == *" $1 "* ]]; }
largest=${sizes[-1]}
echo
echo "summary: each program, the worse of FILE and < FILE, against its target"
printf '%-10s %-44s %13s %13s\n' shape target tabledoc tablegraph
for shape in "${shapes[@]}"; do
  for what in ratio small mem growth_t growth_m; do
    case $what in
      ratio) text="x wc -w at ${largest} tables (<= ${max_ratio})" ;;
      small) have 1000 || continue; text="wall ms at 1000 tables (<= ${max_small_ms})" ;;
      mem) text="peak RSS / limit at ${largest} tables (<= 1)" ;;
      growth_t) have 10000 && have 100000 || continue; text="time growth 10000 -> 100000 (<= ${max_growth}x)" ;;
      growth_m) have 10000 && have 100000 || continue; text="RSS growth 10000 -> 100000 (<= ${max_growth}x)" ;;
    esac
    cells=()
    for prog in tabledoc tablegraph; do
      v=0
      for mode in FILE "< FILE"; do
        label="$prog $mode"
        case $what in
          ratio) x=$(awk -v a="${best[$shape,$largest,$label]}" -v b="${best[$shape,$largest,wc -w FILE]}" \
                       'BEGIN { print a / b }'); lim=$max_ratio ;;
          small) x=${best[$shape,1000,$label]}; lim=$max_small_ms ;;
          mem) x=$(awk -v k="${rss[$shape,$largest,$label]}" -v b="$(stat -c %s "$data/$shape-$largest.sql")" \
                     -v f="$mem_factor" -v e="$mem_extra" 'BEGIN { print (k / 1024) / (f * b / 1048576 + e) }')
               lim=1 ;;
          growth_t) x=$(awk -v a="${best[$shape,10000,$label]}" -v b="${best[$shape,100000,$label]}" \
                          'BEGIN { print b / a }'); lim=$max_growth ;;
          growth_m) x=$(awk -v a="${rss[$shape,10000,$label]}" -v b="${rss[$shape,100000,$label]}" \
                          'BEGIN { print b / a }'); lim=$max_growth ;;
        esac
        v=$(awk -v x="$x" -v v="$v" 'BEGIN { print (x > v ? x : v) }')
      done
      cells+=("$(awk -v v="$v" -v l="$lim" 'BEGIN { printf "%.2f %s", v, (v <= l ? "ok" : "OVER") }')")
    done
    printf '%-10s %-44s %13s %13s\n' "$shape" "$text" "${cells[0]}" "${cells[1]}"
  done
done
if have 10000 && have 100000; then
  echo
  echo "input growth 10000 -> 100000:" "$(for shape in "${shapes[@]}"; do
    awk -v s="$shape" -v a="$(stat -c %s "$data/$shape-10000.sql")" -v b="$(stat -c %s "$data/$shape-100000.sql")" \
      'BEGIN { printf "%s %.2fx  ", s, b / a }'; done)"
fi
exit 0
