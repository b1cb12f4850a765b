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
  # The Windows programs: cross compiler, GoogleTest's sources, Wine, and
  # the locales that give Wine's programs code page 936 and 1252.
  packages+=(g++-mingw-w64-x86-64-posix googletest wine locales zip)
  # Some releases ship the 64-bit loader in a package of its own.
  if apt-cache show wine64 >/dev/null 2>&1; then packages+=(wine64); fi
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

if [[ "${1:-}" == test ]]; then
  for locale in zh_CN en_US; do
    if ! locale -a 2>/dev/null | grep -qix "$locale.utf-\?8"; then
      echo "Generating the locale $locale.UTF-8"
      sudo=""
      [[ $(id -u) -eq 0 ]] || sudo=sudo
      $sudo localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    fi
  done
fi
