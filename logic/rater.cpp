// The rater: one pass down the table per step, from the top each time, so an easier technique
// always has the first word. The step and the grid live on the stack: nothing is allocated.
#include "core/stop_flag.h"
#include "logic/rating.h"

const char* level_of(int rating) {
    if (rating < 15) return "easy";
    if (rating < 25) return "medium";
    if (rating < 50) return "hard";
    return "diabolical";
}

int first_step(const candidate_grid& g, step* s) {
    return first_step_between(g, s, 0, unfinished_rating);
}

namespace {

bool find_row(const candidate_grid& g, int row, step* s) {
    clear_step(s, row);
    if (!technique_table[row].find(g, technique_table[row].param, s)) return false;
    if (s->rating == 0) s->rating = technique_table[row].rating;
    return true;
}

bool better(const step& a, const step& b) {
    return a.rating < b.rating || (a.rating == b.rating && a.unit[0] < b.unit[0]);
}

} // namespace

int first_step_between(const candidate_grid& g, step* s, int lowest, int below) {
    for (int row = 0; row < technique_count; ++row) {
        if (technique_table[row].rating < lowest || technique_table[row].rating >= below) continue;
        if (!find_row(g, row, s)) continue;
        int group = technique_table[row].group;
        // the rest of its group may find an easier step
        for (int other = row + 1;
             group != 0 && other < technique_count && technique_table[other].group == group &&
             technique_table[other].rating < below;
             ++other) {
            if (technique_table[other].rating > s->rating) continue; // its best is no better
            step rival;
            if (find_row(g, other, &rival) && better(rival, *s)) *s = rival;
        }
        return s->technique;
    }
    return -1;
}

rating_outcome rate_puzzle(const int* cells,
                           bool (*take)(const step& s, const candidate_grid& before)) {
    candidate_grid g;
    start_candidates(&g, cells);
    rating_outcome outcome = {0, -1, 0, false};
    step s;
    for (;;) {
        int open = 0;
        for (int cell = 0; cell < 81; ++cell) open += g.value[cell] == 0 ? 1 : 0;
        if (open == 0) return outcome;
        int row = first_step(g, &s);
        // an interrupt, maybe in the middle of that search: what was rated means nothing
        if (stop_flag != 0) {
            outcome.stopped = true;
            return outcome;
        }
        if (row < 0) {
            outcome.rating = unfinished_rating;
            return outcome;
        }
        if (s.rating > outcome.rating) {
            outcome.rating = s.rating;
            outcome.hardest = row;
        }
        ++outcome.steps;
        if (take != nullptr && !take(s, g)) return outcome;
        apply_step(&g, s);
    }
}
