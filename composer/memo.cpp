// The memo of a composition: the counts of the lay-outs it has measured, one slot per lay-out
// by a hash of its cells. A slot holds the whole key, so a lay-out is never taken for another;
// a newer lay-out that hashes to the same slot displaces the older one.
#include "composer/compose_internal.h"
#include "core/counter.h"

#include <cstring>

std::uint64_t layout_cells[2];
int memo_hits;

namespace {

std::uint64_t memo_key[memo_size][2]; // a measured lay-out's cells; 0 = an empty slot
int memo_count[memo_size];            // its count, as the counter left it; -1 while counted
int memo_bound[memo_size];            // the bound that count was taken under

int memo_slot_of(const std::uint64_t cells[2]) {
    std::uint64_t mixed = (cells[0] ^ (cells[1] << 47 | cells[1] >> 17)) * 0x9E3779B97F4A7C15u;
    return static_cast<int>(mixed >> (64 - memo_bits));
}

} // namespace

void clear_memo() {
    std::memset(memo_key, 0, sizeof memo_key);
    memo_hits = 0;
}

int recall_count() {
    return recall_count_of(layout_cells);
}

int recall_count_of(const std::uint64_t cells[2]) {
    int slot = memo_slot_of(cells);
    if (memo_key[slot][0] != cells[0] || memo_key[slot][1] != cells[1]) return -1;
    // a count taken under a bound at least as high is exact up to this bound's cut-off
    if (memo_bound[slot] < best_count) return -1;
    if (memo_count[slot] < 0) return -2; // being counted
    return memo_count[slot] < best_count + 1 ? memo_count[slot] : best_count + 1;
}

void remember_count(int count) {
    remember_count_of(layout_cells, count, best_count);
}

void remember_count_of(const std::uint64_t cells[2], int count, int bound) {
    int slot = memo_slot_of(cells);
    memo_key[slot][0] = cells[0];
    memo_key[slot][1] = cells[1];
    memo_count[slot] = count;
    memo_bound[slot] = bound;
}
