#!/usr/bin/env bash
# Builds the test configuration (AddressSanitizer + UndefinedBehaviorSanitizer)
# and runs the whole test suite. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# The round trips through the real servers, one switch per dialect: a
# dialect's switch is ON once its whole suite passes.
roundtrip=(-DORVALIS_ROUNDTRIP_FIREBIRD=OFF -DORVALIS_ROUNDTRIP_MYSQL=OFF)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVALIS_SANITIZE=ON -DORVALIS_BUILD_APP=ON -DORVALIS_BUILD_BENCH=ON \
  "${roundtrip[@]}"
cmake --build build/test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
