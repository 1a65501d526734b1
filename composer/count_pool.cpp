// The line of lay-outs is a ring of pool_window slots in walk order: the walk's thread appends
// at the back and takes up at the front. Lay-outs to be counted also go into a queue of slot
// numbers under one mutex, which the counting threads take from; the walk's thread hands them
// over a few at a time, so that the lock and the wake-ups cost little per lay-out. A slot's
// state is its one hand-over: a thread writes the count, then marks the slot done with release
// order; the walk's thread reads the mark with acquire order before it reads the count. The
// counter itself takes no lock: each thread counts in its own puzzle and stops on the pool's
// cancel flag, not on the stop flag, which belongs to the walk's thread.
#include "composer/count_pool.h"

#include "core/counter.h"
#include "core/grid.h"
#include "core/held_signals.h"

#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

enum slot_state : int { slot_empty, slot_waiting, slot_done };

using slot = pool_slot;
slot* const ring = pool_ring;
long long& front_seq = pool_front_seq;
long long& back_seq = pool_back_seq;

constexpr int hand_over = 8; // slots to count that the walk's thread gathers before it hands
                             // them over, unless it has to wait first
int gathered[hand_over];     // the walk's thread alone
int gathered_count;

std::mutex queue_lock; // guards the queue of slots to count, idle and closing
std::condition_variable queue_ready;
int queue[pool_window];
long long queue_taken;                 // lay-outs the threads have taken from the queue
long long queue_put;                   // lay-outs put into it
std::atomic<long long> queue_put_seen; // queue_put as the threads may peek at it without the lock
int idle;                              // counting threads waiting for the queue
bool closing;                          // the threads are to end

std::atomic<bool> cancel;           // counts in progress stop; their slots are dropped anyway
std::atomic<int> busy;              // threads counting right now
std::atomic<bool> front_waiting;    // the walk's thread sleeps until the oldest slot is done
std::mutex front_lock;              // held while the walk's thread checks before it sleeps, and
std::condition_variable front_done; // by a thread before it wakes it: no wake-up is lost
std::vector<std::thread> threads;

const int* sentence_letters; // values of the letters in sentence order, for every thread

// A counting thread keeps the letters of its last lay-out in its puzzle, and lays only those
// the next one moves: lay-outs near in walk order share most of their cells.
struct kept_letters {
    puzzle_view p; // the thread's puzzle, taken once
    int cell[81];
    int count;
    int last_dead_cell; // the cell that left the thread's last lay-out without a solution
};
thread_local constinit kept_letters kept{};

kept_letters& this_thread_kept() {
    kept_letters& k = kept;
    if (k.p.grid == nullptr) k.p = this_puzzle();
    return k;
}

// The cells of a lay-out in order, which are its letters' cells in sentence order.
int cells_of(const std::uint64_t cells[2], int* out) {
    int count = 0;
    for (int half = 0; half < 2; ++half) {
        for (std::uint64_t bits = cells[half]; bits != 0; bits &= bits - 1) {
            out[count++] = 64 * half + std::countr_zero(bits);
        }
    }
    return count;
}

void lift_kept(kept_letters& k, int from) {
    while (k.count > from) remove_value(k.p, k.cell[--k.count]);
}

// Counts the lay-out in this thread's puzzle, which holds the kept letters and nothing else.
int count_kept_layout(const std::uint64_t cells[2], int bound) {
    kept_letters& k = this_thread_kept();
    int wanted[81];
    int letters = cells_of(cells, wanted);
    int same = 0;
    while (same < k.count && same < letters && k.cell[same] == wanted[same]) ++same;
    lift_kept(k, same);
    for (; k.count < letters; ++k.count) {
        k.cell[k.count] = wanted[k.count];
        place_value(k.p, wanted[k.count], sentence_letters[k.count]);
    }
    // the cell that left this thread's last lay-out without a solution often does the same
    if (k.p.grid[k.last_dead_cell] == 0 && candidates(k.p, k.last_dead_cell) == 0) return 0;
    return count_up_to(bound, &k.last_dead_cell);
}

// Counts the slot taken from the queue and hands the count over; a counting thread keeps its
// letters for the next, the walk's thread lays and lifts them.
void count_slot(int index, bool keep) {
    slot& s = ring[index];
    s.layout.count = keep ? count_kept_layout(s.layout.cells, s.layout.bound)
                          : count_layout_here(s.layout.cells, s.layout.bound);
    s.state.store(slot_done, std::memory_order_seq_cst);
    if (front_waiting.load(std::memory_order_seq_cst)) {
        { std::lock_guard<std::mutex> hold(front_lock); }
        front_done.notify_one();
    }
    busy.fetch_sub(1);
}

void count_forever() {
    cancel_counts_with(&cancel);
    long long taken_before = 0;
    for (;;) {
        // new work usually comes within microseconds: a thread looks for it a while before it
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
            index = queue[queue_taken++ % pool_window];
            taken_before = queue_taken;
            busy.fetch_add(1);
        }
        count_slot(index, true);
    }
    lift_kept(this_thread_kept(), 0);
}

// Hands the gathered slots over to the counting threads.
void hand_over_gathered() {
    if (gathered_count == 0) return;
    bool wake = false;
    {
        std::lock_guard<std::mutex> hold(queue_lock);
        for (int i = 0; i < gathered_count; ++i) queue[queue_put++ % pool_window] = gathered[i];
        queue_put_seen.store(queue_put, std::memory_order_relaxed);
        wake = idle > 0;
    }
    gathered_count = 0;
    if (wake) queue_ready.notify_all();
}

// The walk's thread, waiting for the oldest count, counts one of the queue itself if there is
// one left: so all threads count, the walk's too. False when the queue is empty.
bool count_one_here() {
    int index = 0;
    {
        std::lock_guard<std::mutex> hold(queue_lock);
        if (queue_taken == queue_put) return false;
        index = queue[queue_taken++ % pool_window];
        busy.fetch_add(1);
    }
    count_slot(index, false);
    return true;
}

} // namespace

pool_slot pool_ring[pool_window];
long long pool_front_seq;
long long pool_back_seq;
riding_layout pool_riders[rider_window];
long long rider_front_seq;
long long rider_back_seq;

int count_layout_here(const std::uint64_t cells[2], int bound) {
    int laid[81];
    int letters = cells_of(cells, laid);
    for (int k = 0; k < letters; ++k) place_value(laid[k], sentence_letters[k]);
    int count = count_up_to(bound);
    while (letters > 0) remove_value(laid[--letters]);
    return count;
}

void start_count_pool(int thread_count, const int* letters) {
    sentence_letters = letters;
    front_seq = back_seq = 0;
    rider_front_seq = rider_back_seq = 0;
    queue_taken = queue_put = 0;
    queue_put_seen.store(0);
    gathered_count = 0;
    idle = 0;
    closing = false;
    cancel.store(false);
    front_waiting.store(false);
    for (slot& s : pool_ring) s.state.store(slot_empty);
    signals_held_back hold; // the interrupt is for the walk's thread, which owns the stop flag
    for (int i = 1; i < thread_count; ++i) threads.emplace_back(count_forever);
}

void stop_count_pool() {
    pool_drop_all();
    {
        std::lock_guard<std::mutex> hold(queue_lock);
        closing = true;
    }
    queue_ready.notify_all();
    for (std::thread& t : threads) t.join();
    threads.clear();
}

void pool_put(const std::uint64_t cells[2], int bound) {
    int index = static_cast<int>(back_seq++ % pool_window);
    slot& s = ring[index];
    s.layout.cells[0] = cells[0];
    s.layout.cells[1] = cells[1];
    s.layout.bound = bound;
    s.layout.count = -1;
    s.layout.riders = 0;
    s.state.store(slot_waiting, std::memory_order_relaxed);
    gathered[gathered_count++] = index;
    if (gathered_count == hand_over) hand_over_gathered();
}

const pooled_layout& pool_front() {
    slot& s = ring[front_seq % pool_window];
    if (s.state.load(std::memory_order_acquire) == slot_done) return s.layout;
    hand_over_gathered();
    while (s.state.load(std::memory_order_acquire) != slot_done) {
        if (count_one_here()) continue;
        std::unique_lock<std::mutex> hold(front_lock);
        front_waiting.store(true, std::memory_order_seq_cst);
        // a thread that finishes marks its slot, then takes the lock before it wakes this one
        while (s.state.load(std::memory_order_seq_cst) != slot_done) {
            front_done.wait_for(hold, std::chrono::milliseconds(50));
        }
        front_waiting.store(false, std::memory_order_relaxed);
    }
    return s.layout;
}

void pool_drop_all() {
    cancel.store(true);
    gathered_count = 0;
    {
        // nothing more is taken from the queue; the counts under way stop at their next node
        std::lock_guard<std::mutex> hold(queue_lock);
        queue_taken = queue_put;
    }
    while (busy.load() != 0) std::this_thread::yield();
    for (slot& s : pool_ring) s.state.store(slot_empty, std::memory_order_relaxed);
    front_seq = back_seq;
    rider_front_seq = rider_back_seq;
    cancel.store(false);
}
