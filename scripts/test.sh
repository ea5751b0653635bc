#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTO_BUILD_TESTS=ON -DVELTO_BUILD_BENCH=ON
# The window tests need a display: give them a virtual one.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$root/build" -j "$(nproc)" --output-on-failure --timeout 300
