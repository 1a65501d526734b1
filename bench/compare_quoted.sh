#!/usr/bin/env bash
# Rates the puzzles whose ratings on the scale are quoted publicly, beside those ratings: the
# twelve the tests hold to the tenth, and five of the hardest known (seconds each), with the
# time each takes. Usage: bench/compare_quoted.sh BUILD_DIR
set -euo pipefail
build=$1
data=$(dirname "$0")/../tests/logic/data
for file in "$data/rated.txt" "$data/rated_hard.txt"; do
  while IFS=, read -r puzzle quoted; do
    start=$(date +%s.%N)
    rated=$(printf '%s\n' "$puzzle" | "$build/verbagrid" solve --grade --format csv - | tail -n 1)
    took=$(echo "$(date +%s.%N) - $start" | bc)
    printf '%s quoted %s rated %s (%s) in %.1f s\n' "$puzzle" "$quoted" \
      "$(cut -d, -f2 <<< "$rated")" "$(cut -d, -f4 <<< "$rated")" "$took"
  done < "$file"
done
