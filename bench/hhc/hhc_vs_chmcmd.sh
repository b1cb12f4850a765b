#!/usr/bin/env bash
# Times our hhc against Free Pascal's chmcmd on the project the book build
# writes for a generated corpus, with and without full-text search, and prints
# wall time, peak memory and book size of each side by side.
#
#   bench/hhc/hhc_vs_chmcmd.sh BUILD_DIR [COUNT=1000] [BYTES=20000] [RUNS=1]
#
# BUILD_DIR/bin must hold hhc, chmbook-cli and chmbook_bench_corpus. The
# project is the one chmbook-cli writes: a stand-in compiler beside a copy of
# chmbook-cli saves the work folder when the build calls it. chmcmd needs a
# "Compiled file" line, which it gets on a copy of the project.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [COUNT] [BYTES] [RUNS]}
count=${2:-1000}
bytes=${3:-20000}
runs=${4:-1}
bin=$(cd "$build/bin" && pwd)
for tool in hhc chmbook-cli chmbook_bench_corpus; do
  [[ -x $bin/$tool ]] || { echo "missing $bin/$tool (build the targets hhc chmbook-cli chmbook_bench_corpus)" >&2; exit 2; }
done
[[ -x /usr/bin/chmcmd ]] || { echo "missing /usr/bin/chmcmd (package fp-utils)" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "missing /usr/bin/time (package time)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/hhc-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# 1. The corpus and the project, exactly as the build writes it.
"$(dirname "$0")/../make_build_project.sh" "$bin" "$work" "$count" "$bytes"
project_bytes=$(du -sb "$work/project" | cut -f1)

# 2. One copy of the project per compiler and search setting.
make_copy() {  # name search(Yes/No) compiled-file(yes/no)
  local dir=$work/$1
  cp -r "$work/project" "$dir"
  sed -i "s/^Full-text search=.*\r\$/Full-text search=$2\r/" "$dir/Temp.hhp"
  if [[ $3 == yes ]]; then
    sed -i "s/^\[OPTIONS\]\r\$/[OPTIONS]\r\nCompiled file=Temp.chm\r/" "$dir/Temp.hhp"
  fi
}

# Runs one compiler RUNS times; prints "best-wall-seconds cpu-seconds-of-that-run
# peak-kib book-bytes". CPU time shows how much of the wall time a busy machine took.
measure() {  # dir command...
  local dir=$1; shift
  local best="" cpu="" peak=0
  for ((i = 0; i < runs; i++)); do
    rm -f "$dir/Temp.chm"
    (cd "$dir" && /usr/bin/time -v -o "$work/time.txt" "$@" Temp.hhp >"$work/out.txt" 2>&1) ||
      { echo "$* failed:" >&2; tail -5 "$work/out.txt" >&2; exit 1; }
    local wall kib used
    used=$(awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$work/time.txt")
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (k = 1; k <= n; k++) s = s * 60 + t[k]; print s }' "$work/time.txt")
    kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
    if [[ -z $best ]] || awk "BEGIN { exit !($wall < $best) }"; then best=$wall cpu=$used; fi
    ((kib > peak)) && peak=$kib
  done
  echo "$best $cpu $peak $(stat -c %s "$dir/Temp.chm")"
}

printf 'Corpus: %d files of %d bytes; project folder %d bytes; best of %d runs\n\n' \
  "$count" "$bytes" "$project_bytes" "$runs"
printf '%-8s %-9s %10s %10s %12s %14s\n' search compiler "wall (s)" "cpu (s)" "peak (MiB)" "book (bytes)"
for search in No Yes; do
  make_copy "hhc-$search" "$search" no
  make_copy "chmcmd-$search" "$search" yes
  read -r hw hc hm hs < <(measure "$work/hhc-$search" "$bin/hhc")
  read -r cw cc cm cs < <(measure "$work/chmcmd-$search" /usr/bin/chmcmd)
  printf '%-8s %-9s %10.3f %10.2f %12.1f %14d\n' "$search" hhc "$hw" "$hc" "$(awk "BEGIN { print $hm / 1024 }")" "$hs"
  printf '%-8s %-9s %10.3f %10.2f %12.1f %14d\n' "$search" chmcmd "$cw" "$cc" "$(awk "BEGIN { print $cm / 1024 }")" "$cs"
  awk -v hw="$hw" -v cw="$cw" -v hs="$hs" -v cs="$cs" -v hm="$hm" -v pb="$project_bytes" 'BEGIN {
    printf "         hhc is %.1fx faster; book %.1f%% of chmcmd'"'"'s; peak memory %.2fx the project\n\n",
           (hw > 0 ? cw / hw : 0), 100 * hs / cs, hm * 1024 / pb }'
done
