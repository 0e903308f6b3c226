#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the configure step, the build, the program,
# its package and the tests need and this machine does not have yet. Runs as root, or
# through sudo for a normal user.
#
# One package a line, in alphabetical order. scripts/check-deps.sh fails when the build
# reads a file that no package of this list (or its Depends) brings.
set -euo pipefail

packages=(
  clang
  clang-format
  cmake
  desktop-file-utils
  dpkg-dev
  file
  fonts-dejavu-core
  g++
  gfortran
  help2man
  libbenchmark-dev
  libclang-rt-14-dev
  libeigen3-dev
  libgl-dev
  libgmock-dev
  libgtest-dev
  libmuparser-dev
  libqt6opengl6-dev
  locales
  ninja-build
  nlohmann-json3-dev
  pkg-config
  poppler-utils
  python3-numpy
  qt6-base-dev
  qt6-charts-dev
  qt6-datavisualization-dev
  qt6-declarative-dev
  qt6-qpa-plugins
  qt6-svg-dev
)

if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root, or install sudo" >&2; exit 1; }
  sudo="sudo"
fi

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
