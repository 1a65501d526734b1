// The composer's inner parts, for its own module, its tests and its benchmarks: the generator,
// the walk, the memo, and a probe on each complete lay-out. The program's other modules use
// composer/compose.h alone.
#pragma once

#include "composer/compose.h"

#include <cstdint>

extern int solved_tries;      // measured lay-outs with at least one solution (count not cut short)
extern int deepest_letter;    // highest sentence position reached; each new depth is printed
extern int tries_report_step; // interval of the progress line: 10, 100, ... up to 100000
extern int layout_limit;      // the walk makes at most this many lay-outs: the limit of tries,
                              // max_tries + 1, unless a test wants a composition's beginning

// Called on each complete lay-out as the walk makes it, before it is measured; null in the
// program. The lay-out is in layout_cells (write_layout spells it out); the grid may still hold
// letters of an earlier lay-out, as the program leaves it.
extern void (*layout_probe)();
void write_layout(char* text); // the lay-out as 81 digits, '0' for an empty cell, and a NUL

int next_random(); // 0..32767

// x % d for x and d below 2^16, by a multiplication with the reciprocal instead of a division:
// the composer takes a remainder for every attempt of every letter.
constexpr std::uint32_t reciprocal_of(int d) {
    return 0xFFFFFFFFu / static_cast<std::uint32_t>(d) + 1;
}
inline int remainder_by(int x, int d, std::uint32_t reciprocal) {
    std::uint32_t fraction = reciprocal * static_cast<std::uint32_t>(x);
    return static_cast<int>(
        (static_cast<std::uint64_t>(fraction) * static_cast<std::uint32_t>(d)) >> 32);
}

void compose(const char* sentence, int pos, int k); // lays letter k at pos or later
void evaluate_placement();                          // measures one complete lay-out
void take_up_counts(bool all); // judges the pool's counts in walk order (all: to the last)
void count_try();              // one more lay-out measured: tries and the progress line
// Acts on a lay-out's count: a new lowest count, a unique starter. cells: the lay-out the pool
// counted, laid into the grid to be shown; null: the walk's own, which the grid holds.
void act_on_count(int count, const std::uint64_t* cells);
void lift_letters(int k); // lifts the walk's letters from k on out of the grid

// The memo: counts of the lay-outs measured in this composition. A lay-out is fixed by its set
// of occupied cells, since the letters go in sentence order into increasing cells, so the key
// is exact. A count is kept with the bound it was taken under: best_count only falls during a
// composition, and a count cut off at a higher bound, cut off again at this one, is this
// bound's count.
constexpr int memo_bits = 16;
constexpr int memo_size = 1 << memo_bits;
// the occupied cells of the lay-out being built: cells 0..63, then 64..80
extern std::uint64_t layout_cells[2];
extern int memo_hits; // lay-outs of this composition answered from the memo
void clear_memo();    // every composition starts with an empty memo
int recall_count();   // the lay-out's count at this bound; -1 when not known, -2
                      // while a counting thread counts it
int recall_count_of(const std::uint64_t cells[2]); // the same for the lay-out with these cells
void remember_count(int count); // a count of the lay-out, taken at this bound, not cut short
// a count of the lay-out with these cells, taken at bound, not cut short; -1: being counted
void remember_count_of(const std::uint64_t cells[2], int count, int bound);
