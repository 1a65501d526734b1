// The walk's thread takes up the pool's counts in walk order and judges each lay-out as it
// would have judged it had it counted the lay-out itself: so the reports, the starters and
// the tries are the same at any number of threads.
#include "composer/compose_internal.h"
#include "composer/count_pool.h"
#include "core/counter.h"
#include "core/stop_flag.h"

namespace {

// One lay-out taken up from the pool, in walk order, as the walk's thread would judge it:
// counted under the bound of its time, which is this one or higher.
void judge_taken_up(int count, const std::uint64_t cells[2]) {
    count_try();
    count = count < best_count + 1 ? count : best_count + 1;
    solution_count = count;
    act_on_count(count, cells);
}

} // namespace

// Takes up the pool's counts in walk order: those ready, and the oldest while the line is
// full; with all, every one. An interrupt or a no stops it and throws the rest away.
void take_up_counts(bool all) {
    while (!pool_empty() && (all || pool_full() || pool_front_ready())) {
        if (stop_flag != 0) {
            pool_drop_all();
            return;
        }
        // waiting, this thread counts too, in a grid without the walk's letters
        if (!pool_front_ready()) lift_letters(0);
        const pooled_layout* layout = pool_front();
        // an interrupt while this thread waited or counted: its count may be cut short
        if (layout == nullptr || stop_flag != 0) {
            pool_drop_all();
            return;
        }
        std::uint64_t cells[2] = {layout->cells[0], layout->cells[1]};
        int count = layout->count;
        int riders = layout->riders;
        remember_count_of(cells, count, layout->bound);
        pool_pop();
        judge_taken_up(count, cells);
        for (; riders > 0 && stop_flag == 0; --riders) {
            const riding_layout& rider = pool_next_rider();
            cells[0] = rider.cells[0];
            cells[1] = rider.cells[1];
            count = rider.count;
            pool_pop_rider();
            if (count < 0) count = recall_count_of(cells);
            if (count < 0) { // another lay-out took its place in the memo: counted here
                lift_letters(0);
                count = count_layout_here(cells, best_count);
                if (stop_flag != 0) break; // cut short: dropped at the top
                remember_count_of(cells, count, best_count);
                --memo_hits;
            }
            ++memo_hits;
            judge_taken_up(count, cells);
        }
    }
}
