#!/usr/bin/env bash
# Builds Tonfang and runs every test:
#  1. the whole suite (unit, widget, screen, wayland, slow) in an optimised
#     build with warnings as errors; screen tests start their own Xvfb, wayland
#     tests their own headless compositor;
#  2. the sanitizer stage: the unit, widget and screen tests built with
#     AddressSanitizer and UndefinedBehaviorSanitizer (offscreen and on Xvfb),
#     and each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
fuzz_seconds=${TONFANG_FUZZ_SECONDS:-20}
jobs=$(nproc)

bash scripts/deps.sh

# A compiler cache, where the machine has one, makes the second run quick.
# Paths are hashed relative to the checkout, so that a clone in another folder
# finds what an earlier run compiled.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
fi

passed=0
failed=0
count_ctest() {  # adds the counts of a ctest log to the totals
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1 || true)
  if [ -n "$line" ]; then
    local total bad
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
}

status=0

echo "== Stage 1: full suite (RelWithDebInfo, -Werror)"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONFANG_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs" --timeout 600 \
  2>&1 | tee build/test/ctest.log || status=1
count_ctest build/test/ctest.log

echo "== Stage 2: sanitizers (clang, ASan + UBSan) and fuzzers"
san="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# The compilers are named outright as well: a build folder made before the
# Wayland client code brought C along would otherwise keep the system's cc.
CC=clang CXX=clang++ cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTONFANG_FUZZ=ON -DTONFANG_BENCH=OFF -DTONFANG_WERROR=ON "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$san" -DCMAKE_EXE_LINKER_FLAGS="$san" >/dev/null
cmake --build build/sanitize -j "$jobs"
# The suppression files name only reports of Qt's and the system's libraries.
supp="$root/tests/sanitizers"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:suppressions=$supp/ubsan.supp"
ctest --test-dir build/sanitize --output-on-failure -L 'unit|widget|screen' -j "$jobs" \
  2>&1 | tee build/sanitize/ctest.log || status=1
count_ctest build/sanitize/ctest.log

fuzz_one() {  # FUZZER: runs it for the bounded time; its .status file says how it went
  local fuzzer=$1 name corpus seeds
  name=$(basename "$fuzzer")
  corpus="build/sanitize/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/tests/fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] || seeds=
  rm -f "build/sanitize/$name.status"
  if "$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=4096 \
       -print_final_stats=0 "$corpus" $seeds >"build/sanitize/$name.log" 2>&1; then
    echo passed >"build/sanitize/$name.status"
  else
    echo failed >"build/sanitize/$name.status"
  fi
}

# One fuzzer per core at a time: each runs for a fixed time, so this halves the wait.
fuzzers=()
for fuzzer in build/sanitize/tests/fuzz/fuzz_*; do
  if [ -f "$fuzzer" ] && [ -x "$fuzzer" ]; then fuzzers+=("$fuzzer"); fi
done
echo "-- ${#fuzzers[@]} fuzzers for ${fuzz_seconds}s each, $jobs at a time"
running=0
for fuzzer in "${fuzzers[@]}"; do
  if ((running >= jobs)); then wait -n || true; running=$((running - 1)); fi
  fuzz_one "$fuzzer" &
  running=$((running + 1))
done
wait
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer")
  if [ "$(cat "build/sanitize/$name.status" 2>/dev/null)" = passed ]; then
    passed=$((passed + 1))
    echo "-- $name: $(grep -E '^Done' "build/sanitize/$name.log" | tail -n 1)"
  else
    failed=$((failed + 1)); status=1
    echo "-- $name failed:"
    tail -n 40 "build/sanitize/$name.log"
  fi
done

# A long log is often cut in the middle: the failures are repeated at its end.
for log in build/test/ctest.log build/sanitize/ctest.log; do
  if [ -f "$log" ] && grep -q 'tests failed out of' "$log" && ! grep -q ' 0 tests failed out of' "$log"; then
    echo "-- failures in $log:"
    grep -E '(: Failure$|^\[  FAILED  \] [^0-9]|ERROR: AddressSanitizer|runtime error:|\*\*\*(Failed|Timeout|Exception))' -A 6 "$log" \
      | head -n 120
  fi
done

echo "tests: $passed passed, $failed failed"
exit $status
