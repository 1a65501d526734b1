#!/usr/bin/env bash
# Composes each sentence to its end, every more? answered yes, with this tree's verbagrid, with
# the 1.3 release built beside the tree (bench/release_build.sh) and, for sentences of 28
# letters or more, with the measuring build (every count in reading order, no memo). All
# outputs must be byte-identical (cmp). Prints the best of REPEATS runs of each (default 1,
# the runs interleaved, since the machine is shared), the peak resident memory, and the
# speed-up over each of the others. Any failure ends the script with a non-zero status.
# Needs python3 and GNU time (Debian package time).
# Usage: bench/compare_end_to_end.sh BUILD_DIR [SENTENCE ...]
# BUILD_DIR is a build of this tree with -DVERBAGRID_BENCH=ON. Default sentences: the four
# of the README's performance table.
set -euo pipefail
build=$1
shift
sentences=("$@")
if [ ${#sentences[@]} -eq 0 ]; then
  sentences=(oldsailorsandlionsreadsirenlore dearoldsailorslandonislesandreadlions
    mothercatsmashesthreeroses silentsailorsrotates)
fi
repeats=${REPEATS:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
release=$("$root/bench/release_build.sh" 775fad2)/build/verbagrid
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Runs PROGRAM on INPUT into OUTPUT; prints the wall time in milliseconds and the peak
# resident memory in KiB (through GNU time: a child of this Python would inherit its peak).
# A non-zero exit status is an error.
measure() {
  python3 - "$@" "$out/peak" <<'PY'
import subprocess, sys, time
program, given, taken, peak = sys.argv[1:5]
with open(given, 'rb') as answers, open(taken, 'wb') as output:
    start = time.monotonic()
    status = subprocess.run(['/usr/bin/time', '-f', '%M', '-o', peak, program],
                            stdin=answers, stdout=output).returncode
    elapsed = time.monotonic() - start
if status != 0:
    sys.exit(f'{program} exited with status {status}')
print(round(elapsed * 1000), open(peak).read().split()[-1])
PY
}

# A / B to two decimals, in integer arithmetic.
ratio() {
  local hundredths=$(($1 * 100 / $2))
  printf '%d.%02d' $((hundredths / 100)) $((hundredths % 100))
}

printf '%-40s %10s %10s %10s %9s %10s\n' sentence "this (ms)" "1.3 (ms)" "plain (ms)" "x vs 1.3" "peak KiB"
for sentence in "${sentences[@]}"; do
  input="$out/input"
  { printf 'c\n%s\n' "$sentence"; awk 'BEGIN { for (i = 0; i < 200000; ++i) print "y" }'; } > "$input"
  programs=("$build/verbagrid" "$release")
  if [ ${#sentence} -ge 28 ]; then programs+=("$build/bench/verbagrid_plain"); fi
  best=()
  peak=0
  for ((run = 0; run < repeats; ++run)); do
    for i in "${!programs[@]}"; do
      result=$(measure "${programs[$i]}" "$input" "$out/output$i")
      read -r ms kib <<< "$result"
      if [ -z "${best[$i]:-}" ] || [ "$ms" -lt "${best[$i]}" ]; then best[$i]=$ms; fi
      if [ "$i" -eq 0 ] && [ "$kib" -gt "$peak" ]; then peak=$kib; fi
      cmp "$out/output0" "$out/output$i"
    done
  done
  plain=${best[2]:-skipped}
  printf '%-40s %10d %10d %10s %9s %10d\n' "$sentence" "${best[0]}" "${best[1]}" "$plain" \
    "$(ratio "${best[1]}" "$((best[0] > 0 ? best[0] : 1))")" "$peak"
done
echo "outputs identical across builds (cmp)"
