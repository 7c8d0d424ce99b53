#!/usr/bin/env bash
# Sets up and builds the program, runs every test, then runs the whole suite once more in an
# AddressSanitizer + UndefinedBehaviorSanitizer build, then each fuzz target for a short time
# (clang, libFuzzer, both sanitizers).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QUVO_BUILD_DIR:-$root/build}"
jobs="$(nproc)"

export QT_QPA_PLATFORM=offscreen

"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$build" --output-on-failure --parallel "$jobs"

echo "=== The same suite under AddressSanitizer and UndefinedBehaviorSanitizer ==="
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
"$root/scripts/setup.sh" "$build-asan" -DCMAKE_BUILD_TYPE=Debug -DQUVO_SANITIZE=ON
ctest --test-dir "$build-asan" --output-on-failure --parallel "$jobs"

echo "=== Each fuzz target for ${QUVO_FUZZ_SECONDS:-20} s, from its seeds, with both sanitizers ==="
unset ASAN_OPTIONS UBSAN_OPTIONS
"$root/scripts/setup.sh" "$build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DQUVO_FUZZ=ON \
    -DQUVO_FUZZ_SECONDS="${QUVO_FUZZ_SECONDS:-20}" -DQUVO_FUZZ_PROGRAM_DIR="$build/quvo" \
    -DQUVO_FUZZ_PINYIN_TABLE="$build/generated/pinyin.txt"
ctest --test-dir "$build-fuzz" --output-on-failure --parallel "$jobs"
