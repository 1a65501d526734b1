// Intersections: when a value's places in a box all lie in one line (pointing), it cannot go
// elsewhere in that line; when its places in a line all lie in one box (claiming), it cannot go
// elsewhere in that box. The direct forms count only when the removals leave the value a
// single place in another box (pointing) or in a line outside the box (claiming), and then
// place it.
#include "logic/techniques.h"

#include <bit>

namespace {

// The one place left for v in a unit other than skip that the removals of s touch, after them:
// in a box (boxes), or in a line outside the box a claiming works in. A single inside that box
// is not taken, so ratings agree with the ones people quote.
bool hidden_single_after(const candidate_grid& g, const step& s, int v, int skip, bool boxes,
                         step* out) {
    candidate_grid after = g;
    for (int i = 0; i < s.removed_count; ++i) {
        after.cand[s.removed_cell[i]] &= ~value_bit[v];
    }
    for (int unit : search_order) {
        if (unit == skip || (unit >= 18) != boxes) continue;
        bool touched = false;
        int placed = 0;
        for (int i = 0; i < 9; ++i) {
            int cell = unit_cell[unit][i];
            placed |= value_bit[g.value[cell]];
            for (int k = 0; k < s.removed_count; ++k) touched |= s.removed_cell[k] == cell;
        }
        if (!touched || (placed & value_bit[v]) != 0) continue;
        int places = places_in_unit(after, unit, v);
        if (std::popcount(static_cast<unsigned>(places)) != 1) continue;
        int single = unit_cell[unit][std::countr_zero(static_cast<unsigned>(places))];
        if (!boxes && box_of[single] == box_of[s.removed_cell[0]]) continue;
        add_placement(out, single, v);
        return true;
    }
    return false;
}

// The line through cells of a box's places, if they share one: a row or a column unit.
int common_line(int unit, int places, bool rows) {
    int line = -1;
    for (int i = 0; i < 9; ++i) {
        if ((places >> i & 1) == 0) continue;
        int cell = unit_cell[unit][i];
        int here = rows ? row_of[cell] : 9 + col_of[cell];
        if (line >= 0 && line != here) return -1;
        line = here;
    }
    return line;
}

} // namespace

bool find_intersection(const candidate_grid& g, int kind, step* s) {
    bool from_box = kind == pointing || kind == direct_pointing;
    bool is_direct = kind == direct_pointing || kind == direct_claiming;
    for (int unit : search_order) {
        if ((unit >= 18) != from_box) continue;
        for (int v = 1; v <= 9; ++v) {
            int places = places_in_unit(g, unit, v);
            if (std::popcount(static_cast<unsigned>(places)) < 2) continue;
            // a box's places in one column, then one row; a line's places in one box
            for (int pass = 0; pass < (from_box ? 2 : 1); ++pass) {
                int other = from_box ? common_line(unit, places, pass == 1)
                                     : 18 + box_of[unit_cell[unit][std::countr_zero(
                                                static_cast<unsigned>(places))]];
                if (other < 0) continue;
                if (!from_box) {
                    for (int i = 0; i < 9; ++i) {
                        if ((places >> i & 1) != 0 && 18 + box_of[unit_cell[unit][i]] != other) {
                            other = -1;
                        }
                    }
                    if (other < 0) continue;
                }
                clear_step(s, s->technique);
                for (int i = 0; i < 9; ++i) {
                    int cell = unit_cell[other][i];
                    bool inside = from_box ? 18 + box_of[cell] == unit
                                           : (unit < 9 ? row_of[cell] : 9 + col_of[cell]) == unit;
                    if (!inside) add_removal(s, g, cell, v);
                }
                if (s->removed_count == 0) continue;
                s->unit[0] = unit;
                s->unit[1] = other;
                s->values = value_bit[v];
                for (int i = 0; i < 9; ++i) {
                    if ((places >> i & 1) != 0) add_cause(s, unit_cell[unit][i]);
                }
                if (!is_direct) return true;
                if (hidden_single_after(g, *s, v, unit, from_box, s)) {
                    return true;
                }
            }
        }
    }
    clear_step(s, s->technique);
    return false;
}
