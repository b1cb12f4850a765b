#!/usr/bin/env bash
# The Debian package, as a user gets it: made by CPack from an existing build
# folder, unpacked into a scratch root, its desktop entry and icons checked,
# and its chmbook-cli run by a user who may not write to the installed
# program's folder, so that the books must land in that user's data folder.
#
#   installed_package_test.sh BUILD_FOLDER EXAMPLES_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
examples=$(cd "$2" && pwd)

fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate extract_chmLib; do
  command -v "$tool" >/dev/null ||
    fail "$tool is missing (apt-get install cmake dpkg-dev desktop-file-utils libchm-bin)"
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/chmbook-package.XXXXXX")
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"

# --- The package ---------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack could not make the package"; }
debs=("$scratch"/package/chmbook_*.deb)
[[ -f ${debs[0]} ]] || fail "no chmbook_*.deb in $scratch/package"
deb=${debs[0]}
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
echo "Depends: $depends"
echo "Recommends: $recommends"
# Computed from the programs' libraries: the C library and Qt's widgets at least.
for library in libc6 libstdc++6 libqt6widgets6; do
  [[ $depends == *"$library "* || $depends == *"$library," || $depends == *"$library" ]] ||
    fail "Depends lacks $library: $depends"
done
[[ $recommends == *xchm* ]] || fail "Recommends lacks a CHM viewer: $recommends"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for program in chmbook chmbook-cli hhc; do
  [[ -x $root/usr/bin/$program ]] || fail "usr/bin/$program is missing from the package"
done
desktop-file-validate "$root/usr/share/applications/chmbook.desktop" || fail "desktop entry rejected"
grep -q '^Icon=chmbook$' "$root/usr/share/applications/chmbook.desktop" || fail "desktop entry names no icon"
for size in 16 32 48 64 128; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/chmbook.png
  [[ -f $icon ]] || fail "no ${size}x${size} icon"
  # A PNG's width and height stand as 32-bit big-endian numbers at bytes 16 and 20.
  [[ $(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ') == " 0 0 0 $size 0 0 0 $size" ]] ||
    fail "the ${size}x${size} icon has another size"
done

# --- The installed program, run by a user who may not write to usr/bin ----
work=$scratch/user
mkdir -p "$work/home" "$work/data" "$work/texts"
cp "$examples"/*.txt "$work/texts/"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
  # The administrator may write anywhere; the program runs as nobody instead.
  chown -R 65534:65534 "$work"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  chmod a-w "$root/usr/bin"
fi
pages=$(ls "$work/texts"/*.txt | wc -l)

# Builds the book "Installed Book" with the given environment; prints the path
# the program printed last.
run_cli() {
  "${as_user[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 "$@" \
    "$root/usr/bin/chmbook-cli" --title "Installed Book" --open "$work/texts" \
    >"$scratch/out.log" 2>"$scratch/err.log" ||
    { cat "$scratch/out.log" "$scratch/err.log" >&2; fail "chmbook-cli failed"; }
  tail -n 1 "$scratch/out.log"
}

check_book() {  # BOOK: the book exists, reads back with chmLib, and holds every page
  local book=$1 out=$scratch/extracted
  [[ -f $book ]] || fail "no book at $book"
  rm -rf "$out"
  extract_chmLib "$book" "$out" >/dev/null || fail "extract_chmLib could not read $book"
  grep -qi "<title>Installed Book</title>" "$out/index.htm" || fail "index.htm lacks the title"
  for ((i = 0; i < pages; i++)); do [[ -f $out/$i.htm ]] || fail "page $i.htm is missing from the book"; done
  # The hint of --open: no desktop here, so the book could not be opened.
  grep -qF "$book" "$scratch/err.log" || { cat "$scratch/err.log" >&2; fail "no hint naming the book"; }
}

book=$(run_cli HOME="$work/home" XDG_DATA_HOME="$work/data")
[[ $book == "$work/data/chmbook/Release/Installed Book.chm" ]] || fail "book printed as $book"
check_book "$book"

book=$(run_cli HOME="$work/home")
[[ $book == "$work/home/.local/share/chmbook/Release/Installed Book.chm" ]] || fail "book printed as $book"
check_book "$book"

leftovers=$(ls "$root/usr/bin")
[[ $leftovers == $'chmbook\nchmbook-cli\nhhc' ]] || fail "the program's folder changed: $leftovers"
echo "PASS"
