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

# The player clicks every 12 frames high on the screen: on through the
# messages, and the first item of each choice.
{
  echo "1 move 400 262"
  for ((f = 12; f < 3000; f += 12)); do echo "$f down LBUTTON"; echo "$((f + 1)) up LBUTTON"; done
} > "$work/clicks.input"

# shot NAME FRAME: the picture after FRAME of the story played from its
# first chapter under those clicks.
shot() {
  local name=$1 frame=$2
  "$build/src/app/veltogame" --game "$work/game" --headless --fixed-step --frames "$frame" --start S01 \
    --input "$work/clicks.input" --screenshot "$frame:$work/$name.png"
  "$build/tools/velto-tool" draw --var "src=$work/$name.png" "$work/scale.pic" "$out/$name.png"
  echo "docs/screenshots/$name.png"
}

# The title, its menu shown: the opening skipped by a click, then the
# title pictures and the name's zoom.
printf '1 move 400 300\n30 down LBUTTON\n31 up LBUTTON\n' > "$work/title.input"
"$build/src/app/veltogame" --game "$work/game" --headless --fixed-step --frames 400 \
  --input "$work/title.input" --screenshot "399:$work/title.png"
"$build/tools/velto-tool" draw --var "src=$work/title.png" "$work/scale.pic" "$out/title.png"
echo "docs/screenshots/title.png"

shot slope 500       # up the slope to the lighthouse
shot cinema 1500     # the girl of the closing cinema
shot festival 2500   # the festival night, the lighthouse's last light
