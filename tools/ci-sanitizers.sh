#!/usr/bin/env bash
# The whole test suite once more under AddressSanitizer and UndefinedBehaviorSanitizer, in its own
# build folder made with clang, then every fuzz target from its committed seeds. Any sanitizer
# report, failing test or fuzz finding fails the run.
#
# The fuzz targets run with a fixed seed and a fixed number of inputs (about a minute each), so a
# commit always meets the same inputs and CI's verdict on it can be reproduced. Open-ended
# exploration is a separate, deliberate act: TENVORIA_FUZZ_SECONDS=N fuzzes each target for N
# seconds from a random seed instead; commit what it finds to the seeds with its fix.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${TENVORIA_SANITIZER_BUILD:-build-asan}
fuzz_seconds=${TENVORIA_FUZZ_SECONDS:-}

flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all -fsanitize=fuzzer-no-link"
# Leaks are checked when the tests run, not while the build lists each program's tests.
export ASAN_OPTIONS="detect_leaks=0:strict_string_checks=1:detect_stack_use_after_return=1"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DTENVORIA_BUILD_BENCH=OFF -DTENVORIA_BUILD_FUZZ=ON
cmake --build "$build" -j2

# An allocation that fails returns null, as it does without the sanitizer: the program reports a
# page picture that memory cannot hold instead of ending, and a test checks that it does.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:allocator_may_return_null=1"
export LSAN_OPTIONS="suppressions=$root/tools/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure --timeout 1500)

# Inputs per target for about a minute under the sanitizers on a 2-core machine.
declare -A fuzz_runs=([doc_reader]=50000 [ini_text]=120000 [cursor_file]=200000 [editor]=50000 [pdf_import]=3000 [locked_file]=200000)
for target in doc_reader ini_text cursor_file editor pdf_import locked_file; do
  corpus=$(mktemp -d)
  if [ -n "$fuzz_seconds" ]; then
    budget=(-max_total_time="$fuzz_seconds")
    echo "fuzzing $target for ${fuzz_seconds} s from a random seed"
  else
    budget=(-seed=1 -runs="${fuzz_runs[$target]}")
    echo "fuzzing $target: ${fuzz_runs[$target]} inputs from seed 1"
  fi
  # New inputs go to the scratch folder; the committed seeds stay as they are.
  # Without address randomisation the mutations guided by traced comparisons see the same
  # values in every run, so a fixed seed gives the same inputs.
  QT_QPA_PLATFORM=offscreen setarch "$(uname -m)" -R "$build/tests/fuzz/fuzz_$target" "${budget[@]}" \
    -rss_limit_mb=4096 -timeout=30 -print_final_stats=1 -artifact_prefix="$build/fuzz-$target-" \
    "$corpus" "tests/fuzz/seeds/$target"
  rm -rf "$corpus"
done
