#!/usr/bin/env bash
# Makes the README's screenshots of the demo game: the program plays the
# demo headless on the fixed step (the same pixels every time), and each
# picture is scaled to 400 x 300 and written to docs/screenshots/.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target demo_game veltogame velto-tool >/dev/null
out="$root/docs/screenshots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cp -r "$build/game" "$work/game"
printf 'picture 400 300 encoding=png\nimage %%{src} 0 0 400 300\n' > "$work/scale.pic"

# shot NAME FRAME ARGS...: the picture after FRAME of a run with ARGS.
shot() {
  local name=$1 frame=$2
  shift 2
  "$build/src/app/veltogame" --game "$work/game" --headless --fixed-step --frames "$frame" \
    --screenshot "$frame:$work/$name.png" "$@"
  "$build/tools/velto-tool" draw --var "src=$work/$name.png" "$work/scale.pic" "$out/$name.png"
  echo "docs/screenshots/$name.png"
}

shot sea 400 --start S01          # the cape: a gull crosses while the camera pans
shot cinema 150 --start S02       # the shower comes in through the Water transition
shot festival 300 --start S_END   # fireworks over the festival night
