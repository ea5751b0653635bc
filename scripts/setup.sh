#!/usr/bin/env bash
# Installs every system package the build, the tests and the program need on a
# Debian 12 machine. Idempotent: when everything is present it only checks.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  libsdl2-dev
  libfreetype-dev libfontconfig-dev
  libpng-dev zlib1g-dev libdeflate-dev
  libogg-dev libvorbis-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev llvm
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-wqy-zenhei
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
