// Wings: a pivot and two pincers it sees. An xy-wing's pivot holds {x, y} and its pincers {x, z}
// and {y, z}: whatever the pivot is, one pincer is z, so a cell that sees both pincers is not
// z. An xyz-wing's pivot holds {x, y, z} as well, and the cell must see it too. Pivots go in
// reading order, pincers in the order of the pivot's peers, each pair of pincers both ways.
#include "logic/scale.h"
#include "logic/techniques.h"

namespace {

bool find_wings(const candidate_grid& g, bool xyz, step_sink& sink) {
    technique id = xyz ? technique::xyz_wing : technique::xy_wing;
    for (int pivot = 0; pivot < 81; ++pivot) {
        int p = g.cand[pivot];
        if (count_of(p) != (xyz ? 3 : 2)) continue;
        for (int wing1 : peer_order.cell[pivot]) {
            int w1 = g.cand[wing1];
            if (count_of(w1) != 2 || count_of(p & ~w1) != 1) continue;
            for (int wing2 : peer_order.cell[pivot]) {
                int w2 = g.cand[wing2];
                if (count_of(w2) != 2 || count_of(p | w1 | w2) != 3) continue;
                if (count_of(p & w1 & w2) != (xyz ? 1 : 0)) continue;
                int z = w1 & w2;
                if (count_of(z) != 1) continue;
                int v = value_of_bit(z);
                step s = removal_step(id, base_rating(id), wing_shape{pivot, {wing1, wing2}, v});
                for (int cell : peer_order.cell[wing1]) {
                    if (cell == pivot || cell == wing2 || !sees(cell, wing2)) continue;
                    if (xyz && !sees(cell, pivot)) continue;
                    if ((g.cand[cell] & z) != 0) s.removed.add(cell, v);
                }
                if (!s.removed.empty() && !sink.take(s)) return true;
            }
        }
    }
    return false;
}

} // namespace

bool find_xy_wings(const candidate_grid& g, int, step_sink& sink) {
    return find_wings(g, false, sink);
}

bool find_xyz_wings(const candidate_grid& g, int, step_sink& sink) {
    return find_wings(g, true, sink);
}
