// A line of work shared out to threads, taken up in the order it was given. The caller keeps
// each piece's data in arrays of its own, indexed by the slot the line gives it; threads work
// on pieces, each in a puzzle of its own, and the caller's thread takes the results up at the
// front, in order, so that what it writes never depends on timing. While it waits for the
// front, the caller's thread works on pieces too. Used by the composition's counts and by
// solve's puzzles.
#pragma once

#include <atomic>

constexpr int line_window = 1024; // pieces in the line at most

// What a thread does with the piece in a slot; helper is false on the caller's own thread.
// It stops early when the line's cancel flag turns true (helpers count with it) or the stop
// flag is set (the caller's thread), and its slot is then dropped.
using line_work = void (*)(int slot, bool helper);

// Starts threads - 1 helpers. Returns how many threads work, the caller's included: fewer when
// the system could not start them all, 1 when it started none.
int start_work_line(int threads, line_work work);
void stop_work_line(); // drops what is in the line and ends the helpers

// The line, for the inline functions below, which the caller's thread calls per piece.
enum line_slot_state : int { line_slot_empty, line_slot_waiting, line_slot_done };
extern std::atomic<int> line_state[line_window];
extern long long line_front_seq; // the oldest piece in the line; the caller's thread alone
extern long long line_back_seq;  // one past the newest; the caller's thread alone
extern int line_limit;           // pieces the line holds at once, 1..line_window; set by the
                                 // caller when its pieces are large

inline bool line_empty() {
    return line_back_seq == line_front_seq;
}
inline bool line_full() {
    return line_back_seq - line_front_seq >= line_limit;
}
inline int line_front_slot() {
    return static_cast<int>(line_front_seq % line_window);
}
inline int line_back_slot() { // where the next piece goes: fill its data, then line_put()
    return static_cast<int>(line_back_seq % line_window);
}
inline int line_newest_slot() {
    return static_cast<int>((line_back_seq - 1) % line_window);
}
inline bool line_front_ready() {
    return line_state[line_front_slot()].load(std::memory_order_acquire) == line_slot_done;
}

void line_put(); // the piece at line_back_slot() is ready to be worked on
// Waits until the front piece is done, working meanwhile; true when it is, false when the stop
// flag was set first.
bool line_wait_front();
inline void line_pop() { // done with the front piece
    line_state[line_front_seq++ % line_window].store(line_slot_empty, std::memory_order_relaxed);
}
void line_drop_all(); // cancels every piece in the line and empties it

// The cancel flag the helpers' work stops on (the counter's, through cancel_counts_with).
const std::atomic<bool>* line_cancel();
