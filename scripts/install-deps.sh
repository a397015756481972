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
  nsis openssl
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

# The tests run 64-bit Windows programs only. Where the kernel cannot run
# 32-bit processes, an installed 32-bit Wine loader (wine32:i386) takes over
# the `wine` command and every run fails with "Exec format error": it goes.
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" &&
   ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "Removing wine32:i386: this machine cannot run 32-bit programs"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq wine32:i386 libwine:i386
fi
