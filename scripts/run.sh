#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

# The window opens each finished book with the desktop's viewer for CHM
# files (through xdg-open). Without one, install a small one from Debian.
chm_type=application/vnd.ms-htmlhelp
if ! command -v xchm >/dev/null &&
   { ! command -v xdg-mime >/dev/null || [[ -z $(xdg-mime query default "$chm_type" 2>/dev/null) ]]; }; then
  echo "No program opens CHM files here: installing xchm (and xdg-utils)."
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo=sudo
  { $sudo apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq xchm xdg-utils; } ||
    echo "Could not install xchm: the window will say where each finished book is." >&2
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCHMBOOK_BUILD_TESTS=OFF -DCHMBOOK_BUILD_BENCH=OFF
cmake --build build
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display to show the window on. Start it under a desktop session, or" >&2
  echo "use the command line: build/bin/chmbook-cli --help" >&2
  exit 1
fi
exec build/bin/chmbook "$@"
