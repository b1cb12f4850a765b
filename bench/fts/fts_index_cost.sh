#!/usr/bin/env bash
# What the full-text index costs on the book build's benchmark project:
# index time and size alone (fts_index_bench), then hhc with "Full-text
# search=No" and "=Yes" (best CPU and wall time of RUNS, book size).
#
#   bench/fts/fts_index_cost.sh BUILD_DIR [COUNT=1000] [BYTES=20000] [RUNS=3]
#
# BUILD_DIR/bin must hold hhc, chmbook-cli, chmbook_bench_corpus and
# fts_index_bench. The comparison with chmcmd is bench/hhc/hhc_vs_chmcmd.sh.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [COUNT] [BYTES] [RUNS]}
count=${2:-1000}
bytes=${3:-20000}
runs=${4:-3}
bin=$(cd "$build/bin" && pwd)
for tool in hhc chmbook-cli chmbook_bench_corpus fts_index_bench; do
  [[ -x $bin/$tool ]] || { echo "missing $bin/$tool (build it first)" >&2; exit 2; }
done
[[ -x /usr/bin/time ]] || { echo "missing /usr/bin/time (package time)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/fts-cost.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$(dirname "$0")/../make_build_project.sh" "$bin" "$work" "$count" "$bytes"

echo "== index alone, one thread"
"$bin/fts_index_bench" "$work/project" "$runs" 1
echo
echo "== index alone, one thread per core"
"$bin/fts_index_bench" "$work/project" "$runs"

# Prints "best-cpu best-wall book-bytes" of RUNS compilations.
measure() {  # dir
  local dir=$1 best_cpu="" best_wall=""
  for ((i = 0; i < runs; i++)); do
    rm -f "$dir/Temp.chm"
    (cd "$dir" && /usr/bin/time -f "%U %S %e" -o "$work/time.txt" "$bin/hhc" Temp.hhp >/dev/null 2>&1)
    read -r user sys wall <"$work/time.txt"
    local cpu
    cpu=$(awk "BEGIN { print $user + $sys }")
    if [[ -z $best_cpu ]] || awk "BEGIN { exit !($cpu < $best_cpu) }"; then best_cpu=$cpu; fi
    if [[ -z $best_wall ]] || awk "BEGIN { exit !($wall < $best_wall) }"; then best_wall=$wall; fi
  done
  echo "$best_cpu $best_wall $(stat -c %s "$dir/Temp.chm")"
}

echo
echo "== hhc on the project (best of $runs)"
printf '%-8s %9s %9s %14s\n' search "cpu (s)" "wall (s)" "book (bytes)"
for search in No Yes; do
  cp -r "$work/project" "$work/$search"
  sed -i "s/^Full-text search=.*\r\$/Full-text search=$search\r/" "$work/$search/Temp.hhp"
  read -r cpu wall size < <(measure "$work/$search")
  printf '%-8s %9.2f %9.2f %14d\n' "$search" "$cpu" "$wall" "$size"
  eval "cpu_$search=$cpu size_$search=$size"
done
awk -v n="$cpu_No" -v y="$cpu_Yes" -v sn="$size_No" -v sy="$size_Yes" 'BEGIN {
  printf "the index adds %.0f%% to the CPU time and %d bytes (%.0f%%) to the book\n", 100 * (y - n) / n, sy - sn, 100 * (sy - sn) / sn }'
