// Counting threads for a composition, on the work line. The walk hands over each complete
// lay-out in walk order (its occupied cells and the bound of the moment); the threads count
// them, each in a puzzle of its own, and the walk's thread takes the results up in the same
// order. A lay-out whose count is already known goes through the same line, so that the order
// holds.
#pragma once

#include "core/work_line.h"

#include <cstdint>

constexpr int rider_window = 65536; // lay-outs riding behind the counted ones at most

// A lay-out in the line, counted by a thread. The lay-outs the walk makes between it and the
// next one to count ride behind it: their counts are known, or will be once the lay-outs
// before them are taken up (the same lay-out is being counted), so they need no thread.
struct pooled_layout {
    std::uint64_t cells[2]; // the occupied cells: 0..63, then 64..80
    int bound;              // the bound it is counted under
    int count;              // its count at that bound, capped at bound + 1
    int riders;             // lay-outs riding behind it
};

struct riding_layout {
    std::uint64_t cells[2];
    int count; // its count as the memo knew it; -2: the memo will know it at its turn
};

// Starts threads - 1 counting threads for a sentence's letters (their values in sentence
// order), which are laid into each lay-out's cells in order. The walk's thread is the last:
// while it waits for the oldest count, it counts too. Returns the threads counting, the walk's
// included.
int start_count_pool(int threads, const int* letters);
void stop_count_pool(); // cancels what is in the line and ends the threads

extern pooled_layout pool_layout[line_window];  // by slot; the walk's thread fills and reads it
extern riding_layout pool_riders[rider_window]; // the walk's thread alone
extern long long rider_front_seq;
extern long long rider_back_seq;

inline bool pool_empty() {
    return line_empty();
}
// No room for another lay-out: the oldest must be taken up first.
inline bool pool_full() {
    return line_full() || rider_back_seq - rider_front_seq == rider_window;
}
// The oldest lay-out has its count.
inline bool pool_front_ready() {
    return line_front_ready();
}

// Appends a lay-out for a thread to count under bound.
void pool_put(const std::uint64_t cells[2], int bound);
// Appends a lay-out behind the newest to count, with its count if known, else -2; false when
// the line is empty, and a known lay-out can be judged at once.
inline bool pool_add_rider(const std::uint64_t cells[2], int count) {
    if (pool_empty()) return false;
    riding_layout& r = pool_riders[rider_back_seq++ % rider_window];
    r.cells[0] = cells[0];
    r.cells[1] = cells[1];
    r.count = count;
    ++pool_layout[line_newest_slot()].riders;
    return true;
}
// The oldest, once it has its count (waits for it, counting meanwhile); null when the stop
// flag was set first.
const pooled_layout* pool_front();
inline void pool_pop() { // done with the oldest; its riders come next
    line_pop();
}
inline const riding_layout& pool_next_rider() { // the oldest rider; then pop it
    return pool_riders[rider_front_seq % rider_window];
}
inline void pool_pop_rider() {
    ++rider_front_seq;
}
void pool_drop_all(); // cancels every lay-out in the line and empties it

// Counts a lay-out on the calling thread, in its own puzzle, which must hold no letters.
int count_layout_here(const std::uint64_t cells[2], int bound);
