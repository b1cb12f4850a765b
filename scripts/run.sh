#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCHMBOOK_BUILD_TESTS=OFF -DCHMBOOK_BUILD_BENCH=OFF
cmake --build build
exec build/bin/chmbook "$@"
