// Counting threads for a composition, on a work line. The walk hands over each complete
// lay-out in walk order (its occupied cells and the bound of the moment); the threads count
// them, each in a puzzle of its own, and the walk's thread takes the results up in the same
// order. A lay-out whose count is already known goes through the same line, so that the order
// holds.
#pragma once

#include "core/counter.h"
#include "core/work_line.h"

#include <cstdint>
#include <memory>
#include <vector>

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

class count_pool : public line_worker {
  public:
    count_pool();

    // Starts threads - 1 counting threads for a sentence's letters (their values in sentence
    // order), which are laid into each lay-out's cells in order. The walk's thread is the
    // last: while it waits for the oldest count, it counts too. Returns the threads counting,
    // the walk's included.
    int start(int threads, const int* letters);
    void stop(); // cancels what is in the line and ends the threads

    bool empty() const { return line_.empty(); }
    // No room for another lay-out: the oldest must be taken up first.
    bool full() const { return line_.full() || rider_back_ - rider_front_ == rider_window; }
    bool front_ready() const { return line_.front_ready(); } // the oldest has its count

    // Appends a lay-out for a thread to count under bound.
    void put(const std::uint64_t cells[2], int bound);
    // Appends a lay-out behind the newest to count, with its count if known, else -2; false
    // when the line is empty, and a known lay-out can be judged at once.
    bool add_rider(const std::uint64_t cells[2], int count);
    // The oldest, once it has its count (waits for it, counting meanwhile); null when the stop
    // flag was set first.
    const pooled_layout* front();
    void pop() { line_.pop(); } // done with the oldest; its riders come next
    const riding_layout& next_rider() const { return riders_[rider_front_ % rider_window]; }
    void pop_rider() { ++rider_front_; }
    void drop_all(); // cancels every lay-out in the line and empties it

    // Counts a lay-out on the walk's thread, in a puzzle of its own, under bound.
    int count_here(const std::uint64_t cells[2], int bound);

    void work(int slot, int thread, const std::atomic<bool>* cancel) override;

  private:
    // A thread keeps the letters of its last lay-out in its puzzle, and lays only those the
    // next one moves: lay-outs near in walk order share most of their cells.
    struct thread_room {
        puzzle p{};
        counter c;
        int cell[81];
        int count = 0;
    };
    int count_kept(thread_room& room, const std::uint64_t cells[2], int bound);

    work_line line_;
    pooled_layout layouts_[work_line::window];
    std::unique_ptr<riding_layout[]> riders_;
    long long rider_front_ = 0;
    long long rider_back_ = 0;
    const int* letters_ = nullptr;   // values of the sentence's letters in sentence order
    std::vector<thread_room> rooms_; // by thread: 0 the walk's, then the helpers'
};
