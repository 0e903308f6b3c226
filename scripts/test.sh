#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: a release build in which every
# warning is an error (it also checks that the install list covers what the build uses and
# that every source file is formatted), one under AddressSanitizer and
# UndefinedBehaviorSanitizer, the core tests under ThreadSanitizer, and a short run of the
# fuzz targets built as the README says. Each build has its own folder, so that no cached
# option of one changes another; every test step fails when it finds no tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
step() { echo "== $* ($(date -u +%T))"; }

step "release build, warnings as errors"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUON_WERROR=ON
scripts/check-deps.sh build
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure --no-tests=error -j "$jobs"

step "AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUON_SANITIZE=ON -DQUON_BUILD_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
# Qt keeps some process-lifetime allocations that LeakSanitizer would report as leaks. An
# allocation too large to make must fail as it does outside the sanitizers (the tests of
# running out of memory ask for one), not end the process.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:allocator_may_return_null=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure --no-tests=error -j "$jobs"

step "ThreadSanitizer (core tests)"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUON_SANITIZE=thread \
  -DQUON_BUILD_GUI=OFF -DQUON_BUILD_BENCH=OFF
cmake --build build-tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:allocator_may_return_null=1 \
  ctest --test-dir build-tsan -L core --output-on-failure --no-tests=error -j "$jobs"

step "fuzz targets"
scripts/fuzz-smoke.sh
scripts/check-deps.sh build-fuzz
step "done"
