// The bivalue universal grave: a puzzle with one solution cannot come down to a grid where
// every empty cell holds two candidates and every value two places or none in every region,
// for that grid could be filled two ways. When all that keeps the grid from that pattern is a
// value or two in a few cells with more candidates (the grave's cells and values), one of
// those values is true. Type 1: one such cell keeps only its grave values. Type 2: all share
// one grave value, which goes from the cells that see them all. Type 3: the grave values make a
// naked set with cells they all see in a region. Type 4: two cells in a region share one other
// value, which with their grave values is all they may keep.
// Sound only for a puzzle with one solution, the only kind the rater is given.
#include "logic/scale.h"
#include "logic/techniques.h"

namespace {

constexpr int max_grave_cells = 81;

struct grave {
    int cells[max_grave_cells];
    int count;
    int own[81];    // the grave values of each cell
    int values;     // of all of them
    int common[20]; // the cells that see every grave cell, in the first one's peer order
    int common_count;
};

// Finds the grave's cells and values; false when the grid is not one.
bool find_grave_cells(const candidate_grid& g, grave& b) {
    candidate_grid scratch = g;
    b.count = 0;
    b.values = 0;
    b.common_count = -1;
    for (int& v : b.own) v = 0;
    for (int kind : kinds_brc) {
        for (int unit = kind; unit < kind + 9; ++unit) {
            for (int v = 1; v <= 9; ++v) {
                int places = places_in(g, unit, v);
                if (places == 0 || count_of(places) == 2) continue;
                int wide = -1;
                int wide_count = 0;
                for (int i = 0; i < 9; ++i) {
                    int cell = unit_cell[unit][i];
                    if ((places >> i & 1) != 0 && count_of(g.cand[cell]) >= 3) {
                        wide = cell;
                        ++wide_count;
                    }
                }
                if (wide_count == 0) return false;
                if (wide_count > 1) continue;
                bool listed = false;
                for (int i = 0; i < b.count; ++i) listed = listed || b.cells[i] == wide;
                if (!listed) b.cells[b.count++] = wide;
                b.own[wide] |= value_bit[v];
                b.values |= value_bit[v];
                if ((scratch.cand[wide] & value_bit[v]) != 0) remove_candidate(scratch, wide, v);
                int kept = 0;
                for (int i = 0; i < (b.common_count < 0 ? 20 : b.common_count); ++i) {
                    int cell = b.common_count < 0 ? peer_order.cell[wide][i] : b.common[i];
                    if (b.common_count >= 0 && !sees(cell, wide)) continue;
                    bool is_grave_cell = false;
                    for (int k = 0; k < b.count; ++k) is_grave_cell |= b.cells[k] == cell;
                    if (!is_grave_cell) b.common[kept++] = cell;
                }
                b.common_count = kept;
                if (b.count >= 2 && count_of(b.values) >= 2 && kept == 0) return false;
            }
        }
    }
    if (b.count == 0) return false;
    for (int cell = 0; cell < 81; ++cell) {
        if (scratch.value[cell] == 0 && count_of(scratch.cand[cell]) != 2) return false;
    }
    for (int unit = 0; unit < 27; ++unit) {
        for (int v = 1; v <= 9; ++v) {
            int n = count_of(places_in(scratch, unit, v));
            if (n != 0 && n != 2) return false;
        }
    }
    return true;
}

grave_shape shape_of(const grave& b, int type) {
    grave_shape shape{};
    shape.type = type;
    shape.count = b.count < 16 ? b.count : 16;
    for (int i = 0; i < shape.count; ++i) shape.cells[i] = b.cells[i];
    shape.values = b.values;
    shape.unit = -1;
    return shape;
}

double grave_rating(int type) {
    // types 2 to 4 are rated a tenth above type 1
    return base_rating(technique::grave) + (type == 1 ? 0.0 : scale.set_member / 10.0);
}

// Both of the first two cells keep their own grave values and the one value u they share.
bool type_four(const candidate_grid& g, const grave& b, step_sink& sink, bool& stopped) {
    int c1 = b.cells[0];
    int c2 = b.cells[1];
    int shared = g.cand[c1] & g.cand[c2] & ~b.values;
    if (count_of(shared) != 1) return false;
    for (int kind : kinds_brc) {
        int unit = unit_of(kind, c1);
        if (unit != unit_of(kind, c2)) continue;
        grave_shape shape = shape_of(b, 4);
        shape.unit = unit;
        shape.extra = value_of_bit(shared);
        step s = removal_step(technique::grave, grave_rating(4), shape);
        for (int cell : {c1, c2}) {
            for (int bits = g.cand[cell] & ~b.own[cell] & ~shared; bits != 0; bits &= bits - 1) {
                s.removed.add(cell, value_of_bit(bits & -bits));
            }
        }
        if (s.removed.empty()) return false;
        stopped = !sink.take(s);
        return true;
    }
    return false;
}

bool type_three(const candidate_grid& g, const grave& b, step_sink& sink) {
    for (int kind : kinds_brc) {
        int unit = unit_of(kind, b.cells[0]);
        bool shared = true;
        for (int i = 1; i < b.count; ++i) shared = shared && unit_of(kind, b.cells[i]) == unit;
        if (!shared) continue;
        int list[20];
        int n = 0;
        for (int i = 0; i < b.common_count; ++i) {
            if (unit_of(kind, b.common[i]) == unit) list[n++] = b.common[i];
        }
        for (int d = 2; d <= 6 && n >= d; ++d) {
            for (int chosen = (1 << (d - 1)) - 1; chosen < (1 << n); chosen = next_subset(chosen)) {
                int values = 0;
                bool enough = true;
                for (int i = 0; i < n && enough; ++i) {
                    if ((chosen >> i & 1) == 0) continue;
                    enough = count_of(g.cand[list[i]]) >= 2;
                    values |= g.cand[list[i]];
                }
                if (!enough || count_of(values) != d || count_of(values | b.values) != d) continue;
                grave_shape shape = shape_of(b, 3);
                shape.unit = unit;
                shape.extra = values;
                for (int i = 0; i < n; ++i) {
                    for (int k = 0; k < 9; ++k) {
                        if ((chosen >> i & 1) != 0 && unit_cell[unit][k] == list[i]) {
                            shape.positions |= 1 << k;
                        }
                    }
                }
                step s = removal_step(technique::grave,
                                      grave_rating(3) + (d - 1) * (scale.set_member / 10.0), shape);
                for (int i = 0; i < n; ++i) {
                    if ((chosen >> i & 1) != 0) continue;
                    for (int bits = g.cand[list[i]] & values; bits != 0; bits &= bits - 1) {
                        s.removed.add(list[i], value_of_bit(bits & -bits));
                    }
                }
                if (!s.removed.empty() && !sink.take(s)) return true;
            }
        }
    }
    return false;
}

} // namespace

bool find_grave(const candidate_grid& g, int, step_sink& sink) {
    grave b;
    if (!find_grave_cells(g, b)) return false;
    if (b.count == 1) {
        int cell = b.cells[0];
        step s = removal_step(technique::grave, grave_rating(1), shape_of(b, 1));
        for (int bits = g.cand[cell] & ~b.own[cell]; bits != 0; bits &= bits - 1) {
            s.removed.add(cell, value_of_bit(bits & -bits));
        }
        return !s.removed.empty() && !sink.take(s);
    }
    bool stopped = false;
    if (count_of(b.values) == 1) {
        int z = value_of_bit(b.values);
        grave_shape shape = shape_of(b, 2);
        shape.extra = z;
        step s = removal_step(technique::grave, grave_rating(2), shape);
        for (int i = 0; i < b.common_count; ++i) {
            if ((g.cand[b.common[i]] & b.values) != 0) s.removed.add(b.common[i], z);
        }
        if (!s.removed.empty() && !sink.take(s)) return true;
        if (b.count == 2) type_four(g, b, sink, stopped);
        return stopped;
    }
    if (b.count == 2 && type_four(g, b, sink, stopped) && stopped) return true;
    return type_three(g, b, sink);
}
