#!/usr/bin/env bash
# Sets up the machine, builds the program and plays the demo game.
# Extra arguments go to the program (try --help).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" build-release -DCMAKE_BUILD_TYPE=Release -DVELTO_BUILD_TESTS=OFF -DVELTO_BUILD_BENCH=OFF
game="$root/build-release/game"
bash "$root/scripts/make-demo.sh" "$root/build-release" "$game"
exec "$root/build-release/src/app/veltogame" --game "$game" "$@"
