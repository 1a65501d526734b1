// Wings: a pivot and two pincers it sees. XY-wing: pivot {x,y}, pincers {x,z} and {y,z}:
// whichever the pivot holds, one pincer is z, so z leaves every cell that sees both pincers.
// XYZ-wing: pivot {x,y,z}, the same pincers: z leaves every cell that sees all three.
#include "logic/techniques.h"

#include <bit>

namespace {

int bits(int set) {
    return std::popcount(static_cast<unsigned>(set));
}

bool find_wing(const candidate_grid& g, int pivot_size, step* s) {
    for (int pivot = 0; pivot < 81; ++pivot) {
        int p = g.cand[pivot];
        if (g.value[pivot] != 0 || bits(p) != pivot_size) continue;
        for (int a = 0; a < 81; ++a) {
            int ca = g.cand[a];
            if (!sees(pivot, a) || bits(ca) != 2) continue;
            for (int b = a + 1; b < 81; ++b) {
                int cb = g.cand[b];
                if (!sees(pivot, b) || bits(cb) != 2 || ca == cb) continue;
                int z = ca & cb;
                if (bits(z) != 1) continue;
                if (pivot_size == 2 ? (ca ^ cb) != p || (p & z) != 0 : (ca | cb) != p) continue;
                clear_step(s, s->technique);
                int v = std::countr_zero(static_cast<unsigned>(z)) + 1;
                for (int cell = 0; cell < 81; ++cell) {
                    if (cell == pivot || !sees(cell, a) || !sees(cell, b)) continue;
                    if (pivot_size == 3 && !sees(cell, pivot)) continue;
                    add_removal(s, g, cell, v);
                }
                if (s->removed_count == 0) continue;
                s->values = z;
                add_cause(s, pivot);
                add_cause(s, a);
                add_cause(s, b);
                return true;
            }
        }
    }
    clear_step(s, s->technique);
    return false;
}

} // namespace

bool find_xy_wing(const candidate_grid& g, int, step* s) {
    return find_wing(g, 2, s);
}

bool find_xyz_wing(const candidate_grid& g, int, step* s) {
    return find_wing(g, 3, s);
}
