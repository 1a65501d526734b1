// The line is a ring of line_window slot states in order: the caller's thread appends at the
// back and takes up at the front. Pieces to work on also go into a queue of slot numbers under
// one mutex, which the helpers take from; the caller's thread hands them over a few at a time,
// so that the lock and the wake-ups cost little per piece. A slot's state is its one hand-
// over: a thread writes the piece's result, then marks the slot done with release order; the
// caller's thread reads the mark with acquire order before it reads the result. Helpers stop
// on the line's cancel flag, never on the stop flag, which belongs to the caller's thread.
#include "core/work_line.h"

#include "core/counter.h"
#include "core/held_signals.h"
#include "core/stop_flag.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

std::atomic<int> line_state[line_window];
long long line_front_seq;
long long line_back_seq;
int line_limit = line_window;

namespace {

line_work work_on; // what the threads do with a piece

constexpr int hand_over = 8; // pieces the caller's thread gathers before it hands them over,
                             // unless it has to wait first
int gathered[hand_over];     // the caller's thread alone
int gathered_count;

std::mutex queue_lock; // guards the queue of slots to work on, idle and closing
std::condition_variable queue_ready;
int queue[line_window];
long long queue_taken;                 // pieces the threads have taken from the queue
long long queue_put;                   // pieces put into it
std::atomic<long long> queue_put_seen; // queue_put as the threads may peek at it without the lock
int idle;                              // helpers waiting for the queue
bool closing;                          // the helpers are to end

std::atomic<bool> cancel;           // work in progress stops; its slots are dropped anyway
std::atomic<int> busy;              // threads working right now
std::atomic<bool> front_waiting;    // the caller's thread sleeps until the front is done
std::mutex front_lock;              // held while the caller's thread checks before it sleeps,
std::condition_variable front_done; // and by a helper before it wakes it: no wake-up is lost
std::vector<std::thread> helpers;

// Works on the slot taken from the queue and hands the result over.
void work_slot(int index, bool helper) {
    work_on(index, helper);
    line_state[index].store(line_slot_done, std::memory_order_seq_cst);
    if (front_waiting.load(std::memory_order_seq_cst)) {
        { std::lock_guard<std::mutex> hold(front_lock); }
        front_done.notify_one();
    }
    busy.fetch_sub(1);
}

void help_forever() {
    cancel_counts_with(&cancel);
    long long taken_before = 0;
    for (;;) {
        // new work usually comes within microseconds: a helper looks for it a while before it
        // sleeps, so that handing work over seldom has to wake it
        for (int look = 0;
             look < 2000 && queue_put_seen.load(std::memory_order_relaxed) <= taken_before;
             ++look) {
            std::this_thread::yield();
        }
        int index = 0;
        {
            std::unique_lock<std::mutex> hold(queue_lock);
            ++idle;
            queue_ready.wait(hold, [] { return closing || queue_taken < queue_put; });
            --idle;
            if (closing) break;
            index = queue[queue_taken++ % line_window];
            taken_before = queue_taken;
            busy.fetch_add(1);
        }
        work_slot(index, true);
    }
}

// Hands the gathered slots over to the helpers.
void hand_over_gathered() {
    if (gathered_count == 0) return;
    bool wake = false;
    {
        std::lock_guard<std::mutex> hold(queue_lock);
        for (int i = 0; i < gathered_count; ++i) queue[queue_put++ % line_window] = gathered[i];
        queue_put_seen.store(queue_put, std::memory_order_relaxed);
        wake = idle > 0;
    }
    gathered_count = 0;
    if (wake) queue_ready.notify_all();
}

// The caller's thread, waiting for the front, works on a piece of the queue itself if there
// is one left: so every thread works, the caller's too. False when the queue is empty.
bool work_one_here() {
    int index = 0;
    {
        std::lock_guard<std::mutex> hold(queue_lock);
        if (queue_taken == queue_put) return false;
        index = queue[queue_taken++ % line_window];
        busy.fetch_add(1);
    }
    work_slot(index, false);
    return true;
}

} // namespace

int start_work_line(int threads, line_work work) {
    work_on = work;
    line_front_seq = line_back_seq = 0;
    line_limit = line_window;
    queue_taken = queue_put = 0;
    queue_put_seen.store(0);
    gathered_count = 0;
    idle = 0;
    closing = false;
    cancel.store(false);
    front_waiting.store(false);
    for (auto& state : line_state) state.store(line_slot_empty);
    signals_held_back hold; // signals are for the caller's thread, which owns the stop flag
    for (int i = 1; i < threads; ++i) {
        // a thread the system cannot start is one helper fewer, not the end of the program
        try {
            helpers.emplace_back(help_forever);
        } catch (const std::system_error&) {
            break;
        }
    }
    return static_cast<int>(helpers.size()) + 1;
}

void stop_work_line() {
    line_drop_all();
    {
        std::lock_guard<std::mutex> hold(queue_lock);
        closing = true;
    }
    queue_ready.notify_all();
    for (std::thread& t : helpers) t.join();
    helpers.clear();
}

void line_put() {
    int index = line_back_slot();
    ++line_back_seq;
    line_state[index].store(line_slot_waiting, std::memory_order_relaxed);
    gathered[gathered_count++] = index;
    if (gathered_count == hand_over) hand_over_gathered();
}

bool line_wait_front() {
    std::atomic<int>& state = line_state[line_front_slot()];
    if (state.load(std::memory_order_acquire) == line_slot_done) return true;
    hand_over_gathered();
    while (state.load(std::memory_order_acquire) != line_slot_done) {
        if (stop_flag != 0) return false;
        if (work_one_here()) continue;
        std::unique_lock<std::mutex> hold(front_lock);
        front_waiting.store(true, std::memory_order_seq_cst);
        // a helper that finishes marks its slot, then takes the lock before it wakes this one;
        // the time limit lets an interrupt be seen while a long piece is worked on
        while (state.load(std::memory_order_seq_cst) != line_slot_done && stop_flag == 0) {
            front_done.wait_for(hold, std::chrono::milliseconds(50));
        }
        front_waiting.store(false, std::memory_order_relaxed);
    }
    return true;
}

void line_drop_all() {
    cancel.store(true);
    gathered_count = 0;
    {
        // nothing more is taken from the queue; the work under way stops at its next node
        std::lock_guard<std::mutex> hold(queue_lock);
        queue_taken = queue_put;
    }
    while (busy.load() != 0) std::this_thread::yield();
    for (auto& state : line_state) state.store(line_slot_empty, std::memory_order_relaxed);
    line_front_seq = line_back_seq;
    cancel.store(false);
}

const std::atomic<bool>* line_cancel() {
    return &cancel;
}
