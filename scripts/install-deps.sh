#!/usr/bin/env bash
# Installs everything the native build, the 32- and 64-bit Windows cross builds and the
# Wine-hosted tests need.
# Safe to run repeatedly; does nothing when every package is already present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libsndfile1-dev libogg-dev libpng-dev libfreetype-dev libfontconfig-dev
  lv2-dev liblilv-dev lilv-utils libx11-dev
  fonts-liberation2 fonts-ipafont-gothic
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-win32 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev
  wine wine32:i386 wine64 xvfb xauth
  binutils  # as and ld, for the check in test.sh whether 32-bit programs run
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
