// Candidates and steps. Placing a value clears the cell's candidates and removes the value
// from every peer, so the grid never holds a candidate that a placed value rules out.
#include "logic/candidates.h"

#include "logic/scale.h"
#include "logic/techniques.h"

void place_candidate(candidate_grid& g, int cell, int v) {
    g.value[cell] = v;
    for (int bits = g.cand[cell]; bits != 0; bits &= bits - 1) {
        remove_candidate(g, cell, value_of_bit(bits & -bits));
    }
    for (int other : peer_order.cell[cell]) {
        if ((g.cand[other] & value_bit[v]) != 0) remove_candidate(g, other, v);
    }
}

void refresh_places(candidate_grid& g) {
    for (int unit = 0; unit < 27; ++unit) {
        for (int v = 0; v <= 9; ++v) g.places[unit][v] = 0;
        for (int i = 0; i < 9; ++i) {
            for (int bits = g.cand[unit_cell[unit][i]]; bits != 0; bits &= bits - 1) {
                g.places[unit][value_of_bit(bits & -bits)] |= 1 << i;
            }
        }
    }
}

void start_candidates(candidate_grid& g, const int* cells) {
    for (int cell = 0; cell < 81; ++cell) {
        g.value[cell] = cells[cell];
        g.cand[cell] = 0;
    }
    for (int cell = 0; cell < 81; ++cell) {
        if (cells[cell] != 0) continue;
        int used = 0;
        for (int other : peer_order.cell[cell]) used |= value_bit[cells[other]];
        g.cand[cell] = all_values & ~used;
    }
    refresh_places(g);
}

void apply_step(candidate_grid& g, const step& s) {
    s.removed.each([&](int cell, int v) {
        if ((g.cand[cell] & value_bit[v]) != 0) remove_candidate(g, cell, v);
    });
    if (s.placed_cell >= 0 && g.value[s.placed_cell] == 0) {
        place_candidate(g, s.placed_cell, s.placed_value);
    }
}

step removal_step(technique id, double rating, const step_shape& shape) {
    return step{id, rating, -1, 0, {}, shape};
}

step placement_step(technique id, double rating, int cell, int v, const step_shape& shape) {
    return step{id, rating, cell, v, {}, shape};
}

int length_steps(int nodes) {
    int beyond = nodes - 2;
    int steps = 0;
    bool half = true;
    for (int bound = scale.length_start; beyond > bound; half = !half) {
        ++steps;
        bound = half ? bound * 3 / 2 : bound * 4 / 3;
    }
    return steps;
}

double length_term(int nodes) {
    double term = 0.0;
    for (int i = length_steps(nodes); i > 0; --i) term += 0.1;
    return term;
}

const char* level_of(int tenths) {
    for (const level_row& level : scale.levels) {
        if (tenths < level.below) return level.name;
    }
    return scale.levels[3].name;
}
