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
  # Past 300 inputs or 1 MB the corpus starts again from its named seeds plus whatever still adds
  # an edge (hit counts left out), so the replay in the test command stays short.
  corpus="tests/fuzz/corpus/$t"
  if [ "$(find "$corpus" -type f | wc -l)" -gt 300 ] || [ "$(du -sk "$corpus" | cut -f1)" -gt 1024 ]; then
    fresh=$(mktemp -d)
    find "$corpus" -maxdepth 1 -type f -regextype posix-extended ! -regex '.*/[0-9a-f]{40}' -exec cp {} "$fresh/" \;
    if ASAN_OPTIONS=detect_leaks=0 "build-fuzz/tests/fuzz/fuzz_$t" -merge=1 -use_counters=0 "$fresh" "$corpus" \
      >/dev/null 2>&1; then
      rm -rf "$corpus"
      mv "$fresh" "$corpus"
      chmod 755 "$corpus"
    else
      rm -rf "$fresh"
    fi
  fi
  echo "corpus: $(find "$corpus" -type f | wc -l) inputs, $(du -sh "$corpus" | cut -f1)"
done
