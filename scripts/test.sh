#!/usr/bin/env bash
# Installs what is missing, builds everything (the Linux programs, and the
# Windows programs cross-built with mingw-w64), and runs every test: the
# Linux suites natively, the Windows suites under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

start=$SECONDS
scripts/build-windows.sh
windows_build=$((SECONDS - start))

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCHMBOOK_WINDOWS_BUILD_DIR="$PWD/build-windows"
cmake --build build-test
(cd build-test && ctest --output-on-failure -j "$(nproc)" --timeout 1200)

start=$SECONDS
(cd build-windows && ctest --output-on-failure -j "$(nproc)" --timeout 1200)
windows_tests=$((SECONDS - start))
echo "Windows: cross build ${windows_build} s, tests under Wine ${windows_tests} s" \
     "(the Linux suite's wine.* checks not counted)"
