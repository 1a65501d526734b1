// The walk's thread takes up the pool's counts in walk order and judges each lay-out as it
// would have judged it had it counted the lay-out itself: so the reports, the starters and
// the tries are the same at any number of threads.
#include "composer/compose.h"
#include "core/stop_flag.h"

// One lay-out taken up from the pool, in walk order, as the walk's thread would judge it:
// counted under the bound of its time, which is this one or higher.
void composition::judge_taken_up(int count, const std::uint64_t cells[2]) {
    count_try();
    act_on_count(count < best_count_ + 1 ? count : best_count_ + 1, cells);
}

// Takes up the pool's counts in walk order: those ready, and the oldest while the line is
// full; with all, every one. An interrupt or a no stops it and throws the rest away.
void composition::take_up_counts(bool all) {
    count_pool& pool = *pool_;
    while (!pool.empty() && (all || pool.full() || pool.front_ready())) {
        if (stopping()) {
            pool.drop_all();
            return;
        }
        // null: an interrupt while this thread waited, or counted (its count may be cut short)
        const pooled_layout* layout = pool.front();
        if (layout == nullptr) {
            pool.drop_all();
            return;
        }
        std::uint64_t cells[2] = {layout->cells[0], layout->cells[1]};
        int count = layout->count;
        int riders = layout->riders;
        memo_->remember(cells, count, layout->bound);
        pool.pop();
        judge_taken_up(count, cells);
        for (; riders > 0 && !stopping(); --riders) {
            const riding_layout& rider = pool.next_rider();
            cells[0] = rider.cells[0];
            cells[1] = rider.cells[1];
            count = rider.count;
            pool.pop_rider();
            if (count < 0) count = memo_->recall(cells, best_count_);
            if (count < 0) { // another lay-out took its place in the memo: counted here
                count = pool.count_here(cells, best_count_);
                if (stop_flag != 0) break; // cut short: dropped at the top
                memo_->remember(cells, count, best_count_);
                --memo_->hits;
            }
            ++memo_->hits;
            judge_taken_up(count, cells);
        }
    }
}
