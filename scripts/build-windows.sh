#!/usr/bin/env bash
# Cross-builds the Windows programs (chmbook-cli.exe, hhc.exe) and, unless
# CHMBOOK_BUILD_TESTS=OFF is given, their test suites into build-windows/,
# with mingw-w64 and the runtime linked in statically. Extra arguments go to
# cmake's configure step. The Wine prefix the tests run in is made here too.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-windows
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"

# Building the suites lists their tests by starting them under Wine: the
# prefix must exist first (its first start takes a minute).
if command -v wine >/dev/null; then
  export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    LANG=zh_CN.UTF-8 wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
fi
cmake --build "$build" -j "$(nproc)"
