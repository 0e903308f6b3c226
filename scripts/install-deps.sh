#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the program and the tests need
# and this machine does not have yet.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-charts-dev qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev nlohmann-json3-dev
  gfortran python3-numpy
  fonts-dejavu-core poppler-utils locales
)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale for the core tests' second run (locale independence of numbers).
# Generating one locale from the installed data takes a few seconds.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 ||
    echo "de_DE.UTF-8 not generated; tests fall back to a C++ comma facet"
fi
