#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: the Release
# build, from which the Debian package is made and checked, and a build with
# AddressSanitizer and UndefinedBehaviorSanitizer. Warnings are errors here.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

scripts/build.sh build -DOVELSK_WERROR=ON
ctest --test-dir build --output-on-failure -j "$(nproc)"
scripts/check-package.sh build

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVELSK_SANITIZE=ON -DOVELSK_BENCHMARKS=OFF -DOVELSK_WERROR=ON
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
