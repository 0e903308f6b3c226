#!/usr/bin/env bash
# Installs what is missing, builds the program in its own release folder and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUON_BUILD_TESTS=OFF -DQUON_BUILD_BENCH=OFF
cmake --build build-release
exec build-release/src/app/quon "$@"
