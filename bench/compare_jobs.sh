#!/usr/bin/env bash
# Composes each sentence to its end, every more? answered yes, with this tree's verbagrid at
# --jobs 1 and --jobs 2, with the commit the counting threads started from (e74f99a; START names
# another, run at --jobs 1 when it has threads) and with
# the 1.3 release (775fad2), both built beside the tree (bench/release_build.sh). All outputs
# must be byte-identical (cmp). Prints the best of REPEATS runs of each (default 1, the runs
# interleaved, since the machine is shared), the speed-up of two jobs over one, the speed of
# one job against the starting commit (at least 0.97 is the rule), and the peak resident
# memory of two jobs. Needs python3 and GNU time (Debian package time).
# Usage: bench/compare_jobs.sh BUILD_DIR [SENTENCE ...]
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
start=$("$root/bench/release_build.sh" "${START:-e74f99a}")/build/verbagrid
release=$("$root/bench/release_build.sh" 775fad2)/build/verbagrid
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Runs a command line on INPUT into OUTPUT; prints the wall time in milliseconds and the peak
# resident memory in KiB. A non-zero exit status is an error.
measure() {
  python3 - "$out/peak" "$@" <<'PY'
import subprocess, sys, time
peak, given, taken, command = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
with open(given, 'rb') as answers, open(taken, 'wb') as output:
    begin = time.monotonic()
    status = subprocess.run(['/usr/bin/time', '-f', '%M', '-o', peak] + command,
                            stdin=answers, stdout=output).returncode
    elapsed = time.monotonic() - begin
if status != 0:
    sys.exit(f'{command} exited with status {status}')
print(round(elapsed * 1000), open(peak).read().split()[-1])
PY
}

ratio() { # A / B to two decimals
  local hundredths=$(($1 * 100 / ($2 > 0 ? $2 : 1)))
  printf '%d.%02d' $((hundredths / 100)) $((hundredths % 100))
}

# a starting commit that has threads runs at one job too, so that "1 vs st" compares like with like
if "$start" --help 2>&1 | grep -q -- '--jobs'; then start="$start --jobs 1"; fi
runs=("$build/verbagrid --jobs 1" "$build/verbagrid --jobs 2" "$start" "$release")
printf '%-38s %9s %9s %9s %9s %8s %8s %9s\n' sentence "jobs 1" "jobs 2" "${START:-e74f99a}" "1.3" \
  "1 / 2" "1 vs st" "peak KiB"
for sentence in "${sentences[@]}"; do
  input="$out/input"
  { printf 'c\n%s\n' "$sentence"; awk 'BEGIN { for (i = 0; i < 200000; ++i) print "y" }'; } > "$input"
  best=()
  peak=0
  for ((run = 0; run < repeats; ++run)); do
    for i in "${!runs[@]}"; do
      # shellcheck disable=SC2086 # each run is a program and its arguments
      result=$(measure "$input" "$out/output$i" ${runs[$i]})
      read -r ms kib <<< "$result"
      if [ -z "${best[$i]:-}" ] || [ "$ms" -lt "${best[$i]}" ]; then best[$i]=$ms; fi
      if [ "$i" -eq 1 ] && [ "$kib" -gt "$peak" ]; then peak=$kib; fi
      cmp "$out/output0" "$out/output$i"
    done
  done
  printf '%-38s %9d %9d %9d %9d %8s %8s %9d\n' "$sentence" "${best[0]}" "${best[1]}" "${best[2]}" \
    "${best[3]}" "$(ratio "${best[0]}" "${best[1]}")" "$(ratio "${best[2]}" "${best[0]}")" "$peak"
done
echo "outputs identical at every job count and across builds (cmp)"
