#!/usr/bin/env bash
# Two jobs against one on a machine kept busy by other programs: LOAD `yes > /dev/null` (two
# by default) run beside every measurement. Solves COUNT generated puzzles (bench/puzzle_file) with
# `verbagrid solve --jobs 1` and `--jobs 2`, RUNS times each, interleaved, and times a dialogue
# at two jobs that composes nothing (a sentence no lay-out fits). With COMMIT, the build of
# that commit (bench/release_build.sh) is measured the same way in the same run. Prints the
# fastest, median and slowest wall time of each; outputs are compared with cmp.
# Usage: bench/compare_jobs_loaded.sh BUILD_DIR [COUNT [COMMIT]]
set -euo pipefail
build=$1
count=${2:-6000}
runs=${RUNS:-8}
programs=("$build/verbagrid")
if [ $# -ge 3 ]; then programs+=("$("$(dirname "$0")/release_build.sh" "$3")/build/verbagrid"); fi
out=$(mktemp -d)
loads=()
for _ in $(seq "${LOAD:-2}"); do
  yes > /dev/null &
  loads+=($!)
done
trap 'kill "${loads[@]}" 2> /dev/null; rm -rf "$out"' EXIT
"$build/bench/puzzle_file" "$count" > "$out/puzzles.txt"
# 55 letters or more leave one lay-out, which breaks the rule at once: nothing to compose
printf 'c\nabcdefghiabcdefghiabcdefghiabcdefghiabcdefghiabcdefghiab\n\n' > "$out/nothing.txt"
python3 - "$out" "$runs" "${programs[@]}" <<'PY'
import statistics, subprocess, sys, time
out, runs, programs = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
def timed(args, stdin):
    start = time.monotonic()
    done = subprocess.run(args, stdin=open(stdin, 'rb'), capture_output=True, check=False)
    return time.monotonic() - start, done.stdout
for program in programs:
    times = {'1': [], '2': [], 'dialogue': []}
    outputs = {}
    for _ in range(runs):
        for jobs in ('1', '2'):
            spent, text = timed([program, 'solve', '--jobs', jobs, '--format', 'line'],
                                f'{out}/puzzles.txt')
            times[jobs].append(spent)
            outputs[jobs] = text
        spent, _ = timed([program, '--jobs', '2'], f'{out}/nothing.txt')
        times['dialogue'].append(spent)
    if outputs['1'] != outputs['2']:
        sys.exit(f'{program}: one job and two disagree')
    print(program)
    for name, spent in times.items():
        label = {'1': 'solve, one job', '2': 'solve, two jobs',
                 'dialogue': 'dialogue at two jobs, nothing composed'}[name]
        print(f'  {label:40} fastest {min(spent):.3f} s, median {statistics.median(spent):.3f} s,'
              f' slowest {max(spent):.3f} s')
PY
