#!/usr/bin/env bash
# Runs every fuzz target of a build folder for a fixed number of inputs.
# Usage: fuzz.sh BUILD_DIR [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
runs=${2:-20000}
# Targets that play whole scenarios or movies per input stop at this many
# seconds instead, so a CI run stays short; the others reach the run count.
seconds=${FUZZ_SECONDS:-30}
shopt -s nullglob
count=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  name=${name#fuzz_}
  work=$(mktemp -d)
  if [ -d "$root/fuzz/corpus/$name" ]; then cp -r "$root/fuzz/corpus/$name/." "$work/"; fi
  echo "fuzz: $name ($runs inputs)"
  # No input may make a reader allocate more than the largest picture the
  # engine takes (8192 × 8192 pixels, 256 MB).
  "$target" -runs="$runs" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=257 "$work" 2>"$work.log" || {
    tail -n 60 "$work.log"
    echo "fuzz: $name FAILED"
    exit 1
  }
  rm -rf "$work" "$work.log"
  count=$((count + 1))
done
echo "fuzz: $count targets clean"
