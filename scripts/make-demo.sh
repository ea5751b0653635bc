#!/usr/bin/env bash
# Makes the demo game folder with a build's tools: the demo_game target of
# BUILD_DIR makes BUILD_DIR/game from demo/. Usage: make-demo.sh BUILD_DIR [GAME_DIR]
# With GAME_DIR the finished folder is also copied there.
set -euo pipefail
build=${1:?usage: make-demo.sh BUILD_DIR [GAME_DIR]}
cmake --build "$build" --target demo_game
if [ $# -ge 2 ]; then
  mkdir -p "$2"
  cp "$build"/game/* "$2"/
fi
