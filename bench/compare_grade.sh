#!/usr/bin/env bash
# Rates COUNT generated puzzles (bench/puzzle_file: minimal starters and starters with 22 to
# 30 givens) as whole processes: first all of them to sort them by what they need, then, side
# by side in one run, those the techniques finish at 5.0 or below and those that need more,
# each with `verbagrid solve --grade --jobs 1` and `--jobs 2` (outputs compared with cmp), and
# with one job by the build of COMMIT, if given (bench/release_build.sh), for a rater to be
# measured against an earlier one. Prints the best of REPEATS runs (default 3, interleaved) and
# puzzles a second.
# Usage: bench/compare_grade.sh BUILD_DIR [COUNT] [COMMIT]
set -euo pipefail
build=$1
count=${2:-10000}
repeats=${REPEATS:-3}
earlier=""
if [ $# -ge 3 ]; then earlier="$("$(dirname "$0")/release_build.sh" "$3")/build/verbagrid"; fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$build/bench/puzzle_file" "$count" > "$out/puzzles.txt"
"$build/verbagrid" solve --grade --format line --jobs 1 "$out/puzzles.txt" > "$out/grades.txt"
paste -d ' ' "$out/puzzles.txt" "$out/grades.txt" > "$out/both.txt"
awk '$2 + 0 <= 5.0 { print $1 }' "$out/both.txt" > "$out/up_to_5.txt"
awk '$2 + 0 > 5.0 { print $1 }' "$out/both.txt" > "$out/beyond.txt"
python3 - "$build/verbagrid" "$out" "$repeats" "$earlier" <<'PY'
import subprocess, sys, time
program, out, repeats, earlier = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
runs = {'1': (program, '1'), '2': (program, '2')}
if earlier:
    runs['earlier'] = (earlier, '1')
for name in ('up_to_5', 'beyond'):
    puzzles = sum(1 for _ in open(f'{out}/{name}.txt'))
    best = {}
    outputs = {}
    for _ in range(repeats):
        for key, (binary, jobs) in runs.items():
            start = time.monotonic()
            done = subprocess.run([binary, 'solve', '--grade', '--format', 'line', '--jobs',
                                   jobs, f'{out}/{name}.txt'], capture_output=True, check=True)
            best[key] = min(best.get(key, 1e9), time.monotonic() - start)
            outputs[key] = done.stdout
    if outputs['1'] != outputs['2']:
        sys.exit(f'{name}: one job and two disagree')
    line = (f'{name.replace("_", " ")}: {puzzles} puzzles, one job {best["1"]:.3f} s '
            f'({puzzles / best["1"]:,.0f} a second), two jobs {best["2"]:.3f} s '
            f'({puzzles / best["2"]:,.0f} a second)')
    if earlier:
        line += (f'; the earlier build, one job {best["earlier"]:.3f} s '
                 f'({puzzles / best["earlier"]:,.0f} a second): this one is '
                 f'{best["earlier"] / best["1"]:.2f} times as fast')
    print(line)
PY
