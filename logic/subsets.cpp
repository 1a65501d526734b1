// Subsets. Naked: k cells of a region that hold only k values between them; those values go
// from the region's other cells. Hidden: k values that fit only k cells of a region; those
// cells lose their other values. A direct hidden pair or triple is taken only for the value
// it leaves one place in the region, and places it alone. Regions go boxes, columns, rows;
// the sets of cells or values in the order of their bit sets read as numbers.
#include "logic/scale.h"
#include "logic/techniques.h"

namespace {

constexpr technique naked_of[5] = {technique::naked_pair, technique::naked_pair,
                                   technique::naked_pair, technique::naked_triple,
                                   technique::naked_quad};
constexpr technique hidden_of[5] = {technique::hidden_pair, technique::hidden_pair,
                                    technique::hidden_pair, technique::hidden_triple,
                                    technique::hidden_quad};

// Walks the sets of size values of a region that fill exactly size cells, each value with two
// places or more; visit(values, positions) returns false to stop.
template <class Visit>
bool each_hidden_set(const candidate_grid& g, int unit, int size, Visit visit) {
    // only values with two places or more can take part: the sets of those, in the same order
    int usable[9];
    int count = 0;
    for (int v = 1; v <= 9; ++v) {
        if (count_of(g.places[unit][v]) >= 2) usable[count++] = v;
    }
    for (int chosen = (1 << size) - 1; chosen < (1 << count); chosen = next_subset(chosen)) {
        int values = 0;
        int positions = 0;
        for (int bits = chosen; bits != 0; bits &= bits - 1) {
            int v = usable[std::countr_zero(static_cast<unsigned>(bits))];
            values |= value_bit[v];
            positions |= g.places[unit][v];
        }
        if (count_of(positions) == size && !visit(values, positions)) return true;
    }
    return false;
}

} // namespace

bool find_naked_subsets(const candidate_grid& g, int size, step_sink& sink) {
    technique id = naked_of[size];
    for (int kind : kinds_bcr) {
        for (int unit = kind; unit < kind + 9; ++unit) {
            if (empty_cells(g, unit) < 2 * size) continue;
            for (int positions = (1 << size) - 1; positions < 512;
                 positions = next_subset(positions)) {
                int values = 0;
                bool enough = true;
                for (int bits = positions; bits != 0 && enough; bits &= bits - 1) {
                    int cand =
                        g.cand[unit_cell[unit][std::countr_zero(static_cast<unsigned>(bits))]];
                    enough = count_of(cand) >= 2;
                    values |= cand;
                }
                if (!enough || count_of(values) != size) continue;
                step s = removal_step(id, base_rating(id), subset_shape{unit, values, positions});
                for (int i = 0; i < 9; ++i) {
                    int cell = unit_cell[unit][i];
                    if ((positions >> i & 1) != 0) continue;
                    for (int bits = g.cand[cell] & values; bits != 0; bits &= bits - 1) {
                        s.removed.add(cell, value_of_bit(bits & -bits));
                    }
                }
                if (!s.removed.empty() && !sink.take(s)) return true;
            }
        }
    }
    return false;
}

bool find_hidden_subsets(const candidate_grid& g, int size, step_sink& sink) {
    technique id = hidden_of[size];
    for (int kind : kinds_bcr) {
        for (int unit = kind; unit < kind + 9; ++unit) {
            if (empty_cells(g, unit) <= 2 * size) continue;
            bool stopped = each_hidden_set(g, unit, size, [&](int values, int positions) {
                step s = removal_step(id, base_rating(id), subset_shape{unit, values, positions});
                for (int i = 0; i < 9; ++i) {
                    if ((positions >> i & 1) == 0) continue;
                    int cell = unit_cell[unit][i];
                    for (int bits = g.cand[cell] & ~values; bits != 0; bits &= bits - 1) {
                        s.removed.add(cell, value_of_bit(bits & -bits));
                    }
                }
                return s.removed.empty() || sink.take(s);
            });
            if (stopped) return true;
        }
    }
    return false;
}

bool find_direct_hidden_subsets(const candidate_grid& g, int size, step_sink& sink) {
    technique id = size == 2 ? technique::direct_hidden_pair : technique::direct_hidden_triple;
    for (int kind : kinds_bcr) {
        for (int unit = kind; unit < kind + 9; ++unit) {
            if (empty_cells(g, unit) <= size) continue;
            bool stopped = each_hidden_set(g, unit, size, [&](int values, int positions) {
                for (int w = 1; w <= 9; ++w) {
                    int places = g.places[unit][w];
                    int outside = places & ~positions;
                    if ((values & value_bit[w]) != 0 || count_of(places) < 2 ||
                        count_of(outside) != 1) {
                        continue;
                    }
                    int cell = unit_cell[unit][std::countr_zero(static_cast<unsigned>(outside))];
                    return sink.take(placement_step(id, base_rating(id), cell, w,
                                                    subset_shape{unit, values, positions}));
                }
                return true;
            });
            if (stopped) return true;
        }
    }
    return false;
}
