#!/usr/bin/env bash
# Builds the programs for release and makes the Debian package with CPack.
#
#   scripts/package-deb.sh [BUILD_FOLDER]
#
# BUILD_FOLDER defaults to build-deb. The package lands in that folder; its
# name is printed at the end. Its library dependencies are computed by
# dpkg-shlibdeps (package dpkg-dev); a CHM viewer is recommended.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
for tool in dpkg-shlibdeps dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install dpkg-dev)." >&2; exit 1; }
done

build=${1:-build-deb}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCHMBOOK_BUILD_TESTS=OFF -DCHMBOOK_BUILD_BENCH=OFF
cmake --build "$build"
(cd "$build" && cpack -G DEB)
deb=$(ls -t "$build"/chmbook_*.deb | head -n 1)
echo
dpkg-deb -f "$deb" Package Version Installed-Size Depends Recommends
echo "Size: $(stat -c %s "$deb") bytes"
echo
echo "$deb"
