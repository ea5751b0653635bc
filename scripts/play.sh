#!/usr/bin/env bash
# Sets up the machine, builds the program and plays the demo game.
# Extra arguments go to the program (try --help).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=Release -DVELTO_BUILD_TESTS=OFF -DVELTO_BUILD_BENCH=OFF
game="$root/build/game"
mkdir -p "$game"
if [ -x "$root/scripts/make-demo.sh" ]; then
  bash "$root/scripts/make-demo.sh" "$root/build" "$game"
fi
exec "$root/build/src/app/veltogame" --game "$game" "$@"
