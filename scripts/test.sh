#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a plain build,
# and one with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/build.sh build-asan -DOVELSK_SANITIZE=ON -DOVELSK_BENCHMARKS=OFF
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
