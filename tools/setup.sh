#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs to build, run and test.
# Only what is missing is installed; nothing happens when all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libpixman-1-dev  # benchmark only: the compositor the graphics benchmark compares with
  libsdl2-dev
  liblua5.1-0-dev libtolua++5.1-dev
  libstb-dev libfreetype-dev fonts-ipafont-gothic
  libvorbis-dev libogg-dev
  clang libclang-rt-14-dev
  clang-format-14  # tools/check_format.sh: the version that judges the formatting
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
