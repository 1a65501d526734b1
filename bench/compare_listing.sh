#!/usr/bin/env bash
# Lists the generated hard starters of bench/listing_bench.cpp with this tree's counter, then
# with an earlier release's dialogue (built beside the tree), each starter typed as rows into
# one process cut off at the cap; checks that every listing the release finished within the cap
# is byte-identical to this tree's, and prints both tables (the release's times are whole
# processes, start-up included).
# Usage: bench/compare_listing.sh BUILD_DIR [COMMIT [PER_FAMILY [CAP_MS]]]
# BUILD_DIR is a build of this tree with -DVERBAGRID_BENCH=ON; COMMIT defaults to 1.3.
set -euo pipefail
build=$1
commit=${2:-775fad2}
per_family=${3:-50}
cap_ms=${4:-1000}
root=$(cd "$(dirname "$0")/.." && pwd)
release=$("$root/bench/release_build.sh" "$commit")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
echo "== this tree"
"$build/bench/listing_bench" --per-family "$per_family" --cap-ms "$cap_ms" --listings "$out/now" \
  --starters "$out/starters"
echo "== release $commit"
python3 - "$release/build/verbagrid" "$out/starters" "$out/now" "$cap_ms" <<'PY'
import statistics, subprocess, sys, time
program, starters, now_path, cap_ms = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
def sections(path):
    found, name, body = {}, None, []
    for line in open(path, 'rb').read().split(b'\n'):
        if line.startswith(b'## ') and name is None:
            name, body = line[3:], []
        elif line in (b'## ok', b'## capped'):
            found[name] = (line == b'## ok', b'\n'.join(body) + b'\n')
            name = None
        else:
            body.append(line)
    return found
now = sections(now_path)
if not all(done for done, _ in now.values()):
    sys.exit('this tree hit the cap')
lines = open(starters).read().split('\n')
times, compared, differ, capped = {}, 0, [], {}
for i in range(0, len(lines) - 1, 2):
    name, cells = lines[i][3:], lines[i + 1]
    family = name.split()[0]
    rows = ''.join(cells[r * 9:r * 9 + 9].replace('.', '-') + '\n' for r in range(9))
    session = ('s\n' + rows + '\n').encode()
    start = time.monotonic()
    try:
        done = subprocess.run([program], input=session, capture_output=True, timeout=cap_ms / 1000)
        listing = done.stdout.split(b'ligne[9] : ', 1)[1].split(b'\nNew starter', 1)[0]
        compared += 1
        if listing != now[name.encode()][1]:
            differ.append(name)
    except subprocess.TimeoutExpired:
        capped[family] = capped.get(family, 0) + 1
    times.setdefault(family, []).append(time.monotonic() - start)
print(f"{'family':<12} {'starters':>8} {'median ms':>12} {'max ms':>12} {'capped':>8}  (cap {cap_ms} ms)")
for family, spent in times.items():
    print(f'{family:<12} {len(spent):>8} {statistics.median(spent) * 1000:>12.3f} '
          f'{max(spent) * 1000:>12.3f} {capped.get(family, 0):>8}')
if differ:
    sys.exit('listings differ: ' + ', '.join(differ))
print(f'{compared} listings the release finished are byte-identical; '
      f'{sum(capped.values())} it did not finish within the cap')
PY
