#!/usr/bin/env bash
# Writes the benchmark corpus and the help project the book build makes for
# it, exactly as chmbook-cli writes it.
#
#   bench/make_build_project.sh BIN_DIR WORK_DIR COUNT BYTES
#
# Leaves WORK_DIR/corpus (COUNT text files of BYTES bytes in code page 936)
# and WORK_DIR/project (Temp.hhp, Temp.hhc, Temp.hhk, index.htm and the
# pages). chmbook-cli runs "hhc" from its own folder, so a copy of it beside a
# stand-in that saves the work folder gives us the project.
set -euo pipefail

bin=${1:?usage: $0 BIN_DIR WORK_DIR COUNT BYTES}
work=${2:?usage: $0 BIN_DIR WORK_DIR COUNT BYTES}
count=${3:?usage: $0 BIN_DIR WORK_DIR COUNT BYTES}
bytes=${4:?usage: $0 BIN_DIR WORK_DIR COUNT BYTES}

"$bin/chmbook_bench_corpus" "$work/corpus" "$count" "$bytes" >/dev/null

mkdir -p "$work/app/Temp"
cp "$bin/chmbook-cli" "$work/app/"
cat >"$work/app/hhc" <<STANDIN
#!/usr/bin/env bash
cp -r "\$(dirname "\$1")" "$work/project"
: >"\$(dirname "\$1")/Temp.chm"
STANDIN
chmod +x "$work/app/hhc"
"$work/app/chmbook-cli" --title "Benchmark" "$work/corpus" >/dev/null 2>&1 || true
[[ -f $work/project/Temp.hhp ]] || { echo "chmbook-cli did not write the project" >&2; exit 1; }
