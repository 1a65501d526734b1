// The composition's counts on the work line: a slot's lay-out is counted by a thread in a
// puzzle of its own, where it keeps the letters of its last lay-out. The counter takes no lock.
#include "composer/count_pool.h"

count_pool::count_pool() : riders_(new riding_layout[rider_window]) {}

int count_pool::count_kept(thread_room& room, const std::uint64_t cells[2], int bound) {
    int wanted[81];
    int letters = cells_in(cells, wanted);
    int same = 0;
    while (same < room.count && same < letters && room.cell[same] == wanted[same]) ++same;
    while (room.count > same) remove_value(room.p, room.cell[--room.count]);
    for (; room.count < letters; ++room.count) {
        room.cell[room.count] = wanted[room.count];
        place_value(room.p, wanted[room.count], letters_[room.count]);
    }
    // the cell that left this thread's last lay-out without a solution often does the same
    if (is_dead_cell(room.p, room.c.dead_cell)) return 0;
    room.c.best_count = bound;
    return count_solutions(room.p, room.c);
}

void count_pool::work(int slot, int thread, const std::atomic<bool>* cancel) {
    thread_room& room = rooms_[static_cast<std::size_t>(thread)];
    room.c.cancel = thread == 0 ? nullptr : cancel;
    pooled_layout& layout = layouts_[slot];
    layout.count = count_kept(room, layout.cells, layout.bound);
}

int count_pool::count_here(const std::uint64_t cells[2], int bound) {
    return count_kept(rooms_[0], cells, bound);
}

int count_pool::start(int threads, const int* letters) {
    letters_ = letters;
    rider_front_ = rider_back_ = 0;
    rooms_.assign(static_cast<std::size_t>(threads), thread_room{});
    return line_.start(threads, *this);
}

void count_pool::stop() {
    line_.stop();
    rider_front_ = rider_back_;
}

void count_pool::put(const std::uint64_t cells[2], int bound) {
    pooled_layout& layout = layouts_[line_.back_slot()];
    layout.cells[0] = cells[0];
    layout.cells[1] = cells[1];
    layout.bound = bound;
    layout.count = -1;
    layout.riders = 0;
    line_.put();
}

bool count_pool::add_rider(const std::uint64_t cells[2], int count) {
    if (line_.empty()) return false;
    riding_layout& r = riders_[rider_back_++ % rider_window];
    r.cells[0] = cells[0];
    r.cells[1] = cells[1];
    r.count = count;
    ++layouts_[line_.newest_slot()].riders;
    return true;
}

const pooled_layout* count_pool::front() {
    return line_.wait_front() ? &layouts_[line_.front_slot()] : nullptr;
}

void count_pool::drop_all() {
    line_.drop_all();
    rider_front_ = rider_back_;
}
