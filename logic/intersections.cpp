// Intersections: when a value's places in a region A all lie in a region B that crosses it, the
// value cannot go elsewhere in B. From a box into a line it is a pointing, from a line into a
// box a claiming. A direct one is taken only for the single it leaves in another region of A's
// kind that crosses B, and places that single alone: the removals wait for a later step.
#include "logic/scale.h"
#include "logic/techniques.h"

namespace {

// The four passes: boxes into columns, boxes into rows, columns into boxes, rows into boxes.
constexpr int pass_from[4] = {box_unit, box_unit, column_unit, row_unit};
constexpr int pass_to[4] = {column_unit, row_unit, box_unit, box_unit};

// Walks every value whose two or more places in a lie in b, in the passes' order, regions and
// values ascending; visit(a, b, v) returns false to stop.
template <class Visit> bool each_confined(const candidate_grid& g, Visit visit) {
    for (int pass = 0; pass < 4; ++pass) {
        for (int a = pass_from[pass]; a < pass_from[pass] + 9; ++a) {
            for (int b = pass_to[pass]; b < pass_to[pass] + 9; ++b) {
                int shared = crossing.positions[a][b];
                if (shared == 0) continue;
                for (int v = 1; v <= 9; ++v) {
                    int places = g.places[a][v];
                    if (count_of(places) >= 2 && (places & ~shared) == 0 && !visit(a, b, v)) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

} // namespace

bool find_direct_intersections(const candidate_grid& g, int, step_sink& sink) {
    return each_confined(g, [&](int a, int b, int v) {
        technique id =
            kind_of(a) == box_unit ? technique::direct_pointing : technique::direct_claiming;
        for (int other = kind_of(a); other < kind_of(a) + 9; ++other) {
            if (other == a || crossing.positions[other][b] == 0) continue;
            int places = g.places[other][v];
            int outside = places & ~crossing.positions[other][b];
            if (count_of(places) < 2 || count_of(outside) != 1) continue;
            int cell = unit_cell[other][std::countr_zero(static_cast<unsigned>(outside))];
            if (!sink.take(placement_step(id, base_rating(id), cell, v,
                                          intersection_shape{v, a, b, other}))) {
                return false;
            }
        }
        return true;
    });
}

bool find_intersections(const candidate_grid& g, int, step_sink& sink) {
    return each_confined(g, [&](int a, int b, int v) {
        technique id = kind_of(a) == box_unit ? technique::pointing : technique::claiming;
        int outside = g.places[b][v] & ~crossing.positions[b][a];
        if (outside == 0) return true;
        step s = removal_step(id, base_rating(id), intersection_shape{v, a, b, -1});
        for (int i = 0; i < 9; ++i) {
            if ((outside >> i & 1) != 0) s.removed.add(unit_cell[b][i], v);
        }
        return sink.take(s);
    });
}
