#!/usr/bin/env bash
# Rates COUNT generated puzzles (bench/puzzle_file: minimal starters and starters with 22 to
# 30 givens) as whole processes: first all of them to sort them by what they need, then, side
# by side in one run, those the techniques finish at 5.0 or below and those they cannot finish,
# each with `verbagrid solve --grade --jobs 1` and `--jobs 2` (outputs compared with cmp).
# Prints the best of REPEATS runs (default 3) and puzzles a second.
# Usage: bench/compare_grade.sh BUILD_DIR [COUNT]
set -euo pipefail
build=$1
count=${2:-10000}
repeats=${REPEATS:-3}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$build/bench/puzzle_file" "$count" > "$out/puzzles.txt"
"$build/verbagrid" solve --grade --format line --jobs 1 "$out/puzzles.txt" > "$out/grades.txt"
paste -d ' ' "$out/puzzles.txt" "$out/grades.txt" > "$out/both.txt"
awk '$2 + 0 <= 5.0 { print $1 }' "$out/both.txt" > "$out/up_to_5.txt"
awk '$2 + 0 > 5.0 { print $1 }' "$out/both.txt" > "$out/beyond.txt"
python3 - "$build/verbagrid" "$out" "$repeats" <<'PY'
import subprocess, sys, time
program, out, repeats = sys.argv[1], sys.argv[2], int(sys.argv[3])
for name in ('up_to_5', 'beyond'):
    puzzles = sum(1 for _ in open(f'{out}/{name}.txt'))
    best = {}
    outputs = {}
    for _ in range(repeats):
        for jobs in ('1', '2'):
            start = time.monotonic()
            done = subprocess.run([program, 'solve', '--grade', '--format', 'line', '--jobs',
                                   jobs, f'{out}/{name}.txt'], capture_output=True, check=True)
            best[jobs] = min(best.get(jobs, 1e9), time.monotonic() - start)
            outputs[jobs] = done.stdout
    if outputs['1'] != outputs['2']:
        sys.exit(f'{name}: one job and two disagree')
    print(f'{name.replace("_", " ")}: {puzzles} puzzles, one job {best["1"]:.3f} s '
          f'({puzzles / best["1"]:,.0f} a second), two jobs {best["2"]:.3f} s '
          f'({puzzles / best["2"]:,.0f} a second)')
PY
