#!/usr/bin/env bash
# The Debian package, as a user gets it: made by CPack from an existing build
# folder, unpacked into a scratch root, its dependencies, desktop entry and
# icons checked, and its chmbook-cli run by a user who may not write to the
# installed program's folder, so that the books land in that user's data folder.
#
#   installed_package_test.sh BUILD_FOLDER EXAMPLES_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
examples=$(cd "$2" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate extract_chmLib; do
  command -v "$tool" >/dev/null || fail "no $tool (apt-get install cmake dpkg-dev desktop-file-utils libchm-bin)"
done
scratch=$(mktemp -d "${TMPDIR:-/tmp}/chmbook-package.XXXXXX")
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack could not make the package"; }
deb=$(ls "$scratch"/package/chmbook_*.deb) || fail "no chmbook_*.deb made"
# Depends is computed from the programs' libraries: the C library and Qt's widgets at least.
for needed in "Depends libc6" "Depends libstdc++6" "Depends libqt6widgets6" "Recommends xchm"; do
  field=$(dpkg-deb -f "$deb" "${needed% *}"),
  [[ $field == *"${needed#* } "* || $field == *"${needed#* },"* ]] || fail "${needed% *} lacks ${needed#* }: $field"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/chmbook.desktop" || fail "desktop entry rejected"
grep -q '^Icon=chmbook$' "$root/usr/share/applications/chmbook.desktop" || fail "desktop entry names no icon"
for size in 16 32 48 64 128; do
  [[ -s $root/usr/share/icons/hicolor/${size}x${size}/apps/chmbook.png ]] || fail "no ${size}x${size} icon"
done

# The installed chmbook-cli, as a user who may not write to usr/bin (nobody, when we are root).
work=$scratch/user
mkdir -p "$work/home" "$work/texts"
cp "$examples"/*.txt "$work/texts/"
chmod a-w "$root/usr/bin"
as_user=()
if [[ $(id -u) -eq 0 ]]; then  # root may write there anyway: run as nobody
  chown -R 65534:65534 "$work"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
# With the data folder given, the printed book, read back with chmLib, holds
# the title; with no desktop, a hint names it (the folder without it is the
# folder tests' case).
expected="$work/data/chmbook/Release/Installed Book.chm"
"${as_user[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$work/home" XDG_DATA_HOME="$work/data" \
  "$root/usr/bin/chmbook-cli" --title "Installed Book" --open "$work/texts" \
  >"$scratch/out.log" 2>"$scratch/err.log" ||
  { cat "$scratch/out.log" "$scratch/err.log" >&2; fail "chmbook-cli failed"; }
[[ $(tail -n 1 "$scratch/out.log") == "$expected" ]] || fail "book printed as $(tail -n 1 "$scratch/out.log")"
extract_chmLib "$expected" "$scratch/extracted" >/dev/null || fail "extract_chmLib could not read $expected"
grep -qi "<title>Installed Book</title>" "$scratch/extracted/index.htm" || fail "index.htm lacks the title"
grep -qF "$expected" "$scratch/err.log" || { cat "$scratch/err.log" >&2; fail "no hint naming the book"; }
echo "PASS"
