#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the tests and the
# demo need and this machine lacks. Quiet and quick when all is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ python3
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine64 fonts-wine fonts-dejavu-core xvfb xauth x11-utils imagemagick liblnk-utils
  nsis
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
