#!/usr/bin/env bash
# Composes SENTENCE to its end (every more? answered yes) with verbagrid and with the
# reading-order measuring build, times both, and checks that their outputs are identical.
# Usage: bench/compare_end_to_end.sh BUILD_DIR SENTENCE [fast-only]
set -euo pipefail
build=$1
sentence=$2
out=$(mktemp -d)
run() {
  local program=$1 name=$2 start end
  start=$(date +%s.%N)
  (set +o pipefail; { printf 'c\n%s\n' "$sentence"; yes y; } | "$program" > "$out/$name")
  end=$(date +%s.%N)
  printf '%-16s %8.2f s\n' "$name" "$(echo "$end - $start" | bc)"
}
run "$build/verbagrid" fast
if [ "${3:-}" != fast-only ]; then
  run "$build/bench/verbagrid_plain" reading-order
  cmp "$out/fast" "$out/reading-order" && echo "outputs identical ($(wc -c < "$out/fast") bytes)"
fi
grep -E '^(found|\* )' "$out/fast" | tail -n 3
rm -rf "$out"
