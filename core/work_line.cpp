// The line is a ring of window slot states in order: the caller's thread appends at the back
// and takes up at the front. Pieces to work on also go into a queue of slot numbers under one
// mutex, which the helpers take from; the caller's thread hands them over a few at a time, so
// that the lock and the wake-ups cost little per piece. A slot's state is its one hand-over: a
// thread writes the piece's result, then marks the slot done with release order; the caller's
// thread reads the mark with acquire order before it reads the result. Helpers stop on the
// line's cancel flag, never on the stop flag, which belongs to the caller's thread.
//
// No thread waits by spinning on another's time slice: a helper without work looks for a few
// microseconds, by the clock, then sleeps on the queue's condition; the caller's thread, once
// it has no piece of its own to work on, sleeps until a piece is done, waking now and then to
// see the stop flag, which a signal handler cannot wake it for.
#include "core/work_line.h"

#include "core/held_signals.h"
#include "core/stop_flag.h"

#include <chrono>
#include <system_error>

namespace {

// How long a helper looks for new work before it sleeps: new work usually comes within
// microseconds, and handing it over then needs no wake-up. Bounded by time, not by a count of
// yields, so that a busy machine cannot stretch it.
constexpr auto look_before_sleep = std::chrono::microseconds(20);

} // namespace

int work_line::start(int threads, line_worker& worker) {
    worker_ = &worker;
    front_seq_ = back_seq_ = 0;
    limit_ = window;
    queue_taken_ = queue_put_ = 0;
    put_seen_.store(0);
    gathered_count_ = 0;
    idle_ = 0;
    closing_ = false;
    cancel_.store(false);
    waiting_.store(false);
    for (auto& state : state_) state.store(slot_empty);
    signals_held_back hold; // signals are for the caller's thread, which owns the stop flag
    for (int i = 1; i < threads; ++i) {
        // a thread the system cannot start is one helper fewer, not the end of the program
        try {
            helpers_.emplace_back([this, i] { help(i); });
        } catch (const std::system_error&) {
            break;
        }
    }
    return static_cast<int>(helpers_.size()) + 1;
}

void work_line::stop() {
    if (worker_ == nullptr) return;
    drop_all();
    {
        std::lock_guard<std::mutex> hold(queue_lock_);
        closing_ = true;
    }
    queue_ready_.notify_all();
    for (std::thread& t : helpers_) t.join();
    helpers_.clear();
    worker_ = nullptr;
}

// Works on the slot taken from the queue and hands the result over.
void work_line::work_slot(int slot, int thread) {
    worker_->work(slot, thread, &cancel_);
    state_[slot].store(slot_done, std::memory_order_seq_cst);
    busy_.fetch_sub(1, std::memory_order_seq_cst);
    if (waiting_.load(std::memory_order_seq_cst)) {
        { std::lock_guard<std::mutex> hold(done_lock_); }
        done_.notify_all();
    }
}

void work_line::help(int thread) {
    long long taken_before = 0;
    for (;;) {
        auto until = std::chrono::steady_clock::now() + look_before_sleep;
        while (put_seen_.load(std::memory_order_relaxed) <= taken_before &&
               std::chrono::steady_clock::now() < until) {
        }
        int slot = 0;
        {
            std::unique_lock<std::mutex> hold(queue_lock_);
            ++idle_;
            queue_ready_.wait(hold, [this] { return closing_ || queue_taken_ < queue_put_; });
            --idle_;
            if (closing_) return;
            slot = queue_[queue_taken_++ % window];
            taken_before = queue_taken_;
            busy_.fetch_add(1, std::memory_order_seq_cst);
        }
        work_slot(slot, thread);
    }
}

// Hands the gathered slots over to the helpers.
void work_line::hand_over_gathered() {
    if (gathered_count_ == 0) return;
    bool wake = false;
    {
        std::lock_guard<std::mutex> hold(queue_lock_);
        for (int i = 0; i < gathered_count_; ++i) queue_[queue_put_++ % window] = gathered_[i];
        put_seen_.store(queue_put_, std::memory_order_relaxed);
        wake = idle_ > 0;
    }
    gathered_count_ = 0;
    if (wake) queue_ready_.notify_all();
}

// The caller's thread, waiting for the front, works on a piece of the queue itself if there is
// one left: so every thread works, the caller's too. False when the queue is empty.
bool work_line::work_one_here() {
    int slot = 0;
    {
        std::lock_guard<std::mutex> hold(queue_lock_);
        if (queue_taken_ == queue_put_) return false;
        slot = queue_[queue_taken_++ % window];
        busy_.fetch_add(1, std::memory_order_seq_cst);
    }
    work_slot(slot, 0);
    return true;
}

void work_line::put() {
    int slot = back_slot();
    ++back_seq_;
    state_[slot].store(slot_waiting, std::memory_order_relaxed);
    gathered_[gathered_count_++] = slot;
    if (gathered_count_ == hand_over) hand_over_gathered();
}

bool work_line::wait_front() {
    std::atomic<int>& state = state_[front_slot()];
    if (state.load(std::memory_order_acquire) == slot_done) return true;
    hand_over_gathered();
    while (state.load(std::memory_order_acquire) != slot_done) {
        if (stop_flag != 0) return false;
        if (work_one_here()) {
            // the stop flag cuts this thread's work short, the front piece's perhaps
            if (stop_flag != 0) return false;
            continue;
        }
        std::unique_lock<std::mutex> hold(done_lock_);
        waiting_.store(true, std::memory_order_seq_cst);
        // a helper that finishes marks its slot, then takes the lock before it wakes this one;
        // the time limit lets an interrupt be seen while a long piece is worked on
        while (state.load(std::memory_order_seq_cst) != slot_done && stop_flag == 0) {
            done_.wait_for(hold, std::chrono::milliseconds(20));
        }
        waiting_.store(false, std::memory_order_relaxed);
    }
    return true;
}

void work_line::drop_all() {
    cancel_.store(true);
    gathered_count_ = 0;
    {
        // nothing more is taken from the queue; the work under way stops at its next node
        std::lock_guard<std::mutex> hold(queue_lock_);
        queue_taken_ = queue_put_;
    }
    {
        std::unique_lock<std::mutex> hold(done_lock_);
        waiting_.store(true, std::memory_order_seq_cst);
        done_.wait(hold, [this] { return busy_.load(std::memory_order_seq_cst) == 0; });
        waiting_.store(false, std::memory_order_relaxed);
    }
    for (auto& state : state_) state.store(slot_empty, std::memory_order_relaxed);
    front_seq_ = back_seq_;
    cancel_.store(false);
}
