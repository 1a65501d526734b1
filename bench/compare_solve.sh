#!/usr/bin/env bash
# Solves COUNT generated puzzles with one solution each (bench/puzzle_file: minimal starters
# and starters with 22 to 30 givens, alternating) as whole processes, side by side in one run:
# `verbagrid solve --format line` on the file with one thread and with two, and the dialogue
# on the same puzzles typed as rows. The solutions the two print must agree (the boards of the dialogue, turned into
# lines, are compared with cmp). Prints the best of REPEATS runs of each (default 3,
# interleaved, since the machine is shared) and puzzles a second. With COMMIT, that commit's
# build (bench/release_build.sh) solves the same file at one job too, and its lines must be
# byte-identical to this tree's.
# Usage: bench/compare_solve.sh BUILD_DIR [COUNT [COMMIT]]
# BUILD_DIR is a build of this tree with -DVERBAGRID_BENCH=ON.
set -euo pipefail
build=$1
count=${2:-10000}
commit=${3:-}
repeats=${REPEATS:-3}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$build/bench/puzzle_file" "$count" > "$out/puzzles.txt"
# the dialogue's session: solver mode, nine rows a puzzle, '-' for an empty cell, then an
# empty answer to end it
{ printf 's\n'; sed 's/\./-/g; s/.\{9\}/&\n/g' "$out/puzzles.txt" | grep -v '^$'; printf '\n'; } \
  > "$out/session.txt"

best() { # prints the best wall time in seconds of a command line, run REPEATS times
  python3 - "$repeats" "$@" <<'PY'
import subprocess, sys, time
repeats, command = int(sys.argv[1]), sys.argv[2:]
times = []
for _ in range(repeats):
    start = time.monotonic()
    subprocess.run(['bash', '-c', command[0]], check=True)
    times.append(time.monotonic() - start)
print(f'{min(times):.3f}')
PY
}
solve_time=$(best "'$build/verbagrid' solve --jobs 1 --format line '$out/puzzles.txt' > '$out/lines.txt'")
two_time=$(best "'$build/verbagrid' solve --jobs 2 --format line '$out/puzzles.txt' > '$out/lines2.txt'")
cmp "$out/lines.txt" "$out/lines2.txt"
dialogue_time=$(best "'$build/verbagrid' < '$out/session.txt' > '$out/dialogue.txt'")
earlier_time=0
if [ -n "$commit" ]; then
  earlier=$("$(dirname "$0")/release_build.sh" "$commit")/build/verbagrid
  earlier_time=$(best "'$earlier' solve --jobs 1 --format line '$out/puzzles.txt' > '$out/earlier.txt'")
  cmp "$out/lines.txt" "$out/earlier.txt"
fi

# the dialogue's boards as lines: every "-- sol (1)" board's 81 symbols
python3 - "$out/dialogue.txt" > "$out/dialogue_lines.txt" <<'PY'
import sys
text = open(sys.argv[1]).read()
for block in text.split('-- sol (1)\n')[1:]:
    print(''.join(c for c in block.split('\nNew starter')[0] if c not in ' \n'))
PY
cmp "$out/lines.txt" "$out/dialogue_lines.txt"
python3 - "$count" "$solve_time" "$two_time" "$dialogue_time" "$earlier_time" "$commit" <<'PY'
import sys
count = int(sys.argv[1])
one, two, dialogue, earlier = (float(t) for t in sys.argv[2:6])
print(f'{count} puzzles, best of runs: solve --format line, one job {one:.3f} s '
      f'({count / one:,.0f} a second), two jobs {two:.3f} s ({count / two:,.0f} a second); '
      f'the dialogue {dialogue:.3f} s ({count / dialogue:,.0f} a second); one job is '
      f'{dialogue / one:.2f}x the dialogue')
if earlier > 0:
    print(f'{sys.argv[6]}: one job {earlier:.3f} s ({count / earlier:,.0f} a second); this tree is '
          f'{earlier / one:.2f}x as fast; lines identical (cmp)')
PY
