// The rater walks the techniques in the order below, which is not quite the order of their
// ratings (a direct hidden pair, 2.0, comes before a naked single, 2.3): the first technique
// that finds a step has the word, whatever the others would rate. The step and the grid live
// on the stack; the chains' room is made once, when a puzzle first needs it.
#include "logic/rater.h"

#include "core/stop_flag.h"
#include "logic/chain_space.h"
#include "logic/techniques.h"

namespace {

struct producer {
    bool (*find)(const candidate_grid&, int, step_sink&);
    bool (*find_chain)(const candidate_grid&, int, step_sink&, chain_space&);
    int param;
};

constexpr producer producers[] = {
    {find_hidden_singles, nullptr, 0},
    {find_direct_intersections, nullptr, 0},
    {find_direct_hidden_subsets, nullptr, 2},
    {find_naked_singles, nullptr, 0},
    {find_direct_hidden_subsets, nullptr, 3},
    {find_intersections, nullptr, 0},
    {find_naked_subsets, nullptr, 2},
    {find_fish, nullptr, 2},
    {find_hidden_subsets, nullptr, 2},
    {find_naked_subsets, nullptr, 3},
    {find_fish, nullptr, 3},
    {find_hidden_subsets, nullptr, 3},
    {find_xy_wings, nullptr, 0},
    {find_xyz_wings, nullptr, 0},
    {find_unique_loops, nullptr, 0},
    {find_naked_subsets, nullptr, 4},
    {find_fish, nullptr, 4},
    {find_hidden_subsets, nullptr, 4},
    {find_grave, nullptr, 0},
    {find_aligned_pair_exclusion, nullptr, 0},
    {nullptr, find_static_chains, 0},
    {find_aligned_triple_exclusion, nullptr, 0},
    {nullptr, find_nishio_chains, 0},
    {nullptr, find_multiple_chains, 0},
    {nullptr, find_dynamic_chains, 0},
    {nullptr, find_dynamic_chains, 1},
    {nullptr, find_dynamic_chains, 2},
    {nullptr, find_dynamic_chains, 3},
    {nullptr, find_dynamic_chains, 4},
    {nullptr, find_dynamic_chains, 5},
};

// Keeps the first step it is given.
class first_of : public step_sink {
  public:
    explicit first_of(step& s) : s_(s) {}
    bool take(const step& s) override {
        s_ = s;
        return false;
    }

  private:
    step& s_;
};

} // namespace

bool rater_stopped(const rater& r) {
    // a rater with a cancel runs on a thread of its own, where only the cancel may be read
    return r.cancel != nullptr ? r.cancel->load(std::memory_order_relaxed) : stop_flag != 0;
}

bool first_step(const candidate_grid& g, rater& r, step& s) {
    first_of first(s);
    for (const producer& p : producers) {
        if (p.find != nullptr) {
            if (p.find(g, p.param, first)) return true;
            continue;
        }
        if (!r.room) r.room = make_chain_room();
        r.room->cancel = r.cancel;
        if (p.find_chain(g, p.param, first, *r.room)) return true;
        if (rater_stopped(r)) return false;
    }
    return false;
}

rating_outcome rate_puzzle(const int* cells, rater& r, step_taker* take) {
    candidate_grid g;
    start_candidates(g, cells);
    rating_outcome outcome{0, 0, false, {}};
    double highest = 0.0;
    step s;
    for (;;) {
        bool open = false;
        for (int cell = 0; cell < 81 && !open; ++cell) open = g.value[cell] == 0;
        if (!open) break;
        bool found = first_step(g, r, s);
        // an interrupt, maybe in the middle of that search: what was rated means nothing
        if (rater_stopped(r)) {
            outcome.stopped = true;
            return outcome;
        }
        if (!found) {
            outcome.rating = scale.unfinished;
            return outcome;
        }
        if (outcome.steps == 0 || s.rating > highest) {
            highest = s.rating;
            outcome.hardest = s;
        }
        ++outcome.steps;
        if (take != nullptr && !take->take(s, g)) break;
        apply_step(g, s);
    }
    outcome.rating = outcome.steps > 0 ? tenths_of(highest) : 0;
    return outcome;
}
