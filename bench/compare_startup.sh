#!/usr/bin/env bash
# Start-up, side by side in one run: the fastest of RUNS runs (default 40, interleaved, since
# the machine is shared) of this build's verbagrid and of the 1.3 release (775fad2, built beside
# the tree by bench/release_build.sh), each on a dialogue that ends at once, a whole listing in
# the solver, and --help (this build only: 1.3 had no options); /bin/true as the floor. The
# dialogues' outputs must be byte-identical (cmp).
# Usage: bench/compare_startup.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
release=$("$root/bench/release_build.sh" 775fad2)/build/verbagrid
python3 - "$build/verbagrid" "$release" "$root/tests/e2e" "${RUNS:-40}" <<'PY'
import subprocess, sys, time
program, release, e2e, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
cases = [('dialogue ended at once', 'mode_end_of_input.in', []),
         ('a listing of ten solutions', 'solver_example_row.in', []),
         ('--help', None, ['--help'])]
for name, given, args in cases:
    stdin = open(f'{e2e}/{given}', 'rb').read() if given else b''
    commands = {'this build': [program] + args, 'true': ['/bin/true']}
    if not args:
        commands['1.3'] = [release]
    best = {key: float('inf') for key in commands}
    outputs = {}
    for _ in range(runs):
        for key, command in commands.items():
            start = time.perf_counter()
            done = subprocess.run(command, input=stdin, capture_output=True)
            best[key] = min(best[key], time.perf_counter() - start)
            outputs[key] = done.stdout
    if '1.3' in outputs and outputs['1.3'] != outputs['this build']:
        sys.exit(f'{name}: the outputs differ')
    line = ', '.join(f'{key} {best[key] * 1000:.2f} ms' for key in commands)
    ratio = f'; this build / 1.3 = {best["this build"] / best["1.3"]:.2f}' if '1.3' in best else ''
    print(f'{name}: fastest of {runs}: {line}{ratio}')
PY
