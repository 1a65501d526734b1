// Singles: the last empty cell of a unit, a value with one place left in a unit, a cell with
// one candidate left. They place; they never only remove.
#include "logic/techniques.h"

#include <bit>

namespace {

int value_of(int bit) {
    return std::countr_zero(static_cast<unsigned>(bit)) + 1;
}

} // namespace

bool find_full_house(const candidate_grid& g, int, step* s) {
    for (int unit : search_order) {
        if (open_cells(g, unit) != 1) continue;
        for (int i = 0; i < 9; ++i) {
            int cell = unit_cell[unit][i];
            if (g.value[cell] != 0 || g.cand[cell] == 0) continue;
            add_placement(s, cell, value_of(g.cand[cell]));
            s->unit[0] = unit;
            return true;
        }
    }
    return false;
}

bool find_hidden_single(const candidate_grid& g, int in_box, step* s) {
    for (int unit : search_order) {
        if ((unit >= 18) != (in_box != 0)) continue;
        // the values seen in one cell of the unit and no other, in one pass over its cells
        int once = 0;
        int more = 0;
        for (int i = 0; i < 9; ++i) {
            int cand = g.cand[unit_cell[unit][i]];
            more |= once & cand;
            once |= cand;
        }
        int single = once & ~more;
        if (single == 0) continue;
        int v = value_of(single & -single);
        int places = places_in_unit(g, unit, v);
        add_placement(s, unit_cell[unit][std::countr_zero(static_cast<unsigned>(places))], v);
        s->unit[0] = unit;
        s->values = value_bit[v];
        return true;
    }
    return false;
}

bool find_naked_single(const candidate_grid& g, int, step* s) {
    for (int cell = 0; cell < 81; ++cell) {
        if (g.value[cell] == 0 && std::popcount(static_cast<unsigned>(g.cand[cell])) == 1) {
            add_placement(s, cell, value_of(g.cand[cell]));
            return true;
        }
    }
    return false;
}
