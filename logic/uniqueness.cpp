// Uniqueness: a puzzle with one solution cannot leave a pattern whose values could swap. A
// rectangle of four cells in two rows, two columns and two boxes must not end as {a,b} in
// all four (types 1, 2 and 4 below); and a grid of bivalue cells with one trivalue cell must
// not become all bivalue (the bivalue universal grave, type 1). Sound only for a puzzle with
// one solution, which is the only kind the rater is given.
#include "logic/techniques.h"

#include <bit>

namespace {

int bits(int set) {
    return std::popcount(static_cast<unsigned>(set));
}

// The unit two cells share, other than through sharing none: a row, a column, or -1.
int shared_line(int a, int b) {
    if (row_of[a] == row_of[b]) return row_of[a];
    if (col_of[a] == col_of[b]) return 9 + col_of[a];
    return -1;
}

bool try_rectangle(const candidate_grid& g, const int corner[4], int pair, step* s) {
    int roof[4]; // the corners with more than the pair; the others are the floor
    int floors = 0;
    int roofs = 0;
    for (int k = 0; k < 4; ++k) {
        if (g.cand[corner[k]] == pair) {
            ++floors;
        } else {
            roof[roofs++] = corner[k];
        }
    }
    clear_step(s, s->technique);
    s->values = pair;
    for (int k = 0; k < 4; ++k) add_cause(s, corner[k]);
    if (floors == 3) { // type 1: the fourth cell cannot be a or b
        for (int v = 1; v <= 9; ++v) {
            if ((pair & value_bit[v]) != 0) add_removal(s, g, roof[0], v);
        }
        s->unit[0] = 1;
        return s->removed_count > 0;
    }
    if (floors != 2 || shared_line(roof[0], roof[1]) < 0) return false;
    int extra0 = g.cand[roof[0]] & ~pair;
    int extra1 = g.cand[roof[1]] & ~pair;
    // type 2: the same one extra value in both roof cells: one of them holds it
    if (extra0 == extra1 && bits(extra0) == 1) {
        int v = std::countr_zero(static_cast<unsigned>(extra0)) + 1;
        for (int cell = 0; cell < 81; ++cell) {
            if (sees(cell, roof[0]) && sees(cell, roof[1])) add_removal(s, g, cell, v);
        }
        s->unit[0] = 2;
        if (s->removed_count > 0) return true;
    }
    // type 4: where a value of the pair has no other place in a unit of the roof, the roof
    // holds it once, and so cannot hold the other value of the pair
    int units[2] = {shared_line(roof[0], roof[1]),
                    box_of[roof[0]] == box_of[roof[1]] ? 18 + box_of[roof[0]] : -1};
    for (int unit : units) {
        if (unit < 0) continue;
        for (int v = 1; v <= 9; ++v) {
            if ((pair & value_bit[v]) == 0) continue;
            if (bits(places_in_unit(g, unit, v)) != 2) continue;
            int other = pair & ~value_bit[v];
            int w = std::countr_zero(static_cast<unsigned>(other)) + 1;
            clear_step(s, s->technique);
            s->values = pair;
            for (int k = 0; k < 4; ++k) add_cause(s, corner[k]);
            add_removal(s, g, roof[0], w);
            add_removal(s, g, roof[1], w);
            s->unit[0] = 4;
            if (s->removed_count > 0) return true;
        }
    }
    return false;
}

} // namespace

bool find_unique_rectangle(const candidate_grid& g, int, step* s) {
    for (int r1 = 0; r1 < 9; ++r1) {
        for (int r2 = r1 + 1; r2 < 9; ++r2) {
            for (int c1 = 0; c1 < 9; ++c1) {
                for (int c2 = c1 + 1; c2 < 9; ++c2) {
                    int corner[4] = {9 * r1 + c1, 9 * r1 + c2, 9 * r2 + c1, 9 * r2 + c2};
                    // two boxes: the rows share a band or the columns share a stack, not both
                    bool band = r1 / 3 == r2 / 3;
                    bool stack = c1 / 3 == c2 / 3;
                    if (band == stack) continue;
                    int common = all_values;
                    for (int cell : corner) common &= g.cand[cell];
                    if (bits(common) < 2) continue;
                    for (int a = 1; a <= 9; ++a) {
                        for (int b = a + 1; b <= 9; ++b) {
                            int pair = value_bit[a] | value_bit[b];
                            if ((common & pair) != pair) continue;
                            if (try_rectangle(g, corner, pair, s)) return true;
                        }
                    }
                }
            }
        }
    }
    clear_step(s, s->technique);
    return false;
}

bool find_bivalue_grave(const candidate_grid& g, int, step* s) {
    int odd = -1;
    for (int cell = 0; cell < 81; ++cell) {
        if (g.value[cell] != 0) continue;
        int n = bits(g.cand[cell]);
        if (n == 2) continue;
        if (n != 3 || odd >= 0) return false;
        odd = cell;
    }
    if (odd < 0) return false;
    // the value that the odd cell's row holds three times must be the odd cell's
    for (int v = 1; v <= 9; ++v) {
        if ((g.cand[odd] & value_bit[v]) == 0) continue;
        if (bits(places_in_unit(g, row_of[odd], v)) != 3) continue;
        clear_step(s, s->technique);
        add_placement(s, odd, v);
        add_cause(s, odd);
        s->values = value_bit[v];
        s->unit[0] = row_of[odd];
        return true;
    }
    return false;
}
