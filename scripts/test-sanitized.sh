#!/usr/bin/env bash
# Builds the QtTest suites with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs them through CTest. The first report of either ends its test
# with a failure; leaks are reported when the test ends. The end-to-end tests and the
# benchmarks run in the normal build only: they would add time, not findings.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=build-asan CMAKE_ARGS="-DPELUMO_SANITIZE=ON -DPELUMO_BENCHMARKS=OFF -DPELUMO_E2E=OFF" \
    scripts/setup.sh
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
cd build-asan
ctest --output-on-failure -j"$(nproc)" "$@"
