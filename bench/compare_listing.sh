#!/usr/bin/env bash
# Lists the generated hard starters of bench/listing_bench.cpp with this tree's counter and
# with an earlier release's (built beside the tree), one table each, and checks that every
# listing the release finished within the cap is byte-identical to this tree's.
# Usage: bench/compare_listing.sh BUILD_DIR [COMMIT [PER_FAMILY [CAP_MS]]]
# BUILD_DIR is a build of this tree with -DVERBAGRID_BENCH=ON; COMMIT defaults to 1.3.
set -euo pipefail
build=$1
commit=${2:-775fad2}
per_family=${3:-50}
cap_ms=${4:-1000}
root=$(cd "$(dirname "$0")/.." && pwd)
release=$("$root/bench/release_build.sh" "$commit")
"${CXX:-g++}" -std=c++20 -O3 -DNDEBUG -I"$release/src" -I"$root" "$root/bench/listing_bench.cpp" \
  "$release/build/libverbagrid_lib.a" -o "$release/listing_bench"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
echo "== this tree"
"$build/bench/listing_bench" --per-family "$per_family" --cap-ms "$cap_ms" --listings "$out/now"
echo "== release $commit"
"$release/listing_bench" --per-family "$per_family" --cap-ms "$cap_ms" --listings "$out/then"
python3 - "$out/now" "$out/then" <<'PY'
import sys
def sections(path):
    found, name, body = {}, None, []
    for line in open(path, 'rb').read().split(b'\n'):
        if line.startswith(b'## ') and name is None:
            name, body = line[3:], []
        elif line in (b'## ok', b'## capped'):
            found[name] = (line == b'## ok', b'\n'.join(body))
            name = None
        else:
            body.append(line)
    return found
now, then = sections(sys.argv[1]), sections(sys.argv[2])
assert now.keys() == then.keys() and now, 'the two builds listed different starters'
if not all(done for done, _ in now.values()):
    sys.exit('this tree hit the cap')
compared = [name for name, (done, _) in then.items() if done]
differ = [name for name in compared if now[name][1] != then[name][1]]
if differ:
    sys.exit('listings differ: ' + ', '.join(n.decode() for n in differ))
print(f'{len(compared)} listings the release finished are byte-identical; '
      f'{len(then) - len(compared)} it did not finish within the cap')
PY
