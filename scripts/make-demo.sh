#!/usr/bin/env bash
# Makes the demo game folder from the sources in demo/ with the tools of a
# build. Usage: make-demo.sh BUILD_DIR GAME_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
game=$2
tool="$build/tools/velto-tool"
mkdir -p "$game"
for source in DATA MGD MSD SE BGM VOICE; do
  mkdir -p "$game/$source"
done
for script in "$root"/demo/scenario/*.txt; do
  [ -e "$script" ] || continue
  name=$(basename "$script" .txt)
  "$tool" snr compile "$script" "$game/MSD/$name.MSD"
done
# The opening movie (the title screen's "OP.MPG"): the night-sky pictures
# of demo/movie, half a second each, over a low tone.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" ogg tone --freq 220 --ms 3000 "$work/op.ogg"
"$tool" movie make --hold 15 --sound "$work/op.ogg" "$game/DATA/OP.MPG" "$root"/demo/movie/OP*.png
# Stand-in pictures and hit maps for the title, save/load, option and
# confirmation screens wherever the demo has none of its own.
"$tool" setup-pictures "$game" >/dev/null
