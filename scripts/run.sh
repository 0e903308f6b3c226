#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUON_BUILD_TESTS=OFF -DQUON_BUILD_BENCH=OFF
cmake --build build --target quon quonfit
exec build/src/app/quon "$@"
