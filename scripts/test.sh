#!/usr/bin/env bash
# Builds and runs every test twice: a normal build, and one with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
jobs=$(nproc)

echo "== normal build"
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== sanitizer build (address, undefined)"
bash scripts/build.sh build-asan -DVMC_SANITIZE=ON -DVMC_BUILD_PERF=OFF
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j "$jobs"
echo "== all tests passed"
