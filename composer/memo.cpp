// The memo's slots, by a multiplicative hash of the lay-out's cells.
#include "composer/memo.h"

#include <cstring>

namespace {

int slot_of(const std::uint64_t cells[2]) {
    std::uint64_t mixed = (cells[0] ^ (cells[1] << 47 | cells[1] >> 17)) * 0x9E3779B97F4A7C15u;
    return static_cast<int>(mixed >> (64 - memo_bits));
}

} // namespace

void count_memo::clear() {
    std::memset(key, 0, sizeof key);
    hits = 0;
}

int count_memo::recall(const std::uint64_t cells[2], int best_count) const {
    int slot = slot_of(cells);
    if (key[slot][0] != cells[0] || key[slot][1] != cells[1]) return -1;
    // a count taken under a bound at least as high is exact up to this bound's cut-off
    if (bound[slot] < best_count) return -1;
    if (count[slot] < 0) return -2; // being counted
    return count[slot] < best_count + 1 ? count[slot] : best_count + 1;
}

void count_memo::remember(const std::uint64_t cells[2], int n, int at_bound) {
    int slot = slot_of(cells);
    key[slot][0] = cells[0];
    key[slot][1] = cells[1];
    count[slot] = n;
    bound[slot] = at_bound;
}
