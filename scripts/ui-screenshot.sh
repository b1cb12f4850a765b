#!/usr/bin/env bash
# Starts the window on a virtual X display and saves a picture of it as PNG.
#
#   scripts/ui-screenshot.sh [BUILD_FOLDER] [PICTURE.png]
#
# BUILD_FOLDER defaults to build (as scripts/run.sh makes it), the picture to
# BUILD_FOLDER/chmbook-window.png. Needs xvfb-run (package xvfb) and
# ImageMagick's import (package imagemagick). When BUILD_FOLDER holds the
# Windows build (bin/chmbook.exe, as scripts/build-windows.sh makes it), the
# native Windows window is started under Wine with the code page 936 locale.
set -euo pipefail

# Inside the display: start the window, wait until it is mapped, grab it,
# stop the window. With xdotool the grab holds the window alone; without it,
# the whole screen after a pause.
if [[ ${1:-} == --inside-display ]]; then
  program=$2 picture=$3
  if [[ $program == *.exe ]]; then
    LANG=zh_CN.UTF-8 WINEDEBUG=-all wine "$program" &
    search=(--name '批量将TXT生成CHM文件')
    wait_seconds=120  # a new Wine prefix takes a while to set itself up
  else
    QT_QPA_PLATFORM=xcb "$program" &
    search=(--class chmbook)
    wait_seconds=20
  fi
  pid=$!
  target=root
  if command -v xdotool >/dev/null; then
    target=$(timeout "$wait_seconds" xdotool search --sync --onlyvisible "${search[@]}" | head -n 1) || target=""
    [[ -n $target ]] || { kill "$pid"; echo "The window did not appear within $wait_seconds seconds." >&2; exit 1; }
  else
    sleep "$wait_seconds"
  fi
  sleep 1  # let the first paint settle
  kill -0 "$pid" 2>/dev/null || { echo "The window ended before it could be seen." >&2; exit 1; }
  import -window "$target" "$picture"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  exit 0
fi

cd "$(dirname "$0")/.."

build=${1:-build}
picture=${2:-$build/chmbook-window.png}
program=$build/bin/chmbook
tools=(xvfb-run import)
if [[ -f $program.exe ]]; then
  program=$program.exe
  tools+=(wine)
  export WINEPREFIX=${WINEPREFIX:-$PWD/$build/wineprefix}
fi
[[ -x $program || $program == *.exe ]] || { echo "No program at $program: build it first." >&2; exit 1; }
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install xvfb imagemagick)." >&2; exit 1; }
done
mkdir -p "$(dirname "$picture")"

xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
  "$PWD/scripts/ui-screenshot.sh" --inside-display "$program" "$picture"
echo "$picture"
