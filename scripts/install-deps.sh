#!/usr/bin/env bash
# Installs the Debian packages the editor needs to build, test and benchmark.
# Does nothing when everything is already there.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config libsdl2-dev googletest libgtest-dev
      libbenchmark-dev xvfb xdotool imagemagick console-setup-linux
      admesh assimp-utils libpng-dev desktop-file-utils libxml2-utils f3d clang libclang-rt-14-dev util-linux mount python3 bc
      g++-aarch64-linux-gnu qemu-user)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
