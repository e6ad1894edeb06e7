#!/usr/bin/env bash
# Long fuzz runs with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer).
# usage: scripts/fuzz.sh [SECONDS per target, default 600] [target ...]
# New inputs that add coverage are merged back into tests/fuzz/corpus/<target>, which the test
# command replays on every run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-600}
shift || true
bash scripts/deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVMC_FUZZ=ON \
  -DVMC_BUILD_PERF=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=($(ls tests/fuzz/corpus))
fi
for t in "${targets[@]}"; do
  ninja -C build-fuzz "fuzz_$t" >/dev/null
  work=$(mktemp -d)
  cp -r "tests/fuzz/corpus/$t/." "$work/"
  echo "== fuzz_$t for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=0 "build-fuzz/tests/fuzz/fuzz_$t" "$work" -max_total_time="$seconds" \
    -artifact_prefix="build-fuzz/crash-$t-" -print_final_stats=1 2>&1 | grep -E "^(#|Done|stat::number_of_executed_units|stat::peak_rss|==|SUMMARY)" | tail -4
  "build-fuzz/tests/fuzz/fuzz_$t" -merge=1 "tests/fuzz/corpus/$t" "$work" >/dev/null 2>&1 || true
  rm -rf "$work"
done
