#!/usr/bin/env bash
# Builds with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# runs the tests, then runs every fuzz target for a fixed number of inputs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
export CC=clang CXX=clang++
# Optimised lightly with line tables only: the sanitizers still see every
# access, and the suite runs several times faster than at -O0.
bash "$root/scripts/build.sh" build-asan -DCMAKE_BUILD_TYPE=Debug -DVELTO_SANITIZE=ON -DVELTO_FUZZ=ON \
  -DVELTO_BUILD_BENCH=OFF -DCMAKE_C_FLAGS_DEBUG="-g1 -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The demo's playthroughs are whole games of several thousand frames; they
# run in the normal build, and the engine they drive is covered here.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$root/build-asan" -j "$(nproc)" --output-on-failure --timeout 600 -LE '^demo$'
bash "$root/scripts/fuzz.sh" "$root/build-asan" "${FUZZ_RUNS:-20000}"
