// The memo of a composition: the counts of the lay-outs it has measured. A lay-out is fixed by
// its set of occupied cells, since the letters go in sentence order into increasing cells, so
// the key is exact. A count is kept with the bound it was taken under: the best count only
// falls during a composition, and a count cut off at a higher bound, cut off again at this
// one, is this bound's count.
#pragma once

#include <cstdint>

constexpr int memo_bits = 16;
constexpr int memo_size = 1 << memo_bits;

// One slot per lay-out by a hash of its cells; a slot holds the whole key, so a lay-out is
// never taken for another, and a newer lay-out that hashes to the same slot displaces the
// older one. 1.5 MB: its owner keeps it on the heap.
struct count_memo {
    std::uint64_t key[memo_size][2]; // a measured lay-out's cells; 0 = an empty slot
    int count[memo_size];            // its count, as the counter left it; -1 while counted
    int bound[memo_size];            // the bound that count was taken under
    int hits;                        // lay-outs of this composition answered from the memo

    void clear(); // every composition starts with an empty memo
    // The count of the lay-out with these cells at bound best_count; -1 when not known, -2
    // while a counting thread counts it.
    int recall(const std::uint64_t cells[2], int best_count) const;
    // A count of the lay-out taken at bound, not cut short; -1: it is being counted.
    void remember(const std::uint64_t cells[2], int count, int bound);
};
