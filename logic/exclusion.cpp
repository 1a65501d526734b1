// Aligned pair exclusion: two cells that share a box, a row or a column. Each way to fill both
// (x in the first, y in the second) must leave every cell that sees both a candidate: a cell
// whose candidates are all among x and y would be left with none, and x = y is no way at all
// where the two see each other. A candidate of one cell that belongs to no way left goes.
#include "logic/techniques.h"

namespace {

// The way x in a, y in b is open when a cell both see keeps a candidate beyond x and y.
bool way_is_open(const candidate_grid& g, int a, int x, int b, int y, const int* common,
                 int common_count) {
    if (x == y && sees(a, b)) return false;
    int both = value_bit[x] | value_bit[y];
    for (int k = 0; k < common_count; ++k) {
        if ((g.cand[common[k]] & ~both) == 0) return false;
    }
    return true;
}

} // namespace

bool find_aligned_pair_exclusion(const candidate_grid& g, int, step* s) {
    for (int a = 0; a < 81; ++a) {
        if (g.value[a] != 0) continue;
        for (int b = a + 1; b < 81; ++b) {
            if (g.value[b] != 0 || !sees(a, b)) continue;
            // the empty cells both see, once for every way to fill them
            int common[20];
            int common_count = 0;
            for (int cell = 0; cell < 81; ++cell) {
                if (g.value[cell] == 0 && cell != a && cell != b && sees(cell, a) &&
                    sees(cell, b)) {
                    common[common_count++] = cell;
                }
            }
            int open_a = 0;
            int open_b = 0;
            for (int x = 1; x <= 9; ++x) {
                if ((g.cand[a] & value_bit[x]) == 0) continue;
                for (int y = 1; y <= 9; ++y) {
                    if ((g.cand[b] & value_bit[y]) == 0) continue;
                    if (!way_is_open(g, a, x, b, y, common, common_count)) continue;
                    open_a |= value_bit[x];
                    open_b |= value_bit[y];
                }
            }
            clear_step(s, s->technique);
            for (int v = 1; v <= 9; ++v) {
                if ((open_a & value_bit[v]) == 0) add_removal(s, g, a, v);
                if ((open_b & value_bit[v]) == 0) add_removal(s, g, b, v);
            }
            if (s->removed_count == 0) continue;
            add_cause(s, a);
            add_cause(s, b);
            return true;
        }
    }
    clear_step(s, s->technique);
    return false;
}
