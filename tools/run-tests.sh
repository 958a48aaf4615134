#!/usr/bin/env bash
# Installs what is missing, builds MeterBench and runs every test:
#   1. the whole tree (window, virtual meter, command line, benchmarks) built
#      with AddressSanitizer + UndefinedBehaviorSanitizer, and every test,
#   2. each fuzzer for a bounded time (MB_FUZZ_SECONDS, default 20).
# One instrumented pass keeps the run within a CI slot on two cores; the
# window itself is built without sanitizers by tools/run-app.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

jobs=$(nproc)
fuzz_seconds=${MB_FUZZ_SECONDS:-20}

echo "== all tests under ASan/UBSan =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMB_SANITIZE=ON -DMB_BENCH=ON >/dev/null
cmake --build build-asan -j "$jobs"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j "$jobs" --output-on-failure

echo "== fuzzing, ${fuzz_seconds} s a target =="
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMB_FUZZ=ON \
  -DMB_CORE_ONLY=ON -DMB_BENCH=OFF >/dev/null
fuzzers=()
for source in tests/fuzz/fuzz_*.cpp; do fuzzers+=("$(basename "$source" .cpp)"); done
cmake --build build-fuzz -j "$jobs" --target "${fuzzers[@]}"
for fuzzer in build-fuzz/bin/fuzz_*; do
  [[ -x "$fuzzer" ]] || continue
  name=$(basename "$fuzzer")
  mkdir -p build-fuzz/corpus/"$name"
  # Words and a seed of a target's input, where it has them.
  dict=()
  [[ -f tests/fuzz/$name.dict ]] && dict=(-dict="tests/fuzz/$name.dict")
  seeds=()
  [[ -d tests/fuzz/seeds/$name ]] && seeds=("tests/fuzz/seeds/$name")
  "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=0 "${dict[@]}" \
    build-fuzz/corpus/"$name" "${seeds[@]}" 2>&1 | tail -n 3
done
