#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only those that are missing.
# Runs apt-get through sudo when not root; refreshes the package lists once before installing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  tcl
  xvfb openbox xdotool x11-utils x11-apps python3
  libgtk-3-dev libx11-dev
  libxext-dev libnotify-dev libxtst-dev
  libsqlite3-dev
  libjpeg62-turbo-dev libpango1.0-dev libcairo2-dev libfontconfig-dev fonts-dejavu fonts-liberation
  libpixman-1-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing missing packages: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
