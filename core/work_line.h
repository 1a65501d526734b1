// A line of work shared out to threads, taken up in the order it was given. The caller keeps
// each piece's data in arrays of its own, indexed by the slot the line gives it; threads work
// on pieces, each with room of its own, and the caller's thread takes the results up at the
// front, in order, so that what it writes never depends on timing. While it waits for the
// front, the caller's thread works on pieces too. Used by the composition's counts and by
// solve's puzzles.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// What the threads do with a piece. thread is 0 on the caller's own thread, 1 and up on the
// helpers, so that each can keep room of its own. Work stops early when cancel turns true (a
// helper's) or the stop flag is set (the caller's thread); its slot is then dropped.
class line_worker {
  public:
    virtual void work(int slot, int thread, const std::atomic<bool>* cancel) = 0;

  protected:
    ~line_worker() = default;
};

class work_line {
  public:
    static constexpr int window = 1024; // pieces in the line at most

    work_line() = default;
    work_line(const work_line&) = delete;
    work_line& operator=(const work_line&) = delete;
    ~work_line() { stop(); }

    // Starts threads - 1 helpers. Returns how many threads work, the caller's included: fewer
    // when the system could not start them all, 1 when it started none.
    int start(int threads, line_worker& worker);
    void stop(); // drops what is in the line and ends the helpers

    bool empty() const { return back_seq_ == front_seq_; }
    bool full() const { return back_seq_ - front_seq_ >= limit_; }
    int front_slot() const { return static_cast<int>(front_seq_ % window); }
    int back_slot() const { return static_cast<int>(back_seq_ % window); } // fill, then put()
    int newest_slot() const { return static_cast<int>((back_seq_ - 1) % window); }
    bool front_ready() const {
        return state_[front_slot()].load(std::memory_order_acquire) == slot_done;
    }
    // Pieces the line holds at once, 1..window; set by a caller whose pieces are large.
    void set_limit(int limit) { limit_ = limit; }

    void put(); // the piece at back_slot() is ready to be worked on
    // Waits until the front piece is done, working meanwhile; true when it is, false when the
    // stop flag was set first, or while this thread worked (a piece it worked on may have been
    // cut short by it).
    bool wait_front();
    void pop() { state_[front_seq_++ % window].store(slot_empty, std::memory_order_relaxed); }
    void drop_all(); // cancels every piece in the line, waits for the work under way to stop,
                     // and empties the line

  private:
    enum slot_state : int { slot_empty, slot_waiting, slot_done };
    static constexpr int hand_over = 8; // pieces gathered before they are handed over, unless
                                        // the caller's thread has to wait first

    void help(int thread);
    void work_slot(int slot, int thread);
    void hand_over_gathered();
    bool work_one_here();

    line_worker* worker_ = nullptr;
    std::atomic<int> state_[window] = {};
    long long front_seq_ = 0; // the oldest piece in the line; the caller's thread alone
    long long back_seq_ = 0;  // one past the newest; the caller's thread alone
    int limit_ = window;
    int gathered_[hand_over] = {}; // the caller's thread alone
    int gathered_count_ = 0;

    std::mutex queue_lock_; // guards the queue of slots to work on, idle and closing
    std::condition_variable queue_ready_;
    int queue_[window] = {};
    long long queue_taken_ = 0;          // pieces the threads have taken from the queue
    long long queue_put_ = 0;            // pieces put into it
    std::atomic<long long> put_seen_{0}; // queue_put_, for helpers to peek at without the lock
    int idle_ = 0;                       // helpers waiting for the queue
    bool closing_ = false;               // the helpers are to end

    std::atomic<bool> cancel_{false};  // work in progress stops; its slots are dropped anyway
    std::mutex done_lock_;             // held while a waiting thread checks before it sleeps,
    std::condition_variable done_;     // and by a thread before it wakes it: no wake-up is lost
    std::atomic<int> busy_{0};         // threads working right now
    std::atomic<bool> waiting_{false}; // a thread sleeps until a piece is done or work stops
    std::vector<std::thread> helpers_;
};
