#!/usr/bin/env bash
# Builds an earlier release of this repository beside the working tree, for side-by-side
# comparisons, and prints the folder: src/ holds its sources, build/ its program and library.
# A folder already built is reused.
# Usage: bench/release_build.sh COMMIT
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$1
dir="$root/build-release-$commit"
if [ ! -x "$dir/build/verbagrid" ] || [ ! -f "$dir/build/libverbagrid_lib.a" ]; then
  rm -rf "$dir"
  mkdir -p "$dir/src"
  git -C "$root" archive "$commit" | tar -x -C "$dir/src"
  cmake -S "$dir/src" -B "$dir/build" -DCMAKE_BUILD_TYPE=Release > /dev/null
  cmake --build "$dir/build" -j2 --target verbagrid verbagrid_lib > /dev/null
fi
echo "$dir"
