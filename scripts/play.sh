#!/usr/bin/env bash
# Sets up the machine, builds the program and the demo game, and plays it in
# a window. scripts/play.sh --game DIR plays another game folder instead;
# scripts/play.sh --text GBK builds the Chinese text build (and its demo)
# instead of the Japanese one. Other arguments go to the program (try --help).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
game=""
text=SJIS
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --game) [ $# -ge 2 ] || { echo "play: --game needs a folder" >&2; exit 2; }; game=$2; shift 2 ;;
    --game=*) game=${1#--game=}; shift ;;
    --text) [ $# -ge 2 ] || { echo "play: --text needs SJIS or GBK" >&2; exit 2; }; text=$2; shift 2 ;;
    --text=*) text=${1#--text=}; shift ;;
    *) args+=("$1"); shift ;;
  esac
done
case "$text" in
  SJIS) name=build-release ;;
  GBK) name=build-release-gbk ;;
  *) echo "play: --text takes SJIS or GBK, not $text" >&2; exit 2 ;;
esac
bash "$root/scripts/setup.sh"
build="$root/$name"
demo=ON
[ -n "$game" ] && demo=OFF
bash "$root/scripts/build.sh" "$name" -DCMAKE_BUILD_TYPE=Release -DVELTO_BUILD_TESTS=OFF -DVELTO_BUILD_BENCH=OFF \
  -DVELTO_BUILD_DEMO=$demo -DVELTO_TEXT_PROFILE=$text
[ -n "$game" ] || game="$build/game"
# Help and version need no game; anything else is checked first, so that a
# missing or damaged folder is named in one line instead of a message box.
case " ${args[*]-} " in
  *" --help "*|*" -h "*|*" --version "*) ;;
  *)
    if ! problems=$("$build/tools/velto-tool" game check --quick "$game"); then
      echo "play: $(printf '%s\n' "$problems" | head -n 1)" >&2
      exit 1
    fi ;;
esac
exec "$build/src/app/veltogame" --game "$game" ${args[@]+"${args[@]}"}
