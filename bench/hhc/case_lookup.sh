#!/usr/bin/env bash
# Times hhc on a project whose [FILES] entries spell the names on disk in
# another letter case, against the same project spelled exactly: hhc then
# looks every name up without regard to case, as Windows would.
#
#   bench/hhc/case_lookup.sh [COUNT=100000] [FOLDERS=10] HHC...
#
# COUNT small pages are spread over FOLDERS folders; full-text search is off,
# so the time is mostly finding and reading the files. Each HHC given (e.g.
# an older build beside the current one) compiles both projects once; wall
# and CPU seconds are printed. Figures: bench/hhc/README.md.
set -euo pipefail

count=${1:?usage: $0 COUNT FOLDERS HHC...}
folders=${2:?usage: $0 COUNT FOLDERS HHC...}
shift 2
[[ $# -gt 0 ]] || { echo "usage: $0 COUNT FOLDERS HHC..." >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "missing /usr/bin/time (package time)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/hhc-case.XXXXXX")
trap 'rm -rf "$work"' EXIT

python3 - "$work/project" "$count" "$folders" <<'PY'
import os, sys
root, count, folders = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
exact, other = [], []
for f in range(folders):
    os.makedirs(os.path.join(root, f"Folder{f:03d}"))
for i in range(count):
    folder, name = f"Folder{i % folders:03d}", f"Page{i:06d}.htm"
    with open(os.path.join(root, folder, name), "w") as out:
        out.write(f"<html><head><title>Page {i}</title></head><body>page {i}</body></html>\n")
    exact.append(f"{folder}\\{name}")
    other.append(f"{folder.upper()}\\{name.lower()}")
for label, names in (("exact", exact), ("other", other)):
    with open(os.path.join(root, f"{label}.hhp"), "w", newline="\r\n") as out:
        out.write(f"[OPTIONS]\nCompiled file={label}.chm\nFull-text search=No\nLanguage=0x409\n\n[FILES]\n")
        out.write("\n".join(names) + "\n")
PY

echo "$count entries in $folders folders"
for hhc in "$@"; do
  program=$(realpath "$hhc")
  for label in exact other; do
    (cd "$work/project" && /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$program" "$label.hhp" >"$work/out.txt" 2>&1) ||
      { echo "$hhc failed on $label.hhp:" >&2; tail -5 "$work/out.txt" >&2; exit 1; }
    read -r wall user sys <"$work/time.txt"
    printf '%-40s %-6s wall %7.2f s  cpu %7.2f s  %s\n' "$hhc" "$label" "$wall" "$(awk "BEGIN { print $user + $sys }")" \
      "$(grep -o '[0-9,]* files' "$work/out.txt")"
  done
done
