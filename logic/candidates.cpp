// Candidates and steps. Placing a value clears the cell's candidates and removes the value
// from every peer, so the grid never holds a candidate that a placed value rules out.
#include "logic/candidates.h"

const int search_order[27] = {18, 19, 20, 21, 22, 23, 24, 25, 26, 9, 10, 11, 12, 13,
                              14, 15, 16, 17, 0,  1,  2,  3,  4,  5, 6,  7,  8};

void place_candidate(candidate_grid* g, int cell, int v) {
    g->value[cell] = v;
    g->cand[cell] = 0;
    for (int other = 0; other < 81; ++other) {
        if (sees(cell, other)) g->cand[other] &= ~value_bit[v];
    }
}

void start_candidates(candidate_grid* g, const int* cells) {
    for (int cell = 0; cell < 81; ++cell) {
        g->value[cell] = 0;
        g->cand[cell] = all_values;
    }
    for (int cell = 0; cell < 81; ++cell) {
        if (cells[cell] != 0) place_candidate(g, cell, cells[cell]);
    }
}

void clear_step(step* s, int technique) {
    s->technique = technique;
    s->rating = 0;
    s->placed_count = 0;
    s->removed_count = 0;
    s->unit[0] = s->unit[1] = -1;
    s->values = 0;
    s->cause_count = 0;
    s->form = 0;
    s->clash[0] = 0;
}

void add_placement(step* s, int cell, int v) {
    for (int i = 0; i < s->placed_count; ++i) {
        if (s->placed_cell[i] == cell) return;
    }
    s->placed_cell[s->placed_count] = cell;
    s->placed_value[s->placed_count] = v;
    ++s->placed_count;
}

void add_removal(step* s, const candidate_grid& g, int cell, int v) {
    if ((g.cand[cell] & value_bit[v]) == 0) return;
    for (int i = 0; i < s->removed_count; ++i) {
        if (s->removed_cell[i] == cell && s->removed_value[i] == v) return;
    }
    s->removed_cell[s->removed_count] = cell;
    s->removed_value[s->removed_count] = v;
    ++s->removed_count;
}

void add_cause(step* s, int cell) {
    if (s->cause_count < max_cause) s->cause[s->cause_count++] = cell;
}

void apply_step(candidate_grid* g, const step& s) {
    for (int i = 0; i < s.removed_count; ++i) {
        g->cand[s.removed_cell[i]] &= ~value_bit[s.removed_value[i]];
    }
    for (int i = 0; i < s.placed_count; ++i) {
        if (g->value[s.placed_cell[i]] == 0)
            place_candidate(g, s.placed_cell[i], s.placed_value[i]);
    }
}

int places_in_unit(const candidate_grid& g, int unit, int v) {
    int places = 0;
    for (int i = 0; i < 9; ++i) {
        if ((g.cand[unit_cell[unit][i]] & value_bit[v]) != 0) places |= 1 << i;
    }
    return places;
}

int open_cells(const candidate_grid& g, int unit) {
    int open = 0;
    for (int i = 0; i < 9; ++i) open += g.value[unit_cell[unit][i]] == 0 ? 1 : 0;
    return open;
}
