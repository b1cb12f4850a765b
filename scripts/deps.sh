#!/usr/bin/env bash
# Installs, with apt-get, whatever the build (and with "test", the test
# suites and the readers they check books with) needs and the machine lacks.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev fonts-wqy-microhei)
if [[ "${1:-}" == test ]]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev
             libchm-bin p7zip-full libmspack-dev python3 python3-chm
             xvfb xauth clang libclang-rt-14-dev fp-utils
             python3-sphinx python3-sphinxcontrib.htmlhelp dpkg-dev desktop-file-utils)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
