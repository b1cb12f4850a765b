#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCHMBOOK_BUILD_TESTS=OFF -DCHMBOOK_BUILD_BENCH=OFF
cmake --build build
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display to show the window on. Start it under a desktop session, or" >&2
  echo "use the command line: build/bin/chmbook-cli --help" >&2
  exit 1
fi
exec build/bin/chmbook "$@"
