// The composition's counts on the work line: a slot's lay-out is counted by a helper in its own
// puzzle, where it keeps the letters of its last lay-out, or by the walk's thread while it
// waits, in a grid without the walk's letters. The counter takes no lock.
#include "composer/count_pool.h"

#include "core/counter.h"
#include "core/grid.h"

pooled_layout pool_layout[line_window];
riding_layout pool_riders[rider_window];
long long rider_front_seq;
long long rider_back_seq;

namespace {

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

// Counts the lay-out in this helper's puzzle, which holds the kept letters and nothing else.
int count_kept_layout(const std::uint64_t cells[2], int bound) {
    kept_letters& k = kept;
    if (k.p.grid == nullptr) k.p = this_puzzle();
    int wanted[81];
    int letters = cells_in(cells, wanted);
    int same = 0;
    while (same < k.count && same < letters && k.cell[same] == wanted[same]) ++same;
    while (k.count > same) remove_value(k.p, k.cell[--k.count]);
    for (; k.count < letters; ++k.count) {
        k.cell[k.count] = wanted[k.count];
        place_value(k.p, wanted[k.count], sentence_letters[k.count]);
    }
    // the cell that left this thread's last lay-out without a solution often does the same
    if (is_dead_cell(k.p, k.last_dead_cell)) return 0;
    return count_up_to(bound, &k.last_dead_cell);
}

void count_slot(int slot, bool helper) {
    pooled_layout& layout = pool_layout[slot];
    layout.count = helper ? count_kept_layout(layout.cells, layout.bound)
                          : count_layout_here(layout.cells, layout.bound);
}

} // namespace

int count_layout_here(const std::uint64_t cells[2], int bound) {
    int laid[81];
    int letters = cells_in(cells, laid);
    for (int k = 0; k < letters; ++k) place_value(laid[k], sentence_letters[k]);
    int count = count_up_to(bound);
    while (letters > 0) remove_value(laid[--letters]);
    return count;
}

int start_count_pool(int thread_count, const int* letters) {
    sentence_letters = letters;
    rider_front_seq = rider_back_seq = 0;
    return start_work_line(thread_count, count_slot);
}

void stop_count_pool() {
    stop_work_line();
    rider_front_seq = rider_back_seq;
}

void pool_put(const std::uint64_t cells[2], int bound) {
    pooled_layout& layout = pool_layout[line_back_slot()];
    layout.cells[0] = cells[0];
    layout.cells[1] = cells[1];
    layout.bound = bound;
    layout.count = -1;
    layout.riders = 0;
    line_put();
}

const pooled_layout* pool_front() {
    return line_wait_front() ? &pool_layout[line_front_slot()] : nullptr;
}

void pool_drop_all() {
    line_drop_all();
    rider_front_seq = rider_back_seq;
}
