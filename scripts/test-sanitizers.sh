#!/usr/bin/env bash
# Builds everything but the benchmarks with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-sanitize/ and runs every test there, headless. Any report of either sanitizer
# ends the program that made it with an error, so its test (or the build step) fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh  # the compiler's sanitizer libraries come with it
root=$PWD

# Set for the build too: the tools that build the language database and the fresh catalog
# run sanitized. Leaks count as well: a test program ends every window and connection it
# opens, so what is left at its end is a fault; the few leaks of libraries outside this
# project are listed, each with its reason, in scripts/lsan.supp.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer"
# The instrumentation hides from GCC's flow analysis that a value is set, and it warns of
# uninitialized values that are not; the normal build keeps that warning an error.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSKAL_WERROR=ON -DOSKAL_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$sanitize -Wno-maybe-uninitialized" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DCMAKE_SHARED_LINKER_FLAGS="$sanitize" -DCMAKE_MODULE_LINKER_FLAGS="$sanitize"
cmake --build build-sanitize
export QT_QPA_PLATFORM=offscreen
cd build-sanitize && ctest --output-on-failure -j"${CTEST_PARALLEL_LEVEL:-$(nproc)}"
